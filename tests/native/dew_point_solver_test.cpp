// Decimal rounding and the fixed bisections for dew and frost points.
#include "physics/dew_point_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/calculator_values.h"
#include "physics/rounding.h"
#include "tests/native/chosen_model.h"
#include "physics/saturation_pressure.h"
#include "physics/unit_conversion.h"
#include "tests/native/exact_root_check.h"

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

// --- Exact roots -------------------------------------------------------------------------------

double Exact(bool frost, double e, double p, const MoistureModel& chosen) {
  return frost ? ruruzir::SolveDewFrostPoint(e, p, chosen, DewPointPrecision::Exact)
               : ruruzir::SolveDewPoint(e, p, chosen, DewPointPrecision::Exact);
}

double Tenths(bool frost, double e, double p, const MoistureModel& chosen) {
  return frost ? ruruzir::SolveDewFrostPoint(e, p, chosen) : ruruzir::SolveDewPoint(e, p, chosen);
}

SaturationOf Curve(bool frost) {
  return frost ? ruruzir::SaturationPressureIce : ruruzir::SaturationPressureWater;
}

// Magnus' equation inverted in closed form: ln(e / 6.112 mbar) = a t / (t + b), where 6.112 mbar
// is 611.2 Pa as the formulation states it, by its logarithm to ten decimals.
double MagnusInverse(double e, double a, double b) {
  const double lnRatio = std::log(e) - (6.4154242378 + std::log(0.01));
  return b * lnRatio / (a - lnRatio);
}

TEST(ExactDewPointTest, MagnusRootsInClosedForm) {
  const MoistureModel magnus{Formulation::Magnus, EnhancementFactor::None};
  const double partialPressures[] = {1.5e-7, 1e-5,  0.001, 0.12837, 1.0,
                                     6.0,    6.112, 6.2,   42.0,    150.0};
  for (double e : partialPressures) {
    SCOPED_TRACE(::testing::Message() << "e " << e);
    const double water = MagnusInverse(e, 17.62, 243.12);
    const double ice = e < 6.112 ? MagnusInverse(e, 22.46, 272.2) : water;
    EXPECT_NEAR(Exact(true, e, 1013.25, magnus), ice, 1e-9);
    EXPECT_NEAR(Exact(false, e, 1013.25, magnus), water, 1e-9);
  }
}

// Roots of the equations without a factor, found apart from this code: bisection in 50-digit
// decimal arithmetic on the published equations, to 1e-20 degC.
TEST(ExactDewPointTest, ReferenceRoots) {
  const struct {
    Formulation formulation;
    bool frost;
    double partialPressure;
    double root;
  } rows[] = {
      {Formulation::GoffGratch, true, 0.001, -76.2527437250227},
      {Formulation::GoffGratch, false, 0.5, -30.1746195503889},
      {Formulation::GoffGratch, false, 100, 45.8358018631919},
      {Formulation::HylandWexler, true, 1e-5, -101.6513632673449},
      {Formulation::HylandWexler, false, 30, 24.0827621501130},
      {Formulation::Sonntag, true, 0.12837, -39.9999780844209},
      {Formulation::Sonntag, false, 2.5, -11.7135990007058},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "formulation " << row.formulation << ", frost "
                                      << row.frost << ", e " << row.partialPressure);
    const MoistureModel chosen{row.formulation, EnhancementFactor::None};
    EXPECT_NEAR(Exact(row.frost, row.partialPressure, 1013.25, chosen), row.root, 1e-12);
  }
}

// The root of the saturation pressure at a temperature is that temperature, wherever the function
// rises (one crossing); every root meets the checks of ExactRootProblem.
TEST(ExactDewPointTest, RootsOfSaturationPressuresAtKnownTemperatures) {
  const double temperatures[] = {-139.997, -139.9,   -125.05, -100.123, -81.234, -65.71754,
                                 -51.4405, -40.0,    -20.3,   -0.25,    -0.05,   0.05,
                                 0.25,     10.00001, 45.8,    59.99};
  const double pressures[] = {1013.25, 5.0,     10.0,    30.0, 100.0,  300.0,
                              3000.0,  10000.0, 20000.0, 2.0,  50000.0};
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      const MoistureModel chosen{formulation, factor};
      for (double p : pressures) {
        for (bool frost : {true, false}) {
          const double rise = KnownRiseFromC(frost, p, chosen);
          for (double t : temperatures) {
            SCOPED_TRACE(::testing::Message()
                         << "formulation " << formulation << ", factor " << factor << ", P " << p
                         << ", frost " << frost << ", t " << t);
            const double e = Curve(frost)(t, p, chosen);
            const double exact = Exact(frost, e, p, chosen);
            EXPECT_EQ(
                ExactRootProblem(Curve(frost), e, p, chosen, exact, Tenths(frost, e, p, chosen)),
                "");
            // Near 0 degC a step down of the pressure may put a second crossing beside t. With a
            // factor, a partial pressure above the total pressure has no root.
            if (factor != EnhancementFactor::None && e > p) {
              EXPECT_EQ(exact, NO_SOLUTION);
            } else if (rise <= t - 0.02 && std::fabs(t) > 0.1) {
              EXPECT_NEAR(exact, t, 1e-9);
            }
          }
        }
      }
    }
  }
}

struct RelationRow {
  double saturatesAt;
  double tenths;
};

// The tenths are within 0.01 of the root before rounding: within 0.01 of a half tenth they may
// be the farther tenth.
TEST(ExactDewPointTest, TenthsAreTheRootRoundedWithinAHundredth) {
  const MoistureModel sonntag{Formulation::Sonntag, EnhancementFactor::None};
  const RelationRow rows[] = {
      {-51.4405, -51.5}, {-51.44, -51.4}, {-51.46, -51.5}, {-20.3, -20.3}, {-139.997, -140.0},
  };
  for (const RelationRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "saturates at " << row.saturatesAt);
    const double e = ruruzir::SaturationPressureIce(row.saturatesAt, 1013.25, sonntag);
    EXPECT_NEAR(Exact(true, e, 1013.25, sonntag), row.saturatesAt, 1e-9);
    EXPECT_NEAR(Tenths(true, e, 1013.25, sonntag), row.tenths, 1e-9);
  }
}

// Where the equations switch at 0 degC the pressure steps, up or down by the model and the total
// pressure. A partial pressure inside a step up has its root at 0 exactly; inside a step down it
// has two crossings close to 0, and the root is one of them.
TEST(ExactDewPointTest, StepsAtZero) {
  const double justBelowZero = -std::numeric_limits<double>::denorm_min();
  int stepsUp = 0;
  int stepsDown = 0;
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      const MoistureModel chosen{formulation, factor};
      for (double p : {6.5, 1013.25, 20000.0}) {  // above the 6.1 mbar at 0 degC
        for (bool frost : {true, false}) {
          SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor "
                                            << factor << ", P " << p << ", frost " << frost);
          const double below = Curve(frost)(justBelowZero, p, chosen);
          const double above = Curve(frost)(0.0, p, chosen);
          const double e = 0.5 * (below + above);
          const double exact = Exact(frost, e, p, chosen);
          EXPECT_EQ(
              ExactRootProblem(Curve(frost), e, p, chosen, exact, Tenths(frost, e, p, chosen)), "");
          if (above > below) {
            ++stepsUp;
            EXPECT_EQ(exact, 0.0);
          } else if (above < below) {
            ++stepsDown;
            EXPECT_NE(exact, 0.0);
            EXPECT_LE(std::fabs(exact), 0.05);
          }
        }
      }
    }
  }
  EXPECT_GT(stepsUp, 10);
  EXPECT_GT(stepsDown, 10);
}

// Whatever has no tenths has no exact root, and no decimal tenth.
TEST(ExactDewPointTest, NoAnswerWhereTheTenthsHaveNone) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    double saturatesAt;  // or NaN: the partial pressure below
    double partialPressure;
    double totalPressure;
  };
  const Row rows[] = {
      {-140.0, 0, 1013.25}, {-150.0, 0, 1013.25}, {59.998, 0, 1013.25},  {70.0, 0, 1013.25},
      {-140.0, 0, 20000},   {59.998, 0, 5},       {nan, 200.0, 1013.25}, {nan, 0.0, 1013.25},
      {nan, -1.0, 1013.25}, {nan, nan, 1013.25},  {nan, inf, 1013.25},   {nan, 1.0, nan},
      {nan, 1.0, -inf},
  };
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      const MoistureModel chosen{formulation, factor};
      for (const Row& row : rows) {
        for (bool frost : {true, false}) {
          const double e = std::isnan(row.saturatesAt)
                               ? row.partialPressure
                               : Curve(frost)(row.saturatesAt, row.totalPressure, chosen);
          const double tenths = Tenths(frost, e, row.totalPressure, chosen);
          if (tenths != NO_SOLUTION) continue;  // a total pressure that only a factor reads
          SCOPED_TRACE(::testing::Message()
                       << "formulation " << formulation << ", factor " << factor << ", e " << e
                       << ", P " << row.totalPressure << ", frost " << frost);
          EXPECT_EQ(Exact(frost, e, row.totalPressure, chosen), NO_SOLUTION);
          const double decimal = frost
                                     ? ruruzir::SolveDewFrostPoint(e, row.totalPressure, chosen,
                                                                   DewPointPrecision::DecimalTenths)
                                     : ruruzir::SolveDewPoint(e, row.totalPressure, chosen,
                                                              DewPointPrecision::DecimalTenths);
          EXPECT_EQ(decimal, NO_SOLUTION);
        }
      }
    }
  }
}

// The decimal tenths are the tenths, each the double strtod reads from its one-decimal text.
TEST(ExactDewPointTest, DecimalTenthsAreTheNearestDoubles) {
  const MoistureModel goffGratch{Formulation::GoffGratch, EnhancementFactor::Greenspan};
  int differing = 0;
  for (double t = -139.9; t < 59.9; t += 0.731) {
    const double e = ruruzir::SaturationPressureIce(t, 2000, goffGratch);
    const double tenths = ruruzir::SolveDewFrostPoint(e, 2000, goffGratch);
    const double decimal =
        ruruzir::SolveDewFrostPoint(e, 2000, goffGratch, DewPointPrecision::DecimalTenths);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", tenths);
    SCOPED_TRACE(::testing::Message() << "t " << t << ", tenths " << text);
    EXPECT_EQ(decimal, std::strtod(text, nullptr));
    EXPECT_NEAR(decimal, tenths, 1e-12);
    differing += decimal != tenths;
  }
  EXPECT_GT(differing, 20);  // the tenths are often not the nearest doubles
  const double e = ruruzir::SaturationPressureIce(-82.1, 1013.25, goffGratch);
  EXPECT_NE(ruruzir::SolveDewFrostPoint(e, 1013.25, goffGratch), -82.1);
  EXPECT_EQ(ruruzir::SolveDewFrostPoint(e, 1013.25, goffGratch, DewPointPrecision::DecimalTenths),
            -82.1);
  EXPECT_EQ(NearestDecimalTenth(-821 * 0.1), -82.1);
  EXPECT_EQ(NearestDecimalTenth(NO_SOLUTION), NO_SOLUTION);
}

// Where the solvers know the saturation pressure to rise, with a factor from 5 to 20000 mbar
// inclusive: at 20000 mbar the fast path runs. Without a factor the total pressure plays no part.
TEST(ExactDewPointTest, KnownRiseUpTo20000MbarInclusive) {
  struct Row {
    double totalPressure;
    bool knownWithFactor;
  };
  const Row rows[] = {
      {20000.0, true},   {std::nextafter(20000.0, 1e300), false},
      {5.0, true},       {std::nextafter(5.0, 0.0), false},
      {1013.25, true},   {std::numeric_limits<double>::quiet_NaN(), false},
      {-1013.25, false},
  };
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      for (const Row& row : rows) {
        for (bool frost : {true, false}) {
          SCOPED_TRACE(::testing::Message()
                       << "formulation " << formulation << ", factor " << factor << ", P "
                       << row.totalPressure << ", frost " << frost);
          const double rise = KnownRiseFromC(frost, row.totalPressure, {formulation, factor});
          const bool known = factor == EnhancementFactor::None || row.knownWithFactor;
          EXPECT_EQ(!std::isnan(rise), known);
          if (known) {
            EXPECT_LE(rise, -100.0);
          }
        }
      }
    }
  }
}

// Where the solvers take the saturation pressure to rise, it does: sampled every 0.013 degC from
// there to +60 degC (across 0 degC each side stays beyond the other side's value 0.2 degC off).
TEST(ExactDewPointTest, SaturationRisesWhereTheSolversSayItDoes) {
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      const MoistureModel chosen{formulation, factor};
      for (double p : {5.0, 10.0, 100.0, 1000.0, 3000.0, 10000.0, 20000.0}) {
        for (bool frost : {true, false}) {
          SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor "
                                            << factor << ", P " << p << ", frost " << frost);
          const double rise = KnownRiseFromC(frost, p, chosen);
          ASSERT_FALSE(std::isnan(rise));
          const double belowZeroBand = Curve(frost)(-0.2, p, chosen);
          const double aboveZeroBand = Curve(frost)(0.2, p, chosen);
          double previous = Curve(frost)(rise, p, chosen);
          int falls = 0;
          for (double t = rise + 0.013; t <= 60.02; t += 0.013) {
            const double pressure = Curve(frost)(t, p, chosen);
            if (t - 0.013 < 0.0 && t >= 0.0) {
              falls += !(previous < aboveZeroBand && pressure > belowZeroBand);
            } else {
              falls += !(pressure > previous);
            }
            previous = pressure;
          }
          EXPECT_EQ(falls, 0);
        }
      }
    }
  }
}

}  // namespace
