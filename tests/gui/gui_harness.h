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
