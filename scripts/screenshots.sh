#!/usr/bin/env bash
# Takes screenshots of the three dialogs (the info dialog, the past-time
# dialog and two watch windows) under a private Wine prefix and X display,
# driven by trctl, so a person can look at them.
#
#   scripts/screenshots.sh <output-folder> [build-folder]
#
# The build folder (default: build) must hold bin/trctl.exe, TrCommon.dll and
# TrLocale.DLL. Writes info-dialog.png, past-dialog.png, watch-windows.png
# (each cut to the windows on the black desktop) and desktop-*.png (the whole
# screen) into the output folder. Needs ImageMagick (import, convert).
set -euo pipefail
out=${1:?usage: screenshots.sh <output-folder> [build-folder]}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${2:-$here/../build}" && pwd)
trctl="$build/bin/trctl.exe"
[ -f "$trctl" ] || { echo "no $trctl: build first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

state="$build/wine-screenshots"
"$here/wine-test.sh" start "$state" >/dev/null
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
DISPLAY=$(cat "$state/display")
export DISPLAY

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  "$here/wine-test.sh" stop "$state" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# The display has no window manager: unmanaged windows get the caption and
# frame Wine draws itself, as on Windows.
wine reg add 'HKCU\Software\Wine\AppDefaults\trctl.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The caption buttons are glyphs of Wine's Marlett font, which a fresh prefix
# may not find on its own (the close box then shows an "r").
for f in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
  [ -f "$f" ] && cp "$f" "$WINEPREFIX/drive_c/windows/Fonts/" && break
done

cd "$build/bin"
run_bg() { wine "$trctl" "$@" >/dev/null 2>&1 & pids+=($!); }

# shot <name>: the whole screen, and the part of it that is not black desktop.
shot() {
  import -window root "$out/desktop-$1.png"
  convert "$out/desktop-$1.png" -trim +repage -bordercolor black -border 12 "$out/$1.png"
  echo "$out/$1.png"
}

# Waits until the screen shows something (a dialog has been painted).
wait_for_picture() {
  for _ in $(seq 100); do
    sleep 0.2
    [ "$(import -window root -format '%k' info:- 2>/dev/null || echo 1)" -gt 1 ] && { sleep 1.2; return 0; }
  done
  echo "nothing appeared on the screen" >&2
  return 1
}
wait_for_black() {
  for _ in $(seq 100); do
    [ "$(import -window root -format '%k' info:- 2>/dev/null || echo 2)" -le 1 ] && return 0
    sleep 0.2
  done
}

# The server program's stand-in: owns the info and past-time dialogs.
run_bg host --seconds 300
sleep 2

run_bg info 30 --title "Notepad" --description "Writes plain notes" --path 'C:\windows\notepad.exe'
wait_for_picture
shot info-dialog
kill "${pids[-1]}" 2>/dev/null || true
wait_for_black

run_bg past - -35 --title "Backup" --description "Copies the notes folder to the memory card" \
  --path 'C:\windows\regedit.exe'
wait_for_picture
shot past-dialog
kill "${pids[-1]}" 2>/dev/null || true
wait_for_black

run_bg watch 125 0x200002 --row 0 --caption "Trelvane timer"
run_bg watch 1 0x200010 --row 1 --caption "Trelvane timer"
wait_for_picture
sleep 1
shot watch-windows
