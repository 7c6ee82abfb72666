#!/usr/bin/env bash
# Lays out the project's C++ sources with clang-format (the root .clang-format):
#   scripts/format.sh            formats every file in place
#   scripts/format.sh --check    changes nothing; shows how each differing file would change and
#                                exits 1 when any differs
#   scripts/format.sh [--check] FILE...   only these files
# Covers the tracked .cpp and .h files under src cli app tests bench fuzz services.
# Settings: LUMORA_CLANG_FORMAT (default clang-format-14, else clang-format).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
tool="${LUMORA_CLANG_FORMAT:-$(command -v clang-format-14 || command -v clang-format || true)}"
[ -n "$tool" ] || { echo "format.sh: no clang-format (apt-get install clang-format)" >&2; exit 2; }

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files -- src cli app tests bench fuzz services | grep -E '\.(cpp|h)$')
fi

if [ $check = 0 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 20 "$tool" -i --style=file
  exit 0
fi

# One diff per differing file, made side by side on every core.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -I{} sh -c \
  '"$1" --style=file "$2" | diff -u --label "$2" --label "$2 (formatted)" "$2" - >"$3/$(printf %s "$2" | tr / _).diff" || true' \
  _ "$tool" {} "$out"
differing=0 changed=0
for f in "${files[@]}"; do
  d="$out/$(printf %s "$f" | tr / _).diff"
  [ -s "$d" ] || continue
  cat "$d"
  differing=$((differing + 1))
  changed=$((changed + $(grep -c '^-' "$d") - 1))  # less the file's own --- line
done
if [ $differing -gt 0 ]; then
  echo "format.sh: $differing of ${#files[@]} files differ from .clang-format ($changed lines would change);" \
    "scripts/format.sh formats them" >&2
  exit 1
fi
echo "format.sh: all ${#files[@]} files match .clang-format" >&2
