#!/usr/bin/env bash
# cpp-httplib for the Windows build: Debian's libcpp-httplib-dev installs a split header whose
# implementation lives in a Linux shared library, so the Windows programs take the upstream
# single header (header-only) from Debian's cpp-httplib source package, the same version, into
#   ${XDG_CACHE_HOME:-$HOME/.cache}/lumora/cpp-httplib-<version>/httplib.h
# Skipped when that folder's stamp is there. Prints the folder as its last line.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt-source.sh"
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/lumora"
say() { printf '\033[1m==> cpp-httplib: %s\033[0m\n' "$*" >&2; }

for stamp in "$cache_root"/cpp-httplib-*/lumora-httplib.stamp; do
  [ -f "$stamp" ] || continue
  say "cached in $(dirname "$stamp")"
  dirname "$stamp"
  exit 0
done
work="$cache_root/cpp-httplib-work"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
say "fetching the cpp-httplib source package"
lumora_fetch_source cpp-httplib "$work"
src=$SOURCE_DIR
upstream=${SOURCE_VERSION%%-*}
upstream=${upstream%%+*}
grep -q "CPPHTTPLIB_VERSION \"$upstream\"" "$src/httplib.h" ||
  { echo "httplib.sh: $src/httplib.h is not cpp-httplib $upstream" >&2; exit 2; }
prefix="$cache_root/cpp-httplib-$upstream"
rm -rf "$prefix"
mkdir -p "$prefix"
cp "$src/httplib.h" "$src/LICENSE" "$prefix/"
printf 'cpp-httplib %s' "$SOURCE_VERSION" >"$prefix/lumora-httplib.stamp"
say "done: $prefix"
echo "$prefix"
