// Test harness for the window tests: the real main window and dialogs are created in the test
// process and driven with window messages on the test thread, as a user's input would drive
// them. Modal dialogs and message boxes are answered by a script: a WH_CBT hook notices each
// dialog as it is activated, and the script's steps for it run from a thread timer inside the
// dialog's own modal loop.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gui {

// ---------------------------------------------------------------------------------------------
// Profile section of the calculator.

constexpr char kSection[] = "ZazUdur";
constexpr int kKeyCount = 10;
extern const char* const kKeys[kKeyCount];  // in the order the program writes them

// Marks a key that is not in the section at all.
extern const char kAbsent[];

// Removes the whole section.
void ClearProfile();
void WriteKey(const char* key, const char* value);
// The key's value text, or kAbsent.
std::string ReadKey(const char* key);
// The section as the profile holds it, one "key=value" per line, in file order.
std::vector<std::string> ReadSection();

// ---------------------------------------------------------------------------------------------
// Dialog script.

enum class StepKind {
  ExpectDialog,      // the next dialog to appear has caption `text`
  ExpectMessageBox,  // the next dialog is a message box saying `text`
  SetText,           // WM_SETTEXT `text` into control `id` of the dialog
  Click,             // BM_CLICK on control `id` (a user's mouse click)
  Command,           // WM_COMMAND with control id `id` sent to the dialog (Enter, Escape: 1, 2)
  ExpectText,        // control `id` of the dialog reads `text`
  ExpectMainText,    // control `id` of the main window reads `text`
  ExpectChecked,     // button `id` of the dialog is checked (value 1) or not (value 0)
  ExpectEnabled,     // control `id` of the dialog is enabled (value 1) or not (value 0)
  ExpectOpen,        // the dialog is still shown (the last command did not end it)
  ExpectClosed,      // the dialog has ended
  ExpectMainHidden,  // the window of class "mCalc" exists and is not visible
  CloseBox,          // the close box (WM_SYSCOMMAND SC_CLOSE), then what it posts is handled
  Call,              // runs `function` with the dialog
};

struct Step {
  StepKind kind;
  int id;
  std::string text;
  int value;
  void (*function)(HWND dialog);
};

Step Dialog(const std::string& caption);
Step MessageBoxSaying(const std::string& text);
Step SetText(int id, const std::string& text);
Step Click(int id);
Step Command(int id);
Step ExpectText(int id, const std::string& text);
Step ExpectMainText(int id, const std::string& text);
Step ExpectChecked(int id, bool checked);
Step ExpectEnabled(int id, bool enabled);
Step ExpectOpen();
Step ExpectClosed();
Step ExpectMainHidden();
Step CloseBox();
Step Call(void (*function)(HWND dialog));

// Replaces the queued steps. Each dialog that appears takes the steps from its Expect step up
// to the next Expect step; a dialog that no step expects, or that is still open when its steps
// are done, fails the test and is ended.
void Script(const std::vector<Step>& steps);
// True when every queued step has been used.
bool ScriptDone();
// Describes the steps still queued.
std::string PendingSteps();

struct SeenDialog {
  std::string caption;
  std::string message;  // the text of its static control 0xFFFF: a message box's text
};
// Every dialog seen since the last Script() call.
const std::vector<SeenDialog>& SeenDialogs();

// Answers a dialog that the script does not expect at that moment (no Expect step is next, or
// the next one names another dialog): returns true when it has answered the dialog, which then
// counts as handled and leaves the script where it was; false lets it fail the test as before.
// For input whose message boxes cannot be told in advance, such as the range message raised
// by a focus change. Reset to none before and after each test.
using UnscriptedDialogHandler = bool (*)(HWND dialog, const SeenDialog& seen);
void SetUnscriptedDialogHandler(UnscriptedDialogHandler handler);

// Presses a dialog's button, as the Command step does.
void PressDialogButton(HWND dialog, int id);

// The visible dialogs (class "#32770") of the test thread: none is left when every modal
// dialog and message box has been answered.
std::vector<HWND> OpenDialogs();

// True when `window` handles a message sent from another thread within `milliseconds`; the
// test thread keeps dispatching its messages meanwhile, as the program's message loop would.
bool AnswersWithin(HWND window, DWORD milliseconds);

// Starts the running test's time limit afresh: for long tests that make progress step by step.
void RestartTestTimeLimit();

// ---------------------------------------------------------------------------------------------
// What the calculator may show.

// The range a source value is held to in moisture unit `unit`, with the message that refuses
// a value outside it; nullptr for units that accept every number.
struct SourceRangeRule {
  int unit;
  double low;
  double high;
  const char* message;
};
const SourceRangeRule* SourceRangeOf(int unit);
// True when a source value read as `value` is refused in unit `unit`.
bool RefusedInUnit(int unit, double value);
// True when `text` is the message of one of the ranges.
bool IsRangeMessage(const std::string& text);

// The number an edit box's text stands for, read as the calculator reads it: its first 14
// characters, 0 when they do not begin with a number.
double FieldNumber(const std::string& text);

// True when the whole of `text` is one number the calculator can read (sign, digits, point,
// exponent), without anything after it.
bool IsWholeNumber(const std::string& text);

// Succeeds when `text` is "out of range" or a reading of moisture unit `unit` as the result box
// writes it: "%.1f" for the dew-point units 0 to 3, "%.2f" for %RH (9), and for the others the
// decimals that the value's magnitude calls for (one above 100, two above 10, ... eight at
// 0.0001 and below), every run of trailing zeros shrunk to a single zero.
::testing::AssertionResult IsResultText(int unit, const std::string& text);
// The same without "out of range": a reading the source value box is given on a unit change.
::testing::AssertionResult IsReadingText(int unit, const std::string& text);

// Succeeds when every key of the section is present, short enough to be read back whole (49
// characters), and parses completely with its read format ("%f,%d", "%d,%f,%d,%f" or "%d,%d"),
// with numbers finite in single precision and unit indices inside their catalogues. A field that
// holds one of the window's own words ("enter new val", "N/A") is written as shown and is accepted
// in place of the number when `allowFieldWords` is set.
::testing::AssertionResult ProfileIsClean(bool allowFieldWords);

// ---------------------------------------------------------------------------------------------
// Main window.

// Dispatches every queued message, painting included, until the queue is empty.
void PumpUntilIdle();

// Drains the queue; true when a WM_QUIT was among the messages.
bool DrainQueue();

// The text of control `id` of `window`.
std::string WindowText(HWND window, int id);
// The items of a combo box, read with CB_GETLBTEXT.
std::vector<std::string> ComboItems(HWND window, int id);
int ComboSelection(HWND window, int id);

// Shows a text with its bytes, for failure messages.
std::string Bytes(const std::string& text);

// Base of every window test: resets the calculator, clears the profile section before each
// test, and destroys the main window after it.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the keys, then creates and shows the main window and lets it initialise (twice, as
  // it does at start-up).
  void OpenWindow(const std::vector<std::pair<const char*, const char*>>& keys = {});
  void CloseWindow();

  void SetEditText(int id, const std::string& text);
  void TypeText(int id, const std::string& text);
  void ChooseComboItem(int id, int index);
  void SendCommand(int id, int notification);
  std::string ReadText(int id) { return WindowText(window_, id); }
  // Forces a paint, which recomputes the result, and reads the result box.
  std::string ResultText();
  int Selection(int id) { return ComboSelection(window_, id); }
  std::string SelectedItem(int id);
  // Opens the Preferences dialog with its button, presses "Save All Settings" and cancels.
  void SaveThroughPreferences();

  HWND window_ = nullptr;
};

extern const char kPreferencesCaption[];

// One item of a menu, as read back.
struct MenuItem {
  UINT type;
  UINT id;
  std::string text;
};

std::vector<MenuItem> ReadMenu(HMENU menu);

// The ten key texts a save writes after a first start without saved settings.
extern const std::vector<std::pair<const char*, const char*>> kFirstStartProfile;

}  // namespace gui
