#!/usr/bin/env bash
# Builds and runs every benchmark, under Wine and natively, several times,
# and prints one table of the results (scripts/bench-table.py): per row the
# run in which the work was fastest, its ratio against the baseline measured
# in that same run, and the range of the ratios of all runs.
#   bench.sh [--runs N] [--quick] [--readme]
#     --runs N   runs of each benchmark program (default 3)
#     --quick    the benchmarks' small sizes and fewer calls only
#     --readme   also put the table into README.md (between its bench markers)
# The machine's other load distorts timings: read the ranges before the ratios.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=3
quick=()
readme=0
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --quick) quick=(--quick) ;;
    --readme) readme=1 ;;
    *) echo "usage: $0 [--runs N] [--quick] [--readme]" >&2; exit 2 ;;
  esac
  shift
done

"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" x64 >/dev/null
native="$root/build/native-bench"
cmake -S "$root/tests/native" -B "$native" -G Ninja -DTR_NATIVE_BENCH=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$native" -- -j"$(nproc)" >/dev/null

out="$root/build/bench/results"
rm -rf "$out"
mkdir -p "$out"
state="$root/build/bench"
trap '"$root/scripts/wine-test.sh" stop "$state" >/dev/null 2>&1 || true' EXIT
"$root/scripts/wine-test.sh" start "$state" >/dev/null

bin="$root/build/x64/bin"
for run in $(seq "$runs"); do
  echo "run $run of $runs" >&2
  "$native/tr_data_bench" --tsv "${quick[@]}" >"$out/data-native-$run.txt"
  "$root/scripts/wine-test.sh" run "$state" "$bin/tr_data_bench.exe" --tsv "${quick[@]}" >"$out/data-wine-$run.txt"
  "$root/scripts/wine-test.sh" run "$state" "$bin/tr_lookup_bench.exe" --tsv "${quick[@]}" >"$out/lookup-wine-$run.txt"
done

cpu=$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -1)
machine="Machine: ${cpu:-unknown CPU}, $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg), $runs runs${quick:+ (--quick)}."
table=$(python3 "$root/scripts/bench-table.py" "$machine" "$out"/*.txt)
echo "$table"

if [ "$readme" = 1 ]; then
  python3 - "$root/README.md" "$table" <<'EOF'
import sys
path, table = sys.argv[1], sys.argv[2]
text = open(path, encoding="utf-8").read()
begin, end = "<!-- bench:begin -->", "<!-- bench:end -->"
head, rest = text.split(begin, 1)
_, tail = rest.split(end, 1)
open(path, "w", encoding="utf-8").write(head + begin + "\n" + table + "\n" + end + tail)
EOF
fi
