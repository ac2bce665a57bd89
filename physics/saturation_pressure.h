// Saturation vapour pressure of water and ice in one of four published formulations, with an
// optional enhancement factor, both given by the model.
#pragma once

#include <cstddef>

#include "physics/moisture_model.h"

namespace ruruzir {

// Over liquid water, continued below 0 degC as supercooled water (Hyland-Wexler uses its ice
// equation there). Temperature in degC, total pressure and result in mbar.
double SaturationPressureWater(double temperatureC, double totalPressureMbar,
                               const MoistureModel& model);

// Over ice below 0 degC and over water at and above 0 degC.
double SaturationPressureIce(double temperatureC, double totalPressureMbar,
                             const MoistureModel& model);

// The two functions above for `count` temperatures, each at its own total pressure, several per
// instruction (over ice when `overIce`), with each result's bound on its relative difference
// from the scalar function's in `errors`. Where the build has no vector unit
// (HasVectorSaturation() false) every result is NaN and callers keep the scalar functions.
//
// Where the bound comes from: the vector expressions are the scalar ones, operation for
// operation, so two evaluations differ only by the exp, log and log10 they call (Highway's:
// at most 1, 4 and 2 ulp; the C library's: under 1 ulp) and by the roundings that follow
// from those differences. The sums inside the formulations' exponentials hold terms below 50
// in magnitude; a few ulp of 50 is below 2^-46 absolute, so the base pressures differ by under
// 2^-45 relative: kVectorSaturationError = 2^-40 leaves a factor of 32. An enhancement factor
// multiplies that by one plus its sensitivity to the base pressure (plus its own roundings,
// which grow the same way), bounded by twice its logarithm (Greenspan) or twice its excess
// over one (Bogel). The differential test checks the bound over every formulation and factor.
// The bound holds for temperatures of kVectorLowestC to kVectorHighestC and, with an enhancement
// factor, total pressures of kVectorLowestMbar to kVectorHighestMbar above the base pressure,
// where the test shows it; elsewhere the kernel gives an infinite bound.
constexpr double kVectorSaturationError = 0x1p-40;
constexpr double kVectorLowestC = -150.0, kVectorHighestC = 100.0;
constexpr double kVectorLowestMbar = 1.0, kVectorHighestMbar = 20000.0;

bool HasVectorSaturation();
void SaturationPressureArray(bool overIce, size_t count, const double* temperaturesC,
                             const double* totalPressuresMbar, const MoistureModel& model,
                             double* pressures, double* errors);

}  // namespace ruruzir
