// Formulations and enhancement factors by name in the tests' messages.
#pragma once

#include <ostream>

#include "physics/moisture_model.h"

namespace ruruzir {

inline std::ostream& operator<<(std::ostream& out, Formulation formulation) {
  const char* names[] = {"Hyland-Wexler", "Goff-Gratch", "Sonntag", "Magnus"};
  return out << names[static_cast<int>(formulation)];
}

inline std::ostream& operator<<(std::ostream& out, EnhancementFactor factor) {
  const char* names[] = {"no factor", "Bogel", "Greenspan"};
  return out << names[static_cast<int>(factor)];
}

}  // namespace ruruzir
