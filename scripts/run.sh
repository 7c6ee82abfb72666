#!/usr/bin/env bash
# Sets up (missing Debian packages), builds, starts lumora-feed on loopback and opens Lumora
# against it. Lumora prints one line per applied draw (period and digits).
# Without a display Lumora runs on Xvfb; after the first applied draw a screenshot of the main
# window is saved and its path printed. Ctrl-C ends everything.
# Settings: LUMORA_FEED_INTERVAL (seconds between draws, default 60), LUMORA_RUN_SECONDS (end
# after this long instead of running until Ctrl-C), LUMORA_BUILD_DIR.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

lumora_setup
lumora_build lumora lumora-feed lumora-cli

BIN="$LUMORA_BUILD/bin"
RUN="$LUMORA_BUILD/run"
mkdir -p "$RUN"
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The settings service keeps records only for its accounts: one, "player", with a random password
# in a file only this user can read (lumora.ini's username= and password= take them).
if [ ! -s "$RUN/feed-state/accounts" ]; then
  (umask 077 && head -c 12 /dev/urandom | base64 >"$RUN/feed-password")
  "$BIN/lumora-feed" --add-user player --state "$RUN/feed-state" --password-file "$RUN/feed-password" >/dev/null
fi
lumora_say "settings service account: player, password in $RUN/feed-password"

# lumora-feed on 127.0.0.1:18610 (Lumora's default endpoint), or on a free port when that is taken.
feed=("$BIN/lumora-feed" --interval "${LUMORA_FEED_INTERVAL:-60}" --state "$RUN/feed-state")
if ! lumora_start_feed "$RUN" "${feed[@]}" --port 18610; then
  lumora_say "port 18610 is taken; lumora-feed takes a free port (the settings exchange in lumora.ini still names 18610)"
  lumora_start_feed "$RUN" "${feed[@]}" --port 0 || { cat "$RUN/feed.log" >&2; exit 1; }
fi
pids+=("$LUMORA_FEED_PID")
feed_url="http://127.0.0.1:$LUMORA_FEED_PORT/feed"
lumora_say "lumora-feed serves $feed_url (log: $RUN/feed.log)"

headless=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then headless=0; fi
if [ $headless = 1 ]; then
  lumora_xvfb "$RUN" || exit 1
  pids+=("$LUMORA_XVFB_PID")
  lumora_say "no display: Lumora runs on Xvfb $DISPLAY"
fi

lumora_say "starting Lumora (the first draw request goes out 25 s after start)"
started=$(date +%s%N)
"$BIN/lumora" --feed "$feed_url" >"$RUN/lumora.out" 2>"$RUN/lumora.log" &
lumora_pid=$!
pids+=("$lumora_pid")
tail -n +1 -f --pid="$lumora_pid" "$RUN/lumora.out" &
pids+=("$!")

# The main window counts as shown when its X window is viewable.
window=""
deadline=$((SECONDS + 60))
while [ $SECONDS -lt $deadline ]; do
  kill -0 "$lumora_pid" 2>/dev/null || { lumora_say "Lumora ended"; cat "$RUN/lumora.log" >&2; exit 1; }
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Lumora": \("lumora"/ {print $1; exit}')
  if [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q 'IsViewable'; then break; fi
  window=""
  sleep 0.02
done
shown_ms=$(( ($(date +%s%N) - started) / 1000000 ))
if [ -n "$window" ]; then
  lumora_say "main window shown after $shown_ms ms"
else
  lumora_say "the main window did not show within 60 s (a message box may be waiting; see $RUN/lumora.log)"
fi

# Wait for the first applied draw.
deadline=$((SECONDS + 90))
while [ $SECONDS -lt $deadline ]; do
  [ -s "$RUN/lumora.out" ] && break
  kill -0 "$lumora_pid" 2>/dev/null || { lumora_say "Lumora ended"; cat "$RUN/lumora.log" >&2; exit 1; }
  sleep 0.1
done
if [ -s "$RUN/lumora.out" ]; then
  sleep 1  # let the window repaint
  rss=$(awk '/^VmRSS/ {print $2, $3}' "/proc/$lumora_pid/status")
  lumora_say "first draw applied after $(( ($(date +%s%N) - started) / 1000000 - 1000 )) ms; resident memory $rss"
  if [ $headless = 1 ] && [ -n "$window" ]; then
    shot="$RUN/lumora-main-window.png"
    import -window "$window" "$shot"
    lumora_say "screenshot of the main window: $shot"
  fi
else
  lumora_say "no draw applied within 90 s (see $RUN/lumora.log and $RUN/feed.log)"
fi

if [ -n "${LUMORA_RUN_SECONDS:-}" ]; then
  sleep "$LUMORA_RUN_SECONDS"
else
  wait "$lumora_pid" || true
fi
