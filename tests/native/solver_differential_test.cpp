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
#include <string>

#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"
#include "physics/reference_bisection.h"
#include "tests/native/exact_root_check.h"

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

  EnhancementFactor Factor() { return static_cast<EnhancementFactor>(Below(3)); }

  double TotalPressure() {
    const double edges[] = {5.0, 20000.0, 10, 30, 100, 300, 1000, 3000, 10000, 4.99, 20000.01};
    const double odd[] = {0.0, -0.0, -1013.25, kNaN, kInf, -kInf, DBL_MIN, DBL_MAX, 1e-300};
    const int pick = Below(100);
    if (pick < 40) return 1013.25;
    if (pick < 45) return Ulps(20000.0);  // the highest pressure with a factor's fast path
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

class SolverDifferential : public ::testing::TestWithParam<Formulation> {};

TEST_P(SolverDifferential, SameResultsAsThePlainBisection) {
  const Formulation formulation = GetParam();
  Inputs inputs(static_cast<uint64_t>(1018 + static_cast<int>(formulation)) * 7919u);
  const uint64_t count = InputsPerFormulation();
  uint64_t failures = 0;
  uint64_t answers = 0;
  for (uint64_t i = 0; i < count; ++i) {
    const MoistureModel model{formulation, inputs.Factor()};
    const bool frost = inputs.Below(2) == 0;
    double (*saturation)(double, double, const MoistureModel&) =
        frost ? SaturationPressureIce : SaturationPressureWater;
    const double p = inputs.TotalPressure();
    const double e = inputs.PartialPressure(saturation, p, model);
    const double expected = ReferenceBisection(saturation, e, p, model);
    const double actual = frost ? SolveDewFrostPoint(e, p, model) : SolveDewPoint(e, p, model);
    if (expected != NO_SOLUTION) ++answers;
    const double exact = frost ? SolveDewFrostPoint(e, p, model, DewPointPrecision::Exact)
                               : SolveDewPoint(e, p, model, DewPointPrecision::Exact);
    const std::string exactProblem = ExactRootProblem(saturation, e, p, model, exact, actual);
    if (!exactProblem.empty()) {
      ADD_FAILURE() << (frost ? "frost" : "dew") << " e " << ::testing::PrintToString(e) << " P "
                    << ::testing::PrintToString(p) << " model "
                    << static_cast<int>(model.formulation) << " "
                    << static_cast<int>(model.enhancement) << ": " << exactProblem;
      if (++failures == 10) break;
    }
    if (!SameBits(actual, expected)) {
      ADD_FAILURE() << (frost ? "SolveDewFrostPoint" : "SolveDewPoint") << " e "
                    << ::testing::PrintToString(e) << " P " << ::testing::PrintToString(p)
                    << " model " << static_cast<int>(model.formulation) << " "
                    << static_cast<int>(model.enhancement) << ": " << actual << " instead of "
                    << expected;
      if (++failures == 10) break;
    }
  }
  std::printf("%llu inputs compared, %llu with an answer\n", static_cast<unsigned long long>(count),
              static_cast<unsigned long long>(answers));
  // Most inputs must have an answer, or the comparison says little.
  EXPECT_GT(answers, count / 3);
}

std::string FormulationName(const ::testing::TestParamInfo<Formulation>& info) {
  static const char* const kNames[] = {"HylandWexler", "GoffGratch", "Sonntag", "Magnus"};
  return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Formulations, SolverDifferential,
                         ::testing::Values(Formulation::HylandWexler, Formulation::GoffGratch,
                                           Formulation::Sonntag, Formulation::Magnus),
                         FormulationName);

}  // namespace
