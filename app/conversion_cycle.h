// The main window's conversion cycle: the result computed on every paint, the range check of
// the source value, pressure unit changes and moisture unit choices.
#pragma once

#include <windows.h>

#include "app/calculator_state.h"

namespace ruruzir {

void ComputeResult(HWND window);
void ValidateSourceValue(HWND window);
void SelectPressureUnit(HWND window, int comboId, int editId, int32_t* rememberedUnit);
void SelectSourceUnit(HWND window);
void SelectTargetUnit(HWND window);
void RebuildUnitItems(HWND window, int comboId, int chosenUnit, SideContext& side);
void ConvertSourceValue(HWND window, int newUnit);

// The pressure in an edit box, read in pressure unit `unitCode`, in millibar rounded to
// hundredths; NaN when the code is no pressure unit.
float ReadPressureMbar(HWND window, int editId, int unitCode);

// Texts the cycle writes into the source value box.
extern const char kEnterNewValueText[];  // "enter new val"
extern const char kNotAvailableText[];   // "N/A"

}  // namespace ruruzir
