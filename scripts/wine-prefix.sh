#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in (WINEPREFIX), once: later
# runs find it ready. A program that crashes ends at once instead of waiting
# in Wine's debugger.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.klv-ready" ]; then
  wineboot -i >/dev/null 2>&1
  key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
  wine reg add "$key" /v Debugger /t REG_SZ /d false /f >/dev/null 2>&1
  wine reg add "$key" /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.klv-ready"
fi
