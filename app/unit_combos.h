// The main window's four unit combo boxes, filled from the catalogues.
#pragma once

#include <windows.h>

namespace ruruzir {

// Fills the four unit combo boxes from the catalogues, each emptied first; the item index is
// the unit code.
void FillUnitCombos(HWND window);

}  // namespace ruruzir
