// Settings in the profile section "ZazUdur": what a first start loads and a save writes, how
// each key comes back into the window and the state, and what damaged values do.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/calculator_state.h"
#include "app/settings_profile.h"
#include "core/unit_catalogues.h"
#include "resources/resource_ids.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

using Profile = std::vector<std::pair<const char*, const char*>>;

class SettingsTest : public GuiTest {
 protected:
  // The section as "key=value" lines, in the order the save writes them.
  static std::vector<std::string> Lines(const Profile& profile) {
    std::vector<std::string> lines;
    for (const auto& key : profile) lines.push_back(std::string(key.first) + "=" + key.second);
    return lines;
  }

  void Reopen(const Profile& keys = {}) {
    CloseWindow();
    calculator = CalculatorState{};
    OpenWindow(keys);
  }
};

void ExpectSide(const SideContext& side, int gas, float molecularWeight, int liquid, float henry,
                int ambientUnit, float ambient, int prevailingUnit, float prevailing, int medium) {
  EXPECT_EQ(side.gasChoice, gas);
  EXPECT_EQ(side.molecularWeight, molecularWeight);
  EXPECT_EQ(side.liquidChoice, liquid);
  EXPECT_EQ(side.henryConstant, henry);
  EXPECT_EQ(side.ambientUnit, ambientUnit);
  EXPECT_EQ(side.ambientTemperature, ambient);
  EXPECT_EQ(side.prevailingUnit, prevailingUnit);
  EXPECT_EQ(side.prevailingTemperature, prevailing);
  EXPECT_EQ(side.densityMedium, medium);
}

void ExpectAppliedIsSource() {
  const AppliedSource& applied = calculator.appliedSource;
  const SideContext& source = calculator.source;
  EXPECT_EQ(applied.molecularWeight, source.molecularWeight);
  EXPECT_EQ(applied.henryConstant, source.henryConstant);
  EXPECT_EQ(applied.ambientTemperature, source.ambientTemperature);
  EXPECT_EQ(applied.prevailingTemperature, source.prevailingTemperature);
  EXPECT_EQ(applied.densityMedium, static_cast<uint16_t>(source.densityMedium));
}

TEST_F(SettingsTest, FirstStartLoadsTheDefaults) {
  OpenWindow();
  EXPECT_EQ(calculator.svpFormulation, 1019);
  EXPECT_EQ(calculator.enhancementFactor, 1022);
  EXPECT_EQ(calculator.sourceMoistureUnit, 0);
  EXPECT_EQ(calculator.sourcePressureUnit, 0);
  EXPECT_EQ(calculator.targetMoistureUnit, 0);
  EXPECT_EQ(calculator.targetPressureUnit, 0);
  {
    SCOPED_TRACE("source");
    ExpectSide(calculator.source, 1001, 29.0f, 1054, 1.9f, 1015, 20.0f, 1033, 20.0f, 1030);
  }
  {
    SCOPED_TRACE("target");
    ExpectSide(calculator.target, 1001, 29.0f, 1054, 1.9f, 1015, 20.0f, 1033, 20.0f, 1030);
  }
  ExpectAppliedIsSource();
  EXPECT_EQ(calculator.mainWindow, static_cast<void*>(window_));
}

TEST_F(SettingsTest, SaveAfterFirstStartWritesTheDefaultTextsInOrder) {
  OpenWindow();
  SaveThroughPreferences();
  for (const auto& key : kFirstStartProfile) {
    EXPECT_EQ(ReadKey(key.first), key.second) << key.first;
  }
  EXPECT_EQ(ReadSection(), Lines(kFirstStartProfile));
}

TEST_F(SettingsTest, SaveChangesNothingOnScreenOrInTheState) {
  OpenWindow({{"SrcDew", "-12.5,2"}, {"SWVPcal", "1020,1024"}});
  const CalculatorState before = calculator;
  const std::string value = ReadText(IDC_SOURCE_VALUE);
  SaveThroughPreferences();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), value);
  EXPECT_EQ(std::memcmp(&before.source, &calculator.source, sizeof before.source), 0);
  EXPECT_EQ(std::memcmp(&before.target, &calculator.target, sizeof before.target), 0);
  EXPECT_EQ(calculator.svpFormulation, 1020);
  EXPECT_EQ(calculator.enhancementFactor, 1024);
  EXPECT_EQ(calculator.sourceMoistureUnit, 2);
}

TEST_F(SettingsTest, SavingTwiceWritesTheSameTexts) {
  OpenWindow({{"SrcDew", "123.456,4"}, {"MolWt", "1013,18.02,1007,4"}});
  SaveThroughPreferences();
  const std::vector<std::string> first = ReadSection();
  SaveThroughPreferences();
  EXPECT_EQ(ReadSection(), first);
  EXPECT_EQ(first.size(), 10u);
}

// ---------------------------------------------------------------------------------------------
// Keys filling an edit box and a combo box.

struct FieldCase {
  const char* key;
  const char* stored;  // nullptr: key written with an empty value
  const char* shown;   // text of the key's edit box (nullptr: none)
  int unit;            // selection of the key's combo box
};

struct FieldControls {
  int editId;
  int comboId;
  const int32_t* unit;
};

FieldControls ControlsOf(const std::string& key) {
  if (key == "SrcDew")
    return {IDC_SOURCE_VALUE, IDC_SOURCE_MOISTURE_UNIT, &calculator.sourceMoistureUnit};
  if (key == "SrcPrs") {
    return {IDC_SOURCE_PRESSURE, IDC_SOURCE_PRESSURE_UNIT, &calculator.sourcePressureUnit};
  }
  if (key == "TrgDew") return {0, IDC_TARGET_MOISTURE_UNIT, &calculator.targetMoistureUnit};
  return {IDC_TARGET_PRESSURE, IDC_TARGET_PRESSURE_UNIT, &calculator.targetPressureUnit};
}

class FieldKeyTest : public SettingsTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldKeyTest, LoadsIntoEditAndCombo) {
  const FieldCase& c = GetParam();
  OpenWindow({{c.key, c.stored ? c.stored : ""}});
  const FieldControls controls = ControlsOf(c.key);
  if (c.shown) {
    EXPECT_EQ(ReadText(controls.editId), c.shown);
  }
  EXPECT_EQ(Selection(controls.comboId), c.unit);
  EXPECT_EQ(*controls.unit, c.unit);
  // Loading never raises the range message, whatever the stored value.
  EXPECT_TRUE(SeenDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FieldKeyTest,
    ::testing::Values(
        FieldCase{"SrcDew", "-40,0", "-40.", 0}, FieldCase{"SrcDew", "123.456,4", "123.46", 4},
        FieldCase{"SrcDew", "138670,4", "1.3867e+005", 4},
        FieldCase{"SrcDew", "0.05,4", "5.e-002", 4}, FieldCase{"SrcDew", "1,5", "1.", 5},
        FieldCase{"SrcDew", "12340,4", "12340", 4},
        // A selection index outside the catalogue is loaded as unit 0.
        FieldCase{"SrcDew", "5,11", "5.", 0}, FieldCase{"SrcDew", "5,-1", "5.", 0},
        FieldCase{"SrcDew", "5,99", "5.", 0},
        // Not beginning with a number: the default, and the unit is not reached.
        FieldCase{"SrcDew", "abc,3", "0.", 0}, FieldCase{"SrcDew", "enter new val,4", "0.", 0},
        // Parsed only in part: the unit keeps its value.
        FieldCase{"SrcDew", "12", "12.", 0}, FieldCase{"SrcDew", nullptr, "0.", 0},
        FieldCase{"SrcPrs", "14.7,1", "14.7", 1}, FieldCase{"SrcPrs", "101.325,4", "101.325", 4},
        FieldCase{"SrcPrs", "1000,5", "1000.", 0}, FieldCase{"SrcPrs", "1000,-1", "1000.", 0},
        FieldCase{"SrcPrs", "abc,2", "1013.25", 0}, FieldCase{"SrcPrs", nullptr, "1013.25", 0},
        FieldCase{"TrgPrs", "14.7,1", "14.7", 1}, FieldCase{"TrgPrs", "2,3", "2.", 3},
        FieldCase{"TrgPrs", "500,7", "500.", 0}, FieldCase{"TrgPrs", "x,3", "1013.25", 0},
        FieldCase{"TrgDew", "7.5,6", nullptr, 6}, FieldCase{"TrgDew", "0,10", nullptr, 10},
        FieldCase{"TrgDew", "0,11", nullptr, 0}, FieldCase{"TrgDew", "0,-1", nullptr, 0},
        FieldCase{"TrgDew", "abc,4", nullptr, 0}));

// Writing a stored value that lies outside its unit's range raises no message: the combo box
// has just been emptied when the value is written, and without a selection there is no range.
// (Focus changes are notifications of the box too and do run the check: the focus is kept
// away from the box here.)
TEST_F(SettingsTest, StoredValueOutsideItsRangeIsWrittenWithoutMessage) {
  const struct {
    const char* stored;
    const char* shown;
    int unit;
  } cases[] = {{"-40,4", "-40.", 4}, {"12340,8", "12340", 8}, {"60,0", "60.", 0}};
  OpenWindow();
  SetFocus(window_);
  PumpUntilIdle();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    WriteKey("SrcDew", c.stored);
    SendMessageA(window_, WM_INITDIALOG, 0, 0);
    PumpUntilIdle();
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), c.shown);
    EXPECT_EQ(Selection(IDC_SOURCE_MOISTURE_UNIT), c.unit);
    EXPECT_EQ(calculator.sourceMoistureUnit, c.unit);
    EXPECT_TRUE(SeenDialogs().empty());
  }
}

TEST_F(SettingsTest, PsiIsShownForSourcePressureUnitOne) {
  OpenWindow({{"SrcPrs", "14.7,1"}});
  EXPECT_EQ(SelectedItem(IDC_SOURCE_PRESSURE_UNIT), "PSI");
}

TEST_F(SettingsTest, TargetUnitSixIsTheNaturalGasUnit) {
  OpenWindow({{"TrgDew", "7.5,6"}});
  EXPECT_EQ(Bytes(SelectedItem(IDC_TARGET_MOISTURE_UNIT)),
            Bytes("lbs H2O per Million Feet\xB3 ... water vapor density in Natural Gas @ STP: per "
                  "IGT"));
}

// ---------------------------------------------------------------------------------------------
// Side parameters and options.

TEST_F(SettingsTest, SideKeysFillBothSidesAndTheAppliedSource) {
  OpenWindow({{"MolWt", "1013,18.02,1007,4"},
              {"Liq", "1059,0.75,1056,15.5"},
              {"AmbTemp", "1016,20,1015,-5.5"},
              {"DensityMedium", "1028,1029"},
              {"PrevTemp", "1034,15.5555563,1033,30"}});
  {
    SCOPED_TRACE("source");
    ExpectSide(calculator.source, 1013, 18.02f, 1059, 0.75f, 1016, 20.0f, 1034, 15.5555563f, 1028);
  }
  {
    SCOPED_TRACE("target");
    ExpectSide(calculator.target, 1007, 4.0f, 1056, 15.5f, 1015, -5.5f, 1033, 30.0f, 1029);
  }
  ExpectAppliedIsSource();
}

struct OptionsCase {
  const char* stored;
  int formulation;
  int factor;
};

class OptionsKeyTest : public SettingsTest, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsKeyTest, LoadsBothOptions) {
  OpenWindow({{"SWVPcal", GetParam().stored}});
  EXPECT_EQ(calculator.svpFormulation, GetParam().formulation);
  EXPECT_EQ(calculator.enhancementFactor, GetParam().factor);
}

INSTANTIATE_TEST_SUITE_P(Texts, OptionsKeyTest,
                         ::testing::Values(OptionsCase{"1020,1024", 1020, 1024},
                                           OptionsCase{"1018,1023", 1018, 1023},
                                           // Not a number at all: both options stay 0.
                                           OptionsCase{"abc", 0, 0},
                                           // Cut short: the second stays 0.
                                           OptionsCase{"1021", 1021, 0},
                                           OptionsCase{"", 1019, 1022}));

TEST_F(SettingsTest, SideKeyParsedInPartKeepsTheFieldsItDoesNotReach) {
  OpenWindow({{"MolWt", "1005"}});
  EXPECT_EQ(calculator.source.gasChoice, 1005);
  EXPECT_EQ(calculator.source.molecularWeight, 0.0f);
  EXPECT_EQ(calculator.target.gasChoice, 0);
  EXPECT_EQ(calculator.target.molecularWeight, 0.0f);
}

// ---------------------------------------------------------------------------------------------
// Saving what the window shows.

// Whatever a field shows, the save writes what loads as the number the field holds, in the
// unit chosen: a decimal comma (which the field reads as a point) used to load as another number
// with the digits after it taken for the unit.
TEST_F(SettingsTest, SavedFieldTextsComeBackAsTheSameNumberInTheSameUnit) {
  OpenWindow({{"SrcDew", "0,4"}, {"SrcPrs", "14.7,1"}, {"TrgPrs", "100,4"}});
  const struct {
    int editId;
    const char* key;
    const char* typed;
    const char* saved;
    const char* shownAfterRestart;
    int unit;
  } rows[] = {
      {IDC_SOURCE_VALUE, "SrcDew", "7,5", "7.5,4", "7.5", 4},
      {IDC_SOURCE_PRESSURE, "SrcPrs", "14,7 psia", "14.7,1", "14.7", 1},
      {IDC_TARGET_PRESSURE, "TrgPrs", "1,5e2 kPa", "1.5e2,4", "150.", 4},
  };
  for (const auto& row : rows) SetEditText(row.editId, row.typed);
  const std::string result = ResultText();
  SaveThroughPreferences();
  Reopen();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.key);
    EXPECT_EQ(ReadKey(row.key), row.saved);
    EXPECT_EQ(ReadText(row.editId), row.shownAfterRestart);
    EXPECT_EQ(Selection(row.editId == IDC_SOURCE_VALUE      ? IDC_SOURCE_MOISTURE_UNIT
                        : row.editId == IDC_SOURCE_PRESSURE ? IDC_SOURCE_PRESSURE_UNIT
                                                            : IDC_TARGET_PRESSURE_UNIT),
              row.unit);
  }
  EXPECT_EQ(ResultText(), result);
}

// An edit box reads "1.5e" as 1.5; the save writes it as typed, and it must load again.
TEST_F(SettingsTest, ValuesTypedWithABareExponentComeBackWithTheirUnits) {
  OpenWindow({{"SrcDew", "0,4"}, {"SrcPrs", "14.7,1"}});
  SetEditText(IDC_SOURCE_VALUE, "1.5e");
  SetEditText(IDC_SOURCE_PRESSURE, "14.7E+");
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("SrcDew"), "1.5e,4");
  EXPECT_EQ(ReadKey("SrcPrs"), "14.7E+,1");
  Reopen();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "1.5");
  EXPECT_EQ(Selection(IDC_SOURCE_MOISTURE_UNIT), Code(MoistureUnitCode::PpmV));
  EXPECT_EQ(ReadText(IDC_SOURCE_PRESSURE), "14.7");
  EXPECT_EQ(Selection(IDC_SOURCE_PRESSURE_UNIT), Code(PressureUnitCode::Psi));
}

TEST_F(SettingsTest, FieldTextsAreSavedAsTheirFirstFourteenCharacters) {
  OpenWindow({{"SrcDew", "0,1"}});
  SetEditText(IDC_SOURCE_VALUE, "12345.678901234567");
  SetEditText(IDC_SOURCE_PRESSURE, "1013.2500000000001");
  SetEditText(IDC_TARGET_PRESSURE, "900 mbar and more");
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("SrcDew"), "12345.67890123,1");
  EXPECT_EQ(ReadKey("SrcPrs"), "1013.250000000,0");
  EXPECT_EQ(ReadKey("TrgPrs"), "900,0");
}

TEST_F(SettingsTest, RefusedSourceValueIsSavedAsTheZeroItReadsAs) {
  OpenWindow();
  Script({MessageBoxSaying("stay between -140\xB0"
                           "C and +50\xB0"
                           "C"),
          Command(IDOK)});
  SetEditText(IDC_SOURCE_VALUE, "60");
  ASSERT_EQ(ReadText(IDC_SOURCE_VALUE), "enter new val");
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("SrcDew"), "0,0");
  Reopen();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "0.");
}

TEST_F(SettingsTest, TargetUnitIsSavedAsAnIndexOnly) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  ASSERT_EQ(ResultText(), "6060.1");
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("TrgDew"), "0,4");
}

TEST_F(SettingsTest, TinyHenryConstantIsSavedAsZeroAndComesBackAsZero) {
  OpenWindow({{"Liq", "1059,0.0000004,1054,1.9"}});
  EXPECT_EQ(calculator.source.henryConstant, 0.0000004f);
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("Liq"), "1059,0.000000,1054,1.900000");
  Reopen();
  EXPECT_EQ(calculator.source.henryConstant, 0.0f);
  EXPECT_EQ(calculator.source.liquidChoice, 1059);
}

TEST_F(SettingsTest, HugeMolecularWeightIsCutToTheComposeArea) {
  OpenWindow({{"MolWt", "1013,1e30,1001,29"}});
  SaveThroughPreferences();
  const std::string text = ReadKey("MolWt");
  EXPECT_LE(text.size(), 51u);
  EXPECT_EQ(text, "1013,1000000015047466219876688855040.000000,1001,29");
  // The other keys are still written in full.
  EXPECT_EQ(ReadKey("Liq"), "1054,1.900000,1054,1.900000");
}

// ---------------------------------------------------------------------------------------------
// Load, save, load.

const Profile kOwnProfile = {
    {"SrcDew", "-12.5,2"},
    {"SrcPrs", "14.7,1"},
    {"TrgDew", "0,9"},
    {"TrgPrs", "2,3"},
    {"MolWt", "1013,18.02,1007,4"},
    {"AmbTemp", "1016,20,1015,-5.5"},
    {"PrevTemp", "1034,15.5555563,1033,30"},
    {"DensityMedium", "1028,1029"},
    {"SWVPcal", "1020,1024"},
    {"Liq", "1059,0.75,1056,15.5"},
};

const Profile kOwnProfileSaved = {
    {"SrcDew", "-12.5,2"},
    {"SrcPrs", "14.7,1"},
    {"TrgDew", "0,9"},
    {"TrgPrs", "2.,3"},
    {"MolWt", "1013,18.020000,1007,4.000000"},
    {"AmbTemp", "1016,20.000000,1015,-5.500000"},
    {"PrevTemp", "1034,15.555556,1033,30.000000"},
    {"DensityMedium", "1028,1029"},
    {"SWVPcal", "1020,1024"},
    {"Liq", "1059,0.750000,1056,15.500000"},
};

TEST_F(SettingsTest, LoadSaveLoadIsStable) {
  OpenWindow(kOwnProfile);
  const CalculatorState loaded = calculator;
  SaveThroughPreferences();
  EXPECT_EQ(ReadSection(), Lines(kOwnProfileSaved));

  Reopen();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-12.5");
  EXPECT_EQ(ReadText(IDC_SOURCE_PRESSURE), "14.7");
  EXPECT_EQ(ReadText(IDC_TARGET_PRESSURE), "2.");
  EXPECT_EQ(Selection(IDC_TARGET_MOISTURE_UNIT), 9);
  EXPECT_EQ(std::memcmp(&loaded.source, &calculator.source, sizeof loaded.source), 0);
  EXPECT_EQ(std::memcmp(&loaded.target, &calculator.target, sizeof loaded.target), 0);
  EXPECT_EQ(calculator.svpFormulation, loaded.svpFormulation);
  EXPECT_EQ(calculator.enhancementFactor, loaded.enhancementFactor);
  EXPECT_EQ(calculator.sourceMoistureUnit, loaded.sourceMoistureUnit);
  EXPECT_EQ(calculator.sourcePressureUnit, loaded.sourcePressureUnit);
  EXPECT_EQ(calculator.targetMoistureUnit, loaded.targetMoistureUnit);
  EXPECT_EQ(calculator.targetPressureUnit, loaded.targetPressureUnit);

  SaveThroughPreferences();
  EXPECT_EQ(ReadSection(), Lines(kOwnProfileSaved));
}

TEST_F(SettingsTest, NothingIsSavedWhenTheWindowCloses) {
  OpenWindow({{"SrcDew", "-40,0"}});
  SetEditText(IDC_SOURCE_VALUE, "-20");
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  CloseWindow();
  EXPECT_EQ(ReadSection(), std::vector<std::string>{"SrcDew=-40,0"});
}

}  // namespace
}  // namespace gui

namespace gui {
namespace {

// ---------------------------------------------------------------------------------------------
// A profile that cannot be written: a folder stands where win.ini would be, which stops every
// write, also one made as root.

std::string WindowsFile(const char* name) {
  char folder[MAX_PATH];
  GetWindowsDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\" + name;
}

std::string SettingsFile() {
  char path[MAX_PATH] = "";
  EXPECT_TRUE(SettingsFileLocation(path));
  return path;
}

std::string FileKey(const std::string& file, const char* key) {
  char text[100];
  GetPrivateProfileStringA(kSection, key, kAbsent, text, sizeof text, file.c_str());
  return text;
}

// Moves win.ini aside and puts a folder in its place for the life of the object.
class UnwritablePath {
 public:
  explicit UnwritablePath(std::string path) : path_(std::move(path)), aside_(path_ + ".aside") {
    DeleteFileA(aside_.c_str());
    moved_ = MoveFileA(path_.c_str(), aside_.c_str());
    blocked_ = CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~UnwritablePath() {
    RemoveDirectoryA(path_.c_str());
    if (moved_) MoveFileA(aside_.c_str(), path_.c_str());
  }
  bool blocked() const { return blocked_; }

 private:
  std::string path_;
  std::string aside_;
  bool moved_ = false;
  bool blocked_ = false;
};

std::vector<std::string> unsavedMessages;

bool AnswerUnsavedMessage(HWND box, const SeenDialog& seen) {
  unsavedMessages.push_back(seen.message);
  PressDialogButton(box, IDOK);
  return true;
}

class SettingsFallbackTest : public GuiTest {
 protected:
  void Reopen() {
    CloseWindow();
    calculator = CalculatorState{};
    OpenWindow();
  }
};

TEST_F(SettingsFallbackTest, AProfileThatCannotBeWrittenSendsTheSettingsToTheUserFile) {
  const std::string file = SettingsFile();
  {
    UnwritablePath profile(WindowsFile("win.ini"));
    ASSERT_TRUE(profile.blocked());
    OpenWindow();
    SetEditText(IDC_SOURCE_VALUE, "-40");
    SaveThroughPreferences();
    for (const auto& key : kFirstStartProfile) {
      const std::string expected = std::strcmp(key.first, "SrcDew") == 0 ? "-40,0" : key.second;
      EXPECT_EQ(FileKey(file, key.first), expected) << key.first;
    }
    // Read back from the file while the profile is still out of reach.
    Reopen();
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-40.");
  }
  // With the profile writable again the file, which holds the section, stays in use.
  EXPECT_EQ(ReadKey("SrcDew"), kAbsent);
  SetEditText(IDC_SOURCE_VALUE, "-20");
  SaveThroughPreferences();
  EXPECT_EQ(FileKey(file, "SrcDew"), "-20,0");
  EXPECT_EQ(ReadKey("SrcDew"), kAbsent) << "the profile must not get a second copy";
  Reopen();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-20.");
}

TEST_F(SettingsFallbackTest, NothingWritableIsReportedNamingBothPlaces) {
  const std::string file = SettingsFile();
  const std::string folder = file.substr(0, file.rfind('\\'));
  CreateDirectoryA(folder.c_str(), nullptr);
  UnwritablePath profile(WindowsFile("win.ini"));
  UnwritablePath userFile(file);
  ASSERT_TRUE(profile.blocked() && userFile.blocked());
  OpenWindow();
  unsavedMessages.clear();
  SetUnscriptedDialogHandler(AnswerUnsavedMessage);
  SaveThroughPreferences();
  ASSERT_EQ(unsavedMessages.size(), 1u);
  const std::string& message = unsavedMessages[0];
  EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
  EXPECT_NE(message.find(WindowsFile("win.ini")), std::string::npos) << message;
  EXPECT_NE(message.find(file), std::string::npos) << message;
}

TEST_F(SettingsFallbackTest, AWritableProfileLeavesNoUserFile) {
  OpenWindow();
  SaveThroughPreferences();
  EXPECT_EQ(ReadKey("SrcDew"), "0.,0");
  EXPECT_EQ(GetFileAttributesA(SettingsFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace gui
