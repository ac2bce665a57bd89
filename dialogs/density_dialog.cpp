// The density dialog: the medium whose water vapour density is meant and the prevailing
// temperature, for grams of water per cubic metre.
#include <cstdio>

#include "app/calculator_state.h"
#include "app/number_text.h"
#include "app/ui_platform.h"
#include "dialogs/dialog_procedures.h"
#include "dialogs/temperature_entry.h"
#include "resources/resource_ids.h"

namespace {

struct DensityMedium {
  int id;
  const char* description;
};

constexpr DensityMedium kMedia[] = {
    {IDC_MEDIUM_WATER_VAPOUR, " of pure H2O-vapor"},
    {IDC_MEDIUM_AIR, " of Air/H2O-vapor mixture"},
    {IDC_MEDIUM_NATURAL_GAS, " Natural Gas/H2O-vapor mix."},
};

// Natural gas is always at standard conditions: 60 degF, shown as 15.6 degC.
const char kStandardTemperatureCelsius[] = "15.6";
const char kStandardTemperatureFahrenheit[] = "60";

// The description of the selected medium; with none selected (a damaged setting) the medium
// is computed as pure water vapour, and so described.
const char* SelectedMediumText(HWND dialog) {
  for (const DensityMedium& medium : kMedia) {
    if (IsDlgButtonChecked(dialog, medium.id) == BST_CHECKED) return medium.description;
  }
  return kMedia[0].description;
}

void EnableTemperatureControls(HWND dialog, BOOL enable) {
  EnableWindow(GetDlgItem(dialog, IDC_PREVAILING_TEMPERATURE), enable);
  EnableWindow(GetDlgItem(dialog, IDC_PREVAILING_FAHRENHEIT), enable);
  EnableWindow(GetDlgItem(dialog, IDC_PREVAILING_CELSIUS), enable);
}

void OnInitialise(HWND dialog) {
  WorkingContext& working = calculator.working;
  CheckRadioButton(dialog, IDC_PREVAILING_CELSIUS, IDC_PREVAILING_FAHRENHEIT,
                   working.prevailingUnit);
  if (working.prevailingUnit == IDC_PREVAILING_FAHRENHEIT) {
    working.prevailingTemperature = ToSingle(FahrenheitFromCelsius(working.prevailingTemperature));
  }
  SetSignificantText(dialog, IDC_PREVAILING_TEMPERATURE, working.prevailingTemperature, 7);
  CheckRadioButton(dialog, IDC_MEDIUM_WATER_VAPOUR, IDC_MEDIUM_NATURAL_GAS, working.densityMedium);
  // Handled after initialisation like a click on the stored medium; a medium outside the
  // group (a damaged setting) is not replayed, since it could name OK or a unit button.
  if (working.densityMedium >= IDC_MEDIUM_WATER_VAPOUR &&
      working.densityMedium <= IDC_MEDIUM_NATURAL_GAS) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(working.densityMedium, 0), 0);
  }
}

void OnMedium(HWND dialog, const DensityMedium& medium) {
  std::snprintf(calculator.densityDescription, kDescriptionSize, "%s", medium.description);
  calculator.working.densityMedium = static_cast<uint16_t>(medium.id);
  CheckRadioButton(dialog, IDC_MEDIUM_WATER_VAPOUR, IDC_MEDIUM_NATURAL_GAS, medium.id);
  if (medium.id != IDC_MEDIUM_NATURAL_GAS) {
    EnableTemperatureControls(dialog, TRUE);
    return;
  }
  const bool fahrenheit = IsDlgButtonChecked(dialog, IDC_PREVAILING_FAHRENHEIT) == BST_CHECKED;
  SetDlgItemTextA(dialog, IDC_PREVAILING_TEMPERATURE,
                  fahrenheit ? kStandardTemperatureFahrenheit : kStandardTemperatureCelsius);
  EnableTemperatureControls(dialog, FALSE);
}

void OnUnit(HWND dialog, int unitId) {
  calculator.working.prevailingUnit = static_cast<uint16_t>(unitId);
  CheckRadioButton(dialog, IDC_PREVAILING_CELSIUS, IDC_PREVAILING_FAHRENHEIT, unitId);
}

// Every OK rebuilds the description, so it ends in exactly one temperature suffix.
void OnOk(HWND dialog) {
  WorkingContext& working = calculator.working;
  const double typed = ReadEditNumber(dialog, IDC_PREVAILING_TEMPERATURE);
  char suffix[kDescriptionSize];
  if (IsDlgButtonChecked(dialog, IDC_PREVAILING_FAHRENHEIT) == BST_CHECKED) {
    const double celsius = CelsiusFromFahrenheit(typed);
    working.prevailingTemperature = ToSingle(celsius);
    std::snprintf(suffix, sizeof suffix,
                  " @ %5.1f\xB0"
                  "F",
                  FahrenheitFromCelsius(celsius));
  } else {
    working.prevailingTemperature = ToSingle(typed);
    std::snprintf(suffix, sizeof suffix,
                  " @ %5.1f\xB0"
                  "C",
                  typed);
  }
  std::snprintf(calculator.densityDescription, kDescriptionSize, "%s%s", SelectedMediumText(dialog),
                suffix);
  if (IsAcceptedTemperature(working.prevailingTemperature)) EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, int controlId) {
  for (const DensityMedium& medium : kMedia) {
    if (medium.id == controlId) {
      OnMedium(dialog, medium);
      return TRUE;
    }
  }
  switch (controlId) {
    case IDC_PREVAILING_CELSIUS:
    case IDC_PREVAILING_FAHRENHEIT:
      OnUnit(dialog, controlId);
      return TRUE;
    case IDOK:
      OnOk(dialog);
      return TRUE;
    default:
      return FALSE;  // Cancel, Escape and the close box do nothing
  }
}

}  // namespace

INT_PTR CALLBACK DensityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
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
