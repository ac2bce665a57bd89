// Fuzz target: FormatReading with any unit code, any double and any area size.
//
// Input: 4 bytes of the unit code (any int; a first byte below 0x80 picks one of -1..11 so
// that the real codes come often), 8 bytes of a double (any bit pattern), one byte for the
// area size (0..80; the program's result area is smaller than the longest readings).
//
// Properties:
//  - the text is terminated within the area, nothing is written after it (guard bytes), and
//    an area of 0 bytes is not touched;
//  - non-finite values give "out of range" (cut to the area);
//  - finite values in an area of 400 bytes always give a reading: an optional "-", digits, a
//    point and decimals, nothing else. It is the value printed with the unit's decimals D
//    (1 for the dew points 0..3, 2 for %RH 9, otherwise by magnitude: above 100 one, above 10
//    two, ... above 0.0001 seven, else eight) with its run of trailing zeros shrunk to one
//    zero, the first three characters kept. It reads back (ScanNumber, completely) to the
//    value within half a unit of its D-th decimal (and so of the last decimal shown), plus
//    the rounding of the reading itself;
//  - in a smaller area the same reading stands when it fits with its terminator, otherwise
//    "out of range" cut to the area.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/number_text.h"
#include "core/reading_format.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ruruzir;

namespace {

constexpr size_t kLargeArea = 400;

int Decimals(int unitCode, double value) {
  if (unitCode >= 0 && unitCode <= 3) return 1;
  if (unitCode == 9) return 2;
  const double bounds[] = {100.0, 10.0, 1.0, 0.1, 0.01, 0.001, 0.0001};
  for (int row = 0; row < 7; ++row) {
    if (value > bounds[row]) return row + 1;
  }
  return 8;
}

// The reading a finite value should give: printed, then trailing zeros shrunk.
std::string ExpectedReading(double value, int decimals) {
  char printed[kLargeArea];
  std::snprintf(printed, sizeof printed, "%.*f", decimals, value);
  std::string text = printed;
  while (text.size() > 3 && text.back() == '0' && text[text.size() - 2] == '0') text.pop_back();
  return text;
}

void CheckReading(int unitCode, double value, const char* text) {
  const int decimals = Decimals(unitCode, value);
  const std::string expected = ExpectedReading(value, decimals);
  FUZZ_CHECK(expected == text, "unit %d, %.17g: \"%s\", expected \"%s\"", unitCode, value, text,
             expected.c_str());
  const char* p = text;
  if (*p == '-') ++p;
  const char* digits = p;
  while (FuzzDigit(*p)) ++p;
  FUZZ_CHECK(p > digits && *p == '.', "unit %d, %.17g: \"%s\" is no reading", unitCode, value,
             text);
  const char* fraction = ++p;
  while (FuzzDigit(*p)) ++p;
  FUZZ_CHECK(*p == '\0' && p > fraction && p - fraction <= decimals,
             "unit %d, %.17g: \"%s\" is no reading with %d decimals", unitCode, value, text,
             decimals);
  double read = 0.0;
  const char* end = ScanNumber(text, &read);
  FUZZ_CHECK(end && *end == '\0', "unit %d: \"%s\" does not read completely", unitCode, text);
  // printf rounds the exact value; reading the text back adds at most half a unit in the
  // last place of the number read.
  const long double difference = std::fabs(static_cast<long double>(read) - value);
  const long double allowed = 0.5L * std::pow(10.0L, -decimals) +
                              std::fabs(static_cast<long double>(std::nextafter(read, 0.0)) - read);
  FUZZ_CHECK(difference <= allowed, "unit %d, %.17g: \"%s\" reads %.17g", unitCode, value, text,
             read);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  int unitCode;
  std::memcpy(&unitCode, data, sizeof unitCode);
  if (data[0] < 0x80) unitCode = data[0] % 13 - 1;
  double value;
  std::memcpy(&value, data + 4, sizeof value);
  const size_t areaSize = size > 12 ? data[12] % 81 : 16;

  GuardedArea large(kLargeArea);
  FormatReading(unitCode, large.get(), large.size(), value);
  FUZZ_CHECK(large.Terminated() && large.GuardsIntact(), "unit %d, %.17g: area overrun", unitCode,
             value);
  const std::string reading = large.get();
  if (std::isfinite(value)) {
    CheckReading(unitCode, value, reading.c_str());
  } else {
    FUZZ_CHECK(reading == kOutOfRangeText, "unit %d, %.17g: \"%s\"", unitCode, value,
               reading.c_str());
  }

  GuardedArea area(areaSize);
  FormatReading(unitCode, area.get(), area.size(), value);
  FUZZ_CHECK(area.GuardsIntact(), "unit %d, %.17g: area of %zu overrun", unitCode, value, areaSize);
  if (areaSize == 0) {
    FUZZ_CHECK(area.Untouched(), "unit %d, %.17g: area of 0 bytes written", unitCode, value);
    return 0;
  }
  const std::string shown = reading.size() + 1 <= areaSize ? reading : kOutOfRangeText;
  const std::string expected = shown.substr(0, areaSize - 1);
  FUZZ_CHECK(area.Terminated() && expected == area.get(),
             "unit %d, %.17g: area of %zu holds \"%.*s\", expected \"%s\"", unitCode, value,
             areaSize, static_cast<int>(areaSize), area.get(), expected.c_str());
  return 0;
}
