// The short names that the converter and the library give the moisture units, with the aliases
// the converter also takes.
#pragma once

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

}  // namespace ruruzir
