// Helpers over the Windows user-interface calls shared by the main window and the dialogs.
#include "dialogs/dialog_controls.h"

#include "core/significant_format.h"
#include "dialogs/dialogs.h"

namespace ruruzir {

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

void RunDialog(HWND owner, int templateId, DLGPROC procedure, void* data) {
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure,
                  reinterpret_cast<LPARAM>(data));
}

void KeepDialogData(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
}

void SetSignificantText(HWND window, int controlId, double value, int digits) {
  char text[100];
  FormatSignificant(value, digits, text, sizeof text);
  SetDlgItemTextA(window, controlId, text);
}

}  // namespace ruruzir
