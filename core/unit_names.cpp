// The units' short names.
#include "core/unit_names.h"

namespace ruruzir {

const NamedCode kMoistureUnitNames[kMoistureUnitNameCount] = {
    {"frost-c", Code(MoistureUnitCode::DewFrostPointC),
     "dew/frost point, degC (frost point below 0 degC)"},
    {"dew-c", Code(MoistureUnitCode::DewPointC), "dew point over supercooled water (no ice), degC"},
    {"frost-f", Code(MoistureUnitCode::DewFrostPointF), "dew/frost point, degF"},
    {"dew-f", Code(MoistureUnitCode::DewPointF), "dew point over supercooled water (no ice), degF"},
    {"ppmv", Code(MoistureUnitCode::PpmV), "parts per million by volume, dry basis (alias ppm)"},
    {"ppm", Code(MoistureUnitCode::PpmV), nullptr},
    {"ppmw-gas", Code(MoistureUnitCode::PpmWGas),
     "parts per million by weight in a gas (needs --mol-weight)"},
    {"lb-mmscf", Code(MoistureUnitCode::LbsPerMmscf),
     "lb water per million std ft3 of natural gas (alias lb/mmscf)"},
    {"lb/mmscf", Code(MoistureUnitCode::LbsPerMmscf), nullptr},
    {"lbs/mmscf", Code(MoistureUnitCode::LbsPerMmscf), nullptr},
    {"g-m3", Code(MoistureUnitCode::GramsPerM3),
     "grams of water per m3 (alias g/m3; --medium, --prevailing)"},
    {"g/m3", Code(MoistureUnitCode::GramsPerM3), nullptr},
    {"mbar-vp", Code(MoistureUnitCode::VapourPressureMbar), "partial water vapour pressure, mbar"},
    {"rh", Code(MoistureUnitCode::RelativeHumidity),
     "percent relative humidity (alias %rh; needs --ambient)"},
    {"%rh", Code(MoistureUnitCode::RelativeHumidity), nullptr},
    {"ppmw-liquid", Code(MoistureUnitCode::PpmWLiquid),
     "ppmW dissolved in a liquid (needs --henry)"},
};

const NamedCode kPressureUnitNames[kPressureUnitCount] = {
    {"mbar", Code(PressureUnitCode::Mbar), "millibar"},
    {"psia", Code(PressureUnitCode::Psi), "pounds per square inch, absolute"},
    {"psig", Code(PressureUnitCode::Psig), "pounds per square inch, gauge"},
    {"atm", Code(PressureUnitCode::Atm), "standard atmospheres"},
    {"kpa", Code(PressureUnitCode::Kpa), "kilopascal"},
};

namespace {

constexpr const char* kWindowPressureLabels[kPressureUnitCount][2] = {
    {"mbar", "1013.25"}, {"psia", "14.696"}, {"psig", "0"}, {"atm", "1"}, {"kPa", "101.325"},
};

}  // namespace

const char* WindowPressureLabel(int code) {
  return IsPressureUnitCode(code) ? kWindowPressureLabels[code][0] : "";
}

const char* WindowAtmosphereReading(int code) {
  return IsPressureUnitCode(code) ? kWindowPressureLabels[code][1] : "";
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

const char* MoistureUnitName(int code) {
  for (const NamedCode& unit : kMoistureUnitNames) {
    if (unit.code == code && unit.meaning) return unit.name;
  }
  return nullptr;
}

}  // namespace ruruzir
