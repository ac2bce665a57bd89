// Reading numbers from typed and stored texts, identically on every C runtime: leading blanks,
// an optional sign, digits with an optional point, an optional e/E exponent; the number ends
// at the first character that cannot continue it. No "inf", "nan", hex or "d" exponents.
#pragma once

#include <cstddef>

namespace ruruzir {

// Scans one number at `text`. Returns the character after it, or nullptr when the text does
// not begin (after blanks) with a number; *value is written only on success.
const char* ScanNumber(const char* text, double* value);

// Scans an optionally signed decimal integer after leading blanks; values beyond the 32-bit
// range saturate. Returns the character after it, or nullptr when there is none.
const char* ScanInteger(const char* text, int* value);

// Scans the number a user typed into an edit box: as ScanNumber, except that a comma standing
// where the decimal point could stand is read as the point ("7,5" is 7.5, "7,5,0" is 7.5,
// "7.5,3" is 7.5). The converter and the settings texts keep ScanNumber's reading.
const char* ScanTypedNumber(const char* text, double* value);

// The number an edit box holds: the leading number of its text as ScanTypedNumber reads it,
// or 0 when there is none.
double ParseNumber(const char* text);

// What reading a whole text gave.
enum class ReadOutcome {
  Read,        // one number, nothing but blanks around it
  Blank,       // nothing but blanks
  NotANumber,  // anything else
};

// A whole text as one number, blanks around it allowed: ScanNumber's reading, or with
// `decimalComma` ScanTypedNumber's ("7,5" is 7.5). The converter's options and fields, the
// library's and the page's typed numbers read so.
ReadOutcome ReadWholeNumber(const char* text, bool decimalComma, double* value);

// A temperature as typed: a whole number optionally followed by C or F, with "deg" or a degree
// sign (Windows-1252 or UTF-8) before it ("20", "20C", "68F", "68 degF", "20\xB0C"), into
// *celsius as the dialogs hold it (degF converted with their single-precision constants, the
// result held in single precision), *fahrenheit telling which scale was given.
ReadOutcome ReadTemperature(const char* text, bool decimalComma, double* celsius, bool* fahrenheit);

// Edit boxes are read with room for 14 characters and the terminator.
constexpr int kEditReadSize = 15;

}  // namespace ruruzir
