// The auxiliary dialogs, opened the way a user opens them from the main window: Preferences,
// gas and liquid, ambient temperature and density, and the 4/20 mA calculator.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/calculator_state.h"
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

const char kGasCaption[] = "Choose the Gas Type";
const char kLiquidCaption[] = "ppmW in a Liquid  -- Choose Henry's constant";
const char kAmbientCaption[] = "Enter Ambient Temperature";
const char kDensityCaption[] = "Density Calculation Parameters";
const char kLoopCaption[] = "  4 / 20 mA Conversions Calculator";

const char kGasLabel[] = "ppmW(mol/mol)  ...  parts per million by weight";
const char kLiquidLabel[] = "ppmW(\xB5g/g)  ...  parts per million by weight";
const char kDensityLabel[] = "grams H2O per meter\xB3... vapor density";
const char kAmbientLabel[] = "%RH  ...  percent Relative Humidity";

const char kGasItem[] = "ppmW(mol/mol)  ...  parts per million by weight| choose gas...";
const char kLiquidItem[] = "ppmW(\xB5g/g)  ...  parts per million by weight| choose liquid...";
const char kDensityItem[] = "grams H2O per meter\xB3... vapor density| specify medium...";
const char kAmbientItem[] = "%RH  ...  percent Relative Humidity| choose temp...";

std::vector<Step> Join(std::vector<Step> first, const std::vector<Step>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

class DialogTest : public GuiTest {
 protected:
  // Chooses a unit whose dialog the script answers, and checks every step was used.
  void ChooseWithDialog(int comboId, int unit, const std::vector<Step>& steps) {
    Script(steps);
    ChooseComboItem(comboId, unit);
    EXPECT_TRUE(ScriptDone()) << "steps never used: " << PendingSteps();
  }
  std::string Item(int comboId, int index) {
    return ComboItems(window_, comboId)[static_cast<size_t>(index)];
  }
};

// ---------------------------------------------------------------------------------------------
// Preferences.

class PreferencesTest : public DialogTest {
 protected:
  void RunPreferences(const std::vector<Step>& steps) {
    Script(steps);
    SendCommand(IDC_PREFERENCES, BN_CLICKED);
    EXPECT_TRUE(ScriptDone()) << "steps never used: " << PendingSteps();
  }
};

TEST_F(PreferencesTest, OpensWithTheOptionsInForceSelected) {
  OpenWindow({{"SWVPcal", "1020,1024"}});
  RunPreferences({Dialog(kPreferencesCaption), ExpectChecked(1020, true),
                  ExpectChecked(1018, false), ExpectChecked(1019, false),
                  ExpectChecked(1021, false), ExpectChecked(1024, true), ExpectChecked(1022, false),
                  ExpectChecked(1023, false), Command(IDCANCEL), ExpectClosed()});
  EXPECT_EQ(calculator.pendingSvpFormulation, 1020);
  EXPECT_EQ(calculator.pendingEnhancementFactor, 1024);
}

TEST_F(PreferencesTest, OkWithoutChangeKeepsTheOptionsAndRecomputes) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  ASSERT_EQ(ResultText(), "6060.1");
  SetDlgItemTextA(window_, IDC_RESULT, "stale");
  ValidateRect(window_, nullptr);
  Script({Dialog(kPreferencesCaption), Click(IDOK), ExpectClosed()});
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window_, IDC_PREFERENCES)));
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
  // OK asked for a repaint of the whole window, not only of the part the dialog covered.
  RECT client, update;
  GetClientRect(window_, &client);
  ASSERT_TRUE(GetUpdateRect(window_, &update, FALSE));
  EXPECT_TRUE(EqualRect(&client, &update));
  PumpUntilIdle();
  EXPECT_EQ(ReadText(IDC_RESULT), "6060.1");
  EXPECT_EQ(calculator.svpFormulation, 1019);
  EXPECT_EQ(calculator.enhancementFactor, 1022);
}

TEST_F(PreferencesTest, MagnusThenCancelChangesNothing) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  RunPreferences({Dialog(kPreferencesCaption), Click(1021), ExpectChecked(1021, true),
                  ExpectChecked(1019, false), Command(IDCANCEL), ExpectClosed()});
  EXPECT_EQ(calculator.svpFormulation, 1019);
  EXPECT_EQ(ResultText(), "6060.1");
  // Escape and the close box cancel as well.
  RunPreferences(
      {Dialog(kPreferencesCaption), Click(1021), Click(1023), CloseBox(), ExpectClosed()});
  EXPECT_EQ(calculator.svpFormulation, 1019);
  EXPECT_EQ(calculator.enhancementFactor, 1022);
}

TEST_F(PreferencesTest, MagnusThenOkChangesTheResult) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  RunPreferences(
      {Dialog(kPreferencesCaption), Click(1021), Click(1024), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.svpFormulation, 1021);
  EXPECT_EQ(calculator.enhancementFactor, 1024);
  const std::string result = ResultText();
  EXPECT_NE(result, "6060.1");
  EXPECT_NE(result, "out of range");
}

TEST_F(PreferencesTest, SonntagSaveCancelWritesSonntagButKeepsTheFormulationInForce) {
  OpenWindow();
  RunPreferences({Dialog(kPreferencesCaption), Click(1020), Click(IDC_SAVE_SETTINGS), ExpectOpen(),
                  Command(IDCANCEL), ExpectClosed()});
  EXPECT_EQ(ReadKey("SWVPcal"), "1020,1022");
  EXPECT_EQ(calculator.svpFormulation, 1019);
  // The next start uses Sonntag.
  CloseWindow();
  calculator = CalculatorState{};
  OpenWindow();
  EXPECT_EQ(calculator.svpFormulation, 1020);
  EXPECT_EQ(calculator.enhancementFactor, 1022);
}

TEST_F(PreferencesTest, SavingTwiceInOneOpeningWritesTheSameKeys) {
  OpenWindow({{"SrcDew", "-12.5,2"}});
  static std::vector<std::string> afterFirst;
  afterFirst.clear();
  RunPreferences({Dialog(kPreferencesCaption), Click(IDC_SAVE_SETTINGS),
                  Call([](HWND) { afterFirst = ReadSection(); }), Click(IDC_SAVE_SETTINGS),
                  Command(IDCANCEL)});
  EXPECT_EQ(afterFirst.size(), 10u);
  EXPECT_EQ(ReadSection(), afterFirst);
}

TEST_F(PreferencesTest, OptionOutsideItsGroupShowsNoButtonAndIsKeptOnOk) {
  OpenWindow({{"SWVPcal", "1030,1022"}});
  RunPreferences({Dialog(kPreferencesCaption), ExpectChecked(1018, false),
                  ExpectChecked(1019, false), ExpectChecked(1020, false),
                  ExpectChecked(1021, false), ExpectChecked(1022, true), Click(IDOK)});
  EXPECT_EQ(calculator.svpFormulation, 1030);
  EXPECT_EQ(calculator.enhancementFactor, 1022);
}

// ---------------------------------------------------------------------------------------------
// Gas.

TEST_F(DialogTest, GasAirStoredClosesAtOnce) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 5,
                   {Dialog(kGasCaption), ExpectChecked(1001, true), ExpectChecked(1013, false),
                    Command(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.gasChoice, 1001);
  EXPECT_EQ(calculator.target.molecularWeight, 29.0f);
  EXPECT_STREQ(calculator.gasDescription, " in Air mol.wt.=29");
  EXPECT_EQ(Selection(IDC_TARGET_MOISTURE_UNIT), 5);
  EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 5),
            "ppmW(mol/mol)  ...  parts per million by weight in Air mol.wt.=29");
}

TEST_F(DialogTest, GasOtherStoredShowsItsWeightAndKeepsIt) {
  OpenWindow({{"MolWt", "1001,29,1013,18.02"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 5,
                   {Dialog(kGasCaption), ExpectChecked(1013, true), ExpectText(1014, "18.02"),
                    Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.gasChoice, 1013);
  EXPECT_EQ(calculator.target.molecularWeight, 18.02f);
  EXPECT_STREQ(calculator.gasDescription, " in Unknown Gas of mol.wt.= 18.0");
  EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 5), std::string(kGasLabel) + calculator.gasDescription);
}

TEST_F(DialogTest, GasHeliumThenOtherShowsTheHeliumWeight) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 5,
                   {Dialog(kGasCaption), Click(1007), Click(1013), ExpectText(1014, "4."),
                    Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.gasChoice, 1013);
  EXPECT_EQ(calculator.target.molecularWeight, 4.0f);
  EXPECT_STREQ(calculator.gasDescription, " in Unknown Gas of mol.wt.=  4.0");
}

TEST_F(DialogTest, GasOtherRefusesValuesNotAboveZero) {
  OpenWindow();
  ChooseWithDialog(
      IDC_TARGET_MOISTURE_UNIT, 5,
      {Dialog(kGasCaption), Click(1013), SetText(1014, "abc"), Click(IDOK), ExpectOpen(),
       SetText(1014, "0"), Click(IDOK), ExpectOpen(), SetText(1014, "-5"), Command(IDOK),
       ExpectOpen(),
       // Escape does nothing either.
       Command(IDCANCEL), ExpectOpen(), SetText(1014, "12abc"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.gasChoice, 1013);
  EXPECT_EQ(calculator.target.molecularWeight, 12.0f);
  EXPECT_STREQ(calculator.gasDescription, " in Unknown Gas of mol.wt.= 12.0");
}

TEST_F(DialogTest, GasNamedEntryAfterOtherIgnoresTheTypedText) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 5,
                   {Dialog(kGasCaption), Click(1013), SetText(1014, "50"), Click(1011),
                    ExpectText(1014, "50"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.gasChoice, 1011);
  EXPECT_EQ(calculator.target.molecularWeight, 32.0f);
  EXPECT_STREQ(calculator.gasDescription, " in Oxygen mol.wt.=32");
}

struct NamedGas {
  int id;
  float weight;
  const char* description;
};

TEST_F(DialogTest, EveryNamedGasSetsItsWeightAndDescription) {
  const NamedGas gases[] = {
      {1000, 26, " in Acetylene mol.wt.=26"},
      {1001, 29, " in Air mol.wt.=29"},
      {1002, 17, " in Ammonia mol.wt.=17"},
      {1003, 40, " in Argon mol.wt.=40"},
      {1004, 44, " in CO2 mol.wt.=44"},
      {1005, 28, " in CO mol.wt.=28"},
      {1006, 28, " in Ethyline mol.wt.=28"},
      {1007, 4, " in Helium mol.wt.=4"},
      {1008, 2, " in Hydrogen mol.wt.=2"},
      {1009, 16, " in Methane mol.wt.=16"},
      {1010, 28, " in Nitrogen mol.wt.=28"},
      {1011, 32, " in Oxygen mol.wt.=32"},
      {1012, 64, " in Sulfur Dioxide mol.wt.=64"},
  };
  OpenWindow();
  for (const NamedGas& gas : gases) {
    SCOPED_TRACE(gas.description);
    ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 5,
                     {Dialog(kGasCaption), Click(gas.id), Click(IDOK), ExpectClosed()});
    EXPECT_EQ(calculator.target.gasChoice, gas.id);
    EXPECT_EQ(calculator.target.molecularWeight, gas.weight);
    EXPECT_STREQ(calculator.gasDescription, gas.description);
    EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 5), std::string(kGasLabel) + gas.description);
  }
}

TEST_F(DialogTest, GasHugeWeightKeepsTheDescriptionInItsArea) {
  OpenWindow();
  ChooseWithDialog(
      IDC_TARGET_MOISTURE_UNIT, 5,
      {Dialog(kGasCaption), Click(1013), SetText(1014, "1e30"), Click(IDOK), ExpectClosed()});
  char full[200];
  std::snprintf(full, sizeof full, " in Unknown Gas of mol.wt.=%5.1f", 1e30);
  EXPECT_EQ(std::strlen(calculator.gasDescription), 51u);
  EXPECT_EQ(std::string(calculator.gasDescription), std::string(full, 51));
  EXPECT_EQ(calculator.target.molecularWeight, 1e30f);
  EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 5), std::string(kGasLabel) + calculator.gasDescription);
}

TEST_F(DialogTest, RechoosingTheGasConvertsTheSourceValueFromTheOldGas) {
  OpenWindow({{"SrcDew", "1800,4"}, {"TrgDew", "0,4"}});
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 5, {Dialog(kGasCaption), Click(IDOK)});
  // 1800 ppmV in air (29): 1800 * 18 / 29.
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "1117.2");
  EXPECT_EQ(calculator.appliedSource.molecularWeight, 29.0f);
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 5, {Dialog(kGasCaption), Click(1007), Click(IDOK)});
  // 1117.2 ppmW in air is 1799.93 ppmV, which is 1799.93 * 18 / 4 ppmW in helium.
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "8099.7");
  EXPECT_EQ(calculator.appliedSource.molecularWeight, 4.0f);
  EXPECT_EQ(calculator.sourceMoistureUnit, 5);
  EXPECT_EQ(Item(IDC_SOURCE_MOISTURE_UNIT, 5),
            "ppmW(mol/mol)  ...  parts per million by weight in Helium mol.wt.=4");
  EXPECT_EQ(ResultText(), "1799.9");
  EXPECT_TRUE(SeenDialogs().size() == 1u);
}

// ---------------------------------------------------------------------------------------------
// Liquid.

TEST_F(DialogTest, LiquidBenzene) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 10,
                   {Dialog(kLiquidCaption), ExpectChecked(1054, true), Click(1056), Click(IDOK),
                    ExpectClosed()});
  EXPECT_EQ(calculator.target.liquidChoice, 1056);
  EXPECT_EQ(calculator.target.henryConstant, 15.5f);
  EXPECT_STREQ(calculator.liquidDescription, " in Benzene K=15.5");
  EXPECT_EQ(Bytes(Item(IDC_TARGET_MOISTURE_UNIT, 10)),
            Bytes("ppmW(\xB5g/g)  ...  parts per million by weight in Benzene K=15.5"));
}

TEST_F(DialogTest, LiquidOtherTakesTheTypedConstant) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 10,
                   {Dialog(kLiquidCaption), Click(1059), ExpectText(1061, "1.9"),
                    SetText(1061, "0"), Click(IDOK), ExpectOpen(), SetText(1061, "abc"),
                    Click(IDOK), ExpectOpen(), Command(IDCANCEL), ExpectOpen(), CloseBox(),
                    ExpectOpen(), SetText(1061, "0,75"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.liquidChoice, 1059);
  EXPECT_EQ(calculator.target.henryConstant, 0.75f);
  EXPECT_STREQ(calculator.liquidDescription, " in Unknown Liquid K=  0.8");
}

struct NamedLiquid {
  int id;
  float constant;
  const char* description;
};

TEST_F(DialogTest, EveryNamedLiquidSetsItsConstantAndDescription) {
  const NamedLiquid liquids[] = {
      {1054, 1.9f, " in Hexane K=1.9"},
      {1055, 6.2f, " in Hexene K=6.2"},
      {1056, 15.5f, " in Benzene K=15.5"},
      {1057, 1.7f, " in Transformer Oil K=1.7"},
      {1058, 8.6f, " in 50/50 mix of Hexane+Benzene K=8.6"},
  };
  OpenWindow();
  for (const NamedLiquid& liquid : liquids) {
    SCOPED_TRACE(liquid.description);
    ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 10,
                     {Dialog(kLiquidCaption), Click(liquid.id), Click(IDOK), ExpectClosed()});
    EXPECT_EQ(calculator.target.liquidChoice, liquid.id);
    EXPECT_EQ(calculator.target.henryConstant, liquid.constant);
    EXPECT_STREQ(calculator.liquidDescription, liquid.description);
  }
}

TEST_F(DialogTest, TargetLiquidLeavesTheSourceSideUnchanged) {
  OpenWindow();
  const SideContext before = calculator.source;
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 10,
                   {Dialog(kLiquidCaption), Click(1057), Click(IDOK)});
  EXPECT_EQ(std::memcmp(&before, &calculator.source, sizeof before), 0);
  EXPECT_EQ(calculator.target.liquidChoice, 1057);
}

TEST_F(DialogTest, OnlyTheChosenItemShowsItsParameter) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 5, {Dialog(kGasCaption), Click(IDOK)});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 10, {Dialog(kLiquidCaption), Click(IDOK)});
  EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 5), kGasItem);
  EXPECT_EQ(Bytes(Item(IDC_TARGET_MOISTURE_UNIT, 10)),
            Bytes(std::string(kLiquidLabel) + " in Hexane K=1.9"));
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  EXPECT_EQ(Bytes(Item(IDC_TARGET_MOISTURE_UNIT, 10)), Bytes(kLiquidItem));
  EXPECT_EQ(Bytes(Item(IDC_TARGET_MOISTURE_UNIT, 7)), Bytes(kDensityItem));
  EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 9), kAmbientItem);
  EXPECT_EQ(ComboItems(window_, IDC_TARGET_MOISTURE_UNIT).size(), 11u);
  // The source combo box was never touched.
  EXPECT_EQ(Item(IDC_SOURCE_MOISTURE_UNIT, 5), kGasItem);
}

// ---------------------------------------------------------------------------------------------
// Ambient temperature.

struct AmbientCase {
  int unitButton;
  const char* typed;
  float celsius;
  const char* description;
};

class AmbientTest : public DialogTest, public ::testing::WithParamInterface<AmbientCase> {};

TEST_P(AmbientTest, TypedTemperatureIsHeldInCelsius) {
  const AmbientCase& c = GetParam();
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), Click(c.unitButton), SetText(1017, c.typed),
                    Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.ambientUnit, c.unitButton);
  EXPECT_EQ(calculator.target.ambientTemperature, c.celsius);
  EXPECT_EQ(Bytes(calculator.ambientDescription), Bytes(c.description));
  EXPECT_EQ(Bytes(Item(IDC_TARGET_MOISTURE_UNIT, 9)),
            Bytes(std::string(kAmbientLabel) + c.description));
}

INSTANTIATE_TEST_SUITE_P(Entries, AmbientTest,
                         ::testing::Values(AmbientCase{1015, "20", 20.0f,
                                                       " at dry bulb temperature of  20.0\xB0"
                                                       "C"},
                                           AmbientCase{1016, "68", 20.0f,
                                                       " at dry bulb temperature of 68.0\xB0"
                                                       "F"},
                                           AmbientCase{1016, "0", -17.777779f,
                                                       " at dry bulb temperature of -0.0\xB0"
                                                       "F"},
                                           AmbientCase{1016, "100", 37.7777786f,
                                                       " at dry bulb temperature of100.0\xB0"
                                                       "F"},
                                           AmbientCase{1015, "-79.9", -79.9f,
                                                       " at dry bulb temperature of -79.9\xB0"
                                                       "C"},
                                           AmbientCase{1015, "199.9", 199.9f,
                                                       " at dry bulb temperature of 199.9\xB0"
                                                       "C"},
                                           AmbientCase{1015, "20,5", 20.5f,
                                                       " at dry bulb temperature of  20.5\xB0"
                                                       "C"},
                                           AmbientCase{1015, "abc", 0.0f,
                                                       " at dry bulb temperature of   0.0\xB0"
                                                       "C"}));

TEST_F(DialogTest, AmbientLimitsAreRefused) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption),
                    ExpectChecked(1015, true),
                    ExpectText(1017, "20."),
                    SetText(1017, "-80"),
                    Click(IDOK),
                    ExpectOpen(),
                    SetText(1017, "200"),
                    Click(IDOK),
                    ExpectOpen(),
                    Command(IDCANCEL),
                    ExpectOpen(),
                    Click(1016),
                    SetText(1017, "-112"),
                    Click(IDOK),
                    ExpectOpen(),
                    SetText(1017, "392"),
                    Click(IDOK),
                    ExpectOpen(),
                    SetText(1017, "391"),
                    Click(IDOK),
                    ExpectClosed()});
  EXPECT_EQ(calculator.target.ambientUnit, 1016);
  EXPECT_LT(calculator.target.ambientTemperature, 200.0f);
  EXPECT_GT(calculator.target.ambientTemperature, 199.0f);
}

TEST_F(DialogTest, AmbientOpenedInFahrenheitShowsTheConvertedValue) {
  OpenWindow({{"AmbTemp", "1015,20,1016,20"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), ExpectChecked(1016, true), ExpectChecked(1015, false),
                    ExpectText(1017, "68."), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.ambientTemperature, 20.0f);
  EXPECT_EQ(calculator.target.ambientUnit, 1016);
}

TEST_F(DialogTest, AmbientUnitSwitchWithoutRetypingReadsTheNumberInTheNewUnit) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), Click(1016), ExpectText(1017, "20."), Click(IDOK)});
  EXPECT_EQ(calculator.target.ambientTemperature, -6.666667f);
  EXPECT_EQ(Bytes(calculator.ambientDescription), Bytes(" at dry bulb temperature of 20.0\xB0"
                                                        "F"));
}

TEST_F(DialogTest, AmbientFahrenheitIsSavedAsCelsius) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), Click(1016), SetText(1017, "68"), Click(IDOK)});
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("AmbTemp"), "1015,20.000000,1016,20.000000");
}

TEST_F(DialogTest, RelativeHumidityAtTwentyDegrees) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), SetText(1017, "20"), Click(IDOK)});
  EXPECT_EQ(ResultText(), "26.13");
}

TEST_F(DialogTest, AmbientHugeRefusedEntryKeepsTheDescriptionInItsArea) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), SetText(1017, "1e30"), Click(IDOK), ExpectOpen(),
                    Call([](HWND) { EXPECT_LE(std::strlen(calculator.ambientDescription), 51u); }),
                    Click(1016), SetText(1017, "-1e30"), Click(IDOK), ExpectOpen(),
                    Call([](HWND) { EXPECT_LE(std::strlen(calculator.ambientDescription), 51u); }),
                    Click(1015), SetText(1017, "21"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.ambientTemperature, 21.0f);
}

// ---------------------------------------------------------------------------------------------
// Density.

TEST_F(DialogTest, DensityNaturalGasInFahrenheit) {
  OpenWindow({{"PrevTemp", "1033,20,1034,20"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 7,
                   {Dialog(kDensityCaption), ExpectChecked(1030, true), ExpectChecked(1034, true),
                    ExpectText(1035, "60"), ExpectEnabled(1035, false), ExpectEnabled(1033, false),
                    ExpectEnabled(1034, false), Command(IDCANCEL), ExpectOpen(), CloseBox(),
                    ExpectOpen(), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.prevailingTemperature, 15.5555563f);
  EXPECT_EQ(calculator.target.prevailingUnit, 1034);
  EXPECT_EQ(calculator.target.densityMedium, 1030);
  EXPECT_EQ(Bytes(calculator.densityDescription), Bytes(" Natural Gas/H2O-vapor mix. @  60.0\xB0"
                                                        "F"));
  EXPECT_EQ(Bytes(Item(IDC_TARGET_MOISTURE_UNIT, 7)),
            Bytes(std::string(kDensityLabel) + calculator.densityDescription));
}

TEST_F(DialogTest, DensityNaturalGasInCelsius) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 7,
                   {Dialog(kDensityCaption), ExpectChecked(1030, true), ExpectChecked(1033, true),
                    ExpectText(1035, "15.6"), ExpectEnabled(1035, false), Click(IDOK)});
  EXPECT_EQ(calculator.target.prevailingTemperature, 15.6f);
  EXPECT_EQ(Bytes(calculator.densityDescription), Bytes(" Natural Gas/H2O-vapor mix. @  15.6\xB0"
                                                        "C"));
}

TEST_F(DialogTest, DensityRefusedEntryThenAcceptedGivesOneSuffix) {
  OpenWindow();
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 7,
                   {Dialog(kDensityCaption), Click(1028), ExpectEnabled(1035, true),
                    ExpectEnabled(1033, true), ExpectEnabled(1034, true), SetText(1035, "250"),
                    Click(IDOK), ExpectOpen(), SetText(1035, "-80"), Click(IDOK), ExpectOpen(),
                    SetText(1035, "20,5"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.densityMedium, 1028);
  EXPECT_EQ(calculator.target.prevailingTemperature, 20.5f);
  EXPECT_EQ(Bytes(calculator.densityDescription), Bytes(" of pure H2O-vapor @  20.5\xB0"
                                                        "C"));
}

TEST_F(DialogTest, DensityNaturalGasThenAirLeavesTheStandardTemperatureEnabled) {
  OpenWindow({{"DensityMedium", "1030,1028"}});
  ChooseWithDialog(
      IDC_TARGET_MOISTURE_UNIT, 7,
      {Dialog(kDensityCaption), ExpectChecked(1028, true), ExpectText(1035, "20."),
       ExpectEnabled(1035, true), Click(1030), ExpectText(1035, "15.6"), ExpectEnabled(1035, false),
       Click(1029), ExpectText(1035, "15.6"), ExpectEnabled(1035, true), ExpectEnabled(1033, true),
       Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.densityMedium, 1029);
  EXPECT_EQ(calculator.target.prevailingTemperature, 15.6f);
  EXPECT_EQ(Bytes(calculator.densityDescription), Bytes(" of Air/H2O-vapor mixture @  15.6\xB0"
                                                        "C"));
}

TEST_F(DialogTest, DensityFahrenheitEntry) {
  OpenWindow({{"DensityMedium", "1030,1029"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 7,
                   {Dialog(kDensityCaption), Click(1034), ExpectText(1035, "20."),
                    SetText(1035, "392"), Click(IDOK), ExpectOpen(), SetText(1035, "-112"),
                    Click(IDOK), ExpectOpen(), SetText(1035, "68"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.prevailingUnit, 1034);
  EXPECT_EQ(calculator.target.prevailingTemperature, 20.0f);
  EXPECT_EQ(Bytes(calculator.densityDescription), Bytes(" of Air/H2O-vapor mixture @  68.0\xB0"
                                                        "F"));
}

// After a restart each list whose unit is g/m3 shows the medium and temperature in use, as the
// dialog's OK leaves them; natural gas is at its standard temperature whatever is stored.
TEST_F(DialogTest, DensityItemsDescribeTheLoadedMediumAfterARestart) {
  OpenWindow({{"SrcDew", "5,7"},
              {"TrgDew", "0,7"},
              {"DensityMedium", "1030,1029"},
              {"PrevTemp", "1034,20,1033,-12.5"}});
  const std::string source = SelectedItem(IDC_SOURCE_MOISTURE_UNIT);
  EXPECT_EQ(Bytes(source),
            Bytes(std::string(kDensityLabel) + " Natural Gas/H2O-vapor mix. @  60.0\xB0"
                                               "F"));
  EXPECT_EQ(Bytes(SelectedItem(IDC_TARGET_MOISTURE_UNIT)),
            Bytes(std::string(kDensityLabel) + " of Air/H2O-vapor mixture @ -12.5\xB0"
                                               "C"));
  EXPECT_EQ(Item(IDC_SOURCE_MOISTURE_UNIT, 5), kGasItem);
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 7, {Dialog(kDensityCaption), Click(IDOK)});
  EXPECT_EQ(Bytes(SelectedItem(IDC_SOURCE_MOISTURE_UNIT)), Bytes(source));
}

// ---------------------------------------------------------------------------------------------
// Stored choices outside their groups (a damaged profile).

std::vector<Step> NoneChecked(int first, int last) {
  std::vector<Step> steps;
  for (int id = first; id <= last; ++id) steps.push_back(ExpectChecked(id, false));
  return steps;
}

TEST_F(DialogTest, GasChoiceOutsideItsGroupSelectsNothingAndKeepsTheWeight) {
  OpenWindow({{"MolWt", "1001,29,1500,33"}});
  ChooseWithDialog(
      IDC_TARGET_MOISTURE_UNIT, 5,
      Join(Join({Dialog(kGasCaption)}, NoneChecked(1000, 1013)), {Click(IDOK), ExpectClosed()}));
  EXPECT_EQ(calculator.target.gasChoice, 1500);
  EXPECT_EQ(calculator.target.molecularWeight, 33.0f);
  EXPECT_STREQ(calculator.gasDescription, "");
  EXPECT_EQ(Item(IDC_TARGET_MOISTURE_UNIT, 5), kGasLabel);
}

TEST_F(DialogTest, LiquidChoiceOutsideItsGroupSelectsNothingAndKeepsTheConstant) {
  OpenWindow({{"Liq", "1054,1.9,70000,2.5"}});
  ChooseWithDialog(
      IDC_TARGET_MOISTURE_UNIT, 10,
      Join(Join({Dialog(kLiquidCaption)}, NoneChecked(1054, 1059)), {Click(IDOK), ExpectClosed()}));
  // Only the low 16 bits of a stored choice travel through the dialog.
  EXPECT_EQ(calculator.target.liquidChoice, 70000 & 0xFFFF);
  EXPECT_EQ(calculator.target.henryConstant, 2.5f);
  EXPECT_STREQ(calculator.liquidDescription, "");
}

TEST_F(DialogTest, AmbientUnitOutsideItsGroupReadsNothingFromTheField) {
  OpenWindow({{"AmbTemp", "1015,20,1017,25"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), ExpectChecked(1015, false), ExpectChecked(1016, false),
                    ExpectText(1017, "25."), SetText(1017, "30"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.ambientUnit, 1017);
  EXPECT_EQ(calculator.target.ambientTemperature, 25.0f);
  EXPECT_STREQ(calculator.ambientDescription, "");
}

TEST_F(DialogTest, DensityUnitOutsideItsGroupIsReadAsCelsius) {
  OpenWindow({{"PrevTemp", "1033,20,1040,30"}, {"DensityMedium", "1030,1029"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 7,
                   {Dialog(kDensityCaption), ExpectChecked(1033, false), ExpectChecked(1034, false),
                    ExpectText(1035, "30."), SetText(1035, "25"), Click(IDOK), ExpectClosed()});
  EXPECT_EQ(calculator.target.prevailingTemperature, 25.0f);
  EXPECT_EQ(Bytes(calculator.densityDescription), Bytes(" of Air/H2O-vapor mixture @  25.0\xB0"
                                                        "C"));
}

TEST_F(DialogTest, DensityMediumOutsideItsGroupSelectsNoMedium) {
  OpenWindow({{"DensityMedium", "1030,1040"}});
  ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, 7,
                   Join(Join({Dialog(kDensityCaption)}, NoneChecked(1028, 1030)),
                        {SetText(1035, "21"), Click(IDOK), ExpectClosed()}));
  EXPECT_EQ(calculator.target.densityMedium, 1040);
  EXPECT_EQ(calculator.target.prevailingTemperature, 21.0f);
  EXPECT_LE(std::strlen(calculator.densityDescription), 51u);
}

// ---------------------------------------------------------------------------------------------
// 4/20 mA calculator.

class LoopTest : public DialogTest {
 protected:
  void RunLoop(const std::vector<Step>& steps) {
    Script(steps);
    SendMessageA(window_, WM_SYSCOMMAND, 103, 0);
    PumpUntilIdle();
    EXPECT_TRUE(ScriptDone()) << "steps never used: " << PendingSteps();
  }
};

std::vector<Step> OpeningState() {
  return {ExpectChecked(1041, true),  ExpectChecked(1042, false), ExpectText(1039, "-100"),
          ExpectText(1040, "20"),     ExpectText(1043, "250"),    ExpectEnabled(1043, false),
          ExpectEnabled(1047, false), ExpectEnabled(1048, false), ExpectText(1046, "mA"),
          ExpectText(1045, "Error")};
}

TEST_F(LoopTest, CurrentModeAnswers) {
  OpenWindow();
  std::vector<Step> steps = Join({Dialog(kLoopCaption)}, OpeningState());
  const struct {
    const char* detected;
    const char* answer;
  } cases[] = {{"12", "-40.0"},  {"4", "-100.0"},   {"20", "20.0"},
               {"8", "-70.0"},   {"3.99", "Error"}, {"20.01", "Error"},
               {"abc", "Error"}, {"16", "-10.0"},   {"4,8", "-94.0"}};
  for (const auto& c : cases) {
    steps.push_back(SetText(1044, c.detected));
    steps.push_back(ExpectText(1045, c.answer));
  }
  // Enter does nothing (there is no OK button); Escape closes.
  steps = Join(steps, {Command(IDOK), ExpectOpen(), Command(IDCANCEL), ExpectClosed()});
  RunLoop(steps);
}

TEST_F(LoopTest, VoltageModeReadsVoltsAcrossTheResistance) {
  OpenWindow();
  RunLoop({Dialog(kLoopCaption), Click(1042), ExpectEnabled(1043, true), ExpectEnabled(1047, true),
           ExpectEnabled(1048, true), ExpectText(1046, "Volts\n(1.000V to 5.000V)"),
           SetText(1044, "3"), ExpectText(1045, "-40.0"), SetText(1044, "1"),
           ExpectText(1045, "-100.0"), SetText(1044, "0.999"), ExpectText(1045, "Error"),
           SetText(1044, "3"), SetText(1043, "500"), ExpectText(1046, "Volts\n(2.000V to 10.000V)"),
           // 3 V across 500 ohms is 6 mA.
           ExpectText(1045, "-85.0"), SetText(1043, "0"), ExpectText(1045, "Error"),
           SetText(1043, "250"), ExpectText(1045, "-40.0"),
           // Back to current mode: the same number is read as mA.
           Click(1041), ExpectEnabled(1043, false), ExpectEnabled(1047, false),
           ExpectText(1046, "mA"), ExpectText(1045, "Error"), SetText(1044, "12"),
           ExpectText(1045, "-40.0"), CloseBox(), ExpectClosed()});
}

TEST_F(LoopTest, RangeChangeAppliesAtTheNextRecomputation) {
  OpenWindow();
  RunLoop({Dialog(kLoopCaption), SetText(1044, "12"), ExpectText(1045, "-40.0"),
           SetText(1040, "100"), ExpectText(1045, "-40.0"), SetText(1039, "0"),
           ExpectText(1045, "-40.0"), SetText(1044, "12.0"), ExpectText(1045, "50.0"),
           SetText(1039, "-100"), SetText(1044, "12"), ExpectText(1045, "0.0"), Command(IDCANCEL)});
}

TEST_F(LoopTest, EveryOpeningStartsFromTheDefaults) {
  OpenWindow();
  RunLoop({Dialog(kLoopCaption), SetText(1039, "5"), SetText(1040, "7"), Click(1042),
           SetText(1043, "100"), SetText(1044, "1"), Command(IDCANCEL)});
  RunLoop(Join(Join({Dialog(kLoopCaption)}, OpeningState()), {Command(IDCANCEL)}));
}

TEST_F(LoopTest, LongTextsStayInTheirAreas) {
  OpenWindow();
  static char fullLabel[200];
  const double ohms = 123456789012.0;
  std::snprintf(fullLabel, sizeof fullLabel, "Volts\n(%.3fV to %.3fV)",
                ohms * 4 * static_cast<double>(0.001f), ohms * 20 * static_cast<double>(0.001f));
  RunLoop({Dialog(kLoopCaption), Click(1042), SetText(1043, "123456789012"), Call([](HWND dialog) {
             const std::string label = WindowText(dialog, 1046);
             EXPECT_EQ(label.size(), 35u);
             EXPECT_EQ(label, std::string(fullLabel, 35));
           }),
           Click(1041), SetText(1040, "3e38"), SetText(1044, "12"), Call([](HWND dialog) {
             const std::string answer = WindowText(dialog, 1045);
             EXPECT_LE(answer.size(), 35u);
             // Too long for its area: shown as an error, not cut to a wrong number.
             EXPECT_EQ(answer, "Error");
           }),
           SetText(1040, "-3e38"), SetText(1039, "3e38"), SetText(1044, "4"),
           Call([](HWND dialog) { EXPECT_LE(WindowText(dialog, 1045).size(), 35u); }),
           Command(IDCANCEL)});
}

// ---------------------------------------------------------------------------------------------
// The side's fields into a dialog and back: choices reach it as their low 16 bits and come
// back widened with zeros; the values and the description come back as the dialog leaves them.

constexpr int32_t kHighBits = 0x10000;

TEST_F(DialogTest, SideFieldsGoIntoEachDialogAndComeBack) {
  OpenWindow();
  SideContext& side = calculator.source;
  const SideContext targetBefore = calculator.target;
  side.gasChoice = kHighBits + IDC_GAS_CO2;
  side.molecularWeight = 44.0f;
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 5,
                   {Dialog(kGasCaption), Call([](HWND d) {
                      EXPECT_EQ(DialogData<GasChoice>(d)->choice, IDC_GAS_CO2);
                      EXPECT_EQ(DialogData<GasChoice>(d)->molecularWeight, 44.0f);
                    }),
                    Click(IDC_GAS_HELIUM), Command(IDOK), ExpectClosed()});
  EXPECT_EQ(side.gasChoice, IDC_GAS_HELIUM);
  EXPECT_EQ(side.molecularWeight, 4.0f);
  EXPECT_STREQ(calculator.gasDescription, " in Helium mol.wt.=4");

  side.liquidChoice = kHighBits + IDC_LIQUID_BENZENE;
  side.henryConstant = 15.5f;
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 10,
                   {Dialog(kLiquidCaption), Call([](HWND d) {
                      EXPECT_EQ(DialogData<LiquidChoice>(d)->choice, IDC_LIQUID_BENZENE);
                      EXPECT_EQ(DialogData<LiquidChoice>(d)->henryConstant, 15.5f);
                    }),
                    Click(IDC_LIQUID_HEXENE), Command(IDOK), ExpectClosed()});
  EXPECT_EQ(side.liquidChoice, IDC_LIQUID_HEXENE);
  EXPECT_EQ(side.henryConstant, 6.2f);

  side.densityMedium = kHighBits + IDC_MEDIUM_AIR;
  side.prevailingUnit = kHighBits + IDC_PREVAILING_CELSIUS;
  side.prevailingTemperature = 15.0f;
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 7,
                   {Dialog(kDensityCaption), Call([](HWND d) {
                      EXPECT_EQ(DialogData<DensityChoice>(d)->medium, IDC_MEDIUM_AIR);
                      EXPECT_EQ(DialogData<DensityChoice>(d)->prevailingUnit,
                                IDC_PREVAILING_CELSIUS);
                      EXPECT_EQ(DialogData<DensityChoice>(d)->prevailingTemperature, 15.0f);
                    }),
                    SetText(IDC_PREVAILING_TEMPERATURE, "30"), Command(IDOK), ExpectClosed()});
  EXPECT_EQ(side.densityMedium, IDC_MEDIUM_AIR);
  EXPECT_EQ(side.prevailingUnit, IDC_PREVAILING_CELSIUS);
  EXPECT_EQ(side.prevailingTemperature, 30.0f);

  side.ambientUnit = kHighBits + IDC_AMBIENT_CELSIUS;
  side.ambientTemperature = 25.0f;
  ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, 9,
                   {Dialog(kAmbientCaption), Call([](HWND d) {
                      EXPECT_EQ(DialogData<AmbientChoice>(d)->unit, IDC_AMBIENT_CELSIUS);
                      EXPECT_EQ(DialogData<AmbientChoice>(d)->temperature, 25.0f);
                    }),
                    SetText(IDC_AMBIENT_TEMPERATURE, "35"), Command(IDOK), ExpectClosed()});
  EXPECT_EQ(side.ambientUnit, IDC_AMBIENT_CELSIUS);
  EXPECT_EQ(side.ambientTemperature, 35.0f);
  EXPECT_EQ(std::memcmp(&targetBefore, &calculator.target, sizeof targetBefore), 0)
      << "the other side was changed";
}

}  // namespace
}  // namespace gui
