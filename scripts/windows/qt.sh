#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (static, mingw-w64) from Debian's own qt6-base source package
# and installs it into a versioned cache folder outside the source tree:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/lumora/qt-6.4.2-win64
# Skipped when that folder is complete: its stamp file, written last, names the Qt version and the
# configure flags, so a change of flags builds again. About half an hour on two cores, unless a
# prebuilt copy with the same stamp waits in the shared build cache (../shared/cache beside the clone).
# The machine's own apt sources are left alone: the source is fetched through a private apt
# configuration that adds one deb-src line.
set -euo pipefail

QT_VERSION=6.4.2
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/lumora"
prefix="$cache_root/qt-$QT_VERSION-win64"
work="$cache_root/qt-$QT_VERSION-win64-work"
jobs="${LUMORA_QT_JOBS:-$(nproc)}"

say() { printf '\033[1m==> qt-win64: %s\033[0m\n' "$*" >&2; }

# Only what Lumora needs: Core, Gui, Widgets, Network, Test, the Windows platform plugin and style.
flags=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_pkg_config=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_testlib=ON -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DINPUT_opengl=no
  -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_openssl=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_doubleconversion=OFF
)
stamp_text="qt $QT_VERSION x86_64-w64-mingw32 ${flags[*]}"
stamp="$prefix/lumora-qt.stamp"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ]; then
  say "cached in $prefix"
  exit 0
fi

# A prebuilt copy of this very folder (made by this script on Debian 12) may sit in the shared build
# cache beside the project: used only when its sha256 matches the one beside it and the stamp inside
# is the stamp this script would write. Its files name the folder it was made in; when this cache
# lives elsewhere those paths are rewritten. Anything else: build from source as below.
# LUMORA_SHARED_CACHE names that folder; else the nearest shared/cache above the clone.
shared="${LUMORA_SHARED_CACHE:-}"
if [ -z "$shared" ]; then
  d=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  while [ "$d" != / ]; do
    d=$(dirname "$d")
    [ -f "$d/shared/cache/qt-$QT_VERSION-win64.tar.xz" ] && { shared="$d/shared/cache"; break; }
  done
fi
tarball="$shared/qt-$QT_VERSION-win64.tar.xz"
if [ -f "$tarball" ] && [ -f "$tarball.sha256" ]; then
  started=$(date +%s)
  want=$(awk '{ print $1; exit }' "$tarball.sha256")
  have=$(sha256sum "$tarball" | awk '{ print $1 }')
  unpack="$cache_root/qt-$QT_VERSION-win64-unpack"
  if [ "$want" != "$have" ]; then
    say "not using $tarball: its sha256 is $have, $want expected; building from source"
  else
    rm -rf "$unpack"
    mkdir -p "$unpack"
    if tar -xJf "$tarball" -C "$unpack" && [ -f "$unpack/qt-$QT_VERSION-win64/lumora-qt.stamp" ] &&
       [ "$(cat "$unpack/qt-$QT_VERSION-win64/lumora-qt.stamp")" = "$stamp_text" ]; then
      made_in=$(sed -n 's|^set(__qt_initially_configured_toolchain_file "\(.*\)/mingw-w64-toolchain.cmake")$|\1|p' \
        "$unpack/qt-$QT_VERSION-win64/lib/cmake/Qt6/qt.toolchain.cmake" | head -n 1)
      if [ -n "$made_in" ] && [ "$made_in" != "$prefix" ]; then
        grep -rlIF "$made_in" "$unpack/qt-$QT_VERSION-win64" | while IFS= read -r f; do
          sed -i "s|$made_in|$prefix|g" "$f"
        done
      fi
      rm -rf "$prefix"
      mv "$unpack/qt-$QT_VERSION-win64" "$prefix"
      rm -rf "$unpack"
      say "unpacked the prebuilt Qt from $tarball (sha256 and stamp match) into $prefix in $(( $(date +%s) - started )) s"
      exit 0
    fi
    rm -rf "$unpack"
    say "not using $tarball: it does not hold this script's stamp; building from source"
  fi
fi

# Host tools must be the same Qt version.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
case "$host_version" in
  "$QT_VERSION"*) ;;
  *) echo "qt.sh: the host's qt6-base-dev is '$host_version', $QT_VERSION is needed" >&2; exit 2 ;;
esac
for tool in x86_64-w64-mingw32-g++-posix cmake ninja dpkg-source apt-get; do
  command -v "$tool" >/dev/null || { echo "qt.sh: $tool is missing" >&2; exit 2; }
done

rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/src"

# A private apt configuration with the deb-src line of the machine's own Debian mirror.
mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
[ -n "$mirror" ] || mirror=$(awk '/^deb / { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
[ -n "$mirror" ] || { echo "qt.sh: no Debian mirror found in the apt sources" >&2; exit 2; }
echo "deb-src $mirror bookworm main" >"$work/apt/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::Archives=$work/apt/archives"
          -o APT::Sandbox::User=root)
say "fetching the qt6-base source package from $mirror"
apt-get "${apt_opts[@]}" update -qq
(cd "$work/src" && apt-get "${apt_opts[@]}" source --download-only -qq qt6-base >/dev/null)
# bookworm's qt6-base is the Qt of the host tools; anything else is refused rather than built.
dsc=$(ls "$work"/src/qt6-base_*.dsc 2>/dev/null | head -n 1 || true)
[ -n "$dsc" ] && [ -f "$dsc" ] || { echo "qt.sh: no qt6-base source package was fetched" >&2; exit 2; }
source_version=$(awk '/^Version:/ { print $2; exit }' "$dsc")
case "$source_version" in
  "$QT_VERSION"+dfsg-*) ;;
  *) echo "qt.sh: the qt6-base source package is $source_version, $QT_VERSION is needed" >&2; exit 2 ;;
esac

# dpkg-source checks the tarballs against the checksums of the .dsc (apt checked the .dsc against
# the signed index) and unpacks without applying Debian's patches; only the security ones are applied.
say "checking and unpacking $(basename "$dsc")"
(cd "$work/src" && dpkg-source --skip-patches -x "$dsc" qt6-base >"$work/unpack.log" 2>&1) ||
  { cat "$work/unpack.log" >&2; exit 1; }
srcdir="$work/src/qt6-base"
for p in "$srcdir"/debian/patches/cve-*; do
  [ -f "$p" ] || continue
  say "applying $(basename "$p")"
  patch -d "$srcdir" -p1 -s -N <"$p"
done

# The toolchain file lives beside the installed Qt: its path is recorded in Qt's own toolchain file.
mkdir -p "$prefix"
cat >"$prefix/mingw-w64-toolchain.cmake" <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

say "configuring (about a minute)"
cmake -S "$srcdir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${flags[@]}" >"$work/configure.log" 2>&1 || { tail -n 40 "$work/configure.log" >&2; exit 1; }

say "building with $jobs jobs (about 30 minutes on two cores; a progress line every minute)"
started=$(date +%s)
ninja -C "$work/build" -j "$jobs" >"$work/build.log" 2>&1 &
ninja_pid=$!
while kill -0 "$ninja_pid" 2>/dev/null; do
  sleep 60 &
  wait $! 2>/dev/null || true
  line=$(grep -o '^\[[0-9]*/[0-9]*\]' "$work/build.log" | tail -n 1 || true)
  kill -0 "$ninja_pid" 2>/dev/null && say "$(( ($(date +%s) - started) / 60 )) min: step ${line:-[starting]}"
done
wait "$ninja_pid" || { tail -n 40 "$work/build.log" >&2; exit 1; }

say "installing into $prefix"
cmake --install "$work/build" >"$work/install.log" 2>&1 || { tail -n 20 "$work/install.log" >&2; exit 1; }
printf '%s' "$stamp_text" >"$stamp"
rm -rf "$work"
say "done in $(( ($(date +%s) - started) / 60 )) min: $(du -sh "$prefix" | cut -f1) in $prefix"
