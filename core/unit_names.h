// The short names that the converter and the library give the moisture and pressure units, with
// the aliases they also take, and how a name is matched.
#pragma once

#include <string_view>

#include "core/unit_catalogues.h"

namespace ruruzir {

// A name and the code it stands for.
struct NamedCode {
  const char* name;
  int code;
  const char* meaning;  // nullptr: an alias, not listed on its own in the help text
};

// Every moisture unit once by its name, in code order, each followed by its aliases.
constexpr int kMoistureUnitNameCount = 16;
extern const NamedCode kMoistureUnitNames[kMoistureUnitNameCount];

// The name of a moisture unit code (not an alias), or nullptr for no unit.
const char* MoistureUnitName(int code);

// The window's pressure units by name, in code order. A bare "psi" is none of them: it is
// read as absolute by some and as gauge by others, and a guess would move every result.
extern const NamedCode kPressureUnitNames[kPressureUnitCount];
constexpr char kAmbiguousPsiName[] = "psi";

// A window pressure unit as results and messages show it ("mbar", "kPa"), and the reading that
// stands for one standard atmosphere in it ("1013.25"); "" for no pressure unit.
const char* WindowPressureLabel(int code);
const char* WindowAtmosphereReading(int code);

// True when the texts are the same but for the case of ASCII letters (names are matched so,
// whatever the locale).
bool SameLetters(std::string_view a, std::string_view b);

// The entry of `table` named `name` in any case, or nullptr.
template <size_t N>
const NamedCode* FindNamedCode(const NamedCode (&table)[N], std::string_view name) {
  for (const NamedCode& entry : table) {
    if (SameLetters(entry.name, name)) return &entry;
  }
  return nullptr;
}

}  // namespace ruruzir
