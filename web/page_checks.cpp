// What the page asks of the converter besides the C interface: whether a pressure reading is
// one a gas can have, and the unit's name in the converter's messages, so that the page
// refuses the pressures ruruzir-convert refuses, in its words.
#include "convert/converter.h"

extern "C" {

__attribute__((used)) int ruruzir_page_possible_pressure(int unit, double reading) {
  return ruruzir::IsPossiblePressure(unit, reading) ? 1 : 0;
}

__attribute__((used)) const char* ruruzir_page_pressure_label(int unit) {
  return ruruzir::PressureUnitLabel(unit);
}

}  // extern "C"
