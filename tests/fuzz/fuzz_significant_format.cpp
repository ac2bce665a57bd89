// Fuzz target: FormatSignificant with any double, any digit count and small areas.
//
// Input: 8 bytes of a double (any bit pattern), one byte for the digit count (-8..19 reaches
// the clamping at both ends, most values fall in 1..17), one byte for a second, small area.
//
// Properties:
//  - in an area of 64 bytes and in the small one (0..40 bytes) the text is terminated within
//    the area and nothing is written after it (guard bytes); the small area holds the longest
//    prefix of the full text that fits, and an area of 0 bytes is not touched;
//  - infinite and NaN values give kNotANumberText, which cannot be read as a number;
//  - finite values: the text has the form of its value's form (exponent form exactly when the
//    decimal exponent E of the 17-digit string is below -1 or above N - 1; three exponent
//    digits; in fixed form N - 1 - E fraction digits at most, no point when none are due; no
//    trailing fraction zeros; the point kept), ScanNumber reads all of it, and the number read
//    is the value rounded to N significant digits.
//
// The rounding reference. The formatter rounds the 17-digit string of the value (itself
// rounded to nearest) at N digits, halves upwards. That can differ from rounding the exact
// binary value once at N digits (printf's "%.*e"), in two cases only, and both leave the
// digits N+1..17 of the 17-digit string as "5" followed by zeros:
//  - the exact value lies just below a half at digit N, and its 17-digit rounding reaches the
//    half exactly, which the formatter then rounds up;
//  - the exact value is a half (exactly representable), which printf rounds to even and the
//    formatter rounds up.
// So the number read must equal the correctly rounded reference, or, only when the 17-digit
// tail is "50...0", the reference rounded from the 17-digit string upwards.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/number_text.h"
#include "core/significant_format.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ruruzir;

namespace {

constexpr size_t kFullArea = 64;

// The 17 significant digits of |value| rounded to nearest, and its decimal exponent.
void SeventeenDigits(double value, char digits[18], int* exponent) {
  char text[40];
  std::snprintf(text, sizeof text, "%.16e", std::fabs(value));
  digits[0] = text[0];
  std::memcpy(digits + 1, text + 2, 16);
  digits[17] = '\0';
  *exponent = std::atoi(std::strchr(text, 'e') + 1);
  if (value == 0.0) *exponent = -1;
}

// The value rounded once to n significant digits, by the C library.
double CorrectlyRounded(double value, int n) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", n - 1, value);
  return std::strtod(text, nullptr);
}

// The value's 17-digit string rounded upwards at n digits (n < 17), read back.
double RoundedFromSeventeen(double value, const char digits[18], int exponent, int n) {
  std::string kept(digits, n);
  int i = n - 1;
  while (i >= 0 && kept[i] == '9') kept[i--] = '0';
  int power = exponent + 1;  // the kept digits stand for 0.ddd x 10^power
  if (i < 0) {
    kept.insert(kept.begin(), '1');
    ++power;
  } else {
    ++kept[i];
  }
  const std::string text =
      std::string(value < 0 ? "-" : "") + "0." + kept + "e" + std::to_string(power);
  return std::strtod(text.c_str(), nullptr);
}

bool TailIsHalf(const char digits[18], int n) {
  if (n >= 17 || digits[n] != '5') return false;
  for (int i = n + 1; i < 17; ++i) {
    if (digits[i] != '0') return false;
  }
  return true;
}

void CheckForm(double value, int n, const char* text) {
  char digits[18];
  int exponent;
  SeventeenDigits(value, digits, &exponent);
  const char* p = text;
  if (value < 0) {
    FUZZ_CHECK(*p == '-', "%.17g: \"%s\" lacks the sign", value, text);
    ++p;
  }
  const bool exponentForm = exponent < -1 || exponent > n - 1;
  const char* point = std::strchr(text, '.');
  const char* e = std::strchr(text, 'e');
  FUZZ_CHECK((e != nullptr) == exponentForm, "%.17g (E %d) with N %d: \"%s\" in the wrong form",
             value, exponent, n, text);
  if (exponentForm) {
    FUZZ_CHECK(FuzzDigit(p[0]) && p[0] != '0' && p[1] == '.', "%.17g N %d: \"%s\"", value, n, text);
    const long fraction = e - (p + 2);
    FUZZ_CHECK(fraction <= n - 1 && (fraction == 0 || e[-1] != '0'),
               "%.17g N %d: \"%s\" has wrong fraction digits", value, n, text);
    FUZZ_CHECK((e[1] == '+' || e[1] == '-') && FuzzDigit(e[2]) && FuzzDigit(e[3]) &&
                   FuzzDigit(e[4]) && e[5] == '\0',
               "%.17g N %d: \"%s\" has a wrong exponent", value, n, text);
  } else {
    const int due = n - 1 - exponent;
    const char* q = p;
    while (FuzzDigit(*q)) ++q;
    FUZZ_CHECK(q > p, "%.17g N %d: \"%s\" has no integer digit", value, n, text);
    if (due > 0) {
      FUZZ_CHECK(point == q, "%.17g N %d: \"%s\" lacks the point", value, n, text);
      const char* r = q + 1;
      while (FuzzDigit(*r)) ++r;
      FUZZ_CHECK(*r == '\0' && r - (q + 1) <= due && (r == q + 1 || r[-1] != '0'),
                 "%.17g N %d: \"%s\" has wrong fraction digits", value, n, text);
    } else {
      FUZZ_CHECK(*q == '\0', "%.17g N %d: \"%s\" has a point or more", value, n, text);
    }
  }

  // It reads back, completely, as the value rounded to n digits.
  double read = 0.0;
  const char* end = ScanNumber(text, &read);
  FUZZ_CHECK(end && *end == '\0', "%.17g N %d: \"%s\" does not read completely", value, n, text);
  const double reference = CorrectlyRounded(value, n);
  if (read == reference) return;
  FUZZ_CHECK(TailIsHalf(digits, n) && read == RoundedFromSeventeen(value, digits, exponent, n),
             "%.17g N %d: \"%s\" reads %.17g, rounded value %.17g (17 digits %s)", value, n, text,
             read, reference, digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const int digits = size > 8 ? data[8] % 28 - 8 : 5;
  const size_t smallSize = size > 9 ? data[9] % 41 : 0;
  const int n = digits < 1 ? 1 : digits > 17 ? 17 : digits;

  GuardedArea full(kFullArea);
  FormatSignificant(value, digits, full.get(), full.size());
  FUZZ_CHECK(full.Terminated() && full.GuardsIntact(), "%.17g N %d: area of %zu overrun", value,
             digits, kFullArea);
  const char* text = full.get();
  if (std::isfinite(value)) {
    CheckForm(value, n, text);
  } else {
    FUZZ_CHECK(std::strcmp(text, kNotANumberText) == 0, "%.17g: \"%s\"", value, text);
    double read;
    FUZZ_CHECK(ScanNumber(text, &read) == nullptr, "\"%s\" reads as a number", text);
  }

  GuardedArea small(smallSize);
  FormatSignificant(value, digits, small.get(), small.size());
  FUZZ_CHECK(small.GuardsIntact(), "%.17g N %d: area of %zu overrun", value, digits, smallSize);
  if (smallSize == 0) {
    FUZZ_CHECK(small.Untouched(), "%.17g N %d: area of 0 bytes written", value, digits);
  } else {
    const std::string expected = std::string(text).substr(0, smallSize - 1);
    FUZZ_CHECK(small.Terminated() && expected == small.get(),
               "%.17g N %d: area of %zu holds \"%.*s\", expected \"%s\"", value, digits, smallSize,
               static_cast<int>(smallSize), small.get(), expected.c_str());
  }
  return 0;
}
