#!/usr/bin/env bash
# Builds the HTML API reference from include/ with Doxygen (docs/Doxyfile):
# every export, structure, constant and exported class member must carry a
# doc comment, and any warning fails the run. Prints the warning count.
#   build-docs.sh [output-folder]     default: build/docs; open <out>/html/index.html
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/docs}
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -rf "$out/html" "$out/warnings.log"
# The version is kept once, in the top-level CMakeLists.txt.
TR_VERSION=$(sed -n 's/^project(TrCommon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
export TR_VERSION TR_DOCS_OUT="$out"
cd "$root"
rc=0
doxygen docs/Doxyfile || rc=$?
warnings=$(grep -cE '(warning|error): ' "$out/warnings.log" 2>/dev/null || true)
echo "API reference: $out/html/index.html, ${warnings:-0} warnings"
if [ "$rc" != 0 ] || [ "${warnings:-0}" != 0 ]; then
  head -40 "$out/warnings.log" >&2
  exit 1
fi
