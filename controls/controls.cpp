// Reading and writing the controls of a window or dialog.
#include "controls/controls.h"

#include "core/significant_format.h"

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

void SetSignificantText(HWND window, int controlId, double value, int digits) {
  char text[100];
  FormatSignificant(value, digits, text, sizeof text);
  SetDlgItemTextA(window, controlId, text);
}

}  // namespace ruruzir
