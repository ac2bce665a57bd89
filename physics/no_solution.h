// The value every solver and conversion returns when it has no answer.
#pragma once

namespace ruruzir {

constexpr double NO_SOLUTION = -10000.0;

}  // namespace ruruzir
