// Fuzz target: number reading of edit boxes and settings texts (ScanNumber, ScanInteger,
// ParseNumber, ToSingle) on arbitrary bytes.
//
// Properties, for the input as a text (up to its first NUL) and for its first 14 characters
// (what an edit box yields):
//  - nothing is read past the terminator (every text lies in a heap block of its own size);
//  - ScanNumber and ScanInteger end exactly where the number grammar (blanks, sign, digits with
//    an optional point, optional exponent) says, or report no number when there is none;
//  - the value equals the C library's correctly rounded reading of the consumed text (exactly
//    while at most 40 significant digits are non-zero, else within one unit in the last place,
//    since only 40 digits are kept), and is never NaN;
//  - ParseNumber of the text equals ParseNumber of the consumed prefix alone and of the prefix
//    followed by a character that cannot continue a number; without a number it is +0;
//  - ScanTypedNumber reads the text as ScanNumber reads it with its first comma made a point,
//    as long as no point stands before that comma;
//  - ScanInteger saturates to the 32-bit range like the C library's reading clamped to it;
//  - ToSingle rounds to nearest and turns magnitudes from halfway between FLT_MAX and 2^128
//    on into infinities.
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/number_text.h"
#include "physics/rounding.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ruruzir;

namespace {

// True when a non-zero mantissa digit stands beyond the 40th significant one.
bool BeyondFortyDigits(const char* begin, const char* end) {
  int significant = 0;
  for (const char* p = begin; p < end && *p != 'e' && *p != 'E'; ++p) {
    if (!FuzzDigit(*p)) continue;
    if (significant == 0 && *p == '0') continue;
    ++significant;
    if (significant > 40 && *p != '0') return true;
  }
  return false;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckToSingle(double value) {
  const float single = ToSingle(value);
  const double magnitude = std::fabs(value);
  // FLT_MAX is 2^128 - 2^104; halfway to 2^128 lies 2^128 - 2^103.
  const double halfway = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  if (magnitude <= FLT_MAX) {
    FUZZ_CHECK(SameBits(single, static_cast<float>(value)), "ToSingle(%.17g) = %.9g", value,
               static_cast<double>(single));
  } else {
    const float expected = (magnitude >= halfway ? HUGE_VALF : FLT_MAX) * (value < 0 ? -1 : 1);
    FUZZ_CHECK(SameBits(single, expected), "ToSingle(%.17g) = %.9g", value,
               static_cast<double>(single));
  }
}

void CheckText(const char* raw, size_t length) {
  const ExactText text(raw, length);
  const char* begin = text.get();
  const char* terminator = begin + std::strlen(begin);

  // ScanNumber
  double value = 12345.0;
  const char* end = ScanNumber(begin, &value);
  const char* expectedEnd = GrammarNumberEnd(begin);
  FUZZ_CHECK(end == expectedEnd, "ScanNumber(\"%s\") ends at %td, the grammar at %td", begin,
             end ? end - begin : -1, expectedEnd ? expectedEnd - begin : -1);
  if (end) {
    FUZZ_CHECK(end > begin && end <= terminator, "ScanNumber(\"%s\") ends outside the text", begin);
    FUZZ_CHECK(!std::isnan(value), "ScanNumber(\"%s\") gives NaN", begin);
    const std::string prefix(begin, end);
    const double reference = std::strtod(prefix.c_str(), nullptr);
    if (BeyondFortyDigits(begin, end)) {
      FUZZ_CHECK(value == reference || std::nextafter(value, reference) == reference,
                 "ScanNumber(\"%s\") = %.17g, strtod %.17g", prefix.c_str(), value, reference);
    } else {
      FUZZ_CHECK(SameBits(value, reference), "ScanNumber(\"%s\") = %.17g, strtod %.17g",
                 prefix.c_str(), value, reference);
    }
    CheckToSingle(value);
  } else {
    FUZZ_CHECK(value == 12345.0, "ScanNumber(\"%s\") wrote a value without a number", begin);
  }

  // ScanTypedNumber: a comma where a point could stand is read as the point.
  std::string pointed(begin);
  const size_t comma = pointed.find(',');
  if (comma != std::string::npos && pointed.find('.') > comma) pointed[comma] = '.';
  const ExactText pointedText(pointed.c_str());
  double pointedValue = 12345.0;
  const char* pointedEnd = ScanNumber(pointedText.get(), &pointedValue);
  double typedValue = 12345.0;
  const char* typedEnd = ScanTypedNumber(begin, &typedValue);
  FUZZ_CHECK(
      (typedEnd ? typedEnd - begin : -1) == (pointedEnd ? pointedEnd - pointedText.get() : -1),
      "ScanTypedNumber(\"%s\") ends elsewhere than ScanNumber(\"%s\")", begin, pointed.c_str());
  FUZZ_CHECK(SameBits(typedValue, pointedValue), "ScanTypedNumber(\"%s\") = %.17g, not %.17g",
             begin, typedValue, pointedValue);

  // ParseNumber: the number ScanTypedNumber reads, and its consumed prefix alone decides.
  const double parsed = ParseNumber(begin);
  FUZZ_CHECK(!std::isnan(parsed), "ParseNumber(\"%s\") gives NaN", begin);
  FUZZ_CHECK(SameBits(parsed, typedEnd ? typedValue : 0.0), "ParseNumber(\"%s\") = %.17g", begin,
             parsed);
  if (end && typedEnd == end) {
    const std::string prefix(begin, end);
    const ExactText alone(prefix.c_str());
    FUZZ_CHECK(SameBits(ParseNumber(alone.get()), parsed), "ParseNumber(\"%s\") != of \"%s\"",
               prefix.c_str(), begin);
    const ExactText ended((prefix + ";").c_str());
    FUZZ_CHECK(SameBits(ParseNumber(ended.get()), parsed), "ParseNumber(\"%s;\") != of \"%s\"",
               prefix.c_str(), begin);
  }

  // ScanInteger
  int integer = 12345;
  const char* integerEnd = ScanInteger(begin, &integer);
  const char* expectedIntegerEnd = GrammarIntegerEnd(begin);
  FUZZ_CHECK(integerEnd == expectedIntegerEnd, "ScanInteger(\"%s\") ends at %td, grammar %td",
             begin, integerEnd ? integerEnd - begin : -1,
             expectedIntegerEnd ? expectedIntegerEnd - begin : -1);
  if (integerEnd) {
    const std::string prefix(begin, integerEnd);
    errno = 0;
    const long long wide = std::strtoll(prefix.c_str(), nullptr, 10);
    const int expected = wide > INT_MAX   ? INT_MAX
                         : wide < INT_MIN ? INT_MIN
                                          : static_cast<int>(wide);
    FUZZ_CHECK(integer == expected, "ScanInteger(\"%s\") = %d, expected %d", prefix.c_str(),
               integer, expected);
  } else {
    FUZZ_CHECK(integer == 12345, "ScanInteger(\"%s\") wrote a value without a number", begin);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const char* raw = reinterpret_cast<const char*>(data);
  const size_t length = strnlen(raw, size);
  // The whole text, as a settings text or a longer one could hold it.
  CheckText(raw, length);
  // An edit box: read with room for 14 characters and the terminator.
  char edit[kEditReadSize];
  const size_t editLength = length < kEditReadSize - 1 ? length : kEditReadSize - 1;
  std::memcpy(edit, raw, editLength);
  edit[editLength] = '\0';
  CheckText(edit, editLength);
  return 0;
}
