// For the tests of the saturation functions and the solvers: the model a test has chosen with
// its fixture's Use() (until then options 0 and 0, Magnus without a factor), the physics calls
// made with it, and the stored option values the tests go through.
#pragma once

#include "core/calculator_values.h"
#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"

namespace {

ruruzir::MoistureModel model = ruruzir::ModelFromStoredOptions(0, 0);

inline double SaturationPressureWater(double t, double p) {
  return ruruzir::SaturationPressureWater(t, p, model);
}
inline double SaturationPressureIce(double t, double p) {
  return ruruzir::SaturationPressureIce(t, p, model);
}
inline double SolveDewFrostPoint(double e, double p) {
  return ruruzir::SolveDewFrostPoint(e, p, model);
}
inline double SolveDewPoint(double e, double p) {
  return ruruzir::SolveDewPoint(e, p, model);
}

constexpr int kFormulations[] = {ruruzir::kFormulationHylandWexler, ruruzir::kFormulationGoffGratch,
                                 ruruzir::kFormulationSonntag, ruruzir::kFormulationMagnus};
constexpr int kFactors[] = {ruruzir::kEnhancementNone, ruruzir::kEnhancementBogel,
                            ruruzir::kEnhancementGreenspan};

}  // namespace
