// The main window end to end: first start, unit catalogues in the combo boxes, the system menu,
// the conversion cycle (result, range check, pressure and source unit changes) and the banner.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calculator_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/expected_unit_texts.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

const char kAboutCaption[] = "About Ruruzir Dewpoint Calculator ";
const char kLoopCaption[] = "  4 / 20 mA Conversions Calculator";

class MainWindowTest : public GuiTest {};

// ---------------------------------------------------------------------------------------------
// First start.

TEST_F(MainWindowTest, FirstStartWithEmptySectionShowsDefaults) {
  OpenWindow();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "0.");
  EXPECT_EQ(ReadText(IDC_SOURCE_PRESSURE), "1013.25");
  EXPECT_EQ(ReadText(IDC_TARGET_PRESSURE), "1013.25");
  for (int combo : {IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_MOISTURE_UNIT, IDC_TARGET_PRESSURE_UNIT,
                    IDC_TARGET_MOISTURE_UNIT}) {
    EXPECT_EQ(Selection(combo), 0) << "combo " << combo;
  }
  EXPECT_EQ(ResultText(), "0.0");
  EXPECT_TRUE(SeenDialogs().empty()) << "no message may appear while initialising";
}

TEST_F(MainWindowTest, MoistureCombosHoldTheCatalogueTextsByteForByte) {
  OpenWindow();
  for (int combo : {IDC_SOURCE_MOISTURE_UNIT, IDC_TARGET_MOISTURE_UNIT}) {
    const std::vector<std::string> items = ComboItems(window_, combo);
    ASSERT_EQ(items.size(), 11u) << "combo " << combo;
    for (size_t code = 0; code < items.size(); ++code) {
      EXPECT_EQ(Bytes(items[code]), Bytes(kExpectedMoistureItemTexts[code]))
          << "combo " << combo << " item " << code;
    }
  }
}

TEST_F(MainWindowTest, PressureCombosHoldTheFiveUnitsInOrder) {
  OpenWindow();
  for (int combo : {IDC_SOURCE_PRESSURE_UNIT, IDC_TARGET_PRESSURE_UNIT}) {
    const std::vector<std::string> items = ComboItems(window_, combo);
    ASSERT_EQ(items.size(), 5u) << "combo " << combo;
    for (size_t code = 0; code < items.size(); ++code) {
      EXPECT_EQ(items[code], kExpectedPressureNames[code]) << "combo " << combo << " item " << code;
    }
  }
}

// A unit list's template height is its dropped list's: every unit shows without scrolling.
TEST_F(MainWindowTest, DroppedListsShowEveryUnit) {
  OpenWindow();
  const struct {
    int id;
    int units;
  } lists[] = {{IDC_SOURCE_MOISTURE_UNIT, 11},
               {IDC_TARGET_MOISTURE_UNIT, 11},
               {IDC_SOURCE_PRESSURE_UNIT, 5},
               {IDC_TARGET_PRESSURE_UNIT, 5}};
  for (const auto& list : lists) {
    SCOPED_TRACE(::testing::Message() << "list " << list.id);
    HWND combo = GetDlgItem(window_, list.id);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    PumpUntilIdle();
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    RECT client;
    GetClientRect(info.hwndList, &client);
    const LRESULT itemHeight = SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
    ASSERT_GT(itemHeight, 0);
    EXPECT_GE((client.bottom - client.top) / itemHeight, list.units);
    EXPECT_EQ(GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL, 0) << "a scroll bar shows";
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    PumpUntilIdle();
  }
}

TEST_F(MainWindowTest, InitialisingAgainDoesNotDuplicateItems) {
  OpenWindow();
  // The window has initialised twice already (from the dialog manager and from the posted
  // WM_INITDIALOG); a third time still leaves 11 and 5 items.
  SendMessageA(window_, WM_INITDIALOG, 0, 0);
  PumpUntilIdle();
  EXPECT_EQ(ComboItems(window_, IDC_SOURCE_MOISTURE_UNIT).size(), 11u);
  EXPECT_EQ(ComboItems(window_, IDC_TARGET_MOISTURE_UNIT).size(), 11u);
  EXPECT_EQ(ComboItems(window_, IDC_SOURCE_PRESSURE_UNIT).size(), 5u);
  EXPECT_EQ(ComboItems(window_, IDC_TARGET_PRESSURE_UNIT).size(), 5u);
}

TEST_F(MainWindowTest, SystemMenuEndsWithSeparatorAndTheThreeCommands) {
  OpenWindow();
  const int standardItems = GetMenuItemCount(GetSystemMenu(window_, FALSE));
  AppendSystemMenuItems(window_);
  const std::vector<MenuItem> items = ReadMenu(GetSystemMenu(window_, FALSE));
  ASSERT_EQ(static_cast<int>(items.size()), standardItems + 4);
  const size_t first = items.size() - 4;
  EXPECT_TRUE(items[first].type & MFT_SEPARATOR);
  EXPECT_EQ(items[first + 1].text, "Preferences...");
  EXPECT_EQ(items[first + 1].id, 102u);
  EXPECT_EQ(items[first + 2].text, "About...");
  EXPECT_EQ(items[first + 2].id, 101u);
  EXPECT_EQ(items[first + 3].text, "4/20mA Conversions...");
  EXPECT_EQ(items[first + 3].id, 103u);
}

struct SystemCommandCase {
  WPARAM command;
  const char* caption;
  int closeWith;
};

TEST_F(MainWindowTest, SystemMenuCommandsOpenTheirDialogsModally) {
  OpenWindow();
  AppendSystemMenuItems(window_);
  const SystemCommandCase cases[] = {
      {101, kAboutCaption, IDOK},
      {102, kPreferencesCaption, IDCANCEL},
      {103, kLoopCaption, IDCANCEL},
  };
  for (const SystemCommandCase& c : cases) {
    SCOPED_TRACE(c.caption);
    // While a modal dialog is open its owner, the main window, is disabled.
    static bool ownerDisabled;
    ownerDisabled = false;
    Script({Dialog(c.caption), Call([](HWND dialog) {
              ownerDisabled = !IsWindowEnabled(GetWindow(dialog, GW_OWNER)) &&
                              GetWindow(dialog, GW_OWNER) == calculator.mainWindow;
            }),
            Command(c.closeWith), ExpectClosed()});
    SendMessageA(window_, WM_SYSCOMMAND, c.command, 0);
    PumpUntilIdle();
    EXPECT_TRUE(ScriptDone()) << PendingSteps();
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(window_));
  }
}

// ---------------------------------------------------------------------------------------------
// Results.

struct ResultCase {
  int targetUnit;
  const char* result;
};

class WorkedExampleTest : public GuiTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(WorkedExampleTest, ZeroDegreesFrostPointInTargetUnit) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, GetParam().targetUnit);
  EXPECT_EQ(ResultText(), GetParam().result);
  EXPECT_EQ(calculator.targetMoistureUnit, GetParam().targetUnit);
  // Every paint recomputes the same result.
  EXPECT_EQ(ResultText(), GetParam().result);
  EXPECT_TRUE(SeenDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(Units, WorkedExampleTest,
                         ::testing::Values(ResultCase{0, "0.0"}, ResultCase{4, "6060.1"},
                                           ResultCase{8, "6.103"}, ResultCase{2, "32.0"}));

TEST_F(MainWindowTest, EmptyTargetPressureGivesOutOfRange) {
  OpenWindow();
  ASSERT_EQ(ResultText(), "0.0");
  // No water vapour pressure at a total pressure of 0: no frost point.
  SetEditText(IDC_TARGET_PRESSURE, "");
  EXPECT_EQ(ResultText(), "out of range");
}

TEST_F(MainWindowTest, EmptySourcePressureGivesOutOfRange) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  SetEditText(IDC_SOURCE_PRESSURE, "");
  EXPECT_EQ(ResultText(), "out of range");
}

TEST_F(MainWindowTest, DewPointAboveTheTotalPressureGivesOutOfRange) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  // At 40 degC the vapour pressure is about 73.8 mbar, more than the 50 mbar in total.
  SetEditText(IDC_SOURCE_VALUE, "40");
  SetEditText(IDC_SOURCE_PRESSURE, "50");
  EXPECT_EQ(ResultText(), "out of range");
  // With room for it again the result is a number.
  SetEditText(IDC_SOURCE_PRESSURE, "1013.25");
  EXPECT_NE(ResultText(), "out of range");
}

TEST_F(MainWindowTest, TargetValueThatIsNotFiniteGivesOutOfRange) {
  // ppmW in a gas of molecular weight 0 on the target side: ppmV * 18 / 0.
  OpenWindow({{"TrgDew", "0,5"}, {"MolWt", "1001,29,1001,0"}});
  EXPECT_EQ(ResultText(), "out of range");
}

TEST_F(MainWindowTest, SourcePpmVBeyondSinglePrecisionGivesOutOfRange) {
  // 100 ppmW in a gas of molecular weight 3e38 is 1.7e39 ppmV, more than a float holds.
  OpenWindow({{"SrcDew", "100,5"}, {"TrgDew", "0,4"}, {"MolWt", "1001,3e38,1001,29"}});
  EXPECT_EQ(ResultText(), "out of range");
  // The same value in ordinary air has an answer.
  SetEditText(IDC_SOURCE_VALUE, "100");
  calculator.source.molecularWeight = 29.0f;
  EXPECT_EQ(ResultText(), "161.1");
}

// A comma written where the decimal point would stand is read as the point in each field: the
// result equals that of the text with the point, and differs from that of the digits before it.
TEST_F(MainWindowTest, DecimalCommaInEachFieldIsReadAsThePoint) {
  OpenWindow({{"SrcDew", "-20,0"}, {"TrgDew", "0,8"}});  // partial pressure in mbar
  const struct {
    int editId;
    const char* comma;
    const char* point;
    const char* truncated;
  } rows[] = {
      {IDC_SOURCE_VALUE, "-20,5", "-20.5", "-20"},
      {IDC_SOURCE_PRESSURE, "506,9", "506.9", "506"},
      {IDC_TARGET_PRESSURE, "500,5", "500.5", "500"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.comma);
    SetEditText(row.editId, row.truncated);
    const std::string truncated = ResultText();
    SetEditText(row.editId, row.point);
    const std::string point = ResultText();
    SetEditText(row.editId, row.comma);
    EXPECT_EQ(ResultText(), point);
    EXPECT_NE(point, truncated);
  }
}

TEST_F(MainWindowTest, SourceValueIsReadFromItsFirstFourteenCharacters) {
  const struct {
    int unit;
    const char* typed;
    const char* result;
  } cases[] = {
      // "1.000000000000" is read; the "e2" after it would make it 100.
      {4, "1.000000000000e2", "1.0"},
      // "-40.0000000000" is read; "e5" would take it out of range.
      {0, "-40.0000000000e5", "-40.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    calculator = CalculatorState{};
    ClearProfile();
    OpenWindow({{"SrcDew", c.unit == 4 ? "0,4" : "0,0"}, {"TrgDew", c.unit == 4 ? "0,4" : "0,0"}});
    SetEditText(IDC_SOURCE_VALUE, c.typed);
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), c.typed);
    EXPECT_EQ(ResultText(), c.result);
    EXPECT_TRUE(SeenDialogs().empty());
    CloseWindow();
  }
}

// ---------------------------------------------------------------------------------------------
// Range check of the source value.

struct RangeCase {
  const char* srcDew;   // stored source value and unit
  const char* inside;   // accepted values, bounds included
  const char* outside;  // refused values
  const char* message;
};

std::vector<std::string> Split(const char* list) {
  std::vector<std::string> values;
  std::string current;
  for (const char* p = list; *p; ++p) {
    if (*p == ' ') {
      if (!current.empty()) values.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) values.push_back(current);
  return values;
}

class RangeTest : public GuiTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeTest, BoundsAcceptedAndValuesJustOutsideRefused) {
  const RangeCase& c = GetParam();
  OpenWindow({{"SrcDew", c.srcDew}});
  for (const std::string& value : Split(c.inside)) {
    SCOPED_TRACE("accepted " + value);
    Script({});
    SetEditText(IDC_SOURCE_VALUE, value);
    EXPECT_TRUE(SeenDialogs().empty());
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), value);
  }
  if (!c.message) return;
  for (const std::string& value : Split(c.outside)) {
    SCOPED_TRACE("refused " + value);
    Script({MessageBoxSaying(c.message),
            // The box already shows its message when the message box appears.
            ExpectMainText(IDC_SOURCE_VALUE, "enter new val"), Command(IDOK), ExpectClosed()});
    SetEditText(IDC_SOURCE_VALUE, value);
    EXPECT_TRUE(ScriptDone()) << PendingSteps();
    EXPECT_EQ(SeenDialogs().size(), 1u);
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "enter new val");
    // The whole text is selected, ready to be typed over.
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(window_, IDC_SOURCE_VALUE, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 13u);
    EXPECT_EQ(GetFocus(), GetDlgItem(window_, IDC_SOURCE_VALUE));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Units, RangeTest,
    ::testing::Values(
        RangeCase{"0,0", "-140 50 -139.99 0", "-140.01 50.01 -150 1e3",
                  "stay between -140\xB0"
                  "C and +50\xB0"
                  "C"},
        RangeCase{"0,1", "-1000 1000 -1e6 1e6", "", nullptr},
        RangeCase{"0,2", "-220 122", "-220.01 122.01",
                  "stay between -220\xB0"
                  "F and +122\xB0"
                  "F"},
        RangeCase{"0,3", "-1000 1000 -1e6", "", nullptr},
        RangeCase{"0,4", "0 138670", "-0.01 138670.01", "stay between 0 and 138670 ppm"},
        RangeCase{"0,5", "0 138670", "-0.01 138670.01", "stay between 0 and 138670 ppm"},
        RangeCase{"0,6", "0 5812", "-0.01 5812.01", "stay between 0 and 5812 lbs/mm'\xB3"},
        RangeCase{"0,7", "0 93", "-0.01 93.01", "stay between 0 and 93 g/m\xB3"},
        RangeCase{"0,8", "0 123.4", "-0.01 123.41", "stay between 0 and 123.4 mb."},
        RangeCase{"0,9", "-1000 1000 1e6", "", nullptr},
        RangeCase{"0,10", "0 138670", "-0.01 138670.01", "stay between 0 and 138670 ppm"}));

TEST_F(MainWindowTest, TypingMinus150CharacterByCharacter) {
  OpenWindow();
  ChooseComboItem(IDC_TARGET_MOISTURE_UNIT, 4);
  SetEditText(IDC_SOURCE_VALUE, "");
  const struct {
    char typed;
    const char* shown;
  } passing[] = {{'-', "-"}, {'1', "-1"}, {'5', "-15"}};
  for (const auto& step : passing) {
    TypeText(IDC_SOURCE_VALUE, std::string(1, step.typed));
    EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), step.shown);
    EXPECT_TRUE(SeenDialogs().empty()) << "after " << step.shown;
  }
  Script({MessageBoxSaying("stay between -140\xB0"
                           "C and +50\xB0"
                           "C"),
          ExpectMainText(IDC_SOURCE_VALUE, "enter new val"), Command(IDOK)});
  TypeText(IDC_SOURCE_VALUE, "0");
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "enter new val");
  // "enter new val" reads as 0: the result is that of 0 degC frost point.
  EXPECT_EQ(ResultText(), "6060.1");
}

// ---------------------------------------------------------------------------------------------
// Pressure units.

struct PressureCase {
  int comboId;
  int editId;
  const char* startText;
  int startUnit;  // chosen first, from mBAR
  int newUnit;
  const char* shown;
};

class PressureUnitTest : public GuiTest, public ::testing::WithParamInterface<PressureCase> {};

TEST_P(PressureUnitTest, TextFollowsTheNewUnit) {
  const PressureCase& c = GetParam();
  OpenWindow();
  SetEditText(c.editId, c.startText);
  if (c.startUnit != 0) ChooseComboItem(c.comboId, c.startUnit);
  ChooseComboItem(c.comboId, c.newUnit);
  EXPECT_EQ(ReadText(c.editId), c.shown);
  const int remembered = c.comboId == IDC_SOURCE_PRESSURE_UNIT ? calculator.sourcePressureUnit
                                                               : calculator.targetPressureUnit;
  EXPECT_EQ(remembered, c.newUnit);
  if (std::string(c.startText) == "1013.25") {
    // The same pressure in another unit: 0 degC frost point stays 0 degC.
    EXPECT_EQ(ResultText(), "0.0");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, PressureUnitTest,
    ::testing::Values(
        PressureCase{IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, "1013.25", 0, 1, "14.696"},
        PressureCase{IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, "1013.25", 0, 2, "0."},
        PressureCase{IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, "1013.25", 0, 3, "1."},
        PressureCase{IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, "1013.25", 0, 4, "101.325"},
        PressureCase{IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, "1013.25", 1, 0, "1013.25"},
        PressureCase{IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, "1", 0, 3, "1.e-003"},
        PressureCase{IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, "1013.25", 0, 1, "14.696"},
        PressureCase{IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, "1013.25", 0, 2, "0."},
        PressureCase{IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, "1013.25", 0, 3, "1."},
        PressureCase{IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, "1013.25", 0, 4, "101.325"},
        PressureCase{IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, "1013.25", 1, 0, "1013.25"},
        PressureCase{IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, "1", 0, 3, "1.e-003"}));

TEST_F(MainWindowTest, ChoosingTheSamePressureUnitLeavesTheTextAlone) {
  OpenWindow();
  for (const auto& side : {std::make_pair(IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE),
                           std::make_pair(IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE)}) {
    SetEditText(side.second, "1013.250");
    ChooseComboItem(side.first, 0);
    EXPECT_EQ(ReadText(side.second), "1013.250");
    ChooseComboItem(side.first, 1);
    SetEditText(side.second, "14.6960");
    ChooseComboItem(side.first, 1);
    EXPECT_EQ(ReadText(side.second), "14.6960");
  }
}

// ---------------------------------------------------------------------------------------------
// Source moisture unit.

struct SourceUnitCase {
  int newUnit;
  const char* shown;
};

class SourceUnitTest : public GuiTest, public ::testing::WithParamInterface<SourceUnitCase> {};

TEST_P(SourceUnitTest, ZeroDegreesFrostPointIsReExpressed) {
  OpenWindow();
  ChooseComboItem(IDC_SOURCE_MOISTURE_UNIT, GetParam().newUnit);
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), GetParam().shown);
  EXPECT_EQ(calculator.sourceMoistureUnit, GetParam().newUnit);
  EXPECT_TRUE(SeenDialogs().empty());
  if (GetParam().newUnit == 2) {
    // 32 degF is exactly 0 degC: the result in degC frost point is that of the first start.
    EXPECT_EQ(ResultText(), "0.0");
  }
}

INSTANTIATE_TEST_SUITE_P(Units, SourceUnitTest,
                         ::testing::Values(SourceUnitCase{4, "6060.1"}, SourceUnitCase{8, "6.103"},
                                           SourceUnitCase{2, "32.0"}));

TEST_F(MainWindowTest, ChoosingTheSamePlainSourceUnitChangesNothing) {
  OpenWindow();
  SetEditText(IDC_SOURCE_VALUE, "-10.00");
  ChooseComboItem(IDC_SOURCE_MOISTURE_UNIT, 0);
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-10.00");
  EXPECT_EQ(calculator.sourceMoistureUnit, 0);
  ChooseComboItem(IDC_SOURCE_MOISTURE_UNIT, 4);
  SetEditText(IDC_SOURCE_VALUE, "100.000");
  ChooseComboItem(IDC_SOURCE_MOISTURE_UNIT, 4);
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "100.000");
}

TEST_F(MainWindowTest, NoAnswerInTheNewUnitShowsNotAvailable) {
  OpenWindow({{"SrcDew", "0,4"}});
  // 0 ppmV has no dew point.
  ChooseComboItem(IDC_SOURCE_MOISTURE_UNIT, 0);
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "N/A");
  EXPECT_EQ(calculator.sourceMoistureUnit, 0);
  EXPECT_TRUE(SeenDialogs().empty());
}

// ---------------------------------------------------------------------------------------------
// Banner and About box.

// The banner shows a dotted focus rectangle inside its edge while it holds the focus, and only
// then: the row of pixels where it runs changes with the focus, the middle of the artwork not.
TEST_F(MainWindowTest, BannerShowsAFocusRectangleWhileItHoldsTheFocus) {
  OpenWindow();
  HWND banner = GetDlgItem(window_, IDC_BANNER);
  RECT client;
  GetClientRect(banner, &client);
  const auto pixels = [&](int y) {
    PumpUntilIdle();
    UpdateWindow(banner);
    HDC dc = GetDC(banner);
    std::vector<COLORREF> row;
    for (int x = client.right / 4; x < client.right * 3 / 4; ++x) row.push_back(GetPixel(dc, x, y));
    ReleaseDC(banner, dc);
    return row;
  };
  const int edgeRow = 3;
  const int middleRow = client.bottom / 2;
  SetFocus(GetDlgItem(window_, IDC_PREFERENCES));
  const std::vector<COLORREF> edgeUnfocused = pixels(edgeRow);
  const std::vector<COLORREF> middleUnfocused = pixels(middleRow);
  SetFocus(banner);
  EXPECT_NE(pixels(edgeRow), edgeUnfocused);
  EXPECT_EQ(pixels(middleRow), middleUnfocused);
  SetFocus(GetDlgItem(window_, IDC_PREFERENCES));
  EXPECT_EQ(pixels(edgeRow), edgeUnfocused);
}

TEST_F(MainWindowTest, BannerClickOpensTheAboutBoxWhichClosesOnlyThroughOk) {
  OpenWindow();
  Script({Dialog(kAboutCaption), Command(IDCANCEL), ExpectOpen(), Command(IDCANCEL), ExpectOpen(),
          Command(IDOK), ExpectClosed()});
  SendCommand(IDC_BANNER, BN_CLICKED);
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
  ASSERT_EQ(SeenDialogs().size(), 1u);
  // A second click opens it again.
  Script({Dialog(kAboutCaption), Click(IDOK), ExpectClosed()});
  SendCommand(IDC_BANNER, BN_CLICKED);
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
}

TEST_F(MainWindowTest, PreferencesButtonOpensThePreferencesDialog) {
  OpenWindow();
  Script({Dialog(kPreferencesCaption), Command(IDCANCEL), ExpectClosed()});
  SendCommand(IDC_PREFERENCES, BN_CLICKED);
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
}

}  // namespace
}  // namespace gui
