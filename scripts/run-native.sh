#!/usr/bin/env bash
# Native (Linux, clang) run of the data layer: builds it with AddressSanitizer
# and UndefinedBehaviorSanitizer, runs its unit tests over the in-memory files,
# then runs each libFuzzer target for a bounded time from the committed seed
# corpus. Exits non-zero when anything fails.
#   run-native.sh [build-folder]     default: build/native (or $TR_NATIVE_BUILD)
#   TR_FUZZ_SECONDS=<n>              seconds per fuzzer (default 14)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-${TR_NATIVE_BUILD:-$root/build/native}}
seconds=${TR_FUZZ_SECONDS:-14}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root/tests/native" -B "$dir" -G Ninja \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build "$dir" -- -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0

echo "== native unit tests (ASan+UBSan), single-byte and code page 932"
mkdir -p "$dir/results"
"$dir/tr_data_native_tests" --gtest_brief=1 --gtest_output="xml:$dir/results/tr_data_native_tests.xml" || status=1
TR_CODEPAGE=932 "$dir/tr_data_native_tests" --gtest_brief=1 \
  --gtest_output="xml:$dir/results/tr_data_native_tests_cp932.xml" || status=1

# The fuzzers grow a working corpus in the build folder; the committed seeds
# stay as they are. A crash leaves its input under fuzz-artifacts/.
for target in numeral_key string_key jog_data refuse; do
  work="$dir/fuzz-corpus/$target"
  mkdir -p "$work" "$dir/fuzz-artifacts"
  log="$dir/fuzz-$target.log"
  if "$dir/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$dir/fuzz-artifacts/$target-" \
       "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz_$target: ${runs:-?} executions in ${seconds}s, no failure"
  else
    echo "fuzz_$target: FAILED (log $log)"
    grep -E "ERROR|SUMMARY|invariant|Test unit written" "$log" | head -10 || true
    status=1
  fi
done
exit $status
