// Significant-digit formatting of numbers written back into edit boxes: fixed or exponent
// form ("1.e-003", "1.3867e+005"), trailing fraction zeros dropped, the point always kept.
#pragma once

#include <cstddef>

namespace ruruzir {

// Writes `value` with `digits` significant digits (clamped to 1..17) into `text`, which has
// room for `size` bytes; never writes past it. Infinite and NaN values give kNotANumberText.
void FormatSignificant(double value, int digits, char* text, size_t size);

// Shown for values that have no finite digits; it cannot be read back as a number.
extern const char kNotANumberText[];

}  // namespace ruruzir
