#!/usr/bin/env bash
# Makes tests/data/archives/demo.lzh: the sample novel packed by jlha (Debian's
# jlha-utils, which needs Java) as -lh5- with its names in CP932, the way LHA for
# Windows wrote them. Run it again when the sample novel changes; the tests read the
# archive against the novel's folder and tell when the two differ.
#     scripts/make-lzh-fixture.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
command -v jlha >/dev/null || { echo "jlha is missing: apt-get install jlha-utils" >&2; exit 1; }
cmake --build "$build" --target demo
out=$root/tests/data/archives/demo.lzh
rm -f "$out"
cd "$build/demo"
# Level 2 headers, -lh5-, the names as CP932 bytes.
JAVA_TOOL_OPTIONS=-Dlha.encoding=MS932 jlha ao5q "$out" * >/dev/null
echo "$out"
