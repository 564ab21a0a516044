#!/bin/sh
# A private CUPS server for trying printing by hand, laid out as the tests lay
# theirs (tests/support/cups): its own configuration, spool and socket in a
# temporary folder, and a 600 dpi queue "klv" whose jobs land in FOLDER/out.
#
#   scripts/private-cups.sh start        starts it; prints the folder and the
#                                        CUPS_SERVER line to use it
#   scripts/private-cups.sh stop FOLDER  stops it and removes the folder
#
# Needs root (cupsd runs filters as user lp) and the packages cups-daemon,
# cups-client; nothing on the machine's own CUPS is used or changed.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
templates=$here/tests/support/cups

start() {
    folder=$(mktemp -d /tmp/klv-cups.XXXXXX)
    chmod 755 "$folder"
    mkdir -p "$folder"/spool "$folder"/cache "$folder"/state "$folder"/log "$folder"/tmp \
        "$folder"/bin/backend "$folder"/out "$folder"/ppd "$folder"/client
    # Filters run as user lp and write their temporary files here.
    chgrp lp "$folder"/tmp && chmod 1770 "$folder"/tmp
    for sub in filter daemon cgi-bin notifier monitor driver; do
        ln -s /usr/lib/cups/$sub "$folder/bin/$sub"
    done
    install -m 700 "$templates/klvfile" "$folder/bin/backend/klvfile"
    sed "s|@FOLDER@|$folder|g" "$templates/cupsd.conf.in" > "$folder/cupsd.conf"
    sed "s|@FOLDER@|$folder|g" "$templates/cups-files.conf.in" > "$folder/cups-files.conf"
    sed "s|@RESOLUTION@|600dpi|g" "$templates/klv-test.ppd" > "$folder/ppd/klv.ppd"
    /usr/sbin/cupsd -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf" \
        > "$folder/log/cupsd.out" 2>&1 < /dev/null &
    echo $! > "$folder/cupsd.pid"
    export CUPS_SERVER="$folder/cups.sock"
    tries=0
    # lpstat -r ends with status 0 either way: its words tell.
    until lpstat -r 2> /dev/null | grep -qx "scheduler is running"; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            echo "cupsd did not start; see $folder/log" >&2
            kill "$(cat "$folder/cupsd.pid")" 2> /dev/null
            exit 1
        fi
        sleep 0.05
    done
    lpadmin -p klv -E -v "klvfile:$folder/out" -P "$folder/ppd/klv.ppd" 2> /dev/null
    lpadmin -d klv
    echo "folder: $folder"
    echo "export CUPS_SERVER=$folder/cups.sock CUPS_SERVERROOT=$folder/client"
}

stop() {
    folder=$1
    case $folder in
        /tmp/klv-cups.*) ;;
        *) echo "not a private CUPS folder: $folder" >&2; exit 2 ;;
    esac
    if [ -f "$folder/cupsd.pid" ]; then
        kill "$(cat "$folder/cupsd.pid")" 2> /dev/null || true
        sleep 0.2
    fi
    rm -rf "$folder"
}

case ${1:-} in
    start) start ;;
    stop) stop "${2:?folder}" ;;
    *) echo "usage: $0 start | stop FOLDER" >&2; exit 2 ;;
esac
