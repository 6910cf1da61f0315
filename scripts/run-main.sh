#!/usr/bin/env bash
# The main job: install what is missing, build, then use the library under
# Wine through trctl: a server window is registered in the shared block by one
# process and read back by another, the platform code is printed, and then the
# product is installed into the private Wine prefix by the silent installer
# (TrelvaneSetup.exe /S, which also sets up the user) and events are served
# end to end, each starting a real program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" x64 >/dev/null

bin="$root/build/x64/bin"
state="$root/build/x64/wine-main"
runner="$root/scripts/wine-test.sh"
"$runner" start "$state"
trap '"$runner" stop "$state" >/dev/null 2>&1 || true' EXIT
trctl() { "$runner" run "$state" "$bin/trctl.exe" "$@"; }

echo "== platform"
trctl os

echo "== server: register a window in the shared block (process 1)"
trctl host --seconds 60 &
host=$!
for _ in $(seq 100); do trctl windows >/dev/null 2>&1 && break; sleep 0.2; done

echo "== another process reads the block and asks the server to close"
trctl windows --close
wait "$host"
echo "== after the server has gone"
trctl windows || echo "(exit $?: no block, as expected)"

"$root/scripts/install-and-serve.sh" "$bin" "$state"
