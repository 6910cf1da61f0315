# Shared by run-native.sh and fuzz.sh (sourced, not run): the native build and
# one bounded libFuzzer run per target. Expects $root (the checkout) and $dir
# (the native build folder, absolute).

# Every libFuzzer target of the native build, each with its seed corpus in
# fuzz/corpus/<target> and its dictionary.
fuzz_targets=(numeral_key string_key jog_data refuse device_keys)

native_build() {
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root/tests/native" -B "$dir" -G Ninja \
          -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  fi
  cmake --build "$dir" -- -j"$(nproc)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
}

# fuzz_run <target> <seconds> [runs]: runs one target from the committed seeds
# and its working corpus in the build folder (the seeds stay as they are) for
# at most the given time or number of executions. A crash leaves its input
# under fuzz-artifacts/. Prints one line; non-zero when the target failed.
fuzz_run() {
  local target=$1 seconds=$2 runs=${3:-0} dict="$root/fuzz/data.dict"
  local work="$dir/fuzz-corpus/$target" log="$dir/fuzz-$target.log"
  [ "$target" = device_keys ] && dict="$root/fuzz/device_keys.dict"
  mkdir -p "$work" "$dir/fuzz-artifacts"
  local limit=() max_len=${TR_FUZZ_MAX_LEN:-65536}
  [ "$runs" -gt 0 ] && limit=(-runs="$runs")
  if "$dir/fuzz_$target" -max_total_time="$seconds" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
       -max_len="$max_len" -dict="$dict" -print_final_stats=1 -artifact_prefix="$dir/fuzz-artifacts/$target-" \
       "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    local done rate
    done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    echo "fuzz_$target: ${done:-?} executions (${rate:-?}/s), no failure"
  else
    echo "fuzz_$target: FAILED (log $log)"
    grep -E "ERROR|SUMMARY|invariant|Test unit written" "$log" | head -10 || true
    return 1
  fi
}
