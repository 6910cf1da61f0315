#!/usr/bin/env bash
# Long libFuzzer runs beyond CI's short ones: builds the native tree (as
# run-native.sh does) and runs every target in turn, with the dictionary of
# the data-file labels (fuzz/data.dict) or of device identifiers
# (fuzz/device_keys.dict), growing the working corpus in the build folder.
# Exits non-zero when any target finds a failure.
#   fuzz.sh [seconds [target...]]   seconds per target (default 600), and the
#                            targets (default all: numeral_key string_key
#                            jog_data refuse device_keys)
#   TR_FUZZ_RUNS=<n>         also stop each target after n executions
#   TR_FUZZ_MAX_LEN=<bytes>  longest input tried (default 65536); the corpus
#                            grows towards it, and each execution slows with it
#   TR_NATIVE_BUILD=<dir>    build folder (default build/native)
# Run it at low priority beside other work: nice scripts/fuzz.sh 3600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift $(( $# > 0 ? 1 : 0 ))
dir=${TR_NATIVE_BUILD:-$root/build/native}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
# shellcheck source=fuzz-common.sh
. "$root/scripts/fuzz-common.sh"
native_build >/dev/null
status=0
[ $# -gt 0 ] && fuzz_targets=("$@")
for target in "${fuzz_targets[@]}"; do
  start=$(date +%s)
  if fuzz_run "$target" "$seconds" "${TR_FUZZ_RUNS:-0}"; then :; else status=1; fi
  echo "  ($(( $(date +%s) - start )) s)"
done
exit $status
