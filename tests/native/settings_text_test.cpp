// The value texts of the settings section: composing, reading back, defaults and damage.
#include "core/settings_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/significant_format.h"

using namespace ruruzir;

namespace {

// The values the settings texts are read into and composed from.
CalculatorValues calculator;

constexpr char kGuard = '\x5A';
constexpr int kGuardBytes = 16;

class SettingsTextTest : public ::testing::Test {
 protected:
  void SetUp() override { calculator = CalculatorValues{}; }

  // The state and controls right after a first start without saved settings, with the
  // Preferences dialog showing the options in force.
  static CalculatorValues FirstStartState() {
    CalculatorValues state{};
    state.svpFormulation = kFormulationGoffGratch;
    state.enhancementFactor = kEnhancementNone;
    state.pendingSvpFormulation = kFormulationGoffGratch;
    state.pendingEnhancementFactor = kEnhancementNone;
    state.source = DefaultSideContext();
    state.target = DefaultSideContext();
    ApplySource(state);
    return state;
  }
  static MainWindowFields FirstStartFields() {
    MainWindowFields fields{};
    std::strcpy(fields.sourceValue, "0.");
    std::strcpy(fields.sourcePressure, "1013.25");
    std::strcpy(fields.targetPressure, "1013.25");
    return fields;
  }

  // Composes into a 52-byte area followed by guard bytes, and checks both.
  static std::string Compose(SettingsKey key, const CalculatorValues& state,
                             const MainWindowFields& fields) {
    char area[kSettingsComposeSize + kGuardBytes];
    std::memset(area, kGuard, sizeof area);
    ComposeSettingsText(key, state, fields, area);
    for (int i = kSettingsComposeSize; i < kSettingsComposeSize + kGuardBytes; ++i) {
      EXPECT_EQ(area[i], kGuard) << "byte " << i << " of key " << kSettingsKeyNames[key];
    }
    EXPECT_NE(std::memchr(area, '\0', kSettingsComposeSize), nullptr)
        << "key " << kSettingsKeyNames[key];
    area[kSettingsComposeSize - 1] = '\0';
    return area;
  }

  static std::string Shown(float number, int digits) {
    char text[100];
    FormatSignificant(number, digits, text, sizeof text);
    return text;
  }
};

TEST_F(SettingsTextTest, SectionAndKeyNames) {
  EXPECT_STREQ(kSettingsSection, "ZazUdur");
  const char* const names[kSettingsKeyCount] = {"SrcDew",   "SrcPrs", "TrgDew",  "TrgPrs",
                                                "MolWt",    "Liq",    "AmbTemp", "DensityMedium",
                                                "PrevTemp", "SWVPcal"};
  for (int key = 0; key < kSettingsKeyCount; ++key) {
    EXPECT_STREQ(kSettingsKeyNames[key], names[key]);
  }
  const SettingsKey load[] = {kSrcDew, kSrcPrs,  kTrgDew,        kTrgPrs,   kMolWt,
                              kLiq,    kAmbTemp, kDensityMedium, kPrevTemp, kSWVPcal};
  const SettingsKey save[] = {kSrcDew,  kSrcPrs,   kTrgDew,        kTrgPrs,  kMolWt,
                              kAmbTemp, kPrevTemp, kDensityMedium, kSWVPcal, kLiq};
  for (int i = 0; i < kSettingsKeyCount; ++i) {
    EXPECT_EQ(kSettingsLoadOrder[i], load[i]) << i;
    EXPECT_EQ(kSettingsSaveOrder[i], save[i]) << i;
  }
}

struct KeyText {
  SettingsKey key;
  const char* text;
};

TEST_F(SettingsTextTest, ProfileWrittenAfterAFirstStart) {
  const KeyText rows[] = {
      {kSrcDew, "0.,0"},
      {kSrcPrs, "1013.25,0"},
      {kTrgDew, "0,0"},
      {kTrgPrs, "1013.25,0"},
      {kMolWt, "1001,29.000000,1001,29.000000"},
      {kAmbTemp, "1015,20.000000,1015,20.000000"},
      {kPrevTemp, "1033,20.000000,1033,20.000000"},
      {kDensityMedium, "1030,1030"},
      {kSWVPcal, "1019,1022"},
      {kLiq, "1054,1.900000,1054,1.900000"},
  };
  const CalculatorValues state = FirstStartState();
  const MainWindowFields fields = FirstStartFields();
  for (const KeyText& row : rows) {
    SCOPED_TRACE(kSettingsKeyNames[row.key]);
    EXPECT_EQ(Compose(row.key, state, fields), row.text);
  }
}

TEST_F(SettingsTextTest, ComposeTakesIndicesFromTheFieldsAndChoicesAsLow16Bits) {
  CalculatorValues state = FirstStartState();
  state.sourceMoistureUnit = 9;  // the saved unit codes come from the combo boxes
  state.source.gasChoice = -1;
  state.target.gasChoice = 0x10000 + kGasAir;
  state.source.molecularWeight = 44.0625f;
  state.target.molecularWeight = -5.5f;
  state.source.densityMedium = 0x10000 + kMediumAir;
  state.target.densityMedium = kMediumWaterVapour;
  state.source.henryConstant = 0.0000004f;
  state.target.liquidChoice = kLiquidOther;
  state.target.henryConstant = 0.35f;
  state.source.ambientUnit = kAmbientFahrenheit;
  state.pendingSvpFormulation = kFormulationSonntag;
  state.pendingEnhancementFactor = kEnhancementGreenspan;
  state.svpFormulation = kFormulationMagnus;  // the options in force are not what is saved
  MainWindowFields fields = FirstStartFields();
  std::strcpy(fields.sourceValue, "enter new val");
  fields.sourceUnitIndex = 4;
  std::strcpy(fields.sourcePressure, "14.696");
  fields.sourcePressureIndex = 1;
  fields.targetUnitIndex = -1;
  std::strcpy(fields.targetPressure, "12345678901234");
  fields.targetPressureIndex = 4;
  const KeyText rows[] = {
      {kSrcDew, "0,4"},  // the number the field holds: "enter new val" reads as 0
      {kSrcPrs, "14.696,1"},
      {kTrgDew, "0,-1"},
      {kTrgPrs, "12345678901234,4"},
      {kMolWt, "65535,44.062500,1001,-5.500000"},
      {kDensityMedium, "1029,1028"},
      {kLiq, "1054,0.000000,1059,0.350000"},
      {kAmbTemp, "1016,20.000000,1015,20.000000"},
      {kSWVPcal, "1020,1024"},
  };
  for (const KeyText& row : rows) {
    SCOPED_TRACE(kSettingsKeyNames[row.key]);
    EXPECT_EQ(Compose(row.key, state, fields), row.text);
  }
}

struct MoistureLoadRow {
  const char* text;
  const char* shown;
  int unit;
};

TEST_F(SettingsTextTest, LoadSourceValue) {
  const MoistureLoadRow rows[] = {
      {"-40,0", "-40.", 0},
      {"123.456,4", "123.46", 4},
      {"138670,4", "1.3867e+005", 4},
      {"0.05,4", "5.e-002", 4},
      {"1,5,4", "1.", 5},
      {"0.,0", "0.", 0},
      {"  12.5,  7", "12.5", 7},
      // Typed with a bare exponent marker, which the edit box reads as the number before it.
      {"1.5e,4", "1.5", 4},
      {"2E-,3", "2.", 3},
      {"1.5e5,4", "1.5e+005", 4},
  };
  for (const MoistureLoadRow& row : rows) {
    SCOPED_TRACE(row.text);
    calculator = CalculatorValues{};
    float number = -1;
    LoadSettingsText(kSrcDew, row.text, calculator, &number);
    EXPECT_EQ(Shown(number, 5), row.shown);
    EXPECT_EQ(calculator.sourceMoistureUnit, row.unit);
  }
}

TEST_F(SettingsTextTest, LoadPressures) {
  struct Row {
    SettingsKey key;
    const char* text;
    const char* shown;
    int unit;
  };
  const Row rows[] = {
      {kSrcPrs, "14.7,1", "14.7", 1},       {kSrcPrs, "1013.25,0", "1013.25", 0},
      {kTrgPrs, "101.325,4", "101.325", 4}, {kTrgPrs, "0.,2", "0.", 2},
      {kSrcPrs, "1.,3", "1.", 3},           {kTrgPrs, "1234567,0", "1.23457e+006", 0},
      {kSrcPrs, "14.7E+,1", "14.7", 1},     {kTrgPrs, "3e,4", "3.", 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << kSettingsKeyNames[row.key] << " " << row.text);
    calculator = CalculatorValues{};
    float number = -1;
    LoadSettingsText(row.key, row.text, calculator, &number);
    EXPECT_EQ(Shown(number, 6), row.shown);
    const int unit =
        row.key == kSrcPrs ? calculator.sourcePressureUnit : calculator.targetPressureUnit;
    EXPECT_EQ(unit, row.unit);
  }
}

TEST_F(SettingsTextTest, LoadTargetUnitIgnoresTheNumber) {
  float number = -1;
  LoadSettingsText(kTrgDew, "7.5,6", calculator, &number);
  EXPECT_EQ(calculator.targetMoistureUnit, 6);
  LoadSettingsText(kTrgDew, "0,10", calculator, &number);
  EXPECT_EQ(calculator.targetMoistureUnit, 10);
}

TEST_F(SettingsTextTest, LoadSideParameters) {
  float number = 0;
  LoadSettingsText(kMolWt, "1013,44.062500,1004,2.016000", calculator, &number);
  EXPECT_EQ(calculator.source.gasChoice, 1013);
  EXPECT_EQ(calculator.source.molecularWeight, 44.0625f);
  EXPECT_EQ(calculator.target.gasChoice, 1004);
  EXPECT_EQ(calculator.target.molecularWeight, 2.016f);
  LoadSettingsText(kLiq, "1054,0.000000,1059,0.350000", calculator, &number);
  EXPECT_EQ(calculator.source.liquidChoice, 1054);
  EXPECT_EQ(calculator.source.henryConstant, 0.0f);
  EXPECT_EQ(calculator.target.liquidChoice, 1059);
  EXPECT_EQ(calculator.target.henryConstant, 0.35f);
  LoadSettingsText(kAmbTemp, "1016,20.000000,1015,-5.500000", calculator, &number);
  EXPECT_EQ(calculator.source.ambientUnit, 1016);
  EXPECT_EQ(calculator.source.ambientTemperature, 20.0f);
  EXPECT_EQ(calculator.target.ambientUnit, 1015);
  EXPECT_EQ(calculator.target.ambientTemperature, -5.5f);
  LoadSettingsText(kPrevTemp, "1034,37.750000,1033,0.000000", calculator, &number);
  EXPECT_EQ(calculator.source.prevailingUnit, 1034);
  EXPECT_EQ(calculator.source.prevailingTemperature, 37.75f);
  EXPECT_EQ(calculator.target.prevailingUnit, 1033);
  EXPECT_EQ(calculator.target.prevailingTemperature, 0.0f);
  LoadSettingsText(kDensityMedium, "1029,1028", calculator, &number);
  EXPECT_EQ(calculator.source.densityMedium, 1029);
  EXPECT_EQ(calculator.target.densityMedium, 1028);
  LoadSettingsText(kSWVPcal, "1020,1024", calculator, &number);
  EXPECT_EQ(calculator.svpFormulation, kFormulationSonntag);
  EXPECT_EQ(calculator.enhancementFactor, kEnhancementGreenspan);
}

TEST_F(SettingsTextTest, LoadingAParameterKeyAppliesTheSourceValue) {
  float number = 0;
  LoadSettingsText(kMolWt, "1013,44.062500,1004,2.016000", calculator, &number);
  EXPECT_EQ(calculator.appliedSource.molecularWeight, 44.0625f);
  LoadSettingsText(kLiq, "1059,0.350000,1054,1.900000", calculator, &number);
  EXPECT_EQ(calculator.appliedSource.henryConstant, 0.35f);
  LoadSettingsText(kAmbTemp, "1016,-5.500000,1015,20.000000", calculator, &number);
  EXPECT_EQ(calculator.appliedSource.ambientTemperature, -5.5f);
  LoadSettingsText(kPrevTemp, "1034,37.750000,1033,20.000000", calculator, &number);
  EXPECT_EQ(calculator.appliedSource.prevailingTemperature, 37.75f);
  LoadSettingsText(kDensityMedium, "66565,1028", calculator, &number);
  EXPECT_EQ(calculator.source.densityMedium, 0x10000 + kMediumAir);
  EXPECT_EQ(calculator.appliedSource.densityMedium, kMediumAir);  // its low 16 bits
}

TEST_F(SettingsTextTest, HenryConstantTooSmallForSixDecimalsComesBackAsZero) {
  CalculatorValues state = FirstStartState();
  state.source.henryConstant = 0.0000004f;
  const std::string text = Compose(kLiq, state, FirstStartFields());
  EXPECT_EQ(text, "1054,0.000000,1054,1.900000");
  float number = 0;
  LoadSettingsText(kLiq, text.c_str(), calculator, &number);
  EXPECT_EQ(calculator.source.henryConstant, 0.0f);
  EXPECT_EQ(calculator.target.henryConstant, 1.9f);
}

TEST_F(SettingsTextTest, EmptyTextsGiveDefaults) {
  // Start from values that differ from every default.
  CalculatorValues before{};
  before.svpFormulation = 7;
  before.enhancementFactor = 8;
  before.sourceMoistureUnit = 3;
  before.sourcePressureUnit = 3;
  before.targetMoistureUnit = 3;
  before.targetPressureUnit = 3;
  SideContext odd{1, 2, 3, 4, 5, 6, 7, 8, 9};
  before.source = odd;
  before.target = odd;
  calculator = before;
  float numbers[kSettingsKeyCount];
  for (int key = 0; key < kSettingsKeyCount; ++key) {
    numbers[key] = -1;
    LoadSettingsText(static_cast<SettingsKey>(key), "", calculator, &numbers[key]);
  }
  EXPECT_EQ(numbers[kSrcDew], 0.0f);
  EXPECT_EQ(numbers[kSrcPrs], 1013.25f);
  EXPECT_EQ(numbers[kTrgPrs], 1013.25f);
  EXPECT_EQ(calculator.sourceMoistureUnit, 0);
  EXPECT_EQ(calculator.sourcePressureUnit, 0);
  EXPECT_EQ(calculator.targetMoistureUnit, 0);
  EXPECT_EQ(calculator.targetPressureUnit, 0);
  EXPECT_EQ(calculator.svpFormulation, kFormulationGoffGratch);
  EXPECT_EQ(calculator.enhancementFactor, kEnhancementNone);
  for (const SideContext* side : {&calculator.source, &calculator.target}) {
    EXPECT_EQ(side->gasChoice, kGasAir);
    EXPECT_EQ(side->molecularWeight, 29.0f);
    EXPECT_EQ(side->liquidChoice, kLiquidHexane);
    EXPECT_EQ(side->henryConstant, 1.9f);
    EXPECT_EQ(side->ambientUnit, kAmbientCelsius);
    EXPECT_EQ(side->ambientTemperature, 20.0f);
    EXPECT_EQ(side->prevailingUnit, kPrevailingCelsius);
    EXPECT_EQ(side->prevailingTemperature, 20.0f);
    EXPECT_EQ(side->densityMedium, kMediumNaturalGas);
  }
  EXPECT_EQ(Shown(numbers[kSrcDew], 5), "0.");
  EXPECT_EQ(Shown(numbers[kSrcPrs], 6), "1013.25");
}

TEST_F(SettingsTextTest, PartialParseLeavesLaterMembersUnchanged) {
  const SideContext odd{1, 2, 3, 4, 5, 6, 7, 8, 9};
  calculator.source = odd;
  calculator.target = odd;
  calculator.sourceMoistureUnit = 3;
  calculator.svpFormulation = kFormulationSonntag;
  calculator.enhancementFactor = kEnhancementBogel;
  float number = -1;

  LoadSettingsText(kMolWt, "1005,44", calculator, &number);
  EXPECT_EQ(calculator.source.gasChoice, 1005);
  EXPECT_EQ(calculator.source.molecularWeight, 44.0f);
  EXPECT_EQ(calculator.target.gasChoice, odd.gasChoice);
  EXPECT_EQ(calculator.target.molecularWeight, odd.molecularWeight);

  LoadSettingsText(kLiq, "1057;0.5", calculator, &number);
  EXPECT_EQ(calculator.source.liquidChoice, 1057);
  EXPECT_EQ(calculator.source.henryConstant, odd.henryConstant);

  LoadSettingsText(kDensityMedium, "1029", calculator, &number);
  EXPECT_EQ(calculator.source.densityMedium, 1029);
  EXPECT_EQ(calculator.target.densityMedium, odd.densityMedium);

  LoadSettingsText(kAmbTemp, "x1016,1,2,3", calculator, &number);
  EXPECT_EQ(calculator.source.ambientUnit, odd.ambientUnit);
  EXPECT_EQ(calculator.source.ambientTemperature, odd.ambientTemperature);

  LoadSettingsText(kSWVPcal, "1021", calculator, &number);
  EXPECT_EQ(calculator.svpFormulation, kFormulationMagnus);
  EXPECT_EQ(calculator.enhancementFactor, kEnhancementBogel);

  LoadSettingsText(kSrcDew, "12", calculator, &number);
  EXPECT_EQ(number, 12.0f);
  EXPECT_EQ(calculator.sourceMoistureUnit, 3);
}

TEST_F(SettingsTextTest, UnreadableOptionsOnAFirstLoadStayZero) {
  float number = 0;
  LoadSettingsText(kSWVPcal, "abc", calculator, &number);
  EXPECT_EQ(calculator.svpFormulation, 0);
  EXPECT_EQ(calculator.enhancementFactor, 0);
  calculator.svpFormulation = kFormulationSonntag;
  calculator.enhancementFactor = kEnhancementGreenspan;
  LoadSettingsText(kSWVPcal, "abc", calculator, &number);
  EXPECT_EQ(calculator.svpFormulation, kFormulationSonntag);
  EXPECT_EQ(calculator.enhancementFactor, kEnhancementGreenspan);
}

TEST_F(SettingsTextTest, UnitIndexOutsideTheCatalogueLoadsUnitZero) {
  struct Row {
    SettingsKey key;
    const char* text;
  };
  const Row rows[] = {
      {kSrcDew, "5,-1"},    {kSrcDew, "5,11"},   {kSrcDew, "5,99"},
      {kTrgDew, "0,-1"},    {kTrgDew, "0,11"},   {kSrcPrs, "1000,5"},
      {kSrcPrs, "1000,-1"}, {kTrgPrs, "1000,5"}, {kTrgPrs, "1000,99999999999"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << kSettingsKeyNames[row.key] << " " << row.text);
    calculator.sourceMoistureUnit = 3;
    calculator.targetMoistureUnit = 3;
    calculator.sourcePressureUnit = 3;
    calculator.targetPressureUnit = 3;
    float number = -1;
    LoadSettingsText(row.key, row.text, calculator, &number);
    const int unit = row.key == kSrcDew   ? calculator.sourceMoistureUnit
                     : row.key == kTrgDew ? calculator.targetMoistureUnit
                     : row.key == kSrcPrs ? calculator.sourcePressureUnit
                                          : calculator.targetPressureUnit;
    EXPECT_EQ(unit, 0);
  }
}

TEST_F(SettingsTextTest, TextWithoutLeadingNumberShowsTheDefault) {
  struct Row {
    SettingsKey key;
    const char* text;
    float shown;
  };
  const Row rows[] = {
      {kSrcDew, "abc,3", 0.0f}, {kSrcDew, "enter new val,4", 0.0f}, {kSrcPrs, "abc,3", 1013.25f},
      {kTrgPrs, "x", 1013.25f}, {kTrgPrs, ",2", 1013.25f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << kSettingsKeyNames[row.key] << " " << row.text);
    float number = -1;
    LoadSettingsText(row.key, row.text, calculator, &number);
    EXPECT_EQ(number, row.shown);
  }
}

TEST_F(SettingsTextTest, ComposeLoadComposeIsStable) {
  CalculatorValues state{};
  state.pendingSvpFormulation = kFormulationSonntag;
  state.pendingEnhancementFactor = kEnhancementGreenspan;
  state.source = SideContext{1004, 44.0625f, 1057, 0.35f, 1016, -5.5f, 1034, 37.75f, 1029};
  state.target = SideContext{1013, 2.016f, 1059, 123.456f, 1015, 30.0f, 1033, 15.6f, 1028};
  MainWindowFields fields{};
  std::strcpy(fields.sourceValue, "123.46");
  fields.sourceUnitIndex = 4;
  std::strcpy(fields.sourcePressure, "14.696");
  fields.sourcePressureIndex = 1;
  fields.targetUnitIndex = 9;
  std::strcpy(fields.targetPressure, "101.325");
  fields.targetPressureIndex = 4;

  std::string first[kSettingsKeyCount];
  for (int key = 0; key < kSettingsKeyCount; ++key) {
    first[key] = Compose(static_cast<SettingsKey>(key), state, fields);
  }
  // Load everything into a fresh state, as at a start, and rebuild the controls from it.
  CalculatorValues loaded{};
  float numbers[kSettingsKeyCount] = {};
  for (SettingsKey key : kSettingsLoadOrder) {
    LoadSettingsText(key, first[key].c_str(), loaded, &numbers[key]);
  }
  loaded.pendingSvpFormulation = static_cast<uint16_t>(loaded.svpFormulation);
  loaded.pendingEnhancementFactor = static_cast<uint16_t>(loaded.enhancementFactor);
  MainWindowFields shown{};
  std::strcpy(shown.sourceValue, Shown(numbers[kSrcDew], 5).c_str());
  shown.sourceUnitIndex = loaded.sourceMoistureUnit;
  std::strcpy(shown.sourcePressure, Shown(numbers[kSrcPrs], 6).c_str());
  shown.sourcePressureIndex = loaded.sourcePressureUnit;
  shown.targetUnitIndex = loaded.targetMoistureUnit;
  std::strcpy(shown.targetPressure, Shown(numbers[kTrgPrs], 6).c_str());
  shown.targetPressureIndex = loaded.targetPressureUnit;
  for (int key = 0; key < kSettingsKeyCount; ++key) {
    SCOPED_TRACE(kSettingsKeyNames[key]);
    EXPECT_EQ(Compose(static_cast<SettingsKey>(key), loaded, shown), first[key]);
  }
  EXPECT_EQ(first[kSrcDew], "123.46,4");
  EXPECT_EQ(first[kSWVPcal], "1020,1024");
}

TEST_F(SettingsTextTest, HugeValuesAreCutAtTheCompositionArea) {
  const float huge[] = {1e30f, FLT_MAX, -FLT_MAX};
  for (float value : huge) {
    SCOPED_TRACE(::testing::Message() << value);
    CalculatorValues state = FirstStartState();
    state.source.molecularWeight = value;
    state.target.molecularWeight = value;
    state.source.henryConstant = value;
    state.target.henryConstant = -value;
    state.source.ambientTemperature = value;
    state.target.ambientTemperature = value;
    state.source.prevailingTemperature = -value;
    state.target.prevailingTemperature = value;
    state.source.gasChoice = INT32_MIN;
    MainWindowFields fields = FirstStartFields();
    std::strcpy(fields.sourceValue, "12345678901234");
    fields.sourceUnitIndex = INT32_MIN;
    for (int key = 0; key < kSettingsKeyCount; ++key) {
      SCOPED_TRACE(kSettingsKeyNames[key]);
      const std::string text = Compose(static_cast<SettingsKey>(key), state, fields);
      EXPECT_LE(text.size(), static_cast<size_t>(kSettingsComposeSize - 1));
    }
  }
  CalculatorValues state = FirstStartState();
  state.source.molecularWeight = 1e30f;
  state.target.molecularWeight = 1e30f;
  const std::string text = Compose(kMolWt, state, FirstStartFields());
  EXPECT_EQ(text.size(), static_cast<size_t>(kSettingsComposeSize - 1));
  EXPECT_EQ(text.compare(0, 21, "1001,1000000015047466"), 0) << text;
}

// A stored value beyond single precision would be an infinity, which a later save writes
// as "inf" or "N/A" and nothing reads back: it loads as its member's default.
TEST_F(SettingsTextTest, ValuesBeyondSinglePrecisionLoadAsDefaults) {
  struct Row {
    SettingsKey key;
    const char* text;
    float fieldNumber;  // for the three keys with an edit box
  };
  const Row rows[] = {
      {kSrcDew, "1e39,4", 0.0f},
      {kSrcPrs, "-1e300,3", 1013.25f},
      {kTrgPrs, "1e39,2", 1013.25f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    float number = -1.0f;
    LoadSettingsText(row.key, row.text, calculator, &number);
    EXPECT_EQ(number, row.fieldNumber);
  }
  EXPECT_EQ(calculator.sourceMoistureUnit, 4);
  EXPECT_EQ(calculator.sourcePressureUnit, 3);
  EXPECT_EQ(calculator.targetPressureUnit, 2);

  float unused;
  LoadSettingsText(kMolWt, "1013,1e39,1005,28", calculator, &unused);
  LoadSettingsText(kLiq, "1059,-1e39,1059,1e300", calculator, &unused);
  LoadSettingsText(kAmbTemp, "1016,1e40,1015,25", calculator, &unused);
  LoadSettingsText(kPrevTemp, "1034,30,1033,-1e45", calculator, &unused);
  EXPECT_EQ(calculator.source.gasChoice, 1013);
  EXPECT_EQ(calculator.source.molecularWeight, 29.0f);
  EXPECT_EQ(calculator.target.gasChoice, 1005);
  EXPECT_EQ(calculator.target.molecularWeight, 28.0f);
  EXPECT_EQ(calculator.source.henryConstant, 1.9f);
  EXPECT_EQ(calculator.target.henryConstant, 1.9f);
  EXPECT_EQ(calculator.source.ambientTemperature, 20.0f);
  EXPECT_EQ(calculator.target.ambientTemperature, 25.0f);
  EXPECT_EQ(calculator.source.prevailingTemperature, 30.0f);
  EXPECT_EQ(calculator.target.prevailingTemperature, 20.0f);
  EXPECT_EQ(calculator.appliedSource.molecularWeight, 29.0f);
  EXPECT_EQ(calculator.appliedSource.henryConstant, 1.9f);
}

struct ScanRow {
  const char* text;
  int assigned;
  int first;
  float second;
};

TEST(ScanSettingsTextTest, IntegerCommaFloat) {
  const ScanRow rows[] = {
      {" 5, 2", 2, 5, 2.0f},      {"5 ,2", 1, 5, -1.0f},
      {"5,2.5xyz", 2, 5, 2.5f},   {"-40,0.000000", 2, -40, 0.0f},
      {"abc", 0, -1, -1.0f},      {"", 0, -1, -1.0f},
      {"7", 1, 7, -1.0f},         {"7,", 1, 7, -1.0f},
      {"7,x", 1, 7, -1.0f},       {"7;2", 1, 7, -1.0f},
      {"+3,-1e2", 2, 3, -100.0f}, {"4,2ex", 2, 4, 2.0f},
  };
  for (const ScanRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "\"" << row.text << "\"");
    int first = -1;
    float second = -1;
    EXPECT_EQ(ScanSettingsText(row.text, "%d,%f", &first, &second), row.assigned);
    EXPECT_EQ(first, row.first);
    EXPECT_EQ(second, row.second);
  }
}

// The edit boxes are read into 15 bytes; a save writes at most their first 14 characters even
// where the area holds no terminator.
TEST_F(SettingsTextTest, FieldTextsAreWrittenToFourteenCharacters) {
  MainWindowFields fields = FirstStartFields();
  std::memset(fields.sourceValue, '7', sizeof fields.sourceValue);
  fields.sourceUnitIndex = 4;
  std::memset(fields.sourcePressure, '1', sizeof fields.sourcePressure);
  fields.sourcePressureIndex = 0x35353535;  // '5555': read past the field, it would show
  EXPECT_EQ(Compose(kSrcDew, FirstStartState(), fields), "77777777777777,4");
  EXPECT_EQ(Compose(kSrcPrs, FirstStartState(), fields), "11111111111111,892679477");
}

// A field's text is stored as shown when it reads back as the number the field holds, and
// otherwise as that number, so that the number and the unit index after it both come back.
TEST_F(SettingsTextTest, StoredFieldTextsReadBackAsTheFieldsNumberAndUnit) {
  const struct {
    const char* shown;
    const char* stored;
    float number;
  } rows[] = {
      {"7,5", "7.5,5", 7.5f},
      {"-1,25e1", "-1.25e1,5", -12.5f},
      {",5 ppm", ".5,5", 0.5f},
      {"7.5,3", "7.5,5", 7.5f},
      {"900 mbar", "900,5", 900.0f},
      {"", "0,5", 0.0f},
      {"enter new val", "0,5", 0.0f},
      {"1.5e", "1.5e,5", 1.5f},
      {"0.", "0.,5", 0.0f},
      {"14.7E+", "14.7E+,5", 14.7f},
      {"12345.67890123", "12345.67890123,5", 12345.6789f},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "\"" << row.shown << "\"");
    MainWindowFields fields = FirstStartFields();
    std::strcpy(fields.sourceValue, row.shown);
    fields.sourceUnitIndex = 5;
    const std::string stored = Compose(kSrcDew, FirstStartState(), fields);
    EXPECT_EQ(stored, row.stored);
    CalculatorValues loaded{};
    float number = -1;
    LoadSettingsText(kSrcDew, stored.c_str(), loaded, &number);
    EXPECT_EQ(number, row.number);
    EXPECT_EQ(loaded.sourceMoistureUnit, 5);
  }
}

// A separator other than the comma ends the reading there: what follows keeps its value.
TEST_F(SettingsTextTest, AWrongSeparatorStopsTheReading) {
  calculator = CalculatorValues{};
  float number = -1;
  LoadSettingsText(kSrcDew, "-40;4", calculator, &number);
  EXPECT_EQ(number, -40.0f);
  EXPECT_EQ(calculator.sourceMoistureUnit, 0);
  LoadSettingsText(kSWVPcal, "1020;1024", calculator, &number);
  EXPECT_EQ(calculator.svpFormulation, 1020);
  EXPECT_EQ(calculator.enhancementFactor, 0);
  calculator.target.molecularWeight = 5.0f;
  LoadSettingsText(kMolWt, "1004,2.016000;1009,16.000000", calculator, &number);
  EXPECT_EQ(calculator.source.gasChoice, 1004);
  EXPECT_EQ(calculator.source.molecularWeight, 2.016f);
  EXPECT_EQ(calculator.target.molecularWeight, 5.0f);
}

TEST(ScanSettingsTextTest, SettingsFormats) {
  int a = 0;
  int b = 0;
  float x = 0;
  float y = 0;
  EXPECT_EQ(ScanSettingsText("1001,29.000000,1004,2.016000", "%d,%f,%d,%f", &a, &x, &b, &y), 4);
  EXPECT_EQ(a, 1001);
  EXPECT_EQ(x, 29.0f);
  EXPECT_EQ(b, 1004);
  EXPECT_EQ(y, 2.016f);
  EXPECT_EQ(ScanSettingsText("1019,1022", "%d,%d", &a, &b), 2);
  EXPECT_EQ(a, 1019);
  EXPECT_EQ(b, 1022);
  EXPECT_EQ(ScanSettingsText("-40,0", "%f,%d", &x, &a), 2);
  EXPECT_EQ(x, -40.0f);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(ScanSettingsText("1.3867e+005,4", "%f,%d", &x, &a), 2);
  EXPECT_EQ(x, 138670.0f);
  EXPECT_EQ(a, 4);
  EXPECT_EQ(ScanSettingsText("1;2", "%d;%d", &a, &b), 2);
  EXPECT_EQ(b, 2);
  b = 0;
  EXPECT_EQ(ScanSettingsText("1,2", "%d;%d", &a, &b), 1);
  EXPECT_EQ(b, 0);
  // Integers do not take a fraction: the point does not match the comma.
  EXPECT_EQ(ScanSettingsText("3.5,4", "%d,%d", &a, &b), 1);
  EXPECT_EQ(a, 3);
}

}  // namespace
