#!/usr/bin/env bash
# Compares the library's array path (the vector kernel with its fallback) with one call per value
# on many more values than the core tests do (those take 300 per request):
#
#   bash scripts/array-diff.sh [count]   count values per request: every dew and frost point unit
#                                        into every unit, every formulation and factor, shown and
#                                        computed, one pressure and per-row pressures (default
#                                        20000; 2000000 gives 10^8 per formulation and factor
#                                        across units and precisions); Release build in
#                                        build/release
#
# Exits non-zero on the first difference in a value's bits or a status.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

count="${1:-20000}"
case "$count" in
  '' | *[!0-9]*)
    echo "usage: bash scripts/array-diff.sh [values per request]" >&2
    exit 2
    ;;
esac

# shellcheck source=scripts/lib/common.sh
. "$root/scripts/lib/common.sh"

release_dir="$root/build/release"
configure_build native "$release_dir" "$release_dir/configure.log" -DCMAKE_BUILD_TYPE=Release
cmake --build "$release_dir" -j2 --target core_tests
RURUZIR_ARRAY_DIFF_COUNT="$count" "$release_dir/core_tests" \
  --gtest_filter='VectorSaturation.*:ShownReadingValue.*:ArrayDifferential.*:ArraySolver.*'
