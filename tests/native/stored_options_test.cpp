// The stored formulation and enhancement-factor options as the model they stand for: only their
// low 16 bits count, and any value that names no button acts as Magnus and as no factor.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/calculator_values.h"
#include "tests/native/model_names.h"

using namespace ruruzir;

namespace {

TEST(StoredOptionsTest, EachStoredValueStandsForOneModel) {
  const struct {
    int32_t stored;
    Formulation formulation;
  } formulations[] = {
      {1018, Formulation::HylandWexler},
      {1019, Formulation::GoffGratch},
      {1020, Formulation::Sonntag},
      {1021, Formulation::Magnus},
      {0x10000 + 1018, Formulation::HylandWexler},
      {0x7FFF0000 + 1019, Formulation::GoffGratch},
      {0x10000 + 1020, Formulation::Sonntag},
      {0, Formulation::Magnus},
      {65535, Formulation::Magnus},
      {1017, Formulation::Magnus},
      {1022, Formulation::Magnus},
      {1025, Formulation::Magnus},
      {-1, Formulation::Magnus},
      {0x20000, Formulation::Magnus},
  };
  const struct {
    int32_t stored;
    EnhancementFactor factor;
  } factors[] = {
      {1022, EnhancementFactor::None},
      {1023, EnhancementFactor::Bogel},
      {1024, EnhancementFactor::Greenspan},
      {0x10000 + 1023, EnhancementFactor::Bogel},
      {0x10000 + 1024, EnhancementFactor::Greenspan},
      {0x10000 + 1022, EnhancementFactor::None},
      {0, EnhancementFactor::None},
      {1021, EnhancementFactor::None},
      {1025, EnhancementFactor::None},
      {65535, EnhancementFactor::None},
      {-1, EnhancementFactor::None},
  };
  // Every pairing: one option never changes what the other means.
  for (const auto& f : formulations) {
    for (const auto& e : factors) {
      const MoistureModel model = ModelFromStoredOptions(f.stored, e.stored);
      EXPECT_EQ(model.formulation, f.formulation) << f.stored << ", " << e.stored;
      EXPECT_EQ(model.enhancement, e.factor) << f.stored << ", " << e.stored;
    }
  }
}

}  // namespace
