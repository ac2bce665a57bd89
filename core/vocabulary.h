// The product's vocabulary, stated once for every front end: the names and aliases of each kind
// of choice (moisture and pressure units, formulations, enhancement factors, media, precisions),
// their short labels and meanings, the defaults a conversion starts from, and how a name is
// matched. The window, the converter, the library (and through it Python and the web page) all
// read these tables.
#pragma once

#include <string_view>

#include "core/unit_catalogues.h"
#include "physics/moisture_model.h"

namespace ruruzir {

// The kinds of names; their values are the library's kind codes.
enum class NameKind : int {
  MoistureUnit = 0,
  PressureUnit = 1,
  Formulation = 2,
  Enhancement = 3,
  Medium = 4,
  Precision = 5,
};
constexpr int kNameKindCount = 6;

// Which number a conversion gives besides its text; the values are the library's codes.
enum class Precision : int {
  Shown = 0,     // the number the result text shows
  Computed = 1,  // the computed double before display rounding (dew points in solver tenths)
  Exact = 2,     // as computed, with dew and frost points as the formulation's own root
};

// A name and the code it stands for.
struct NamedCode {
  const char* name;
  int code;
  // What the code is, for every front end (a front end adds how it takes it: the converter's
  // help its aliases and options); nullptr: an alias, not listed on its own in the help text.
  const char* meaning;
};

// One kind's names: each code once by its name, in the order the help lists them, each name
// followed by its aliases.
struct NameTable {
  const NamedCode* entries;
  int size;
  int codeCount;  // codes are 0 to codeCount - 1
  int defaultCode;
  const char* const* labels;  // by code, Windows-1252
};

// The table of a kind code, or nullptr for none.
const NameTable* FindNameTable(int kind);
const NameTable& NamesOf(NameKind kind);

// The name of a code (not an alias), its short label and its meaning; nullptr for no code.
const char* NameOf(NameKind kind, int code);
const char* LabelOf(NameKind kind, int code);
const char* MeaningOf(NameKind kind, int code);

// The code a name or alias stands for, matched in any case; -1 for none. A bare "psi" is no
// pressure unit: it is read as absolute by some and as gauge by others, and a guess would move
// every result.
int CodeOfName(NameKind kind, std::string_view name);
constexpr char kAmbiguousPsiName[] = "psi";

// The entry of `table` named `name` in any case, or nullptr.
const NamedCode* FindNamedCode(const NameTable& table, std::string_view name);

// True when the texts are the same but for the case of ASCII letters (names are matched so,
// whatever the locale).
bool SameLetters(std::string_view a, std::string_view b);

// The name of a moisture unit code (not an alias), or nullptr for no unit.
const char* MoistureUnitName(int code);

// A pressure unit as results and messages show it ("mbar", "kPa", "MPa"), and the reading that
// stands for one standard atmosphere in it ("1013.25", "0" for the gauge units); "" for no
// pressure unit.
const char* PressureUnitLabel(int code);
const char* StandardAtmosphereReading(int code);

// The side values a conversion starts from: 20 degC ambient and prevailing temperatures, air's
// molecular weight 29, hexane's Henry's constant 1.9 (as held in single precision), natural gas.
SideParameters DefaultSideParameters();

}  // namespace ruruzir
