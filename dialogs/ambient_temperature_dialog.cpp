// The ambient (dry-bulb) temperature dialog for percent relative humidity.
#include <cstdio>

#include "core/number_text.h"
#include "controls/controls.h"
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "core/temperature_entry.h"
#include "physics/rounding.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

void OnInitialise(HWND dialog, AmbientChoice& working) {
  CheckRadioButton(dialog, IDC_AMBIENT_CELSIUS, IDC_AMBIENT_FAHRENHEIT, working.unit);
  // While the dialog is open a degF user sees, and the field holds, degF.
  if (working.unit == IDC_AMBIENT_FAHRENHEIT) {
    working.temperature = ToSingle(FahrenheitFromCelsius(working.temperature));
  }
  SetSignificantText(dialog, IDC_AMBIENT_TEMPERATURE, working.temperature, 7);
}

// The typed number counts in the unit selected now; with no unit selected nothing is read.
void OnOk(HWND dialog, AmbientChoice& working) {
  char* description = working.description;
  if (IsDlgButtonChecked(dialog, IDC_AMBIENT_CELSIUS) == BST_CHECKED) {
    const double celsius = ReadEditNumber(dialog, IDC_AMBIENT_TEMPERATURE);
    working.temperature = ToSingle(celsius);
    std::snprintf(description, kDescriptionSize,
                  " at dry bulb temperature of %5.1f\xB0"
                  "C",
                  celsius);
  } else if (IsDlgButtonChecked(dialog, IDC_AMBIENT_FAHRENHEIT) == BST_CHECKED) {
    const double celsius = CelsiusFromFahrenheit(ReadEditNumber(dialog, IDC_AMBIENT_TEMPERATURE));
    working.temperature = ToSingle(celsius);
    std::snprintf(description, kDescriptionSize,
                  " at dry bulb temperature of%5.1f\xB0"
                  "F",
                  FahrenheitFromCelsius(celsius));
  }
  if (IsAcceptedTemperature(working.temperature)) EndDialog(dialog, 0);
}

INT_PTR CALLBACK AmbientTemperatureDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  KeepDialogData(dialog, message, lParam);
  AmbientChoice* ambient = DialogData<AmbientChoice>(dialog);
  if (!ambient) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      OnInitialise(dialog, *ambient);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_AMBIENT_CELSIUS:
        case IDC_AMBIENT_FAHRENHEIT:
          ambient->unit = LOWORD(wParam);
          return TRUE;
        case IDOK:
          OnOk(dialog, *ambient);
          return TRUE;
        default:
          return FALSE;  // Cancel and Escape do nothing
      }
    default:
      return FALSE;
  }
}

}  // namespace

void ChooseAmbientTemperature(HWND owner, AmbientChoice& ambient) {
  RunDialog(owner, IDD_AMBIENT_TEMPERATURE, AmbientTemperatureDialogProc, &ambient);
}

}  // namespace ruruzir
