#!/usr/bin/env bash
# Builds a static SQLite for 64-bit Windows (mingw-w64) from Debian's own sqlite3 source package
# and installs it into a versioned cache folder outside the source tree:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/lumora/sqlite-<version>-win64/{include,lib}
# Debian's upstream tarball is SQLite's canonical source tree, not the one-file amalgamation: the
# amalgamation is generated on the host (configure, make sqlite3.c: needs tclsh) and compiled with
# the cross compiler into lib/libsqlite3.a. Debian's fixes to the library's own code are applied;
# its build-system and packaging patches are not needed. Skipped when the cache folder's stamp
# (written last: version and flags) matches. Under a minute.
# Prints the install folder on standard output as its last line.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt-source.sh"

cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/lumora"
cflags=(-O2 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_THREADSAFE=1 -DSQLITE_DEFAULT_FOREIGN_KEYS=1)
say() { printf '\033[1m==> sqlite-win64: %s\033[0m\n' "$*" >&2; }

# The version is the source package's (bookworm's sqlite3), known once the index is read; a
# previous build of any version whose stamp matches its flags is reused without the network.
for stamp in "$cache_root"/sqlite-*-win64/lumora-sqlite.stamp; do
  [ -f "$stamp" ] || continue
  if [ "$(tail -n +2 "$stamp")" = "${cflags[*]}" ]; then
    say "cached in $(dirname "$stamp")"
    dirname "$stamp"
    exit 0
  fi
done

for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-ar tclsh gcc make dpkg-source apt-get patch; do
  command -v "$tool" >/dev/null || { echo "sqlite.sh: $tool is missing" >&2; exit 2; }
done

work="$cache_root/sqlite-win64-work"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT

say "fetching the sqlite3 source package"
lumora_fetch_source sqlite3 "$work"
version=$SOURCE_VERSION
upstream=${version%%-*}
prefix="$cache_root/sqlite-$upstream-win64"
srcdir="$work/src/sqlite3"
while read -r p; do
  p=${p%%#*}
  [ -n "$p" ] || continue
  # Only fixes to the library's code: build-system and tool patches stay out.
  if grep -E '^\+\+\+ ' "$srcdir/debian/patches/$p" | grep -qE 'configure\.ac|Makefile\.in|/tool/'; then continue; fi
  say "applying $p"
  patch -d "$srcdir" -p1 -s -N <"$srcdir/debian/patches/$p"
done <"$srcdir/debian/patches/series"

say "generating the amalgamation on the host"
mkdir -p "$work/host"
(cd "$work/host" && "$srcdir/configure" --disable-tcl --disable-readline >"$work/configure.log" 2>&1 &&
   make sqlite3.c >"$work/make.log" 2>&1) || { tail -n 30 "$work/configure.log" "$work/make.log" >&2; exit 1; }

say "compiling sqlite3.c for x86_64-w64-mingw32"
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/lib"
x86_64-w64-mingw32-gcc-posix "${cflags[@]}" -c "$work/host/sqlite3.c" -o "$work/sqlite3.o"
x86_64-w64-mingw32-ar rcs "$prefix/lib/libsqlite3.a" "$work/sqlite3.o"
cp "$work/host/sqlite3.h" "$work/host/sqlite3ext.h" "$prefix/include/"
printf 'sqlite %s x86_64-w64-mingw32\n%s' "$version" "${cflags[*]}" >"$prefix/lumora-sqlite.stamp"
say "done: $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
