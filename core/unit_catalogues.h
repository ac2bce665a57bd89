// The two constant unit catalogues. A unit's code is its row, the item index in the combo
// boxes that offer the catalogue, the value stored in the settings and the conversions' unit.
#pragma once

#include "physics/moisture_model.h"

namespace ruruzir {

// MoistureUnitCode (the physics' unit) numbers the moisture catalogue.
enum class PressureUnitCode : int {
  Mbar = 0,
  Psi = 1,
  Psig = 2,
  Atm = 3,
  Kpa = 4,
  // Units a conversion also takes, though the window does not offer them: their readings are
  // converted to millibar, which is then read as the window reads millibar.
  Bar = 5,
  Barg = 6,
  Mpa = 7,
  Pa = 8,
};

// A unit's code as the row, item index and stored value it is.
constexpr int Code(MoistureUnitCode unit) {
  return static_cast<int>(unit);
}
constexpr int Code(PressureUnitCode unit) {
  return static_cast<int>(unit);
}

constexpr int kMoistureUnitCount = 11;
constexpr int kPressureUnitCount = 5;            // the window's
constexpr int kConversionPressureUnitCount = 9;  // the window's and bar, barg, MPa, Pa

struct MoistureUnit {
  char itemText[91];  // Windows-1252; 0xB0 degree, 0xB3 superscript three, 0xB5 micro
};

struct PressureUnit {
  char name[16];
  float offset;  // millibar added after dividing by factor
  float factor;  // readings in this unit per millibar
};

extern const MoistureUnit MoistureUnits[kMoistureUnitCount];
extern const PressureUnit PressureUnits[kPressureUnitCount];

inline bool IsMoistureUnitCode(int code) {
  return code >= 0 && code < kMoistureUnitCount;
}
inline bool IsPressureUnitCode(int code) {
  return code >= 0 && code < kPressureUnitCount;
}
inline bool IsConversionPressureUnit(int code) {
  return code >= 0 && code < kConversionPressureUnitCount;
}

// Units 5, 7, 9 and 10 need a side parameter and carry "caption|prompt" item texts.
bool IsParameterisedUnit(int code);

// Number of characters of the unit's item text before its first "|" (the whole text if none).
int CaptionLength(int code);

// A reading in pressure unit `code` to millibar: reading / factor + offset.
double PressureToMbar(int code, double reading);

// A reading in a conversion pressure unit (the window's or bar, barg, MPa, Pa) as the millibar
// reading the window would be given for it: unchanged in the window's units, else
// reading * millibar per reading + offset, in double precision.
double WindowMbarReading(int code, double reading);

// Millibar to a reading in pressure unit `code`: (millibar - offset) * factor.
double MbarToPressure(int code, double millibar);

}  // namespace ruruzir
