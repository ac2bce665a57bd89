// The ambient (dry-bulb) temperature dialog for percent relative humidity.
#include <cstdio>

#include "app/calculator_state.h"
#include "app/number_text.h"
#include "app/ui_platform.h"
#include "dialogs/dialog_procedures.h"
#include "dialogs/temperature_entry.h"
#include "resources/resource_ids.h"

namespace {

void OnInitialise(HWND dialog) {
  WorkingContext& working = calculator.working;
  CheckRadioButton(dialog, IDC_AMBIENT_CELSIUS, IDC_AMBIENT_FAHRENHEIT, working.ambientUnit);
  // While the dialog is open a degF user sees, and the field holds, degF.
  if (working.ambientUnit == IDC_AMBIENT_FAHRENHEIT) {
    working.ambientTemperature = ToSingle(FahrenheitFromCelsius(working.ambientTemperature));
  }
  SetSignificantText(dialog, IDC_AMBIENT_TEMPERATURE, working.ambientTemperature, 7);
}

// The typed number counts in the unit selected now; with no unit selected nothing is read.
void OnOk(HWND dialog) {
  WorkingContext& working = calculator.working;
  char* description = calculator.ambientDescription;
  if (IsDlgButtonChecked(dialog, IDC_AMBIENT_CELSIUS) == BST_CHECKED) {
    const double celsius = ReadEditNumber(dialog, IDC_AMBIENT_TEMPERATURE);
    working.ambientTemperature = ToSingle(celsius);
    std::snprintf(description, kDescriptionSize,
                  " at dry bulb temperature of %5.1f\xB0"
                  "C",
                  celsius);
  } else if (IsDlgButtonChecked(dialog, IDC_AMBIENT_FAHRENHEIT) == BST_CHECKED) {
    const double celsius = CelsiusFromFahrenheit(ReadEditNumber(dialog, IDC_AMBIENT_TEMPERATURE));
    working.ambientTemperature = ToSingle(celsius);
    std::snprintf(description, kDescriptionSize,
                  " at dry bulb temperature of%5.1f\xB0"
                  "F",
                  FahrenheitFromCelsius(celsius));
  }
  if (IsAcceptedTemperature(working.ambientTemperature)) EndDialog(dialog, 0);
}

}  // namespace

INT_PTR CALLBACK AmbientTemperatureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitialise(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_AMBIENT_CELSIUS:
        case IDC_AMBIENT_FAHRENHEIT:
          calculator.working.ambientUnit = LOWORD(wParam);
          return TRUE;
        case IDOK:
          OnOk(dialog);
          return TRUE;
        default:
          return FALSE;  // Cancel and Escape do nothing
      }
    default:
      return FALSE;
  }
}
