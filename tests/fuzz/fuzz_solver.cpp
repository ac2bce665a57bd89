// Fuzz target: SolveDewFrostPoint and SolveDewPoint against the plain bisection they replace
// (physics/reference_bisection.h), with arbitrary partial and total pressures and physics options
// given to them.
//
// Each pressure is either any bit pattern (NaN, infinities, subnormals, negative values
// included), a value spread over the decades, or, for the partial pressure, the saturation
// pressure at a temperature the bisection tests (an estimate on its grid plus or minus 0.01)
// moved by a few units in the last place: there the comparisons are closest. The options are
// any int or one of the named values.
//
// Properties: the solver returns the same double as the bisection, bit for bit (NO_SOLUTION in the
// same cases); its exact root has an answer in the same cases (except where no root can be: a
// partial pressure that is not a positive number, or with a factor a total pressure that is not
// one or lies beneath the partial pressure), and the saturation pressure crosses the partial
// pressure within 1e-9 degC of it, within 0.06 degC of the tenths; no crash and no undefined
// behaviour (AddressSanitizer and UBSan).
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"
#include "tests/fuzz/fuzz_support.h"
#include "physics/reference_bisection.h"

using namespace ruruzir;

namespace {

double AnyDouble(FuzzedDataProvider& provider) {
  const uint64_t bits = provider.ConsumeIntegral<uint64_t>();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double Decades(FuzzedDataProvider& provider, double lowestExponent, double highestExponent) {
  return std::pow(10.0, provider.ConsumeFloatingPointInRange(lowestExponent, highestExponent));
}

// A temperature the bisection tests: -40 moved by halved steps from 50, then plus or minus 0.01.
double TestedTemperature(FuzzedDataProvider& provider) {
  double estimate = -40.0;
  double step = 100.0;
  const int moves = provider.ConsumeIntegralInRange<int>(0, 14);
  for (int i = 0; i < moves; ++i) {
    step *= 0.5;
    estimate += provider.ConsumeBool() ? step : -step;
  }
  return provider.ConsumeBool() ? estimate + 0.01 : estimate - 0.01;
}

double MovedByUlps(double value, int ulps) {
  for (; ulps > 0; --ulps) value = std::nextafter(value, INFINITY);
  for (; ulps < 0; ++ulps) value = std::nextafter(value, -INFINITY);
  return value;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const MoistureModel model{
      static_cast<Formulation>(provider.ConsumeIntegralInRange<int>(0, 3)),
      static_cast<EnhancementFactor>(provider.ConsumeIntegralInRange<int>(0, 2))};
  const bool frost = provider.ConsumeBool();
  double (*saturation)(double, double, const MoistureModel&) =
      frost ? SaturationPressureIce : SaturationPressureWater;

  double totalPressure;
  switch (provider.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      totalPressure = AnyDouble(provider);
      break;
    case 1:
      totalPressure = 1013.25;
      break;
    default:
      totalPressure = Decades(provider, -3.0, 7.0);
  }
  double partialPressure;
  switch (provider.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      partialPressure = AnyDouble(provider);
      break;
    case 1:
      partialPressure = Decades(provider, -12.0, 4.0);
      break;
    default:
      partialPressure = MovedByUlps(saturation(TestedTemperature(provider), totalPressure, model),
                                    provider.ConsumeIntegralInRange<int>(-4, 4));
  }

  const double expected = ReferenceBisection(saturation, partialPressure, totalPressure, model);
  const double actual = frost ? SolveDewFrostPoint(partialPressure, totalPressure, model)
                              : SolveDewPoint(partialPressure, totalPressure, model);
  FUZZ_CHECK(
      SameBits(actual, expected), "%s(%.17g, %.17g) with model %d %d: %.17g, the bisection %.17g",
      frost ? "SolveDewFrostPoint" : "SolveDewPoint", partialPressure, totalPressure,
      static_cast<int>(model.formulation), static_cast<int>(model.enhancement), actual, expected);

  // The array solver: the same answer, alone and beside a neighbour that takes another way.
  const double partials[] = {partialPressure, partialPressure * 1.5, partialPressure};
  const double totals[] = {totalPressure, totalPressure, totalPressure};
  double answers[3];
  SolveDewPointArray(frost, 3, partials, totals, model, DewPointPrecision::Tenths, answers);
  FUZZ_CHECK(SameBits(answers[0], actual) && SameBits(answers[2], actual),
             "the array solver gives %.17g and %.17g for %.17g at %.17g, alone %.17g", answers[0],
             answers[2], partialPressure, totalPressure, actual);

  const DewPointPrecision exactly = DewPointPrecision::Exact;
  const double exact = frost ? SolveDewFrostPoint(partialPressure, totalPressure, model, exactly)
                             : SolveDewPoint(partialPressure, totalPressure, model, exactly);
  const bool noRoot =
      !(partialPressure > 0.0 && partialPressure < INFINITY) ||
      (model.enhancement != EnhancementFactor::None &&
       !(totalPressure > 0.0 && totalPressure < INFINITY && partialPressure <= totalPressure));
  if (noRoot || expected == NO_SOLUTION) {
    FUZZ_CHECK(exact == NO_SOLUTION,
               "exact root %.17g of %.17g at %.17g without one (tenths %.17g)", exact,
               partialPressure, totalPressure, expected);
  } else {
    // The saturation pressure crosses the partial pressure within 1e-9 degC of the root. Near
    // -140 degC with a factor, its change over 2e-9 degC is below its own rounding noise, so the
    // crossing may show either way round there.
    const double under = saturation(exact - 1e-9, totalPressure, model);
    const double over = saturation(exact + 1e-9, totalPressure, model);
    const bool crosses = (under <= partialPressure && partialPressure <= over) ||
                         (over <= partialPressure && partialPressure <= under);
    FUZZ_CHECK(exact != NO_SOLUTION && crosses && std::fabs(exact - expected) <= 0.06 + 1e-9,
               "exact root %.17g of %.17g at %.17g with model %d %d: %.17g .. %.17g, tenths %.17g",
               exact, partialPressure, totalPressure, static_cast<int>(model.formulation),
               static_cast<int>(model.enhancement), under, over, expected);
  }
  return 0;
}
