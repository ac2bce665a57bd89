// The whole start-up and shut-down of the calculator, run in the test process: the notice
// before the main window is shown, the double initialisation, the system menu, and the exit
// code and untouched profile after the window is closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calculator_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

// What the main window looked like the first time it was seen visible.
struct ShownWindow {
  bool seen;
  int ticks;
  bool noticeClosedBefore;
  size_t sourceItems, targetItems, sourcePressureItems, targetPressureItems;
  std::string sourceValue, sourcePressure, result;
  std::vector<std::string> menuTail;  // the last four system-menu items, "id text"
};

ShownWindow shown;
UINT_PTR closeTimer = 0;
constexpr int kMaxTicks = 500;  // 10 s at 20 ms

// The last four system-menu items as "id text", or "separator".
std::vector<std::string> SystemMenuTail(HWND window) {
  const std::vector<MenuItem> items = ReadMenu(GetSystemMenu(window, FALSE));
  std::vector<std::string> tail;
  for (size_t i = items.size() < 4 ? 0 : items.size() - 4; i < items.size(); ++i) {
    tail.push_back((items[i].type & MFT_SEPARATOR)
                       ? std::string("separator")
                       : std::to_string(items[i].id) + " " + items[i].text);
  }
  return tail;
}

// Runs in the program's own message loops: once the main window is shown and the first paint
// has computed the result, records what it shows and closes it as the close box would.
VOID CALLBACK CloseWhenShown(HWND, UINT, UINT_PTR, DWORD) {
  HWND main = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
  if (++shown.ticks > kMaxTicks) {
    KillTimer(nullptr, closeTimer);
    ADD_FAILURE() << "the main window was never shown";
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    return;
  }
  if (!main || !IsWindowVisible(main) || !IsWindowEnabled(main)) return;
  KillTimer(nullptr, closeTimer);
  shown.seen = true;
  shown.noticeClosedBefore = !SeenDialogs().empty() && ScriptDone();
  shown.sourceItems = ComboItems(main, IDC_SOURCE_MOISTURE_UNIT).size();
  shown.targetItems = ComboItems(main, IDC_TARGET_MOISTURE_UNIT).size();
  shown.sourcePressureItems = ComboItems(main, IDC_SOURCE_PRESSURE_UNIT).size();
  shown.targetPressureItems = ComboItems(main, IDC_TARGET_PRESSURE_UNIT).size();
  shown.sourceValue = WindowText(main, IDC_SOURCE_VALUE);
  shown.sourcePressure = WindowText(main, IDC_SOURCE_PRESSURE);
  shown.result = WindowText(main, IDC_RESULT);
  shown.menuTail = SystemMenuTail(main);
  PostMessageA(main, WM_CLOSE, 0, 0);
}

// The notice: a dialog without caption bar, over the hidden main window.
void CheckNotice(HWND notice) {
  EXPECT_EQ(GetWindowLongA(notice, GWL_STYLE) & WS_CAPTION, 0) << "the notice has no caption bar";
  EXPECT_NE(GetDlgItem(notice, IDOK), nullptr);
  EXPECT_EQ(GetWindow(notice, GW_OWNER), FindWindowA(MAIN_WINDOW_CLASS, nullptr));
  // By now the WM_INITDIALOG posted at creation has been handled by the notice's loop: the
  // window has initialised twice, and each combo box still holds its catalogue once.
  HWND main = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
  EXPECT_EQ(ComboItems(main, IDC_SOURCE_MOISTURE_UNIT).size(), 11u);
  EXPECT_EQ(ComboItems(main, IDC_TARGET_MOISTURE_UNIT).size(), 11u);
  EXPECT_EQ(ComboItems(main, IDC_SOURCE_PRESSURE_UNIT).size(), 5u);
  EXPECT_EQ(ComboItems(main, IDC_TARGET_PRESSURE_UNIT).size(), 5u);
}

class StartupTest : public GuiTest {
 protected:
  int Run() {
    shown = ShownWindow{};
    closeTimer = SetTimer(nullptr, 0, 20, CloseWhenShown);
    const int code = RunCalculator(GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    KillTimer(nullptr, closeTimer);
    return code;
  }
};

TEST_F(StartupTest, NoticeComesFirstThenTheWindowRunsUntilClosed) {
  WriteKey("SrcDew", "-40,0");
  WriteKey("SWVPcal", "1020,1022");
  const std::vector<std::string> before = ReadSection();

  Script({Dialog(""), ExpectMainHidden(), Call(CheckNotice),
          // Escape does not close the notice; OK does.
          Command(IDCANCEL), ExpectOpen(), Command(IDOK), ExpectClosed()});
  const int exitCode = Run();

  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
  ASSERT_TRUE(shown.seen);
  EXPECT_TRUE(shown.noticeClosedBefore) << "the window was shown before the notice closed";
  EXPECT_EQ(SeenDialogs().size(), 1u);
  EXPECT_EQ(shown.sourceItems, 11u);
  EXPECT_EQ(shown.targetItems, 11u);
  EXPECT_EQ(shown.sourcePressureItems, 5u);
  EXPECT_EQ(shown.targetPressureItems, 5u);
  EXPECT_EQ(shown.sourceValue, "-40.");
  EXPECT_EQ(shown.sourcePressure, "1013.25");
  EXPECT_EQ(shown.result, "-40.0") << "the first paint computes the result";
  const std::vector<std::string> menuTail = {"separator", "102 Preferences...", "101 About...",
                                             "103 4/20mA Conversions..."};
  EXPECT_EQ(shown.menuTail, menuTail);
  EXPECT_EQ(calculator.svpFormulation, 1020);

  // The window is gone, its quit message used, and nothing was saved.
  EXPECT_EQ(FindWindowA(MAIN_WINDOW_CLASS, nullptr), nullptr);
  EXPECT_FALSE(DrainQueue());
  EXPECT_EQ(ReadSection(), before);
}

TEST_F(StartupTest, FirstStartWithoutSettingsLeavesTheSectionAbsent) {
  Script({Dialog(""), ExpectMainHidden(), Command(IDOK)});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
  EXPECT_EQ(shown.sourceValue, "0.");
  EXPECT_EQ(shown.result, "0.0");
  EXPECT_TRUE(ReadSection().empty());
  for (int k = 0; k < kKeyCount; ++k) EXPECT_EQ(ReadKey(kKeys[k]), kAbsent) << kKeys[k];
}

}  // namespace
}  // namespace gui
