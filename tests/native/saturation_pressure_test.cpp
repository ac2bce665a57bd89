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
  void SetUp() override { model = ModelFromStoredOptions(0, 0); }
  void Use(int formulation, int factor) { model = ModelFromStoredOptions(formulation, factor); }
};

struct ReferenceRow {
  int formulation;
  double temperature;
  double water;
  double ice;
};

// Without an enhancement factor, in mbar; above freezing both functions give the same value.
const ReferenceRow kReference[] = {
    {kFormulationGoffGratch, -40, 0.188944, 0.128178},
    {kFormulationGoffGratch, -20, 1.25292, 1.03074},
    {kFormulationGoffGratch, 0, 6.10336, 6.10336},
    {kFormulationGoffGratch, 20, 23.3585, 23.3585},
    {kFormulationGoffGratch, 50, 123.334, 123.334},
    {kFormulationHylandWexler, -40, 0.128452, 0.128452},
    {kFormulationHylandWexler, -20, 1.03260, 1.03260},
    {kFormulationHylandWexler, 0, 6.11213, 6.11213},
    {kFormulationHylandWexler, 20, 23.3880, 23.3880},
    {kFormulationHylandWexler, 50, 123.499, 123.499},
    {kFormulationSonntag, -40, 0.190327, 0.128370},
    {kFormulationSonntag, -20, 1.25587, 1.03239},
    {kFormulationSonntag, 0, 6.11213, 6.11213},
    {kFormulationSonntag, 20, 23.3925, 23.3925},
    {kFormulationSonntag, 50, 123.527, 123.527},
    {kFormulationMagnus, -40, 0.190212, 0.127604},
    {kFormulationMagnus, -20, 1.25965, 1.02956},
    {kFormulationMagnus, 0, 6.11200, 6.11200},
    {kFormulationMagnus, 20, 23.3260, 23.3260},
    {kFormulationMagnus, 50, 123.452, 123.452},
};

TEST_F(SaturationPressureTest, ReferenceValuesWithoutEnhancement) {
  const double pressures[] = {1013.25, 10.0, 50000.0};
  for (const ReferenceRow& row : kReference) {
    for (double pressure : pressures) {
      SCOPED_TRACE(::testing::Message() << "formulation " << row.formulation << ", t "
                                        << row.temperature << ", P " << pressure);
      Use(row.formulation, kEnhancementNone);
      EXPECT_NEAR(SaturationPressureWater(row.temperature, pressure), row.water,
                  HalfUnitOfSixDigits(row.water));
      EXPECT_NEAR(SaturationPressureIce(row.temperature, pressure), row.ice,
                  HalfUnitOfSixDigits(row.ice));
    }
  }
}

struct FactorRow {
  int factor;
  double pressure;
  double waterMinus20;
  double iceMinus20;
  double at20;
};

const FactorRow kFactorRows[] = {
    {kEnhancementBogel, 1013.25, 1.004775, 1.004827, 1.004502},
    {kEnhancementBogel, 10000, 1.045801, 1.046452, 1.035015},
    {kEnhancementGreenspan, 1013.25, 1.004199, 1.004231, 1.003990},
    {kEnhancementGreenspan, 10000, 1.042591, 1.043169, 1.030746},
};

TEST_F(SaturationPressureTest, EnhancementFactorsWithSonntag) {
  const double tolerance = 0.5e-6 * (1 + 1e-9);
  for (const FactorRow& row : kFactorRows) {
    SCOPED_TRACE(::testing::Message() << "factor " << row.factor << ", P " << row.pressure);
    Use(kFormulationSonntag, kEnhancementNone);
    const double baseWater = SaturationPressureWater(-20, row.pressure);
    const double baseIce = SaturationPressureIce(-20, row.pressure);
    const double baseWarm = SaturationPressureWater(20, row.pressure);
    Use(kFormulationSonntag, row.factor);
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
    Use(kFormulationSonntag, kEnhancementNone);
    const double water = SaturationPressureWater(row.temperature, 1013.25);
    const double ice = SaturationPressureIce(row.temperature, 1013.25);
    Use(kFormulationSonntag, kEnhancementGreenspan);
    EXPECT_NEAR(SaturationPressureWater(row.temperature, 1013.25) / water, row.water, 0.6e-7);
    if (row.ice != 0.0) {
      EXPECT_NEAR(SaturationPressureIce(row.temperature, 1013.25) / ice, row.ice, 0.6e-7);
    }
  }
}

TEST_F(SaturationPressureTest, EnhancementGrowsWithTotalPressure) {
  for (int factor : {kEnhancementBogel, kEnhancementGreenspan}) {
    for (int formulation : kFormulations) {
      SCOPED_TRACE(::testing::Message() << "formulation " << formulation << ", factor " << factor);
      Use(formulation, factor);
      for (double t : {-60.0, -20.0, 0.0, 25.0}) {
        const double low = SaturationPressureIce(t, 1013.25);
        const double high = SaturationPressureIce(t, 20000);
        EXPECT_LT(low, high) << "t " << t;
        Use(formulation, kEnhancementNone);
        EXPECT_GT(low, SaturationPressureIce(t, 1013.25)) << "t " << t;
        Use(formulation, factor);
      }
    }
  }
}

TEST_F(SaturationPressureTest, BothFunctionsAgreeAtZero) {
  const double pressures[] = {1013.25, 300.0, 10000.0};
  for (int formulation : kFormulations) {
    for (int factor : kFactors) {
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
  for (int formulation : kFormulations) {
    for (int factor : kFactors) {
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
  for (int formulation : kFormulations) {
    for (int factor : kFactors) {
      Use(formulation, factor);
      for (double t : temperatures) {
        SCOPED_TRACE(::testing::Message()
                     << "formulation " << formulation << ", factor " << factor << ", t " << t);
        const double water = SaturationPressureWater(t, 1013.25);
        const double ice = SaturationPressureIce(t, 1013.25);
        if (formulation == kFormulationHylandWexler) {
          // Same base pressure below freezing; the factors still tell water from ice
          // (Bogel takes its water form, Greenspan its supercooled set for
          // the water function).
          if (factor == kEnhancementNone) {
            EXPECT_DOUBLE_EQ(water, ice);
          }
        } else {
          EXPECT_GT(water, ice);
        }
      }
    }
  }
}

TEST_F(SaturationPressureTest, UnknownFormulationSelectsMagnus) {
  // The options are compared as their low 16 bits.
  const int32_t unknown[] = {0, 65535, 1025, 1017, 1022, -1, 0x10000 + 1021, 0x20000};
  const double temperatures[] = {-40.0, -20.0, 0.0, 20.0, 50.0};
  for (int factor : kFactors) {
    for (double t : temperatures) {
      Use(kFormulationMagnus, factor);
      const double water = SaturationPressureWater(t, 1013.25);
      const double ice = SaturationPressureIce(t, 1013.25);
      for (int32_t formulation : unknown) {
        SCOPED_TRACE(::testing::Message()
                     << "formulation " << formulation << ", factor " << factor << ", t " << t);
        Use(formulation, factor);
        EXPECT_EQ(SaturationPressureWater(t, 1013.25), water);
        EXPECT_EQ(SaturationPressureIce(t, 1013.25), ice);
      }
    }
  }
  Use(0, kEnhancementNone);
  EXPECT_NEAR(SaturationPressureWater(-40, 1013.25), 0.190212, HalfUnitOfSixDigits(0.190212));
  EXPECT_NEAR(SaturationPressureIce(-40, 1013.25), 0.127604, HalfUnitOfSixDigits(0.127604));
}

TEST_F(SaturationPressureTest, OptionsAreComparedAsTheirLow16Bits) {
  struct Alias {
    int32_t stored;
    int32_t meant;
  };
  const Alias formulations[] = {{0x10000 + kFormulationHylandWexler, kFormulationHylandWexler},
                                {0x10000 + kFormulationGoffGratch, kFormulationGoffGratch},
                                {0x10000 + kFormulationSonntag, kFormulationSonntag},
                                {0x7FFF0000 + kFormulationGoffGratch, kFormulationGoffGratch}};
  const Alias factors[] = {{0x10000 + kEnhancementBogel, kEnhancementBogel},
                           {0x10000 + kEnhancementGreenspan, kEnhancementGreenspan}};
  for (const Alias& alias : formulations) {
    SCOPED_TRACE(::testing::Message() << "formulation " << alias.stored);
    Use(alias.meant, kEnhancementNone);
    const double water = SaturationPressureWater(-20, 1013.25);
    const double ice = SaturationPressureIce(-20, 1013.25);
    Use(alias.stored, kEnhancementNone);
    EXPECT_EQ(SaturationPressureWater(-20, 1013.25), water);
    EXPECT_EQ(SaturationPressureIce(-20, 1013.25), ice);
  }
  for (const Alias& alias : factors) {
    SCOPED_TRACE(::testing::Message() << "factor " << alias.stored);
    Use(kFormulationSonntag, alias.meant);
    const double water = SaturationPressureWater(-20, 10000);
    const double ice = SaturationPressureIce(-20, 10000);
    Use(kFormulationSonntag, alias.stored);
    EXPECT_EQ(SaturationPressureWater(-20, 10000), water);
    EXPECT_EQ(SaturationPressureIce(-20, 10000), ice);
  }
  Use(0x10000 + kFormulationSonntag, kEnhancementNone);
  EXPECT_NEAR(SaturationPressureWater(-40, 1013.25), 0.190327, HalfUnitOfSixDigits(0.190327));
}

TEST_F(SaturationPressureTest, UnknownFactorMeansNone) {
  const int32_t unknown[] = {0, 65535, 1025, 1021, -1, 0x10000 + kEnhancementNone};
  const double temperatures[] = {-40.0, -20.0, 0.0, 20.0};
  for (int formulation : kFormulations) {
    for (double t : temperatures) {
      Use(formulation, kEnhancementNone);
      const double water = SaturationPressureWater(t, 10000);
      const double ice = SaturationPressureIce(t, 10000);
      for (int32_t factor : unknown) {
        SCOPED_TRACE(::testing::Message()
                     << "formulation " << formulation << ", factor " << factor << ", t " << t);
        Use(formulation, factor);
        EXPECT_EQ(SaturationPressureWater(t, 10000), water);
        EXPECT_EQ(SaturationPressureIce(t, 10000), ice);
      }
    }
  }
}

TEST_F(SaturationPressureTest, WithoutFactorTheTotalPressureIsIgnored) {
  for (int formulation : kFormulations) {
    SCOPED_TRACE(::testing::Message() << "formulation " << formulation);
    Use(formulation, kEnhancementNone);
    for (double t : {-50.0, -1.0, 0.0, 30.0}) {
      EXPECT_EQ(SaturationPressureWater(t, 1013.25), SaturationPressureWater(t, 1.0));
      EXPECT_EQ(SaturationPressureIce(t, 1013.25), SaturationPressureIce(t, 123456.0));
    }
  }
}

TEST_F(SaturationPressureTest, IncreasesWithTemperature) {
  for (int formulation : kFormulations) {
    for (int factor : kFactors) {
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
  for (int formulation : kFormulations) {
    for (int factor : kFactors) {
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
          if (factor == kEnhancementNone) {
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
