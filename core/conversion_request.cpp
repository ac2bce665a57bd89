// Checking and converting a request.
#include "core/conversion_request.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/reading_format.h"
#include "core/temperature_entry.h"
#include "physics/composition.h"
#include "physics/rounding.h"
#include "physics/saturation_pressure.h"
#include "physics/unit_conversion.h"

namespace ruruzir {

namespace {

// Reasons, to follow the field and the number the user gave.
constexpr char kTemperatureReason[] = "stay between -80 and 200 degC (both excluded)";
constexpr char kPositiveReason[] = "must be greater than 0";
constexpr char kVacuumReason[] = "is at or below vacuum: no gas has that pressure";
constexpr char kTooHighReason[] =
    "is beyond the largest pressure the calculator holds (3.4e38 mbar in single precision)";
constexpr char kMissingReason[] = "is no number (NaN): no reading";
constexpr char kInfiniteReason[] = "is infinite";
constexpr char kNoMoistureUnitReason[] = "names no moisture unit";
constexpr char kNoPressureUnitReason[] = "names no pressure unit";
constexpr char kNoModelReason[] = "names no formulation, enhancement factor or precision";
constexpr char kNoMediumReason[] = "names no density medium";

constexpr Refusal kAccepted{RequestStatus::Converted, static_cast<int>(RequestField::None),
                            nullptr};

constexpr int FieldCode(RequestField field) {
  return static_cast<int>(field);
}

// The field of a side value: the side's first field plus the quantity (or kMediumField).
int SideField(bool source, int offset) {
  return FieldCode(source ? RequestField::SourceSide : RequestField::TargetSide) + offset;
}

bool IsTemperature(Quantity quantity) {
  return quantity == Quantity::AmbientTemperature || quantity == Quantity::PrevailingTemperature;
}

// A side value's number by its quantity.
double SideValue(const SideParameters& side, Quantity quantity) {
  switch (quantity) {
    case Quantity::AmbientTemperature:
      return side.ambientTemperatureC;
    case Quantity::MolecularWeight:
      return side.molecularWeight;
    case Quantity::HenryConstant:
      return side.henryConstant;
    default:
      return side.prevailingTemperatureC;
  }
}

// The side value a moisture unit reads, if any (the medium goes with the prevailing
// temperature).
bool UsedSideValue(int unit, Quantity* quantity) {
  switch (static_cast<MoistureUnitCode>(unit)) {
    case MoistureUnitCode::RelativeHumidity:
      *quantity = Quantity::AmbientTemperature;
      return true;
    case MoistureUnitCode::PpmWGas:
      *quantity = Quantity::MolecularWeight;
      return true;
    case MoistureUnitCode::PpmWLiquid:
      *quantity = Quantity::HenryConstant;
      return true;
    case MoistureUnitCode::GramsPerM3:
      *quantity = Quantity::PrevailingTemperature;
      return true;
    default:
      return false;
  }
}

bool UnitUses(int unit, Quantity quantity) {
  Quantity used = Quantity::Value;
  return UsedSideValue(unit, &used) && used == quantity;
}

constexpr Quantity kSideQuantities[] = {Quantity::AmbientTemperature, Quantity::MolecularWeight,
                                        Quantity::HenryConstant, Quantity::PrevailingTemperature};

bool IsMedium(DensityMedium medium) {
  const int code = static_cast<int>(medium);
  return code >= 0 && code < NamesOf(NameKind::Medium).codeCount;
}

bool UsesMedium(int unit, bool everySideValue) {
  return everySideValue || UnitUses(unit, Quantity::PrevailingTemperature);
}

Refusal CheckSideValue(const SideParameters& side, Quantity quantity, bool source) {
  const char* reason;
  const RequestStatus status = CheckQuantity(quantity, 0, SideValue(side, quantity), &reason);
  return status == RequestStatus::Converted
             ? kAccepted
             : Refusal{status, SideField(source, static_cast<int>(quantity)), reason};
}

Refusal CheckSide(const SideParameters& side, int unit, bool source, bool everySideValue) {
  if (!everySideValue) {
    Quantity quantity = Quantity::Value;
    return UsedSideValue(unit, &quantity) ? CheckSideValue(side, quantity, source) : kAccepted;
  }
  for (const Quantity quantity : kSideQuantities) {
    const Refusal refusal = CheckSideValue(side, quantity, source);
    if (refusal.status != RequestStatus::Converted) return refusal;
  }
  return kAccepted;
}

Refusal CheckPressure(const PressureReading& pressure, RequestField field) {
  const char* reason;
  const RequestStatus status =
      CheckQuantity(Quantity::Pressure, pressure.unit, pressure.reading, &reason);
  return status == RequestStatus::Converted ? kAccepted : Refusal{status, FieldCode(field), reason};
}

bool InCodes(NameKind kind, int code) {
  return code >= 0 && code < NamesOf(kind).codeCount;
}

Refusal CheckCodes(const ConversionRequest& request, bool everySideValue) {
  if (!IsMoistureUnitCode(request.sourceUnit)) {
    return {RequestStatus::BadCode, FieldCode(RequestField::SourceUnit), kNoMoistureUnitReason};
  }
  if (!IsMoistureUnitCode(request.targetUnit)) {
    return {RequestStatus::BadCode, FieldCode(RequestField::TargetUnit), kNoMoistureUnitReason};
  }
  if (!IsConversionPressureUnit(request.sourcePressure.unit)) {
    return {RequestStatus::BadCode, FieldCode(RequestField::SourcePressure), kNoPressureUnitReason};
  }
  if (!IsConversionPressureUnit(request.targetPressure.unit)) {
    return {RequestStatus::BadCode, FieldCode(RequestField::TargetPressure), kNoPressureUnitReason};
  }
  if (!InCodes(NameKind::Formulation, static_cast<int>(request.model.formulation)) ||
      !InCodes(NameKind::Enhancement, static_cast<int>(request.model.enhancement)) ||
      !InCodes(NameKind::Precision, static_cast<int>(request.precision))) {
    return {RequestStatus::BadCode, FieldCode(RequestField::Model), kNoModelReason};
  }
  if (UsesMedium(request.sourceUnit, everySideValue) && !IsMedium(request.source.densityMedium)) {
    return {RequestStatus::BadCode, SideField(true, kMediumField), kNoMediumReason};
  }
  if (UsesMedium(request.targetUnit, everySideValue) && !IsMedium(request.target.densityMedium)) {
    return {RequestStatus::BadCode, SideField(false, kMediumField), kNoMediumReason};
  }
  return kAccepted;
}

// The value's own check, after what the request shares.
Refusal CheckValue(int unit, double value) {
  const char* reason;
  const RequestStatus status = CheckQuantity(Quantity::Value, unit, value, &reason);
  return status == RequestStatus::Converted
             ? kAccepted
             : Refusal{status, FieldCode(RequestField::Value), reason};
}

SideParameters Held(const SideParameters& side) {
  return {ToSingle(side.ambientTemperatureC), ToSingle(side.molecularWeight),
          ToSingle(side.henryConstant), ToSingle(side.prevailingTemperatureC), side.densityMedium};
}

// What the conversion of a checked request works with: pressures in millibar and side values as
// the window holds them.
struct HeldRequest {
  int sourceUnit;
  int targetUnit;
  float sourceMbar;
  float targetMbar;
  SideParameters source;
  SideParameters target;
  MoistureModel model;
  Precision precision;
};

HeldRequest Hold(const ConversionRequest& request) {
  return {request.sourceUnit,
          request.targetUnit,
          PressureMbarFromReading(request.sourcePressure.unit, request.sourcePressure.reading),
          PressureMbarFromReading(request.targetPressure.unit, request.targetPressure.reading),
          Held(request.source),
          Held(request.target),
          request.model,
          request.precision};
}

// Copies a text into the area, cut to it.
void CopyCut(const char* from, char* text, size_t size) {
  if (size == 0) return;
  const size_t length = std::min(size - 1, std::strlen(from));
  std::memcpy(text, from, length);
  text[length] = '\0';
}

// The solver's precision a request's precision asks for.
DewPointPrecision SolverPrecision(Precision precision) {
  switch (precision) {
    case Precision::Exact:
      return DewPointPrecision::Exact;
    case Precision::Computed:
      return DewPointPrecision::DecimalTenths;
    default:
      return DewPointPrecision::Tenths;
  }
}

// The result of a value that passed its check; the text only when `text` is not null. The text
// is always the window's; the number is the one the precision asks for.
ValueAnswer ConvertHeld(const HeldRequest& held, double value, char* text, size_t size,
                        bool wantValue = true) {
  constexpr ValueAnswer kNoAnswer{{RequestStatus::NoAnswer, FieldCode(RequestField::None), nullptr},
                                  NAN};
  double computed;
  if (text || held.precision == Precision::Shown) {
    if (ComputeResultValue(held.sourceUnit, value, held.sourceMbar, held.source, held.targetUnit,
                           held.targetMbar, held.target, held.model,
                           &computed) != ConversionOutcome::Converted) {
      if (text) CopyCut(kOutOfRangeText, text, size);
      return kNoAnswer;
    }
    double shownValue;
    if (!text && ShownReadingValue(held.targetUnit, ToSingle(computed), &shownValue)) {
      return {kAccepted, shownValue};
    }
    // The text straight into the caller's area when it has the room of a result box.
    char own[kResultTextSize];
    char* shown = text && size >= kResultTextSize ? text : own;
    FormatReading(held.targetUnit, shown, kResultTextSize, ToSingle(computed));
    if (text && shown == own) CopyCut(own, text, size);
    if (!wantValue) return {kAccepted, NAN};
    if (held.precision == Precision::Shown) {
      ScanNumber(shown, &computed);
      return {kAccepted, computed};
    }
  }
  if (ComputeResultValue(held.sourceUnit, value, held.sourceMbar, held.source, held.targetUnit,
                         held.targetMbar, held.target, held.model, &computed,
                         SolverPrecision(held.precision)) != ConversionOutcome::Converted) {
    return kNoAnswer;
  }
  return {kAccepted, computed};
}

// The answers of the last values seen, by the value's bits: readings are mostly rounded to a few
// decimals and repeat, and an answer depends only on the value when nothing else varies. Only
// values that passed their own check are kept: a kept result of NaN is no answer. 32 KB of the
// caller's stack.
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

void Put(int* statuses, size_t i, RequestStatus status) {
  if (statuses) statuses[i] = static_cast<int>(status);
}

// Elements that share everything but their values, remembering recent answers in `recent`
// when it is not null.
void ConvertValuesWith(const HeldRequest& held, size_t count, const double* values, double* results,
                       int* statuses, RecentAnswers* recent) {
  for (size_t i = 0; i < count; ++i) {
    const double value = values[i];
    const Refusal refusal = CheckValue(held.sourceUnit, value);
    if (refusal.status != RequestStatus::Converted) {
      results[i] = NAN;
      Put(statuses, i, refusal.status);
      continue;
    }
    bool found = false;
    const size_t slot = recent ? recent->Find(value, &found) : 0;
    if (found) {
      results[i] = recent->Result(slot);
      Put(statuses, i, std::isnan(results[i]) ? RequestStatus::NoAnswer : RequestStatus::Converted);
      continue;
    }
    const ValueAnswer answer = ConvertHeld(held, value, nullptr, 0);
    results[i] = answer.value;
    Put(statuses, i, answer.refusal.status);
    if (recent) recent->Keep(slot, value, answer.value);
  }
}

bool IsDewPointUnit(int unit) {
  return IsDewPointUnit(static_cast<MoistureUnitCode>(unit));
}

// Dew and frost points, shown or computed, go through the vector kernel when there is one (into
// a dew point unit with the array solver); the other units and exact dew points keep the scalar
// path.
bool TakesVectorPath(const HeldRequest& held) {
  return HasVectorSaturation() && IsDewPointUnit(held.sourceUnit) &&
         held.precision != Precision::Exact;
}

// The ppmV the scalar path holds in single precision, from the vector kernel's saturation
// pressure `e` at total pressure `p` within relative `error`: false when that cannot settle it.
// ppmV = e / (p - e) 1e6 magnifies e's relative error by p / (p - e); the three roundings of
// each evaluation add under 2^-50. The float is certain when no float rounding boundary (the
// midpoint between two floats) lies within that bound of the vector's ppmV.
bool CertainPpmV(double e, double error, double p, float* ppmV) {
  const double room = p - e;
  if (!(room > 0.0) || !(e > 0.0) || p > 1024.0 * room) return false;
  const double ppm = PpmVFromPressure(e, p);
  const double bound = ppm * (error * (p / room) + 0x1p-50);
  const float f = static_cast<float>(ppm);
  if (!std::isfinite(f) || !std::isnormal(f)) return false;
  // The floats either side of a positive f: its bit pattern less one and plus one.
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  float down, up;
  const uint32_t downBits = bits - 1, upBits = bits + 1;
  std::memcpy(&down, &downBits, sizeof down);
  std::memcpy(&up, &upBits, sizeof up);
  const double below = (static_cast<double>(f) + down) * 0.5;
  const double above = (static_cast<double>(f) + up) * 0.5;
  *ppmV = f;
  return ppm - bound > below && ppm + bound < above;
}

RequestStatus ElementReading(const double* readings, size_t i, Quantity quantity, int unit,
                             double* into);

// A pressure reading's check, with the millibar it comes to when it passes.
RequestStatus CheckPressure(int unit, double number, const char** reason, float* millibar) {
  if (!IsConversionPressureUnit(unit)) {
    *reason = kNoPressureUnitReason;
    return RequestStatus::BadCode;
  }
  *millibar = PressureMbarFromReading(unit, number);  // not given: one atmosphere
  if (std::isnan(number)) return RequestStatus::Converted;
  if (!(*millibar > 0.0f)) {
    *reason = kVacuumReason;
    return RequestStatus::Vacuum;
  }
  if (!std::isfinite(*millibar)) {
    *reason = kTooHighReason;
    return RequestStatus::PressureTooHigh;
  }
  return RequestStatus::Converted;
}

// Per-element pressure columns (either may be null) in their units.
struct PressureColumns {
  const double* source;
  int sourceUnit;
  const double* target;
  int targetUnit;
};

// Element i's pressures in mbar as the scalar path holds them, checked as ConvertElements does.
RequestStatus ElementPressures(const PressureColumns& columns, size_t i, float* sourceMbar,
                               float* targetMbar) {
  const char* reason;
  const auto element = [&](const double* readings, int unit, float* millibar) {
    if (!readings) return RequestStatus::Converted;
    if (std::isnan(readings[i])) return RequestStatus::Missing;
    return CheckPressure(unit, readings[i], &reason, millibar);
  };
  const RequestStatus status = element(columns.source, columns.sourceUnit, sourceMbar);
  if (status != RequestStatus::Converted) return status;
  return element(columns.target, columns.targetUnit, targetMbar);
}

// Blocks of values through the vector kernel; an element whose ppmV the bound leaves open goes
// through ConvertHeld, the scalar path. `columns`, when given, hold each element's pressures.
void ConvertValuesVector(const HeldRequest& shared, size_t count, const double* values,
                         const PressureColumns* columns, double* results, int* statuses) {
  constexpr size_t kBlock = 256;
  double temperatures[kBlock], pressures[kBlock], saturation[kBlock], errors[kBlock];
  double ppm[kBlock], targets[kBlock], converted[kBlock];
  size_t elements[kBlock];
  float targetMbar[kBlock];
  const auto unit = static_cast<MoistureUnitCode>(shared.sourceUnit);
  const bool dewPointTarget = IsDewPointUnit(shared.targetUnit);
  // A value inside the unit's range passes its check; only the others need the whole check.
  const SourceRange* range = FindSourceRange(shared.sourceUnit);
  bool overIce = false;
  for (size_t start = 0; start < count; start += kBlock) {
    const size_t end = count - start < kBlock ? count : start + kBlock;
    size_t taken = 0;
    for (size_t i = start; i < end; ++i) {
      float sourceAt = shared.sourceMbar, targetAt = shared.targetMbar;
      RequestStatus status =
          columns ? ElementPressures(*columns, i, &sourceAt, &targetAt) : RequestStatus::Converted;
      if (status == RequestStatus::Converted &&
          !(range && values[i] >= range->low && values[i] <= range->high))
        status = CheckValue(shared.sourceUnit, values[i]).status;
      if (status != RequestStatus::Converted) {
        results[i] = NAN;
        Put(statuses, i, status);
        continue;
      }
      DewPointSource(unit, ToSingle(values[i]), &temperatures[taken], &overIce);
      pressures[taken] = sourceAt;
      targetMbar[taken] = targetAt;
      elements[taken++] = i;
    }
    SaturationPressureArray(overIce, taken, temperatures, pressures, shared.model, saturation,
                            errors);
    // The ppmV of each element, or NaN where the kernel leaves it open (then the scalar path
    // gives the element's answer).
    for (size_t k = 0; k < taken; ++k) {
      float ppmV;
      ppm[k] = CertainPpmV(saturation[k], errors[k], static_cast<float>(pressures[k]), &ppmV) ? ppmV
                                                                                              : NAN;
      targets[k] = targetMbar[k];
    }
    if (dewPointTarget) {
      DewPointsFromPpmV(static_cast<MoistureUnitCode>(shared.targetUnit), taken, ppm, targets,
                        shared.model, SolverPrecision(shared.precision), converted);
    }
    for (size_t k = 0; k < taken; ++k) {
      const size_t i = elements[k];
      const float sourceAt = static_cast<float>(pressures[k]);
      const auto scalar = [&] {
        HeldRequest held = shared;
        held.sourceMbar = sourceAt;
        held.targetMbar = targetMbar[k];
        return ConvertHeld(held, values[i], nullptr, 0);
      };
      double result = converted[k];
      ValueAnswer answer{kAccepted, NAN};
      if (std::isnan(ppm[k])) {
        answer = scalar();
      } else if (dewPointTarget ? NoAnswer(result) || !std::isfinite(ToSingle(result))
                                : ResultFromPpmV(ppm[k], sourceAt, shared.targetUnit, targetMbar[k],
                                                 shared.target, shared.model, &result,
                                                 SolverPrecision(shared.precision)) !=
                                      ConversionOutcome::Converted) {
        answer = {{RequestStatus::NoAnswer, FieldCode(RequestField::None), nullptr}, NAN};
      } else if (shared.precision == Precision::Computed) {
        answer.value = result;
      } else if (!ShownReadingValue(shared.targetUnit, ToSingle(result), &answer.value)) {
        answer = scalar();
      }
      results[i] = answer.value;
      Put(statuses, i, answer.refusal.status);
    }
  }
}

// Large calls remember recent answers.
void ConvertValues(const HeldRequest& held, size_t count, const double* values, double* results,
                   int* statuses) {
  if (TakesVectorPath(held)) {
    ConvertValuesVector(held, count, values, nullptr, results, statuses);
    return;
  }
  if (count < RecentAnswers::kSmallestCall) {
    ConvertValuesWith(held, count, values, results, statuses, nullptr);
    return;
  }
  RecentAnswers recent;
  ConvertValuesWith(held, count, values, results, statuses, &recent);
}

// An element's own reading of a pressure or side temperature, checked.
RequestStatus ElementReading(const double* readings, size_t i, Quantity quantity, int unit,
                             double* into) {
  if (!readings) return RequestStatus::Converted;
  const double reading = readings[i];
  if (std::isnan(reading)) return RequestStatus::Missing;
  const char* reason;
  const RequestStatus status = CheckQuantity(quantity, unit, reading, &reason);
  if (status == RequestStatus::Converted) *into = reading;
  return status;
}

// Elements with readings of their own: each element's request is the shared one with them.
void ConvertElements(const ConversionRequest& request, size_t count, const double* values,
                     const RequestColumns& columns, double* results, int* statuses) {
  const bool sourceAmbient = UnitUses(request.sourceUnit, Quantity::AmbientTemperature);
  const bool targetAmbient = UnitUses(request.targetUnit, Quantity::AmbientTemperature);
  const bool sourcePrevailing = UnitUses(request.sourceUnit, Quantity::PrevailingTemperature);
  const bool targetPrevailing = UnitUses(request.targetUnit, Quantity::PrevailingTemperature);
  for (size_t i = 0; i < count; ++i) {
    ConversionRequest element = request;
    const RequestStatus checks[] = {
        sourceAmbient ? ElementReading(columns.sourceAmbient, i, Quantity::AmbientTemperature, 0,
                                       &element.source.ambientTemperatureC)
                      : RequestStatus::Converted,
        sourcePrevailing
            ? ElementReading(columns.sourcePrevailing, i, Quantity::PrevailingTemperature, 0,
                             &element.source.prevailingTemperatureC)
            : RequestStatus::Converted,
        targetAmbient ? ElementReading(columns.targetAmbient, i, Quantity::AmbientTemperature, 0,
                                       &element.target.ambientTemperatureC)
                      : RequestStatus::Converted,
        targetPrevailing
            ? ElementReading(columns.targetPrevailing, i, Quantity::PrevailingTemperature, 0,
                             &element.target.prevailingTemperatureC)
            : RequestStatus::Converted,
        ElementReading(columns.sourcePressures, i, Quantity::Pressure, request.sourcePressure.unit,
                       &element.sourcePressure.reading),
        ElementReading(columns.targetPressures, i, Quantity::Pressure, request.targetPressure.unit,
                       &element.targetPressure.reading),
    };
    RequestStatus status = RequestStatus::Converted;
    for (const RequestStatus check : checks) {
      if (check != RequestStatus::Converted) {
        status = check;
        break;
      }
    }
    if (status != RequestStatus::Converted) {
      results[i] = NAN;
      Put(statuses, i, status);
      continue;
    }
    const ValueAnswer answer = ConvertCheckedValue(element, values[i], nullptr, 0);
    results[i] = answer.value;
    Put(statuses, i, answer.refusal.status);
  }
}

bool HasColumns(const RequestColumns* columns) {
  return columns &&
         (columns->sourcePressures || columns->targetPressures || columns->sourceAmbient ||
          columns->targetAmbient || columns->sourcePrevailing || columns->targetPrevailing);
}

}  // namespace

ConversionRequest DefaultConversionRequest() {
  const int mbar = Code(PressureUnitCode::Mbar);
  return {NamesOf(NameKind::MoistureUnit).defaultCode,
          {mbar, NAN},
          DefaultSideParameters(),
          NamesOf(NameKind::MoistureUnit).defaultCode,
          {mbar, NAN},
          DefaultSideParameters(),
          {static_cast<Formulation>(NamesOf(NameKind::Formulation).defaultCode),
           static_cast<EnhancementFactor>(NamesOf(NameKind::Enhancement).defaultCode)},
          static_cast<Precision>(NamesOf(NameKind::Precision).defaultCode)};
}

bool FindLimits(Quantity quantity, int unit, Limits* limits) {
  switch (quantity) {
    case Quantity::AmbientTemperature:
    case Quantity::PrevailingTemperature:
      *limits = {kLowestAcceptedTemperatureC, kHighestAcceptedTemperatureC, false};
      return true;
    case Quantity::MolecularWeight:
    case Quantity::HenryConstant:
      *limits = {0.0, HUGE_VAL, false};
      return true;
    case Quantity::Pressure:
      *limits = {0.0, HUGE_VAL, false};
      return true;
    case Quantity::Value: {
      if (!IsMoistureUnitCode(unit)) return false;
      const SourceRange* range = FindSourceRange(unit);
      *limits = range ? Limits{range->low, range->high, true} : Limits{-HUGE_VAL, HUGE_VAL, true};
      return true;
    }
  }
  return false;
}

RequestStatus CheckQuantity(Quantity quantity, int unit, double number, const char** reason) {
  *reason = nullptr;
  switch (quantity) {
    case Quantity::Pressure: {
      float millibar;
      return CheckPressure(unit, number, reason, &millibar);
    }
    case Quantity::Value: {
      if (!IsMoistureUnitCode(unit)) {
        *reason = kNoMoistureUnitReason;
        return RequestStatus::BadCode;
      }
      if (std::isnan(number)) {
        *reason = kMissingReason;
        return RequestStatus::Missing;
      }
      if (IsOutsideSourceRange(unit, number)) {
        *reason = FindSourceRange(unit)->message;
        return RequestStatus::OutOfRange;
      }
      if (!std::isfinite(number)) {
        *reason = kInfiniteReason;
        return RequestStatus::BadNumber;
      }
      return RequestStatus::Converted;
    }
    case Quantity::AmbientTemperature:
    case Quantity::PrevailingTemperature:
    case Quantity::MolecularWeight:
    case Quantity::HenryConstant: {
      if (std::isnan(number)) {
        *reason = kMissingReason;
        return RequestStatus::Missing;
      }
      const float held = ToSingle(number);
      const bool accepted = IsTemperature(quantity) ? IsAcceptedTemperature(held)
                                                    : held > 0.0f && std::isfinite(held);
      if (accepted) return RequestStatus::Converted;
      *reason = IsTemperature(quantity) ? kTemperatureReason : kPositiveReason;
      return RequestStatus::SideValue;
    }
  }
  *reason = kNoModelReason;
  return RequestStatus::BadCode;
}

Refusal CheckRequest(const ConversionRequest& request, bool everySideValue) {
  Refusal refusal = CheckCodes(request, everySideValue);
  if (refusal.status == RequestStatus::Converted) {
    refusal = CheckSide(request.source, request.sourceUnit, true, everySideValue);
  }
  if (refusal.status == RequestStatus::Converted) {
    refusal = CheckSide(request.target, request.targetUnit, false, everySideValue);
  }
  if (refusal.status == RequestStatus::Converted) {
    refusal = CheckPressure(request.sourcePressure, RequestField::SourcePressure);
  }
  if (refusal.status == RequestStatus::Converted) {
    refusal = CheckPressure(request.targetPressure, RequestField::TargetPressure);
  }
  return refusal;
}

ValueAnswer ConvertCheckedValue(const ConversionRequest& request, double value, char* text,
                                size_t size) {
  const Refusal refusal = CheckValue(request.sourceUnit, value);
  if (refusal.status != RequestStatus::Converted) return {refusal, NAN};
  return ConvertHeld(Hold(request), value, text, size);
}

Refusal ConvertRequestText(const ConversionRequest& request, double value, char* text,
                           size_t size) {
  Refusal refusal = CheckRequest(request);
  if (refusal.status == RequestStatus::Converted) refusal = CheckValue(request.sourceUnit, value);
  if (refusal.status != RequestStatus::Converted) return refusal;
  return ConvertHeld(Hold(request), value, text, size, false).refusal;
}

ValueAnswer ConvertRequestValue(const ConversionRequest& request, double value, char* text,
                                size_t size) {
  const Refusal refusal = CheckRequest(request);
  if (refusal.status != RequestStatus::Converted) return {refusal, NAN};
  return ConvertCheckedValue(request, value, text, size);
}

Refusal ReexpressRequestValue(const ConversionRequest& request, double value, int newUnit,
                              const SideParameters& newSide, char* text, size_t size) {
  ConversionRequest changed = request;
  changed.targetUnit = newUnit;
  changed.target = newSide;
  changed.targetPressure = request.sourcePressure;
  Refusal refusal = CheckRequest(changed);
  if (refusal.status == RequestStatus::Converted && std::isnan(value)) {
    refusal = {RequestStatus::Missing, FieldCode(RequestField::Value), kMissingReason};
  } else if (refusal.status == RequestStatus::Converted && !std::isfinite(value)) {
    refusal = {RequestStatus::BadNumber, FieldCode(RequestField::Value), kInfiniteReason};
  }
  if (refusal.status != RequestStatus::Converted) return refusal;
  const SourceReexpression change{request.sourceUnit, value, request.sourcePressure.unit,
                                  request.sourcePressure.reading, newUnit};
  const ReexpressionOutcome outcome =
      ReexpressSourceValue(change, Held(request.source), Held(newSide), request.model, text, size);
  return outcome == ReexpressionOutcome::Reexpressed
             ? kAccepted
             : Refusal{RequestStatus::NoAnswer, FieldCode(RequestField::None), nullptr};
}

Refusal ConvertRequestArray(const ConversionRequest& request, size_t count, const double* values,
                            const RequestColumns* columns, double* results, int* statuses,
                            bool everySideValue) {
  const Refusal refusal = CheckRequest(request, everySideValue);
  if (refusal.status != RequestStatus::Converted) {
    for (size_t i = 0; i < count; ++i) {
      results[i] = NAN;
      Put(statuses, i, refusal.status);
    }
    return refusal;
  }
  const HeldRequest held = Hold(request);
  const bool onlyPressures = HasColumns(columns) && !columns->sourceAmbient &&
                             !columns->targetAmbient && !columns->sourcePrevailing &&
                             !columns->targetPrevailing;
  if (onlyPressures && TakesVectorPath(held)) {
    const PressureColumns pressures{columns->sourcePressures, request.sourcePressure.unit,
                                    columns->targetPressures, request.targetPressure.unit};
    ConvertValuesVector(held, count, values, &pressures, results, statuses);
  } else if (HasColumns(columns)) {
    ConvertElements(request, count, values, *columns, results, statuses);
  } else {
    ConvertValues(held, count, values, results, statuses);
  }
  return kAccepted;
}

}  // namespace ruruzir
