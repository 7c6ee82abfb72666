# What the scripts share: the Debian packages, configuring a build (CMakePresets.json, through the
# compiler cache), building, a display of its own (Xvfb) and starting lumora-feed.
# Sourced, not run, by scripts/*.sh, tests/*/run.sh, tests/x11/run-under-xvfb.sh and bench/soak.sh.
# Settings: LUMORA_BUILD_DIR (default build), LUMORA_JOBS (default: ninja's own).

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
  clang libclang-rt-14-dev clang-format clang-tidy
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

# lumora_configure PRESET DIR [-DNAME=VALUE ...]: configures DIR from a preset of CMakePresets.json
# (source: LUMORA_SOURCE_DIR, default this tree; PRESET "none": Ninja and the settings given alone,
# for a source folder without presets) once, through ccache when it is there; its output
# goes to DIR.configure.log, whose end is shown on failure. An existing DIR whose cache disagrees
# with a -DNAME=VALUE given is configured again with it.
lumora_configure() {
  local preset=$1 dir=$2 arg name value
  shift 2
  local src="${LUMORA_SOURCE_DIR:-$LUMORA_ROOT}"
  if [ -f "$dir/build.ninja" ]; then
    local stale=0
    for arg in "$@"; do
      name=${arg#-D}; value=${name#*=}; name=${name%%=*}; name=${name%%:*}
      grep -qE "^$name:[A-Z]+=$value\$" "$dir/CMakeCache.txt" || stale=1
    done
    [ $stale = 1 ] || return 0
    lumora_say "configuring $dir again ($*)"
    cmake "$dir" "$@" >"$dir.configure.log" 2>&1 || { tail -n 40 "$dir.configure.log" >&2; return 1; }
    return 0
  fi
  lumora_say "configuring $dir"
  mkdir -p "$(dirname "$dir")"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  local how=(--preset "$preset")
  [ "$preset" != none ] || how=(-G Ninja)
  (cd "$src" && cmake "${how[@]}" -S "$src" -B "$dir" "${launcher[@]}" "$@") >"$dir.configure.log" 2>&1 ||
    { tail -n 40 "$dir.configure.log" >&2; return 1; }
}

# lumora_build [targets...]: configures LUMORA_BUILD once (preset default; LUMORA_CMAKE_ARGS adds
# -DNAME=VALUE settings) and builds.
lumora_build() {
  # shellcheck disable=SC2086
  lumora_configure default "$LUMORA_BUILD" ${LUMORA_CMAKE_ARGS:-} || return 1
  lumora_say "building ${*:-everything}"
  ninja -C "$LUMORA_BUILD" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} "$@"
}

# lumora_xvfb DIR [SCREEN]: starts Xvfb on a free display (screen SCREEN, default 1600x1000x24),
# waits for it and exports DISPLAY; its number goes to DIR/display, its log to DIR/xvfb.log and its
# process id to LUMORA_XVFB_PID (the caller ends it).
lumora_xvfb() {
  local dir=$1 i
  : >"$dir/display"
  Xvfb -displayfd 3 -screen 0 "${2:-1600x1000x24}" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  LUMORA_XVFB_PID=$!
  for i in $(seq 100); do
    [ -s "$dir/display" ] && break
    kill -0 "$LUMORA_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$dir/display" ] || { echo "Xvfb did not start:" >&2; cat "$dir/xvfb.log" >&2; return 1; }
  export DISPLAY=":$(head -n 1 "$dir/display")"
}

# lumora_start_feed DIR COMMAND...: starts lumora-feed (COMMAND is its command line, lumora-feed.exe
# under wine included) in the background, its standard output in DIR/feed.out and its log in
# DIR/feed.log, and waits (LUMORA_FEED_WAIT tenths of a second, default 50) until it says where it
# serves. Sets LUMORA_FEED_PID and LUMORA_FEED_PORT. Fails when it ended or said nothing in time.
lumora_start_feed() {
  local dir=$1 i
  shift
  : >"$dir/feed.out"
  "$@" >"$dir/feed.out" 2>"$dir/feed.log" &
  LUMORA_FEED_PID=$!
  LUMORA_FEED_PORT=
  for ((i = 0; i < ${LUMORA_FEED_WAIT:-50}; i++)); do
    if grep -qs 'serving http://127.0.0.1:[0-9]*/' "$dir/feed.out"; then
      LUMORA_FEED_PORT=$(grep -o '127\.0\.0\.1:[0-9]*' "$dir/feed.out" | head -n 1 | cut -d: -f2)
      return 0
    fi
    kill -0 "$LUMORA_FEED_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
