#!/usr/bin/env bash
# Sets up (missing Debian packages), builds everything and runs every test with ctest.
# GUI tests run on Qt's offscreen platform, the X11 tests on their own Xvfb display.
# Benchmarks are built but not run (run build/bin/lumora-bench for the figures).
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
linux_done=$(date +%s)
lumora_say "Linux part done in $((linux_done - start)) s; now the Windows build and its tests under Wine"
LUMORA_SHOT="${LUMORA_WINDOWS_SHOT:-}" "$LUMORA_ROOT/tests/windows/run.sh" || status=$((status ? status : 1))
lumora_say "Windows part took $(( $(date +%s) - linux_done )) s"
lumora_say "done in $(( $(date +%s) - start )) s (ctest status $status)"
exit $status
