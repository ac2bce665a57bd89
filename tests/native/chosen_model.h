// For the tests of the saturation functions and the solvers: the model a test has chosen with
// its fixture's Use() (until then Magnus without a factor), the physics calls made with it, and
// every formulation and factor.
#pragma once

#include "physics/moisture_model.h"
#include "tests/native/model_names.h"
#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"

namespace {

ruruzir::MoistureModel model =
    ruruzir::MoistureModel{ruruzir::Formulation::Magnus, ruruzir::EnhancementFactor::None};

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

constexpr ruruzir::Formulation kFormulations[] = {
    ruruzir::Formulation::HylandWexler, ruruzir::Formulation::GoffGratch,
    ruruzir::Formulation::Sonntag, ruruzir::Formulation::Magnus};
constexpr ruruzir::EnhancementFactor kFactors[] = {ruruzir::EnhancementFactor::None,
                                                   ruruzir::EnhancementFactor::Bogel,
                                                   ruruzir::EnhancementFactor::Greenspan};

}  // namespace
