#!/usr/bin/env bash
# Runs inside one Xvfb display and one Wine prefix (tests/windows/run.sh sets both up):
# lumora.exe, started from a folder with a Chinese name, against lumora-feed.exe over HTTP, then
# the installer (its registration read back from Wine's registry), an update in place over the
# player's data, the installed lumora.exe, and the uninstaller with and without /PURGE. Every wait
# is bounded. LUMORA_VERSION and LUMORA_PUBLISHER are what the installer must register.
set -u
work=$LUMORA_WORK
bin=$LUMORA_BIN_DIR
rc=0
pids=()
fail() { echo "programs-under-wine: FAILED: $*" >&2; rc=1; }
say() { echo "programs-under-wine: $*" >&2; }
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wineserver -k 2>/dev/null
}
trap cleanup EXIT
# waits up to $1 tenths of a second for the command that follows to succeed
wait_for() {
  local n=$1 i
  shift
  for ((i = 0; i < n; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
window_shown() { xwininfo -root -tree 2>/dev/null | grep -q '"Lumora"'; }
win_folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora'
# reg_value NAME: the value under the installer's uninstall key, as `reg query` shows it (empty when missing)
reg_value() {
  wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 \{1,\}REG_[A-Z_]* \{1,\}//p"
}
registered() { wine reg query "$uninstall_key" >/dev/null 2>&1; }

# lumora-feed.exe on a free loopback port.
wine "$bin/lumora-feed.exe" --port 0 --seed 7 --interval 3600 --quiet --state "$(winepath -w "$work/feed-state")" \
  >"$work/feed.out" 2>"$work/feed.err" &
pids+=($!)
wait_for 300 grep -qs 'serving http://127.0.0.1:[0-9]*/' "$work/feed.out" || { fail "lumora-feed.exe did not start"; cat "$work/feed.err" >&2; exit 1; }
port=$(grep -o '127\.0\.0\.1:[0-9]*' "$work/feed.out" | head -n 1 | cut -d: -f2)
say "lumora-feed.exe serves port $port"

# lumora.exe with its data folder beside it, in a folder named in Chinese.
app="$work/彩票 助手"
mkdir -p "$app"
cp "$bin/lumora.exe" "$app/"
cp -r "$bin/data" "$app/"
started=$(date +%s)
wine "$app/lumora.exe" --feed "http://127.0.0.1:$port/feed" >"$work/lumora.out" 2>"$work/lumora.err" &
lumora=$!
pids+=($lumora)
# The 40 s count from the main window: the program's own 25 s countdown starts there (Wine's
# start-up before it varies with the machine's load).
if wait_for 600 window_shown; then say "main window shown after $(( $(date +%s) - started )) s"; else fail "lumora.exe showed no main window"; fi
shown=$(date +%s)
if wait_for 600 grep -qsE '^[0-9]+ [0-9]{5}' "$work/lumora.out"; then
  took=$(( $(date +%s) - shown ))
  say "first applied draw $took s after the window showed ($(( $(date +%s) - started )) s after start): $(head -n 1 "$work/lumora.out" | tr -d '\r')"
  [ "$took" -le 40 ] || fail "the first draw came $took s after the window showed (more than 40)"
  sleep 1
  import -window root "$work/root.png" && convert "$work/root.png" -trim +repage "$LUMORA_SHOT" ||
    fail "no screenshot"
else
  fail "lumora.exe applied no draw within 60 s"
  cat "$work/lumora.err" >&2
fi
kill "$lumora" 2>/dev/null
wait "$lumora" 2>/dev/null

# The installer, silent.
local_app=$(win_folder LOCALAPPDATA)
menu="$(win_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Lumora"
inst="$local_app/Programs/Lumora"
say "installing into $inst"
wine "$LUMORA_SETUP" /S || fail "the installer ended with status $?"
wait_for 300 test -f "$inst/uninstall.exe" || fail "nothing installed in $inst"
for f in lumora.exe lumora-cli.exe lumora-feed.exe README.txt COPYING.txt THIRD-PARTY.txt data/lumora.ini data/data.mdb \
         data/bj.wav data/zdy.txt; do
  [ -f "$inst/$f" ] || fail "$f not installed"
done
[ -d "$inst/data/fa" ] && [ -d "$inst/data/txt" ] || fail "the empty data folders were not made"
[ -f "$menu/Lumora.lnk" ] || fail "no Start-menu entry in $menu"

# Registered in the list of installed programs, for this user.
say "registry: $uninstall_key"
for name in DisplayName DisplayVersion Publisher EstimatedSize UninstallString QuietUninstallString DisplayIcon; do
  say "  $name = $(reg_value $name)"
done
[ "$(reg_value DisplayName)" = Lumora ] || fail "DisplayName is not Lumora"
[ "$(reg_value DisplayVersion)" = "$LUMORA_VERSION" ] || fail "DisplayVersion is not $LUMORA_VERSION"
[ "$(reg_value Publisher)" = "$LUMORA_PUBLISHER" ] || fail "Publisher is not $LUMORA_PUBLISHER"
size=$(reg_value EstimatedSize)
# The three programs alone are several megabytes: the size is in KB and counts them.
[[ "$size" =~ ^0x[0-9a-fA-F]+$ ]] && [ $((size)) -gt 5000 ] || fail "EstimatedSize $size is not the installed size in KB"
[[ "$(reg_value UninstallString)" == *'\uninstall.exe"' ]] || fail "UninstallString does not run uninstall.exe"
[[ "$(reg_value QuietUninstallString)" == *'\uninstall.exe" /S' ]] || fail "QuietUninstallString is not silent"
[[ "$(reg_value DisplayIcon)" == *'\lumora.exe,0' ]] || fail "DisplayIcon is not lumora.exe's icon"
wine "$inst/lumora-cli.exe" --version 2>/dev/null | tr -d '\r' | grep -qx "lumora-cli $LUMORA_VERSION (commit .*)" ||
  fail "the installed lumora-cli.exe --version does not name $LUMORA_VERSION"

# The player's own data, then the installer again over it: an update in place replaces the
# programs and keeps every data file, changed or added.
printf 'mine' >"$inst/data/fa/我的方案.fa"
printf '\r\n; the player'"'"'s own line\r\n' >>"$inst/data/lumora.ini"
ini=$(md5sum <"$inst/data/lumora.ini")
printf 'old' >"$inst/README.txt"
say "installing again over it (update in place)"
wine "$LUMORA_SETUP" /S || fail "the second installer run ended with status $?"
wait_for 300 sh -c '[ "$(head -c 3 "$1")" != old ]' _ "$inst/README.txt" || fail "the update did not replace the programs' files"
[ "$(md5sum <"$inst/data/lumora.ini")" = "$ini" ] || fail "the update overwrote the player's lumora.ini"
[ -f "$inst/data/fa/我的方案.fa" ] || fail "the update removed the player's scheme"
registered || fail "the update lost the registration"

wine "$inst/lumora.exe" --feed "http://127.0.0.1:$port/feed" >"$work/installed.out" 2>&1 &
installed=$!
pids+=($installed)
if wait_for 600 window_shown; then say "the installed lumora.exe shows its main window"; else fail "the installed lumora.exe showed no window"; fi
kill "$installed" 2>/dev/null
wait "$installed" 2>/dev/null
wait_for 100 sh -c '! xwininfo -root -tree 2>/dev/null | grep -q "\"Lumora\""'

# The player's own data stays when the program goes, and the registration goes with it.
say "uninstalling"
wine "$inst/uninstall.exe" /S
wait_for 300 test ! -e "$inst/lumora.exe" || fail "the uninstaller left lumora.exe"
wait_for 300 test ! -e "$inst/uninstall.exe" || fail "the uninstaller left itself"
[ -f "$inst/data/fa/我的方案.fa" ] && [ -f "$inst/data/data.mdb" ] || fail "the uninstaller removed the data folder"
[ "$(md5sum <"$inst/data/lumora.ini")" = "$ini" ] || fail "the uninstaller changed the player's lumora.ini"
[ ! -e "$menu/Lumora.lnk" ] || fail "the Start-menu entry is still there"
! registered || fail "the uninstaller left the registration $uninstall_key"
wine reg query 'HKCU\Software\Lumora' >/dev/null 2>&1 && fail "the uninstaller left HKCU\\Software\\Lumora"

# Asked to, the uninstaller removes the data folder too.
wine "$LUMORA_SETUP" /S || fail "installing again ended with status $?"
wait_for 300 test -f "$inst/uninstall.exe" || fail "nothing installed the second time"
say "uninstalling with /PURGE"
wine "$inst/uninstall.exe" /S /PURGE
wait_for 300 test ! -e "$inst" || fail "uninstall.exe /S /PURGE left $inst: $(cd "$inst" 2>/dev/null && find . | head -5 | tr '\n' ' ')"
! registered || fail "the purging uninstaller left the registration"
[ $rc = 0 ] && say "lumora.exe, installer, update and uninstaller: all passed"
exit $rc
