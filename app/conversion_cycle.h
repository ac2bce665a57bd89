// The main window's conversion cycle: the result computed on every paint, the range check of
// the source value, pressure unit changes and moisture unit choices.
#pragma once

#include <windows.h>

#include "app/calculator_state.h"
#include "core/conversion_steps.h"  // the texts the cycle writes into the source value box

namespace ruruzir {

void ComputeResult(HWND window);
void ValidateSourceValue(HWND window);
void SelectPressureUnit(HWND window, int comboId, int editId, int32_t* rememberedUnit);
void SelectSourceUnit(HWND window);
void SelectTargetUnit(HWND window);

}  // namespace ruruzir
