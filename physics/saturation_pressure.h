// Saturation vapour pressure of water and ice in one of four published formulations, with an
// optional enhancement factor, both given by the model.
#pragma once

#include "physics/moisture_model.h"

namespace ruruzir {

// Over liquid water, continued below 0 degC as supercooled water (Hyland-Wexler uses its ice
// equation there). Temperature in degC, total pressure and result in mbar.
double SaturationPressureWater(double temperatureC, double totalPressureMbar,
                               const MoistureModel& model);

// Over ice below 0 degC and over water at and above 0 degC.
double SaturationPressureIce(double temperatureC, double totalPressureMbar,
                             const MoistureModel& model);

}  // namespace ruruzir
