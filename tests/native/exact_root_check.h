// For the tests of the exact dew and frost points: what is wrong with an exact root against the
// saturation function it inverts and the tenths answer of the same input (empty when nothing).
#pragma once

#include <cmath>
#include <sstream>
#include <string>

#include "physics/moisture_model.h"
#include "physics/no_solution.h"

namespace {

using SaturationOf = double (*)(double, double, const ruruzir::MoistureModel&);

// The exact root r of partial pressure e at total pressure p and the tenths answer R:
//  - both have an answer or neither;
//  - the saturation pressure crosses e within 1e-9 degC of r (at or below e 1e-9 under r, at or
//    above it 1e-9 over r), and equals e there to `relative` (unless r is 0 degC, where the
//    equations switch and the pressure may step over e);
//  - |r - R| <= 0.06, and R is the tenth nearest r where r lies more than 0.01 from a half tenth.
inline std::string ExactRootProblem(SaturationOf saturation, double e, double p,
                                    const ruruzir::MoistureModel& model, double exact,
                                    double tenths, double relative = 1e-12) {
  std::ostringstream problem;
  problem.precision(17);
  // No root where the partial pressure is not a positive number, nor, with a factor, where the
  // total pressure is not one or lies beneath the partial pressure, whatever the tenths say.
  const bool noRoot =
      !(e > 0 && e < INFINITY) ||
      (model.enhancement != ruruzir::EnhancementFactor::None && !(p > 0 && p < INFINITY && e <= p));
  if (noRoot) {
    if (exact != ruruzir::NO_SOLUTION) problem << "exact " << exact << " without a root";
    return problem.str();
  }
  if ((exact == ruruzir::NO_SOLUTION) != (tenths == ruruzir::NO_SOLUTION)) {
    problem << "exact " << exact << " but tenths " << tenths;
    return problem.str();
  }
  if (exact == ruruzir::NO_SOLUTION) return "";
  const double under = saturation(exact - 1e-9, p, model);
  const double over = saturation(exact + 1e-9, p, model);
  const double at = saturation(exact, p, model);
  if (!(under <= e && e <= over)) {
    problem << "root " << exact << " not within 1e-9: " << under << " " << e << " " << over;
  } else if (exact != 0.0 && !(std::fabs(at / e - 1.0) <= relative)) {
    problem << "root " << exact << ": pressure " << at << " for " << e;
  } else if (!(std::fabs(exact - tenths) <= 0.06 + 1e-9)) {
    problem << "root " << exact << " too far from the tenths " << tenths;
  } else {
    const double nearestTenth = std::round(exact * 10.0) / 10.0;
    const double fromHalf = std::fabs(std::fabs(exact * 10.0 - std::trunc(exact * 10.0)) - 0.5);
    if (fromHalf > 0.1 + 1e-8 && std::fabs(tenths - nearestTenth) > 1e-9) {
      problem << "root " << exact << " rounds to " << nearestTenth << ", tenths " << tenths;
    }
  }
  return problem.str();
}

}  // namespace
