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

// Texts the cycle writes into the source value box.
extern const char kEnterNewValueText[];  // "enter new val"
extern const char kNotAvailableText[];   // "N/A"

}  // namespace ruruzir
