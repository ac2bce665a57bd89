// Decimal rounding and the fixed bisection over temperature that finds dew and frost points.
#include "physics/dew_point_solver.h"

#include <cmath>

#include "physics/saturation_pressure.h"

namespace ruruzir {
namespace {

constexpr double kFirstEstimateC = -40.0;  // every search starts here
constexpr double kFirstStepC = 100.0;      // halved before each move
constexpr double kSmallestStepC = 0.01;    // a halved step below this ends the search
constexpr double kAcceptanceHalfWidthC = 0.01;

using SaturationFunction = double (*)(double, double, const MoistureModel&);

// Raises or lowers the estimate by halved steps until the partial pressure lies between the
// saturation pressures just below and just above it. An unordered comparison (a NaN pressure)
// accepts nothing and ends the search without an answer.
double Bisect(SaturationFunction saturation, double partialPressure, double totalPressure,
              const MoistureModel& model) {
  double estimate = kFirstEstimateC;
  double step = kFirstStepC;
  for (;;) {
    const double above = saturation(estimate + kAcceptanceHalfWidthC, totalPressure, model);
    if (above < partialPressure) {
      step *= 0.5;
      estimate += step;
    } else {
      const double below = saturation(estimate - kAcceptanceHalfWidthC, totalPressure, model);
      if (below > partialPressure) {
        step *= 0.5;
        estimate -= step;
      } else if (below <= partialPressure && partialPressure <= above) {
        return RoundDecimal(estimate, -1);
      } else {
        return NO_SOLUTION;
      }
    }
    if (step < kSmallestStepC) return NO_SOLUTION;
  }
}

}  // namespace

double RoundDecimal(double value, int place) {
  const double scale = std::pow(10.0, place);
  const double quotient = value / scale;
  double whole = std::floor(quotient);
  if (quotient - whole >= 0.5) whole += 1.0;
  return scale * whole;
}

double SolveDewFrostPoint(double partialPressureMbar, double totalPressureMbar,
                          const MoistureModel& model) {
  return Bisect(SaturationPressureIce, partialPressureMbar, totalPressureMbar, model);
}

double SolveDewPoint(double partialPressureMbar, double totalPressureMbar,
                     const MoistureModel& model) {
  return Bisect(SaturationPressureWater, partialPressureMbar, totalPressureMbar, model);
}

}  // namespace ruruzir
