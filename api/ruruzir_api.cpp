// The C interface of the library: a translation of core's vocabulary and of its one request
// check-and-convert into C types. The calls of earlier versions are the same request with their
// statuses folded as they were.
#include "api/ruruzir.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/conversion_request.h"
#include "core/number_text.h"
#include "core/reading_format.h"
#include "core/temperature_entry.h"
#include "core/unit_catalogues.h"
#include "core/vocabulary.h"
#include "ruruzir_version.h"

namespace ruruzir {
namespace {

static_assert(RURUZIR_TEXT_SIZE == kResultTextSize, "the text area is the result box's");
static_assert(RURUZIR_VERSION_NUMBER == RURUZIR_VERSION_MAJOR * 1000000 +
                                            RURUZIR_VERSION_MINOR * 1000 + RURUZIR_VERSION_PATCH,
              "the header's version is the project's");
static_assert(RURUZIR_KIND_COUNT == kNameKindCount, "one kind code per table");
static_assert(static_cast<int>(RequestStatus::SideValue) == RURUZIR_SIDE_VALUE &&
                  static_cast<int>(RequestStatus::NoAnswer) == RURUZIR_NO_ANSWER &&
                  static_cast<int>(RequestStatus::Missing) == RURUZIR_MISSING &&
                  static_cast<int>(RequestStatus::Vacuum) == RURUZIR_VACUUM &&
                  static_cast<int>(RequestStatus::PressureTooHigh) == RURUZIR_PRESSURE_TOO_HIGH &&
                  static_cast<int>(RequestStatus::OutOfRange) == RURUZIR_OUT_OF_RANGE &&
                  static_cast<int>(RequestStatus::BadCode) == RURUZIR_BAD_CODE &&
                  static_cast<int>(RequestStatus::BadNumber) == RURUZIR_BAD_NUMBER,
              "core's statuses are the library's");
static_assert(static_cast<int>(RequestField::TargetSide) == RURUZIR_FIELD_TARGET_SIDE &&
                  static_cast<int>(RequestField::SourceSide) == RURUZIR_FIELD_SOURCE_SIDE &&
                  static_cast<int>(RequestField::Model) == RURUZIR_FIELD_MODEL,
              "core's fields are the library's");
static_assert(static_cast<int>(Quantity::Value) == RURUZIR_VALUE &&
                  static_cast<int>(Quantity::Pressure) == RURUZIR_PRESSURE,
              "core's quantities are the library's");

constexpr const char* kStatusTexts[RURUZIR_STATUS_COUNT] = {
    "converted",
    "outside its unit's range (in earlier calls also no result)",
    "unknown unit, pressure unit, formulation, enhancement factor, medium or precision code",
    "an infinite number (in earlier calls also NaN or an impossible pressure or side value)",
    "the text area is too small for the text",
    "a pointer the call needs is null",
    "no answer: no result in the target unit",
    "missing: no reading (NaN)",
    "a pressure at or below vacuum",
    "a pressure beyond the largest the calculator holds",
    "a side value outside its limits",
};

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

SideParameters SideFrom(const ruruzir_side* side) {
  if (side == nullptr) return DefaultSideParameters();
  return {side->ambient_temperature_c, side->molecular_weight, side->henry_constant,
          side->prevailing_temperature_c, static_cast<DensityMedium>(side->density_medium)};
}

ConversionRequest RequestFrom(const ruruzir_request& r) {
  return {r.source_unit,
          {r.source_pressure_unit, r.source_pressure},
          SideFrom(&r.source),
          r.target_unit,
          {r.target_pressure_unit, r.target_pressure},
          SideFrom(&r.target),
          {static_cast<Formulation>(r.formulation), static_cast<EnhancementFactor>(r.enhancement)},
          static_cast<Precision>(r.precision)};
}

void WriteSide(const SideParameters& parameters, ruruzir_side* side) {
  side->ambient_temperature_c = parameters.ambientTemperatureC;
  side->molecular_weight = parameters.molecularWeight;
  side->henry_constant = parameters.henryConstant;
  side->prevailing_temperature_c = parameters.prevailingTemperatureC;
  side->density_medium = static_cast<int>(parameters.densityMedium);
}

// A status of the calls of earlier versions: the causes added since folded into theirs.
int EarlierStatus(int status) {
  switch (status) {
    case RURUZIR_NO_ANSWER:
      return RURUZIR_OUT_OF_RANGE;
    case RURUZIR_MISSING:
    case RURUZIR_VACUUM:
    case RURUZIR_PRESSURE_TOO_HIGH:
    case RURUZIR_SIDE_VALUE:
      return RURUZIR_BAD_NUMBER;
    default:
      return status;
  }
}

// A pressure the calls of earlier versions must be given.
bool Given(double reading) {
  return !std::isnan(reading);
}

}  // namespace
}  // namespace ruruzir

using namespace ruruzir;

extern "C" {

int ruruzir_version_number(void) {
  return RURUZIR_VERSION_NUMBER;
}

size_t ruruzir_text_size(void) {
  return RURUZIR_TEXT_SIZE;
}

size_t ruruzir_side_size(void) {
  return sizeof(ruruzir_side);
}

size_t ruruzir_request_size(void) {
  return sizeof(ruruzir_request);
}

size_t ruruzir_columns_size(void) {
  return sizeof(ruruzir_columns);
}

size_t ruruzir_array_side_size(void) {
  return sizeof(ruruzir_array_side);
}

int ruruzir_status_count(void) {
  return RURUZIR_STATUS_COUNT;
}

const char* ruruzir_status_text(int status) {
  return status >= 0 && status < RURUZIR_STATUS_COUNT ? kStatusTexts[status] : "unknown status";
}

void ruruzir_default_side(ruruzir_side* side) {
  if (side) WriteSide(DefaultSideParameters(), side);
}

int ruruzir_count(int kind) {
  const NameTable* table = FindNameTable(kind);
  return table ? table->codeCount : 0;
}

const char* ruruzir_name(int kind, int code) {
  return FindNameTable(kind) ? NameOf(static_cast<NameKind>(kind), code) : nullptr;
}

int ruruzir_code(int kind, const char* name) {
  if (name == nullptr || !FindNameTable(kind)) return -1;
  return CodeOfName(static_cast<NameKind>(kind), name);
}

const char* ruruzir_alias(int kind, int index, int* code) {
  const NameTable* table = FindNameTable(kind);
  if (!table || index < 0 || index >= table->size) return nullptr;
  if (code) *code = table->entries[index].code;
  return table->entries[index].name;
}

const char* ruruzir_label(int kind, int code) {
  return FindNameTable(kind) ? LabelOf(static_cast<NameKind>(kind), code) : nullptr;
}

const char* ruruzir_description(int kind, int code) {
  return FindNameTable(kind) ? MeaningOf(static_cast<NameKind>(kind), code) : nullptr;
}

int ruruzir_default_code(int kind) {
  const NameTable* table = FindNameTable(kind);
  return table ? table->defaultCode : -1;
}

const char* ruruzir_atmosphere_reading(int pressure_unit) {
  return StandardAtmosphereReading(pressure_unit);
}

int ruruzir_limits(int quantity, int unit, double* low, double* high, int* included) {
  Limits limits;
  if (quantity < RURUZIR_AMBIENT_TEMPERATURE || quantity > RURUZIR_VALUE ||
      !FindLimits(static_cast<Quantity>(quantity), unit, &limits)) {
    return RURUZIR_BAD_CODE;
  }
  if (low) *low = limits.low;
  if (high) *high = limits.high;
  if (included) *included = limits.included ? 1 : 0;
  return RURUZIR_CONVERTED;
}

int ruruzir_check(int quantity, int unit, double number, char* text, size_t text_size) {
  if (text && text_size > 0) text[0] = '\0';
  if (quantity < RURUZIR_AMBIENT_TEMPERATURE || quantity > RURUZIR_VALUE) return RURUZIR_BAD_CODE;
  const char* reason;
  const int status =
      static_cast<int>(CheckQuantity(static_cast<Quantity>(quantity), unit, number, &reason));
  if (status != RURUZIR_CONVERTED && text && !CopyWhole(reason, text, text_size)) {
    return RURUZIR_TEXT_TOO_SMALL;
  }
  return status;
}

int ruruzir_read_number(const char* text, int decimal_comma, double* value) {
  if (text == nullptr || value == nullptr) return RURUZIR_NO_AREA;
  const ReadOutcome outcome = ReadWholeNumber(text, decimal_comma != 0, value);
  return outcome == ReadOutcome::Read    ? RURUZIR_CONVERTED
         : outcome == ReadOutcome::Blank ? RURUZIR_MISSING
                                         : RURUZIR_BAD_NUMBER;
}

int ruruzir_read_temperature(const char* text, int decimal_comma, double* celsius,
                             int* fahrenheit) {
  if (text == nullptr || celsius == nullptr) return RURUZIR_NO_AREA;
  bool inFahrenheit = false;
  const ReadOutcome outcome = ReadTemperature(text, decimal_comma != 0, celsius, &inFahrenheit);
  if (fahrenheit) *fahrenheit = inFahrenheit ? 1 : 0;
  return outcome == ReadOutcome::Read    ? RURUZIR_CONVERTED
         : outcome == ReadOutcome::Blank ? RURUZIR_MISSING
                                         : RURUZIR_BAD_NUMBER;
}

void ruruzir_default_request(ruruzir_request* request) {
  if (request == nullptr) return;
  const ConversionRequest defaults = DefaultConversionRequest();
  request->source_unit = defaults.sourceUnit;
  request->source_pressure_unit = defaults.sourcePressure.unit;
  request->source_pressure = defaults.sourcePressure.reading;
  WriteSide(defaults.source, &request->source);
  request->target_unit = defaults.targetUnit;
  request->target_pressure_unit = defaults.targetPressure.unit;
  request->target_pressure = defaults.targetPressure.reading;
  WriteSide(defaults.target, &request->target);
  request->formulation = static_cast<int>(defaults.model.formulation);
  request->enhancement = static_cast<int>(defaults.model.enhancement);
  request->precision = static_cast<int>(defaults.precision);
}

int ruruzir_convert_request(const ruruzir_request* request, double value, double* result,
                            char* text, size_t text_size, int* field) {
  if (result) *result = NAN;
  if (field) *field = RURUZIR_FIELD_NONE;
  if (text == nullptr || request == nullptr) return RURUZIR_NO_AREA;
  if (text_size > 0) text[0] = '\0';
  char work[kResultTextSize];
  const ValueAnswer answer = ConvertRequestValue(RequestFrom(*request), value, work, sizeof work);
  const int status = static_cast<int>(answer.refusal.status);
  if (field) *field = answer.refusal.field;
  const char* shown = answer.refusal.reason ? answer.refusal.reason : work;
  if (!CopyWhole(shown, text, text_size)) return RURUZIR_TEXT_TOO_SMALL;
  if (result) *result = answer.value;
  return status;
}

int ruruzir_reexpress(const ruruzir_request* request, double value, int new_unit,
                      const ruruzir_side* new_side, char* text, size_t text_size) {
  if (text == nullptr || request == nullptr) return RURUZIR_NO_AREA;
  if (text_size > 0) text[0] = '\0';
  const ConversionRequest converted = RequestFrom(*request);
  char work[kResultTextSize];
  const Refusal refusal =
      ReexpressRequestValue(converted, value, new_unit,
                            new_side ? SideFrom(new_side) : converted.source, work, sizeof work);
  const char* shown = refusal.reason ? refusal.reason : work;
  if (!CopyWhole(shown, text, text_size)) return RURUZIR_TEXT_TOO_SMALL;
  return static_cast<int>(refusal.status);
}

int ruruzir_convert_request_array(const ruruzir_request* request, size_t count,
                                  const double* values, const ruruzir_columns* columns,
                                  double* results, int* statuses) {
  if (request == nullptr || (count > 0 && (values == nullptr || results == nullptr))) {
    // Nothing to fill but the statuses.
    for (size_t i = 0; statuses && i < count; ++i) statuses[i] = RURUZIR_NO_AREA;
    if (results) {
      for (size_t i = 0; i < count; ++i) results[i] = NAN;
    }
    return RURUZIR_NO_AREA;
  }
  RequestColumns own{};
  if (columns) {
    own = {columns->source_pressures, columns->target_pressures,    columns->source_ambient_c,
           columns->target_ambient_c, columns->source_prevailing_c, columns->target_prevailing_c};
  }
  return static_cast<int>(
      ConvertRequestArray(RequestFrom(*request), count, values, &own, results, statuses).status);
}

int ruruzir_convert(double value, int source_unit, double source_pressure, int source_pressure_unit,
                    const ruruzir_side* source_side, int target_unit, double target_pressure,
                    int target_pressure_unit, const ruruzir_side* target_side, int formulation,
                    int enhancement, double* result, char* text, size_t text_size) {
  if (result) *result = NAN;
  if (text == nullptr) return RURUZIR_NO_AREA;
  if (text_size > 0) text[0] = '\0';
  const ConversionRequest request{
      source_unit,
      {source_pressure_unit, source_pressure},
      SideFrom(source_side),
      target_unit,
      {target_pressure_unit, target_pressure},
      SideFrom(target_side),
      {static_cast<Formulation>(formulation), static_cast<EnhancementFactor>(enhancement)},
      Precision::Shown};
  // Earlier versions refused a value that is no finite number before anything but the codes.
  Refusal refusal = CheckRequest(request, true);
  if (refusal.status != RequestStatus::BadCode &&
      (!std::isfinite(value) || !Given(source_pressure) || !Given(target_pressure))) {
    refusal.status = RequestStatus::BadNumber;
  }
  if (refusal.status != RequestStatus::Converted) {
    return EarlierStatus(static_cast<int>(refusal.status));
  }
  char work[kResultTextSize];
  const ValueAnswer answer = ConvertCheckedValue(request, value, work, sizeof work);
  const int status = EarlierStatus(static_cast<int>(answer.refusal.status));
  // The text of earlier versions: the result, "out of range" or the range message only.
  const char* shown = answer.refusal.status == RequestStatus::OutOfRange ? answer.refusal.reason
                      : status == RURUZIR_BAD_NUMBER                     ? ""
                                                                         : work;
  if (!CopyWhole(shown, text, text_size)) return RURUZIR_TEXT_TOO_SMALL;
  if (result) *result = answer.value;
  return status;
}

int ruruzir_convert_array(size_t count, const double* values, const ruruzir_array_side* source,
                          const ruruzir_array_side* target, int formulation, int enhancement,
                          int precision, double* results, int* statuses) {
  const bool areas = source && target && (count == 0 || (values && results));
  int status = areas ? RURUZIR_CONVERTED : RURUZIR_NO_AREA;
  ConversionRequest request{};
  if (areas) {
    // A side with pressures per element is checked with one atmosphere in its unit; a shared
    // pressure must be given.
    request = {source->unit,
               {source->pressure_unit, source->pressures ? NAN : source->pressure},
               SideFrom(&source->parameters),
               target->unit,
               {target->pressure_unit, target->pressures ? NAN : target->pressure},
               SideFrom(&target->parameters),
               {static_cast<Formulation>(formulation), static_cast<EnhancementFactor>(enhancement)},
               static_cast<Precision>(precision)};
    const Refusal refusal = CheckRequest(request, true);
    status = EarlierStatus(static_cast<int>(refusal.status));
    if (status != RURUZIR_BAD_CODE && ((!source->pressures && !Given(source->pressure)) ||
                                       (!target->pressures && !Given(target->pressure)))) {
      status = RURUZIR_BAD_NUMBER;
    }
  }
  if (status != RURUZIR_CONVERTED) {
    for (size_t i = 0; results && i < count; ++i) results[i] = NAN;
    for (size_t i = 0; statuses && i < count; ++i) statuses[i] = status;
    return status;
  }
  const RequestColumns columns{source->pressures,
                               target->pressures,
                               source->ambient_temperatures_c,
                               target->ambient_temperatures_c,
                               source->prevailing_temperatures_c,
                               target->prevailing_temperatures_c};
  ConvertRequestArray(request, count, values, &columns, results, statuses, true);
  for (size_t i = 0; statuses && i < count; ++i) statuses[i] = EarlierStatus(statuses[i]);
  return RURUZIR_CONVERTED;
}

int ruruzir_unit_count(int kind) {
  return kind == RURUZIR_MOISTURE_UNITS || kind == RURUZIR_PRESSURE_UNITS ? ruruzir_count(kind) : 0;
}

const char* ruruzir_unit_name(int kind, int code) {
  return ruruzir_unit_count(kind) > 0 ? ruruzir_name(kind, code) : nullptr;
}

int ruruzir_unit_code(int kind, const char* name) {
  return ruruzir_unit_count(kind) > 0 ? ruruzir_code(kind, name) : -1;
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
  } else if (kind == RURUZIR_PRESSURE_UNITS && IsConversionPressureUnit(code)) {
    std::snprintf(caption, sizeof caption, "%s", PressureUnitLabel(code));
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
