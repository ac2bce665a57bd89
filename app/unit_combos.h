// The main window's four unit combo boxes, filled from the catalogues.
#pragma once

#include <windows.h>

namespace ruruzir {

// Fills the four unit combo boxes from the catalogues, each emptied first; the item index is
// the unit code.
void FillUnitCombos(HWND window);

// After the settings are loaded: a moisture list whose unit is g/m3 shows in its item the
// medium and temperature in use, as after the unit's dialog.
void DescribeLoadedUnits(HWND window);

}  // namespace ruruzir
