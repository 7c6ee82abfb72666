#!/usr/bin/env bash
# The Debian package, end to end: build it, check it with lintian (no error, no warning), install it
# on this machine, start /usr/bin/lumora on
# a display of its own until its main window shows (screenshot docs/shots/installed-deb.png),
# check what it left in the user's data folder, and remove the package again (also on failure).
#
#   tests/package/run.sh                 build from a clean clone of the committed tree
#   tests/package/run.sh --build DIR     package an existing build folder instead
# Needs root (or sudo) for apt-get / dpkg.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/lib.sh"
say() { printf '\033[1m==> package: %s\033[0m\n' "$*" >&2; }
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

work=$(mktemp -d)
installed=0
cleanup() {
  if [ "$installed" = 1 ]; then
    say "removing the package"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=300 lumora >/dev/null ||
      "${sudo[@]}" dpkg -r lumora >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

if [ "${1:-}" = "--build" ]; then
  build="$(cd "$2" && pwd)"
else
  say "building from a clean clone of $(git -C "$root" rev-parse --short HEAD)"
  git clone -q "$root" "$work/src"
  build="$work/src/build"
  export CCACHE_BASEDIR="$work/src"
  LUMORA_SOURCE_DIR="$work/src" lumora_configure programs "$build"
  nice ninja -C "$build" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"} lumora lumora-cli lumora-feed >/dev/null
fi

say "cpack in $build"
(cd "$build" && rm -f lumora_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lumora_*.deb)
dpkg-deb --info "$deb" | sed -n 's/^ *\(Package\|Version\|Depends\|Installed-Size\):/  \1:/p'
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/lumora ./usr/bin/lumora-cli ./usr/bin/lumora-feed ./usr/share/lumora/data.mdb \
         ./usr/share/lumora/fa/ ./usr/share/lumora/txt/ ./usr/share/applications/io.github.lumora.Lumora.desktop \
         ./usr/share/metainfo/io.github.lumora.Lumora.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/lumora.svg \
         ./usr/share/doc/lumora/copyright ./usr/share/doc/lumora/changelog.gz ./usr/share/man/man1/lumora.1.gz \
         ./usr/share/man/man1/lumora-cli.1.gz ./usr/share/man/man1/lumora-feed.1.gz; do
  grep -q " $f\$" <<<"$contents" || { echo "the package lacks $f" >&2; exit 1; }
done
version=$(dpkg-deb -f "$deb" Version)
# The changelog made from CHANGELOG.md parses, and its newest entry is the package's version.
changelog_version=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/lumora/changelog.gz | gunzip |
  dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] || { echo "the changelog's newest entry is $changelog_version, the package $version" >&2; exit 1; }
say "lintian"
# Errors and warnings fail; the informational tags left are explained in README.
findings=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]: ' || true)
[ -z "$findings" ] || { echo "lintian finds:" >&2; echo "$findings" >&2; exit 1; }

if dpkg-query -W -f='${Status}' lumora 2>/dev/null | grep -q 'install ok installed'; then
  echo "a lumora package is installed already; not touching it" >&2
  exit 1
fi
say "installing $(basename "$deb")"
installed=1
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >/dev/null

/usr/bin/lumora --version | grep -qx "lumora $version (commit .*)" || { echo "/usr/bin/lumora --version does not say $version" >&2; exit 1; }
man -w lumora-feed >/dev/null || { echo "man finds no lumora-feed page" >&2; exit 1; }

say "starting /usr/bin/lumora under Xvfb"
mkdir -p "$root/docs/shots"
"$root/tests/x11/run-under-xvfb.sh" bash -c '
  set -u
  out=$1
  /usr/bin/lumora >"$HOME/lumora.log" 2>&1 &
  pid=$!
  win=
  for i in $(seq 1 200); do
    win=$(xdotool search --onlyvisible --name "^Lumora\$" 2>/dev/null | head -1) && [ -n "$win" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$win" ]; then echo "the main window did not show"; cat "$HOME/lumora.log"; kill $pid 2>/dev/null; exit 1; fi
  echo "  main window $win: $(xwininfo -id "$win" | sed -n "s/.*Width: /width /p;s/.*Height: /height /p" | tr "\n" " ")"
  sleep 2
  import -window root "$out"
  data="$HOME/.local/share/lumora"
  ok=1
  for f in data.mdb zdy.txt journal.sqlite; do [ -e "$data/$f" ] || { echo "no $f in $data"; ok=0; }; done
  kill $pid; wait $pid 2>/dev/null
  [ $ok = 1 ] && echo "  data folder $data seeded from /usr/share/lumora, journal written"
  [ $ok = 1 ]
' _ "$root/docs/shots/installed-deb.png"

say "removing the package"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=300 lumora >/dev/null
installed=0
for f in /usr/bin/lumora /usr/bin/lumora-cli /usr/bin/lumora-feed /usr/share/lumora; do
  [ ! -e "$f" ] || { echo "$f is still there after removal" >&2; exit 1; }
done
say "built, installed, started, removed: ok"
