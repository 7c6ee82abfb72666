#!/usr/bin/env bash
# Runs a command on a display of its own: Xvfb, a session bus and the openbox window manager,
# in a temporary home. Usage: run-under-xvfb.sh COMMAND [ARGS...]
# LUMORA_XVFB_SCREEN gives the screen's size and depth (1280x1024x24 when not set).
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
work=$(mktemp -d)
wm= LUMORA_XVFB_PID=
trap 'kill $wm $LUMORA_XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT INT TERM
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

lumora_xvfb "$work" "${LUMORA_XVFB_SCREEN:-1280x1024x24}" || exit 1

# openbox without the iconify animation (rectangles are wrong while it plays).
rc="$work/rc.xml"
if [ -f /etc/xdg/openbox/rc.xml ]; then
  sed 's#<animateIconify>yes</animateIconify>#<animateIconify>no</animateIconify>#' /etc/xdg/openbox/rc.xml >"$rc"
else
  printf '<?xml version="1.0"?>\n<openbox_config xmlns="http://openbox.org/3.4/rc"><focus><focusNew>yes</focusNew></focus><theme><animateIconify>no</animateIconify></theme></openbox_config>\n' >"$rc"
fi
openbox --sm-disable --config-file "$rc" >"$work/openbox.log" 2>&1 &
wm=$!
# Wait until the window manager announces itself.
for i in $(seq 1 100); do
  if command -v xprop >/dev/null 2>&1; then
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  elif [ "$i" -ge 20 ]; then
    break
  fi
  sleep 0.05
done
if command -v dbus-run-session >/dev/null 2>&1; then
  dbus-run-session -- "$@"
else
  "$@"
fi
