// The density dialog: the medium whose water vapour density is meant and the prevailing
// temperature, for grams of water per cubic metre.
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

struct MediumButton {
  int id;
  const char* description;
};

constexpr MediumButton kMedia[] = {
    {IDC_MEDIUM_WATER_VAPOUR, " of pure H2O-vapor"},
    {IDC_MEDIUM_AIR, " of Air/H2O-vapor mixture"},
    {IDC_MEDIUM_NATURAL_GAS, " Natural Gas/H2O-vapor mix."},
};

// Natural gas is always at standard conditions: 60 degF, shown as 15.6 degC.
const char kStandardTemperatureCelsius[] = "15.6";
const char kStandardTemperatureFahrenheit[] = "60";

// The description of a medium; any other medium (a damaged setting) is computed as pure water
// vapour, and so described.
const char* MediumText(int mediumId) {
  for (const MediumButton& medium : kMedia) {
    if (medium.id == mediumId) return medium.description;
  }
  return kMedia[0].description;
}

const char* SelectedMediumText(HWND dialog) {
  for (const MediumButton& medium : kMedia) {
    if (IsDlgButtonChecked(dialog, medium.id) == BST_CHECKED) return medium.description;
  }
  return kMedia[0].description;
}

// The medium's text followed by exactly one temperature suffix, in the unit it was shown in.
void ComposeDescription(const char* mediumText, bool fahrenheit, double shownTemperature,
                        char* description) {
  std::snprintf(description, kDescriptionSize, "%s @ %5.1f\xB0%c", mediumText, shownTemperature,
                fahrenheit ? 'F' : 'C');
}

void EnableTemperatureControls(HWND dialog, BOOL enable) {
  EnableWindow(GetDlgItem(dialog, IDC_PREVAILING_TEMPERATURE), enable);
  EnableWindow(GetDlgItem(dialog, IDC_PREVAILING_FAHRENHEIT), enable);
  EnableWindow(GetDlgItem(dialog, IDC_PREVAILING_CELSIUS), enable);
}

void OnInitialise(HWND dialog, DensityChoice& working) {
  CheckRadioButton(dialog, IDC_PREVAILING_CELSIUS, IDC_PREVAILING_FAHRENHEIT,
                   working.prevailingUnit);
  if (working.prevailingUnit == IDC_PREVAILING_FAHRENHEIT) {
    working.prevailingTemperature = ToSingle(FahrenheitFromCelsius(working.prevailingTemperature));
  }
  SetSignificantText(dialog, IDC_PREVAILING_TEMPERATURE, working.prevailingTemperature, 7);
  CheckRadioButton(dialog, IDC_MEDIUM_WATER_VAPOUR, IDC_MEDIUM_NATURAL_GAS, working.medium);
  // Handled after initialisation like a click on the stored medium; a medium outside the
  // group (a damaged setting) is not replayed, since it could name OK or a unit button.
  if (working.medium >= IDC_MEDIUM_WATER_VAPOUR && working.medium <= IDC_MEDIUM_NATURAL_GAS) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(working.medium, 0), 0);
  }
}

void OnMedium(HWND dialog, DensityChoice& working, const MediumButton& medium) {
  std::snprintf(working.description, kDescriptionSize, "%s", medium.description);
  working.medium = static_cast<uint16_t>(medium.id);
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

void OnUnit(HWND dialog, DensityChoice& working, int unitId) {
  working.prevailingUnit = static_cast<uint16_t>(unitId);
  CheckRadioButton(dialog, IDC_PREVAILING_CELSIUS, IDC_PREVAILING_FAHRENHEIT, unitId);
}

// Every OK rebuilds the description, so it ends in exactly one temperature suffix.
void OnOk(HWND dialog, DensityChoice& working) {
  const double typed = ReadEditNumber(dialog, IDC_PREVAILING_TEMPERATURE);
  const bool fahrenheit = IsDlgButtonChecked(dialog, IDC_PREVAILING_FAHRENHEIT) == BST_CHECKED;
  double shown = typed;
  if (fahrenheit) {
    const double celsius = CelsiusFromFahrenheit(typed);
    working.prevailingTemperature = ToSingle(celsius);
    shown = FahrenheitFromCelsius(celsius);
  } else {
    working.prevailingTemperature = ToSingle(typed);
  }
  ComposeDescription(SelectedMediumText(dialog), fahrenheit, shown, working.description);
  if (IsAcceptedTemperature(working.prevailingTemperature)) EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, DensityChoice& working, int controlId) {
  for (const MediumButton& medium : kMedia) {
    if (medium.id == controlId) {
      OnMedium(dialog, working, medium);
      return TRUE;
    }
  }
  switch (controlId) {
    case IDC_PREVAILING_CELSIUS:
    case IDC_PREVAILING_FAHRENHEIT:
      OnUnit(dialog, working, controlId);
      return TRUE;
    case IDOK:
      OnOk(dialog, working);
      return TRUE;
    default:
      return FALSE;  // Cancel, Escape and the close box do nothing
  }
}

INT_PTR CALLBACK DensityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  KeepDialogData(dialog, message, lParam);
  DensityChoice* density = DialogData<DensityChoice>(dialog);
  if (!density) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      OnInitialise(dialog, *density);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, *density, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

void DescribeDensity(DensityChoice& density) {
  const bool fahrenheit = density.prevailingUnit == IDC_PREVAILING_FAHRENHEIT;
  double shown = density.prevailingTemperature;
  if (density.medium == IDC_MEDIUM_NATURAL_GAS) {
    shown = ParseNumber(fahrenheit ? kStandardTemperatureFahrenheit : kStandardTemperatureCelsius);
    if (fahrenheit) shown = FahrenheitFromCelsius(CelsiusFromFahrenheit(shown));
  } else if (fahrenheit) {
    shown = FahrenheitFromCelsius(shown);
  }
  ComposeDescription(MediumText(density.medium), fahrenheit, shown, density.description);
}

void ChooseDensity(HWND owner, DensityChoice& density) {
  RunDialog(owner, IDD_DENSITY, DensityDialogProc, &density);
}

}  // namespace ruruzir
