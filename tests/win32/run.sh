#!/usr/bin/env bash
# Cross-builds the Windows desktop backend and its tests with mingw-w64 and runs them under Wine.
#   tests/win32/run.sh [build-dir]     (default: <source>/build-win32)
# Needs: g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth cmake ninja-build.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/scripts/lib.sh"
build=${1:-$root/build-win32}
for tool in x86_64-w64-mingw32-g++-posix wine xvfb-run xauth cmake ninja; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "tests/win32/run.sh: $tool is missing (apt-get install -y --no-install-recommends g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth)" >&2
    exit 2
  fi
done
LUMORA_SOURCE_DIR="$here" lumora_configure none "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
nice ninja -C "$build" -j2
cd "$build"
exec ctest --output-on-failure -V
