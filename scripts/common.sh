# Shared by run.sh and test.sh: install missing Debian packages, configure and build.
# Sourced, not run. Settings: LUMORA_BUILD_DIR (default build), LUMORA_JOBS (default: ninja's own).

LUMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LUMORA_BUILD="${LUMORA_BUILD_DIR:-$LUMORA_ROOT/build}"
case "$LUMORA_BUILD" in /*) ;; *) LUMORA_BUILD="$LUMORA_ROOT/$LUMORA_BUILD" ;; esac

# Everything a fresh Debian 12 needs to build, run and test Lumora.
LUMORA_PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-multimedia-dev libcpp-httplib-dev libsqlite3-dev qtkeychain-qt6-dev libssl-dev openssl
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxtst-dev libxfixes-dev libxi-dev
  fonts-wqy-microhei qt6-translations-l10n xvfb xauth x11-utils imagemagick librsvg2-bin openbox xclip dbus
  clang libclang-rt-14-dev
  dpkg-dev file xdotool lintian man-db
  libsodium-dev libssl-dev
)
# What the Windows build adds (scripts/windows.sh, tests/windows/run.sh): the cross compiler,
# Wine, the source-package tools for Qt and SQLite (dpkg-source, tclsh), NSIS and zip.
LUMORA_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev tcl make patch nsis zip locales
)

# Compiler cache: paths are taken relative to the source tree, so another clone of it (CI's) reuses
# what this one compiled.
export CCACHE_BASEDIR="$LUMORA_ROOT" CCACHE_NOHASHDIR=1

lumora_say() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# apt-get update runs once, and only when something is missing.
lumora_setup() {
  local missing=() p
  for p in "${LUMORA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    lumora_say "packages: all present"
    return 0
  fi
  lumora_say "installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo=(sudo); else
      echo "missing packages (run as root): apt-get install ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# lumora_build [targets...]: configures once (Ninja, RelWithDebInfo) and builds.
lumora_build() {
  if [ ! -f "$LUMORA_BUILD/build.ninja" ]; then
    lumora_say "configuring $LUMORA_BUILD"
    cmake -S "$LUMORA_ROOT" -B "$LUMORA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache) \
      >/dev/null || return 1
  fi
  lumora_say "building ${*:-everything}"
  ninja -C "$LUMORA_BUILD" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} "$@"
}
