// The conversion cycle of the main window. Every value passed between steps is held in single
// precision, as the window always has.
#include "app/conversion_cycle.h"

#include <cmath>
#include <cstring>

#include "app/unit_list_choice.h"
#include "core/conversion_steps.h"
#include "core/unit_catalogues.h"
#include "controls/controls.h"
#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

constexpr int kWorkTextSize = 100;

// The parameterised units, visited in this order when a moisture combo's items are rebuilt.
constexpr MoistureUnitCode kParameterisedUnits[] = {
    MoistureUnitCode::PpmWGas,
    MoistureUnitCode::PpmWLiquid,
    MoistureUnitCode::GramsPerM3,
    MoistureUnitCode::RelativeHumidity,
};

void CopyDescription(char (&to)[kDescriptionSize], const char (&from)[kDescriptionSize]) {
  std::memcpy(to, from, kDescriptionSize);
}

// Runs a unit's dialog on `choice`, a copy of the side's group with the description the
// window keeps for the unit; the description the dialog leaves is kept again, and the choice
// as the dialog left it is returned for the side to take back.
template <typename Choice>
Choice RunOnCopy(HWND window, void (*choose)(HWND, Choice&), Choice choice,
                 char (&keptDescription)[kDescriptionSize]) {
  CopyDescription(choice.description, keptDescription);
  choose(window, choice);
  CopyDescription(keptDescription, choice.description);
  return choice;
}

// Runs the dialog of a parameterised unit on the side's fields: the group the unit needs goes
// in (choices narrowed to their low 16 bits), and whatever the dialog holds when it ends comes
// back, widened with zeros, with its description.
void RunUnitDialog(HWND window, MoistureUnitCode unit, SideContext& side) {
  switch (unit) {
    case MoistureUnitCode::PpmWGas: {
      const GasChoice gas =
          RunOnCopy(window, ChooseGas, GasChoice{LowWord(side.gasChoice), side.molecularWeight, {}},
                    calculator.gasDescription);
      side.gasChoice = gas.choice;
      side.molecularWeight = gas.molecularWeight;
      break;
    }
    case MoistureUnitCode::PpmWLiquid: {
      const LiquidChoice liquid = RunOnCopy(
          window, ChooseLiquid, LiquidChoice{LowWord(side.liquidChoice), side.henryConstant, {}},
          calculator.liquidDescription);
      side.liquidChoice = liquid.choice;
      side.henryConstant = liquid.henryConstant;
      break;
    }
    case MoistureUnitCode::GramsPerM3: {
      const DensityChoice density = RunOnCopy(window, ChooseDensity,
                                              DensityChoice{LowWord(side.prevailingUnit),
                                                            side.prevailingTemperature,
                                                            LowWord(side.densityMedium),
                                                            {}},
                                              calculator.densityDescription);
      side.densityMedium = density.medium;
      side.prevailingTemperature = density.prevailingTemperature;
      side.prevailingUnit = density.prevailingUnit;
      break;
    }
    case MoistureUnitCode::RelativeHumidity: {
      const AmbientChoice ambient =
          RunOnCopy(window, ChooseAmbientTemperature,
                    AmbientChoice{LowWord(side.ambientUnit), side.ambientTemperature, {}},
                    calculator.ambientDescription);
      side.ambientTemperature = ambient.temperature;
      side.ambientUnit = ambient.unit;
      break;
    }
    default:
      break;
  }
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

// Takes the keyboard focus to the main window after a list's choice, which runs the source
// value's focus-loss check, unless the list itself holds the focus: chosen from the keyboard,
// it keeps it, so that the arrow keys go on moving through it as in any dialog.
void ReleaseFocusAfterChoice(HWND window, int comboId) {
  if (GetFocus() == GetDlgItem(window, comboId)) return;
  SetFocus(window);
}

// Reads what the boxes and lists hold and shows the result of converting it.
void UpdateResult(HWND window) {
  const ConversionReadings readings{
      calculator.sourceMoistureUnit,
      ReadEditNumber(window, IDC_SOURCE_VALUE),
      UnitInForce(window, IDC_SOURCE_PRESSURE_UNIT),
      ReadEditNumber(window, IDC_SOURCE_PRESSURE),
      UnitInForce(window, IDC_TARGET_MOISTURE_UNIT),
      UnitInForce(window, IDC_TARGET_PRESSURE_UNIT),
      ReadEditNumber(window, IDC_TARGET_PRESSURE),
  };
  char text[kWorkTextSize];
  // The target unit is remembered only when the source side had an answer.
  if (ConvertReadings(readings, ParametersOf(calculator.source), ParametersOf(calculator.target),
                      CalculatorModel(), text, sizeof text) != ConversionOutcome::NoSourceAnswer) {
    calculator.targetMoistureUnit = readings.targetUnit;
  }
  SetDlgItemTextA(window, IDC_RESULT, text);
}

}  // namespace

// Every paint redraws the whole window around a freshly computed result.
void ComputeResult(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  UpdateResult(window);
  EndPaint(window, &paint);
}

void ValidateSourceValue(HWND window) {
  const int unit = UnitInForce(window, IDC_SOURCE_MOISTURE_UNIT);
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

// The pressure is re-expressed from the origin of the list's choices: back in the origin's unit
// it is the origin's text again.
void SelectPressureUnit(HWND window, int comboId, int editId, int32_t* rememberedUnit) {
  const ChoiceOrigin origin = OriginOfChoice(window, comboId);
  const int newUnit = ComboSelection(window, comboId);
  if (newUnit != *rememberedUnit && IsPressureUnitCode(newUnit)) {
    if (newUnit == origin.unit) {
      SetDlgItemTextA(window, editId, origin.text);
    } else if (IsPressureUnitCode(origin.unit)) {
      SetSignificantText(window, editId,
                         ReexpressPressure(origin.unit, newUnit, OriginNumber(origin)), 7);
    }
    *rememberedUnit = newUnit;
  }
  NoteChoiceMade(window, comboId);
  InvalidateRect(window, nullptr, FALSE);
  ReleaseFocusAfterChoice(window, comboId);
}

namespace {

// Every parameterised item gets its plain text back, except the chosen one, whose dialog runs
// on the side's fields and whose item then shows the description the dialog left.
void RebuildUnitItems(HWND window, int comboId, int chosenUnit, SideContext& side) {
  for (const MoistureUnitCode unit : kParameterisedUnits) {
    const int code = Code(unit);
    if (code != chosenUnit) {
      ReplaceComboItem(window, comboId, code, MoistureUnits[code].itemText);
      continue;
    }
    RunUnitDialog(window, unit, side);
    char text[kWorkTextSize];
    BuildDescribedItem(code, text);
    ReplaceComboItem(window, comboId, code, text);
    SendDlgItemMessageA(window, comboId, CB_SETCURSEL, code, 0);
  }
}

void ConvertSourceValue(HWND window, int newUnit, const ChoiceOrigin& origin);

}  // namespace

void SelectSourceUnit(HWND window) {
  const ChoiceOrigin origin = OriginOfChoice(window, IDC_SOURCE_MOISTURE_UNIT);
  const int newUnit = ComboSelection(window, IDC_SOURCE_MOISTURE_UNIT);
  RebuildUnitItems(window, IDC_SOURCE_MOISTURE_UNIT, newUnit, calculator.source);
  if (newUnit == calculator.sourceMoistureUnit && !IsParameterisedUnit(newUnit)) {
    ReleaseFocusAfterChoice(window, IDC_SOURCE_MOISTURE_UNIT);
    return;
  }
  ConvertSourceValue(window, newUnit, origin);
  NoteChoiceMade(window, IDC_SOURCE_MOISTURE_UNIT);
}

namespace {

// Re-expresses the source value in the new unit, so that it describes the same water content:
// from the origin of the list's choices, whose text comes back as it was in the origin's unit
// and parameters.
void ConvertSourceValue(HWND window, int newUnit, const ChoiceOrigin& origin) {
  const SourceReexpression change{
      origin.unit,
      OriginNumber(origin),
      UnitInForce(window, IDC_SOURCE_PRESSURE_UNIT),
      ReadEditNumber(window, IDC_SOURCE_PRESSURE),
      newUnit,
  };
  const bool backToOrigin =
      newUnit == origin.unit && SameApplied(origin.applied, calculator.source);
  char reexpressed[kWorkTextSize];
  const char* text = backToOrigin ? origin.text : reexpressed;
  if (!backToOrigin &&
      ReexpressSourceValue(change, ParametersOf(origin.applied), ParametersOf(calculator.source),
                           CalculatorModel(), reexpressed,
                           sizeof reexpressed) == ReexpressionOutcome::NoSourceAnswer) {
    SetDlgItemTextA(window, IDC_SOURCE_VALUE, text);
    FocusAndSelectAll(window, IDC_SOURCE_VALUE);
  } else {
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

}  // namespace

void SelectTargetUnit(HWND window) {
  const int newUnit = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
  RebuildUnitItems(window, IDC_TARGET_MOISTURE_UNIT, newUnit, calculator.target);
  InvalidateRect(window, nullptr, FALSE);
  ReleaseFocusAfterChoice(window, IDC_TARGET_MOISTURE_UNIT);
}

}  // namespace ruruzir
