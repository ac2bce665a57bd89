// The stored formulation and enhancement-factor options as the model they stand for: only their
// low 16 bits count, and any value that names no button acts as Magnus and as no factor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/calculator_values.h"
#include "physics/saturation_pressure.h"

using namespace ruruzir;

namespace {

constexpr int32_t kFormulations[] = {kFormulationHylandWexler, kFormulationGoffGratch,
                                     kFormulationSonntag, kFormulationMagnus};
constexpr int32_t kFactors[] = {kEnhancementNone, kEnhancementBogel, kEnhancementGreenspan};

// Half a unit of the sixth significant digit of `shown`, the precision of the reference table.
double HalfUnitOfSixDigits(double shown) {
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(shown))) - 5);
  return 0.5 * unit * (1 + 1e-9);
}

class StoredOptionsTest : public ::testing::Test {
 protected:
  void Use(int32_t formulation, int32_t factor) {
    model = ModelFromStoredOptions(formulation, factor);
  }
  double SaturationPressureWater(double t, double p) {
    return ruruzir::SaturationPressureWater(t, p, model);
  }
  double SaturationPressureIce(double t, double p) {
    return ruruzir::SaturationPressureIce(t, p, model);
  }
  MoistureModel model = ModelFromStoredOptions(0, 0);
};

TEST_F(StoredOptionsTest, UnknownFormulationSelectsMagnus) {
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

TEST_F(StoredOptionsTest, OptionsAreComparedAsTheirLow16Bits) {
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

TEST_F(StoredOptionsTest, UnknownFactorMeansNone) {
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

}  // namespace
