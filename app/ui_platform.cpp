// Helpers over the Windows user-interface calls shared by the main window and the dialogs.
#include "app/ui_platform.h"

#include "app/calculator_state.h"
#include "app/significant_format.h"

void ReadEditText(HWND window, int controlId, char text[kEditReadSize]) {
  text[0] = '\0';
  GetDlgItemTextA(window, controlId, text, kEditReadSize);
  text[kEditReadSize - 1] = '\0';
}

double ReadEditNumber(HWND window, int controlId) {
  char text[kEditReadSize];
  ReadEditText(window, controlId, text);
  return ParseNumber(text);
}

int ComboSelection(HWND window, int controlId) {
  return static_cast<int>(SendDlgItemMessageA(window, controlId, CB_GETCURSEL, 0, 0));
}

void FocusAndSelectAll(HWND window, int controlId) {
  SetFocus(GetDlgItem(window, controlId));
  SendDlgItemMessageA(window, controlId, EM_SETSEL, 0, -1);
}

void RunModalDialog(int templateId, DLGPROC procedure) {
  DialogBoxParamA(static_cast<HINSTANCE>(calculator.instance), MAKEINTRESOURCEA(templateId),
                  static_cast<HWND>(calculator.mainWindow), procedure, 0);
}

void SetSignificantText(HWND window, int controlId, double value, int digits) {
  char text[100];
  FormatSignificant(value, digits, text, sizeof text);
  SetDlgItemTextA(window, controlId, text);
}
