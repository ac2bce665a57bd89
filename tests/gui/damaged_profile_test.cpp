// Damaged profiles: every key of the section holding values that no save writes (empty, blank,
// cut short, not numbers, too many fields, huge numbers, indices outside the catalogues, long
// texts). The window must start, select only units of its catalogues, show what the loading
// rules make of the value, answer the range message a refused source value brings up, keep every
// dialog working, and write a clean profile when saved.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/calculator_state.h"
#include "core/number_text.h"
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "physics/rounding.h"
#include "resources/resource_ids.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

const char kGasCaption[] = "Choose the Gas Type";
const char kLiquidCaption[] = "ppmW in a Liquid  -- Choose Henry's constant";
const char kAmbientCaption[] = "Enter Ambient Temperature";
const char kDensityCaption[] = "Density Calculation Parameters";

// ---------------------------------------------------------------------------------------------
// The damaged values.

struct DamagedValue {
  const char* key;
  std::string value;
  std::string name;  // for the test's name
};

void PrintTo(const DamagedValue& v, std::ostream* out) {
  *out << v.key << "=\"" << Bytes(v.value) << "\"";
}

std::string Repeat(const std::string& pattern, size_t length) {
  std::string text;
  while (text.size() < length) text += pattern;
  text.resize(length);
  return text;
}

// The keys whose value is "number,unit index", and those of side parameters and options.
const char* const kFieldKeys[] = {"SrcDew", "SrcPrs", "TrgDew", "TrgPrs"};
const char* const kSideKeys[] = {"MolWt", "Liq", "AmbTemp", "PrevTemp"};
const char* const kPairKeys[] = {"DensityMedium", "SWVPcal"};

std::vector<DamagedValue> DamagedValues() {
  const std::vector<std::pair<std::string, std::string>> common = {
      {"", "Empty"},
      {"   ", "Blank"},
      {"1013.", "CutAfterPoint"},
      {"1001,29.0", "CutAfterSecondField"},
      {"1001,", "CutAfterComma"},
      {"abc", "Letters"},
      {",,,", "CommasOnly"},
      {"0,0,0,0,0,0", "ExtraFields"},
      {"1e39,4", "BeyondSinglePrecision"},
      {"-1e300,0", "HugeNegative"},
      {"99999999999,0", "BeyondThirtyTwoBits"},
      {"-2147483649,1", "BelowThirtyTwoBits"},
      {Repeat("1234567890", 49), "Digits49"},
      {Repeat("1234567890", 200), "Digits200"},
      {Repeat("12,", 49), "Commas49"},
      {Repeat("12,", 200), "Commas200"},
      {Repeat("abcdefghijklmnopqrstuvwxyz", 49), "Letters49"},
      {Repeat("abcdefghijklmnopqrstuvwxyz", 200), "Letters200"},
  };
  const std::vector<std::pair<std::string, std::string>> field = {
      {"5,-1", "IndexMinusOne"},
      {"5,11", "IndexEleven"},
      {"5,5", "IndexFive"},
      {"5,2147483647", "IndexLargest"},
      {"5,-2147483648", "IndexSmallest"},
      {"12,99", "IndexNinetyNine"},
      {"abc,3", "LettersThenIndex"},
      {"-1e300,3", "HugeNegativeUnitThree"},
      {"99999999999,3", "HugeUnitThree"},
  };
  const std::vector<std::pair<std::string, std::string>> side = {
      {"-1,20,11,20", "ChoicesOutsideGroups"},
      {"5,20,2147483647,20", "ChoiceLargest"},
      {"1001,1e39,1001,-1e39", "ValuesBeyondSinglePrecision"},
      {"1013,-1e300,1013,3e38", "ValuesHuge"},
      {"1013,20,1013,3e38", "ValueNearSinglePrecisionLimit"},
      {"1013,0,1013,-5", "ValuesZeroAndNegative"},
      {"65535,20,0,20", "ChoicesSixteenBits"},
      {"-2147483649,1,99999999999,1", "ChoicesBeyondThirtyTwoBits"},
  };
  const std::vector<std::pair<std::string, std::string>> pair = {
      {"-1,11", "OutsideGroups"},
      {"5,2147483647", "Largest"},
      {"0,0", "Zeros"},
      {"65535,65536", "SixteenBits"},
      {"1029,-1", "SecondNegative"},
      {"-2147483649,99999999999", "BothBeyondThirtyTwoBits"},
  };
  std::vector<DamagedValue> values;
  for (const char* key : kKeys) {
    for (const auto& v : common) values.push_back({key, v.first, v.second});
  }
  for (const char* key : kFieldKeys) {
    for (const auto& v : field) values.push_back({key, v.first, v.second});
  }
  for (const char* key : kSideKeys) {
    for (const auto& v : side) values.push_back({key, v.first, v.second});
  }
  for (const char* key : kPairKeys) {
    for (const auto& v : pair) values.push_back({key, v.first, v.second});
  }
  return values;
}

// A side parameter only counts where a unit needs it: the damaged key is loaded together with
// a source value and both moisture units that use it, so that the first paint and the first
// source unit change compute with what was loaded.
std::vector<std::pair<const char*, const char*>> ProfileWith(const DamagedValue& damaged) {
  std::vector<std::pair<const char*, const char*>> keys = {{damaged.key, damaged.value.c_str()}};
  const std::string key = damaged.key;
  if (key == "MolWt") {
    keys.push_back({"SrcDew", "100,5"});
    keys.push_back({"TrgDew", "0,5"});
  } else if (key == "Liq") {
    keys.push_back({"SrcDew", "100,10"});
    keys.push_back({"TrgDew", "0,10"});
  } else if (key == "AmbTemp") {
    keys.push_back({"SrcDew", "50,9"});
    keys.push_back({"TrgDew", "0,9"});
  } else if (key == "PrevTemp" || key == "DensityMedium") {
    keys.push_back({"SrcDew", "10,7"});
    keys.push_back({"TrgDew", "0,7"});
  } else if (key == "SWVPcal") {
    keys.push_back({"TrgDew", "0,4"});
  }
  return keys;
}

// ---------------------------------------------------------------------------------------------
// What the loading rules make of a "number,unit index" text (read as its first 49 characters):
// the number it begins with, else the key's default, which also stands in for a number beyond
// single precision; the index after the comma when it is reached and lies inside the catalogue,
// else unit 0 (the value every unit member holds before the first load).

struct LoadedField {
  float number;
  int unit;
};

LoadedField ExpectedField(const std::string& stored, float defaultNumber, int unitCount) {
  const std::string read = stored.substr(0, 49);
  LoadedField loaded{defaultNumber, 0};
  double number;
  const char* end = ScanNumber(read.c_str(), &number);
  if (!end) return loaded;
  if (std::isfinite(ToSingle(number))) loaded.number = ToSingle(number);
  if (*end != ',') return loaded;
  int index;
  if (ScanInteger(end + 1, &index) && index >= 0 && index < unitCount) loaded.unit = index;
  return loaded;
}

// A field shows its number to `digits` significant digits.
::testing::AssertionResult ShowsNumber(const std::string& shown, float number, int digits) {
  if (!IsWholeNumber(shown)) {
    return ::testing::AssertionFailure() << "\"" << Bytes(shown) << "\" is no number";
  }
  const double tolerance = std::fabs(number) * 0.5 * std::pow(10.0, 1 - digits) * 1.000001;
  if (std::fabs(FieldNumber(shown) - number) <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "\"" << Bytes(shown) << "\" is not " << number << " to " << digits << " digits";
}

// ---------------------------------------------------------------------------------------------
// Range messages: answered with OK wherever they come up, and recorded. A message that does not
// belong to the unit the source combo box shows at that moment is left to fail the test.

struct RangeBox {
  std::string message;
  int unitShown;
};

std::vector<RangeBox> rangeBoxes;

HWND MainWindow() {
  return calculator.mainWindow;
}

bool AnswerRangeMessage(HWND box, const SeenDialog& seen) {
  if (!IsRangeMessage(seen.message)) return false;
  const int unit = ComboSelection(MainWindow(), IDC_SOURCE_MOISTURE_UNIT);
  const SourceRangeRule* rule = SourceRangeOf(unit);
  if (!rule || seen.message != rule->message) return false;
  rangeBoxes.push_back({seen.message, unit});
  PressDialogButton(box, IDOK);
  return true;
}

// ---------------------------------------------------------------------------------------------
// The dialogs: each checks at opening that a group shows at most its stored choice, then is
// given a refused entry first and an accepted one after it.

int CheckedIn(HWND dialog, int first, int last) {
  int checked = 0;
  for (int id = first; id <= last; ++id) {
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) ++checked;
  }
  return checked;
}

// A stored choice inside its group selects its button; one outside selects none.
void ExpectGroupShows(HWND dialog, int first, int last, int stored) {
  const bool inside = stored >= first && stored <= last;
  EXPECT_EQ(CheckedIn(dialog, first, last), inside ? 1 : 0)
      << "group " << first << ".." << last << " with stored choice " << stored;
  if (inside) {
    EXPECT_EQ(IsDlgButtonChecked(dialog, stored), static_cast<UINT>(BST_CHECKED)) << stored;
  }
}

const std::vector<Step> kGasSteps = {
    Dialog(kGasCaption),
    Call([](HWND d) {
      ExpectGroupShows(d, IDC_GAS_ACETYLENE, IDC_GAS_OTHER, DialogData<GasChoice>(d)->choice);
    }),
    Click(IDC_GAS_OTHER),
    SetText(IDC_GAS_OTHER_VALUE, "-5"),
    Command(IDOK),
    ExpectOpen(),
    Command(IDCANCEL),
    ExpectOpen(),
    Click(IDC_GAS_AIR),
    Command(IDOK),
    ExpectClosed(),
};

const std::vector<Step> kLiquidSteps = {
    Dialog(kLiquidCaption),
    Call([](HWND d) {
      ExpectGroupShows(d, IDC_LIQUID_HEXANE, IDC_LIQUID_OTHER, DialogData<LiquidChoice>(d)->choice);
    }),
    Click(IDC_LIQUID_OTHER),
    SetText(IDC_LIQUID_OTHER_VALUE, "0"),
    Command(IDOK),
    ExpectOpen(),
    Click(IDC_LIQUID_HEXANE),
    Command(IDOK),
    ExpectClosed(),
};

const std::vector<Step> kDensitySteps = {
    Dialog(kDensityCaption),
    Call([](HWND d) {
      ExpectGroupShows(d, IDC_MEDIUM_WATER_VAPOUR, IDC_MEDIUM_NATURAL_GAS,
                       DialogData<DensityChoice>(d)->medium);
      ExpectGroupShows(d, IDC_PREVAILING_CELSIUS, IDC_PREVAILING_FAHRENHEIT,
                       DialogData<DensityChoice>(d)->prevailingUnit);
    }),
    Click(IDC_MEDIUM_WATER_VAPOUR),
    Click(IDC_PREVAILING_CELSIUS),
    SetText(IDC_PREVAILING_TEMPERATURE, "250"),
    Command(IDOK),
    ExpectOpen(),
    SetText(IDC_PREVAILING_TEMPERATURE, "20"),
    Command(IDOK),
    ExpectClosed(),
};

const std::vector<Step> kAmbientSteps = {
    Dialog(kAmbientCaption),
    Call([](HWND d) {
      ExpectGroupShows(d, IDC_AMBIENT_CELSIUS, IDC_AMBIENT_FAHRENHEIT,
                       DialogData<AmbientChoice>(d)->unit);
    }),
    Click(IDC_AMBIENT_CELSIUS),
    SetText(IDC_AMBIENT_TEMPERATURE, "-80"),
    Command(IDOK),
    ExpectOpen(),
    SetText(IDC_AMBIENT_TEMPERATURE, "20"),
    Command(IDOK),
    ExpectClosed(),
};

const std::vector<Step> kPreferencesSaveSteps = {
    Dialog(kPreferencesCaption),
    Call([](HWND d) {
      ExpectGroupShows(d, IDC_HYLAND_WEXLER, IDC_MAGNUS,
                       DialogData<PreferencesChoice>(d)->pendingSvpFormulation);
      ExpectGroupShows(d, IDC_NO_ENHANCEMENT, IDC_GREENSPAN,
                       DialogData<PreferencesChoice>(d)->pendingEnhancementFactor);
    }),
    Click(IDC_SAVE_SETTINGS),
    ExpectOpen(),
    Command(IDCANCEL),
    ExpectClosed(),
};

// The side values a save wrote read back (first 49 characters) as the values in force: choices
// as their low 16 bits, numbers to the six decimals they are written with.
::testing::AssertionResult SavedSideValuesAreTheState() {
  struct SideKey {
    const char* key;
    int32_t SideContext::*choice;
    float SideContext::*value;
  };
  const SideKey keys[] = {
      {"MolWt", &SideContext::gasChoice, &SideContext::molecularWeight},
      {"Liq", &SideContext::liquidChoice, &SideContext::henryConstant},
      {"AmbTemp", &SideContext::ambientUnit, &SideContext::ambientTemperature},
      {"PrevTemp", &SideContext::prevailingUnit, &SideContext::prevailingTemperature},
  };
  std::string problems;
  for (const SideKey& k : keys) {
    const std::string text = ReadKey(k.key).substr(0, 49);
    const SideContext* sides[] = {&calculator.source, &calculator.target};
    const char* p = text.c_str();
    for (int i = 0; i < 2 && p; ++i) {
      int choice;
      double value;
      p = ScanInteger(p, &choice);
      if (p && *p == ',') p = ScanNumber(p + 1, &value);
      if (!p) break;
      // A value of 1e11 or more is written with so many digits that the key's text no longer
      // fits the 49 characters it is read back with: only its leading digits come back.
      const bool tooLongToReadBack = std::fabs(sides[i]->*k.value) >= 1e11f;
      const bool same =
          static_cast<uint32_t>(choice) == (static_cast<uint32_t>(sides[i]->*k.choice) & 0xFFFFu) &&
          (tooLongToReadBack ||
           std::fabs(value - sides[i]->*k.value) <= 1e-6 + 1e-6 * std::fabs(sides[i]->*k.value));
      if (!same) {
        problems += std::string(" ") + k.key + "=\"" + Bytes(text) + "\" side " +
                    std::to_string(i) + " holds " + std::to_string(sides[i]->*k.choice) + ", " +
                    std::to_string(sides[i]->*k.value) + ";";
      }
      if (i == 0) p = *p == ',' ? p + 1 : nullptr;
    }
    if (!p || *p)
      problems += std::string(" ") + k.key + "=\"" + Bytes(text) + "\" reads back in part;";
  }
  if (problems.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "saved side values differ from the state:" << problems;
}

class DamagedTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    rangeBoxes.clear();
    SetUnscriptedDialogHandler(AnswerRangeMessage);
  }

  void RunScripted(const std::vector<Step>& steps, const std::function<void()>& action) {
    Script(steps);
    action();
    EXPECT_TRUE(ScriptDone()) << "steps never used: " << PendingSteps();
    Script({});
  }

  // A user's click on a combo box or a button gives it the focus first.
  void ChooseUnit(int comboId, int unit) {
    SetFocus(GetDlgItem(window_, comboId));
    PumpUntilIdle();
    ChooseComboItem(comboId, unit);
  }
  void PressPreferences() {
    SetFocus(GetDlgItem(window_, IDC_PREFERENCES));
    SendCommand(IDC_PREFERENCES, BN_CLICKED);
  }

  // Chooses a parameterised unit on one side and answers its dialog.
  void ChooseWithDialog(int comboId, int unit) {
    const std::vector<Step>* steps = unit == 5   ? &kGasSteps
                                     : unit == 7 ? &kDensitySteps
                                     : unit == 9 ? &kAmbientSteps
                                                 : &kLiquidSteps;
    RunScripted(*steps, [&] { ChooseUnit(comboId, unit); });
    EXPECT_EQ(Selection(comboId), unit);
    ExpectSound((comboId == IDC_SOURCE_MOISTURE_UNIT ? "source unit " : "target unit ") +
                std::to_string(unit));
  }

  void SaveAndExpectClean(const std::string& when) {
    SCOPED_TRACE(when);
    RunScripted(kPreferencesSaveSteps, [this] { PressPreferences(); });
    EXPECT_TRUE(ProfileIsClean(true));
    EXPECT_TRUE(SavedSideValuesAreTheState());
  }

  // What holds after any step: no dialog left, units inside their catalogues and in step with
  // the combo boxes, a result in the target unit's format, an answering window.
  void ExpectSound(const std::string& when) {
    SCOPED_TRACE(when);
    EXPECT_TRUE(OpenDialogs().empty()) << "a dialog was left open";
    const int source = Selection(IDC_SOURCE_MOISTURE_UNIT);
    const int target = Selection(IDC_TARGET_MOISTURE_UNIT);
    const int sourcePressure = Selection(IDC_SOURCE_PRESSURE_UNIT);
    const int targetPressure = Selection(IDC_TARGET_PRESSURE_UNIT);
    EXPECT_TRUE(source >= 0 && source <= 10) << source;
    EXPECT_TRUE(target >= 0 && target <= 10) << target;
    EXPECT_TRUE(sourcePressure >= 0 && sourcePressure <= 4) << sourcePressure;
    EXPECT_TRUE(targetPressure >= 0 && targetPressure <= 4) << targetPressure;
    EXPECT_EQ(calculator.sourceMoistureUnit, source);
    EXPECT_EQ(calculator.sourcePressureUnit, sourcePressure);
    EXPECT_EQ(calculator.targetPressureUnit, targetPressure);
    EXPECT_TRUE(calculator.targetMoistureUnit >= 0 && calculator.targetMoistureUnit <= 10)
        << calculator.targetMoistureUnit;
    EXPECT_TRUE(IsResultText(target, ResultText()));
    const std::string value = ReadText(IDC_SOURCE_VALUE);
    EXPECT_TRUE(IsWholeNumber(value) || value == "enter new val" || value == "N/A") << Bytes(value);
    EXPECT_TRUE(AnswersWithin(window_, 1000));
  }

  // The three fields and the four unit combo boxes show what the loading rules make of the
  // profile's texts; a range message came up only for a source value its unit refuses.
  void ExpectFieldsLoadedFrom(const std::vector<std::pair<const char*, const char*>>& profile) {
    struct Field {
      const char* key;
      int editId;
      int comboId;
      float defaultNumber;
      int unitCount;
      int digits;
    };
    const Field fields[] = {
        {"SrcDew", IDC_SOURCE_VALUE, IDC_SOURCE_MOISTURE_UNIT, 0.0f, 11, 5},
        {"SrcPrs", IDC_SOURCE_PRESSURE, IDC_SOURCE_PRESSURE_UNIT, 1013.25f, 5, 6},
        {"TrgDew", 0, IDC_TARGET_MOISTURE_UNIT, 0.0f, 11, 0},
        {"TrgPrs", IDC_TARGET_PRESSURE, IDC_TARGET_PRESSURE_UNIT, 1013.25f, 5, 6},
    };
    LoadedField sourceValue{0.0f, 0};
    for (const Field& f : fields) {
      SCOPED_TRACE(f.key);
      std::string stored;
      for (const auto& key : profile) {
        if (std::string(key.first) == f.key) stored = key.second;
      }
      const LoadedField loaded = ExpectedField(stored, f.defaultNumber, f.unitCount);
      if (std::string(f.key) == "SrcDew") sourceValue = loaded;
      EXPECT_EQ(Selection(f.comboId), loaded.unit);
      if (f.editId == 0) continue;
      const std::string shown = ReadText(f.editId);
      // A source value its unit refuses is replaced when its range message comes up.
      if (f.editId == IDC_SOURCE_VALUE && shown == "enter new val" &&
          RefusedInUnit(loaded.unit, loaded.number)) {
        continue;
      }
      EXPECT_TRUE(ShowsNumber(shown, loaded.number, f.digits));
    }
    if (!rangeBoxes.empty()) {
      EXPECT_TRUE(std::isfinite(sourceValue.number) &&
                  RefusedInUnit(sourceValue.unit, sourceValue.number))
          << rangeBoxes.size() << " range messages, the first \"" << Bytes(rangeBoxes[0].message)
          << "\"";
    }
  }
};

// ---------------------------------------------------------------------------------------------
// One damaged key at a time: loading, what the window shows, a save right after loading (the
// damaged values in force), and the dialogs of the units that use the key.

class DamagedKeyTest : public DamagedTest, public ::testing::WithParamInterface<DamagedValue> {};

TEST_P(DamagedKeyTest, LoadsShowsAndSavesCleanly) {
  const DamagedValue& damaged = GetParam();
  const std::vector<std::pair<const char*, const char*>> profile = ProfileWith(damaged);
  OpenWindow(profile);
  ASSERT_TRUE(window_ && IsWindow(window_));
  ExpectSound("after loading");
  ExpectFieldsLoadedFrom(profile);

  SaveAndExpectClean("saved after loading");
  ExpectSound("after saving");

  const std::string key = damaged.key;
  const int unit = key == "MolWt"                                ? 5
                   : key == "Liq"                                ? 10
                   : key == "AmbTemp"                            ? 9
                   : key == "PrevTemp" || key == "DensityMedium" ? 7
                                                                 : -1;
  if (unit >= 0) {
    ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, unit);
    ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, unit);
  }
}

std::string CaseName(const ::testing::TestParamInfo<DamagedValue>& info) {
  return std::string(info.param.key) + "_" + info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Keys, DamagedKeyTest, ::testing::ValuesIn(DamagedValues()), CaseName);

// ---------------------------------------------------------------------------------------------
// Every key damaged the same way at once, then every parameter dialog on both sides and the
// Preferences dialog, and a save before and after them.

std::vector<DamagedValue> WholeProfiles() {
  std::vector<DamagedValue> profiles;
  std::vector<std::string> names;
  for (const DamagedValue& v : DamagedValues()) {
    bool known = false;
    for (const std::string& name : names) known = known || name == v.name;
    if (known) continue;
    names.push_back(v.name);
    profiles.push_back({"AllKeys", v.value, v.name});
  }
  return profiles;
}

class DamagedProfileTest : public DamagedTest,
                           public ::testing::WithParamInterface<DamagedValue> {};

TEST_P(DamagedProfileTest, EveryDialogAfterwardsBehaves) {
  std::vector<std::pair<const char*, const char*>> profile;
  for (const char* key : kKeys) profile.push_back({key, GetParam().value.c_str()});
  OpenWindow(profile);
  ASSERT_TRUE(window_ && IsWindow(window_));
  ExpectSound("after loading");
  ExpectFieldsLoadedFrom(profile);
  SaveAndExpectClean("saved after loading");

  for (int unit : {5, 7, 9, 10}) {
    ChooseWithDialog(IDC_SOURCE_MOISTURE_UNIT, unit);
    ChooseWithDialog(IDC_TARGET_MOISTURE_UNIT, unit);
  }
  SaveAndExpectClean("saved after the dialogs");
  ExpectSound("after saving");
}

INSTANTIATE_TEST_SUITE_P(Profiles, DamagedProfileTest, ::testing::ValuesIn(WholeProfiles()),
                         CaseName);

// ---------------------------------------------------------------------------------------------
// Exactly what a damaged field key shows.

struct FieldShown {
  const char* key;
  std::string stored;
  const char* shown;  // nullptr: the key fills no field
  int unit;
};

void PrintTo(const FieldShown& c, std::ostream* out) {
  *out << c.key << "=\"" << Bytes(c.stored) << "\"";
}

class DamagedFieldTest : public DamagedTest, public ::testing::WithParamInterface<FieldShown> {};

TEST_P(DamagedFieldTest, ShowsTheNumberOrTheDefaultAndAUnitOfTheCatalogue) {
  const FieldShown& c = GetParam();
  OpenWindow({{c.key, c.stored.c_str()}});
  const std::string key = c.key;
  const int editId = key == "SrcDew"   ? IDC_SOURCE_VALUE
                     : key == "SrcPrs" ? IDC_SOURCE_PRESSURE
                     : key == "TrgPrs" ? IDC_TARGET_PRESSURE
                                       : 0;
  const int comboId = key == "SrcDew"   ? IDC_SOURCE_MOISTURE_UNIT
                      : key == "SrcPrs" ? IDC_SOURCE_PRESSURE_UNIT
                      : key == "TrgPrs" ? IDC_TARGET_PRESSURE_UNIT
                                        : IDC_TARGET_MOISTURE_UNIT;
  if (c.shown) {
    EXPECT_EQ(ReadText(editId), c.shown);
  }
  EXPECT_EQ(Selection(comboId), c.unit);
  EXPECT_TRUE(rangeBoxes.empty());
  ExpectSound("after loading");
}

INSTANTIATE_TEST_SUITE_P(
    Values, DamagedFieldTest,
    ::testing::Values(
        FieldShown{"SrcDew", "abc", "0.", 0}, FieldShown{"SrcDew", "", "0.", 0},
        FieldShown{"SrcDew", "   ", "0.", 0}, FieldShown{"SrcDew", ",,,", "0.", 0},
        FieldShown{"SrcDew", "0,0,0,0,0,0", "0.", 0}, FieldShown{"SrcDew", "12,99", "12.", 0},
        FieldShown{"SrcDew", "5,-1", "5.", 0}, FieldShown{"SrcDew", "5,2147483647", "5.", 0},
        FieldShown{"SrcDew", "5,-2147483648", "5.", 0},
        FieldShown{"SrcDew", "-2147483649,1", "-2.1475e+009", 1},
        FieldShown{"SrcDew", "99999999999,3", "1.e+011", 3},
        FieldShown{"SrcDew", Repeat("abcdefghij", 200), "0.", 0},
        FieldShown{"SrcDew", Repeat("12,", 200), "12.", 0},
        // Beyond single precision: the default, with the index that follows.
        FieldShown{"SrcDew", "1e39,4", "0.", 4}, FieldShown{"SrcDew", "-1e300,3", "0.", 3},
        FieldShown{"SrcDew", Repeat("1234567890", 49), "0.", 0},
        FieldShown{"SrcPrs", "-1e300,0", "1013.25", 0},
        FieldShown{"TrgPrs", "1e39,4", "1013.25", 4},
        // Letters do not reach the index: the unit stays at 0.
        FieldShown{"SrcPrs", "abc,3", "1013.25", 0}, FieldShown{"SrcPrs", "1013.", "1013.", 0},
        FieldShown{"SrcPrs", "1001,29.0", "1001.", 0}, FieldShown{"SrcPrs", "1001,", "1001.", 0},
        FieldShown{"SrcPrs", "5,5", "5.", 0}, FieldShown{"SrcPrs", "   ", "1013.25", 0},
        FieldShown{"SrcPrs", "-2147483649,1", "-2.14748e+009", 1},
        FieldShown{"TrgPrs", ",,,", "1013.25", 0},
        FieldShown{"TrgPrs", "99999999999,4", "1.e+011", 4},
        FieldShown{"TrgPrs", "5,2147483647", "5.", 0}, FieldShown{"TrgDew", "0,11", nullptr, 0},
        FieldShown{"TrgDew", "1e39,4", nullptr, 4}, FieldShown{"TrgDew", "abc,3", nullptr, 0},
        FieldShown{"TrgDew", "-1,10", nullptr, 10}, FieldShown{"TrgDew", "12,99", nullptr, 0},
        FieldShown{"TrgDew", "0,2147483647", nullptr, 0}));

// A loaded source value that its unit refuses brings up the unit's range message (through the
// source box's focus changes while the window starts) and is replaced by "enter new val".
TEST_F(DamagedTest, RefusedSourceValueBringsUpItsRangeMessage) {
  const struct {
    const char* stored;
    const char* message;
  } cases[] = {
      {"1001,",
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {"99999999999,0",
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {"100,7", "stay between 0 and 93 g/m\xB3"},
      {"-1,8", "stay between 0 and 123.4 mb."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    rangeBoxes.clear();
    OpenWindow({{"SrcDew", c.stored}});
    ASSERT_FALSE(rangeBoxes.empty());
    for (const RangeBox& box : rangeBoxes) EXPECT_EQ(Bytes(box.message), Bytes(c.message));
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "enter new val");
    ExpectSound("after loading");
    CloseWindow();
    calculator = CalculatorState{};
    ClearProfile();
  }
}

// ---------------------------------------------------------------------------------------------
// Exactly what damaged side and option keys load, what Preferences shows, and what is saved.

struct OptionsLoaded {
  const char* stored;
  int formulation;
  int factor;
  const char* saved;
};

class DamagedOptionsTest : public DamagedTest,
                           public ::testing::WithParamInterface<OptionsLoaded> {};

TEST_P(DamagedOptionsTest, LoadsShowsAndSavesTheLowSixteenBits) {
  const OptionsLoaded& c = GetParam();
  OpenWindow({{"SWVPcal", c.stored}});
  EXPECT_EQ(calculator.svpFormulation, c.formulation);
  EXPECT_EQ(calculator.enhancementFactor, c.factor);
  SaveAndExpectClean("saved after loading");
  EXPECT_EQ(ReadKey("SWVPcal"), c.saved);
  ExpectSound("after saving");
}

INSTANTIATE_TEST_SUITE_P(
    Values, DamagedOptionsTest,
    ::testing::Values(OptionsLoaded{",,,", 0, 0, "0,0"}, OptionsLoaded{"-1,11", -1, 11, "65535,11"},
                      OptionsLoaded{"65535,65536", 65535, 65536, "65535,0"},
                      OptionsLoaded{"-2147483649,99999999999", INT32_MIN, INT32_MAX, "0,65535"},
                      OptionsLoaded{"1e39,4", 1, 0, "1,0"},
                      OptionsLoaded{"1001,", 1001, 0, "1001,0"}));

struct SideLoaded {
  const char* key;
  const char* stored;
  int sourceChoice;
  float sourceValue;
  int targetChoice;
  float targetValue;
  const char* saved;
};

class DamagedSideTest : public DamagedTest, public ::testing::WithParamInterface<SideLoaded> {};

TEST_P(DamagedSideTest, FillsTheFieldsItReachesAndSavesThem) {
  const SideLoaded& c = GetParam();
  OpenWindow({{c.key, c.stored}});
  const std::string key = c.key;
  const auto choice = key == "MolWt"     ? &SideContext::gasChoice
                      : key == "Liq"     ? &SideContext::liquidChoice
                      : key == "AmbTemp" ? &SideContext::ambientUnit
                                         : &SideContext::prevailingUnit;
  const auto value = key == "MolWt"     ? &SideContext::molecularWeight
                     : key == "Liq"     ? &SideContext::henryConstant
                     : key == "AmbTemp" ? &SideContext::ambientTemperature
                                        : &SideContext::prevailingTemperature;
  EXPECT_EQ(calculator.source.*choice, c.sourceChoice);
  EXPECT_EQ(calculator.source.*value, c.sourceValue);
  EXPECT_EQ(calculator.target.*choice, c.targetChoice);
  EXPECT_EQ(calculator.target.*value, c.targetValue);
  SaveAndExpectClean("saved after loading");
  EXPECT_EQ(ReadKey(c.key), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DamagedSideTest,
    ::testing::Values(
        // Members the text does not reach keep the zeros they hold before the first load.
        SideLoaded{"MolWt", "abc", 0, 0.0f, 0, 0.0f, "0,0.000000,0,0.000000"},
        SideLoaded{"MolWt", "1001,", 1001, 0.0f, 0, 0.0f, "1001,0.000000,0,0.000000"},
        SideLoaded{"Liq", "1001,29.0", 1001, 29.0f, 0, 0.0f, "1001,29.000000,0,0.000000"},
        SideLoaded{"AmbTemp", "-1,20,11,20", -1, 20.0f, 11, 20.0f, "65535,20.000000,11,20.000000"},
        SideLoaded{"PrevTemp", "-2147483649,1,99999999999,1", INT32_MIN, 1.0f, INT32_MAX, 1.0f,
                   "0,1.000000,65535,1.000000"},
        SideLoaded{"MolWt", "0,0,0,0,0,0", 0, 0.0f, 0, 0.0f, "0,0.000000,0,0.000000"}));

}  // namespace
}  // namespace gui
