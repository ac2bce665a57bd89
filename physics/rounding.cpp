// Rounding to a decimal place and to single precision.
#include "physics/rounding.h"

#include <cfloat>
#include <cmath>

namespace ruruzir {

namespace {

// 10^-22 to 10^22 as the C library's pow gives them (the nearest doubles, checked by the tests):
// a per-row pressure is rounded once per element, and pow costs more than the rest of it.
constexpr double kPowersOfTen[] = {1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14,
                                   1e-13, 1e-12, 1e-11, 1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,
                                   1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,   1e2,   1e3,   1e4,
                                   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,
                                   1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22};

}  // namespace

double PowerOfTen(int place) {
#ifdef _WIN32
  // The Windows C library's pow is not always the nearest double (10^-1 is not 0.1 there), and
  // the window has always rounded with it: keep its numbers.
  return std::pow(10.0, place);
#else
  return place >= -22 && place <= 22 ? kPowersOfTen[place + 22] : std::pow(10.0, place);
#endif
}

double RoundDecimal(double value, int place) {
  const double scale = PowerOfTen(place);
  const double quotient = value / scale;
  double whole = std::floor(quotient);
  if (quotient - whole >= 0.5) whole += 1.0;
  return scale * whole;
}

}  // namespace ruruzir
