// Result formatting: decimals chosen by unit and magnitude, trailing zeros shrunk to one.
#include "core/reading_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "core/unit_catalogues.h"

namespace ruruzir {

const char kOutOfRangeText[] = "out of range";

namespace {

// For units without a fixed number of decimals: the first row whose bound the value exceeds
// (strictly) gives them.
struct MagnitudeDecimals {
  double above;
  int decimals;
};

constexpr MagnitudeDecimals kMagnitudeDecimals[] = {
    {100.0, 1}, {10.0, 2}, {1.0, 3}, {0.1, 4}, {0.01, 5}, {0.001, 6}, {0.0001, 7},
};
constexpr int kSmallestDecimals = 8;

// The decimals of "%.Nf" for the unit and the value.
int ChooseDecimals(int unitCode, double value) {
  switch (unitCode) {
    case Code(MoistureUnitCode::DewFrostPointC):
    case Code(MoistureUnitCode::DewPointC):
    case Code(MoistureUnitCode::DewFrostPointF):
    case Code(MoistureUnitCode::DewPointF):
      return 1;
    case Code(MoistureUnitCode::RelativeHumidity):
      return 2;
    default:
      for (const MagnitudeDecimals& row : kMagnitudeDecimals) {
        if (value > row.above) return row.decimals;
      }
      return kSmallestDecimals;
  }
}

void CopyBounded(char* text, size_t size, const char* source) {
  if (size == 0) return;
  size_t i = 0;
  for (; source[i] && i + 1 < size; ++i) text[i] = source[i];
  text[i] = '\0';
}

}  // namespace

void FormatReading(int unitCode, char* text, size_t size, double value) {
  if (size == 0) return;
  char formatted[400];  // "%.1f" of the largest finite double needs 311 characters
  if (!std::isfinite(value)) {
    CopyBounded(text, size, kOutOfRangeText);
    return;
  }
  // std::to_chars gives the digits of printf's "%.Nf" (exactly rounded, no locale), faster.
  const std::to_chars_result printed =
      std::to_chars(formatted, formatted + sizeof formatted, value, std::chars_format::fixed,
                    ChooseDecimals(unitCode, value));
  if (printed.ec != std::errc()) {
    CopyBounded(text, size, kOutOfRangeText);
    return;
  }
  const int length = static_cast<int>(printed.ptr - formatted);
  // From the last character back: drop a "0" that follows another "0", never touching the
  // first three characters ("0.0" stays).
  int last = length - 1;
  while (last > 2 && formatted[last] == '0' && formatted[last - 1] == '0') --last;
  formatted[last + 1] = '\0';
  // Digits cut off would show another number: a reading too long for the area is no reading.
  CopyBounded(text, size, static_cast<size_t>(last + 1) < size ? formatted : kOutOfRangeText);
}

bool ShownReadingValue(int unitCode, float value, double* shown) {
  if (!std::isfinite(value)) return false;
  static constexpr double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  const double scale = kScales[ChooseDecimals(unitCode, value)];
  // A float has 24 significant bits and 10^N = 2^N 5^N with 5^8 below 2^19: the product is
  // exact, so rounding it to an integer (to even on a tie, as the exact "%.Nf" does) gives
  // the text's digits, and one division by the exact power of ten the double nearest to them,
  // as ScanNumber reads them.
  const double scaled = static_cast<double>(value) * scale;
  if (!(std::fabs(scaled) < 0x1p49)) return false;  // 15 digits at most
  *shown = std::nearbyint(scaled) / scale;
  return true;
}

}  // namespace ruruzir
