// Fuzz target: the library's C interface (api/ruruzir.h) with arbitrary arguments: unit and
// model codes (any int or a real one), doubles (any bit pattern or a sensible value), a null
// or real side, and a text area of any size from none to 120 bytes.
//
// Properties:
//  - no crash and no undefined behaviour (AddressSanitizer and UBSan), and no byte written
//    past the text area (guard bytes) nor any byte at all into an area of 0 bytes;
//  - the status is one of the three; a bad argument exactly when a code is unknown, a number
//    NaN or infinite (value, pressures) or NaN (side parameters), or the area is missing or
//    too small, and then the text is empty and the result NaN;
//  - RURUZIR_CONVERTED: a terminated text that reads as a number, the result being that
//    number; RURUZIR_OUT_OF_RANGE: "out of range" or a "stay between ..." message, result NaN;
//  - the same call with a 100-byte area gives the same status (unless the small area was the
//    bad argument) and, when the small area held it, the same text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>

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

bool SideIsBad(const ruruzir_side* side) {
  return side && (std::isnan(side->ambient_temperature_c) || std::isnan(side->molecular_weight) ||
                  std::isnan(side->henry_constant) || std::isnan(side->prevailing_temperature_c) ||
                  side->density_medium < 0 || side->density_medium > 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const int sourceUnit = NextCode(provider, 11);
  const int targetUnit = NextCode(provider, 11);
  const int sourcePressureUnit = NextCode(provider, 5);
  const int targetPressureUnit = NextCode(provider, 5);
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
  FUZZ_CHECK(status == RURUZIR_CONVERTED || status == RURUZIR_OUT_OF_RANGE ||
                 status == RURUZIR_BAD_ARGUMENT,
             "status %d", status);
  if (areaSize == 0 || nullText) {
    FUZZ_CHECK(status == RURUZIR_BAD_ARGUMENT && area.Untouched(),
               "status %d for no area, or the area written", status);
  }

  const bool badCode = sourceUnit < 0 || sourceUnit > 10 || targetUnit < 0 || targetUnit > 10 ||
                       sourcePressureUnit < 0 || sourcePressureUnit > 4 || targetPressureUnit < 0 ||
                       targetPressureUnit > 4 || formulation < 0 || formulation > 3 ||
                       enhancement < 0 || enhancement > 2;
  const bool badNumber = !std::isfinite(value) || !std::isfinite(sourcePressure) ||
                         !std::isfinite(targetPressure) || SideIsBad(source) || SideIsBad(target);
  if (badCode || badNumber) {
    FUZZ_CHECK(status == RURUZIR_BAD_ARGUMENT, "status %d for a bad code or number", status);
  }
  if (status == RURUZIR_BAD_ARGUMENT) {
    FUZZ_CHECK(std::isnan(result), "result %.17g with a bad argument", result);
    if (!nullText && areaSize > 0) {
      FUZZ_CHECK(area.get()[0] == '\0', "text not empty with a bad argument");
    }
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
  if (nullText || badCode || badNumber) return 0;

  // With room for any text: the same answer; a small area was the only bad argument.
  char full[100];
  double fullResult = 0;
  const int fullStatus = ruruzir_convert(
      value, sourceUnit, sourcePressure, sourcePressureUnit, source, targetUnit, targetPressure,
      targetPressureUnit, target, formulation, enhancement, &fullResult, full, sizeof full);
  FUZZ_CHECK(fullStatus != RURUZIR_BAD_ARGUMENT, "bad argument with room for any text");
  if (status == RURUZIR_BAD_ARGUMENT) {
    FUZZ_CHECK(std::strlen(full) + 1 > areaSize, "\"%s\" fits %zu bytes but was refused", full,
               areaSize);
  } else {
    FUZZ_CHECK(fullStatus == status && std::strcmp(full, area.get()) == 0,
               "status %d \"%s\" in %zu bytes, %d \"%s\" in 100", status, area.get(), areaSize,
               fullStatus, full);
  }
  return 0;
}
