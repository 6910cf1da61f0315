#!/usr/bin/env bash
# Native (Linux, clang) run of the data layer and the finder's device keys:
# builds them with AddressSanitizer and UndefinedBehaviorSanitizer, runs the
# data layer's unit tests over the in-memory files, then runs each libFuzzer
# target for a short bounded time (longer runs: scripts/fuzz.sh). Exits
# non-zero when anything fails.
#   run-native.sh [build-folder]     default: build/native (or $TR_NATIVE_BUILD)
#   TR_FUZZ_SECONDS=<n>              seconds per fuzzer (default 14)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-${TR_NATIVE_BUILD:-$root/build/native}}
seconds=${TR_FUZZ_SECONDS:-14}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
# shellcheck source=fuzz-common.sh
. "$root/scripts/fuzz-common.sh"
native_build
status=0

echo "== native unit tests (ASan+UBSan), single-byte and code page 932"
mkdir -p "$dir/results"
"$dir/tr_data_native_tests" --gtest_brief=1 --gtest_output="xml:$dir/results/tr_data_native_tests.xml" || status=1
TR_CODEPAGE=932 "$dir/tr_data_native_tests" --gtest_brief=1 \
  --gtest_output="xml:$dir/results/tr_data_native_tests_cp932.xml" || status=1

for target in "${fuzz_targets[@]}"; do
  fuzz_run "$target" "$seconds" || status=1
done
exit $status
