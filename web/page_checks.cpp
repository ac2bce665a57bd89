// What the page asks of core besides the C interface: whether a pressure reading is one a gas
// can have, and the unit's label, so that the page refuses the pressures ruruzir-convert
// refuses, in its words; and the reading of one standard atmosphere that it takes when a link
// gives no pressure.
#include "core/conversion_steps.h"
#include "core/vocabulary.h"

extern "C" {

__attribute__((used)) int ruruzir_page_possible_pressure(int unit, double reading) {
  return ruruzir::IsPossiblePressureReading(unit, reading) ? 1 : 0;
}

__attribute__((used)) const char* ruruzir_page_pressure_label(int unit) {
  return ruruzir::PressureUnitLabel(unit);
}

__attribute__((used)) const char* ruruzir_page_atmosphere_reading(int unit) {
  return ruruzir::StandardAtmosphereReading(unit);
}

}  // extern "C"
