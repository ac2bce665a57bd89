// The Win32-free steps of the conversion cycle: pressures read in a unit, the source ranges,
// and the result text of one conversion. The window and the command-line converter share
// them, so both show the same reading for the same input.
#pragma once

#include <cstddef>

#include "physics/moisture_model.h"

namespace ruruzir {

// A pressure reading in pressure unit `unitCode` (the window's or bar, barg, MPa, Pa), in
// millibar rounded to hundredths and held in single precision; NaN when the code is no pressure
// unit. A reading of NaN is one not given: one standard atmosphere, 1013.25 mbar.
float PressureMbarFromReading(int unitCode, double reading);

// True when a reading in pressure unit `unitCode` is a pressure a gas can have: above 0 once
// held as the window holds it (PressureMbarFromReading; 0.005 mbar is held as 0). NaN, a
// reading not given (one standard atmosphere), is one; a code that is no pressure unit has none.
// A pressure beyond single precision is possible here; a conversion refuses it apart.
bool IsPossiblePressureReading(int unitCode, double reading);

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

// What became of one conversion.
enum class ConversionOutcome {
  Converted,       // the text holds the result
  NoSourceAnswer,  // the source value stands for no water content; the text is "out of range"
  NoTargetAnswer,  // the target unit has no value for that content; the text is "out of range"
};

// The value of one conversion before it is shown, into *value (NaN without an answer): the
// steps of ComposeResultText without the formatting. The value and the ppmV between the sides
// are held in single precision as in the window, except with Exact dew points, which are the
// root of the formulation for the value as given: nothing is held in single precision then but
// the pressures.
ConversionOutcome ComputeResultValue(int sourceUnit, double sourceValue, float sourcePressure,
                                     const SideParameters& source, int targetUnit,
                                     float targetPressure, const SideParameters& target,
                                     const MoistureModel& model, double* value,
                                     DewPointPrecision precision = DewPointPrecision::Tenths);

// The second half of ComputeResultValue: from the ppmV between the sides (NoSourceAnswer
// already ruled out) to the value in the target unit.
ConversionOutcome ResultFromPpmV(double ppmV, float sourcePressure, int targetUnit,
                                 float targetPressure, const SideParameters& target,
                                 const MoistureModel& model, double* value,
                                 DewPointPrecision precision = DewPointPrecision::Tenths);

// The result text of one conversion: the source value in `sourceUnit` at `sourcePressure` with
// the `source` parameters, as `targetUnit` at `targetPressure` with the `target` parameters;
// "out of range" when either side has no answer, computed with `model`. Values are held in single
// precision between the steps, as in the window. The text is cut to `size` bytes.
ConversionOutcome ComposeResultText(int sourceUnit, float sourceValue, float sourcePressure,
                                    const SideParameters& source, int targetUnit,
                                    float targetPressure, const SideParameters& target,
                                    const MoistureModel& model, char* text, size_t size);

// One conversion as a front end reads it: the numbers as typed, the pressures in their units.
struct ConversionReadings {
  int sourceUnit;  // moisture unit code
  double sourceValue;
  int sourcePressureUnit;  // pressure unit code
  double sourcePressure;   // a reading in that unit
  int targetUnit;
  int targetPressureUnit;
  double targetPressure;
};

// The result text of the readings: the value held in single precision, each pressure read as
// PressureMbarFromReading reads it, then ComposeResultText.
ConversionOutcome ConvertReadings(const ConversionReadings& readings, const SideParameters& source,
                                  const SideParameters& target, const MoistureModel& model,
                                  char* text, size_t size);

// Texts a re-expression leaves in the source value box.
extern const char kEnterNewValueText[];  // "enter new val": the old value had no water content
extern const char kNotAvailableText[];   // "N/A": the new unit has no value for it

// What became of a source value re-expressed in another unit.
enum class ReexpressionOutcome {
  Reexpressed,     // the text is the value in the new unit
  NotAvailable,    // the text is "N/A"
  NoSourceAnswer,  // the text is "enter new val"
};

// The source value as the user changes its unit: `value` in `fromUnit`, computed with the
// `applied` parameters at the pressure reading `pressure` in `pressureUnit`.
struct SourceReexpression {
  int fromUnit;
  double value;
  int pressureUnit;
  double pressure;
  int toUnit;
};

// Re-expresses a source value in another unit so that it describes the same water content: the
// value read with the `applied` parameters (those it was computed with), the new unit taking
// `source`'s parameters; writes the text for the source value box.
ReexpressionOutcome ReexpressSourceValue(const SourceReexpression& change,
                                         const SideParameters& applied,
                                         const SideParameters& source, const MoistureModel& model,
                                         char* text, size_t size);

// A pressure reading in `fromUnit` as the reading in `toUnit` that the window shows after a
// change of unit: through millibar rounded to hundredths, then rounded to thousandths, held in
// single precision. Both codes must be pressure units.
float ReexpressPressure(int fromUnit, int toUnit, double reading);

}  // namespace ruruzir
