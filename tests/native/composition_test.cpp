// Mole ratio, natural-gas water content, vapour density and their inverses.
#include "physics/composition.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/calculator_values.h"

using namespace ruruzir;

namespace {

TEST(CompositionTest, PpmVFromPressure) {
  const double at6 = PpmVFromPressure(6.1, 1013.25);
  EXPECT_GE(at6, 6056.6946);
  EXPECT_LT(at6, 6056.6947);
  const double at100 = PpmVFromPressure(100, 1013.25);
  EXPECT_GE(at100, 109499.04);
  EXPECT_LT(at100, 109499.05);
  EXPECT_EQ(PpmVFromPressure(0, 1013.25), 0.0);
  // Relative to the dry gas: half the gas being water vapour is a ratio of one.
  EXPECT_DOUBLE_EQ(PpmVFromPressure(500, 1000), 1e6);
}

TEST(CompositionTest, PressureFromPpmVInvertsPpmVFromPressure) {
  EXPECT_NEAR(PressureFromPpmV(PpmVFromPressure(6.1, 1013.25), 1013.25), 6.1, 1e-12);
  const double pressures[] = {1.0, 200.0, 1013.25, 5000.0, 50000.0};
  const double fractions[] = {0.0, 1e-9, 1e-4, 0.01, 0.3, 0.9};
  for (double pressure : pressures) {
    for (double fraction : fractions) {
      const double e = fraction * pressure;
      SCOPED_TRACE(::testing::Message() << "P " << pressure << ", e " << e);
      EXPECT_NEAR(PressureFromPpmV(PpmVFromPressure(e, pressure), pressure), e, 1e-12 * pressure);
    }
  }
  EXPECT_DOUBLE_EQ(PressureFromPpmV(1e6, 1000), 500);
}

struct ContentRow {
  double partialPressure;
  double totalPressure;
  double expected;
  double tolerance;  // half a unit of the last digit shown
};

TEST(CompositionTest, NaturalGasWaterContent) {
  const ContentRow rows[] = {
      {6.1, 1013.25, 288.496, 0.0005},
      {23.4, 1013.25, 1102.67, 0.005},
      {0.5, 50000, 0.969377, 0.0000005},
      {0.0, 1013.25, 0.0, 1e-15},
  };
  for (const ContentRow& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "e " << row.partialPressure << ", P " << row.totalPressure);
    EXPECT_NEAR(NaturalGasWaterContent(row.partialPressure, row.totalPressure), row.expected,
                row.tolerance);
  }
}

struct DensityRow {
  int medium;
  double temperature;
  double expected;
  double tolerance;
};

TEST(CompositionTest, VapourDensityByMedium) {
  // Natural gas does not depend on the temperature; any medium other than natural gas and air
  // is pure water vapour.
  const DensityRow rows[] = {
      {1029, 20, 4.51528, 0.000005},  {1028, 20, 1200.06, 0.005},    {1030, 20, 4.62125, 0.000005},
      {1030, -30, 4.62125, 0.000005}, {1030, 60, 4.62125, 0.000005}, {0, 20, 1200.06, 0.005},
      {1031, 20, 1200.06, 0.005},
  };
  for (const DensityRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "medium " << row.medium << ", T " << row.temperature);
    EXPECT_NEAR(VapourDensity(6.1, 1013.25, row.temperature, DensityMediumFromChoice(row.medium)),
                row.expected, row.tolerance);
  }
  // The air mixture uses 273.16 as the Kelvin offset: at -273.16 the density is unbounded.
  EXPECT_GT(std::fabs(VapourDensity(6.1, 1013.25, -273.16 + 1e-9, DensityMediumFromChoice(1029))),
            1e9);
}

TEST(CompositionTest, PressureFromNaturalGasContent) {
  EXPECT_NEAR(PressureFromNaturalGasContent(288.496, 1013.25), 6.1, 0.00005);
  // The search near the first estimate runs to its end: every digit is the same.
  EXPECT_EQ(PressureFromNaturalGasContent(288.496, 1013.25), 6.1000097550245709);
  // At line pressures the root lies far from the first estimate.
  EXPECT_NEAR(PressureFromNaturalGasContent(228.544, 5000), 23.4, 0.00005);
  EXPECT_NEAR(PressureFromNaturalGasContent(1.74941, 50000), 1.0, 0.00005);
  EXPECT_EQ(PressureFromNaturalGasContent(0.0, 1013.25), 0.0);
}

TEST(CompositionTest, PressureFromNaturalGasContentFindsEveryReachablePressure) {
  struct Row {
    double totalPressure;
    double partialPressure;
  };
  // Close to zero the search passes through estimates below zero (where the power term is
  // undefined) and must climb back out of them.
  const Row rows[] = {
      {1013.25, 1e-5}, {1013.25, 0.001}, {1013.25, 0.1}, {1013.25, 6.1}, {1013.25, 40.0},
      {200, 0.01},     {200, 10.0},      {200, 100.0},   {3000, 0.01},   {3000, 15.0},
      {10000, 0.002},  {10000, 1.0},     {50000, 0.3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "P " << row.totalPressure << ", e " << row.partialPressure);
    const double content = NaturalGasWaterContent(row.partialPressure, row.totalPressure);
    const double found = PressureFromNaturalGasContent(content, row.totalPressure);
    ASSERT_NE(found, NO_SOLUTION);
    EXPECT_NEAR(found, row.partialPressure, 1e-7 * (1 + 1e-6));
  }
}

TEST(CompositionTest, PressureFromNaturalGasContentSearchesTheWholeCurveFarFromTheEstimate) {
  struct Row {
    double totalPressure;
    double partialPressure;
  };
  // Beyond 0.5 mbar from the first estimate; the last rows are near the whole pressure.
  const Row rows[] = {{5000, 23.4},     {50000, 1.0},      {10000, 20.0},
                      {1013.25, 100.0}, {68947.6, 6.0},    {100000, 50.0},
                      {300000, 0.5},    {1013.25, 1000.0}, {1013.25, 1013.2}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "P " << row.totalPressure << ", e " << row.partialPressure);
    const double content = NaturalGasWaterContent(row.partialPressure, row.totalPressure);
    EXPECT_NEAR(PressureFromNaturalGasContent(content, row.totalPressure), row.partialPressure,
                1e-7);
  }
}

TEST(CompositionTest, PressureFromNaturalGasContentHasNoAnswerWithoutASingleRoot) {
  struct Row {
    double content;
    double totalPressure;
  };
  // Above about 395600 mbar the content no longer rises with the partial pressure; a content
  // beyond that of pure water vapour at the pressure, or an undefined one, has no root either.
  const Row rows[] = {
      {10.0, 500000}, {10.0, 1e9}, {1e6, 1013.25}, {std::nan(""), 1013.25}, {5.0, std::nan("")}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "W " << row.content << ", P " << row.totalPressure);
    EXPECT_EQ(PressureFromNaturalGasContent(row.content, row.totalPressure), NO_SOLUTION);
  }
}

TEST(CompositionTest, PressureFromDensity) {
  EXPECT_NEAR(PressureFromDensity(4.51528, 1013.25, 20, DensityMediumFromChoice(1029)), 6.1,
              0.00005);
  EXPECT_NEAR(PressureFromDensity(4.51528, 1013.25, 20, DensityMediumFromChoice(1030)), 5.9597,
              0.00005);
  // 228.544 pounds per million cubic feet at 5000 mbar: far from the first estimate.
  EXPECT_NEAR(PressureFromDensity(228.544 / 62.428, 5000, 20, DensityMediumFromChoice(1030)), 23.4,
              0.00005);
}

TEST(CompositionTest, PressureFromDensityInvertsVapourDensityForWaterVapourAndAir) {
  const int media[] = {1028, 1029, 0, 1031};
  const double temperatures[] = {-20.0, 15.6, 60.0};
  const double pressures[] = {200.0, 1013.25, 5000.0};
  const double fractions[] = {0.0, 1e-4, 0.01, 0.2};
  for (int medium : media) {
    for (double temperature : temperatures) {
      for (double pressure : pressures) {
        for (double fraction : fractions) {
          const double e = fraction * pressure;
          SCOPED_TRACE(::testing::Message() << "medium " << medium << ", T " << temperature
                                            << ", P " << pressure << ", e " << e);
          const double density =
              VapourDensity(e, pressure, temperature, DensityMediumFromChoice(medium));
          EXPECT_NEAR(
              PressureFromDensity(density, pressure, temperature, DensityMediumFromChoice(medium)),
              e, 1e-9 * pressure);
        }
      }
    }
  }
}

TEST(CompositionTest, PressureFromDensityForNaturalGasIsTheContentBisection) {
  const double densities[] = {0.001, 0.5, 4.51528, 20.0};
  for (double density : densities) {
    for (double temperature : {-10.0, 40.0}) {
      SCOPED_TRACE(::testing::Message() << "density " << density << ", T " << temperature);
      EXPECT_EQ(PressureFromDensity(density, 1013.25, temperature, DensityMediumFromChoice(1030)),
                PressureFromNaturalGasContent(density * 62.428, 1013.25));
    }
  }
}

}  // namespace
