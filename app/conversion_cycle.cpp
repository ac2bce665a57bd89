// The conversion cycle of the main window. Every value passed between steps is held in single
// precision, as the window always has.
#include "app/conversion_cycle.h"

#include <cmath>
#include <cstring>

#include "app/conversion_steps.h"
#include "app/number_text.h"
#include "app/reading_format.h"
#include "app/ui_platform.h"
#include "app/unit_catalogues.h"
#include "dialogs/dialog_procedures.h"
#include "physics/dew_point_solver.h"
#include "physics/unit_conversion.h"
#include "resources/resource_ids.h"

const char kEnterNewValueText[] = "enter new val";
const char kNotAvailableText[] = "N/A";

namespace {

constexpr int kWorkTextSize = 100;

// A parameterised unit's dialog.
struct UnitDialog {
  int unit;
  int templateId;
  DLGPROC procedure;
};

// Visited in this order when a moisture combo's items are rebuilt.
const UnitDialog kUnitDialogs[] = {
    {PpmWGas, IDD_GAS, GasDialogProc},
    {PpmWLiquid, IDD_LIQUID, LiquidDialogProc},
    {GramsPerM3, IDD_DENSITY, DensityDialogProc},
    {RelativeHumidity, IDD_AMBIENT_TEMPERATURE, AmbientTemperatureDialogProc},
};

void ReplaceComboItem(HWND window, int comboId, int index, const char* text) {
  SendDlgItemMessageA(window, comboId, CB_DELETESTRING, index, 0);
  SendDlgItemMessageA(window, comboId, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
}

// The unit's caption followed by the description its dialog left, cut to the work text.
void BuildDescribedItem(int unit, char text[kWorkTextSize]) {
  const int captionLength = CaptionLength(unit);
  std::memcpy(text, MoistureUnits[unit].itemText, captionLength);
  text[captionLength] = '\0';
  const char* description = DescriptionForUnit(calculator, unit);
  strncat(text, description, kWorkTextSize - 1 - captionLength);
}

// Takes the keyboard focus to the main window after a list's choice, which runs the source
// value's focus-loss check, unless the list itself holds the focus: chosen from the keyboard,
// it keeps it, so that the arrow keys go on moving through it as in any dialog.
void ReleaseFocusAfterChoice(HWND window, int comboId) {
  if (GetFocus() == GetDlgItem(window, comboId)) return;
  SetFocus(window);
}

}  // namespace

float ReadPressureMbar(HWND window, int editId, int unitCode) {
  return PressureMbarFromReading(unitCode, ReadEditNumber(window, editId));
}

void ComputeResult(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  const float sourceValue = ToSingle(ReadEditNumber(window, IDC_SOURCE_VALUE));
  const float sourcePressure = ReadPressureMbar(window, IDC_SOURCE_PRESSURE,
                                                ComboSelection(window, IDC_SOURCE_PRESSURE_UNIT));
  const float targetPressure = ReadPressureMbar(window, IDC_TARGET_PRESSURE,
                                                ComboSelection(window, IDC_TARGET_PRESSURE_UNIT));
  const int targetUnit = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
  char text[kWorkTextSize];
  // The target unit is remembered only when the source side had an answer.
  if (ComposeResultText(calculator.sourceMoistureUnit, sourceValue, sourcePressure,
                        calculator.source, targetUnit, targetPressure, calculator.target, text,
                        sizeof text)) {
    calculator.targetMoistureUnit = targetUnit;
  }
  SetDlgItemTextA(window, IDC_RESULT, text);
  EndPaint(window, &paint);
}

void ValidateSourceValue(HWND window) {
  const int unit = ComboSelection(window, IDC_SOURCE_MOISTURE_UNIT);
  const double value = ReadEditNumber(window, IDC_SOURCE_VALUE);
  if (IsOutsideSourceRange(unit, value)) {
    MessageBeep(0xFFFFFFFF);
    // This write notifies us again at once; "enter new val" reads as 0, inside every range.
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, kEnterNewValueText);
    MessageBoxA(window, FindSourceRange(unit)->message, nullptr, MB_ICONINFORMATION | MB_OK);
    FocusAndSelectAll(window, IDC_SOURCE_VALUE);
  }
  InvalidateRect(window, nullptr, FALSE);
}

void SelectPressureUnit(HWND window, int comboId, int editId, int32_t* rememberedUnit) {
  const int newUnit = ComboSelection(window, comboId);
  if (newUnit != *rememberedUnit && IsPressureUnitCode(newUnit)) {
    if (IsPressureUnitCode(*rememberedUnit)) {
      const float millibar =
          ToSingle(PressureToMbar(*rememberedUnit, ReadEditNumber(window, editId)));
      const double rounded = RoundDecimal(millibar, -2);
      const float reading = ToSingle(MbarToPressure(newUnit, rounded));
      SetSignificantText(window, editId, ToSingle(RoundDecimal(reading, -3)), 7);
    }
    *rememberedUnit = newUnit;
  }
  InvalidateRect(window, nullptr, FALSE);
  ReleaseFocusAfterChoice(window, comboId);
}

void RebuildUnitItems(HWND window, int comboId, int chosenUnit, SideContext& side) {
  for (const UnitDialog& entry : kUnitDialogs) {
    if (entry.unit != chosenUnit) {
      ReplaceComboItem(window, comboId, entry.unit, MoistureUnits[entry.unit].itemText);
      continue;
    }
    FillWorking(calculator, side, entry.unit);
    RunModalDialog(entry.templateId, entry.procedure);
    TakeBackWorking(calculator, side, entry.unit);
    char text[kWorkTextSize];
    BuildDescribedItem(entry.unit, text);
    ReplaceComboItem(window, comboId, entry.unit, text);
    SendDlgItemMessageA(window, comboId, CB_SETCURSEL, entry.unit, 0);
  }
}

void SelectSourceUnit(HWND window) {
  const int newUnit = ComboSelection(window, IDC_SOURCE_MOISTURE_UNIT);
  RebuildUnitItems(window, IDC_SOURCE_MOISTURE_UNIT, newUnit, calculator.source);
  if (newUnit == calculator.sourceMoistureUnit && !IsParameterisedUnit(newUnit)) {
    ReleaseFocusAfterChoice(window, IDC_SOURCE_MOISTURE_UNIT);
    return;
  }
  ConvertSourceValue(window, newUnit);
}

void ConvertSourceValue(HWND window, int newUnit) {
  const AppliedSource& applied = calculator.appliedSource;
  const SideContext& source = calculator.source;
  const float value = ToSingle(ReadEditNumber(window, IDC_SOURCE_VALUE));
  const float pressure = ReadPressureMbar(window, IDC_SOURCE_PRESSURE,
                                          ComboSelection(window, IDC_SOURCE_PRESSURE_UNIT));
  const double ppmV =
      ToPpmV(calculator.sourceMoistureUnit, value, pressure, applied.ambientTemperature,
             applied.molecularWeight, applied.henryConstant, applied.prevailingTemperature,
             applied.densityMedium);
  if (NoSourceAnswer(ppmV)) {
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, kEnterNewValueText);
    FocusAndSelectAll(window, IDC_SOURCE_VALUE);
  } else {
    const double converted = FromPpmV(newUnit, ToSingle(ppmV), pressure, source.ambientTemperature,
                                      source.molecularWeight, source.henryConstant,
                                      source.prevailingTemperature, source.densityMedium, pressure);
    char text[kWorkTextSize];
    if (NoAnswer(converted) || !std::isfinite(ToSingle(converted))) {
      std::strcpy(text, kNotAvailableText);
    } else {
      FormatReading(newUnit, text, sizeof text, ToSingle(converted));
    }
    InvalidateRect(window, nullptr, FALSE);
    // Runs the range check at once, against the new unit that the combo box already shows.
    // The text is written before the focus moves: were the value box to lose the focus first,
    // its focus-loss check would test the old text against the new unit. A refusal has
    // already given the focus back to the value box, and there it stays.
    const HWND focusBeforeWrite = GetFocus();
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, text);
    if (GetFocus() == focusBeforeWrite) ReleaseFocusAfterChoice(window, IDC_SOURCE_MOISTURE_UNIT);
  }
  calculator.sourceMoistureUnit = newUnit;
  ApplySource(calculator);
}

void SelectTargetUnit(HWND window) {
  const int newUnit = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
  RebuildUnitItems(window, IDC_TARGET_MOISTURE_UNIT, newUnit, calculator.target);
  InvalidateRect(window, nullptr, FALSE);
  ReleaseFocusAfterChoice(window, IDC_TARGET_MOISTURE_UNIT);
}
