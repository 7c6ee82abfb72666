#!/usr/bin/env bash
# Sets up (missing Debian packages), builds everything and runs every test with ctest.
# GUI tests run on Qt's offscreen platform, the X11 tests on their own Xvfb display.
# Benchmarks are built but not run (run build/bin/lumora-bench for the figures).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

start=$(date +%s)
# The Windows desktop backend is cross-built and tested under Wine (tests/win32/run.sh).
LUMORA_PACKAGES+=(g++-mingw-w64-x86-64-posix wine wine64)
lumora_setup
lumora_build
lumora_say "running the tests"
cd "$LUMORA_BUILD"
status=0
ctest --output-on-failure -j "${LUMORA_TEST_JOBS:-$(nproc)}" || status=$?
lumora_say "running the Windows desktop backend's tests under Wine"
"$LUMORA_ROOT/tests/win32/run.sh" "$LUMORA_BUILD-win32" || status=$((status ? status : 1))
lumora_say "building, installing, starting and removing the Debian package"
"$LUMORA_ROOT/tests/package/run.sh" --build "$LUMORA_BUILD" || status=$((status ? status : 1))
lumora_say "done in $(( $(date +%s) - start )) s (ctest status $status)"
exit $status
