// The conversion cycle of the main window. Every value passed between steps is held in single
// precision, as the window always has.
#include "app/conversion_cycle.h"

#include <cmath>
#include <cstring>

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

// Accepted source values by unit; units without a row accept any number. The bounds are
// single-precision numbers except 123.4, which is a double.
struct SourceRange {
  int unit;
  double low;
  double high;
  const char* message;
};

constexpr SourceRange kSourceRanges[] = {
    {DewFrostPointC, -140.0f, 50.0f,
     "stay between -140\xB0"
     "C and +50\xB0"
     "C"},
    {DewFrostPointF, -220.0f, 122.0f,
     "stay between -220\xB0"
     "F and +122\xB0"
     "F"},
    {PpmV, 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    {PpmWGas, 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    {LbsPerMmscf, 0.0f, 5812.0f, "stay between 0 and 5812 lbs/mm'\xB3"},
    {GramsPerM3, 0.0f, 93.0f, "stay between 0 and 93 g/m\xB3"},
    {VapourPressureMbar, 0.0f, 123.4, "stay between 0 and 123.4 mb."},
    {PpmWLiquid, 0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
};

const SourceRange* FindSourceRange(int unit) {
  for (const SourceRange& range : kSourceRanges) {
    if (range.unit == unit) return &range;
  }
  return nullptr;
}

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

// A conversion result that is no answer: the solvers' NO_SOLUTION, or no number at all.
bool NoAnswer(double value) {
  return value == NO_SOLUTION || std::isnan(value);
}

// A ppmV from the source side that cannot stand for any water content: none, negative (a
// vapour pressure above the total pressure, a total pressure of 0) or not finite.
bool NoSourceAnswer(double ppmV) {
  return NoAnswer(ppmV) || ppmV < 0.0 || !std::isfinite(ppmV);
}

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

}  // namespace

float ReadPressureMbar(HWND window, int editId, int unitCode) {
  if (!IsPressureUnitCode(unitCode)) return NAN;
  const float millibar = ToSingle(PressureToMbar(unitCode, ReadEditNumber(window, editId)));
  return ToSingle(RoundDecimal(millibar, -2));
}

void ComputeResult(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);

  char text[kWorkTextSize];
  std::strcpy(text, kOutOfRangeText);
  const SideContext& source = calculator.source;
  const SideContext& target = calculator.target;
  const float sourceValue = ToSingle(ReadEditNumber(window, IDC_SOURCE_VALUE));
  const float sourcePressure = ReadPressureMbar(window, IDC_SOURCE_PRESSURE,
                                                ComboSelection(window, IDC_SOURCE_PRESSURE_UNIT));
  const double ppmV =
      ToPpmV(calculator.sourceMoistureUnit, sourceValue, sourcePressure, source.ambientTemperature,
             source.molecularWeight, source.henryConstant, source.prevailingTemperature,
             source.densityMedium);
  const float heldPpmV = ToSingle(ppmV);
  if (!NoSourceAnswer(ppmV) && std::isfinite(heldPpmV)) {
    const float targetPressure = ReadPressureMbar(window, IDC_TARGET_PRESSURE,
                                                  ComboSelection(window, IDC_TARGET_PRESSURE_UNIT));
    const int targetUnit = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
    calculator.targetMoistureUnit = targetUnit;
    const double value = FromPpmV(
        targetUnit, heldPpmV, targetPressure, target.ambientTemperature, target.molecularWeight,
        target.henryConstant, target.prevailingTemperature, target.densityMedium, sourcePressure);
    if (!NoAnswer(value) && std::isfinite(value)) {
      FormatReading(targetUnit, text, sizeof text, ToSingle(value));
    }
  }
  SetDlgItemTextA(window, IDC_RESULT, text);
  EndPaint(window, &paint);
}

void ValidateSourceValue(HWND window) {
  const int unit = ComboSelection(window, IDC_SOURCE_MOISTURE_UNIT);
  const double value = ReadEditNumber(window, IDC_SOURCE_VALUE);
  const SourceRange* range = FindSourceRange(unit);
  if (range && !(value >= range->low && value <= range->high)) {
    MessageBeep(0xFFFFFFFF);
    // This write notifies us again at once; "enter new val" reads as 0, inside every range.
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, kEnterNewValueText);
    MessageBoxA(window, range->message, nullptr, MB_ICONINFORMATION | MB_OK);
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
  SetFocus(window);
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
    SetFocus(window);
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
  const float heldPpmV = ToSingle(ppmV);
  if (NoSourceAnswer(ppmV) || !std::isfinite(heldPpmV)) {
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, kEnterNewValueText);
    FocusAndSelectAll(window, IDC_SOURCE_VALUE);
  } else {
    const double converted = FromPpmV(newUnit, heldPpmV, pressure, source.ambientTemperature,
                                      source.molecularWeight, source.henryConstant,
                                      source.prevailingTemperature, source.densityMedium, pressure);
    char text[kWorkTextSize];
    if (NoAnswer(converted) || !std::isfinite(ToSingle(converted))) {
      std::strcpy(text, kNotAvailableText);
    } else {
      FormatReading(newUnit, text, sizeof text, ToSingle(converted));
    }
    SetFocus(window);
    InvalidateRect(window, nullptr, FALSE);
    // Runs the range check at once, against the new unit that the combo box already shows.
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, text);
  }
  calculator.sourceMoistureUnit = newUnit;
  ApplySource(calculator);
}

void SelectTargetUnit(HWND window) {
  const int newUnit = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
  RebuildUnitItems(window, IDC_TARGET_MOISTURE_UNIT, newUnit, calculator.target);
  InvalidateRect(window, nullptr, FALSE);
  SetFocus(window);
}
