// The result formatting and the number reading take fast paths (std::to_chars, exact
// power-of-ten arithmetic) instead of snprintf and strtod. These tests hold them against the
// C runtime's own conversions over many values, on each build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/number_text.h"
#include "core/reading_format.h"

using namespace ruruzir;

namespace {

// The formatting as it was written with snprintf: "%.Nf" chosen by unit and magnitude, runs of
// trailing zeros shrunk to one, "out of range" for what is not finite or does not fit.
std::string SnprintfReading(int unitCode, double value, size_t size) {
  if (!std::isfinite(value)) return std::string("out of range").substr(0, size - 1);
  const char* format = "%.8f";
  if (unitCode >= 0 && unitCode <= 3) {
    format = "%.1f";
  } else if (unitCode == 9) {
    format = "%.2f";
  } else {
    const double bounds[] = {100.0, 10.0, 1.0, 0.1, 0.01, 0.001, 0.0001};
    const char* formats[] = {"%.1f", "%.2f", "%.3f", "%.4f", "%.5f", "%.6f", "%.7f"};
    for (int i = 0; i < 7; ++i) {
      if (value > bounds[i]) {
        format = formats[i];
        break;
      }
    }
  }
  char formatted[400];
  const int length = std::snprintf(formatted, sizeof formatted, format, value);
  int last = length - 1;
  while (last > 2 && formatted[last] == '0' && formatted[last - 1] == '0') --last;
  formatted[last + 1] = '\0';
  if (static_cast<size_t>(last + 1) >= size) return std::string("out of range").substr(0, size - 1);
  return formatted;
}

void ExpectSameReading(int unitCode, double value) {
  char text[100];
  FormatReading(unitCode, text, sizeof text, value);
  ASSERT_EQ(text, SnprintfReading(unitCode, value, sizeof text))
      << "unit " << unitCode << ", value " << std::hexfloat << value;
}

TEST(TextFastPathTest, ReadingsMatchSnprintf) {
  // Results are single-precision values: every float bit pattern class, ties of the decimal
  // places (x.25, x.125, ...), values around each magnitude bound, signed zeros.
  std::mt19937 random(20260);
  std::uniform_int_distribution<uint32_t> bits;
  for (int unit = -1; unit <= 11; ++unit) {
    for (double v : {0.0, -0.0, 0.05, 0.25, -0.25, 0.125, 2.5, 1e-9, 100.0, 10.0, 1.0, 0.1, 0.01,
                     0.001, 0.0001, 99.995, 1e30, -1e30, 3.4028234663852886e38}) {
      ExpectSameReading(unit, v);
    }
    for (int i = 0; i < 20000; ++i) {
      const uint32_t pattern = bits(random);
      float f;
      std::memcpy(&f, &pattern, sizeof f);
      ExpectSameReading(unit, f);
      // Values of everyday size: dew points, ppmV, pressures.
      const double everyday = static_cast<float>(std::ldexp(static_cast<double>(pattern), -20)) -
                              static_cast<float>(2048.0);
      ExpectSameReading(unit, everyday);
      ExpectSameReading(unit, everyday / 1024.0);
    }
  }
}

TEST(TextFastPathTest, NumbersMatchStrtod) {
  std::mt19937 random(1013);
  std::uniform_int_distribution<int> digit(0, 9), count(1, 18), exponent(-30, 30), coin(0, 3);
  for (int i = 0; i < 200000; ++i) {
    std::string text = coin(random) == 0 ? "-" : "";
    const int digits = count(random);
    const int point = coin(random) == 0 ? -1 : digit(random) % (digits + 1);
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + digit(random));
    }
    if (coin(random) == 0) text += "e" + std::to_string(exponent(random));
    double value = 0;
    const char* end = ScanNumber(text.c_str(), &value);
    ASSERT_NE(end, nullptr) << text;
    const double expected = std::strtod(text.c_str(), nullptr);
    ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
  }
}

}  // namespace
