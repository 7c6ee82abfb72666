#!/bin/sh
# Runs one Windows program under Wine on a private virtual screen and returns its exit code.
#   wine-run.sh program.exe [arguments...]
# The Wine prefix is WINEPREFIX, or wine-prefix beside the program; it is set up on first use
# (wineboot, and unmanaged windows so that windows come and go without a window manager).
# Runs sharing a prefix take turns. The prefix's Wine processes are ended after every run.
set -u
if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh program.exe [arguments...]" >&2
  exit 2
fi
exe=$1
shift
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX=$(cd "$(dirname "$exe")" && pwd)/wine-prefix
fi
WINEARCH=win64
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936, as on the systems the program is made for: ANSI windows then carry Chinese.
# Wine takes it from the C library's locale, made here beside the prefix when the system has none.
LANG=zh_CN.UTF-8
export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES LANG
mkdir -p "$WINEPREFIX"

exec 9>"$WINEPREFIX.lock"
flock 9

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  LOCPATH="$WINEPREFIX-locale"
  if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 ||
      echo "wine-run: cannot make the zh_CN.UTF-8 locale; Wine runs in code page 1252" >&2
  fi
  export LOCPATH
fi

started="$WINEPREFIX/.run-started"
attempt=1
while :; do
  rm -f "$started"
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    touch "$WINEPREFIX/.run-started"
    if [ ! -f "$WINEPREFIX/.lumora-ready" ]; then
      t0=$(date +%s)
      if wineboot -i >/dev/null 2>&1 &&
         wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 &&
         wineserver -w; then
        touch "$WINEPREFIX/.lumora-ready"
        echo "wine-run: prefix $WINEPREFIX set up in $(( $(date +%s) - t0 )) s" >&2
      else
        echo "wine-run: setting up the prefix $WINEPREFIX failed" >&2
        wineserver -k 2>/dev/null
        exit 3
      fi
    fi
    wine "$@"
    rc=$?
    wineserver -k 2>/dev/null
    exit $rc' sh "$exe" "$@"
  rc=$?
  # Another run can take the display number between xvfb-run choosing it and Xvfb starting.
  if [ -f "$started" ] || [ $attempt -ge 3 ]; then
    break
  fi
  attempt=$((attempt + 1))
  sleep 1
done
rm -f "$started"
exit $rc
