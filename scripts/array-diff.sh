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

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$ruruzir_root"
run_release_differential RURUZIR_ARRAY_DIFF_COUNT "${1:-20000}" 'VectorSaturation.*:ShownReadingValue.*:*/ArrayDifferential.*:*/ArraySolver.*' \
  "usage: bash scripts/array-diff.sh [values per request]"
