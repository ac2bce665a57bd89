// The window tests' harness and their main: profile control, the dialog script run from a CBT
// hook and a thread timer, message pumping, and a watchdog that ends a hanging run.
#include "tests/gui/gui_harness.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/calculator_state.h"
#include "app/main_window.h"
#include "core/number_text.h"
#include "app/settings_profile.h"
#include "physics/rounding.h"
#include "resources/resource_ids.h"

using namespace ruruzir;

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
  char settingsFile[MAX_PATH];
  if (SettingsFileLocation(settingsFile)) DeleteFileA(settingsFile);
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

}  // namespace

void RestartTestTimeLimit() {
  if (deadline != 0) deadline = GetTickCount64() + kTestTimeLimitMs;
}

namespace {

// ---------------------------------------------------------------------------------------------
// Dialog script.

std::vector<Step> steps;
size_t nextStep = 0;
std::vector<SeenDialog> seen;
std::vector<HWND> pendingDialogs;  // activated, not yet handled
std::vector<HWND> handledDialogs;  // handled; forgotten when destroyed
UINT_PTR stepTimer = 0;
HHOOK cbtHook = nullptr;
UnscriptedDialogHandler unscriptedHandler = nullptr;

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
  return calculator.mainWindow;
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

// Lets the unscripted-dialog handler answer a dialog the script does not expect now.
bool AnsweredUnscripted(HWND dialog, const SeenDialog& record, const std::string& shown) {
  if (!unscriptedHandler || !unscriptedHandler(dialog, record)) return false;
  if (IsWindow(dialog) && IsWindowVisible(dialog)) {
    ADD_FAILURE() << shown << " is still open after its handler; it is ended";
    ForceEnd(dialog);
  }
  return true;
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
    if (AnsweredUnscripted(dialog, record, shown)) return;
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
  if (!matches && AnsweredUnscripted(dialog, record, shown)) return;
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
  for (size_t i = 0; i < pendingDialogs.size();) {
    if (IsWindow(pendingDialogs[i])) {
      ++i;
    } else {
      pendingDialogs.erase(pendingDialogs.begin() + static_cast<long>(i));
    }
  }
  // A dialog whose template is not marked visible is activated before its modal loop shows
  // it: its steps wait until it is shown. A dialog activated while an earlier one is still
  // being created (a message box raised by a focus change during its creation) goes first:
  // the earlier one is shown only after it has been answered.
  size_t ready = pendingDialogs.size();
  for (size_t i = 0; i < pendingDialogs.size(); ++i) {
    if (IsWindowVisible(pendingDialogs[i])) {
      ready = i;
      break;
    }
  }
  if (ready == pendingDialogs.size() && !pendingDialogs.empty() && ++waitTicks < kMaxWaitTicks) {
    return;
  }
  waitTicks = 0;
  KillTimer(nullptr, stepTimer);
  stepTimer = 0;
  if (ready == pendingDialogs.size()) {
    while (!pendingDialogs.empty()) {
      HWND dialog = pendingDialogs.front();
      pendingDialogs.erase(pendingDialogs.begin());
      ADD_FAILURE() << "dialog \"" << Bytes(CaptionOf(dialog)) << "\" was never shown; it is ended";
      ForceEnd(dialog);
    }
    return;
  }
  HWND dialog = pendingDialogs[ready];
  pendingDialogs.erase(pendingDialogs.begin() + static_cast<long>(ready));
  HandleDialog(dialog);
  // The others, if any, at the next tick.
  if (!pendingDialogs.empty() && !stepTimer) stepTimer = SetTimer(nullptr, 0, 10, StepTimerProc);
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

void SetUnscriptedDialogHandler(UnscriptedDialogHandler handler) {
  unscriptedHandler = handler;
}

void PressDialogButton(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && ClassOf(window) == "#32770") {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

// A second thread that sends WM_NULL on request and reports whether it was answered in time.
struct NullSender {
  HANDLE thread = nullptr;
  HANDLE request = nullptr;
  HANDLE done = nullptr;
  HWND window = nullptr;
  DWORD milliseconds = 0;
  bool answered = false;
} nullSender;

DWORD WINAPI SendNullMessages(LPVOID) {
  for (;;) {
    WaitForSingleObject(nullSender.request, INFINITE);
    DWORD_PTR result = 0;
    nullSender.answered = SendMessageTimeoutA(nullSender.window, WM_NULL, 0, 0, SMTO_NORMAL,
                                              nullSender.milliseconds, &result) != 0;
    SetEvent(nullSender.done);
  }
}

}  // namespace

std::vector<HWND> OpenDialogs() {
  std::vector<HWND> dialogs;
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
  return dialogs;
}

bool AnswersWithin(HWND window, DWORD milliseconds) {
  if (!nullSender.thread) {
    nullSender.request = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    nullSender.done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    nullSender.thread = CreateThread(nullptr, 0, SendNullMessages, nullptr, 0, nullptr);
    if (!nullSender.request || !nullSender.done || !nullSender.thread) return false;
  }
  nullSender.window = window;
  nullSender.milliseconds = milliseconds;
  nullSender.answered = false;
  SetEvent(nullSender.request);
  for (;;) {
    const DWORD wait =
        MsgWaitForMultipleObjects(1, &nullSender.done, FALSE, milliseconds + 5000, QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) return nullSender.answered;
    if (wait != WAIT_OBJECT_0 + 1) return false;  // the sender itself hangs
    MSG queued;
    while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE)) {
      if (queued.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(queued.wParam));
        break;
      }
      TranslateMessage(&queued);
      DispatchMessageA(&queued);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// What the calculator may show.

namespace {

// The bounds are single-precision numbers except 123.4, which is a double.
const SourceRangeRule kSourceRangeRules[] = {
    {0, -140.0f, 50.0f,
     "stay between -140\xB0"
     "C and +50\xB0"
     "C"},
    {2, -220.0f, 122.0f,
     "stay between -220\xB0"
     "F and +122\xB0"
     "F"},
    {4, 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    {5, 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    {6, 0.0f, 5812.0f, "stay between 0 and 5812 lbs/mm'\xB3"},
    {7, 0.0f, 93.0f, "stay between 0 and 93 g/m\xB3"},
    {8, 0.0f, 123.4, "stay between 0 and 123.4 mb."},
    {10, 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
};

const char kOutOfRange[] = "out of range";

// The decimals of a reading of `value` in a unit without a fixed format.
int MagnitudeDecimals(double value) {
  static const double kAbove[] = {100.0, 10.0, 1.0, 0.1, 0.01, 0.001, 0.0001};
  for (int i = 0; i < 7; ++i) {
    if (value > kAbove[i]) return i + 1;
  }
  return 8;
}

// "%.Nf" of the value, every run of trailing zeros shrunk to one, the first three characters
// always kept.
std::string TrimmedFixed(double value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string result = text;
  while (result.size() > 3 && result.back() == '0' && result[result.size() - 2] == '0') {
    result.pop_back();
  }
  return result;
}

}  // namespace

const SourceRangeRule* SourceRangeOf(int unit) {
  for (const SourceRangeRule& rule : kSourceRangeRules) {
    if (rule.unit == unit) return &rule;
  }
  return nullptr;
}

bool RefusedInUnit(int unit, double value) {
  const SourceRangeRule* rule = SourceRangeOf(unit);
  return rule && !(value >= rule->low && value <= rule->high);
}

bool IsRangeMessage(const std::string& text) {
  for (const SourceRangeRule& rule : kSourceRangeRules) {
    if (text == rule.message) return true;
  }
  return false;
}

double FieldNumber(const std::string& text) {
  return ParseNumber(text.substr(0, kEditReadSize - 1).c_str());
}

bool IsWholeNumber(const std::string& text) {
  if (text.empty() || text[0] == ' ' || text[0] == '\t') return false;
  double value;
  const char* end = ScanNumber(text.c_str(), &value);
  return end && *end == '\0';
}

::testing::AssertionResult IsReadingText(int unit, const std::string& text) {
  // Shape: an optional "-", digits, ".", digits, nothing else.
  size_t at = text.size() > 0 && text[0] == '-' ? 1 : 0;
  const size_t integerStart = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  const bool integerDigits = at > integerStart;
  const bool point = at < text.size() && text[at] == '.';
  const size_t fractionStart = ++at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (!integerDigits || !point || at == fractionStart || at != text.size()) {
    return ::testing::AssertionFailure() << "\"" << Bytes(text) << "\" is no reading";
  }
  const double shown = std::strtod(text.c_str(), nullptr);
  if (unit < 0 || unit > 10) {
    return ::testing::AssertionFailure() << "unit " << unit << " is outside the catalogue";
  }
  // The decimals the unit's format may have had for a value that rounds to the one shown.
  for (int decimals = 1; decimals <= 8; ++decimals) {
    bool possible;
    if (unit <= 3) {
      possible = decimals == 1;
    } else if (unit == 9) {
      possible = decimals == 2;
    } else {
      const double half = 0.5 * std::pow(10.0, -decimals) * (1.0 + 1e-9);
      possible = MagnitudeDecimals(shown + half) <= decimals &&
                 decimals <= MagnitudeDecimals(shown - half);
    }
    if (possible && TrimmedFixed(shown, decimals) == text) return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "\"" << Bytes(text) << "\" is not written as unit " << unit << " writes "
         << TrimmedFixed(shown, unit <= 3   ? 1
                                : unit == 9 ? 2
                                            : MagnitudeDecimals(shown));
}

::testing::AssertionResult IsResultText(int unit, const std::string& text) {
  if (text == kOutOfRange) return ::testing::AssertionSuccess();
  return IsReadingText(unit, text);
}

namespace {

// Reads `text` with a settings read format ('f' a number, 'd' an integer, ',' a comma); fails
// unless every field is there and nothing follows. Integers go to `integers` in order.
bool ParsesCompletely(const std::string& text, const char* format, std::vector<long long>* integers,
                      std::string* why) {
  const char* p = text.c_str();
  for (const char* f = format; *f; ++f) {
    if (*f == 'f') {
      double number;
      const char* end = ScanNumber(p, &number);
      if (!end) {
        *why = "no number at \"" + std::string(p) + "\"";
        return false;
      }
      if (!std::isfinite(ToSingle(number))) {
        *why = "a number that is not finite in single precision";
        return false;
      }
      p = end;
    } else if (*f == 'd') {
      char* end;
      const long long number = std::strtoll(p, &end, 10);
      if (end == p || *p == ' ' || *p == '\t') {
        *why = "no integer at \"" + std::string(p) + "\"";
        return false;
      }
      if (number < -2147483648LL || number > 2147483647LL) {
        *why = "an integer beyond 32 bits";
        return false;
      }
      integers->push_back(number);
      p = end;
    } else if (*p == *f) {
      ++p;
    } else {
      *why = std::string("\"") + *f + "\" expected at \"" + std::string(p) + "\"";
      return false;
    }
  }
  if (*p) {
    *why = "\"" + std::string(p) + "\" left over";
    return false;
  }
  return true;
}

}  // namespace

::testing::AssertionResult ProfileIsClean(bool allowFieldWords) {
  struct KeyFormat {
    const char* key;
    const char* format;
    int unitCount;  // > 0: the last integer is a unit index of a catalogue of this size
  };
  static const KeyFormat kFormats[] = {
      {"SrcDew", "f,d", 11},      {"SrcPrs", "f,d", 5},        {"TrgDew", "f,d", 11},
      {"TrgPrs", "f,d", 5},       {"MolWt", "d,f,d,f", 0},     {"AmbTemp", "d,f,d,f", 0},
      {"PrevTemp", "d,f,d,f", 0}, {"DensityMedium", "d,d", 0}, {"SWVPcal", "d,d", 0},
      {"Liq", "d,f,d,f", 0},
  };
  std::string problems;
  for (const KeyFormat& k : kFormats) {
    std::string text = ReadKey(k.key);
    if (text == kAbsent) {
      problems += std::string(" ") + k.key + " is absent;";
      continue;
    }
    // The program reads a value back as its first 49 characters: those must parse. (Only a
    // side value of about 1e11 or more makes a text longer; see SavedSideValuesAreTheState.)
    text = text.substr(0, 49);
    const bool field = k.format[0] == 'f';
    if (field && allowFieldWords) {
      for (const char* word : {"enter new val,", "N/A,"}) {
        if (text.compare(0, std::strlen(word), word) == 0)
          text = "0," + text.substr(std::strlen(word));
      }
    }
    std::vector<long long> integers;
    std::string why;
    if (!ParsesCompletely(text, k.format, &integers, &why)) {
      problems += std::string(" ") + k.key + "=\"" + Bytes(ReadKey(k.key)) + "\": " + why + ";";
      continue;
    }
    if (k.unitCount > 0 && (integers.back() < 0 || integers.back() >= k.unitCount)) {
      problems += std::string(" ") + k.key + "=\"" + Bytes(text) + "\": unit index outside 0.." +
                  std::to_string(k.unitCount - 1) + ";";
    }
  }
  if (problems.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "profile not clean:" << problems;
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
    if (RouteDialogKeys(&message)) continue;  // as the program's own message loop does
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
  SetUnscriptedDialogHandler(nullptr);
  DrainQueue();
}

void GuiTest::TearDown() {
  CloseWindow();
  EXPECT_TRUE(ScriptDone()) << "dialog steps never used: " << PendingSteps();
  Script({});
  SetUnscriptedDialogHandler(nullptr);
}

void GuiTest::OpenWindow(const std::vector<std::pair<const char*, const char*>>& keys) {
  for (const auto& key : keys) WriteKey(key.first, key.second);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterMainWindowClass(instance);  // a second registration fails harmlessly
  window_ = CreateMainWindow(instance);
  ASSERT_NE(window_, nullptr) << "the main window could not be created";
  PumpUntilIdle();  // runs the WM_INITDIALOG posted from WM_CREATE, as the notice's loop does
  ShowMainWindow(window_, SW_SHOW);
  PumpUntilIdle();
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
