// The Preferences dialog: chooses the saturation formulation and the enhancement factor, which
// take effect on OK, and saves every setting on request.
#include "app/calculator_state.h"
#include "app/settings_profile.h"
#include "dialogs/dialog_procedures.h"
#include "resources/resource_ids.h"

namespace {

void OnInitialise(HWND dialog) {
  calculator.pendingSvpFormulation = static_cast<uint16_t>(calculator.svpFormulation);
  calculator.pendingEnhancementFactor = static_cast<uint16_t>(calculator.enhancementFactor);
  // A value outside its group (damaged profile) leaves every button of that group unselected.
  CheckRadioButton(dialog, IDC_HYLAND_WEXLER, IDC_MAGNUS, calculator.pendingSvpFormulation);
  CheckRadioButton(dialog, IDC_NO_ENHANCEMENT, IDC_GREENSPAN, calculator.pendingEnhancementFactor);
}

void OnOk(HWND dialog) {
  calculator.svpFormulation = calculator.pendingSvpFormulation;
  calculator.enhancementFactor = calculator.pendingEnhancementFactor;
  InvalidateRect(static_cast<HWND>(calculator.mainWindow), nullptr, FALSE);
  EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, int controlId) {
  switch (controlId) {
    case IDC_HYLAND_WEXLER:
    case IDC_GOFF_GRATCH:
    case IDC_SONNTAG:
    case IDC_MAGNUS:
      calculator.pendingSvpFormulation = static_cast<uint16_t>(controlId);
      return TRUE;
    case IDC_NO_ENHANCEMENT:
    case IDC_BOGEL:
    case IDC_GREENSPAN:
      calculator.pendingEnhancementFactor = static_cast<uint16_t>(controlId);
      return TRUE;
    case IDOK:
      OnOk(dialog);
      return TRUE;
    case IDCANCEL:  // also Escape and the close box: the pending choice is dropped
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_SAVE_SETTINGS:
      SaveSettings();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitialise(dialog);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    default:
      return FALSE;
  }
}
