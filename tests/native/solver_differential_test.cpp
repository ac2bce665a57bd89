// The dew/frost point solvers against the plain bisection, on random and edge inputs: every
// result must be the same double. 250000 inputs per formulation by default; the environment
// variable RURUZIR_SOLVER_DIFF_COUNT sets another count per formulation (scripts/solver-diff.sh).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "core/calculator_values.h"
#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"
#include "tests/reference_bisection.h"

using namespace ruruzir;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

uint64_t InputsPerFormulation() {
  const char* text = std::getenv("RURUZIR_SOLVER_DIFF_COUNT");
  if (text == nullptr || *text == '\0') return 250000;
  return std::strtoull(text, nullptr, 10);
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

class Inputs {
 public:
  explicit Inputs(uint64_t seed) : random_(seed) {}

  int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }
  double Uniform(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random_);
  }
  double LogUniform(double lo, double hi) {
    return std::pow(10.0, Uniform(std::log10(lo), std::log10(hi)));
  }
  double AnyBits() {
    const uint64_t bits = random_();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  // `value` moved by up to four units in the last place either way.
  double Ulps(double value) {
    const int moves = Below(9) - 4;
    for (int i = 0; i < moves; ++i) value = std::nextafter(value, kInf);
    for (int i = 0; i > moves; --i) value = std::nextafter(value, -kInf);
    return value;
  }
  // A temperature the bisection tests: an estimate on one of its paths, plus or minus 0.01.
  double TestedTemperature() {
    double estimate = -40.0;
    double step = 100.0;
    const int moves = Below(15);
    for (int i = 0; i < moves; ++i) {
      step *= 0.5;
      estimate += Below(2) == 0 ? step : -step;
    }
    return Below(2) == 0 ? estimate + 0.01 : estimate - 0.01;
  }

  int Formulation(int named) {
    switch (Below(20)) {
      case 0:
        return 0x10000 + named;  // the options are read as their low 16 bits
      case 1:
        return named == kFormulationMagnus ? Below(1000)
                                           : named;  // any other value selects kFormulationMagnus
      default:
        return named;
    }
  }
  int Factor() {
    const int factors[] = {kEnhancementNone, kEnhancementBogel, kEnhancementGreenspan, 0,
                           0x20000 + kEnhancementGreenspan};
    return factors[Below(10) < 9 ? Below(3) : 3 + Below(2)];
  }

  double TotalPressure() {
    const double edges[] = {5.0, 20000.0, 10, 30, 100, 300, 1000, 3000, 10000, 4.99, 20000.01};
    const double odd[] = {0.0, -0.0, -1013.25, kNaN, kInf, -kInf, DBL_MIN, DBL_MAX, 1e-300};
    const int pick = Below(100);
    if (pick < 45) return 1013.25;
    if (pick < 70) return LogUniform(1.0, 1e5);
    if (pick < 82) return Ulps(edges[Below(11)]);
    if (pick < 92) return LogUniform(1e-6, 1e12);
    if (pick < 97) return odd[Below(9)];
    return AnyBits();
  }

  double PartialPressure(double (*saturation)(double, double, const MoistureModel&),
                         double totalPressure, const MoistureModel& model) {
    const double odd[] = {0.0, -0.0, -1.0, kNaN, kInf, -kInf, 4.9e-324, DBL_MAX, 1e300, 1e-300};
    const int pick = Below(100);
    if (pick < 25) return LogUniform(1e-12, 1e3);
    if (pick < 55) return Ulps(saturation(TestedTemperature(), totalPressure, model));
    if (pick < 70) return saturation(Uniform(-145.0, 65.0), totalPressure, model);
    if (pick < 80) return Ulps(saturation(Uniform(-0.4, 0.4), totalPressure, model));
    if (pick < 88) return Ulps(saturation(Uniform(-141.0, -100.0), totalPressure, model));
    if (pick < 94) return odd[Below(10)];
    return AnyBits();
  }

 private:
  std::mt19937_64 random_;
};

class SolverDifferential : public ::testing::TestWithParam<int> {};

TEST_P(SolverDifferential, SameResultsAsThePlainBisection) {
  const int named = GetParam();
  Inputs inputs(static_cast<uint64_t>(named) * 7919u);
  const uint64_t count = InputsPerFormulation();
  uint64_t failures = 0;
  uint64_t answers = 0;
  for (uint64_t i = 0; i < count; ++i) {
    const int formulation = inputs.Formulation(named);
    const int factor = inputs.Factor();
    const MoistureModel model = ModelFromStoredOptions(formulation, factor);
    const bool frost = inputs.Below(2) == 0;
    double (*saturation)(double, double, const MoistureModel&) =
        frost ? SaturationPressureIce : SaturationPressureWater;
    const double p = inputs.TotalPressure();
    const double e = inputs.PartialPressure(saturation, p, model);
    const double expected = ReferenceBisection(saturation, e, p, model);
    const double actual = frost ? SolveDewFrostPoint(e, p, model) : SolveDewPoint(e, p, model);
    if (expected != NO_SOLUTION) ++answers;
    if (!SameBits(actual, expected)) {
      ADD_FAILURE() << (frost ? "SolveDewFrostPoint" : "SolveDewPoint") << " e "
                    << ::testing::PrintToString(e) << " P " << ::testing::PrintToString(p)
                    << " options " << formulation << " " << factor << ": " << actual
                    << " instead of " << expected;
      if (++failures == 10) break;
    }
  }
  std::printf("%llu inputs compared, %llu with an answer\n", static_cast<unsigned long long>(count),
              static_cast<unsigned long long>(answers));
  // Most inputs must have an answer, or the comparison says little.
  EXPECT_GT(answers, count / 3);
}

INSTANTIATE_TEST_SUITE_P(Formulations, SolverDifferential,
                         ::testing::Values(kFormulationHylandWexler, kFormulationGoffGratch,
                                           kFormulationSonntag, kFormulationMagnus),
                         [](const ::testing::TestParamInfo<int>& info) {
                           switch (info.param) {
                             case kFormulationHylandWexler:
                               return "HylandWexler";
                             case kFormulationGoffGratch:
                               return "GoffGratch";
                             case kFormulationSonntag:
                               return "Sonntag";
                             default:
                               return "Magnus";
                           }
                         });

}  // namespace
