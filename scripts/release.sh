#!/usr/bin/env bash
# A release of Lumora from a clean clone of one commit, checked, with its checksums:
#   bash scripts/release.sh [COMMIT]        (default HEAD)
# 1. clones the commit into a temporary folder (nothing of this working tree goes in);
# 2. Linux: builds the programs and the Debian package, then tests/package/run.sh checks it
#    (lintian without errors or warnings, its changelog and manual pages, installed on this machine
#    and started under Xvfb, removed again);
# 3. Windows: scripts/windows.sh builds the programs, the zip and the installer, then
#    tests/windows/run.sh --programs-only runs lumora.exe, a silent install read back from Wine's
#    registry, an update in place, the uninstall with and without /PURGE;
# 4. every program's --version must name the commit; the packages go to dist/ with SHA256SUMS.
# Build logs: dist/logs/. Needs root (or sudo) for the package test. Settings: LUMORA_JOBS.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start=$(date +%s)
commit=$(git -C "$LUMORA_ROOT" rev-parse --verify "${1:-HEAD}^{commit}")
short=${commit:0:10}
LUMORA_PACKAGES+=("${LUMORA_WINDOWS_PACKAGES[@]}")
lumora_setup

dist="$LUMORA_ROOT/dist"
logs="$dist/logs"
mkdir -p "$logs"
work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
src="$work/lumora"
# run_logged NAME COMMAND...: the command's output goes to dist/logs/NAME.log; its end is shown on failure.
run_logged() {
  local name=$1
  shift
  "$@" >"$logs/$name.log" 2>&1 || { tail -n 40 "$logs/$name.log" >&2; echo "release: $name failed (dist/logs/$name.log)" >&2; exit 1; }
}
times=()
lap() { times+=("$(printf '%5d s  %s' $(( $(date +%s) - lap_start )) "$1")"); lap_start=$(date +%s); }
lap_start=$start

lumora_say "release of $short: cloning"
git clone -q --no-checkout "$LUMORA_ROOT" "$src"
git -C "$src" checkout -q --detach "$commit"
# The compiler cache takes paths relative to the clone, so what this tree compiled is reused.
export CCACHE_BASEDIR="$src"

lumora_say "Linux: building the programs and the Debian package"
LUMORA_SOURCE_DIR="$src" run_logged linux-configure lumora_configure programs "$src/build"
run_logged linux-build nice ninja -C "$src/build" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"}
lap "Linux: programs, manual pages, changelog"
lumora_say "Linux: checking the package (lintian, install, start under Xvfb, remove)"
bash "$src/tests/package/run.sh" --build "$src/build"
deb=$(ls "$src"/build/lumora_*.deb)
lap "Linux: Debian package made and checked"

lumora_say "Windows: building the programs, the zip and the installer"
run_logged windows-build env LUMORA_WINDOWS_BUILD_DIR="$src/build-windows" bash "$src/scripts/windows.sh"
source "$src/build-windows/generated/release.env"
zip="$src/dist/Lumora-$LUMORA_VERSION-win64.zip"
setup="$src/dist/Lumora-$LUMORA_VERSION-win64-setup.exe"
lap "Windows: programs, zip, installer"
lumora_say "Windows: lumora.exe, the installer, an update and the uninstaller under Wine"
LUMORA_WINDOWS_BUILD_DIR="$src/build-windows" bash "$src/tests/windows/run.sh" --programs-only
lap "Windows: checked under Wine"

# Every program names this commit (a clean clone: never "-modified").
for program in lumora lumora-cli lumora-feed; do
  line=$("$src/build/bin/$program" --version)
  [ "$line" = "$program $LUMORA_VERSION (commit $short)" ] || { echo "release: $program --version says: $line" >&2; exit 1; }
  lumora_say "$line"
done
line=$(WINEPREFIX="$src/build-windows/program-test/wine-prefix" \
  "$src/tests/win32/wine-run.sh" "$src/build-windows/bin/lumora-cli.exe" --version 2>/dev/null | tr -d '\r')
[ "$line" = "lumora-cli $LUMORA_VERSION (commit $short)" ] || { echo "release: lumora-cli.exe --version says: $line" >&2; exit 1; }
lumora_say "$line (lumora-cli.exe under Wine)"

rm -f "$dist"/lumora_*.deb "$dist"/Lumora-*-win64.zip "$dist"/Lumora-*-win64-setup.exe "$dist/SHA256SUMS"
cp "$deb" "$zip" "$setup" "$dist/"
(cd "$dist" && sha256sum "$(basename "$deb")" "$(basename "$zip")" "$(basename "$setup")" >SHA256SUMS)
lap "checksums"
lumora_say "release $LUMORA_VERSION (commit $short) in $dist:"
(cd "$dist" && ls -l "$(basename "$deb")" "$(basename "$zip")" "$(basename "$setup")" SHA256SUMS | awk '{print "  " $5 "  " $9}') >&2
sed 's/^/  /' "$dist/SHA256SUMS" >&2
lumora_say "times:"
printf '%s\n' "${times[@]}" >&2
lumora_say "done in $(( $(date +%s) - start )) s"
