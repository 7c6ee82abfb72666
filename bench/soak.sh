#!/usr/bin/env bash
# Soak: the real Lumora window under Xvfb against lumora-feed, left alone for a long time, with
# auto plan, statistics, the alarm and automatic betting on. Writes memory and draws applied
# every minute to <out>/soak.csv and keeps the run's data folder (journal included).
#   bench/soak.sh [build-dir] [minutes]      (defaults: build, 60)
# Settings: LUMORA_SOAK_INTERVAL (seconds between draws, default 3), LUMORA_SOAK_TICK_MS (update
# countdown tick, default 100: 25 ticks make one request), LUMORA_SOAK_OUT (default <build>/soak),
# LUMORA_SOAK_DRAWS (end once this many draws are applied, default: no limit), LUMORA_SOAK_EVERY
# (a line every this many draws as well as every minute, default: none).
# A fast soak of 10,000 draws: LUMORA_SOAK_INTERVAL=0.4 LUMORA_SOAK_TICK_MS=12 LUMORA_SOAK_DRAWS=10000
#   LUMORA_SOAK_EVERY=500 bench/soak.sh build 600
# LUMORA_SOAK_WRAP runs lumora-soak under a tool, e.g. "heaptrack -o /tmp/soak.heaptrack";
# LUMORA_SOAK_LEAVE_HEAP=1 ends it without freeing, so the tool's leaks are the heap at the end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
root=$LUMORA_ROOT
build=${1:-$root/build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
minutes=${2:-60}
out=${LUMORA_SOAK_OUT:-$build/soak}
bin="$build/bin"
rm -rf "$out"
mkdir -p "$out"
cp -r "$bin/data" "$out/data"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap cleanup EXIT

lumora_start_feed "$out" "$bin/lumora-feed" --port 0 --interval "${LUMORA_SOAK_INTERVAL:-3}" --state "$out/feed-state" ||
  { echo "soak: lumora-feed did not start" >&2; cat "$out/feed.log" >&2; exit 1; }
pids+=("$LUMORA_FEED_PID")
port=$LUMORA_FEED_PORT
lumora_xvfb "$out" || exit 1
pids+=("$LUMORA_XVFB_PID")

echo "soak: $minutes min, feed http://127.0.0.1:$port/feed, display $DISPLAY, output $out" >&2
${LUMORA_SOAK_WRAP:-} "$bin/lumora-soak" --feed "http://127.0.0.1:$port/feed" --data "$out/data" --minutes "$minutes" \
  --tick-ms "${LUMORA_SOAK_TICK_MS:-100}" --draws "${LUMORA_SOAK_DRAWS:-0}" --every "${LUMORA_SOAK_EVERY:-0}" \
  ${LUMORA_SOAK_LEAVE_HEAP:+--leave-heap} \
  --csv "$out/soak.csv" 2>"$out/lumora.log" &
soak_pid=$!
pids+=("$soak_pid")
# Pictures of the screen half way and shortly before the end.
( sleep $((minutes * 30)); import -window root "$out/half-way.png" 2>/dev/null || true
  sleep $((minutes * 30 - 20)); import -window root "$out/end.png" 2>/dev/null || true ) &
pids+=("$!")
status=0
wait "$soak_pid" || status=$?
echo "soak: lumora-soak ended with status $status; $(tail -n 1 "$out/soak.csv")" >&2
exit $status
