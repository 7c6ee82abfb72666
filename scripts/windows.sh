#!/usr/bin/env bash
# Builds Lumora for 64-bit Windows on Debian and packages it:
#   build-windows/bin/{lumora,lumora-cli,lumora-feed}.exe   static programs (only Windows' own DLLs)
#   dist/Lumora-<version>-win64.zip                          programs, data folder, read-me, licences
#   dist/Lumora-<version>-win64-setup.exe                    per-user NSIS installer (registers)
# Installs missing Debian packages, then builds Qt for Windows (scripts/windows/qt.sh: about half
# an hour the first time, a no-op once cached), a static SQLite (scripts/windows/sqlite.sh) and
# cpp-httplib's single header (scripts/windows/httplib.sh), all from Debian's source packages.
# Settings: LUMORA_WINDOWS_BUILD_DIR (default build-windows), LUMORA_JOBS.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start=$(date +%s)
LUMORA_PACKAGES+=("${LUMORA_WINDOWS_PACKAGES[@]}")
lumora_setup

# What the windows preset of CMakePresets.json configures with.
export LUMORA_WINDOWS_QT="${XDG_CACHE_HOME:-$HOME/.cache}/lumora/qt-6.4.2-win64"
bash "$LUMORA_ROOT/scripts/windows/qt.sh"
LUMORA_WINDOWS_SQLITE=$(bash "$LUMORA_ROOT/scripts/windows/sqlite.sh" | tail -n 1)
LUMORA_WINDOWS_HTTPLIB=$(bash "$LUMORA_ROOT/scripts/windows/httplib.sh" | tail -n 1)
export LUMORA_WINDOWS_SQLITE LUMORA_WINDOWS_HTTPLIB
httplib_dir=$LUMORA_WINDOWS_HTTPLIB

build="${LUMORA_WINDOWS_BUILD_DIR:-$LUMORA_ROOT/build-windows}"
case "$build" in /*) ;; *) build="$LUMORA_ROOT/$build" ;; esac
lumora_configure windows "$build"
lumora_say "building lumora.exe, lumora-cli.exe, lumora-feed.exe"
ninja -C "$build" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} lumora lumora-cli lumora-feed

# LUMORA_VERSION, LUMORA_PUBLISHER: what CMake was told (cmake/Version.cmake).
source "$build/generated/release.env"
version=$LUMORA_VERSION
name="Lumora-$version-win64"
dist="$LUMORA_ROOT/dist"
stage="$dist/stage/$name"
lumora_say "packaging $name"
rm -rf "$dist/stage" "$dist/$name.zip" "$dist/$name-setup.exe"
mkdir -p "$stage/data/fa" "$stage/data/txt"
for exe in lumora lumora-cli lumora-feed; do
  x86_64-w64-mingw32-strip -o "$stage/$exe.exe" "$build/bin/$exe.exe"
done
cp -r "$LUMORA_ROOT/data/." "$stage/data/"
# The read-me and the licences in Windows' own form: UTF-8 with a byte-order mark, CR LF. What
# the static programs carry besides Lumora's own code is listed, with the texts its licences ask for.
windows_text() { { printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/\r$//' -e 's/$/\r/' "$@"; } ; }
windows_text "$LUMORA_ROOT/scripts/windows/README.txt" >"$stage/README.txt"
windows_text "$LUMORA_ROOT/COPYING" >"$stage/COPYING.txt"
{
  cat "$LUMORA_ROOT/scripts/windows/THIRD-PARTY.txt"
  printf '\n==== cpp-httplib: MIT licence ====\n\n'
  cat "$httplib_dir/LICENSE"
  printf '\n==== Qt: GNU Lesser General Public License, version 3 ====\n\n'
  cat /usr/share/common-licenses/LGPL-3
} >"$stage/THIRD-PARTY.src"
windows_text "$stage/THIRD-PARTY.src" >"$stage/THIRD-PARTY.txt"
rm "$stage/THIRD-PARTY.src"

# Only Windows' own DLLs may be imported: anything else would have to ship beside the programs.
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|comctl32|ws2_32|winmm|imm32|uxtheme|dwmapi|version|winspool|shcore|setupapi|netapi32|userenv|wtsapi32|crypt32|bcrypt|secur32|iphlpapi|dnsapi|winhttp|d3d9|d3d11|d3d12|dxgi|dwrite|d2d1|dxguid|authz|mpr|api-ms-win-.*|msvcrt|ntdll|uiautomationcore|oleacc|rpcrt4|shlwapi|mswsock|dcomp)\.dll$'
for exe in lumora lumora-cli lumora-feed; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$stage/$exe.exe" | sed -n 's/^\s*DLL Name: //p' | sort -fu)
  lumora_say "$exe.exe imports: $(echo $dlls)"
  foreign=$(echo "$dlls" | tr 'A-Z' 'a-z' | grep -vE "$system_dlls" || true)
  [ -z "$foreign" ] || { echo "windows.sh: $exe.exe needs DLLs that Windows does not have: $foreign" >&2; exit 1; }
  # The version resource (UTF-16 strings) names the program and its version.
  wide=$(strings -el -n 3 "$stage/$exe.exe")
  grep -qx "$exe.exe" <<<"$wide" && grep -qx "$version" <<<"$wide" ||
    { echo "windows.sh: $exe.exe has no version resource naming $exe.exe $version" >&2; exit 1; }
done

(cd "$dist/stage" && zip -qr -X "$dist/$name.zip" "$name")
version4=$(echo "$version.0.0.0" | cut -d. -f1-4)
makensis -V2 -DVERSION="$version" -DVERSION4="$version4" -DPUBLISHER="$LUMORA_PUBLISHER" -DSTAGE="$stage" \
  -DICON="$LUMORA_ROOT/packaging/lumora.ico" -DOUTFILE="$dist/$name-setup.exe" "$LUMORA_ROOT/scripts/windows/installer.nsi"
lumora_say "$(du -h "$dist/$name.zip" | cut -f1) $dist/$name.zip"
lumora_say "$(du -h "$dist/$name-setup.exe" | cut -f1) $dist/$name-setup.exe"
lumora_say "done in $(( $(date +%s) - start )) s"
