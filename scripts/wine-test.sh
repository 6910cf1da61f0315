#!/usr/bin/env bash
# Runs Windows test programs under Wine for CTest.
#   wine-test.sh start <state-dir>        make a fresh prefix, start one persistent
#                                         wineserver and one Xvfb display for the run
#   wine-test.sh run <state-dir> <exe> [args...]
#   wine-test.sh stop <state-dir>         stop the wineserver and the display
# The state folder keeps the prefix and the display number between the calls.
set -euo pipefail
cmd=${1:?command}; state=${2:?state folder}; shift 2
mkdir -p "$state"
state=$(cd "$state" && pwd)
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Candidate display numbers: neither a socket nor a lock file of ours says
# they are taken. Another X server may still hold one where we cannot see its
# files (a container sharing the network namespace binds the abstract socket
# only), so start_display tries each candidate until its Xvfb really serves.
candidate_displays() {
  local n
  for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then echo "$n"; fi
  done
}

# Starts Xvfb on the first candidate it can own; prints the number.
start_display() {
  local n pid
  for n in $(candidate_displays); do
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break                    # it gave up: taken elsewhere
      if [ -e "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        echo "$pid" >"$state/xvfb.pid"
        echo "$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  return 1
}

case "$cmd" in
start)
  "$0" stop "$state" >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  # The display comes first: Wine's desktop process picks its graphics driver
  # when the prefix is made, and without a display it would never get one.
  n=$(start_display) || { echo "Xvfb did not start on any free display (see $state/xvfb.log)" >&2; exit 1; }
  echo ":$n" >"$state/display"
  export DISPLAY=":$n"
  wineboot -i >/dev/null 2>&1
  # A removable drive R: (a folder of the state dir): the resident server
  # takes an inserted medium for a memory card only on a removable drive.
  # Wine's mount manager reads its drives when it starts, so the services
  # that wineboot left running are ended before the run's server starts.
  mkdir -p "$state/removable"
  ln -sfn "$state/removable" "$WINEPREFIX/dosdevices/r:"
  wine reg add 'HKLM\Software\Wine\Drives' /v r: /t REG_SZ /d floppy /f >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  # Keep the Wine server up for the whole run so each test start stays cheap.
  setsid wineserver -p </dev/null >/dev/null 2>&1 &
  # No crash dialog may ever wait for a user. There is no window manager on
  # the test display: unmanaged windows spare a 2 s wait at every destroy.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # The caption buttons' glyphs come from Marlett, which a new prefix lacks.
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  echo "Wine prefix $WINEPREFIX ready, display :$n"
  ;;
run)
  exe=$(readlink -f "${1:?exe}"); shift
  [ -f "$state/display" ] || "$0" start "$state"
  export DISPLAY=$(cat "$state/display")
  cd "$(dirname "$exe")"
  # Unix paths in --gtest_output would be taken as relative Windows paths:
  # hand them over as paths on Wine's Z: drive.
  args=()
  for a in "$@"; do
    case "$a" in --gtest_output=xml:/*) a="--gtest_output=xml:Z:${a#--gtest_output=xml:}" ;; esac
    args+=("$a")
  done
  exec wine "$exe" "${args[@]}"
  ;;
stop)
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; rm -f "$state/xvfb.pid"; fi
  rm -f "$state/display"
  ;;
*) echo "usage: $0 start|run|stop <state-dir> ..." >&2; exit 2 ;;
esac
