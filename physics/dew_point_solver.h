// The dew and frost point solvers: the inverses of the saturation functions.
#pragma once

#include <cstddef>

#include "physics/moisture_model.h"
#include "physics/no_solution.h"

namespace ruruzir {

// Dew/frost point (inverts SaturationPressureIce: over ice below 0 degC, over water above), degC,
// or NO_SOLUTION. The answer, or its absence, is that of a fixed bisection over -140 .. +60 degC
// (physics/reference_bisection.h), which accepts an estimate E when the saturation pressures at
// E - 0.01 and E + 0.01 enclose the partial pressure: with Tenths, E rounded to tenths (halves
// upwards), bit for bit as the calculator has always given it; with DecimalTenths the same tenth
// as the double nearest to its decimal; with Exact the crossing of the saturation pressure
// between E - 0.01 and E + 0.01 (where the function rises, the only one), to 1e-9 degC or better.
// So an exact root r and the tenths answer R of the same input always satisfy |r - R| <= 0.06
// (E is within 0.01 of r, R within 0.05 of E), and R is the tenth nearest to r whenever r lies
// more than 0.01 from a half tenth. Where a step of the saturation pressure at 0 degC (where its
// equations switch) holds the partial pressure, the exact root is 0; where it steps down and two
// crossings lie in E -+ 0.01, the one above 0. Exact has no answer where Tenths has none, nor
// where the bisection answers without a root to find: a partial pressure that is not a positive
// number, and with an enhancement factor a total pressure that is not one or lies beneath the
// partial pressure (ppmV from core never gives these).
double SolveDewFrostPoint(double partialPressureMbar, double totalPressureMbar,
                          const MoistureModel& model,
                          DewPointPrecision precision = DewPointPrecision::Tenths);

// Dew point over supercooled water (inverts SaturationPressureWater), degC, or NO_SOLUTION; the
// precisions as above.
double SolveDewPoint(double partialPressureMbar, double totalPressureMbar,
                     const MoistureModel& model,
                     DewPointPrecision precision = DewPointPrecision::Tenths);

// SolveDewFrostPoint (overIce) or SolveDewPoint for `count` partial pressures, each at its total
// pressure: the same answers, bit for bit, with the saturation pressures evaluated several per
// instruction where the build has a vector unit.
void SolveDewPointArray(bool overIce, size_t count, const double* partialPressuresMbar,
                        const double* totalPressuresMbar, const MoistureModel& model,
                        DewPointPrecision precision, double* answers);

// A solver's Tenths answer (a multiple of the double 0.1) as the double nearest to its decimal;
// NO_SOLUTION and non-finite values unchanged.
double NearestDecimalTenth(double tenths);

// The lowest temperature, degC, from which the solvers know the saturation function (over ice
// when overIce, else over water) to rise with temperature at this total pressure and model, up to
// +60.02 degC; NaN when they do not know it, and run the plain bisection instead. Exposed so that
// the tests can see which path a solve takes.
double KnownRiseFromC(bool overIce, double totalPressureMbar, const MoistureModel& model);

}  // namespace ruruzir
