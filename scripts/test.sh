#!/usr/bin/env bash
# Sets up (missing Debian packages), builds everything (warnings are errors) and runs every test with ctest.
# GUI tests run on Qt's offscreen platform, the X11 tests on their own Xvfb display.
# Benchmarks are built but not run (run build/bin/lumora-bench for the figures).
# Then the engine tests under the sanitizers (build-asan), every fuzz target briefly (scripts/fuzz.sh),
# the Debian package (tests/package/run.sh) and the Windows build under Wine (tests/windows/run.sh).
# Right after the build, the layout check (scripts/format.sh --check) and clang-tidy (scripts/tidy.sh).
# Ends with the time each step took.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start=$(date +%s)
status=0
times=()
failed=() flaky=()
# run_ctest DIR LABEL: runs the tests of the build in DIR. Tests that fail are run once more, one at a
# time: a test that fails again fails the run; one that passes the second time is listed at the end as
# flaky (a fault of the test or of the code to look into, not to be left standing). A test without a
# time limit of its own is stopped after ten minutes, so a hung test cannot hold the run.
run_ctest() {
  local dir=$1 label=$2 first
  (cd "$dir" && ctest --output-on-failure --timeout 600 -j "${LUMORA_TEST_JOBS:-$(nproc)}") && return 0
  first=$(failed_names "$dir")
  lumora_say "$label: running the failed tests once more, one at a time: $first"
  if (cd "$dir" && ctest --rerun-failed --output-on-failure --timeout 600 -j 1); then
    flaky+=("$label: $first")
    return 0
  fi
  failed+=("$label: $(failed_names "$dir")")
  return 1
}
# failed_names DIR: the names of the tests ctest's last run in DIR failed (it keeps "NUMBER:NAME" lines).
failed_names() { cut -d: -f2- "$1/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | tr '\n' ' '; }
step_start=$start
# timed NAME: closes the step that began at the previous call (or at the start).
timed() {
  local now
  now=$(date +%s)
  times+=("$(printf '%6d s  %s' $((now - step_start)) "$1")")
  step_start=$now
}

LUMORA_PACKAGES+=("${LUMORA_WINDOWS_PACKAGES[@]}")
lumora_setup
timed "Debian packages"
LUMORA_CMAKE_ARGS="-DLUMORA_WERROR=ON" lumora_build
timed "build (main: programs, tests, benchmarks)"
lumora_say "layout (scripts/format.sh --check) and clang-tidy (scripts/tidy.sh)"
"$LUMORA_ROOT/scripts/format.sh" --check >"$LUMORA_BUILD/format.diff" ||
  { head -n 200 "$LUMORA_BUILD/format.diff"; status=$((status ? status : 1)); }
"$LUMORA_ROOT/scripts/tidy.sh" "$LUMORA_BUILD" || status=$((status ? status : 1))
timed "layout and clang-tidy"
lumora_say "running the tests"
run_ctest "$LUMORA_BUILD" ctest || status=8
timed "ctest (engine, GUI, X11, end-to-end)"

# The engine, command-line and service tests again under AddressSanitizer + UndefinedBehaviorSanitizer
# (no GUI), in their own build folder; any report fails its test.
asan="$LUMORA_BUILD-asan"
lumora_say "engine tests under AddressSanitizer + UndefinedBehaviorSanitizer ($asan)"
lumora_configure asan "$asan" -DLUMORA_WERROR=ON || status=$((status ? status : 1))
ninja -C "$asan" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} || status=$((status ? status : 1))
timed "build under the sanitizers"
run_ctest "$asan" "ctest under the sanitizers" || status=$((status ? status : 1))
timed "ctest under the sanitizers"
"$LUMORA_ROOT/scripts/fuzz.sh" || status=$((status ? status : 1))
timed "fuzz targets (build and runs)"
lumora_say "building, installing, starting and removing the Debian package"
"$LUMORA_ROOT/tests/package/run.sh" --build "$LUMORA_BUILD" || status=$((status ? status : 1))
timed "Debian package"
lumora_say "Linux part done in $(( $(date +%s) - start )) s; now the Windows build and its tests under Wine"
LUMORA_SHOT="${LUMORA_WINDOWS_SHOT:-}" LUMORA_TIMES_FILE="$LUMORA_BUILD/windows-times.txt" \
  "$LUMORA_ROOT/tests/windows/run.sh" || status=$((status ? status : 1))
timed "Windows (all of it)"
if [ -f "$LUMORA_BUILD/windows-times.txt" ]; then
  while IFS= read -r line; do times+=("        $line"); done <"$LUMORA_BUILD/windows-times.txt"
fi

lumora_say "time of each step"
printf '  %s\n' "${times[@]}" >&2
if [ ${#flaky[@]} -gt 0 ]; then
  lumora_say "FLAKY: failed, then passed when run again alone (their output is above)"
  printf '  %s\n' "${flaky[@]}" >&2
fi
if [ ${#failed[@]} -gt 0 ]; then
  lumora_say "tests that failed twice (their output is above)"
  printf '  %s\n' "${failed[@]}" >&2
fi
lumora_say "done in $(( $(date +%s) - start )) s (status $status)"
exit $status
