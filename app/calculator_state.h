// The one process-wide record of the calculator window: the kept values, the window's handles
// and the descriptions its unit items show.
#pragma once

#include <windows.h>

#include "core/calculator_values.h"
#include "dialogs/dialogs.h"

namespace ruruzir {

struct CalculatorState : CalculatorValues {
  HINSTANCE instance;
  HWND mainWindow;
  char gasDescription[kDescriptionSize];
  char liquidDescription[kDescriptionSize];
  char ambientDescription[kDescriptionSize];
  char densityDescription[kDescriptionSize];
};

// The single instance; zero and empty at process start.
extern CalculatorState calculator;

// The model the stored options in force stand for.
MoistureModel CalculatorModel();

// The description text of the dialog that belongs to `unitCode`, or nullptr.
const char* DescriptionForUnit(const CalculatorState& state, int unitCode);

}  // namespace ruruzir
