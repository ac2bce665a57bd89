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

}  // namespace ruruzir
