// Decimal rounding and the fixed bisections for dew and frost points.
#include "physics/dew_point_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/calculator_values.h"
#include "physics/rounding.h"
#include "tests/native/chosen_model.h"
#include "physics/saturation_pressure.h"

using namespace ruruzir;

namespace {

class DewPointSolverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model = MoistureModel{Formulation::Magnus, EnhancementFactor::None};
    Use(Formulation::Sonntag, EnhancementFactor::None);
  }
  void Use(Formulation formulation, EnhancementFactor factor) { model = {formulation, factor}; }
};

// A solver result is NO_SOLUTION or a whole number of tenths.
bool IsTenths(double value) {
  const double tenths = value * 10;
  return std::fabs(tenths - std::round(tenths)) < 1e-6;
}

struct RoundingRow {
  double value;
  int place;
  double expected;
};

TEST(RoundDecimalTest, RoundsHalvesUpwards) {
  const RoundingRow rows[] = {
      {1013.256, -2, 1013.26},
      {-12.346, -2, -12.35},
      {2.5, 0, 3},
      {-2.5, 0, -2},
      {-1.26, -1, -1.3},
      {1234.5, 0, 1235},
      {-1234.5, 0, -1234},
      {-0.04, -1, 0},
      {0.04, -1, 0},
      {123456, 3, 123000},
      {-7.45, 1, -10},
      {14.6959, -3, 14.696},
      {0, -2, 0},
      {59.95, 0, 60},
      {-139.96, -1, -140},
  };
  for (const RoundingRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.value << " at place " << row.place);
    EXPECT_NEAR(RoundDecimal(row.value, row.place), row.expected,
                1e-9 * (1 + std::fabs(row.expected)));
  }
}

// The power of ten as the run-time library computes it (not folded by the compiler: some
// libraries return 10^-2 one unit in the last place away from the nearest double).
double RuntimePowerOfTen(int place) {
  volatile int runtimePlace = place;
  return std::pow(10.0, static_cast<double>(runtimePlace));
}

TEST(RoundDecimalTest, ResultIsAProductOfThePowerOfTen) {
  // 0.3 / 0.1 is just below 3 and rounds up to 3; the result is 3 times 0.1, which is not
  // the double nearest to 0.3.
  const double tenth = RuntimePowerOfTen(-1);
  EXPECT_EQ(RoundDecimal(0.3, -1), tenth * 3);
  EXPECT_EQ(RoundDecimal(-20.3, -1), tenth * -203);
  const double hundredth = RuntimePowerOfTen(-2);
  EXPECT_EQ(RoundDecimal(1013.25, -2), hundredth * 101325);
  EXPECT_EQ(RoundDecimal(-12.346, -2), hundredth * -1235);
}

struct SolverRow {
  double partialPressure;
  double frostPoint;
  double dewPoint;
};

TEST_F(DewPointSolverTest, SonntagReferenceTable) {
  const SolverRow rows[] = {
      {1.0, -20.3, -22.6},
      {6.112, 0.0, 0.0},
      {0.001, -76.3, -81.1},
      {0.00001, -101.6, -106.3},
      {100.0, 45.8, 45.8},
      {199.0, 60.0, 60.0},
      {200.0, NO_SOLUTION, NO_SOLUTION},
      {0.0, NO_SOLUTION, NO_SOLUTION},
  };
  for (const SolverRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "e " << row.partialPressure);
    EXPECT_NEAR(SolveDewFrostPoint(row.partialPressure, 1013.25), row.frostPoint, 1e-9);
    EXPECT_NEAR(SolveDewPoint(row.partialPressure, 1013.25), row.dewPoint, 1e-9);
  }
}

TEST_F(DewPointSolverTest, NoSolutionIsExactlyTheMarker) {
  EXPECT_EQ(SolveDewFrostPoint(200.0, 1013.25), NO_SOLUTION);
  EXPECT_EQ(SolveDewPoint(0.0, 1013.25), NO_SOLUTION);
  EXPECT_EQ(NO_SOLUTION, -10000.0);
}

TEST_F(DewPointSolverTest, FirstEstimateIsAcceptedAtMinus40) {
  EXPECT_EQ(SolveDewFrostPoint(0.12837, 1013.25), RoundDecimal(-40.0, -1));
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor);
      Use(formulation, factor);
      EXPECT_EQ(SolveDewFrostPoint(SaturationPressureIce(-40, 1013.25), 1013.25), -40.0);
      EXPECT_EQ(SolveDewPoint(SaturationPressureWater(-40, 1013.25), 1013.25), -40.0);
    }
  }
}

struct ReachRow {
  double saturatesAt;
  double expected;
};

TEST_F(DewPointSolverTest, ReachEndsJustShortOfMinus140AndPlus60) {
  const ReachRow rows[] = {
      {-140.0, NO_SOLUTION}, {-139.997, -140.0},  {59.997, 60.0},
      {59.998, NO_SOLUTION}, {60.0, NO_SOLUTION}, {-150.0, NO_SOLUTION},
      {70.0, NO_SOLUTION},   {-139.9, -139.9},    {59.9, 59.9},
  };
  struct Options {
    Formulation formulation;
    EnhancementFactor factor;
  };
  const Options options[] = {{Formulation::HylandWexler, EnhancementFactor::None},
                             {Formulation::GoffGratch, EnhancementFactor::None},
                             {Formulation::Sonntag, EnhancementFactor::None},
                             {Formulation::Magnus, EnhancementFactor::None},
                             {Formulation::Sonntag, EnhancementFactor::Bogel},
                             {Formulation::Sonntag, EnhancementFactor::Greenspan}};
  for (const Options& option : options) {
    Use(option.formulation, option.factor);
    for (const ReachRow& row : rows) {
      SCOPED_TRACE(::testing::Message() << "formulation " << option.formulation << ", factor "
                                        << option.factor << ", saturates at " << row.saturatesAt);
      const double ice = SaturationPressureIce(row.saturatesAt, 1013.25);
      const double water = SaturationPressureWater(row.saturatesAt, 1013.25);
      EXPECT_NEAR(SolveDewFrostPoint(ice, 1013.25), row.expected, 1e-9);
      EXPECT_NEAR(SolveDewPoint(water, 1013.25), row.expected, 1e-9);
    }
  }
}

TEST_F(DewPointSolverTest, HylandWexlerSolversAgree) {
  Use(Formulation::HylandWexler, EnhancementFactor::None);
  EXPECT_NEAR(SolveDewFrostPoint(1.0, 1013.25), -20.3, 1e-9);
  EXPECT_NEAR(SolveDewPoint(1.0, 1013.25), -20.3, 1e-9);
  const double pressures[] = {300.0, 1013.25, 10000.0};
  for (EnhancementFactor factor : {EnhancementFactor::None, EnhancementFactor::Bogel}) {
    Use(Formulation::HylandWexler, factor);
    for (double pressure : pressures) {
      for (double e = 1e-7; e < 150; e *= 3.7) {
        SCOPED_TRACE(::testing::Message()
                     << "factor " << factor << ", P " << pressure << ", e " << e);
        EXPECT_EQ(SolveDewFrostPoint(e, pressure), SolveDewPoint(e, pressure));
      }
    }
  }
}

TEST_F(DewPointSolverTest, GreenspanAtHighPressureLowersTheDewPoint) {
  Use(Formulation::Sonntag, EnhancementFactor::Greenspan);
  EXPECT_NEAR(SolveDewFrostPoint(1.0, 10000), -20.8, 1e-9);
  EXPECT_NEAR(SolveDewPoint(1.0, 10000), -23.1, 1e-9);
  // At the highest total pressure the band around 0 degC that no tested pair encloses has no
  // answer, as the plain bisection says: one ulp above the ice pressure the bisection meets.
  const double e = std::nextafter(SaturationPressureIce(0.000234375, 20000), 1e300);
  EXPECT_EQ(SolveDewFrostPoint(e, 20000), NO_SOLUTION);
}

TEST_F(DewPointSolverTest, WithoutFactorTheTotalPressureDoesNotMatter) {
  for (Formulation formulation : kFormulations) {
    Use(formulation, EnhancementFactor::None);
    for (double e : {0.0001, 0.5, 1.0, 20.0}) {
      SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", e " << e);
      EXPECT_EQ(SolveDewFrostPoint(e, 1013.25), SolveDewFrostPoint(e, 50000));
      EXPECT_EQ(SolveDewPoint(e, 1013.25), SolveDewPoint(e, 100));
    }
  }
}

TEST_F(DewPointSolverTest, ResultsAreTenthsWithinAHundredthOfTheSaturationPoint) {
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      Use(formulation, factor);
      for (double t = -135.0; t <= 59.0; t += 7.3) {
        SCOPED_TRACE(::testing::Message()
                     << "formulation " << formulation << ", factor " << factor << ", t " << t);
        const double frost = SolveDewFrostPoint(SaturationPressureIce(t, 2000), 2000);
        EXPECT_TRUE(IsTenths(frost)) << frost;
        // The accepted estimate lies within 0.01 of t; rounding adds at most 0.05.
        EXPECT_LE(std::fabs(frost - t), 0.0601);
        if (t < -100) continue;  // supercooled water is not followed that far down
        const double dew = SolveDewPoint(SaturationPressureWater(t, 2000), 2000);
        EXPECT_TRUE(IsTenths(dew)) << dew;
        EXPECT_LE(std::fabs(dew - t), 0.0601);
      }
    }
  }
}

TEST_F(DewPointSolverTest, NegativePartialPressureHasNoSolution) {
  for (double e : {-1e-9, -1.0, -1e6}) {
    EXPECT_EQ(SolveDewFrostPoint(e, 1013.25), NO_SOLUTION) << e;
    EXPECT_EQ(SolveDewPoint(e, 1013.25), NO_SOLUTION) << e;
  }
}

TEST_F(DewPointSolverTest, NonFinitePartialPressureHasNoSolution) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      Use(formulation, factor);
      for (double e : {nan, inf, -inf}) {
        SCOPED_TRACE(::testing::Message()
                     << "formulation " << formulation << ", factor " << factor << ", e " << e);
        EXPECT_EQ(SolveDewFrostPoint(e, 1013.25), NO_SOLUTION);
        EXPECT_EQ(SolveDewPoint(e, 1013.25), NO_SOLUTION);
      }
    }
  }
}

TEST_F(DewPointSolverTest, NonFiniteTotalPressureWithAFactorHasNoSolution) {
  // An enhancement factor carries the total pressure into every comparison.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : {EnhancementFactor::Bogel, EnhancementFactor::Greenspan}) {
      Use(formulation, factor);
      for (double pressure : {nan, inf, -inf}) {
        SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor
                                          << ", P " << pressure);
        EXPECT_EQ(SolveDewFrostPoint(1.0, pressure), NO_SOLUTION);
        EXPECT_EQ(SolveDewPoint(1.0, pressure), NO_SOLUTION);
        EXPECT_EQ(SolveDewFrostPoint(nan, pressure), NO_SOLUTION);
      }
    }
  }
}

}  // namespace
