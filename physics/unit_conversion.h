// Every moisture unit into and out of ppmV, the calculator's pressure-independent intermediate.
#pragma once

#include <cstddef>

#include "physics/moisture_model.h"
#include "physics/no_solution.h"

namespace ruruzir {

// A value in moisture unit `unit` at `totalPressure` mbar, with its side's parameters, as
// ppmV; NO_SOLUTION when an inverse solver finds nothing. A code outside the eleven units
// returns the total pressure unchanged.
double ToPpmV(MoistureUnitCode unit, double value, double totalPressure, const SideParameters& side,
              const MoistureModel& model);

// ppmV as a value in moisture unit `unit` at `totalPressure`; lb/MMSCF and g/m3 are evaluated
// at `referencePressure` instead. NO_SOLUTION when a dew point lies outside the solver's reach.
// Dew and frost points come in `precision` (physics/dew_point_solver.h); in degF with
// DecimalTenths they are the double nearest to the decimal the tenth of a degC stands for.
double FromPpmV(MoistureUnitCode unit, double ppmV, double totalPressure,
                const SideParameters& side, double referencePressure, const MoistureModel& model,
                DewPointPrecision precision = DewPointPrecision::Tenths);

// For the four dew and frost point units: true, with the temperature in degC whose saturation
// pressure (over ice when `*overIce`) ToPpmV takes as the partial pressure. False otherwise.
bool DewPointSource(MoistureUnitCode unit, double value, double* celsius, bool* overIce);
bool IsDewPointUnit(MoistureUnitCode unit);

// FromPpmV into one of the four dew and frost point units for `count` ppmV values, each at its
// total pressure, solved together (SolveDewPointArray); `values` may be `ppmV`.
void DewPointsFromPpmV(MoistureUnitCode unit, size_t count, const double* ppmV,
                       const double* totalPressures, const MoistureModel& model,
                       DewPointPrecision precision, double* values);

}  // namespace ruruzir
