// The library's C interface: reference conversions, the statuses, bad arguments that must not
// write past the text area, the unit listing, and calls from four threads at once.
#include "api/ruruzir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "convert/converter.h"
#include "tests/expected_unit_texts.h"

using namespace ruruzir;

namespace {

constexpr int kGoffGratch = RURUZIR_GOFF_GRATCH;
constexpr int kNoFactor = RURUZIR_ENHANCEMENT_NONE;

struct Call {
  double value;
  int sourceUnit;
  double sourcePressure;
  int sourcePressureUnit;
  int targetUnit;
  double targetPressure;
  int targetPressureUnit;
};

struct Answer {
  int status;
  std::string text;
  double result;
};

Answer Convert(const Call& c, const ruruzir_side* source = nullptr,
               const ruruzir_side* target = nullptr, int formulation = kGoffGratch,
               int enhancement = kNoFactor) {
  char text[100];
  double result = 0;
  const int status = ruruzir_convert(c.value, c.sourceUnit, c.sourcePressure, c.sourcePressureUnit,
                                     source, c.targetUnit, c.targetPressure, c.targetPressureUnit,
                                     target, formulation, enhancement, &result, text, sizeof text);
  return {status, text, result};
}

// From frost point degC at 1 atm unless said otherwise.
Call FrostPoint(double value, int targetUnit, double targetPressure = 1013.25,
                int targetPressureUnit = RURUZIR_MBAR) {
  return {value,          RURUZIR_DEW_FROST_POINT_C, 1013.25, RURUZIR_MBAR, targetUnit,
          targetPressure, targetPressureUnit};
}

ruruzir_side Side(double ambient = 20, double molecularWeight = 29, double henry = 1.9,
                  double prevailing = 20, int medium = RURUZIR_MEDIUM_NATURAL_GAS) {
  return {ambient, molecularWeight, henry, prevailing, medium};
}

// A text area followed by guard bytes, all holding a pattern at first.
struct GuardedText {
  static constexpr size_t kGuard = 16;
  explicit GuardedText(size_t size) : size(size), bytes(size + kGuard, '\xA5') {}
  bool GuardsIntact() const {
    for (size_t i = size; i < bytes.size(); ++i) {
      if (bytes[i] != '\xA5') return false;
    }
    return true;
  }
  size_t size;
  std::vector<char> bytes;
};

TEST(ApiTest, ReferenceConversions) {
  const ruruzir_side ambient20 = Side(20);
  struct Case {
    Call call;
    const ruruzir_side* target;
    const char* text;
    double result;
  } cases[] = {
      // -40 degC frost point at 1013.25 mbar is a -21.6 degC frost point at 7000 mbar.
      {FrostPoint(-40, RURUZIR_DEW_FROST_POINT_C, 7000), nullptr, "-21.6", -21.6},
      {FrostPoint(0, RURUZIR_PPMV), nullptr, "6060.1", 6060.1},
      {FrostPoint(0, RURUZIR_VAPOUR_PRESSURE_MBAR), nullptr, "6.103", 6.103},
      {FrostPoint(0, RURUZIR_RELATIVE_HUMIDITY), &ambient20, "26.13", 26.13},
      {FrostPoint(-40, RURUZIR_DEW_FROST_POINT_F), nullptr, "-40.0", -40.0},
      {FrostPoint(-20, RURUZIR_PPMV), nullptr, "1018.3", 1018.3},
      {{-20, RURUZIR_DEW_FROST_POINT_C, 29.392, RURUZIR_PSIA, RURUZIR_PPMV, 1013.25, RURUZIR_MBAR},
       nullptr,
       "508.9",
       508.9},
      {{-20, RURUZIR_DEW_FROST_POINT_C, 0, RURUZIR_PSIG, RURUZIR_DEW_FROST_POINT_C, 101.325,
        RURUZIR_KPA},
       nullptr,
       "-20.0",
       -20.0},
      {{-20, RURUZIR_DEW_FROST_POINT_C, 1, RURUZIR_ATM, RURUZIR_DEW_FROST_POINT_C, 100,
        RURUZIR_MBAR},
       nullptr,
       "-42.0",
       -42.0},
      {{1.75, RURUZIR_LBS_PER_MMSCF, 50000, RURUZIR_MBAR, RURUZIR_DEW_FROST_POINT_C, 1013.25,
        RURUZIR_MBAR},
       nullptr,
       "-55.2",
       -55.2},
      {{6060.1, RURUZIR_PPMV, 1013.25, RURUZIR_MBAR, RURUZIR_DEW_FROST_POINT_C, 1013.25,
        RURUZIR_MBAR},
       nullptr,
       "0.0",
       0.0},
  };
  for (const Case& c : cases) {
    const Answer answer = Convert(c.call, nullptr, c.target);
    EXPECT_EQ(answer.status, RURUZIR_CONVERTED) << c.text;
    EXPECT_EQ(answer.text, c.text);
    EXPECT_EQ(answer.result, c.result) << c.text;
  }
}

TEST(ApiTest, OutOfRange) {
  struct Case {
    Call call;
    const char* text;
  } cases[] = {
      // Source values outside their unit's range get the calculator's message.
      {FrostPoint(-140.1, RURUZIR_PPMV),
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {FrostPoint(50.01, RURUZIR_PPMV),
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {{-0.001, RURUZIR_PPMV, 1013.25, RURUZIR_MBAR, RURUZIR_PPMV, 1013.25, RURUZIR_MBAR},
       "stay between 0 and 138670 ppm"},
      {{93.5, RURUZIR_GRAMS_PER_M3, 1013.25, RURUZIR_MBAR, RURUZIR_PPMV, 1013.25, RURUZIR_MBAR},
       "stay between 0 and 93 g/m\xB3"},
      // No answer: a vapour pressure above the total pressure, or none at all.
      {{10, RURUZIR_DEW_FROST_POINT_C, 5, RURUZIR_MBAR, RURUZIR_DEW_FROST_POINT_C, 1013.25,
        RURUZIR_MBAR},
       "out of range"},
      {{0, RURUZIR_DEW_FROST_POINT_C, 0, RURUZIR_MBAR, RURUZIR_PPMV, 0, RURUZIR_MBAR},
       "out of range"},
  };
  for (const Call& inside : {FrostPoint(-140, RURUZIR_PPMV), FrostPoint(50, RURUZIR_PPMV)}) {
    EXPECT_EQ(Convert(inside).status, RURUZIR_CONVERTED) << inside.value;
  }
  for (const Case& c : cases) {
    const Answer answer = Convert(c.call);
    EXPECT_EQ(answer.status, RURUZIR_OUT_OF_RANGE) << c.call.value;
    EXPECT_EQ(answer.text, c.text);
    EXPECT_TRUE(std::isnan(answer.result)) << c.call.value;
  }
}

// The side parameters, formulations and enhancement factors reach the conversion as the
// converter's options do.
TEST(ApiTest, ParametersAndModelsAsTheConverterTakesThem) {
  struct Case {
    int unit;
    ruruzir_side side;
    int formulation;
    int enhancement;
    Formulation modelFormulation;
    EnhancementFactor modelEnhancement;
  } cases[] = {
      {RURUZIR_RELATIVE_HUMIDITY, Side(35.5), RURUZIR_HYLAND_WEXLER, RURUZIR_ENHANCEMENT_BOGEL,
       Formulation::HylandWexler, EnhancementFactor::Bogel},
      {RURUZIR_PPMW_GAS, Side(20, 16.04), RURUZIR_SONNTAG, RURUZIR_ENHANCEMENT_GREENSPAN,
       Formulation::Sonntag, EnhancementFactor::Greenspan},
      {RURUZIR_PPMW_LIQUID, Side(20, 29, 0.27), RURUZIR_MAGNUS, RURUZIR_ENHANCEMENT_NONE,
       Formulation::Magnus, EnhancementFactor::None},
      {RURUZIR_GRAMS_PER_M3, Side(20, 29, 1.9, -5, RURUZIR_MEDIUM_WATER_VAPOUR),
       RURUZIR_GOFF_GRATCH, RURUZIR_ENHANCEMENT_BOGEL, Formulation::GoffGratch,
       EnhancementFactor::Bogel},
      {RURUZIR_GRAMS_PER_M3, Side(20, 29, 1.9, 40, RURUZIR_MEDIUM_AIR), RURUZIR_GOFF_GRATCH,
       RURUZIR_ENHANCEMENT_NONE, Formulation::GoffGratch, EnhancementFactor::None},
      {RURUZIR_GRAMS_PER_M3, Side(20, 29, 1.9, 40, RURUZIR_MEDIUM_NATURAL_GAS), RURUZIR_GOFF_GRATCH,
       RURUZIR_ENHANCEMENT_NONE, Formulation::GoffGratch, EnhancementFactor::None},
  };
  for (const Case& c : cases) {
    ConverterRequest request = DefaultConverterRequest();
    request.sourceUnit = RURUZIR_DEW_FROST_POINT_C;
    request.targetUnit = c.unit;
    request.target.ambientTemperature = static_cast<float>(c.side.ambient_temperature_c);
    request.target.molecularWeight = static_cast<float>(c.side.molecular_weight);
    request.target.henryConstant = static_cast<float>(c.side.henry_constant);
    request.target.prevailingTemperature = static_cast<float>(c.side.prevailing_temperature_c);
    const int media[] = {kMediumWaterVapour, kMediumAir, kMediumNaturalGas};
    request.target.densityMedium = media[c.side.density_medium];
    request.model = MoistureModel{c.modelFormulation, c.modelEnhancement};
    for (const double value : {-60.0, -12.5, 10.0}) {
      char expected[100];
      ASSERT_EQ(ConvertReading(request, value, 2000, 2000, expected, sizeof expected), kConvertOk);
      const Call call{value,       RURUZIR_DEW_FROST_POINT_C, 2000, RURUZIR_MBAR, c.unit, 2000,
                      RURUZIR_MBAR};
      const Answer answer = Convert(call, nullptr, &c.side, c.formulation, c.enhancement);
      EXPECT_EQ(answer.text, expected) << "unit " << c.unit << ", value " << value;
    }
  }
}

TEST(ApiTest, BadArgumentsWriteNoMoreThanAnEmptyText) {
  const ruruzir_side nanSide = Side(NAN);
  const ruruzir_side badMedium = Side(20, 29, 1.9, 20, 3);
  const Call good = FrostPoint(-40, RURUZIR_DEW_FROST_POINT_C, 7000);
  struct Case {
    const char* what;
    Call call;
    const ruruzir_side* source;
    const ruruzir_side* target;
    int formulation;
    int enhancement;
  } cases[] = {
      {"source unit -1", {-40, -1, 1013.25, 0, 0, 7000, 0}, nullptr, nullptr, 1, 0},
      {"source unit 11", {-40, 11, 1013.25, 0, 0, 7000, 0}, nullptr, nullptr, 1, 0},
      {"target unit 11", {-40, 0, 1013.25, 0, 11, 7000, 0}, nullptr, nullptr, 1, 0},
      {"source pressure unit 5", {-40, 0, 1013.25, 5, 0, 7000, 0}, nullptr, nullptr, 1, 0},
      {"target pressure unit -1", {-40, 0, 1013.25, 0, 0, 7000, -1}, nullptr, nullptr, 1, 0},
      {"NaN value", {NAN, 0, 1013.25, 0, 0, 7000, 0}, nullptr, nullptr, 1, 0},
      {"infinite value", {-INFINITY, 1, 1013.25, 0, 0, 7000, 0}, nullptr, nullptr, 1, 0},
      {"NaN source pressure", {-40, 0, NAN, 0, 0, 7000, 0}, nullptr, nullptr, 1, 0},
      {"NaN target pressure", {-40, 0, 1013.25, 0, 0, NAN, 0}, nullptr, nullptr, 1, 0},
      {"NaN in a side", good, nullptr, &nanSide, 1, 0},
      {"medium 3", good, &badMedium, nullptr, 1, 0},
      {"formulation 4", good, nullptr, nullptr, 4, 0},
      {"enhancement -1", good, nullptr, nullptr, 1, -1},
  };
  for (const Case& c : cases) {
    GuardedText area(32);
    double result = 0;
    const int status = ruruzir_convert(
        c.call.value, c.call.sourceUnit, c.call.sourcePressure, c.call.sourcePressureUnit, c.source,
        c.call.targetUnit, c.call.targetPressure, c.call.targetPressureUnit, c.target,
        c.formulation, c.enhancement, &result, area.bytes.data(), area.size);
    EXPECT_EQ(status, RURUZIR_BAD_ARGUMENT) << c.what;
    EXPECT_EQ(area.bytes[0], '\0') << c.what;
    EXPECT_TRUE(std::isnan(result)) << c.what;
    EXPECT_TRUE(area.GuardsIntact()) << c.what;
  }
}

TEST(ApiTest, TextAreaMustHoldTheWholeText) {
  const Call example = FrostPoint(-40, RURUZIR_DEW_FROST_POINT_C, 7000);  // "-21.6"
  const Call outside = FrostPoint(-150, RURUZIR_PPMV);  // a message of 29 characters
  double result = 0;
  EXPECT_EQ(ruruzir_convert(-40, 0, 1013.25, 0, nullptr, 0, 7000, 0, nullptr, kGoffGratch,
                            kNoFactor, &result, nullptr, 100),
            RURUZIR_BAD_ARGUMENT);
  EXPECT_TRUE(std::isnan(result));
  struct Case {
    Call call;
    size_t size;
    int status;
  } cases[] = {
      {example, 0, RURUZIR_BAD_ARGUMENT},  {example, 1, RURUZIR_BAD_ARGUMENT},
      {example, 5, RURUZIR_BAD_ARGUMENT},  {example, 6, RURUZIR_CONVERTED},
      {outside, 29, RURUZIR_BAD_ARGUMENT}, {outside, 30, RURUZIR_OUT_OF_RANGE},
  };
  for (const Case& c : cases) {
    GuardedText area(c.size);
    const int status = ruruzir_convert(c.call.value, c.call.sourceUnit, c.call.sourcePressure,
                                       c.call.sourcePressureUnit, nullptr, c.call.targetUnit,
                                       c.call.targetPressure, c.call.targetPressureUnit, nullptr,
                                       kGoffGratch, kNoFactor, nullptr, area.bytes.data(), c.size);
    EXPECT_EQ(status, c.status) << c.size;
    EXPECT_TRUE(area.GuardsIntact()) << c.size;
    if (c.size > 0) {
      const size_t length = c.status == RURUZIR_BAD_ARGUMENT ? 0 : c.size - 1;
      EXPECT_EQ(std::strlen(area.bytes.data()), length) << c.size;
    }
  }
}

TEST(ApiTest, UnitListing) {
  ASSERT_EQ(ruruzir_unit_count(RURUZIR_MOISTURE_UNITS), 11);
  ASSERT_EQ(ruruzir_unit_count(RURUZIR_PRESSURE_UNITS), 5);
  EXPECT_EQ(ruruzir_unit_count(2), 0);
  // Every name is one the converter takes, for the unit of that code.
  for (int code = 0; code < 11; ++code) {
    const char* name = ruruzir_unit_name(RURUZIR_MOISTURE_UNITS, code);
    ASSERT_NE(name, nullptr) << code;
    ConverterRequest request = DefaultConverterRequest();
    const char* argv[] = {"ruruzir-convert", "--from", name, "1"};
    char message[200];
    ASSERT_EQ(ParseConverterArguments(4, argv, &request, message, sizeof message), kConvertOk)
        << name;
    EXPECT_EQ(request.sourceUnit, code) << name;
    char caption[100];
    ASSERT_EQ(ruruzir_unit_caption(RURUZIR_MOISTURE_UNITS, code, caption, sizeof caption),
              RURUZIR_CONVERTED);
    const std::string item = kExpectedMoistureItemTexts[code];
    EXPECT_EQ(caption, item.substr(0, item.find('|')));
  }
  for (int code = 0; code < 5; ++code) {
    const char* name = ruruzir_unit_name(RURUZIR_PRESSURE_UNITS, code);
    ASSERT_NE(name, nullptr) << code;
    ConverterRequest request = DefaultConverterRequest();
    const char* argv[] = {"ruruzir-convert", "--pressure-unit", name, "1"};
    char message[200];
    ASSERT_EQ(ParseConverterArguments(4, argv, &request, message, sizeof message), kConvertOk)
        << name;
    EXPECT_EQ(request.sourcePressureUnit, code) << name;
    char caption[100];
    ASSERT_EQ(ruruzir_unit_caption(RURUZIR_PRESSURE_UNITS, code, caption, sizeof caption),
              RURUZIR_CONVERTED);
    EXPECT_STREQ(caption, kExpectedPressureNames[code]);
  }
  const std::pair<int, int> noUnits[] = {{0, -1}, {0, 11}, {1, 5}, {2, 0}};
  for (const auto& [kind, code] : noUnits) {
    EXPECT_EQ(ruruzir_unit_name(kind, code), nullptr) << kind << " " << code;
    GuardedText area(8);
    EXPECT_EQ(ruruzir_unit_caption(kind, code, area.bytes.data(), area.size), RURUZIR_BAD_ARGUMENT);
    EXPECT_EQ(area.bytes[0], '\0');
  }
  // "mBAR" needs 5 bytes.
  GuardedText area(4);
  EXPECT_EQ(ruruzir_unit_caption(RURUZIR_PRESSURE_UNITS, 0, area.bytes.data(), area.size),
            RURUZIR_BAD_ARGUMENT);
  EXPECT_TRUE(area.GuardsIntact());
  EXPECT_EQ(ruruzir_unit_caption(RURUZIR_PRESSURE_UNITS, 0, nullptr, 8), RURUZIR_BAD_ARGUMENT);
  EXPECT_STREQ(ruruzir_version(), kConverterVersion);
}

// Four threads convert the same table at once and get the answers of one thread alone.
TEST(ApiTest, FourThreadsAtOnce) {
  std::vector<Call> calls;
  std::vector<ruruzir_side> sides;
  for (int i = 0; i < 64; ++i) {
    const int target = i % 11;
    calls.push_back({-100.0 + 2.5 * i, RURUZIR_DEW_FROST_POINT_C, 500.0 + 100 * (i % 7),
                     RURUZIR_MBAR, target, 14.5 + (i % 5), RURUZIR_PSIA});
    sides.push_back(Side(10.0 + i, 16.0 + i, 0.5 + 0.1 * i, -10.0 + i, i % 3));
  }
  std::vector<Answer> expected;
  for (size_t i = 0; i < calls.size(); ++i) {
    expected.push_back(
        Convert(calls[i], &sides[i], &sides[i], static_cast<int>(i % 4), static_cast<int>(i % 3)));
  }
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 20; ++round) {
        for (size_t k = 0; k < calls.size(); ++k) {
          const size_t i = (k + 16 * t) % calls.size();  // each thread starts elsewhere
          const Answer answer = Convert(calls[i], &sides[i], &sides[i], static_cast<int>(i % 4),
                                        static_cast<int>(i % 3));
          if (answer.status != expected[i].status || answer.text != expected[i].text) {
            ++mismatches[t];
          }
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
  int converted = 0;
  for (const Answer& answer : expected) converted += answer.status == RURUZIR_CONVERTED;
  EXPECT_GT(converted, 32);  // the table mostly converts
}

}  // namespace
