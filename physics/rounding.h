// The two roundings the calculator applies between its steps: to a decimal place, and to the
// single precision in which it holds values.
#pragma once

#include <cfloat>
#include <cmath>

namespace ruruzir {

// 10^place, the same double as std::pow(10.0, place).
double PowerOfTen(int place);

// Rounds to a multiple of 10^place; halves round upwards, also for negative values.
double RoundDecimal(double value, int place);

// A double held as a 32-bit float, rounded to nearest; magnitudes beyond the float range
// become infinities instead of being undefined. Inline: every step of every conversion holds
// its values so.
inline float ToSingle(double value) {
  // Halfway between FLT_MAX and the next power of two: from here on the float is infinite.
  constexpr double kFloatOverflow = 3.4028235677973366e38;
  if (value >= kFloatOverflow) return HUGE_VALF;
  if (value <= -kFloatOverflow) return -HUGE_VALF;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace ruruzir
