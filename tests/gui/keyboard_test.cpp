// The main window from the keyboard: keys are posted to the focused control and reach it
// through the program's own message routing, as a user's typing would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calculator_state.h"
#include "core/unit_catalogues.h"
#include "resources/resource_ids.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

class KeyboardTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    messages_.clear();
    SetUnscriptedDialogHandler(RecordAndAnswer);
  }

  static void PressKey(UINT key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    PumpUntilIdle();
  }

  static void Type(const std::string& text) {
    for (char c : text) {
      PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
      PumpUntilIdle();
    }
  }

  int FocusedId() const {
    HWND focus = GetFocus();
    if (focus == window_) return 0;
    return (focus && IsChild(window_, focus)) ? GetDlgCtrlID(focus) : -1;
  }

  // Every message box and dialog that came up, answered with OK.
  static bool RecordAndAnswer(HWND dialog, const SeenDialog& seen) {
    messages_.push_back(seen.message.empty() ? seen.caption : seen.message);
    PressDialogButton(dialog, IDOK);
    return true;
  }

  static std::vector<std::string> messages_;
};

std::vector<std::string> KeyboardTest::messages_;

TEST_F(KeyboardTest, TypingAfterStartReplacesTheMoistureValue) {
  OpenWindow({{"SrcDew", "-40,0"}});
  ASSERT_EQ(FocusedId(), IDC_SOURCE_VALUE);
  DWORD start = 0, end = 0;
  SendDlgItemMessageA(window_, IDC_SOURCE_VALUE, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, ReadText(IDC_SOURCE_VALUE).size());
  Type("-20");
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-20");
  EXPECT_EQ(ResultText(), "-20.0");
}

// "-40", Tab, "7" used to run together into "-407" and bring up the range message.
TEST_F(KeyboardTest, TabEndsTheValueAndMovesToTheUnitList) {
  OpenWindow();
  Type("-40");
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedId(), IDC_SOURCE_MOISTURE_UNIT);
  Type("7");
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-40");
  EXPECT_EQ(ResultText(), "-40.0");
  EXPECT_TRUE(messages_.empty()) << messages_[0];
}

TEST_F(KeyboardTest, TabAndShiftTabFollowTheReadingOrder) {
  OpenWindow();
  const int reading[] = {IDC_SOURCE_PRESSURE, IDC_SOURCE_PRESSURE_UNIT,
                         IDC_SOURCE_VALUE,    IDC_SOURCE_MOISTURE_UNIT,
                         IDC_TARGET_PRESSURE, IDC_TARGET_PRESSURE_UNIT,
                         IDC_RESULT,          IDC_TARGET_MOISTURE_UNIT,
                         IDC_PREFERENCES,     IDC_BANNER};
  constexpr int kCount = sizeof reading / sizeof reading[0];
  SetFocus(GetDlgItem(window_, IDC_BANNER));
  for (int i = 0; i < kCount; ++i) {
    PressKey(VK_TAB);
    EXPECT_EQ(FocusedId(), reading[i]) << "Tab " << i + 1;
  }
  // Shift+Tab: the dialog manager asks for the previous control (posted keys leave the shift
  // state alone, so the request is sent as the dialog manager sends it).
  for (int i = kCount - 2; i >= 0; --i) {
    SendMessageA(window_, WM_NEXTDLGCTL, 1, 0);
    PumpUntilIdle();
    EXPECT_EQ(FocusedId(), reading[i]) << "Shift+Tab to " << reading[i];
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(KeyboardTest, ArrowKeysStepThroughAListThatKeepsTheFocus) {
  OpenWindow();
  SetFocus(GetDlgItem(window_, IDC_SOURCE_PRESSURE_UNIT));
  PressKey(VK_DOWN);
  EXPECT_EQ(Selection(IDC_SOURCE_PRESSURE_UNIT), 1);
  EXPECT_EQ(ReadText(IDC_SOURCE_PRESSURE), "14.696");
  EXPECT_EQ(FocusedId(), IDC_SOURCE_PRESSURE_UNIT);
  PressKey(VK_DOWN);
  EXPECT_EQ(Selection(IDC_SOURCE_PRESSURE_UNIT), 2);
  EXPECT_EQ(ReadText(IDC_SOURCE_PRESSURE), "0.");
  PressKey(VK_UP);
  PressKey(VK_UP);
  EXPECT_EQ(Selection(IDC_SOURCE_PRESSURE_UNIT), 0);
  EXPECT_EQ(ReadText(IDC_SOURCE_PRESSURE), "1013.25");
  EXPECT_EQ(ResultText(), "0.0");
}

TEST_F(KeyboardTest, F4AndAltDownDropTheList) {
  OpenWindow();
  for (const bool alt : {false, true}) {
    SCOPED_TRACE(alt ? "Alt+Down" : "F4");
    HWND list = GetDlgItem(window_, IDC_TARGET_MOISTURE_UNIT);
    SetFocus(list);
    if (alt) {
      PostMessageA(list, WM_SYSKEYDOWN, VK_DOWN, 1 | (1 << 29));
      PumpUntilIdle();
    } else {
      PressKey(VK_F4);
    }
    EXPECT_TRUE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
    PumpUntilIdle();
  }
}

TEST_F(KeyboardTest, EnterAndEscapeLeaveTheWindowAsItIs) {
  OpenWindow({{"SrcDew", "-40,0"}});
  for (const int control : {IDC_SOURCE_VALUE, IDC_SOURCE_PRESSURE_UNIT, IDC_PREFERENCES}) {
    SetFocus(GetDlgItem(window_, control));
    for (const UINT key : {VK_RETURN, VK_ESCAPE}) {
      PressKey(key);
      ASSERT_TRUE(IsWindow(window_)) << "control " << control << ", key " << key;
      EXPECT_TRUE(IsWindowVisible(window_));
    }
  }
  EXPECT_TRUE(messages_.empty()) << messages_[0];
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "-40.");
  EXPECT_EQ(ResultText(), "-40.0");
}

// A unit chosen while the value box keeps the focus (as an accessibility tool chooses it): the
// re-expressed value is written before the focus leaves, so the check sees the new text.
TEST_F(KeyboardTest, UnitChosenWhileTheValueHasTheFocusKeepsTheReexpressedValue) {
  OpenWindow({{"SrcDew", "-20,0"}});
  ASSERT_EQ(FocusedId(), IDC_SOURCE_VALUE);
  ChooseComboItem(IDC_SOURCE_MOISTURE_UNIT, Code(MoistureUnitCode::PpmV));
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "1018.3");
  EXPECT_TRUE(messages_.empty()) << messages_[0];
  EXPECT_EQ(ResultText(), "-20.0");
}

// ---------------------------------------------------------------------------------------------
// Choosing units from the keyboard.

const std::vector<std::pair<const char*, const char*>> kListProfile = {
    {"SrcDew", "100,4"}, {"SrcPrs", "14.7,1"}, {"TrgDew", "0,4"}, {"TrgPrs", "1013.25,0"}};

struct ListCase {
  int comboId;
  int textId;  // the box a choice in the list changes
  int from;    // the unit the profile loads
  int to;
};

const ListCase kDroppedCases[] = {
    {IDC_SOURCE_MOISTURE_UNIT, IDC_SOURCE_VALUE, 4, 8},
    {IDC_TARGET_MOISTURE_UNIT, IDC_RESULT, 4, 8},
    {IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, 1, 3},
    {IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, 0, 4},
};

// Moving through a dropped list changes nothing and opens no dialog, though it passes units
// that have one; Enter chooses once, as choosing the unit directly does; Escape chooses nothing.
TEST_F(KeyboardTest, DroppedListChangesNothingUntilEnter) {
  SetCursorPos(0, 0);  // a dropped list under the pointer would select the item there
  for (const ListCase& c : kDroppedCases) {
    SCOPED_TRACE(c.comboId);
    const auto shown = [&] { return ReadText(c.textId) + " / " + ResultText(); };
    calculator = CalculatorState{};
    OpenWindow(kListProfile);
    ChooseComboItem(c.comboId, c.to);
    const std::string direct = shown();
    CloseWindow();
    calculator = CalculatorState{};
    OpenWindow(kListProfile);
    const std::string before = shown();
    SetFocus(GetDlgItem(window_, c.comboId));
    PressKey(VK_F4);
    for (int unit = c.from; unit < c.to; ++unit) PressKey(VK_DOWN);
    EXPECT_EQ(Selection(c.comboId), c.to);
    EXPECT_EQ(shown(), before);
    PressKey(VK_RETURN);
    EXPECT_EQ(shown(), direct);
    EXPECT_EQ(FocusedId(), c.comboId);
    for (const UINT key : {VK_F4, VK_UP, VK_ESCAPE}) PressKey(key);
    EXPECT_EQ(Selection(c.comboId), c.to);
    EXPECT_EQ(shown(), direct);
    EXPECT_TRUE(messages_.empty()) << messages_[0];
    CloseWindow();
  }
}

// Arrowing through a closed list chooses at each key, each time re-expressing the text typed
// before the list got the focus: the unit reached shows what choosing it directly shows, and
// arrowing back gives that text back exactly.
TEST_F(KeyboardTest, ClosedListReexpressesFromTheTypedTextAndGivesItBack) {
  const struct {
    int editId;
    int comboId;
    const char* typed;
  } cases[] = {
      {IDC_SOURCE_VALUE, IDC_SOURCE_MOISTURE_UNIT, "-40,00"},
      {IDC_SOURCE_PRESSURE, IDC_SOURCE_PRESSURE_UNIT, "1013,250"},
      {IDC_TARGET_PRESSURE, IDC_TARGET_PRESSURE_UNIT, "2,0e3"},
  };
  constexpr int kSteps = 4;
  OpenWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const auto typeIntoBox = [&] {
      SetFocus(GetDlgItem(window_, c.editId));
      SendDlgItemMessageA(window_, c.editId, EM_SETSEL, 0, -1);
      Type(c.typed);
      ASSERT_EQ(ReadText(c.editId), c.typed);
    };
    typeIntoBox();
    SetFocus(GetDlgItem(window_, c.comboId));
    for (int step = 0; step < kSteps; ++step) PressKey(VK_DOWN);
    ASSERT_EQ(Selection(c.comboId), kSteps);
    const std::string arrowed = ReadText(c.editId);
    for (int step = 0; step < kSteps; ++step) PressKey(VK_UP);
    EXPECT_EQ(Selection(c.comboId), 0);
    EXPECT_EQ(ReadText(c.editId), c.typed);
    typeIntoBox();
    ChooseComboItem(c.comboId, kSteps);
    EXPECT_EQ(arrowed, ReadText(c.editId));
    ChooseComboItem(c.comboId, 0);
  }
  EXPECT_TRUE(messages_.empty()) << messages_[0];
}

TEST_F(KeyboardTest, MinimiseAndRestoreGiveTheFocusBackToItsControl) {
  OpenWindow();
  for (const int control : {IDC_TARGET_PRESSURE, IDC_SOURCE_MOISTURE_UNIT, IDC_BANNER}) {
    SetFocus(GetDlgItem(window_, control));
    SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpUntilIdle();
    ASSERT_TRUE(IsIconic(window_));
    SendMessageA(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpUntilIdle();
    ASSERT_FALSE(IsIconic(window_));
    EXPECT_EQ(FocusedId(), control);
  }
  EXPECT_TRUE(messages_.empty()) << messages_[0];
}

TEST_F(KeyboardTest, LeavingTheValueChecksItAgainstTheUnitShown) {
  OpenWindow({{"SrcDew", "1000,4"}});  // ppmV
  ASSERT_EQ(FocusedId(), IDC_SOURCE_VALUE);
  // The unit changes behind the value's back; leaving the box checks 1000 against degC.
  SendDlgItemMessageA(window_, IDC_SOURCE_MOISTURE_UNIT, CB_SETCURSEL,
                      Code(MoistureUnitCode::DewFrostPointC), 0);
  PressKey(VK_TAB);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(IsRangeMessage(messages_[0])) << messages_[0];
  EXPECT_EQ(ReadText(IDC_SOURCE_VALUE), "enter new val");
  EXPECT_EQ(FocusedId(), IDC_SOURCE_VALUE);
}

}  // namespace
}  // namespace gui
