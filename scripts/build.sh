#!/usr/bin/env bash
# Configures and builds the 64-bit tree (which runs the tests) and the 32-bit
# tree (which must compile and link, so structure layouts stay honest).
#   build.sh [x64|i686|all]   default: all
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
build() {
  local arch=$1 dir="$root/build/$1" tests=$2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$3.cmake" \
          -DTR_BUILD_TESTS="$tests" >/dev/null
  fi
  cmake --build "$dir" -- -j"$(nproc)"
}
case "$which" in
  x64) build x64 ON x86_64 ;;
  i686) build i686 OFF i686 ;;
  all) build x64 ON x86_64; build i686 OFF i686 ;;
  *) echo "usage: $0 [x64|i686|all]" >&2; exit 2 ;;
esac
