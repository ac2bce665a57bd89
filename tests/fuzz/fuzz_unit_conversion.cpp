// Fuzz target: ToPpmV and FromPpmV with arbitrary unit codes, doubles, density media and
// physics options.
//
// Every double is either any bit pattern (NaN, infinities, subnormals included) or a value in
// a physically sensible range, chosen by the input; codes, media and options are either any
// int or one of the real ones.
//
// Properties:
//  - no crash and no undefined behaviour (built with AddressSanitizer and UBSan), and every
//    call returns (the solvers' loops end);
//  - a code outside 0..10 returns the total pressure unchanged, both ways;
//  - dew and frost points (codes 0..3) are NO_SOLUTION or lie within the solver's reach, the
//    bisection from -40 degC with steps 50, 25, ... : -140..60 degC (-220..140 degF), rounded
//    to tenths of a degree Celsius;
//  - round trips of the units without a solver, 4, 5, 8, 9 and 10: FromPpmV(ToPpmV(v)) = v
//    within a relative 1e-12, asserted only where the arithmetic is well conditioned: finite
//    parameters; a water vapour pressure e between 1e-15 and 0.9 times the total pressure P
//    (P from 1e-6 to 1e9 mbar), so that P - e and ppmV + 1e6 lose at most a factor 10 of
//    precision; a positive saturation pressure (9), Henry's constant (10) or molecular weight
//    (5) far from underflow and overflow. The few roundings on that path stay below 1e-14.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/calculator_values.h"
#include "physics/no_solution.h"
#include "physics/saturation_pressure.h"
#include "physics/unit_conversion.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ruruzir;

namespace {

constexpr double kRoundTripTolerance = 1e-12;

// Any bit pattern, or a value between lo and hi, uniform or spread over the decades.
double NextDouble(FuzzedDataProvider& provider, double lo, double hi) {
  switch (provider.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: {
      const uint64_t bits = provider.ConsumeIntegral<uint64_t>();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
    case 1:
      return provider.ConsumeFloatingPointInRange<double>(lo, hi);
    default: {
      // A magnitude from 1e-15 to 1e9, with either sign when the range allows.
      const double magnitude = std::pow(10.0, provider.ConsumeFloatingPointInRange(-15.0, 9.0));
      return lo < 0 && provider.ConsumeBool() ? -magnitude : magnitude;
    }
  }
}

int NextChoice(FuzzedDataProvider& provider, int first, int last) {
  return provider.ConsumeBool() ? provider.ConsumeIntegralInRange<int>(first, last)
                                : provider.ConsumeIntegral<int>();
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The water vapour pressure e at P is in the range where the round trip is well conditioned.
bool WellConditioned(double e, double p) {
  return std::isfinite(e) && std::isfinite(p) && p >= 1e-6 && p <= 1e9 && e >= 1e-15 * p &&
         e <= 0.9 * p;
}

bool Moderate(double x) {
  return std::isfinite(x) && std::fabs(x) >= 1e-100 && std::fabs(x) <= 1e100;
}

void CheckDewPoint(int unit, double result) {
  if (result == NO_SOLUTION) return;
  const bool fahrenheit = unit == 2 || unit == 3;
  const double celsius = fahrenheit ? (result - 32.0) / 1.8 : result;
  FUZZ_CHECK(celsius >= -140.0 - 1e-9 && celsius <= 60.0 + 1e-9,
             "unit %d: dew point %.17g outside the solver's reach", unit, result);
  const double tenths = celsius * 10.0;
  FUZZ_CHECK(std::fabs(tenths - std::round(tenths)) < 1e-6,
             "unit %d: dew point %.17g not rounded to tenths of a degree Celsius", unit, result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const MoistureModel model{
      static_cast<Formulation>(provider.ConsumeIntegralInRange<int>(0, 3)),
      static_cast<EnhancementFactor>(provider.ConsumeIntegralInRange<int>(0, 2))};
  const int unit = NextChoice(provider, -1, 11);
  const double value = NextDouble(provider, -200.0, 1e6);
  const double totalPressure = NextDouble(provider, 1e-3, 1e6);
  const double ambient = NextDouble(provider, -100.0, 200.0);
  const double molecularWeight = NextDouble(provider, 1.0, 500.0);
  const double henry = NextDouble(provider, 1e-3, 1e3);
  const double prevailing = NextDouble(provider, -100.0, 200.0);
  const int medium = NextChoice(provider, kMediumWaterVapour, kMediumNaturalGas);
  const SideParameters side{ambient, molecularWeight, henry, prevailing,
                            DensityMediumFromChoice(medium)};
  const double referencePressure = NextDouble(provider, 1e-3, 1e6);
  const double ppmVInput = NextDouble(provider, 0.0, 1e6);

  const double ppmV =
      ToPpmV(static_cast<MoistureUnitCode>(unit), value, totalPressure, side, model);
  const double direct = FromPpmV(static_cast<MoistureUnitCode>(unit), ppmVInput, totalPressure,
                                 side, referencePressure, model);
  const double back = FromPpmV(static_cast<MoistureUnitCode>(unit), ppmV, totalPressure, side,
                               referencePressure, model);

  if (unit < 0 || unit > 10) {
    FUZZ_CHECK(SameBits(ppmV, totalPressure) && SameBits(direct, totalPressure),
               "unit %d: %.17g and %.17g instead of the total pressure %.17g", unit, ppmV, direct,
               totalPressure);
    return 0;
  }
  if (unit <= 3) {
    CheckDewPoint(unit, direct);
    CheckDewPoint(unit, back);
    return 0;
  }

  // The round trips, where they must hold.
  double e = NAN;  // the water vapour pressure the value stands for
  bool asserted = false;
  switch (unit) {
    case 4:
      FUZZ_CHECK(SameBits(ppmV, value) && SameBits(back, value), "ppmV %.17g came back as %.17g",
                 value, back);
      return 0;
    case 5:
      asserted = Moderate(value) && Moderate(molecularWeight) && Moderate(ppmV);
      break;
    case 8:
      e = value;
      asserted = WellConditioned(e, totalPressure);
      break;
    case 9: {
      const double saturation = SaturationPressureWater(ambient, totalPressure, model);
      e = saturation * value * 0.01;
      asserted = value > 0 && Moderate(saturation) && WellConditioned(e, totalPressure);
      break;
    }
    case 10:
      e = value / henry;
      asserted = henry > 0 && Moderate(henry) && WellConditioned(e, totalPressure);
      break;
    default:
      break;
  }
  if (asserted) {
    FUZZ_CHECK(std::fabs(back - value) <= kRoundTripTolerance * std::fabs(value),
               "unit %d: %.17g -> %.17g ppmV -> %.17g (P %.17g, ambient %.17g, M %.17g, K %.17g, "
               "model %d %d)",
               unit, value, ppmV, back, totalPressure, ambient, molecularWeight, henry,
               static_cast<int>(model.formulation), static_cast<int>(model.enhancement));
  }
  return 0;
}
