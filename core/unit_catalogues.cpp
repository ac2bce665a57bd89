// The moisture and pressure unit catalogues.
#include "core/unit_catalogues.h"

#include <cstring>

namespace ruruzir {

// Item texts are Windows-1252: \xB0 is the degree sign, \xB3 superscript three, \xB5 micro.
const MoistureUnit MoistureUnits[kMoistureUnitCount] = {
    {"\xB0"
     "C  ...  dew/frost point"},
    {"\xB0"
     "C  ...  dewpoint (no ice) supercooled water"},
    {"\xB0"
     "F  ...  dew/frost point"},
    {"\xB0"
     "F  ...  dewpoint (no ice) supercooled water"},
    {"ppmV  ...  Volumetric parts per million"},
    {"ppmW(mol/mol)  ...  parts per million by weight| choose gas..."},
    {"lbs H2O per Million Feet\xB3 ... water vapor density in Natural Gas @ STP: per IGT"},
    {"grams H2O per meter\xB3... vapor density| specify medium..."},
    {"mb  ...  partial water vapor pressure"},
    {"%RH  ...  percent Relative Humidity| choose temp..."},
    {"ppmW(\xB5g/g)  ...  parts per million by weight| choose liquid..."},
};

// offset and factor are single-precision: the arithmetic uses exactly these float values.
const PressureUnit PressureUnits[kPressureUnitCount] = {
    {"mBAR", 0.0f, 1.0f},       {"PSI", 0.0f, 0.0145038f}, {"PSIG", 1013.25f, 0.01450377f},
    {"ATM", 0.0f, 0.00098692f}, {"kPa", 0.0f, 0.1f},
};

bool IsParameterisedUnit(int code) {
  return code == Code(MoistureUnitCode::PpmWGas) || code == Code(MoistureUnitCode::GramsPerM3) ||
         code == Code(MoistureUnitCode::RelativeHumidity) ||
         code == Code(MoistureUnitCode::PpmWLiquid);
}

int CaptionLength(int code) {
  if (!IsMoistureUnitCode(code)) return 0;
  const char* text = MoistureUnits[code].itemText;
  const char* bar = std::strchr(text, '|');
  return static_cast<int>(bar ? bar - text : std::strlen(text));
}

double PressureToMbar(int code, double reading) {
  const PressureUnit& unit = PressureUnits[code];
  return reading / unit.factor + unit.offset;
}

namespace {

// The units a conversion takes besides the window's: millibar = reading * mbar + offset.
struct OtherPressureUnit {
  double mbar;
  double offset;
};
constexpr OtherPressureUnit kOtherPressureUnits[kConversionPressureUnitCount - kPressureUnitCount] =
    {
        {1000.0, 0.0},      // bar
        {1000.0, 1013.25},  // barg
        {10000.0, 0.0},     // MPa
        {0.01, 0.0},        // Pa
};

}  // namespace

double WindowMbarReading(int code, double reading) {
  if (IsPressureUnitCode(code)) return reading;
  const OtherPressureUnit& unit = kOtherPressureUnits[code - kPressureUnitCount];
  return reading * unit.mbar + unit.offset;
}

double MbarToPressure(int code, double millibar) {
  const PressureUnit& unit = PressureUnits[code];
  return (millibar - unit.offset) * unit.factor;
}

}  // namespace ruruzir
