#!/usr/bin/env bash
# Compares the dew/frost point solvers with the plain bisection they replace on many more inputs
# than the core tests do (those take 250000 per formulation, 10^6 in all):
#
#   bash scripts/solver-diff.sh [count]   count inputs per formulation (default 250000000, so
#                                         10^9 in all), random and edge partial and total
#                                         pressures, factors and options; one core, Release build
#                                         in build/release
#
# Prints each formulation's count and exits non-zero on the first ten differences of one.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

count="${1:-250000000}"
case "$count" in
  '' | *[!0-9]*)
    echo "usage: bash scripts/solver-diff.sh [count per formulation]" >&2
    exit 2
    ;;
esac

# shellcheck source=scripts/lib/common.sh
. "$root/scripts/lib/common.sh"

release_dir="$root/build/release"
configure_build native "$release_dir" "$release_dir/configure.log" -DCMAKE_BUILD_TYPE=Release
cmake --build "$release_dir" -j2 --target core_tests
RURUZIR_SOLVER_DIFF_COUNT="$count" "$release_dir/core_tests" \
  --gtest_filter='Formulations/SolverDifferential.*'
