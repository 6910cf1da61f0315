#!/usr/bin/env bash
# The whole test run: install what is missing, build both targets, run every
# test executable under Wine through CTest, then the native sanitizer and
# fuzzing runs where present. Ends with the count of test cases run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" all

cd "$root/build/x64"
rm -rf results
status=0
# Serially: run side by side, Wine test programs that post, send and wait
# across processes were seen to hang each other in the shared wineserver.
ctest --output-on-failure -j1 --timeout 600 || status=$?

# Native builds of the portable layers (sanitizers, fuzzing), when present.
if [ -x "$root/scripts/run-native.sh" ]; then
  "$root/scripts/run-native.sh" || status=$?
fi

# One closing line with the test cases of every executable (CTest counts
# executables, GoogleTest counts cases).
python3 "$root/scripts/count-results.py" "$root/build" || status=$?
exit $status
