#!/usr/bin/env bash
# Prepares the Wine prefix that the Windows tests and screenshots run in
# (WINEPREFIX, default ~/.wine-nimbo): a 32-bit prefix whose windows are not
# left to an X window manager (there is none under Xvfb, and Wine would wait
# a second for one at every window that hides), with no crash debugger.
# Sourced by scripts/test-windows.sh and scripts/screenshot-windows.sh.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-nimbo}
export WINEARCH=win32
if [ ! -f "$WINEPREFIX/.nimbo-ready" ]; then
  xvfb-run -a wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f \
    >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.nimbo-ready"
fi
