// The library's C interface: reference conversions, the statuses, bad arguments that must not
// write past the text area, the unit listing, and calls from four threads at once.
#include "api/ruruzir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "api_reference.h"
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

// One row of tests/api_reference.csv.
struct ReferenceRow {
  std::vector<std::string> fields;
  double Number(size_t i) const {
    if (fields[i] == "nan") return NAN;
    if (fields[i] == "inf") return INFINITY;
    return std::stod(fields[i]);
  }
  int Unit(size_t i, int kind) const {
    const char* text = fields[i].c_str();
    return std::isdigit(static_cast<unsigned char>(text[0])) ? std::atoi(text)
                                                             : ruruzir_unit_code(kind, text);
  }
};

std::vector<ReferenceRow> ReferenceRows() {
  std::vector<ReferenceRow> rows;
  std::istringstream table(kApiReferenceTable);
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    ReferenceRow row;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ';');) row.fields.push_back(field);
    if (line.back() == ';') row.fields.emplace_back();
    rows.push_back(row);
  }
  return rows;
}

std::string Utf8(const char* text) {
  char utf8[300];
  Latin1ToUtf8(text, utf8, sizeof utf8);
  return utf8;
}

// Every row through the single call and, where the text area plays no part, the array call.
TEST(ApiTest, ReferenceTable) {
  const std::vector<ReferenceRow> rows = ReferenceRows();
  ASSERT_GT(rows.size(), 20u);
  for (const ReferenceRow& row : rows) {
    ASSERT_EQ(row.fields.size(), 12u) << row.fields[0];
    const std::string what = row.fields[0] + " " + row.fields[1] + " -> " + row.fields[4];
    ruruzir_side target;
    ruruzir_default_side(&target);
    if (!row.fields[7].empty()) target.molecular_weight = row.Number(7);
    const size_t textSize = row.fields[8].empty() ? RURUZIR_TEXT_SIZE : std::stoul(row.fields[8]);
    const int expected = std::stoi(row.fields[9]);
    GuardedText area(textSize);
    double result = 0;
    const int status = ruruzir_convert(row.Number(0), row.Unit(1, RURUZIR_MOISTURE_UNITS),
                                       row.Number(2), row.Unit(3, RURUZIR_PRESSURE_UNITS), nullptr,
                                       row.Unit(4, RURUZIR_MOISTURE_UNITS), row.Number(5),
                                       row.Unit(6, RURUZIR_PRESSURE_UNITS), &target, kGoffGratch,
                                       kNoFactor, &result, area.bytes.data(), textSize);
    EXPECT_EQ(status, expected) << what;
    EXPECT_TRUE(area.GuardsIntact()) << what;
    EXPECT_EQ(ruruzir_status_text(status), row.fields[11]) << what;
    const std::string text = Utf8(area.bytes.data());
    if (!row.fields[10].empty()) {
      EXPECT_EQ(text, row.fields[10]) << what;
    }
    if (expected == RURUZIR_CONVERTED) {
      EXPECT_EQ(result, std::stod(text)) << what;
    } else {
      EXPECT_TRUE(std::isnan(result)) << what;
      if (expected != RURUZIR_OUT_OF_RANGE) {
        EXPECT_EQ(text, "") << what;
      }
    }
    if (!row.fields[8].empty()) continue;
    ruruzir_array_side sides[2] = {};
    for (int s = 0; s < 2; ++s) {
      sides[s].unit = row.Unit(1 + 3 * s, RURUZIR_MOISTURE_UNITS);
      sides[s].pressure = row.Number(2 + 3 * s);
      sides[s].pressure_unit = row.Unit(3 + 3 * s, RURUZIR_PRESSURE_UNITS);
    }
    ruruzir_default_side(&sides[0].parameters);
    sides[1].parameters = target;
    const double value = row.Number(0);
    double arrayResult = 0;
    int elementStatus = -1;
    const int callStatus =
        ruruzir_convert_array(1, &value, &sides[0], &sides[1], kGoffGratch, kNoFactor,
                              RURUZIR_AS_SHOWN, &arrayResult, &elementStatus);
    EXPECT_EQ(callStatus == RURUZIR_CONVERTED ? elementStatus : callStatus, expected) << what;
    EXPECT_TRUE(arrayResult == result || (std::isnan(arrayResult) && std::isnan(result))) << what;
  }
  EXPECT_STREQ(ruruzir_status_text(RURUZIR_STATUS_COUNT), "unknown status");
  EXPECT_STREQ(ruruzir_status_text(-1), "unknown status");
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
    request.target.ambientTemperatureC = c.side.ambient_temperature_c;
    request.target.molecularWeight = c.side.molecular_weight;
    request.target.henryConstant = c.side.henry_constant;
    request.target.prevailingTemperatureC = c.side.prevailing_temperature_c;
    request.target.densityMedium = static_cast<DensityMedium>(c.side.density_medium);
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

TEST(ApiTest, UnitListing) {
  ASSERT_EQ(ruruzir_unit_count(RURUZIR_MOISTURE_UNITS), 11);
  ASSERT_EQ(ruruzir_unit_count(RURUZIR_PRESSURE_UNITS), 9);
  EXPECT_EQ(ruruzir_unit_count(RURUZIR_FORMULATIONS), 0);
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
    EXPECT_EQ(ruruzir_unit_code(RURUZIR_MOISTURE_UNITS, name), code) << name;
    char caption[100];
    ASSERT_EQ(ruruzir_unit_caption(RURUZIR_MOISTURE_UNITS, code, caption, sizeof caption),
              RURUZIR_CONVERTED);
    const std::string item = kExpectedMoistureItemTexts[code];
    EXPECT_EQ(caption, item.substr(0, item.find('|')));
  }
  // The window's five by their list captions, the converter's four by their labels.
  const char* const captions[] = {kExpectedPressureNames[0],
                                  kExpectedPressureNames[1],
                                  kExpectedPressureNames[2],
                                  kExpectedPressureNames[3],
                                  kExpectedPressureNames[4],
                                  "bar",
                                  "barg",
                                  "MPa",
                                  "Pa"};
  for (int code = 0; code < 9; ++code) {
    const char* name = ruruzir_unit_name(RURUZIR_PRESSURE_UNITS, code);
    ASSERT_NE(name, nullptr) << code;
    ConverterRequest request = DefaultConverterRequest();
    const char* argv[] = {"ruruzir-convert", "--pressure-unit", name, "1"};
    char message[200];
    ASSERT_EQ(ParseConverterArguments(4, argv, &request, message, sizeof message), kConvertOk)
        << name;
    EXPECT_EQ(request.sourcePressureUnit, code) << name;
    EXPECT_EQ(ruruzir_unit_code(RURUZIR_PRESSURE_UNITS, name), code) << name;
    char caption[100];
    ASSERT_EQ(ruruzir_unit_caption(RURUZIR_PRESSURE_UNITS, code, caption, sizeof caption),
              RURUZIR_CONVERTED);
    EXPECT_STREQ(caption, captions[code]);
  }
  const std::pair<int, int> noUnits[] = {{0, -1}, {0, 11}, {1, 9}, {2, 0}};
  for (const auto& [kind, code] : noUnits) {
    EXPECT_EQ(ruruzir_unit_name(kind, code), nullptr) << kind << " " << code;
    GuardedText area(8);
    EXPECT_EQ(ruruzir_unit_caption(kind, code, area.bytes.data(), area.size), RURUZIR_BAD_CODE);
    EXPECT_EQ(area.bytes[0], '\0');
  }
  // "mBAR" needs 5 bytes.
  GuardedText area(4);
  EXPECT_EQ(ruruzir_unit_caption(RURUZIR_PRESSURE_UNITS, 0, area.bytes.data(), area.size),
            RURUZIR_TEXT_TOO_SMALL);
  EXPECT_TRUE(area.GuardsIntact());
  EXPECT_EQ(ruruzir_unit_caption(RURUZIR_PRESSURE_UNITS, 0, nullptr, 8), RURUZIR_NO_AREA);
  EXPECT_EQ(ruruzir_convert(-40, 0, 1013.25, 0, nullptr, 0, 7000, 0, nullptr, kGoffGratch,
                            kNoFactor, nullptr, nullptr, 100),
            RURUZIR_NO_AREA);
  EXPECT_EQ(ruruzir_unit_code(RURUZIR_MOISTURE_UNITS, "frost"), -1);
  EXPECT_EQ(ruruzir_unit_code(RURUZIR_PRESSURE_UNITS, "ppmv"), -1);
  EXPECT_EQ(ruruzir_unit_code(RURUZIR_PRESSURE_UNITS, nullptr), -1);
  EXPECT_STREQ(ruruzir_version(), kConverterVersion);
}

// Random conversions: the array call gives each element what the single call gives it, with
// pressures and temperatures shared or per element, over the remembered answers of a large
// call too (values drawn from few tenths), and the computed precision rounds to what is shown.
struct RandomArray {
  ruruzir_array_side sides[2] = {};
  int formulation, enhancement;
  std::vector<double> values, pressures[2], temperatures[2];  // temperatures: %RH's and g/m3's

  RandomArray(std::mt19937& random, size_t count) {
    auto uniform = [&](double low, double high) {
      return std::uniform_real_distribution<double>(low, high)(random);
    };
    formulation = static_cast<int>(random() % 4);
    enhancement = static_cast<int>(random() % 3);
    const bool fewValues = random() % 2 == 0;
    for (size_t i = 0; i < count; ++i) {
      values.push_back(fewValues ? std::round(uniform(-90, 30)) / 10 : uniform(-150, 200));
    }
    if (random() % 4 == 0) values[random() % count] = NAN;
    for (int s = 0; s < 2; ++s) {
      ruruzir_array_side& side = sides[s];
      side.unit = static_cast<int>(random() % 11);
      side.pressure_unit = static_cast<int>(random() % 5);
      side.pressure = side.pressure_unit == RURUZIR_PSIG ? uniform(0, 50) : uniform(1, 100);
      ruruzir_default_side(&side.parameters);
      side.parameters.density_medium = static_cast<int>(random() % 3);
      side.parameters.molecular_weight = uniform(2, 100);
      if (random() % 2) {
        for (size_t i = 0; i < count; ++i) pressures[s].push_back(uniform(100, 20000));
        side.pressure_unit = RURUZIR_MBAR;
        side.pressures = pressures[s].data();
      }
      if (random() % 2) {
        for (size_t i = 0; i < count; ++i) temperatures[s].push_back(uniform(-70, 150));
        side.ambient_temperatures_c = side.prevailing_temperatures_c = temperatures[s].data();
      }
    }
  }
  // Element i through the single call.
  Answer Single(size_t i) const {
    ruruzir_side parameters[2];
    double pressure[2];
    for (int s = 0; s < 2; ++s) {
      parameters[s] = sides[s].parameters;
      pressure[s] = sides[s].pressures ? pressures[s][i] : sides[s].pressure;
      if (sides[s].ambient_temperatures_c) {
        parameters[s].ambient_temperature_c = parameters[s].prevailing_temperature_c =
            temperatures[s][i];
      }
    }
    char text[RURUZIR_TEXT_SIZE];
    double result = 0;
    const int status =
        ruruzir_convert(values[i], sides[0].unit, pressure[0], sides[0].pressure_unit,
                        &parameters[0], sides[1].unit, pressure[1], sides[1].pressure_unit,
                        &parameters[1], formulation, enhancement, &result, text, sizeof text);
    return {status, text, result};
  }
  int Convert(int precision, std::vector<double>* results, std::vector<int>* statuses) const {
    results->assign(values.size(), 0);
    statuses->assign(values.size(), -1);
    return ruruzir_convert_array(values.size(), values.data(), &sides[0], &sides[1], formulation,
                                 enhancement, precision, results->data(), statuses->data());
  }
};

TEST(ApiTest, ArrayCallMatchesSingleCalls) {
  std::mt19937 random(18);
  int converted = 0;
  for (int round = 0; round < 40; ++round) {
    const RandomArray array(random, round % 4 == 0 ? 5000 : 40);
    std::vector<double> shown, computed;
    std::vector<int> statuses, computedStatuses;
    ASSERT_EQ(array.Convert(RURUZIR_AS_SHOWN, &shown, &statuses), RURUZIR_CONVERTED);
    ASSERT_EQ(array.Convert(RURUZIR_AS_COMPUTED, &computed, &computedStatuses), RURUZIR_CONVERTED);
    for (size_t i = 0; i < array.values.size(); ++i) {
      const Answer single = array.Single(i);
      ASSERT_EQ(statuses[i], single.status) << round << " " << i << " " << single.text;
      ASSERT_EQ(computedStatuses[i], single.status) << round << " " << i;
      if (single.status != RURUZIR_CONVERTED) {
        ASSERT_TRUE(std::isnan(shown[i]) && std::isnan(computed[i])) << round << " " << i;
        continue;
      }
      ++converted;
      ASSERT_EQ(shown[i], single.result) << round << " " << i;
      // Shown with d decimals: the computed number lies within half the last digit (and the
      // single precision the window formats).
      const size_t point = single.text.find('.');
      const double half =
          0.5 * std::pow(10.0, -static_cast<double>(single.text.size() - point - 1));
      ASSERT_LE(std::fabs(computed[i] - shown[i]), half * 1.0001 + std::fabs(shown[i]) * 1e-7)
          << round << " " << i << " " << single.text << " " << computed[i];
    }
  }
  EXPECT_GT(converted, 20000);
  // A refused call: every status its reason, every result NaN.
  RandomArray array(random, 10);
  array.sides[1].parameters.henry_constant = -1;
  std::vector<double> results;
  std::vector<int> statuses;
  EXPECT_EQ(array.Convert(RURUZIR_AS_SHOWN, &results, &statuses), RURUZIR_BAD_NUMBER);
  EXPECT_EQ(array.Convert(3, &results, &statuses), RURUZIR_BAD_CODE);
  for (size_t i = 0; i < results.size(); ++i) {
    EXPECT_TRUE(std::isnan(results[i]) && statuses[i] == RURUZIR_BAD_CODE) << i;
  }
  EXPECT_EQ(ruruzir_convert_array(3, nullptr, &array.sides[0], &array.sides[1], 1, 0, 0,
                                  results.data(), nullptr),
            RURUZIR_NO_AREA);
}

// Four threads convert the same table at once, one value a call and in array calls, and get
// the answers of one thread alone.
TEST(ApiTest, FourThreadsAtOnce) {
  std::mt19937 random(4);
  std::vector<RandomArray> arrays;
  std::vector<std::vector<double>> arrayResults(4);
  std::vector<std::vector<int>> arrayStatuses(4);
  for (int a = 0; a < 4; ++a) {
    arrays.emplace_back(random, a % 2 ? 5000 : 300);
    arrays[a].Convert(RURUZIR_AS_SHOWN, &arrayResults[a], &arrayStatuses[a]);
  }
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
        const RandomArray& array = arrays[(round + t) % 4];
        std::vector<double> results;
        std::vector<int> statuses;
        array.Convert(RURUZIR_AS_SHOWN, &results, &statuses);
        const size_t a = (round + t) % 4;
        for (size_t i = 0; i < results.size(); ++i) {
          const bool same = statuses[i] == arrayStatuses[a][i] &&
                            (results[i] == arrayResults[a][i] ||
                             (std::isnan(results[i]) && std::isnan(arrayResults[a][i])));
          if (!same) ++mismatches[t];
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

// The request call: one row per cause and per edge of the order of checks, each a change of the
// calculator's first-start request (a -40 degC frost point to frost point at 7000 mbar).
TEST(ApiTest, RequestCallGivesEachCauseWithItsField) {
  constexpr int kSourceSide = RURUZIR_FIELD_SOURCE_SIDE;
  constexpr int kTargetSide = RURUZIR_FIELD_TARGET_SIDE;
  const struct Row {
    const char* what;
    void (*change)(ruruzir_request&);
    double value;
    int status;
    int field;
    const char* text;  // nullptr: not compared
  } rows[] = {
      {"the worked example", [](ruruzir_request&) {}, -40, RURUZIR_CONVERTED, 0, "-21.6"},
      {"no source pressure given is one atmosphere",
       [](ruruzir_request& r) { r.source_pressure = NAN; }, -40, RURUZIR_CONVERTED, 0, "-21.6"},
      {"bar, and no target pressure",
       [](ruruzir_request& r) {
         r.source_pressure = 7;
         r.source_pressure_unit = RURUZIR_BAR;
         r.target_pressure = NAN;
       },
       -40, RURUZIR_CONVERTED, 0, "-55.9"},
      {"a pressure beyond single precision", [](ruruzir_request& r) { r.target_pressure = 1e39; },
       -40, RURUZIR_PRESSURE_TOO_HIGH, RURUZIR_FIELD_TARGET_PRESSURE, nullptr},
      {"vacuum", [](ruruzir_request& r) { r.source_pressure = 0.004; }, -40, RURUZIR_VACUUM,
       RURUZIR_FIELD_SOURCE_PRESSURE, nullptr},
      {"vacuum comes before the value's range",
       [](ruruzir_request& r) {
         r.source_pressure = -14.696;
         r.source_pressure_unit = RURUZIR_PSIG;
       },
       -200, RURUZIR_VACUUM, RURUZIR_FIELD_SOURCE_PRESSURE, nullptr},
      {"outside the range", [](ruruzir_request&) {}, -140.1, RURUZIR_OUT_OF_RANGE,
       RURUZIR_FIELD_VALUE,
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {"no reading", [](ruruzir_request&) {}, NAN, RURUZIR_MISSING, RURUZIR_FIELD_VALUE, nullptr},
      {"infinite where the unit has no range",
       [](ruruzir_request& r) { r.source_unit = RURUZIR_DEW_POINT_C; }, INFINITY,
       RURUZIR_BAD_NUMBER, RURUZIR_FIELD_VALUE, nullptr},
      {"no result", [](ruruzir_request& r) { r.source_pressure = 5; }, 10, RURUZIR_NO_ANSWER, 0,
       "out of range"},
      {"ambient at absolute zero",
       [](ruruzir_request& r) {
         r.target_unit = RURUZIR_RELATIVE_HUMIDITY;
         r.target.ambient_temperature_c = -273.15;
       },
       -40, RURUZIR_SIDE_VALUE, kTargetSide + RURUZIR_AMBIENT_TEMPERATURE, nullptr},
      {"ambient at the dialog's lower limit",
       [](ruruzir_request& r) {
         r.target_unit = RURUZIR_RELATIVE_HUMIDITY;
         r.target.ambient_temperature_c = -80;
       },
       -40, RURUZIR_SIDE_VALUE, kTargetSide + RURUZIR_AMBIENT_TEMPERATURE, nullptr},
      {"ambient just inside",
       [](ruruzir_request& r) {
         r.target_unit = RURUZIR_RELATIVE_HUMIDITY;
         r.target.ambient_temperature_c = -79.99;
       },
       -90, RURUZIR_CONVERTED, 0, nullptr},
      {"an ambient the units do not use",
       [](ruruzir_request& r) { r.target.ambient_temperature_c = -273.15; }, -40, RURUZIR_CONVERTED,
       0, "-21.6"},
      {"medium code 3",
       [](ruruzir_request& r) {
         r.source_unit = RURUZIR_GRAMS_PER_M3;
         r.source.density_medium = 3;
       },
       1, RURUZIR_BAD_CODE, kSourceSide + 4, nullptr},
      {"a medium the units do not use", [](ruruzir_request& r) { r.target.density_medium = 3; },
       -40, RURUZIR_CONVERTED, 0, "-21.6"},
      {"molecular weight 0",
       [](ruruzir_request& r) {
         r.target_unit = RURUZIR_PPMW_GAS;
         r.target.molecular_weight = 0;
       },
       -40, RURUZIR_SIDE_VALUE, kTargetSide + RURUZIR_MOLECULAR_WEIGHT, nullptr},
      {"side values before pressures",
       [](ruruzir_request& r) {
         r.target_unit = RURUZIR_PPMW_LIQUID;
         r.target.henry_constant = -1;
         r.source_pressure = 0;
       },
       -40, RURUZIR_SIDE_VALUE, kTargetSide + RURUZIR_HENRY_CONSTANT, nullptr},
      {"precision code 3", [](ruruzir_request& r) { r.precision = 3; }, -40, RURUZIR_BAD_CODE,
       RURUZIR_FIELD_MODEL, nullptr},
      {"pressure unit 9", [](ruruzir_request& r) { r.target_pressure_unit = 9; }, -40,
       RURUZIR_BAD_CODE, RURUZIR_FIELD_TARGET_PRESSURE, nullptr},
  };
  for (const Row& row : rows) {
    ruruzir_request request;
    ruruzir_default_request(&request);
    request.target_pressure = 7000;
    row.change(request);
    GuardedText area(RURUZIR_TEXT_SIZE);
    double result = 0;
    int field = -1;
    const int status =
        ruruzir_convert_request(&request, row.value, &result, area.bytes.data(), area.size, &field);
    EXPECT_EQ(status, row.status) << row.what;
    EXPECT_EQ(field, row.field) << row.what;
    EXPECT_TRUE(area.GuardsIntact()) << row.what;
    if (row.text) {
      EXPECT_STREQ(area.bytes.data(), row.text) << row.what;
    }
    // A refusal always says why; only a result has a number.
    EXPECT_NE(area.bytes[0], '\0') << row.what;
    EXPECT_EQ(std::isnan(result), status != RURUZIR_CONVERTED) << row.what;
    // The array call gives each element the same status and number.
    double element = 0;
    int elementStatus = -1;
    const int shared =
        ruruzir_convert_request_array(&request, 1, &row.value, nullptr, &element, &elementStatus);
    EXPECT_EQ(elementStatus, status) << row.what;
    EXPECT_EQ(shared == RURUZIR_CONVERTED, field == 0 || field == RURUZIR_FIELD_VALUE) << row.what;
    if (status == RURUZIR_CONVERTED) {
      EXPECT_EQ(element, result) << row.what;
    }
  }
}

// Elements of an array call: their own readings are checked as theirs, a NaN among them is no
// reading (never one atmosphere), remembered answers keep their cause, and missing areas are
// refused before any element is touched.
TEST(ApiTest, ArrayElementsKeepTheirOwnCauses) {
  ruruzir_request request;
  ruruzir_default_request(&request);
  request.target_unit = RURUZIR_RELATIVE_HUMIDITY;
  const double values[] = {0, 0, 0, 0};
  const double ambient[] = {20, NAN, -80, 20};
  const double pressures[] = {1013.25, 1013.25, 1013.25, NAN};
  ruruzir_columns columns{};
  columns.target_ambient_c = ambient;
  columns.source_pressures = pressures;
  double results[4];
  int statuses[4];
  ASSERT_EQ(ruruzir_convert_request_array(&request, 4, values, &columns, results, statuses),
            RURUZIR_CONVERTED);
  EXPECT_EQ(results[0], 26.13);  // the reference table's 0 degC frost point as %RH at 20 degC
  const int expected[] = {RURUZIR_CONVERTED, RURUZIR_MISSING, RURUZIR_SIDE_VALUE, RURUZIR_MISSING};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(statuses[i], expected[i]) << i;

  // Large calls remember answers: a repeated value without a result stays without one, and a
  // repeated value outside its range stays outside it.
  ruruzir_default_request(&request);
  request.source_pressure = 5;
  std::vector<double> many(5000);
  for (size_t i = 0; i < many.size(); ++i) many[i] = i % 3 == 0 ? 10 : i % 3 == 1 ? -200 : -60;
  std::vector<double> manyResults(many.size());
  std::vector<int> manyStatuses(many.size());
  ASSERT_EQ(ruruzir_convert_request_array(&request, many.size(), many.data(), nullptr,
                                          manyResults.data(), manyStatuses.data()),
            RURUZIR_CONVERTED);
  for (size_t i = 0; i < many.size(); ++i) {
    const int cause = i % 3 == 0   ? RURUZIR_NO_ANSWER
                      : i % 3 == 1 ? RURUZIR_OUT_OF_RANGE
                                   : RURUZIR_CONVERTED;
    ASSERT_EQ(manyStatuses[i], cause) << i;
  }
  // The earlier array call folds them as it always did.
  ruruzir_array_side sides[2] = {};
  for (ruruzir_array_side& side : sides) {
    side.pressure = 5;
    ruruzir_default_side(&side.parameters);
  }
  ASSERT_EQ(
      ruruzir_convert_array(many.size(), many.data(), &sides[0], &sides[1], kGoffGratch, kNoFactor,
                            RURUZIR_AS_SHOWN, manyResults.data(), manyStatuses.data()),
      RURUZIR_CONVERTED);
  EXPECT_EQ(manyStatuses[0], RURUZIR_OUT_OF_RANGE);
  EXPECT_EQ(manyStatuses[1], RURUZIR_OUT_OF_RANGE);
  EXPECT_EQ(manyStatuses[2], RURUZIR_CONVERTED);

  // Null areas: refused, and nothing is looped over when there is nothing to write.
  int status = -1;
  EXPECT_EQ(ruruzir_convert_request_array(&request, 1, values, nullptr, nullptr, &status),
            RURUZIR_NO_AREA);
  EXPECT_EQ(status, RURUZIR_NO_AREA);
  EXPECT_EQ(ruruzir_convert_request_array(nullptr, SIZE_MAX, nullptr, nullptr, nullptr, nullptr),
            RURUZIR_NO_AREA);
  EXPECT_EQ(ruruzir_convert_array(SIZE_MAX, nullptr, nullptr, nullptr, kGoffGratch, kNoFactor,
                                  RURUZIR_AS_SHOWN, nullptr, nullptr),
            RURUZIR_NO_AREA);
  EXPECT_EQ(ruruzir_convert_array(1, values, &sides[0], &sides[1], kGoffGratch, kNoFactor,
                                  RURUZIR_AS_SHOWN, nullptr, &status),
            RURUZIR_NO_AREA);
}

// What the bindings read instead of keeping copies: sizes, names of every kind, typed text.
TEST(ApiTest, VocabularyAndTypedText) {
  EXPECT_EQ(ruruzir_version_number(), RURUZIR_VERSION_NUMBER);
  EXPECT_EQ(ruruzir_text_size(), size_t{RURUZIR_TEXT_SIZE});
  EXPECT_EQ(ruruzir_side_size(), sizeof(ruruzir_side));
  EXPECT_EQ(ruruzir_request_size(), sizeof(ruruzir_request));
  const struct {
    int kind;
    const char* name;
    int code;
  } names[] = {
      {RURUZIR_PRESSURE_UNITS, "Barg", RURUZIR_BARG},
      {RURUZIR_PRESSURE_UNITS, "psi", -1},
      {RURUZIR_FORMULATIONS, "SONNTAG", RURUZIR_SONNTAG},
      {RURUZIR_FORMULATIONS, "gg", -1},
      {RURUZIR_ENHANCEMENTS, "bogel", RURUZIR_ENHANCEMENT_BOGEL},
      {RURUZIR_MEDIA, "natural-gas", RURUZIR_MEDIUM_NATURAL_GAS},
      {RURUZIR_PRECISIONS, "computed", RURUZIR_AS_COMPUTED},
      {6, "shown", -1},
  };
  for (const auto& n : names) {
    EXPECT_EQ(ruruzir_code(n.kind, n.name), n.code) << n.name;
    if (n.code >= 0) {
      EXPECT_STRCASEEQ(ruruzir_name(n.kind, n.code), n.name);
    }
  }
  EXPECT_EQ(ruruzir_default_code(RURUZIR_FORMULATIONS), RURUZIR_GOFF_GRATCH);
  EXPECT_EQ(ruruzir_default_code(RURUZIR_MEDIA), RURUZIR_MEDIUM_NATURAL_GAS);
  EXPECT_STREQ(ruruzir_atmosphere_reading(RURUZIR_PA), "101325");
  EXPECT_STREQ(ruruzir_label(RURUZIR_MOISTURE_UNITS, RURUZIR_PPMV), "ppmV");
  int code = -1;
  EXPECT_STREQ(ruruzir_alias(RURUZIR_MOISTURE_UNITS, 5, &code), "ppm");
  EXPECT_EQ(code, RURUZIR_PPMV);
  EXPECT_EQ(ruruzir_alias(RURUZIR_MOISTURE_UNITS, 16, &code), nullptr);
  double low = 0, high = 0;
  int included = -1;
  ASSERT_EQ(ruruzir_limits(RURUZIR_VALUE, RURUZIR_PPMV, &low, &high, &included), RURUZIR_CONVERTED);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 138670);
  EXPECT_EQ(included, 1);
  ASSERT_EQ(ruruzir_limits(RURUZIR_AMBIENT_TEMPERATURE, 0, &low, &high, &included),
            RURUZIR_CONVERTED);
  EXPECT_EQ(low, -80);
  EXPECT_EQ(included, 0);

  const struct {
    const char* text;
    int decimalComma;
    int status;
    double celsius;
    int fahrenheit;
  } temperatures[] = {
      {"20", 0, RURUZIR_CONVERTED, 20, 0},
      {" 68F ", 0, RURUZIR_CONVERTED, 20, 1},
      {"68 degF", 0, RURUZIR_CONVERTED, 20, 1},
      {"20\xC2\xB0"
       "C",
       0, RURUZIR_CONVERTED, 20, 0},
      {"-40f", 0, RURUZIR_CONVERTED, -40, 1},
      {"7,5", 1, RURUZIR_CONVERTED, 7.5, 0},
      {"7,5", 0, RURUZIR_BAD_NUMBER, 0, 0},
      {"20K", 0, RURUZIR_BAD_NUMBER, 0, 0},
      {"\xB0", 0, RURUZIR_BAD_NUMBER, 0, 0},
      {"  ", 0, RURUZIR_MISSING, 0, 0},
  };
  for (const auto& t : temperatures) {
    double celsius = 0;
    int fahrenheit = -1;
    EXPECT_EQ(ruruzir_read_temperature(t.text, t.decimalComma, &celsius, &fahrenheit), t.status)
        << t.text;
    if (t.status != RURUZIR_CONVERTED) continue;
    EXPECT_NEAR(celsius, t.celsius, 1e-5) << t.text;
    EXPECT_EQ(fahrenheit, t.fahrenheit) << t.text;
  }
  char reason[RURUZIR_TEXT_SIZE];
  EXPECT_EQ(ruruzir_check(RURUZIR_PRESSURE, RURUZIR_PSIG, -14.7, reason, sizeof reason),
            RURUZIR_VACUUM);
  EXPECT_STREQ(reason, "is at or below vacuum: no gas has that pressure");
}

}  // namespace
