// Rounding to a decimal place and to single precision.
#include "physics/rounding.h"

#include <cfloat>
#include <cmath>

namespace ruruzir {

double RoundDecimal(double value, int place) {
  const double scale = std::pow(10.0, place);
  const double quotient = value / scale;
  double whole = std::floor(quotient);
  if (quotient - whole >= 0.5) whole += 1.0;
  return scale * whole;
}

float ToSingle(double value) {
  // Halfway between FLT_MAX and the next power of two: from here on the float is infinite.
  constexpr double kFloatOverflow = 3.4028235677973366e38;
  if (value >= kFloatOverflow) return HUGE_VALF;
  if (value <= -kFloatOverflow) return -HUGE_VALF;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace ruruzir
