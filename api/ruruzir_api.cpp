// The C interface of the library: arguments checked, then the calculator's own steps from
// core/ (pressure readings, the source ranges, the result text), all on the caller's stack.
#include "api/ruruzir.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "core/calculator_values.h"
#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "core/unit_names.h"
#include "physics/rounding.h"
#include "ruruzir_version.h"

namespace ruruzir {
namespace {

constexpr const char kBadNumberText[] =
    "a number that is NaN, infinite or impossible (a pressure at or below vacuum, a molecular "
    "weight or Henry's constant not above 0, a temperature not above absolute zero, a value "
    "beyond single precision)";
constexpr const char* kStatusTexts[RURUZIR_STATUS_COUNT] = {
    "converted",
    "no answer: the value is outside its unit's range or has no result",
    "unknown unit, pressure unit, formulation, enhancement factor, medium or precision code",
    kBadNumberText,
    "the text area is too small for the text",
    "a pointer the call needs is null",
};

// The result box's text area in the window.
constexpr size_t kWorkTextSize = RURUZIR_TEXT_SIZE;

constexpr double kAbsoluteZeroC = -273.15;

constexpr Formulation kFormulations[] = {Formulation::HylandWexler, Formulation::GoffGratch,
                                         Formulation::Sonntag, Formulation::Magnus};
constexpr EnhancementFactor kEnhancements[] = {EnhancementFactor::None, EnhancementFactor::Bogel,
                                               EnhancementFactor::Greenspan};
constexpr int32_t kMediumChoices[] = {kMediumWaterVapour, kMediumAir, kMediumNaturalGas};

bool InRange(int code, int count) {
  return code >= 0 && code < count;
}

// A parameter as the calculator holds it: in single precision, where it must stay finite.
bool FiniteSingle(double value) {
  return std::isfinite(ToSingle(value));
}
bool PossibleTemperature(double celsius) {
  return FiniteSingle(celsius) && celsius > kAbsoluteZeroC;
}
bool PossiblePositive(double value) {
  return FiniteSingle(value) && ToSingle(value) > 0.0f;
}

// The side as the calculator holds it, or the reason it cannot be.
int ReadSide(const ruruzir_side* side, SideContext* context) {
  *context = DefaultSideContext();
  if (side == nullptr) return RURUZIR_CONVERTED;
  if (!InRange(side->density_medium, 3)) return RURUZIR_BAD_CODE;
  if (!PossibleTemperature(side->ambient_temperature_c) ||
      !PossiblePositive(side->molecular_weight) || !PossiblePositive(side->henry_constant) ||
      !PossibleTemperature(side->prevailing_temperature_c)) {
    return RURUZIR_BAD_NUMBER;
  }
  context->ambientTemperature = ToSingle(side->ambient_temperature_c);
  context->molecularWeight = ToSingle(side->molecular_weight);
  context->henryConstant = ToSingle(side->henry_constant);
  context->prevailingTemperature = ToSingle(side->prevailing_temperature_c);
  context->densityMedium = kMediumChoices[side->density_medium];
  return RURUZIR_CONVERTED;
}

// A pressure reading in millibar as the calculator reads it, or the reason it cannot be read.
int ReadPressure(int unit, double reading, float* millibar) {
  *millibar = PressureMbarFromReading(unit, reading);
  return std::isfinite(reading) && std::isfinite(*millibar) &&
                 IsPossiblePressureReading(unit, reading)
             ? RURUZIR_CONVERTED
             : RURUZIR_BAD_NUMBER;
}

// The first of the statuses that is not RURUZIR_CONVERTED, else RURUZIR_CONVERTED.
int FirstFault(std::initializer_list<int> statuses) {
  for (const int status : statuses) {
    if (status != RURUZIR_CONVERTED) return status;
  }
  return RURUZIR_CONVERTED;
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
  if (!CopyWhole(source, text, size)) return RURUZIR_TEXT_TOO_SMALL;
  if (status == RURUZIR_CONVERTED && result) ScanNumber(text, result);
  return status;
}

// ---------------------------------------------------------------------------------------------
// Array conversions.

// What every element of an array call shares, read and checked once.
struct ArrayCall {
  int sourceUnit;
  int targetUnit;
  MoistureModel model;
  int precision;
  float sourceMbar;  // when the side has no per-element pressures
  float targetMbar;
  SideContext source;
  SideContext target;
};

// The codes and shared numbers of an array call, or the reason they cannot be used.
int ReadArrayCall(const ruruzir_array_side& source, const ruruzir_array_side& target,
                  int formulation, int enhancement, int precision, ArrayCall* call) {
  if (!IsMoistureUnitCode(source.unit) || !IsMoistureUnitCode(target.unit) ||
      !IsPressureUnitCode(source.pressure_unit) || !IsPressureUnitCode(target.pressure_unit) ||
      !InRange(formulation, 4) || !InRange(enhancement, 3) || !InRange(precision, 2)) {
    return RURUZIR_BAD_CODE;
  }
  call->sourceUnit = source.unit;
  call->targetUnit = target.unit;
  call->model = MoistureModel{kFormulations[formulation], kEnhancements[enhancement]};
  call->precision = precision;
  call->sourceMbar = NAN;
  call->targetMbar = NAN;
  const int sides[] = {ReadSide(&source.parameters, &call->source),
                       ReadSide(&target.parameters, &call->target)};
  if (sides[0] == RURUZIR_BAD_CODE || sides[1] == RURUZIR_BAD_CODE) return RURUZIR_BAD_CODE;
  return FirstFault(
      {sides[0], sides[1],
       source.pressures ? RURUZIR_CONVERTED
                        : ReadPressure(source.pressure_unit, source.pressure, &call->sourceMbar),
       target.pressures ? RURUZIR_CONVERTED
                        : ReadPressure(target.pressure_unit, target.pressure, &call->targetMbar)});
}

// One element with its own pressures and sides: its status, and its number into *result.
int ConvertElement(const ArrayCall& call, double value, float sourceMbar, const SideContext& source,
                   float targetMbar, const SideContext& target, double* result) {
  *result = NAN;
  if (!std::isfinite(value)) return RURUZIR_BAD_NUMBER;
  if (IsOutsideSourceRange(call.sourceUnit, value)) return RURUZIR_OUT_OF_RANGE;
  if (call.precision == RURUZIR_AS_COMPUTED) {
    return ComputeResultValue(call.sourceUnit, ToSingle(value), sourceMbar, source, call.targetUnit,
                              targetMbar, target, call.model,
                              result) == ConversionOutcome::Converted
               ? RURUZIR_CONVERTED
               : RURUZIR_OUT_OF_RANGE;
  }
  char work[kWorkTextSize];
  const ConversionOutcome outcome =
      ComposeResultText(call.sourceUnit, ToSingle(value), sourceMbar, source, call.targetUnit,
                        targetMbar, target, call.model, work, sizeof work);
  if (outcome != ConversionOutcome::Converted) return RURUZIR_OUT_OF_RANGE;
  ScanNumber(work, result);
  return RURUZIR_CONVERTED;
}

// A side's pressure and temperatures for element i: the shared ones, or the element's own.
int ElementSide(const ruruzir_array_side& side, size_t i, float sharedMbar,
                const SideContext& shared, float* millibar, SideContext* context) {
  *millibar = sharedMbar;
  *context = shared;
  if (side.pressures) {
    const int status = ReadPressure(side.pressure_unit, side.pressures[i], millibar);
    if (status != RURUZIR_CONVERTED) return status;
  }
  if (side.ambient_temperatures_c) {
    if (!PossibleTemperature(side.ambient_temperatures_c[i])) return RURUZIR_BAD_NUMBER;
    context->ambientTemperature = ToSingle(side.ambient_temperatures_c[i]);
  }
  if (side.prevailing_temperatures_c) {
    if (!PossibleTemperature(side.prevailing_temperatures_c[i])) return RURUZIR_BAD_NUMBER;
    context->prevailingTemperature = ToSingle(side.prevailing_temperatures_c[i]);
  }
  return RURUZIR_CONVERTED;
}

bool HasElementValues(const ruruzir_array_side& side) {
  return side.pressures || side.ambient_temperatures_c || side.prevailing_temperatures_c;
}

// The answers of the last values seen, by the value's bits: readings are mostly rounded to a few
// decimals and repeat, and an answer depends only on the value when nothing else varies. Only
// finite values are kept; a finite value's status follows from its result (NaN: no answer).
// 32 KB of the caller's stack.
class RecentAnswers {
 public:
  static constexpr size_t kSlots = 2048;
  static constexpr size_t kSmallestCall = 2 * kSlots;  // below this, filling costs too much

  RecentAnswers() {
    for (Slot& slot : slots_) slot.bits = kEmpty;
  }
  // The slot for the finite `value`; `*found` when it holds the value's result.
  size_t Find(double value, bool* found) const {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const size_t slot = static_cast<size_t>((bits * 0x9E3779B97F4A7C15u) >> 53);  // 11 bits
    *found = slots_[slot].bits == bits;
    return slot;
  }
  void Keep(size_t slot, double value, double result) {
    std::memcpy(&slots_[slot].bits, &value, sizeof value);
    slots_[slot].result = result;
  }
  double Result(size_t slot) const { return slots_[slot].result; }

 private:
  static constexpr uint64_t kEmpty = 0x7FF8DEADBEEF0000u;  // a NaN: never looked up
  struct Slot {
    uint64_t bits;
    double result;
  };
  Slot slots_[kSlots];
};
static_assert(RecentAnswers::kSlots == size_t{1} << (64 - 53), "the hash gives 11 bits");

// Elements that share everything but their values; large calls remember recent answers.
void ConvertValues(const ArrayCall& call, size_t count, const double* values, double* results,
                   int* statuses) {
  if (count < RecentAnswers::kSmallestCall) {
    for (size_t i = 0; i < count; ++i) {
      const int status = ConvertElement(call, values[i], call.sourceMbar, call.source,
                                        call.targetMbar, call.target, &results[i]);
      if (statuses) statuses[i] = status;
    }
    return;
  }
  RecentAnswers recent;
  for (size_t i = 0; i < count; ++i) {
    const double value = values[i];
    bool found = false;
    const size_t slot = std::isfinite(value) ? recent.Find(value, &found) : 0;
    int status;
    if (found) {
      results[i] = recent.Result(slot);
      status = std::isnan(results[i]) ? RURUZIR_OUT_OF_RANGE : RURUZIR_CONVERTED;
    } else {
      status = ConvertElement(call, value, call.sourceMbar, call.source, call.targetMbar,
                              call.target, &results[i]);
      if (std::isfinite(value)) recent.Keep(slot, value, results[i]);
    }
    if (statuses) statuses[i] = status;
  }
}

// The element loop. Sides without per-element values are read once, outside it.
void ConvertElements(const ArrayCall& call, const ruruzir_array_side& sourceSide,
                     const ruruzir_array_side& targetSide, size_t count, const double* values,
                     double* results, int* statuses) {
  if (!HasElementValues(sourceSide) && !HasElementValues(targetSide)) {
    ConvertValues(call, count, values, results, statuses);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    float sourceMbar, targetMbar;
    SideContext source, target;
    int status = FirstFault(
        {ElementSide(sourceSide, i, call.sourceMbar, call.source, &sourceMbar, &source),
         ElementSide(targetSide, i, call.targetMbar, call.target, &targetMbar, &target)});
    double result = NAN;
    if (status == RURUZIR_CONVERTED) {
      status = ConvertElement(call, values[i], sourceMbar, source, targetMbar, target, &result);
    }
    results[i] = result;
    if (statuses) statuses[i] = status;
  }
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
  if (text == nullptr) return RURUZIR_NO_AREA;
  if (text_size > 0) text[0] = '\0';
  SideContext source{};
  SideContext target{};
  if (!IsMoistureUnitCode(source_unit) || !IsMoistureUnitCode(target_unit) ||
      !IsPressureUnitCode(source_pressure_unit) || !IsPressureUnitCode(target_pressure_unit) ||
      !InRange(formulation, 4) || !InRange(enhancement, 3)) {
    return RURUZIR_BAD_CODE;
  }
  const int sides[] = {ReadSide(source_side, &source), ReadSide(target_side, &target)};
  if (sides[0] == RURUZIR_BAD_CODE || sides[1] == RURUZIR_BAD_CODE) return RURUZIR_BAD_CODE;
  float sourceMbar = NAN;
  float targetMbar = NAN;
  const int fault =
      FirstFault({std::isfinite(value) ? RURUZIR_CONVERTED : RURUZIR_BAD_NUMBER, sides[0], sides[1],
                  ReadPressure(source_pressure_unit, source_pressure, &sourceMbar),
                  ReadPressure(target_pressure_unit, target_pressure, &targetMbar)});
  if (fault != RURUZIR_CONVERTED) return fault;
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

int ruruzir_convert_array(size_t count, const double* values, const ruruzir_array_side* source,
                          const ruruzir_array_side* target, int formulation, int enhancement,
                          int precision, double* results, int* statuses) {
  ArrayCall call{};
  int status = RURUZIR_NO_AREA;
  if (source && target && (count == 0 || (values && results))) {
    status = ReadArrayCall(*source, *target, formulation, enhancement, precision, &call);
  }
  if (status != RURUZIR_CONVERTED) {
    for (size_t i = 0; i < count; ++i) {
      if (results) results[i] = NAN;
      if (statuses) statuses[i] = status;
    }
    return status;
  }
  ConvertElements(call, *source, *target, count, values, results, statuses);
  return RURUZIR_CONVERTED;
}

const char* ruruzir_status_text(int status) {
  return InRange(status, RURUZIR_STATUS_COUNT) ? kStatusTexts[status] : "unknown status";
}

void ruruzir_default_side(ruruzir_side* side) {
  if (side == nullptr) return;
  const SideContext defaults = DefaultSideContext();
  side->ambient_temperature_c = defaults.ambientTemperature;
  side->molecular_weight = defaults.molecularWeight;
  side->henry_constant = defaults.henryConstant;
  side->prevailing_temperature_c = defaults.prevailingTemperature;
  side->density_medium = RURUZIR_MEDIUM_NATURAL_GAS;
}

int ruruzir_unit_code(int kind, const char* name) {
  if (name == nullptr) return -1;
  if (kind == RURUZIR_MOISTURE_UNITS) {
    if (const NamedCode* unit = FindNamedCode(kMoistureUnitNames, name)) return unit->code;
  } else if (kind == RURUZIR_PRESSURE_UNITS) {
    if (const NamedCode* unit = FindNamedCode(kPressureUnitNames, name)) return unit->code;
  }
  return -1;
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
  if (kind == RURUZIR_PRESSURE_UNITS && IsPressureUnitCode(code)) {
    return kPressureUnitNames[code].name;
  }
  return nullptr;
}

int ruruzir_unit_caption(int kind, int code, char* text, size_t text_size) {
  if (text == nullptr) return RURUZIR_NO_AREA;
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
    return RURUZIR_BAD_CODE;
  }
  return CopyWhole(caption, text, text_size) ? RURUZIR_CONVERTED : RURUZIR_TEXT_TOO_SMALL;
}

const char* ruruzir_version(void) {
  return RURUZIR_VERSION;
}

}  // extern "C"
