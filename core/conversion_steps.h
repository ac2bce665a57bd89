// The Win32-free steps of the conversion cycle: pressures read in a unit, the source ranges,
// and the result text of one conversion. The window and the command-line converter share
// them, so both show the same reading for the same input.
#pragma once

#include <cstddef>

#include "core/calculator_values.h"

namespace ruruzir {

// A pressure reading in pressure unit `unitCode`, in millibar rounded to hundredths and held
// in single precision; NaN when the code is no pressure unit.
float PressureMbarFromReading(int unitCode, double reading);

// The accepted source values of a moisture unit; units without a row accept any number.
struct SourceRange {
  int unit;
  double low;
  double high;
  const char* message;  // what the user is told, Windows-1252
};

// The range of `unit`, or nullptr when it accepts any number.
const SourceRange* FindSourceRange(int unit);

// True when `value` lies outside the range of `unit` (both bounds included in the range).
bool IsOutsideSourceRange(int unit, double value);

// A conversion result that is no answer: NO_SOLUTION, or not a number.
bool NoAnswer(double value);

// A ppmV from the source side that stands for no water content: no answer, negative (a vapour
// pressure above the total pressure, a total pressure of 0) or not finite in single precision.
bool NoSourceAnswer(double ppmV);

// The result text of one conversion: the source value in `sourceUnit` at `sourcePressure` with
// the `source` parameters, as `targetUnit` at `targetPressure` with the `target` parameters;
// "out of range" when either side has no answer, computed with `model`. Values are held in single
// precision between the steps, as in the window. Returns false when the source side had no answer.
bool ComposeResultText(int sourceUnit, float sourceValue, float sourcePressure,
                       const SideContext& source, int targetUnit, float targetPressure,
                       const SideContext& target, const MoistureModel& model, char* text,
                       size_t size);

}  // namespace ruruzir
