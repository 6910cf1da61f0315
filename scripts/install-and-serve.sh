#!/usr/bin/env bash
# Installs the product into a running Wine session's prefix with the silent
# installer and serves events end to end with trctl, each starting a real
# program that is closed again; edits a binding and a setting the way the
# binding editor does, checks the installation with trctl doctor, and ends
# with the resident server: Trelvane.exe started as the user's log-on starts
# it, serving one key press typed on the keyboard end to end.
#   install-and-serve.sh <bin-folder> <wine-state-folder>
# The bin folder holds TrelvaneSetup.exe; the Wine session (wine-test.sh
# start) must be running.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:?bin folder}" && pwd)
state=$(cd "${2:?wine state folder}" && pwd)
runner="$root/scripts/wine-test.sh"
export WINEPREFIX="$state/prefix" WINEDEBUG=-all
export DISPLAY=$(cat "$state/display")

prog_win='C:\Program Files\Kalvor Corporation\Trelvane'
prog="$WINEPREFIX/drive_c/Program Files/Kalvor Corporation/Trelvane"
trctl() { "$runner" run "$state" "$prog/trctl.exe" "$@"; }
# Runs trctl and reports its exit code instead of stopping the job.
step() {
  local rc=0
  trctl "$@" || rc=$?
  echo "   -> exit $rc"
  return 0
}

echo "== install: TrelvaneSetup.exe /S (silent; the default folder under Program Files)"
"$runner" run "$state" "$bin/TrelvaneSetup.exe" /S || { echo "   the installer failed (exit $?)" >&2; exit 1; }
echo "   $prog_win: $(cd "$prog" && ls | tr '\n' ' ')"
echo "   Win2K: $(cd "$prog/Win2K" && ls | tr '\n' ' ')"
echo "   Win98: $(cd "$prog/Win98" && ls | tr '\n' ' ')"
echo "== installed: machine-wide settings (HKLM\\Software\\Kalvor Corporation\\Trelvane) and the Uninstall entry"
wine reg query 'HKLM\Software\Kalvor Corporation\Trelvane' 2>/dev/null | grep -E 'Installed|TrTW' | sed 's/^ */   /'
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvane' 2>/dev/null |
  grep -E 'DisplayName|DisplayVersion|QuietUninstallString' | sed 's/^ */   /'
echo "== trctl --version"
step --version

echo "== set up the user (the installer did it; again: what the user has stays)"
step setup
echo "== product paths"
step paths
echo "== the jog dial's menu, through the menu exports"
step jog

echo "== find: look events up without starting anything"
step find ppk
step find fpmedia E
echo "== find: an event without a binding, and bad input"
step find usb 'USB\VID_1234&PID_5678\1'
step find skey 9
step find nonsense

echo "== a data file that cannot be read: the user's TimrData.dat is damaged, setup restores it"
data=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/"Kalvor Corporation"/Trelvane | head -1)
printf 'Title:damaged\r\n' >"$data/TimrData.dat"
step find timer
rm -f "$data/TimrData.dat"
trctl setup >/dev/null && echo "   setup: the missing TimrData.dat copied again"
step find timer

echo "== serve: PPK key (no server registered: trctl registers its own)"
step serve ppk --timeout 3
echo "== serve: SKey 1"
step serve skey 1 --timeout 3
echo "== serve: timer"
step serve timer --timeout 3

echo "== edit the bindings through the database classes: bind, list, find, serve, unbind"
step bind skey 5 --path clock.exe --title "Clock" --description "Bound by trctl"
step list skey
step find skey 5 --json
step serve skey 5 --timeout 3
step unbind skey 5
step find skey 5
echo "== settings through the settings exports: read, change, a refused value"
step settings skey
step settings skey InfoDialog=3
step settings skey InfoDialog=150

echo "== serve through a resident server: one process registers the server window and watches for rewrites"
trctl host --watch --seconds 60 &
host=$!
for _ in $(seq 100); do trctl windows >/dev/null 2>&1 && break; sleep 0.2; done
echo "== a bind in another process: the watching server is told the file was rewritten"
step bind skey 6 --path winver.exe
step unbind skey 6
echo "== serve: the jog dial's PPK key, with the server of the other process"
step serve jppk --timeout 3
echo "== serve: a Flashpod medium in drive E (the drive goes to the options)"
step serve fpmedia E --timeout 3
echo "== doctor: the installation and the user's setup, one line per check"
step doctor
trctl windows --close >/dev/null
wait "$host"

echo "== the resident server: Trelvane.exe, which the user's Run key starts at log-on"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Trelvane 2>/dev/null | grep Trelvane | sed 's/^ */   /'
log="$WINEPREFIX/drive_c/trelvane-main.log"
rm -f "$log"
"$runner" run "$state" "$prog/Trelvane.exe" --log 'C:\trelvane-main.log' &
server=$!
for _ in $(seq 150); do grep -q "hot keys registered" "$log" 2>/dev/null && break; sleep 0.2; done
step windows
echo "== its hot keys (trctl hotkeys)"
step hotkeys
echo "== a second Trelvane.exe refuses to start"
rc=0
out=$("$runner" run "$state" "$prog/Trelvane.exe" 2>&1) || rc=$?
echo "$out" | sed 's/^/   /; s/\r$//'
echo "   -> exit $rc"
echo "== one key press end to end: Win+F1 typed on the keyboard; the server looks SKey 1 up,"
echo "   counts the info dialog down (SKey InfoDialog, set to 3 above) and starts the program"
step hotkeys press skey 1
for _ in $(seq 150); do grep -q "skey 1: started\|skey 1: .*problem\|problem: skey 1" "$log" 2>/dev/null && break; sleep 0.2; done
sleep 2
wine taskkill /IM winver.exe >/dev/null 2>&1 && echo "   the started winver.exe closed again"
echo "== Trelvane.exe --exit: the server ends and leaves the shared block"
"$runner" run "$state" "$prog/Trelvane.exe" --exit 2>&1 | sed 's/^/   /'
wait "$server" && echo "   server exit code 0"
echo "== the server's log (Trelvane.exe --log)"
sed 's/^/   /; s/\r$//' "$log"
echo "== done"
