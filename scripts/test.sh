#!/usr/bin/env bash
# Sets up (missing Debian packages), builds everything and runs every test with ctest.
# GUI tests run on Qt's offscreen platform, the X11 tests on their own Xvfb display.
# Benchmarks are built but not run (run build/bin/lumora-bench for the figures).
# Then the engine tests under the sanitizers (build-asan) and every fuzz target briefly (scripts/fuzz.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

start=$(date +%s)
# Then the Windows build: cross-built with mingw-w64 and tested under Wine (tests/windows/run.sh).
LUMORA_PACKAGES+=("${LUMORA_WINDOWS_PACKAGES[@]}")
lumora_setup
lumora_build
lumora_say "running the tests"
cd "$LUMORA_BUILD"
status=0
ctest --output-on-failure -j "${LUMORA_TEST_JOBS:-$(nproc)}" || status=$?

# The engine, command-line and service tests again under AddressSanitizer + UndefinedBehaviorSanitizer
# (no GUI), in their own build folder; any report fails its test.
asan="$LUMORA_BUILD-asan"
lumora_say "engine tests under AddressSanitizer + UndefinedBehaviorSanitizer ($asan)"
t0=$(date +%s)
if [ ! -f "$asan/build.ninja" ]; then
  cmake -S "$LUMORA_ROOT" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_SANITIZE=ON \
    -DLUMORA_GUI=OFF -DLUMORA_BENCH=OFF $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) \
    >/dev/null || status=$((status ? status : 1))
fi
{ ninja -C "$asan" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} &&
    (cd "$asan" && ctest --output-on-failure -j "${LUMORA_TEST_JOBS:-$(nproc)}"); } || status=$((status ? status : 1))
lumora_say "sanitizer build and tests: $(( $(date +%s) - t0 )) s"
t0=$(date +%s)
"$LUMORA_ROOT/scripts/fuzz.sh" || status=$((status ? status : 1))
lumora_say "fuzz targets: $(( $(date +%s) - t0 )) s"
lumora_say "building, installing, starting and removing the Debian package"
"$LUMORA_ROOT/tests/package/run.sh" --build "$LUMORA_BUILD" || status=$((status ? status : 1))
linux_done=$(date +%s)
lumora_say "Linux part done in $((linux_done - start)) s; now the Windows build and its tests under Wine"
LUMORA_SHOT="${LUMORA_WINDOWS_SHOT:-}" "$LUMORA_ROOT/tests/windows/run.sh" || status=$((status ? status : 1))
lumora_say "Windows part took $(( $(date +%s) - linux_done )) s"
lumora_say "done in $(( $(date +%s) - start )) s (status $status)"
exit $status
