// The two roundings the calculator applies between its steps: to a decimal place, and to the
// single precision in which it holds values.
#pragma once

namespace ruruzir {

// 10^place, the same double as std::pow(10.0, place).
double PowerOfTen(int place);

// Rounds to a multiple of 10^place; halves round upwards, also for negative values.
double RoundDecimal(double value, int place);

// A double held as a 32-bit float, rounded to nearest; magnitudes beyond the float range
// become infinities instead of being undefined.
float ToSingle(double value);

}  // namespace ruruzir
