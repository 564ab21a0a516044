#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in (WINEPREFIX), once: later
# runs find it ready. A program that crashes ends at once instead of waiting
# in Wine's debugger. Wine has none of the Windows fonts: without a word it
# draws "Times New Roman" and "Courier New" in its default sans face, so the
# prefix names the metric-compatible Liberation faces after them, as
# fontconfig does on Linux.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ready="$WINEPREFIX/.klv-ready-2"  # a new name when the steps below change
if [ ! -f "$ready" ]; then
  wineboot -i >/dev/null 2>&1
  key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
  wine reg add "$key" /v Debugger /t REG_SZ /d false /f >/dev/null 2>&1
  wine reg add "$key" /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
  key='HKCU\Software\Wine\Fonts\Replacements'
  for pair in "Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono"; do
    wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
  done
  wineserver -w
  touch "$ready"
fi
