// The moisture units' short names.
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

const char* MoistureUnitName(int code) {
  for (const NamedCode& unit : kMoistureUnitNames) {
    if (unit.code == code && unit.meaning) return unit.name;
  }
  return nullptr;
}

}  // namespace ruruzir
