// Reading and writing the controls of a window or dialog: edit texts and their numbers, combo
// box selections, the focus. The main window and the dialogs both use them.
#pragma once

#include <windows.h>

#include "core/number_text.h"

namespace ruruzir {

// The first 14 characters of a control's text.
void ReadEditText(HWND window, int controlId, char text[kEditReadSize]);

// The number a control's text begins with (its first 14 characters), 0 when there is none.
double ReadEditNumber(HWND window, int controlId);

// The selection index of a combo box, -1 when nothing is selected.
int ComboSelection(HWND window, int controlId);

// Gives the keyboard focus to an edit box and selects its whole text.
void FocusAndSelectAll(HWND window, int controlId);

// Writes `value` with `digits` significant digits into a control.
void SetSignificantText(HWND window, int controlId, double value, int digits);

}  // namespace ruruzir
