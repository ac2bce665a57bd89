// The Celsius scale's zero in kelvin, for the formulations and solvers that work in absolute
// temperature. (The density media and Bogel's factor use offsets of their own, and the triple
// point of water is another quantity.)
#pragma once

namespace ruruzir {

constexpr double kKelvinOffset = 273.15;  // K at 0 degC

}  // namespace ruruzir
