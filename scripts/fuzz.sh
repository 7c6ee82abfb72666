#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, LUMORA_FUZZ=ON, its own build folder) and runs each one
# for a fixed time over its checked-in corpus (fuzz/corpus/<target>) and the units it found
# before (<build>/work/<target>). A crash, sanitizer report or broken property fails the run;
# the input that did it is left in <build>/artifacts/. docs/fuzzing.md has the long runs.
# Settings: LUMORA_FUZZ_DIR (default build-fuzz), LUMORA_FUZZ_SECONDS (default 20 per target),
# LUMORA_FUZZ_PARALLEL (targets run side by side, default: the number of cores),
# LUMORA_FUZZ_TARGETS (default: all, blank-separated names without "fuzz_"), LUMORA_FUZZ_SEED
# (default 1: a run explores the same inputs each time, so a CI result does not depend on luck;
# 0 for a fresh seed each run, as the long runs in docs/fuzzing.md use).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

dir="${LUMORA_FUZZ_DIR:-$LUMORA_ROOT/build-fuzz}"
case "$dir" in /*) ;; *) dir="$LUMORA_ROOT/$dir" ;; esac
seconds="${LUMORA_FUZZ_SECONDS:-20}"
targets="${LUMORA_FUZZ_TARGETS:-$(sed -n 's/^set(LUMORA_FUZZ_TARGETS \(.*\))$/\1/p' "$LUMORA_ROOT/fuzz/CMakeLists.txt")}"

lumora_configure fuzz "$dir"
lumora_say "building the fuzz targets"
ninja -C "$dir" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} $(printf 'fuzz_%s ' $targets)

mkdir -p "$dir/artifacts" "$dir/logs-short"
# One target per core at a time: each runs single-threaded for its own time, so running them side by
# side shortens the whole without changing what any of them explores.
parallel="${LUMORA_FUZZ_PARALLEL:-$(nproc)}"
run_one() {
  local t=$1 dict=() status=0
  mkdir -p "$dir/work/$t"
  [ -f "$LUMORA_ROOT/fuzz/dict/$t.dict" ] && dict=(-dict="$LUMORA_ROOT/fuzz/dict/$t.dict")
  "$dir/fuzz/fuzz_$t" -seed="${LUMORA_FUZZ_SEED:-1}" -max_total_time="$seconds" -max_len=4096 -timeout=60 -rss_limit_mb=2048 "${dict[@]}" \
    -artifact_prefix="$dir/artifacts/$t-" -print_final_stats=1 "$dir/work/$t" "$LUMORA_ROOT/fuzz/corpus/$t" \
    >"$dir/logs-short/$t.log" 2>&1 || status=$?
  echo "$status" >"$dir/logs-short/$t.status"
}
lumora_say "fuzz targets for $seconds s each, $parallel at a time"
running=0
for t in $targets; do
  rm -f "$dir/logs-short/$t.status"
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then wait -n || true; running=$((running - 1)); fi
done
wait || true
failed=()
for t in $targets; do
  if [ "$(cat "$dir/logs-short/$t.status" 2>/dev/null)" = 0 ]; then
    printf 'fuzz_%s: ' "$t" >&2
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$dir/logs-short/$t.log" | tr '\n' ' ' >&2; echo >&2
  else
    failed+=("$t")
    lumora_say "fuzz_$t failed"
    grep -A30 -E '^==[0-9]+==ERROR|property failed|runtime error' "$dir/logs-short/$t.log" | head -40 >&2 || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  lumora_say "fuzz targets failed: ${failed[*]} (logs in $dir/logs-short, inputs in $dir/artifacts)"
  exit 1
fi
lumora_say "fuzz targets: all passed"
