// The About box and the distribution notice: both close only through OK (or Enter).
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"

#include <shellapi.h>

#include "resources/resource_ids.h"

namespace ruruzir {
namespace {

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;  // the system puts the focus on OK
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          EndDialog(dialog, 0);
          return TRUE;
        case IDC_HOME_PAGE:
          // A failure (no browser) goes unreported; the box stays open.
          ShellExecuteA(nullptr, "open", HOME_PAGE_URL, nullptr, nullptr, SW_SHOWNORMAL);
          return TRUE;
        default:
          return FALSE;  // Cancel, Escape and the close box do nothing
      }
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAbout(HWND owner) {
  RunDialog(owner, IDD_ABOUT, AboutDialogProc, nullptr);
}

void ShowNotice(HWND owner) {
  RunDialog(owner, IDD_NOTICE, AboutDialogProc, nullptr);
}

}  // namespace ruruzir
