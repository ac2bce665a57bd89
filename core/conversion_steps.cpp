// The Win32-free steps of the conversion cycle.
#include "core/conversion_steps.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "core/reading_format.h"
#include "core/unit_catalogues.h"
#include "physics/dew_point_solver.h"
#include "physics/rounding.h"
#include "physics/unit_conversion.h"

namespace ruruzir {

const char kEnterNewValueText[] = "enter new val";
const char kNotAvailableText[] = "N/A";

namespace {

constexpr double kStandardAtmosphereMbar = 1013.25;

// The bounds are single-precision numbers except 123.4, which is a double.
constexpr SourceRange kSourceRanges[] = {
    {Code(MoistureUnitCode::DewFrostPointC), -140.0f, 50.0f,
     "stay between -140\xB0"
     "C and +50\xB0"
     "C"},
    {Code(MoistureUnitCode::DewFrostPointF), -220.0f, 122.0f,
     "stay between -220\xB0"
     "F and +122\xB0"
     "F"},
    {Code(MoistureUnitCode::PpmV), 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    {Code(MoistureUnitCode::PpmWGas), 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    {Code(MoistureUnitCode::LbsPerMmscf), 0.0f, 5812.0f, "stay between 0 and 5812 lbs/mm'\xB3"},
    {Code(MoistureUnitCode::GramsPerM3), 0.0f, 93.0f, "stay between 0 and 93 g/m\xB3"},
    {Code(MoistureUnitCode::VapourPressureMbar), 0.0f, 123.4, "stay between 0 and 123.4 mb."},
    {Code(MoistureUnitCode::PpmWLiquid), 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
};

}  // namespace

float PressureMbarFromReading(int unitCode, double reading) {
  if (!IsConversionPressureUnit(unitCode)) return NAN;
  if (std::isnan(reading)) return ToSingle(kStandardAtmosphereMbar);
  if (!IsPressureUnitCode(unitCode)) {
    return PressureMbarFromReading(Code(PressureUnitCode::Mbar),
                                   WindowMbarReading(unitCode, reading));
  }
  const float millibar = ToSingle(PressureToMbar(unitCode, reading));
  return ToSingle(RoundDecimal(millibar, -2));
}

bool IsPossiblePressureReading(int unitCode, double reading) {
  if (!IsConversionPressureUnit(unitCode)) return false;
  return std::isnan(reading) || PressureMbarFromReading(unitCode, reading) > 0.0f;
}

const SourceRange* FindSourceRange(int unit) {
  for (const SourceRange& range : kSourceRanges) {
    if (range.unit == unit) return &range;
  }
  return nullptr;
}

bool IsOutsideSourceRange(int unit, double value) {
  const SourceRange* range = FindSourceRange(unit);
  return range && !(value >= range->low && value <= range->high);
}

bool NoAnswer(double value) {
  return value == NO_SOLUTION || std::isnan(value);
}

bool NoSourceAnswer(double ppmV) {
  return NoAnswer(ppmV) || ppmV < 0.0 || !std::isfinite(ToSingle(ppmV));
}

namespace {

// Copies a fixed text into the area, cut to it.
void CopyCut(const char* from, char* text, size_t size) {
  if (size == 0) return;
  const size_t length = std::min(size - 1, std::strlen(from));
  std::memcpy(text, from, length);
  text[length] = '\0';
}

}  // namespace

ConversionOutcome ComputeResultValue(int sourceUnit, double sourceValue, float sourcePressure,
                                     const SideParameters& source, int targetUnit,
                                     float targetPressure, const SideParameters& target,
                                     const MoistureModel& model, double* value,
                                     DewPointPrecision precision) {
  *value = NAN;
  const bool exact = precision == DewPointPrecision::Exact;
  const double ppmV =
      ToPpmV(static_cast<MoistureUnitCode>(sourceUnit), exact ? sourceValue : ToSingle(sourceValue),
             sourcePressure, source, model);
  if (NoSourceAnswer(ppmV)) return ConversionOutcome::NoSourceAnswer;
  return ResultFromPpmV(ppmV, sourcePressure, targetUnit, targetPressure, target, model, value,
                        precision);
}

ConversionOutcome ResultFromPpmV(double ppmV, float sourcePressure, int targetUnit,
                                 float targetPressure, const SideParameters& target,
                                 const MoistureModel& model, double* value,
                                 DewPointPrecision precision) {
  *value = NAN;
  const bool exact = precision == DewPointPrecision::Exact;
  const double converted =
      FromPpmV(static_cast<MoistureUnitCode>(targetUnit), exact ? ppmV : ToSingle(ppmV),
               targetPressure, target, sourcePressure, model, precision);
  // Shown in single precision: a value beyond it has no reading.
  if (NoAnswer(converted) || !std::isfinite(ToSingle(converted))) {
    return ConversionOutcome::NoTargetAnswer;
  }
  *value = converted;
  return ConversionOutcome::Converted;
}

ConversionOutcome ComposeResultText(int sourceUnit, float sourceValue, float sourcePressure,
                                    const SideParameters& source, int targetUnit,
                                    float targetPressure, const SideParameters& target,
                                    const MoistureModel& model, char* text, size_t size) {
  CopyCut(kOutOfRangeText, text, size);
  double value;
  const ConversionOutcome outcome =
      ComputeResultValue(sourceUnit, sourceValue, sourcePressure, source, targetUnit,
                         targetPressure, target, model, &value);
  if (outcome == ConversionOutcome::Converted)
    FormatReading(targetUnit, text, size, ToSingle(value));
  return outcome;
}

ConversionOutcome ConvertReadings(const ConversionReadings& readings, const SideParameters& source,
                                  const SideParameters& target, const MoistureModel& model,
                                  char* text, size_t size) {
  return ComposeResultText(
      readings.sourceUnit, ToSingle(readings.sourceValue),
      PressureMbarFromReading(readings.sourcePressureUnit, readings.sourcePressure), source,
      readings.targetUnit,
      PressureMbarFromReading(readings.targetPressureUnit, readings.targetPressure), target, model,
      text, size);
}

ReexpressionOutcome ReexpressSourceValue(const SourceReexpression& change,
                                         const SideParameters& applied,
                                         const SideParameters& source, const MoistureModel& model,
                                         char* text, size_t size) {
  const float value = ToSingle(change.value);
  const float pressure = PressureMbarFromReading(change.pressureUnit, change.pressure);
  const double ppmV =
      ToPpmV(static_cast<MoistureUnitCode>(change.fromUnit), value, pressure, applied, model);
  if (NoSourceAnswer(ppmV)) {
    CopyCut(kEnterNewValueText, text, size);
    return ReexpressionOutcome::NoSourceAnswer;
  }
  const double converted = FromPpmV(static_cast<MoistureUnitCode>(change.toUnit), ToSingle(ppmV),
                                    pressure, source, pressure, model);
  if (NoAnswer(converted) || !std::isfinite(ToSingle(converted))) {
    CopyCut(kNotAvailableText, text, size);
    return ReexpressionOutcome::NotAvailable;
  }
  FormatReading(change.toUnit, text, size, ToSingle(converted));
  return ReexpressionOutcome::Reexpressed;
}

float ReexpressPressure(int fromUnit, int toUnit, double reading) {
  const float millibar = ToSingle(PressureToMbar(fromUnit, reading));
  const double rounded = RoundDecimal(millibar, -2);
  const float converted = ToSingle(MbarToPressure(toUnit, rounded));
  return ToSingle(RoundDecimal(converted, -3));
}

}  // namespace ruruzir
