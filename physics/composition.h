// Mole ratio, natural-gas water content, vapour density and their inverses. Pressures in mbar,
// temperatures in degC, densities in g/m3, natural-gas content in lb per million std ft3.
#pragma once

#include "physics/moisture_model.h"
#include "physics/no_solution.h"

namespace ruruzir {

double PpmVFromPressure(double partialPressure, double totalPressure);
double PressureFromPpmV(double ppmV, double totalPressure);
double NaturalGasWaterContent(double partialPressure, double totalPressure);
double VapourDensity(double partialPressure, double totalPressure, double prevailingTemperatureC,
                     DensityMedium densityMedium);
double PressureFromNaturalGasContent(double waterContent, double totalPressure);
double PressureFromDensity(double density, double totalPressure, double prevailingTemperatureC,
                           DensityMedium densityMedium);

}  // namespace ruruzir
