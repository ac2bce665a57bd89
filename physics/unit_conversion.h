// Every moisture unit into and out of ppmV, the calculator's pressure-independent intermediate.
#pragma once

#include "physics/no_solution.h"

// A value in moisture unit `unit` (code 0..10) at `totalPressure` mbar, with its side's
// parameters, as ppmV; NO_SOLUTION when an inverse solver finds nothing. Other codes return
// the total pressure unchanged.
double ToPpmV(int unit, double value, double totalPressure, double ambientTemperatureC,
              double molecularWeight, double henryConstant, double prevailingTemperatureC,
              int densityMedium);

// ppmV as a value in moisture unit `unit` at `totalPressure`; units 6 and 7 are evaluated at
// `referencePressure` instead. NO_SOLUTION when a dew point lies outside the solver's reach.
double FromPpmV(int unit, double ppmV, double totalPressure, double ambientTemperatureC,
                double molecularWeight, double henryConstant, double prevailingTemperatureC,
                int densityMedium, double referencePressure);
