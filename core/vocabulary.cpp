// The product's vocabulary: one table per kind of name.
#include "core/vocabulary.h"

namespace ruruzir {

namespace {

constexpr int Code(Formulation formulation) {
  return static_cast<int>(formulation);
}
constexpr int Code(EnhancementFactor factor) {
  return static_cast<int>(factor);
}
constexpr int Code(DensityMedium medium) {
  return static_cast<int>(medium);
}
constexpr int Code(Precision precision) {
  return static_cast<int>(precision);
}
using ruruzir::Code;

constexpr NamedCode kMoistureUnitNames[] = {
    {"frost-c", Code(MoistureUnitCode::DewFrostPointC),
     "dew/frost point, degC (frost point below 0 degC)"},
    {"dew-c", Code(MoistureUnitCode::DewPointC), "dew point over supercooled water (no ice), degC"},
    {"frost-f", Code(MoistureUnitCode::DewFrostPointF), "dew/frost point, degF"},
    {"dew-f", Code(MoistureUnitCode::DewPointF), "dew point over supercooled water (no ice), degF"},
    {"ppmv", Code(MoistureUnitCode::PpmV), "parts per million by volume, dry basis"},
    {"ppm", Code(MoistureUnitCode::PpmV), nullptr},
    {"ppmw-gas", Code(MoistureUnitCode::PpmWGas), "parts per million by weight in a gas"},
    {"lb-mmscf", Code(MoistureUnitCode::LbsPerMmscf),
     "lb water per million std ft3 of natural gas"},
    {"lb/mmscf", Code(MoistureUnitCode::LbsPerMmscf), nullptr},
    {"lbs/mmscf", Code(MoistureUnitCode::LbsPerMmscf), nullptr},
    {"g-m3", Code(MoistureUnitCode::GramsPerM3), "grams of water per m3"},
    {"g/m3", Code(MoistureUnitCode::GramsPerM3), nullptr},
    {"mbar-vp", Code(MoistureUnitCode::VapourPressureMbar), "partial water vapour pressure, mbar"},
    {"rh", Code(MoistureUnitCode::RelativeHumidity), "percent relative humidity"},
    {"%rh", Code(MoistureUnitCode::RelativeHumidity), nullptr},
    {"ppmw-liquid", Code(MoistureUnitCode::PpmWLiquid), "ppmW dissolved in a liquid"},
};

// What a moisture value is, as the converter's result column and the page's lists name it.
constexpr const char* kMoistureUnitLabels[kMoistureUnitCount] = {
    "frost point \xB0"
    "C",
    "dew point \xB0"
    "C (over water)",
    "frost point \xB0"
    "F",
    "dew point \xB0"
    "F (over water)",
    "ppmV",
    "ppmW",
    "lb/MMscf",
    "g/m\xB3",
    "vapour pressure mbar",
    "%RH",
    "ppmW in the liquid",
};

constexpr NamedCode kPressureUnitNames[] = {
    {"mbar", Code(PressureUnitCode::Mbar), "millibar"},
    {"psia", Code(PressureUnitCode::Psi), "pounds per square inch, absolute"},
    {"psig", Code(PressureUnitCode::Psig), "pounds per square inch, gauge"},
    {"atm", Code(PressureUnitCode::Atm), "standard atmospheres"},
    {"kpa", Code(PressureUnitCode::Kpa), "kilopascal"},
    {"bar", Code(PressureUnitCode::Bar), "bar, absolute"},
    {"barg", Code(PressureUnitCode::Barg), "bar, gauge"},
    {"mpa", Code(PressureUnitCode::Mpa), "megapascal"},
    {"pa", Code(PressureUnitCode::Pa), "pascal"},
};

// Each pressure unit's label and the reading of one standard atmosphere in it.
constexpr const char* kPressureUnitLabels[kConversionPressureUnitCount] = {
    "mbar", "psia", "psig", "atm", "kPa", "bar", "barg", "MPa", "Pa",
};
constexpr const char* kAtmosphereReadings[kConversionPressureUnitCount] = {
    "1013.25", "14.696", "0", "1", "101.325", "1.01325", "0", "0.101325", "101325",
};

constexpr NamedCode kFormulationNames[] = {
    {"goff-gratch", Code(Formulation::GoffGratch), "Goff-Gratch (default)"},
    {"hyland-wexler", Code(Formulation::HylandWexler), "Hyland and Wexler 1983"},
    {"sonntag", Code(Formulation::Sonntag), "Sonntag 1990"},
    {"magnus", Code(Formulation::Magnus), "Magnus (least accurate)"},
};
constexpr const char* kFormulationLabels[] = {"Hyland and Wexler 1983", "Goff-Gratch",
                                              "Sonntag 1990", "Magnus"};

constexpr NamedCode kEnhancementNames[] = {
    {"none", Code(EnhancementFactor::None), "no enhancement factor (default)"},
    {"bogel", Code(EnhancementFactor::Bogel), "Bogel enhancement factor"},
    {"greenspan", Code(EnhancementFactor::Greenspan), "Greenspan enhancement factor"},
};
constexpr const char* kEnhancementLabels[] = {"none", "B\xF6gel", "Greenspan"};

constexpr NamedCode kMediumNames[] = {
    {"water", Code(DensityMedium::WaterVapour),
     "pure water vapour: the density of the moist gas itself"},
    {"air", Code(DensityMedium::Air), "air and water vapour mixture: grams of water"},
    {"natural-gas", Code(DensityMedium::NaturalGas),
     "natural gas at standard conditions: grams of water"},
};
constexpr const char* kMediumLabels[] = {"water vapour", "air", "natural gas"};

constexpr NamedCode kPrecisionNames[] = {
    {"shown", Code(Precision::Shown), "the number the result text shows (default)"},
    {"computed", Code(Precision::Computed),
     "the computed number before display rounding (dew points in tenths)"},
    {"exact", Code(Precision::Exact),
     "as computed, dew and frost points the formulation's own root (1e-9 degC)"},
};
constexpr const char* kPrecisionLabels[] = {"shown", "computed", "exact"};

template <size_t N, size_t L>
constexpr NameTable Table(const NamedCode (&entries)[N], const char* const (&labels)[L],
                          int defaultCode) {
  return {entries, static_cast<int>(N), static_cast<int>(L), defaultCode, labels};
}

const NameTable kNameTables[kNameKindCount] = {
    Table(kMoistureUnitNames, kMoistureUnitLabels, Code(MoistureUnitCode::DewFrostPointC)),
    Table(kPressureUnitNames, kPressureUnitLabels, Code(PressureUnitCode::Mbar)),
    Table(kFormulationNames, kFormulationLabels, Code(Formulation::GoffGratch)),
    Table(kEnhancementNames, kEnhancementLabels, Code(EnhancementFactor::None)),
    Table(kMediumNames, kMediumLabels, Code(DensityMedium::NaturalGas)),
    Table(kPrecisionNames, kPrecisionLabels, Code(Precision::Shown)),
};

bool InTable(const NameTable& table, int code) {
  return code >= 0 && code < table.codeCount;
}

}  // namespace

const NameTable* FindNameTable(int kind) {
  return kind >= 0 && kind < kNameKindCount ? &kNameTables[kind] : nullptr;
}

const NameTable& NamesOf(NameKind kind) {
  return kNameTables[static_cast<int>(kind)];
}

const char* NameOf(NameKind kind, int code) {
  const NameTable& table = NamesOf(kind);
  for (int i = 0; i < table.size; ++i) {
    if (table.entries[i].code == code && table.entries[i].meaning) return table.entries[i].name;
  }
  return nullptr;
}

const char* LabelOf(NameKind kind, int code) {
  const NameTable& table = NamesOf(kind);
  return InTable(table, code) ? table.labels[code] : nullptr;
}

const char* MeaningOf(NameKind kind, int code) {
  const NameTable& table = NamesOf(kind);
  for (int i = 0; i < table.size; ++i) {
    if (table.entries[i].code == code && table.entries[i].meaning) return table.entries[i].meaning;
  }
  return nullptr;
}

const NamedCode* FindNamedCode(const NameTable& table, std::string_view name) {
  for (int i = 0; i < table.size; ++i) {
    if (SameLetters(table.entries[i].name, name)) return &table.entries[i];
  }
  return nullptr;
}

int CodeOfName(NameKind kind, std::string_view name) {
  const NamedCode* entry = FindNamedCode(NamesOf(kind), name);
  return entry ? entry->code : -1;
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
  return NameOf(NameKind::MoistureUnit, code);
}

const char* PressureUnitLabel(int code) {
  return IsConversionPressureUnit(code) ? kPressureUnitLabels[code] : "";
}

const char* StandardAtmosphereReading(int code) {
  return IsConversionPressureUnit(code) ? kAtmosphereReadings[code] : "";
}

SideParameters DefaultSideParameters() {
  // Held in single precision, as every side value is.
  return {20.0f, 29.0f, 1.9f, 20.0f, DensityMedium::NaturalGas};
}

}  // namespace ruruzir
