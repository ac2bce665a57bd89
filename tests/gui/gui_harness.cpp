// The window tests' harness and their main: profile control, the dialog script run from a CBT
// hook and a thread timer, message pumping, and a watchdog that ends a hanging run.
#include "tests/gui/gui_harness.h"

#include <cstdio>
#include <cstring>

#include "app/calculator_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"

namespace gui {

const char* const kKeys[kKeyCount] = {"SrcDew",  "SrcPrs",   "TrgDew",        "TrgPrs",  "MolWt",
                                      "AmbTemp", "PrevTemp", "DensityMedium", "SWVPcal", "Liq"};

const char kAbsent[] = "<absent>";

const char kPreferencesCaption[] = "Ruruzir Dewpoint Calculator Preferences";

const std::vector<std::pair<const char*, const char*>> kFirstStartProfile = {
    {"SrcDew", "0.,0"},
    {"SrcPrs", "1013.25,0"},
    {"TrgDew", "0,0"},
    {"TrgPrs", "1013.25,0"},
    {"MolWt", "1001,29.000000,1001,29.000000"},
    {"AmbTemp", "1015,20.000000,1015,20.000000"},
    {"PrevTemp", "1033,20.000000,1033,20.000000"},
    {"DensityMedium", "1030,1030"},
    {"SWVPcal", "1019,1022"},
    {"Liq", "1054,1.900000,1054,1.900000"},
};

// ---------------------------------------------------------------------------------------------
// Profile.

void ClearProfile() {
  WriteProfileStringA(kSection, nullptr, nullptr);
}

void WriteKey(const char* key, const char* value) {
  WriteProfileStringA(kSection, key, value);
}

std::string ReadKey(const char* key) {
  // A default that no value can hold tells an absent key from an empty one.
  static const char kDefault[] = "\x01\x02";
  char text[512];
  GetProfileStringA(kSection, key, kDefault, text, sizeof text);
  if (std::strcmp(text, kDefault) == 0) return kAbsent;
  return text;
}

std::vector<std::string> ReadSection() {
  static char buffer[8192];
  const DWORD length = GetProfileSectionA(kSection, buffer, sizeof buffer);
  std::vector<std::string> lines;
  for (DWORD at = 0; at < length && buffer[at];) {
    lines.emplace_back(buffer + at);
    at += static_cast<DWORD>(lines.back().size()) + 1;
  }
  return lines;
}

namespace {

// Keeps the user's own section across the run (on a real Windows machine the tests use the
// user's profile; under Wine the build tree's private prefix).
class ProfileEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    for (int k = 0; k < kKeyCount; ++k) saved_[k] = ReadKey(kKeys[k]);
  }
  void TearDown() override {
    ClearProfile();
    for (int k = 0; k < kKeyCount; ++k) {
      if (saved_[k] != kAbsent) WriteKey(kKeys[k], saved_[k].c_str());
    }
  }

 private:
  std::string saved_[kKeyCount];
};

// ---------------------------------------------------------------------------------------------
// Watchdog: a test that runs longer than this has hung in a modal loop; the run ends.

constexpr ULONGLONG kTestTimeLimitMs = 20000;
volatile ULONGLONG deadline = 0;  // 0: no test running
char runningTest[256];

DWORD WINAPI WatchdogThread(LPVOID) {
  for (;;) {
    Sleep(100);
    const ULONGLONG limit = deadline;
    if (limit != 0 && GetTickCount64() > limit) {
      std::fprintf(stderr, "\nWATCHDOG: %s did not finish within %llu s; the run is ended.\n",
                   runningTest, kTestTimeLimitMs / 1000);
      std::fflush(stderr);
      std::fflush(stdout);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
}

class WatchdogListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& info) override {
    std::snprintf(runningTest, sizeof runningTest, "%s.%s", info.test_suite_name(), info.name());
    deadline = GetTickCount64() + kTestTimeLimitMs;
  }
  void OnTestEnd(const ::testing::TestInfo&) override { deadline = 0; }
};

// ---------------------------------------------------------------------------------------------
// Dialog script.

std::vector<Step> steps;
size_t nextStep = 0;
std::vector<SeenDialog> seen;
std::vector<HWND> pendingDialogs;  // activated, not yet handled
std::vector<HWND> handledDialogs;  // handled; forgotten when destroyed
UINT_PTR stepTimer = 0;
HHOOK cbtHook = nullptr;

bool IsExpectStep(const Step& step) {
  return step.kind == StepKind::ExpectDialog || step.kind == StepKind::ExpectMessageBox;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string CaptionOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The text of a message box: its static control 0xFFFF.
std::string MessageOf(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  if (!text) return "";
  char buffer[512] = "";
  GetWindowTextA(text, buffer, sizeof buffer);
  return buffer;
}

bool Contains(const std::vector<HWND>& list, HWND window) {
  for (HWND w : list) {
    if (w == window) return true;
  }
  return false;
}

void Remove(std::vector<HWND>& list, HWND window) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == window) {
      list.erase(list.begin() + static_cast<long>(i));
      return;
    }
  }
}

std::string Describe(const Step& step) {
  static const char* const kNames[] = {
      "ExpectDialog", "ExpectMessageBox", "SetText",       "Click",         "Command",
      "ExpectText",   "ExpectMainText",   "ExpectChecked", "ExpectEnabled", "ExpectOpen",
      "ExpectClosed", "ExpectMainHidden", "CloseBox",      "Call"};
  char text[640];
  std::snprintf(text, sizeof text, "%s(id %d, \"%s\", %d)", kNames[static_cast<int>(step.kind)],
                step.id, step.text.c_str(), step.value);
  return text;
}

HWND MainWindow() {
  return static_cast<HWND>(calculator.mainWindow);
}

// Ends a dialog that the script does not (or no longer) handle.
void ForceEnd(HWND dialog) {
  if (IsWindow(dialog)) EndDialog(dialog, 0);
}

void RunStep(HWND dialog, const Step& step, size_t index) {
  const std::string where = "dialog script step " + std::to_string(index) + " " + Describe(step);
  switch (step.kind) {
    case StepKind::SetText:
      SetDlgItemTextA(dialog, step.id, step.text.c_str());
      break;
    case StepKind::Click: {
      HWND control = GetDlgItem(dialog, step.id);
      if (!control) {
        ADD_FAILURE() << where << ": no such control";
        break;
      }
      SendMessageA(control, BM_CLICK, 0, 0);
      break;
    }
    case StepKind::Command:
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, step.id)));
      break;
    case StepKind::ExpectText:
      EXPECT_EQ(Bytes(WindowText(dialog, step.id)), Bytes(step.text)) << where;
      break;
    case StepKind::ExpectMainText:
      EXPECT_EQ(Bytes(WindowText(MainWindow(), step.id)), Bytes(step.text)) << where;
      break;
    case StepKind::ExpectChecked:
      EXPECT_EQ(IsDlgButtonChecked(dialog, step.id) == BST_CHECKED, step.value != 0) << where;
      break;
    case StepKind::ExpectEnabled:
      EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, step.id)) != FALSE, step.value != 0) << where;
      break;
    case StepKind::ExpectOpen:
      EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << where;
      break;
    case StepKind::ExpectClosed:
      EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog)) << where;
      break;
    case StepKind::ExpectMainHidden: {
      HWND main = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
      EXPECT_NE(main, nullptr) << where << ": no main window yet";
      if (main) {
        EXPECT_FALSE(IsWindowVisible(main)) << where;
      }
      break;
    }
    case StepKind::CloseBox: {
      // The dialog manager answers SC_CLOSE with a posted IDCANCEL command: handle it here.
      SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      MSG message;
      for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(message.wParam));
          break;
        }
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      break;
    }
    case StepKind::Call:
      step.function(dialog);
      break;
    case StepKind::ExpectDialog:
    case StepKind::ExpectMessageBox:
      break;
  }
}

// Runs the steps of one dialog: its Expect step and the steps up to the next Expect step.
void HandleDialog(HWND dialog) {
  if (!IsWindow(dialog)) return;
  handledDialogs.push_back(dialog);
  // A message box is told by its text, a dialog by its caption: dialogs of the program have
  // static controls with the identifier 0xFFFF too.
  SeenDialog record{CaptionOf(dialog), MessageOf(dialog)};
  seen.push_back(record);
  const std::string shown =
      "dialog \"" + Bytes(record.caption) + "\" message \"" + Bytes(record.message) + "\"";

  if (nextStep >= steps.size() || !IsExpectStep(steps[nextStep])) {
    ADD_FAILURE() << "unexpected " << shown << "; it is ended";
    ForceEnd(dialog);
    return;
  }
  const Step& expect = steps[nextStep];
  bool matches;
  if (expect.kind == StepKind::ExpectMessageBox) {
    matches = record.message == expect.text;
  } else {
    matches = record.caption == expect.text;
  }
  ++nextStep;
  if (!matches) {
    ADD_FAILURE() << "expected " << Describe(expect) << " (\"" << Bytes(expect.text) << "\"), got "
                  << shown << "; it is ended";
    while (nextStep < steps.size() && !IsExpectStep(steps[nextStep])) ++nextStep;
    ForceEnd(dialog);
    return;
  }
  while (nextStep < steps.size() && !IsExpectStep(steps[nextStep])) {
    const size_t index = nextStep++;
    RunStep(dialog, steps[index], index);
  }
  if (IsWindow(dialog) && IsWindowVisible(dialog)) {
    ADD_FAILURE() << shown << " is still open after its steps; it is ended";
    ForceEnd(dialog);
  }
}

constexpr int kMaxWaitTicks = 300;  // 3 s for an activated dialog to show itself
int waitTicks = 0;

VOID CALLBACK StepTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  // A dialog whose template is not marked visible is activated before its modal loop shows
  // it: its steps wait until it is shown.
  if (!pendingDialogs.empty() && IsWindow(pendingDialogs.front()) &&
      !IsWindowVisible(pendingDialogs.front()) && ++waitTicks < kMaxWaitTicks) {
    return;
  }
  waitTicks = 0;
  KillTimer(nullptr, stepTimer);
  stepTimer = 0;
  while (!pendingDialogs.empty()) {
    HWND dialog = pendingDialogs.front();
    pendingDialogs.erase(pendingDialogs.begin());
    if (!IsWindow(dialog)) continue;
    if (!IsWindowVisible(dialog)) {
      ADD_FAILURE() << "dialog \"" << Bytes(CaptionOf(dialog)) << "\" was never shown; it is ended";
      ForceEnd(dialog);
      continue;
    }
    HandleDialog(dialog);
  }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && ClassOf(window) == "#32770" && !Contains(handledDialogs, window) &&
      !Contains(pendingDialogs, window)) {
    pendingDialogs.push_back(window);
    // The steps run from the dialog's own modal loop, after it has handled what it posted to
    // itself while initialising.
    if (!stepTimer) stepTimer = SetTimer(nullptr, 0, 10, StepTimerProc);
  } else if (code == HCBT_DESTROYWND) {
    Remove(handledDialogs, window);
    Remove(pendingDialogs, window);
  }
  return CallNextHookEx(cbtHook, code, wParam, lParam);
}

}  // namespace

Step Dialog(const std::string& caption) {
  return {StepKind::ExpectDialog, 0, caption, 0, nullptr};
}
Step MessageBoxSaying(const std::string& text) {
  return {StepKind::ExpectMessageBox, 0, text, 0, nullptr};
}
Step SetText(int id, const std::string& text) {
  return {StepKind::SetText, id, text, 0, nullptr};
}
Step Click(int id) {
  return {StepKind::Click, id, "", 0, nullptr};
}
Step Command(int id) {
  return {StepKind::Command, id, "", 0, nullptr};
}
Step ExpectText(int id, const std::string& text) {
  return {StepKind::ExpectText, id, text, 0, nullptr};
}
Step ExpectMainText(int id, const std::string& text) {
  return {StepKind::ExpectMainText, id, text, 0, nullptr};
}
Step ExpectChecked(int id, bool checked) {
  return {StepKind::ExpectChecked, id, "", checked ? 1 : 0, nullptr};
}
Step ExpectEnabled(int id, bool enabled) {
  return {StepKind::ExpectEnabled, id, "", enabled ? 1 : 0, nullptr};
}
Step ExpectOpen() {
  return {StepKind::ExpectOpen, 0, "", 0, nullptr};
}
Step ExpectClosed() {
  return {StepKind::ExpectClosed, 0, "", 0, nullptr};
}
Step ExpectMainHidden() {
  return {StepKind::ExpectMainHidden, 0, "", 0, nullptr};
}
Step CloseBox() {
  return {StepKind::CloseBox, 0, "", 0, nullptr};
}
Step Call(void (*function)(HWND dialog)) {
  return {StepKind::Call, 0, "", 0, function};
}

void Script(const std::vector<Step>& newSteps) {
  steps = newSteps;
  nextStep = 0;
  seen.clear();
}

bool ScriptDone() {
  return nextStep >= steps.size();
}

std::string PendingSteps() {
  std::string text;
  for (size_t i = nextStep; i < steps.size(); ++i) text += Describe(steps[i]) + " ";
  return text;
}

const std::vector<SeenDialog>& SeenDialogs() {
  return seen;
}

// ---------------------------------------------------------------------------------------------
// Main window.

namespace {

bool quitSeen = false;

bool PumpOnce() {
  MSG message;
  bool any = false;
  for (int i = 0; i < 10000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    any = true;
    if (message.message == WM_QUIT) {
      quitSeen = true;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return any;
}

}  // namespace

void PumpUntilIdle() {
  for (int round = 0; round < 50; ++round) {
    const bool any = PumpOnce();
    HWND main = MainWindow();
    if (main && IsWindow(main)) UpdateWindow(main);
    if (!any) break;
  }
}

bool DrainQueue() {
  quitSeen = false;
  PumpOnce();
  const bool result = quitSeen;
  quitSeen = false;
  return result;
}

std::string WindowText(HWND window, int id) {
  char text[1024] = "";
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

std::vector<std::string> ComboItems(HWND window, int id) {
  std::vector<std::string> items;
  const LRESULT count = SendDlgItemMessageA(window, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendDlgItemMessageA(window, id, CB_GETLBTEXTLEN, i, 0);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    SendDlgItemMessageA(window, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    items.push_back(text);
  }
  return items;
}

int ComboSelection(HWND window, int id) {
  return static_cast<int>(SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0));
}

std::string Bytes(const std::string& text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      shown += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      shown += escape;
    }
  }
  return shown;
}

void GuiTest::SetUp() {
  calculator = CalculatorState{};
  ClearProfile();
  Script({});
  DrainQueue();
}

void GuiTest::TearDown() {
  CloseWindow();
  EXPECT_TRUE(ScriptDone()) << "dialog steps never used: " << PendingSteps();
  Script({});
}

void GuiTest::OpenWindow(const std::vector<std::pair<const char*, const char*>>& keys) {
  for (const auto& key : keys) WriteKey(key.first, key.second);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterMainWindowClass(instance);  // a second registration fails harmlessly
  window_ = CreateMainWindow(instance);
  ASSERT_NE(window_, nullptr) << "the main window could not be created";
  ShowWindow(window_, SW_SHOW);
  PumpUntilIdle();  // runs the WM_INITDIALOG posted from WM_CREATE
}

void GuiTest::CloseWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
  DrainQueue();  // the WM_QUIT posted by WM_DESTROY must not reach the next test
}

void GuiTest::SetEditText(int id, const std::string& text) {
  SendDlgItemMessageA(window_, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PumpUntilIdle();
}

void GuiTest::TypeText(int id, const std::string& text) {
  for (char c : text) {
    SendDlgItemMessageA(window_, id, WM_CHAR, static_cast<unsigned char>(c), 1);
    PumpUntilIdle();
  }
}

void GuiTest::ChooseComboItem(int id, int index) {
  SendDlgItemMessageA(window_, id, CB_SETCURSEL, index, 0);
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
  PumpUntilIdle();
}

void GuiTest::SendCommand(int id, int notification) {
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, notification),
               reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
  PumpUntilIdle();
}

std::string GuiTest::ResultText() {
  PumpUntilIdle();
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  return ReadText(IDC_RESULT);
}

std::string GuiTest::SelectedItem(int id) {
  const int selection = Selection(id);
  const std::vector<std::string> items = ComboItems(window_, id);
  if (selection < 0 || selection >= static_cast<int>(items.size())) return "<no selection>";
  return items[static_cast<size_t>(selection)];
}

void GuiTest::SaveThroughPreferences() {
  Script({Dialog(kPreferencesCaption), Click(IDC_SAVE_SETTINGS), ExpectOpen(), Command(IDCANCEL),
          ExpectClosed()});
  SendCommand(IDC_PREFERENCES, BN_CLICKED);
  EXPECT_TRUE(ScriptDone()) << PendingSteps();
  Script({});
}

std::vector<MenuItem> ReadMenu(HMENU menu) {
  std::vector<MenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[128] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    items.push_back({info.fType, info.wID, text});
  }
  return items;
}

}  // namespace gui

namespace {

// Under Wine without a window manager, every hidden top-level window waits two seconds for a
// window manager's answer. The tests' windows are therefore left unmanaged: the setting is
// read when the first window is created, so it is written before that. Only under Wine.
void UnmanagedWindowsUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return;
  const char* name = std::strrchr(program, '\\');
  name = name ? name + 1 : program;
  const std::string keyName = std::string("Software\\Wine\\AppDefaults\\") + name + "\\X11 Driver";
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
  UnmanagedWindowsUnderWine();
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new gui::ProfileEnvironment);
  ::testing::UnitTest::GetInstance()->listeners().Append(new gui::WatchdogListener);
  CreateThread(nullptr, 0, gui::WatchdogThread, nullptr, 0, nullptr);
  gui::cbtHook = SetWindowsHookExA(WH_CBT, gui::CbtHook, nullptr, GetCurrentThreadId());
  if (!gui::cbtHook) {
    std::fprintf(stderr, "the CBT hook could not be installed\n");
    return 2;
  }
  const int result = RUN_ALL_TESTS();
  UnhookWindowsHookEx(gui::cbtHook);
  return result;
}
