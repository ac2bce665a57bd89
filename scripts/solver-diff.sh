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

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$ruruzir_root"
run_release_differential RURUZIR_SOLVER_DIFF_COUNT "${1:-250000000}" 'Formulations/SolverDifferential.*' \
  "usage: bash scripts/solver-diff.sh [count per formulation]"
