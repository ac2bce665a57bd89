// Number reading shared by edit boxes and settings texts, identical on every C runtime.
#include "core/number_text.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/temperature_entry.h"
#include "physics/rounding.h"

namespace ruruzir {

namespace {

// A double is rounded correctly from its first 768 significant digits as long as any nonzero
// digit after them is remembered: one more "1" stands for all of them.
constexpr int kMaxMantissaDigits = 769;
constexpr long kExponentLimit = 100000;  // beyond this every double has over- or underflowed

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

long Saturate(long value) {
  return value > kExponentLimit    ? kExponentLimit
         : value < -kExponentLimit ? -kExponentLimit
                                   : value;
}

// The number is rebuilt as "-d.ddd...e+N" from its significant digits and converted by strtod,
// so that only plain decimal forms ever reach the C runtime. With `commaIsPoint` a comma may
// stand for the decimal point.
const char* ScanDecimal(const char* text, double* value, bool commaIsPoint) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';

  char digits[kMaxMantissaDigits + 1];
  int digitCount = 0;
  long pointShift = 0;  // power of ten of the first kept digit, counted from the units place
  bool anyDigit = false;
  bool seenPoint = false;
  bool significant = false;
  for (;; ++p) {
    if (IsDigit(*p)) {
      anyDigit = true;
      if (*p != '0') significant = true;
      if (significant) {
        if (digitCount < kMaxMantissaDigits - 1) {
          digits[digitCount++] = *p;
        } else if (*p != '0') {
          digits[kMaxMantissaDigits - 1] = '1';
          digitCount = kMaxMantissaDigits;
        }
        if (!seenPoint) pointShift = Saturate(pointShift + 1);
      } else if (seenPoint) {
        pointShift = Saturate(pointShift - 1);
      }
    } else if ((*p == '.' || (commaIsPoint && *p == ',')) && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return nullptr;

  long exponent = 0;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool negativeExponent = false;
    if (*q == '+' || *q == '-') negativeExponent = *q++ == '-';
    if (IsDigit(*q)) {
      while (IsDigit(*q)) exponent = Saturate(exponent * 10 + (*q++ - '0'));
      if (negativeExponent) exponent = -exponent;
      p = q;
    }
  }

  if (digitCount == 0) {
    *value = negative ? -0.0 : 0.0;
    return p;
  }
  // digits d1 d2 ... dn stand for 0.d1d2...dn x 10^pointShift, that is the integer d1d2...dn
  // times 10^(pointShift + exponent - n). With at most 15 digits the integer and a power of ten
  // up to 10^22 are exact doubles, and one multiplication or division rounds correctly: the
  // same double strtod gives, without its work.
  const long scale = Saturate(pointShift + exponent) - digitCount;
  if (digitCount <= 15 && scale >= -22 && scale <= 22) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    long long integer = 0;
    for (int i = 0; i < digitCount; ++i) integer = integer * 10 + (digits[i] - '0');
    const double mantissa = static_cast<double>(integer);
    const double magnitude =
        scale < 0 ? mantissa / kPowersOfTen[-scale] : mantissa * kPowersOfTen[scale];
    *value = negative ? -magnitude : magnitude;
    return p;
  }
  digits[digitCount] = '\0';
  char rebuilt[kMaxMantissaDigits + 32];
  std::snprintf(rebuilt, sizeof rebuilt, "%s0.%se%ld", negative ? "-" : "", digits,
                Saturate(pointShift + exponent));
  *value = std::strtod(rebuilt, nullptr);
  return p;
}

}  // namespace

const char* ScanNumber(const char* text, double* value) {
  return ScanDecimal(text, value, false);
}

const char* ScanTypedNumber(const char* text, double* value) {
  return ScanDecimal(text, value, true);
}

const char* ScanInteger(const char* text, int* value) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!IsDigit(*p)) return nullptr;
  long long magnitude = 0;
  while (IsDigit(*p)) {
    if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (*p - '0');
    ++p;
  }
  const long long signedValue = negative ? -magnitude : magnitude;
  *value = signedValue > INT_MAX   ? INT_MAX
           : signedValue < INT_MIN ? INT_MIN
                                   : static_cast<int>(signedValue);
  return p;
}

double ParseNumber(const char* text) {
  double value = 0.0;
  return ScanTypedNumber(text, &value) ? value : 0.0;
}

namespace {

const char* SkipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// True when `text` begins with `word` (lower-case letters), in any case.
bool StartsWithLetters(const char* text, const char* word) {
  for (; *word; ++text, ++word) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != *word) return false;
  }
  return true;
}

// Skips a "deg" or degree sign (Windows-1252 or UTF-8) before a C or F.
const char* SkipDegree(const char* p) {
  if (StartsWithLetters(p, "deg")) return p + 3;
  if (static_cast<unsigned char>(p[0]) == 0xB0) return p + 1;
  if (static_cast<unsigned char>(p[0]) == 0xC2 && static_cast<unsigned char>(p[1]) == 0xB0) {
    return p + 2;
  }
  return p;
}

// The number at the start of `text`, or nullptr with the outcome for the whole text.
const char* ScanLeading(const char* text, bool decimalComma, double* value, ReadOutcome* outcome) {
  const char* end = decimalComma ? ScanTypedNumber(text, value) : ScanNumber(text, value);
  if (!end) *outcome = *SkipBlanks(text) == '\0' ? ReadOutcome::Blank : ReadOutcome::NotANumber;
  return end;
}

}  // namespace

ReadOutcome ReadWholeNumber(const char* text, bool decimalComma, double* value) {
  ReadOutcome outcome;
  double number;
  const char* end = ScanLeading(text, decimalComma, &number, &outcome);
  if (!end) return outcome;
  if (*SkipBlanks(end) != '\0') return ReadOutcome::NotANumber;
  *value = number;
  return ReadOutcome::Read;
}

ReadOutcome ReadTemperature(const char* text, bool decimalComma, double* celsius,
                            bool* fahrenheit) {
  ReadOutcome outcome;
  double number;
  const char* end = ScanLeading(text, decimalComma, &number, &outcome);
  if (!end) return outcome;
  end = SkipBlanks(end);
  const char* unit = SkipDegree(end);
  const bool inFahrenheit = *unit == 'F' || *unit == 'f';
  if (*unit == 'C' || *unit == 'c' || inFahrenheit) {
    end = unit + 1;
  } else if (unit != end) {
    return ReadOutcome::NotANumber;  // a degree without its scale
  }
  if (*SkipBlanks(end) != '\0') return ReadOutcome::NotANumber;
  *celsius = ToSingle(inFahrenheit ? CelsiusFromFahrenheit(number) : number);
  *fahrenheit = inFahrenheit;
  return ReadOutcome::Read;
}

}  // namespace ruruzir
