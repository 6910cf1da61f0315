#!/usr/bin/env bash
# The SDK as a host program's developer gets it, after build.sh all:
#  - cmake --install of the x64 and i686 trees into folders of their own,
#    moved elsewhere before use and checked for every file they must hold;
#  - the example host (examples/resident-host) and the resident server
#    (tools/trelvane) built as separate CMake projects against each
#    installed SDK, never against a build tree;
#  - a C host linked against the SDK's MSVC import library by lld-link (an
#    MSVC-compatible linker) with no C runtime, for both targets;
#  - under Wine, in a fresh prefix where TrelvaneSetup.exe installed the
#    product: the example host serves an event and reloads on a rewrite made
#    by another process, the SDK-built server starts, registers its hot keys
#    and ends on request, and the MSVC-linked probe calls the library.
# Exits non-zero when anything fails.
#   check-sdk.sh [work-folder]     default: build/sdk-check
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build/sdk-check}
runner="$root/scripts/wine-test.sh"
mkdir -p "$work"
work=$(cd "$work" && pwd)
status=0
fail() { echo "check-sdk: $*" >&2; status=1; }

# Waits up to 30 s for a text to show in a file a program writes.
wait_for_text() { for _ in $(seq 150); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.2; done; return 1; }

# A host program of the source tree built as a project of its own against
# the installed SDK ($sdk, $toolchain and $arch of the loop below); what it
# compiled and linked against must all come from the SDK.
#   build_against_sdk <what> <source folder> <build folder> <program>
build_against_sdk() {
  local what=$1 source=$root/$2 out=$3 program=$4
  rm -rf "$out"
  if cmake -S "$source" -B "$out" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$toolchain.cmake" -DCMAKE_PREFIX_PATH="$sdk" >/dev/null &&
     cmake --build "$out" >/dev/null; then
    if grep -q "$root/build/$arch[/ ]" "$out/build.ninja" "$out/CMakeCache.txt"; then
      fail "the $arch $what refers to the build tree"
    fi
    echo "   built $(cd "$out" && ls "$program" TrCommon.dll TrLocale.DLL | tr '\n' ' ')"
  else
    fail "the $arch $what did not build"
  fi
}

expected=(bin/TrCommon.dll bin/TrLocale.DLL bin/trctl.exe include/TrCommon.h include/TrCommonClasses.h
          lib/libTrCommon.dll.a lib/TrCommon.def lib/TrCommon.lib
          lib/cmake/TrCommon/TrCommonConfig.cmake lib/cmake/TrCommon/TrCommonConfigVersion.cmake
          lib/cmake/TrCommon/TrCommonTargets.cmake)

for arch in x64 i686; do
  case $arch in
    x64) toolchain=x86_64 msvc=x86_64-pc-windows-msvc machine=x64 safeseh= ;;
    # link.exe's own default on x86; lld-link would ask for /SAFESEH, which
    # dlltool's import members are not marked for.
    i686) toolchain=i686 msvc=i686-pc-windows-msvc machine=x86 safeseh=/safeseh:no ;;
  esac
  sdk="$work/sdk-$arch"
  # Installed in one folder and moved to another before use: the package
  # must find everything relative to itself.
  echo "== SDK ($arch): cmake --install build/$arch, then moved to $sdk"
  rm -rf "$sdk" "$work/installed-$arch"
  cmake --install "$root/build/$arch" --prefix "$work/installed-$arch" >/dev/null &&
    mv "$work/installed-$arch" "$sdk" || { fail "install ($arch) failed"; continue; }
  for f in "${expected[@]}"; do [ -f "$sdk/$f" ] || fail "$arch SDK lacks $f"; done

  echo "== example host ($arch), a separate project against the installed SDK"
  build_against_sdk "example host" examples/resident-host "$work/example-$arch" resident-host.exe
  echo "== resident server ($arch), tools/trelvane as a separate project against the installed SDK"
  build_against_sdk "resident server" tools/trelvane "$work/trelvane-$arch" Trelvane.exe

  echo "== MSVC import library ($arch): a C host linked by lld-link /machine:$machine"
  if clang --target="$msvc" -O1 -c "$root/tests/packaging/MsvcProbe.c" -o "$work/probe-$arch.obj" &&
     lld-link /nologo /machine:"$machine" $safeseh /subsystem:console /entry:ProbeMain /nodefaultlib \
       /out:"$work/probe-$arch.exe" "$work/probe-$arch.obj" "$sdk/lib/TrCommon.lib"; then
    echo "   linked probe-$arch.exe"
  else
    fail "the $arch MSVC probe did not link against TrCommon.lib"
  fi
done

echo "== installed SDK tree (x64)"
(cd "$work" && find sdk-x64 | sort | sed 's/^/   /')

# --- under Wine ---------------------------------------------------------------
state="$work/wine"
"$runner" start "$state" >/dev/null || { fail "no Wine session"; exit 1; }
trap '"$runner" stop "$state" >/dev/null 2>&1 || true' EXIT
export WINEPREFIX="$state/prefix" WINEDEBUG=-all DISPLAY=$(cat "$state/display")

echo "== the product installed silently: TrelvaneSetup.exe /S"
"$runner" run "$state" "$root/build/x64/bin/TrelvaneSetup.exe" /S || fail "the installer failed"

# Runs a resident program in the background, its output into <out>, until
# <log> shows <ready>, then the command that makes it end; shows the log and
# fails unless the resident ended with 0.
#   resident_pair <label> <out> <log> <ready> <resident command...> -- <ending command...>
resident_pair() {
  local label=$1 out=$2 log=$3 ready=$4 resident rc=0
  shift 4
  local start=()
  while [ "$1" != -- ]; do start+=("$1"); shift; done
  shift
  rm -f "$out" "$log"
  "$runner" run "$state" "${start[@]}" >"$out" 2>&1 &
  resident=$!
  wait_for_text "$log" "$ready"
  "$runner" run "$state" "$@" | sed 's/^/   ending: /' || fail "the $label did not end on request"
  wait "$resident" || rc=$?
  sed 's/^/   resident: /' "$log"
  echo "   resident exit code $rc"
  [ "$rc" = 0 ] && grep -q "$ready" "$log" || fail "the $label ended with $rc"
}

echo "== example host (x64) under Wine"
host="$work/example-x64/resident-host.exe"
resident_pair "example host" "$work/host.log" "$work/host.log" "waiting for a rewrite" \
  "$host" --wait 60 -- "$host" --rewrite

echo "== resident server built against the SDK (x64) under Wine"
server="$work/trelvane-x64/Trelvane.exe"
resident_pair "SDK-built server" "$work/trelvane.out" "$work/trelvane.log" "hot keys registered" \
  "$server" --log 'Z:'"$work/trelvane.log" -- "$server" --exit

echo "== MSVC-linked probe (x64) under Wine"
mkdir -p "$work/probe"
cp "$work/probe-x64.exe" "$work/sdk-x64/bin/TrCommon.dll" "$work/sdk-x64/bin/TrLocale.DLL" "$work/probe/" 2>/dev/null
rc=0
"$runner" run "$state" "$work/probe/probe-x64.exe" || rc=$?
echo "   exit code $rc (the platform code: 4 for the NT family)"
[ "$rc" = 4 ] || fail "the MSVC-linked probe gave $rc"

[ $status = 0 ] && echo "check-sdk: all good" || echo "check-sdk: FAILED"
exit $status
