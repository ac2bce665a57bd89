// The Preferences dialog: chooses the saturation formulation and the enhancement factor, which
// take effect on OK, and saves every setting on request.
#include "controls/controls.h"
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

void OnInitialise(HWND dialog, PreferencesChoice& preferences) {
  preferences.pendingSvpFormulation = static_cast<uint16_t>(preferences.svpFormulation);
  preferences.pendingEnhancementFactor = static_cast<uint16_t>(preferences.enhancementFactor);
  // A value outside its group (damaged profile) leaves every button of that group unselected.
  CheckRadioButton(dialog, IDC_HYLAND_WEXLER, IDC_MAGNUS, preferences.pendingSvpFormulation);
  CheckRadioButton(dialog, IDC_NO_ENHANCEMENT, IDC_GREENSPAN, preferences.pendingEnhancementFactor);
}

// The owner (the main window) is asked to repaint, which recomputes with the new options.
void OnOk(HWND dialog, PreferencesChoice& preferences) {
  preferences.svpFormulation = preferences.pendingSvpFormulation;
  preferences.enhancementFactor = preferences.pendingEnhancementFactor;
  InvalidateRect(GetWindow(dialog, GW_OWNER), nullptr, FALSE);
  EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, PreferencesChoice& preferences, int controlId) {
  switch (controlId) {
    case IDC_HYLAND_WEXLER:
    case IDC_GOFF_GRATCH:
    case IDC_SONNTAG:
    case IDC_MAGNUS:
      preferences.pendingSvpFormulation = static_cast<uint16_t>(controlId);
      return TRUE;
    case IDC_NO_ENHANCEMENT:
    case IDC_BOGEL:
    case IDC_GREENSPAN:
      preferences.pendingEnhancementFactor = static_cast<uint16_t>(controlId);
      return TRUE;
    case IDOK:
      OnOk(dialog, preferences);
      return TRUE;
    case IDCANCEL:  // also Escape and the close box: the pending choice is dropped
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_SAVE_SETTINGS:
      if (preferences.save) preferences.save(preferences);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  KeepDialogData(dialog, message, lParam);
  PreferencesChoice* preferences = DialogData<PreferencesChoice>(dialog);
  if (!preferences) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      OnInitialise(dialog, *preferences);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, *preferences, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

void EditPreferences(HWND owner, PreferencesChoice& preferences) {
  RunDialog(owner, IDD_PREFERENCES, PreferencesDialogProc, &preferences);
}

}  // namespace ruruzir
