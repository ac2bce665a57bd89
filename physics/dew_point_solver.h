// Decimal rounding and the fixed bisections that invert the saturation functions.
#pragma once

#include "physics/moisture_model.h"
#include "physics/no_solution.h"

namespace ruruzir {

// Dew/frost point (inverts SaturationPressureIce), degC rounded to tenths, or NO_SOLUTION.
double SolveDewFrostPoint(double partialPressureMbar, double totalPressureMbar,
                          const MoistureModel& model);

// Dew point over supercooled water (inverts SaturationPressureWater), or NO_SOLUTION.
double SolveDewPoint(double partialPressureMbar, double totalPressureMbar,
                     const MoistureModel& model);

}  // namespace ruruzir
