// Fuzz target: the library's C interface (api/ruruzir.h) with arbitrary arguments: unit and
// model codes (any int or a real one), doubles (any bit pattern or a sensible value), a null
// or real side, and a text area of any size from none to 120 bytes.
//
// Properties:
//  - no crash and no undefined behaviour (AddressSanitizer and UBSan), and no byte written
//    past the text area (guard bytes) nor any byte at all into an area of 0 bytes;
//  - the status says why: no area (null text), else a bad code when a unit, model or medium
//    code is unknown, else a bad number when the value or a pressure is NaN or infinite, a
//    pressure beyond single precision in millibar, or a side parameter impossible; a text too
//    small only when the same call with 100 bytes gives a longer text; the text is then empty
//    and the result NaN;
//  - RURUZIR_CONVERTED: a terminated text that reads as a number, the result being that
//    number; RURUZIR_OUT_OF_RANGE: "out of range" or a "stay between ..." message, result NaN;
//  - the array call gives every element (sides shared, or the source pressure per element)
//    the single call's status and number, in both precisions the same statuses.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "api/ruruzir.h"
#include "core/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

double NextDouble(FuzzedDataProvider& provider, double lo, double hi) {
  if (provider.ConsumeBool()) {
    const uint64_t bits = provider.ConsumeIntegral<uint64_t>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  return provider.ConsumeFloatingPointInRange<double>(lo, hi);
}

int NextCode(FuzzedDataProvider& provider, int count) {
  return provider.ConsumeBool() ? provider.ConsumeIntegralInRange<int>(-1, count)
                                : provider.ConsumeIntegral<int>();
}

bool NextSide(FuzzedDataProvider& provider, ruruzir_side* side) {
  if (provider.ConsumeBool()) return false;
  side->ambient_temperature_c = NextDouble(provider, -100, 200);
  side->molecular_weight = NextDouble(provider, 1, 500);
  side->henry_constant = NextDouble(provider, 1e-3, 1e3);
  side->prevailing_temperature_c = NextDouble(provider, -100, 200);
  side->density_medium = NextCode(provider, 3);
  return true;
}

// Side parameters are held in single precision.
bool FiniteSingle(double x) {
  return std::isfinite(x) && std::fabs(x) < 3.4028235677973366e38;
}
// The dialogs' limits: strictly between -80 and 200 degC once held in single precision.
bool BadTemperature(double c) {
  return !FiniteSingle(c) || !(static_cast<float>(c) > -80.0f && static_cast<float>(c) < 200.0f);
}
bool BadPositive(double x) {
  return !FiniteSingle(x) || !(static_cast<float>(x) > 0.0f);
}
bool SideHasBadCode(const ruruzir_side* side) {
  return side && (side->density_medium < 0 || side->density_medium > 2);
}
bool SideHasBadNumber(const ruruzir_side* side) {
  return side &&
         (BadTemperature(side->ambient_temperature_c) || BadPositive(side->molecular_weight) ||
          BadPositive(side->henry_constant) || BadTemperature(side->prevailing_temperature_c));
}

// A reading in millibar, about (psig and barg: 0 is one atmosphere).
double Millibar(int unit, double reading) {
  constexpr double kMbarPerUnit[] = {1.0,    68.9476, 68.9476, 1013.25, 10.0,
                                     1000.0, 1000.0,  10000.0, 0.01};
  const bool gauge = unit == RURUZIR_PSIG || unit == RURUZIR_BARG;
  return reading * kMbarPerUnit[unit] + (gauge ? 1013.25 : 0.0);
}

// A reading at or below `margin` millibar.
bool NearVacuum(int unit, double reading, double margin) {
  return Millibar(unit, reading) <= margin;
}

bool SameNumber(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const int sourceUnit = NextCode(provider, 11);
  const int targetUnit = NextCode(provider, 11);
  const int sourcePressureUnit = NextCode(provider, 9);
  const int targetPressureUnit = NextCode(provider, 9);
  const int formulation = NextCode(provider, 4);
  const int enhancement = NextCode(provider, 3);
  const double value = NextDouble(provider, -200, 2e5);
  const double sourcePressure = NextDouble(provider, -100, 1e6);
  const double targetPressure = NextDouble(provider, -100, 1e6);
  ruruzir_side sides[2];
  const ruruzir_side* source = NextSide(provider, &sides[0]) ? &sides[0] : nullptr;
  const ruruzir_side* target = NextSide(provider, &sides[1]) ? &sides[1] : nullptr;
  const bool nullText = provider.ConsumeIntegralInRange<int>(0, 15) == 0;
  const size_t areaSize = provider.ConsumeIntegralInRange<size_t>(0, 120);

  GuardedArea area(areaSize);
  double result = 0;
  const int status =
      ruruzir_convert(value, sourceUnit, sourcePressure, sourcePressureUnit, source, targetUnit,
                      targetPressure, targetPressureUnit, target, formulation, enhancement, &result,
                      nullText ? nullptr : area.get(), areaSize);
  FUZZ_CHECK(area.GuardsIntact(), "written past an area of %zu bytes", areaSize);
  FUZZ_CHECK(status >= RURUZIR_CONVERTED && status < RURUZIR_STATUS_COUNT, "status %d", status);
  if (nullText) {
    FUZZ_CHECK(status == RURUZIR_NO_AREA && area.Untouched(), "status %d for no area", status);
    return 0;
  }
  const bool badCode = sourceUnit < 0 || sourceUnit > 10 || targetUnit < 0 || targetUnit > 10 ||
                       sourcePressureUnit < 0 || sourcePressureUnit > 8 || targetPressureUnit < 0 ||
                       targetPressureUnit > 8 || formulation < 0 || formulation > 3 ||
                       enhancement < 0 || enhancement > 2 || SideHasBadCode(source) ||
                       SideHasBadCode(target);
  const bool badNumber = !std::isfinite(value) || !std::isfinite(sourcePressure) ||
                         !std::isfinite(targetPressure) || SideHasBadNumber(source) ||
                         SideHasBadNumber(target);
  if (badCode) {
    FUZZ_CHECK(status == RURUZIR_BAD_CODE, "status %d for a bad code", status);
  } else if (badNumber) {
    FUZZ_CHECK(status == RURUZIR_BAD_NUMBER, "status %d for a bad number", status);
  } else {
    // Only a pressure can still be impossible: beyond single precision in millibar, or at or
    // below vacuum (0 in absolute units, -14.696 psig) once read in hundredths.
    const bool vacuum = NearVacuum(sourcePressureUnit, sourcePressure, -0.01) ||
                        NearVacuum(targetPressureUnit, targetPressure, -0.01);
    const bool possible = !NearVacuum(sourcePressureUnit, sourcePressure, 0.01) &&
                          !NearVacuum(targetPressureUnit, targetPressure, 0.01) &&
                          Millibar(sourcePressureUnit, sourcePressure) < 3e37 &&
                          Millibar(targetPressureUnit, targetPressure) < 3e37;
    FUZZ_CHECK(status != RURUZIR_BAD_NUMBER || !possible, "bad number for %.17g and %.17g",
               sourcePressure, targetPressure);
    FUZZ_CHECK(status == RURUZIR_BAD_NUMBER || !vacuum, "status %d for %.17g and %.17g", status,
               sourcePressure, targetPressure);
  }
  if (areaSize == 0 && !badCode && !badNumber && status != RURUZIR_BAD_NUMBER) {
    FUZZ_CHECK(status == RURUZIR_TEXT_TOO_SMALL && area.Untouched(), "status %d for 0 bytes",
               status);
  }
  const bool refused = status >= RURUZIR_BAD_CODE;
  if (refused) {
    FUZZ_CHECK(std::isnan(result), "result %.17g with a refusal", result);
    if (areaSize > 0) FUZZ_CHECK(area.get()[0] == '\0', "text not empty with a refusal");
  } else {
    FUZZ_CHECK(area.Terminated(), "text not terminated");
    const char* text = area.get();
    if (status == RURUZIR_CONVERTED) {
      double number = NAN;
      const char* end = ruruzir::ScanNumber(text, &number);
      FUZZ_CHECK(end != nullptr && *end == '\0' && number == result, "text \"%s\" and result %.17g",
                 text, result);
    } else {
      FUZZ_CHECK(std::isnan(result), "result %.17g out of range", result);
      FUZZ_CHECK(
          std::strcmp(text, "out of range") == 0 || std::strncmp(text, "stay between ", 13) == 0,
          "out-of-range text \"%s\"", text);
    }
  }

  // With room for any text: the same answer; a small area was the only difference.
  char full[RURUZIR_TEXT_SIZE];
  double fullResult = 0;
  const int fullStatus = ruruzir_convert(
      value, sourceUnit, sourcePressure, sourcePressureUnit, source, targetUnit, targetPressure,
      targetPressureUnit, target, formulation, enhancement, &fullResult, full, sizeof full);
  FUZZ_CHECK(fullStatus != RURUZIR_TEXT_TOO_SMALL, "too small with room for any text");
  if (status == RURUZIR_TEXT_TOO_SMALL) {
    FUZZ_CHECK(std::strlen(full) + 1 > areaSize, "\"%s\" fits %zu bytes but was refused", full,
               areaSize);
  } else {
    FUZZ_CHECK(fullStatus == status && (refused || std::strcmp(full, area.get()) == 0),
               "status %d \"%s\" in %zu bytes, %d \"%s\" in 100", status, area.get(), areaSize,
               fullStatus, full);
  }

  // The array call: this value among others, the source pressure shared or per element.
  const size_t count = provider.ConsumeIntegralInRange<size_t>(1, 8);
  std::vector<double> values(count, value), pressures(count, sourcePressure);
  for (size_t i = 1; i < count; ++i) {
    values[i] = NextDouble(provider, -200, 2e5);
    pressures[i] = NextDouble(provider, -100, 1e6);
  }
  ruruzir_array_side arraySides[2] = {};
  arraySides[0].unit = sourceUnit;
  arraySides[0].pressure_unit = sourcePressureUnit;
  arraySides[0].pressure = sourcePressure;
  if (provider.ConsumeBool()) arraySides[0].pressures = pressures.data();
  arraySides[1].unit = targetUnit;
  arraySides[1].pressure_unit = targetPressureUnit;
  arraySides[1].pressure = targetPressure;
  const ruruzir_side* given[2] = {source, target};
  for (int s = 0; s < 2; ++s) {
    if (given[s]) {
      arraySides[s].parameters = *given[s];
    } else {
      ruruzir_default_side(&arraySides[s].parameters);
    }
  }
  std::vector<double> results(count), computed(count);
  std::vector<int> statuses(count), computedStatuses(count);
  const int callStatus =
      ruruzir_convert_array(count, values.data(), &arraySides[0], &arraySides[1], formulation,
                            enhancement, RURUZIR_AS_SHOWN, results.data(), statuses.data());
  const int computedCall = ruruzir_convert_array(
      count, values.data(), &arraySides[0], &arraySides[1], formulation, enhancement,
      RURUZIR_AS_COMPUTED, computed.data(), computedStatuses.data());
  FUZZ_CHECK(callStatus == computedCall, "call status %d shown, %d computed", callStatus,
             computedCall);
  for (size_t i = 0; i < count; ++i) {
    double single = 0;
    const int singleStatus = ruruzir_convert(
        values[i], sourceUnit, arraySides[0].pressures ? pressures[i] : sourcePressure,
        sourcePressureUnit, source, targetUnit, targetPressure, targetPressureUnit, target,
        formulation, enhancement, &single, full, sizeof full);
    FUZZ_CHECK(statuses[i] == singleStatus && SameNumber(results[i], single),
               "element %zu: %d %.17g in the array, %d %.17g alone", i, statuses[i], results[i],
               singleStatus, single);
    FUZZ_CHECK(callStatus == RURUZIR_CONVERTED || statuses[i] == callStatus,
               "element %zu: %d in a call refused with %d", i, statuses[i], callStatus);
    FUZZ_CHECK(computedStatuses[i] == statuses[i] &&
                   std::isnan(computed[i]) == (statuses[i] != RURUZIR_CONVERTED),
               "element %zu: %d %.17g computed, %d shown", i, computedStatuses[i], computed[i],
               statuses[i]);
  }
  return 0;
}
