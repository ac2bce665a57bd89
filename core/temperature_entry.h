// Temperatures typed in degC or degF and held in degC, with the single-precision constants
// of the temperature dialogs.
#pragma once

namespace ruruzir {

constexpr double kFiveNinths = 0.5555555820465088;  // 5/9 as a float
constexpr double kNineFifths = 1.7999999523162842;  // 1.8 as a float
constexpr double kFahrenheitZeroOffset = 32.0;

inline double CelsiusFromFahrenheit(double fahrenheit) {
  return (fahrenheit - kFahrenheitZeroOffset) * kFiveNinths;
}

inline double FahrenheitFromCelsius(double celsius) {
  return celsius * kNineFifths + kFahrenheitZeroOffset;
}

// Accepted temperatures lie strictly between -80 degC and 200 degC.
constexpr float kLowestAcceptedTemperatureC = -80.0f;
constexpr float kHighestAcceptedTemperatureC = 200.0f;
inline bool IsAcceptedTemperature(float celsius) {
  return celsius > kLowestAcceptedTemperatureC && celsius < kHighestAcceptedTemperatureC;
}

}  // namespace ruruzir
