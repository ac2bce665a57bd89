// The dew/frost point bisection exactly as the calculator first shipped it: 28 evaluations of
// the saturation function at most. The solvers must return what it returns, bit for bit; the
// tests compare them with it and the benchmarks time them against it. The calculator itself
// never calls it.
#pragma once

#include <cmath>

#include "physics/dew_point_solver.h"
#include "physics/rounding.h"

inline double ReferenceBisection(double (*saturation)(double, double,
                                                      const ruruzir::MoistureModel&),
                                 double partialPressure, double totalPressure,
                                 const ruruzir::MoistureModel& model) {
  double estimate = -40.0;
  double step = 100.0;
  for (;;) {
    const double above = saturation(estimate + 0.01, totalPressure, model);
    if (above < partialPressure) {
      step *= 0.5;
      estimate += step;
    } else {
      const double below = saturation(estimate - 0.01, totalPressure, model);
      if (below > partialPressure) {
        step *= 0.5;
        estimate -= step;
      } else if (below <= partialPressure && partialPressure <= above) {
        return ruruzir::RoundDecimal(estimate, -1);
      } else {
        return ruruzir::NO_SOLUTION;
      }
    }
    if (step < 0.01) return ruruzir::NO_SOLUTION;
  }
}
