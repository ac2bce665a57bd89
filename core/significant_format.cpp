// Significant-digit formatting for edit boxes. The digits come from a 17-digit conversion;
// rounding, form and exponent are composed here, so the text is the same on every C runtime
// (whose exponent widths differ).
#include "core/significant_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ruruzir {

const char kNotANumberText[] = "N/A";

namespace {

constexpr int kSourceDigits = 17;

// Appends characters to a bounded area, always leaving it terminated.
struct TextArea {
  char* text;
  size_t size;
  size_t length;
};

void Append(TextArea& area, char c) {
  if (area.size == 0) return;
  if (area.length + 1 < area.size) area.text[area.length++] = c;
  area.text[area.length] = '\0';
}

void AppendText(TextArea& area, const char* text) {
  while (*text) Append(area, *text++);
}

// The value's 17 significant digits, rounded to nearest, and its decimal exponent.
void DecimalDigits(double magnitude, char digits[kSourceDigits], int* exponent) {
  if (magnitude == 0.0) {
    for (int i = 0; i < kSourceDigits; ++i) digits[i] = '0';
    *exponent = -1;
    return;
  }
  char converted[40];  // "d.dddddddddddddddde+ddd"
  std::snprintf(converted, sizeof converted, "%.16e", magnitude);
  digits[0] = converted[0];
  for (int i = 1; i < kSourceDigits; ++i) digits[i] = converted[i + 1];
  *exponent = std::atoi(converted + kSourceDigits + 2);
}

// Keeps the first `kept` digits, rounding on the next one; returns true when the rounding
// carried out of the first digit (the kept digits are then "100...").
bool RoundDigits(char digits[kSourceDigits], int kept) {
  if (kept >= kSourceDigits || digits[kept] < '5') return false;
  for (int i = kept - 1; i >= 0; --i) {
    if (digits[i] < '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  // Every kept digit was a nine: the number becomes 1 followed by zeros, one place longer.
  for (int i = kept; i > 0; --i) digits[i] = '0';
  digits[0] = '1';
  return true;
}

// Removes the run of zeros that ends at `end` (exclusive), stopping at the point.
size_t TrimZeros(const char* text, size_t end) {
  while (end > 0 && text[end - 1] == '0') --end;
  return end;
}

}  // namespace

void FormatSignificant(double value, int digits, char* text, size_t size) {
  TextArea area{text, size, 0};
  if (size > 0) text[0] = '\0';
  if (!std::isfinite(value)) {
    AppendText(area, kNotANumberText);
    return;
  }
  const int n = digits < 1 ? 1 : digits > kSourceDigits ? kSourceDigits : digits;

  char d[kSourceDigits + 1];
  int exponent;
  DecimalDigits(std::fabs(value), d, &exponent);
  const bool exponentForm = exponent < -1 || exponent > n - 1;

  char body[64];  // digits, point and exponent before trimming
  TextArea built{body, sizeof body, 0};
  if (value < 0.0) Append(built, '-');
  if (exponentForm) {
    if (RoundDigits(d, n)) ++exponent;
    Append(built, d[0]);
    Append(built, '.');
    for (int i = 1; i < n; ++i) Append(built, d[i]);
    const size_t mantissaEnd = TrimZeros(body, built.length);
    built.length = mantissaEnd;
    Append(built, 'e');
    Append(built, exponent < 0 ? '-' : '+');
    const int magnitude = std::abs(exponent);
    Append(built, static_cast<char>('0' + magnitude / 100 % 10));
    Append(built, static_cast<char>('0' + magnitude / 10 % 10));
    Append(built, static_cast<char>('0' + magnitude % 10));
  } else {
    const int fractionDigits = n - 1 - exponent;
    int integerDigits = exponent + 1;  // 0 when the value is below 1
    if (RoundDigits(d, n)) ++integerDigits;
    // The kept digits hold integerDigits integer digits (with a carry, one more than before)
    // followed by the fraction digits.
    if (integerDigits == 0) Append(built, '0');
    for (int i = 0; i < integerDigits; ++i) Append(built, d[i]);
    if (fractionDigits > 0) {
      Append(built, '.');
      for (int i = 0; i < fractionDigits; ++i) Append(built, d[integerDigits + i]);
      built.length = TrimZeros(body, built.length);
      body[built.length] = '\0';
    }
  }
  AppendText(area, body);
}

}  // namespace ruruzir
