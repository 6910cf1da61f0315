#!/usr/bin/env bash
# Mutation testing of the Windows-only subsystems under Wine: how many small
# faults put into env/, lookup/, launch/ or ui/ the test programs notice.
#   mutate-wine.sh [-n COUNT] [-s SEED] [-C CHECKOUT] SUBSYSTEM...
#     SUBSYSTEM: env lookup launch ui (also data base); default 40 mutants, seed 1,
#     this checkout
# For each subsystem it draws COUNT mutants of its sources (scripts/mutants.py:
# the same checkout, count and seed give the same mutants), and for each one
# puts the fault into a scratch copy of the checkout, rebuilds the 64-bit tree
# there incrementally, runs only the test program(s) that cover the mutated
# file in a private Wine prefix and display, and puts the file back. Prints a
# line per mutant and a score per subsystem:
#   KILLED      a test failed, crashed or ran out of time
#   SURVIVED    every covering test passed: no test notices the fault
#   BUILD-FAIL  the mutant does not compile (not counted)
# Environment:
#   MUTATE_SCRATCH=dir  scratch folder (default CHECKOUT/build/mutate-wine); kept, and
#                       reused incrementally by the next run
#   MUTATE_ONLY="3 17"  only these mutant numbers (with one subsystem)
#   MUTATE_TIMEOUT=s    limit per test program run (default 300)
# The scratch tree is built without optimisation, which only makes the
# rebuilds faster. CI does not run this; a mutant takes 10 s (env) to 60 s (ui).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
root=$here count=40 seed=1
while getopts n:s:C: opt; do
  case "$opt" in
    n) count=$OPTARG ;;
    s) seed=$OPTARG ;;
    C) root=$(cd "$OPTARG" && pwd) ;;
    *) sed -n '2,23p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,23p' "$0"; exit 2; }
scratch=${MUTATE_SCRATCH:-$root/build/mutate-wine}
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
tree=$scratch/tree build=$scratch/build wine=$scratch/wine limit=${MUTATE_TIMEOUT:-300}

# The test program(s) that cover a source file, each as name[+932][:gtest filter];
# +932 runs it a second time under code page 932, as CTest does.
programs_for() {
  case "$1" in
    env/TrSharedBlock.cpp) echo tr_shared_block_tests ;;
    env/TrPathUtil.cpp) echo tr_path_tests+932 ;;
    env/TrPlatform.cpp | env/TrUserRight.cpp) echo tr_platform_tests ;;
    env/TrMessages.cpp) echo tr_dialog_tests ;;
    env/*) echo tr_env_tests+932 ;;
    lookup/*) echo tr_lookup_tests+932 ;;
    launch/TrJukebox.cpp) echo "tr_env_tests+932:Jukebox.*" ;;
    launch/*) echo tr_launch_tests ;;
    ui/*) echo tr_dialog_tests ;;
    data/*Win.cpp) echo tr_data_file_tests tr_data_tests+932 ;;
    data/*) echo tr_data_tests+932 ;;
    base/*) echo tr_text_tests+932 tr_data_tests+932 ;;
    *) echo "no test program is known for $1" >&2; return 1 ;;
  esac
}

for sub in "$@"; do
  case "$sub" in env | lookup | launch | ui | data | base) ;; *) echo "unknown subsystem: $sub" >&2; exit 2 ;; esac
done

echo "# mutate-wine: $root, $count mutants per subsystem, seed $seed, scratch $scratch"
python3 "$here/scripts/mutants.py" sync "$root" "$tree"
if [ ! -f "$build/build.ninja" ]; then
  nice cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-x86_64.cmake" \
    -DTR_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DCMAKE_C_FLAGS_DEBUG=-O0 >/dev/null
fi
build_targets() { nice cmake --build "$build" --target "$@" -- -j"$(nproc)"; }

wine_up() { "$here/scripts/wine-test.sh" start "$wine" >/dev/null; }
trap '"$here/scripts/wine-test.sh" stop "$wine" >/dev/null 2>&1 || true' EXIT
wine_up

# run_programs FILE: 0 when every covering program passes. A run out of time
# leaves its processes behind: the prefix is made afresh after one.
run_programs() {
  local entry name filter locale status
  for entry in $(programs_for "$1"); do
    name=${entry%%[+:]*}
    filter=
    [[ "$entry" == *:* ]] && filter=--gtest_filter=${entry#*:}
    for locale in "" ja_JP.UTF-8; do
      [ -z "$locale" ] || [[ "$entry" == *+932* ]] || continue
      status=0
      env ${locale:+LC_ALL=$locale} timeout -k 10 "$limit" nice "$here/scripts/wine-test.sh" run "$wine" \
        "$build/bin/$name.exe" --gtest_brief=1 --gtest_fail_fast $filter || status=$?
      if [ "$status" = 124 ] || [ "$status" = 137 ]; then echo "timed out"; wine_up; fi
      [ "$status" = 0 ] || return 1
    done
  done
}

for sub in "$@"; do
  out=$scratch/$sub-s$seed
  rm -rf "$out"
  mkdir -p "$out/logs"
  mapfile -t files < <(cd "$tree" && ls "$sub"/*.cpp)
  python3 "$here/scripts/mutants.py" make "$tree" "$out" "$count" "$seed" "${files[@]}" >"$out/mutants.tsv"
  mapfile -t targets < <(for f in "${files[@]}"; do programs_for "$f"; done | sed 's/[+:].*//' | sort -u)
  build_targets TrCommon "${targets[@]}" >"$out/logs/baseline.build" 2>&1 ||
    { tail -20 "$out/logs/baseline.build"; exit 1; }
  # The unmutated programs must pass, or no mutant could be told apart.
  for f in $(for f in "${files[@]}"; do echo "$(programs_for "$f") $f"; done | sort -u -k1,1 | cut -d' ' -f2); do
    run_programs "$f" >"$out/logs/baseline.test" 2>&1 ||
      { echo "# the unmutated tests fail for $f:"; tail -20 "$out/logs/baseline.test"; exit 1; }
  done
  echo "# $sub: $(wc -l <"$out/mutants.tsv") mutants, baseline built and passing"
  killed=0 survived=0 failed=0 start=$SECONDS
  while IFS=$'\t' read -r id rel line what code; do
    if [ -n "${MUTATE_ONLY:-}" ] && [[ " $MUTATE_ONLY " != *" $id "* ]]; then continue; fi
    cp "$out/mutants/$id" "$tree/$rel"
    mapfile -t targets < <(programs_for "$rel" | sed 's/[+:].*//')
    if ! build_targets "${targets[@]}" >"$out/logs/$id.build" 2>&1; then status=BUILD-FAIL failed=$((failed + 1))
    elif run_programs "$rel" >"$out/logs/$id.test" 2>&1; then status=SURVIVED survived=$((survived + 1))
    else status=KILLED killed=$((killed + 1))
    fi
    cp "$out/orig/$rel" "$tree/$rel"   # a new time: the next build compiles it again
    printf '%-10s %s #%-3s %s:%s  %s  |  %s\n' "$status" "$sub" "$id" "$rel" "$line" "$what" "$code"
  done <"$out/mutants.tsv"
  built=$((killed + survived))
  echo "# $sub seed $seed: $killed killed, $survived survived, $failed did not build," \
       "$(awk "BEGIN{printf \"%.1f\", $built ? 100 * $killed / $built : 0}")% of $built built" \
       "($((SECONDS - start)) s)"
done
