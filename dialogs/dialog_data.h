// Every dialog procedure gets its data struct as the dialog's parameter and keeps it at
// DWLP_USER: running a dialog that way, keeping the parameter, and reading it back.
#pragma once

#include <windows.h>

namespace ruruzir {

// The data a dialog was given, read back from the dialog window (for its procedure, and for
// tests that look at an open dialog).
template <typename Data>
Data* DialogData(HWND dialog) {
  return reinterpret_cast<Data*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Runs a dialog template modally with `data` as its parameter, kept at DWLP_USER from
// WM_INITDIALOG on; the result is not used.
void RunDialog(HWND owner, int templateId, DLGPROC procedure, void* data);

// Stores the dialog parameter at WM_INITDIALOG; every procedure calls it first.
void KeepDialogData(HWND dialog, UINT message, LPARAM lParam);

}  // namespace ruruzir
