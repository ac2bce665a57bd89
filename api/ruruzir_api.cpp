// The C interface of the library: arguments checked, then the calculator's own steps from
// core/ (pressure readings, the source ranges, the result text), all on the caller's stack.
#include "api/ruruzir.h"

#include <cmath>
#include <cstring>

#include "core/calculator_values.h"
#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "core/unit_names.h"
#include "physics/rounding.h"
#include "ruruzir_version.h"

namespace ruruzir {
namespace {

constexpr const char* kPressureUnitNames[kPressureUnitCount] = {"mbar", "psia", "psig", "atm",
                                                                "kpa"};

// The result box's text area in the window.
constexpr size_t kWorkTextSize = 100;

constexpr Formulation kFormulations[] = {Formulation::HylandWexler, Formulation::GoffGratch,
                                         Formulation::Sonntag, Formulation::Magnus};
constexpr EnhancementFactor kEnhancements[] = {EnhancementFactor::None, EnhancementFactor::Bogel,
                                               EnhancementFactor::Greenspan};
constexpr int32_t kMediumChoices[] = {kMediumWaterVapour, kMediumAir, kMediumNaturalGas};

bool InRange(int code, int count) {
  return code >= 0 && code < count;
}

// The side as the calculator holds it; false for a NaN or an unknown medium.
bool ReadSide(const ruruzir_side* side, SideContext* context) {
  *context = DefaultSideContext();
  if (side == nullptr) return true;
  if (std::isnan(side->ambient_temperature_c) || std::isnan(side->molecular_weight) ||
      std::isnan(side->henry_constant) || std::isnan(side->prevailing_temperature_c) ||
      !InRange(side->density_medium, 3)) {
    return false;
  }
  context->ambientTemperature = ToSingle(side->ambient_temperature_c);
  context->molecularWeight = ToSingle(side->molecular_weight);
  context->henryConstant = ToSingle(side->henry_constant);
  context->prevailingTemperature = ToSingle(side->prevailing_temperature_c);
  context->densityMedium = kMediumChoices[side->density_medium];
  return true;
}

// Copies `source` whole into the area, or empties the area (when it can hold that) and
// returns false.
bool CopyWhole(const char* source, char* text, size_t size) {
  const size_t length = std::strlen(source);
  if (length >= size) {
    if (size > 0) text[0] = '\0';
    return false;
  }
  std::memcpy(text, source, length + 1);
  return true;
}

int Finish(int status, const char* source, char* text, size_t size, double* result) {
  if (result) *result = NAN;
  if (!CopyWhole(source, text, size)) return RURUZIR_BAD_ARGUMENT;
  if (status == RURUZIR_CONVERTED && result) ScanNumber(text, result);
  return status;
}

}  // namespace
}  // namespace ruruzir

using namespace ruruzir;

extern "C" {

int ruruzir_convert(double value, int source_unit, double source_pressure, int source_pressure_unit,
                    const ruruzir_side* source_side, int target_unit, double target_pressure,
                    int target_pressure_unit, const ruruzir_side* target_side, int formulation,
                    int enhancement, double* result, char* text, size_t text_size) {
  if (result) *result = NAN;
  if (text == nullptr) return RURUZIR_BAD_ARGUMENT;
  if (text_size > 0) text[0] = '\0';
  SideContext source{};
  SideContext target{};
  if (!IsMoistureUnitCode(source_unit) || !IsMoistureUnitCode(target_unit) ||
      !IsPressureUnitCode(source_pressure_unit) || !IsPressureUnitCode(target_pressure_unit) ||
      !InRange(formulation, 4) || !InRange(enhancement, 3) || !std::isfinite(value) ||
      !std::isfinite(source_pressure) || !std::isfinite(target_pressure) ||
      !ReadSide(source_side, &source) || !ReadSide(target_side, &target)) {
    return RURUZIR_BAD_ARGUMENT;
  }
  if (IsOutsideSourceRange(source_unit, value)) {
    return Finish(RURUZIR_OUT_OF_RANGE, FindSourceRange(source_unit)->message, text, text_size,
                  result);
  }
  const ConversionReadings readings{source_unit,     value,       source_pressure_unit,
                                    source_pressure, target_unit, target_pressure_unit,
                                    target_pressure};
  char work[kWorkTextSize];
  const ConversionOutcome outcome = ConvertReadings(
      readings, source, target,
      MoistureModel{kFormulations[formulation], kEnhancements[enhancement]}, work, sizeof work);
  return Finish(outcome == ConversionOutcome::Converted ? RURUZIR_CONVERTED : RURUZIR_OUT_OF_RANGE,
                work, text, text_size, result);
}

int ruruzir_unit_count(int kind) {
  switch (kind) {
    case RURUZIR_MOISTURE_UNITS:
      return kMoistureUnitCount;
    case RURUZIR_PRESSURE_UNITS:
      return kPressureUnitCount;
    default:
      return 0;
  }
}

const char* ruruzir_unit_name(int kind, int code) {
  if (kind == RURUZIR_MOISTURE_UNITS && IsMoistureUnitCode(code)) return MoistureUnitName(code);
  if (kind == RURUZIR_PRESSURE_UNITS && IsPressureUnitCode(code)) return kPressureUnitNames[code];
  return nullptr;
}

int ruruzir_unit_caption(int kind, int code, char* text, size_t text_size) {
  if (text == nullptr) return RURUZIR_BAD_ARGUMENT;
  char caption[sizeof MoistureUnits[0].itemText];
  if (kind == RURUZIR_MOISTURE_UNITS && IsMoistureUnitCode(code)) {
    const size_t length = static_cast<size_t>(CaptionLength(code));
    std::memcpy(caption, MoistureUnits[code].itemText, length);
    caption[length] = '\0';
  } else if (kind == RURUZIR_PRESSURE_UNITS && IsPressureUnitCode(code)) {
    std::memcpy(caption, PressureUnits[code].name, sizeof PressureUnits[code].name);
    caption[sizeof PressureUnits[code].name - 1] = '\0';
  } else {
    if (text_size > 0) text[0] = '\0';
    return RURUZIR_BAD_ARGUMENT;
  }
  return CopyWhole(caption, text, text_size) ? RURUZIR_CONVERTED : RURUZIR_BAD_ARGUMENT;
}

const char* ruruzir_version(void) {
  return RURUZIR_VERSION;
}

}  // extern "C"
