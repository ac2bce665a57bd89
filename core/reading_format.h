// Formatting of results by moisture unit and magnitude.
#pragma once

#include <cstddef>

namespace ruruzir {

// The room a result text needs, the terminator included: the window's result box, the library's
// text area and every front end's reading of a result.
constexpr size_t kResultTextSize = 100;

// Writes the reading of `value` in moisture unit `unitCode` into `text` (room for `size`
// bytes): a fixed number of decimals chosen by unit and magnitude, runs of trailing zeros
// shrunk to one. A value that is not finite, or whose digits do not fit, gives
// kOutOfRangeText.
void FormatReading(int unitCode, char* text, size_t size, double value);

// The number ScanNumber reads from FormatReading's text of the single-precision `value`,
// without the text: false (and the text must be made) where `value` is not finite or more
// than 15 digits would be shown.
bool ShownReadingValue(int unitCode, float value, double* shown);

extern const char kOutOfRangeText[];  // "out of range"

}  // namespace ruruzir
