#!/usr/bin/env bash
# Lumora's Windows build tested under Wine on a virtual screen (Xvfb):
#   1. the Windows desktop backend alone against the Win32 test program (tests/win32/run.sh);
#   2. scripts/windows.sh: the Windows programs, the zip and the installer (Qt for Windows is
#      built first when it is not cached: about half an hour);
#   3. ctest in the Windows build: the engine's tests, the main window fed over HTTP by
#      lumora-feed.exe from a Chinese data folder, the betting run into the Win32 test program;
#   4. lumora.exe itself against lumora-feed.exe: a draw applied within 40 s (it prints each
#      applied draw), a screenshot of its main window (LUMORA_SHOT=file to keep it);
#   5. the installer: silent install registered in the installed-programs list (read back from
#      Wine's registry), an update in place keeping the player's data, the installed lumora.exe
#      shows its main window, the uninstaller removes the programs and the registration and keeps
#      the data folder (removes it with /PURGE).
#   tests/windows/run.sh --programs-only   steps 4 and 5 alone, on an existing build and dist/
#                                          (scripts/release.sh)
# Settings: LUMORA_WINDOWS_BUILD_DIR (default build-windows), LUMORA_TEST_JOBS.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/scripts/lib.sh"
build="${LUMORA_WINDOWS_BUILD_DIR:-$root/build-windows}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
status=0
step() { lumora_say "windows: $*"; }
fail() { echo "tests/windows: FAILED: $*" >&2; status=1; }

t0=$(date +%s)
t_win32=$t0 t_build=$t0 t_tests=$t0 t_ctest=$t0
if [ "${1:-}" != --programs-only ]; then
  step "the desktop backend's own tests (tests/win32)"
  "$root/tests/win32/run.sh" "$build-win32" || fail "tests/win32"

  t_win32=$(date +%s)
  step "building and packaging (scripts/windows.sh)"
  LUMORA_WINDOWS_BUILD_DIR="$build" bash "$root/scripts/windows.sh"
  t_build=$(date +%s)

  step "building the Windows tests"
  ninja -C "$build" ${LUMORA_JOBS:+-j "$LUMORA_JOBS"}
  t_tests=$(date +%s)
  step "ctest under Wine: engine tests, main window over HTTP, betting run"
  (cd "$build" && ctest --output-on-failure --timeout 600 -j "${LUMORA_TEST_JOBS:-2}") || fail "ctest in $build"
  # lumora-cli.exe over https against feeds of a private CA: the Linux build's test serves them.
  cli_tls="$LUMORA_BUILD/bin/e2e_CliTlsTest"
  if [ -x "$cli_tls" ]; then
    step "lumora-cli.exe over https under Wine (the Linux build's e2e_CliTlsTest)"
    LUMORA_WINDOWS_CLI="$build/bin/lumora-cli.exe" LUMORA_BIN="$LUMORA_BUILD/bin" LUMORA_SOURCE="$root" \
      WINEPREFIX="$build/wine-prefix" "$cli_tls" --gtest_filter='*WindowsProgram*' || fail "lumora-cli.exe over https"
  else
    step "skipped lumora-cli.exe over https: no $cli_tls (build the Linux tree first)"
  fi
  t_ctest=$(date +%s)
fi

# lumora.exe, the installer and the uninstaller, in one Wine session on one virtual screen.
source "$build/generated/release.env"
work="$build/program-test"
rm -rf "$work"
mkdir -p "$work"
export LUMORA_WORK="$work" LUMORA_BIN_DIR="$build/bin" LUMORA_SETUP="$root/dist/Lumora-$LUMORA_VERSION-win64-setup.exe"
export LUMORA_VERSION LUMORA_PUBLISHER
export LUMORA_SHOT="${LUMORA_SHOT:-$work/lumora-windows.png}"
# A prefix of its own: the installer's registry entries and Start-menu folder stay out of the tests'.
export WINEPREFIX="$work/wine-prefix"
"$root/tests/win32/wine-run.sh" "$build/bin/lumora-cli.exe" shrink >/dev/null  # sets the prefix up
# wine-run.sh's settings, for the programs started below.
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
[ -d "$WINEPREFIX-locale" ] && export LOCPATH="$WINEPREFIX-locale"
step "lumora.exe against lumora-feed.exe, then the installer"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/programs-under-wine.sh" || fail "lumora.exe and the installer"
t_end=$(date +%s)
step "screenshot: $LUMORA_SHOT"
times="$((t_win32 - t0)) s  the desktop backend under Wine (build and tests)
$((t_build - t_win32)) s  Qt, SQLite, the programs, zip and installer (scripts/windows.sh)
$((t_tests - t_build)) s  building the Windows tests
$((t_ctest - t_tests)) s  ctest under Wine
$((t_end - t_ctest)) s  the programs and the installer under Wine"
step "times:"
printf '%s\n' "$times" | sed 's/^/  /' >&2
[ -z "${LUMORA_TIMES_FILE:-}" ] || printf '%s\n' "$times" >"$LUMORA_TIMES_FILE"
exit $status
