// Saturation vapour pressure over water and ice: reference values of the four formulations,
// the two enhancement factors, the branch at 0 degC and the treatment of unknown options.
#include "physics/saturation_pressure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/calculator_values.h"
#include "tests/native/chosen_model.h"

using namespace ruruzir;

namespace {

// Half a unit of the sixth significant digit of `shown`, the precision of the reference table,
// widened by a hair so that a value printed with exactly that rounding still passes.
double HalfUnitOfSixDigits(double shown) {
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(shown))) - 5);
  return 0.5 * unit * (1 + 1e-9);
}

class SaturationPressureTest : public ::testing::Test {
 protected:
  void SetUp() override { model = MoistureModel{Formulation::Magnus, EnhancementFactor::None}; }
  void Use(Formulation formulation, EnhancementFactor factor) { model = {formulation, factor}; }
};

struct ReferenceRow {
  Formulation formulation;
  double temperature;
  double water;
  double ice;
};

// Without an enhancement factor, in mbar; above freezing both functions give the same value.
const ReferenceRow kReference[] = {
    {Formulation::GoffGratch, -40, 0.188944, 0.128178},
    {Formulation::GoffGratch, -20, 1.25292, 1.03074},
    {Formulation::GoffGratch, 0, 6.10336, 6.10336},
    {Formulation::GoffGratch, 20, 23.3585, 23.3585},
    {Formulation::GoffGratch, 50, 123.334, 123.334},
    {Formulation::HylandWexler, -40, 0.128452, 0.128452},
    {Formulation::HylandWexler, -20, 1.03260, 1.03260},
    {Formulation::HylandWexler, 0, 6.11213, 6.11213},
    {Formulation::HylandWexler, 20, 23.3880, 23.3880},
    {Formulation::HylandWexler, 50, 123.499, 123.499},
    {Formulation::Sonntag, -40, 0.190327, 0.128370},
    {Formulation::Sonntag, -20, 1.25587, 1.03239},
    {Formulation::Sonntag, 0, 6.11213, 6.11213},
    {Formulation::Sonntag, 20, 23.3925, 23.3925},
    {Formulation::Sonntag, 50, 123.527, 123.527},
    {Formulation::Magnus, -40, 0.190212, 0.127604},
    {Formulation::Magnus, -20, 1.25965, 1.02956},
    {Formulation::Magnus, 0, 6.11200, 6.11200},
    {Formulation::Magnus, 20, 23.3260, 23.3260},
    {Formulation::Magnus, 50, 123.452, 123.452},
};

TEST_F(SaturationPressureTest, ReferenceValuesWithoutEnhancement) {
  const double pressures[] = {1013.25, 10.0, 50000.0};
  for (const ReferenceRow& row : kReference) {
    for (double pressure : pressures) {
      SCOPED_TRACE(::testing::Message() << "formulation " << row.formulation << ", t "
                                        << row.temperature << ", P " << pressure);
      Use(row.formulation, EnhancementFactor::None);
      EXPECT_NEAR(SaturationPressureWater(row.temperature, pressure), row.water,
                  HalfUnitOfSixDigits(row.water));
      EXPECT_NEAR(SaturationPressureIce(row.temperature, pressure), row.ice,
                  HalfUnitOfSixDigits(row.ice));
    }
  }
}

struct FactorRow {
  EnhancementFactor factor;
  double pressure;
  double waterMinus20;
  double iceMinus20;
  double at20;
};

const FactorRow kFactorRows[] = {
    {EnhancementFactor::Bogel, 1013.25, 1.004775, 1.004827, 1.004502},
    {EnhancementFactor::Bogel, 10000, 1.045801, 1.046452, 1.035015},
    {EnhancementFactor::Greenspan, 1013.25, 1.004199, 1.004231, 1.003990},
    {EnhancementFactor::Greenspan, 10000, 1.042591, 1.043169, 1.030746},
};

TEST_F(SaturationPressureTest, EnhancementFactorsWithSonntag) {
  const double tolerance = 0.5e-6 * (1 + 1e-9);
  for (const FactorRow& row : kFactorRows) {
    SCOPED_TRACE(::testing::Message() << "factor " << row.factor << ", P " << row.pressure);
    Use(Formulation::Sonntag, EnhancementFactor::None);
    const double baseWater = SaturationPressureWater(-20, row.pressure);
    const double baseIce = SaturationPressureIce(-20, row.pressure);
    const double baseWarm = SaturationPressureWater(20, row.pressure);
    Use(Formulation::Sonntag, row.factor);
    EXPECT_NEAR(SaturationPressureWater(-20, row.pressure) / baseWater, row.waterMinus20,
                tolerance);
    EXPECT_NEAR(SaturationPressureIce(-20, row.pressure) / baseIce, row.iceMinus20, tolerance);
    EXPECT_NEAR(SaturationPressureWater(20, row.pressure) / baseWarm, row.at20, tolerance);
    EXPECT_NEAR(SaturationPressureIce(20, row.pressure) / baseWarm, row.at20, tolerance);
  }
}

// Greenspan's water set from 0 degC on, the supercooled set just below it, the ice set below 0
// for frost points; reference factors from the published coefficients at 1013.25 mbar.
TEST_F(SaturationPressureTest, GreenspanSetsAtZeroAndFarFromTwenty) {
  struct Row {
    double temperature;
    double water;
    double ice;
  };
  const Row rows[] = {
      {0.0, 1.0038617, 1.0038617},
      {-1e-9, 1.0038646, 0.0},  // supercooled water; the ice value is not compared here
      {-50.0, 1.0052863, 1.0055251},
      {60.0, 1.0057325, 1.0057325},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "t " << row.temperature);
    Use(Formulation::Sonntag, EnhancementFactor::None);
    const double water = SaturationPressureWater(row.temperature, 1013.25);
    const double ice = SaturationPressureIce(row.temperature, 1013.25);
    Use(Formulation::Sonntag, EnhancementFactor::Greenspan);
    EXPECT_NEAR(SaturationPressureWater(row.temperature, 1013.25) / water, row.water, 0.6e-7);
    if (row.ice != 0.0) {
      EXPECT_NEAR(SaturationPressureIce(row.temperature, 1013.25) / ice, row.ice, 0.6e-7);
    }
  }
}

TEST_F(SaturationPressureTest, EnhancementGrowsWithTotalPressure) {
  for (EnhancementFactor factor : {EnhancementFactor::Bogel, EnhancementFactor::Greenspan}) {
    for (Formulation formulation : kFormulations) {
      SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor);
      Use(formulation, factor);
      for (double t : {-60.0, -20.0, 0.0, 25.0}) {
        const double low = SaturationPressureIce(t, 1013.25);
        const double high = SaturationPressureIce(t, 20000);
        EXPECT_LT(low, high) << "t " << t;
        Use(formulation, EnhancementFactor::None);
        EXPECT_GT(low, SaturationPressureIce(t, 1013.25)) << "t " << t;
        Use(formulation, factor);
      }
    }
  }
}

TEST_F(SaturationPressureTest, BothFunctionsAgreeAtZero) {
  const double pressures[] = {1013.25, 300.0, 10000.0};
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      for (double pressure : pressures) {
        SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor
                                          << ", P " << pressure);
        Use(formulation, factor);
        const double water = SaturationPressureWater(0.0, pressure);
        EXPECT_DOUBLE_EQ(SaturationPressureIce(0.0, pressure), water);
        // -0.0 is not below zero: it takes the branch of 0.
        EXPECT_DOUBLE_EQ(SaturationPressureIce(-0.0, pressure), water);
        EXPECT_DOUBLE_EQ(SaturationPressureWater(-0.0, pressure), water);
        EXPECT_GT(water, 6.0);
        EXPECT_LT(water, 6.5);
      }
    }
  }
}

TEST_F(SaturationPressureTest, BothFunctionsAgreeAboveZero) {
  const double temperatures[] = {1e-9, 0.01, 0.5, 10.0, 37.3, 59.99, 100.0};
  const double pressures[] = {1013.25, 300.0, 10000.0};
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      Use(formulation, factor);
      for (double t : temperatures) {
        for (double pressure : pressures) {
          SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor "
                                            << factor << ", t " << t << ", P " << pressure);
          EXPECT_DOUBLE_EQ(SaturationPressureIce(t, pressure),
                           SaturationPressureWater(t, pressure));
        }
      }
    }
  }
}

TEST_F(SaturationPressureTest, SupercooledWaterLiesAboveIceExceptHylandWexler) {
  const double temperatures[] = {-100.0, -40.0, -5.0, -0.5};
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      Use(formulation, factor);
      for (double t : temperatures) {
        SCOPED_TRACE(::testing::Message()
                     << "formulation " << formulation << ", factor " << factor << ", t " << t);
        const double water = SaturationPressureWater(t, 1013.25);
        const double ice = SaturationPressureIce(t, 1013.25);
        if (formulation == Formulation::HylandWexler) {
          // Same base pressure below freezing; the factors still tell water from ice
          // (Bogel takes its water form, Greenspan its supercooled set for
          // the water function).
          if (factor == EnhancementFactor::None) {
            EXPECT_DOUBLE_EQ(water, ice);
          }
        } else {
          EXPECT_GT(water, ice);
        }
      }
    }
  }
}

TEST_F(SaturationPressureTest, WithoutFactorTheTotalPressureIsIgnored) {
  for (Formulation formulation : kFormulations) {
    SCOPED_TRACE(::testing::Message() << "formulation " << formulation);
    Use(formulation, EnhancementFactor::None);
    for (double t : {-50.0, -1.0, 0.0, 30.0}) {
      EXPECT_EQ(SaturationPressureWater(t, 1013.25), SaturationPressureWater(t, 1.0));
      EXPECT_EQ(SaturationPressureIce(t, 1013.25), SaturationPressureIce(t, 123456.0));
    }
  }
}

TEST_F(SaturationPressureTest, IncreasesWithTemperature) {
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor);
      Use(formulation, factor);
      double previousWater = 0;
      double previousIce = 0;
      for (double t = -100; t <= 60; t += 2.5) {
        const double water = SaturationPressureWater(t, 1013.25);
        const double ice = SaturationPressureIce(t, 1013.25);
        EXPECT_GT(water, previousWater) << "t " << t;
        EXPECT_GT(ice, previousIce) << "t " << t;
        previousWater = water;
        previousIce = ice;
      }
    }
  }
}

TEST_F(SaturationPressureTest, NonFiniteArgumentsReturnWithoutFault) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double odd[] = {nan, inf, -inf, 0.0, -1.0, -273.15, -300.0, 1e300};
  for (Formulation formulation : kFormulations) {
    for (EnhancementFactor factor : kFactors) {
      SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor);
      Use(formulation, factor);
      // A temperature that is not a number gives no number, whatever the pressure.
      for (double pressure : {1013.25, nan, inf, 0.0}) {
        EXPECT_TRUE(std::isnan(SaturationPressureWater(nan, pressure))) << "P " << pressure;
        EXPECT_TRUE(std::isnan(SaturationPressureIce(nan, pressure))) << "P " << pressure;
      }
      for (double t : odd) {
        for (double pressure : odd) {
          const double water = SaturationPressureWater(t, pressure);
          const double ice = SaturationPressureIce(t, pressure);
          if (factor == EnhancementFactor::None) {
            // Without a factor the result is an exponential: never a negative number.
            EXPECT_FALSE(water < 0) << "t " << t << ", P " << pressure;
            EXPECT_FALSE(ice < 0) << "t " << t << ", P " << pressure;
          }
        }
      }
    }
  }
}

}  // namespace
