#!/usr/bin/env bash
# clang-tidy (the root .clang-tidy) over the engine (src/, without the Qt shell src/ui) and the cli,
# with the compile commands of a configured and built tree:
#   scripts/tidy.sh [BUILD-DIR] [FILE...]      (default: build; every such .cpp it compiles)
# Any finding fails the run (exit 1); the findings are printed. Runs one clang-tidy per core.
# Settings: LUMORA_CLANG_TIDY (default clang-tidy-14, else clang-tidy).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
[ $# -gt 0 ] && shift
case "$build" in /*) ;; *) build="$root/$build" ;; esac
tool="${LUMORA_CLANG_TIDY:-$(command -v clang-tidy-14 || command -v clang-tidy || true)}"
[ -n "$tool" ] || { echo "tidy.sh: no clang-tidy (apt-get install clang-tidy)" >&2; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "tidy.sh: no $build/compile_commands.json (configure and build first)" >&2; exit 2; }

cd "$root"
if [ $# -gt 0 ]; then
  files=("$@")
else
  # Only what this build compiles: the Windows-only sources are not in a Linux build's commands.
  mapfile -t files < <(git ls-files -- 'src/*.cpp' 'cli/*.cpp' | grep -v '^src/ui/' |
    while read -r f; do grep -qF "\"file\": \"$root/$f\"" "$build/compile_commands.json" && echo "$f"; done)
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
start=$(date +%s)
status=0
printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 4 "$tool" -p "$build" --quiet --warnings-as-errors='*' --extra-arg=-Wno-unknown-warning-option \
  >"$out" 2>/dev/null || status=1
if [ $status != 0 ] || grep -q ': \(warning\|error\): ' "$out"; then
  cat "$out"
  echo "tidy.sh: $(grep -c ': \(warning\|error\): ' "$out") findings in ${#files[@]} files ($(( $(date +%s) - start )) s)" >&2
  exit 1
fi
echo "tidy.sh: ${#files[@]} files, no findings ($(( $(date +%s) - start )) s)" >&2
