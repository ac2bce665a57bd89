// Result formatting: decimals chosen by unit and magnitude, trailing zeros shrunk to one.
#include "app/reading_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/unit_catalogues.h"

const char kOutOfRangeText[] = "out of range";

namespace {

// For units without a fixed format: the first row whose bound the value exceeds (strictly).
struct MagnitudeFormat {
  double above;
  const char* format;
};

constexpr MagnitudeFormat kMagnitudeFormats[] = {
    {100.0, "%.1f"}, {10.0, "%.2f"},  {1.0, "%.3f"},    {0.1, "%.4f"},
    {0.01, "%.5f"},  {0.001, "%.6f"}, {0.0001, "%.7f"},
};
constexpr const char* kSmallestFormat = "%.8f";

const char* ChooseFormat(int unitCode, double value) {
  switch (unitCode) {
    case DewFrostPointC:
    case DewPointC:
    case DewFrostPointF:
    case DewPointF:
      return "%.1f";
    case RelativeHumidity:
      return "%.2f";
    default:
      for (const MagnitudeFormat& row : kMagnitudeFormats) {
        if (value > row.above) return row.format;
      }
      return kSmallestFormat;
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
  const int length =
      std::snprintf(formatted, sizeof formatted, ChooseFormat(unitCode, value), value);
  if (length < 0 || static_cast<size_t>(length) >= sizeof formatted) {
    CopyBounded(text, size, kOutOfRangeText);
    return;
  }
  // From the last character back: drop a "0" that follows another "0", never touching the
  // first three characters ("0.0" stays).
  int last = length - 1;
  while (last > 2 && formatted[last] == '0' && formatted[last - 1] == '0') --last;
  formatted[last + 1] = '\0';
  // Digits cut off would show another number: a reading too long for the area is no reading.
  CopyBounded(text, size, static_cast<size_t>(last + 1) < size ? formatted : kOutOfRangeText);
}
