// Running a dialog with its data, and finding the data again from the dialog window.
#include "dialogs/dialog_data.h"

namespace ruruzir {

void RunDialog(HWND owner, int templateId, DLGPROC procedure, void* data) {
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure,
                  reinterpret_cast<LPARAM>(data));
}

void KeepDialogData(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
}

}  // namespace ruruzir
