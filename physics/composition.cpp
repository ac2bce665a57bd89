// Mole ratio, natural-gas water content and vapour density of water vapour, with inverses.
#include "physics/composition.h"

#include <cmath>

#include "app/calculator_state.h"

namespace {

constexpr double kPartsPerMillion = 1e6;

// IGT research bulletin 8 correlation for natural gas at standard conditions.
constexpr double kIgtPowerCoefficient = 0.92;
constexpr double kIgtExponent = 0.73;
constexpr double kIgtLinearNumerator = 47470.5;  // mbar
constexpr double kIgtLinearOffset = 0.12;

// Pounds per million standard cubic feet to grams per cubic metre, and back.
constexpr double kLbPerMmscfToGramsPerM3 = 0.016018453258153393;  // 1/62.428
constexpr double kGramsPerM3ToLbPerMmscf = 62.428;

// Density media; their Kelvin offset is 273.16 (not 273.15).
constexpr double kDensityKelvinOffset = 273.16;
constexpr double kAirMixtureCoefficient = 217.0;
constexpr double kReciprocalAirMixtureCoefficient = 0.004608294930875576;  // 1/217
constexpr double kWaterVapourCoefficient = 348.0;
constexpr double kReciprocalWaterVapourCoefficient = 0.0028735632183908046;  // 1/348
constexpr double kWaterVapourPressureShare = 0.378;
constexpr double kReciprocalWaterVapourPressureShare = 2.6455026455026456;  // 1/0.378

// Bisection on the partial pressure, around the estimate without the power term.
constexpr double kNaturalGasFirstStep = 0.5;   // mbar
constexpr double kNaturalGasTolerance = 1e-7;  // mbar

}  // namespace

double PpmVFromPressure(double partialPressure, double totalPressure) {
  return partialPressure / (totalPressure - partialPressure) * kPartsPerMillion;
}

double PressureFromPpmV(double ppmV, double totalPressure) {
  return ppmV * totalPressure / (ppmV + kPartsPerMillion);
}

double NaturalGasWaterContent(double partialPressure, double totalPressure) {
  return kIgtPowerCoefficient * std::pow(partialPressure, kIgtExponent) +
         partialPressure * (kIgtLinearNumerator / totalPressure - kIgtLinearOffset);
}

double VapourDensity(double partialPressure, double totalPressure, double prevailingTemperatureC,
                     int densityMedium) {
  if (densityMedium == kMediumNaturalGas) {
    return NaturalGasWaterContent(partialPressure, totalPressure) * kLbPerMmscfToGramsPerM3;
  }
  if (densityMedium == kMediumAir) {
    return kAirMixtureCoefficient * partialPressure /
           (prevailingTemperatureC + kDensityKelvinOffset);
  }
  return kWaterVapourCoefficient * (totalPressure - kWaterVapourPressureShare * partialPressure) /
         (prevailingTemperatureC + kDensityKelvinOffset);
}

// The estimate is raised unless the content just above it reaches the target, so an undefined
// content (the power of a negative estimate) raises it; it is lowered only when the content
// just below it exceeds the target, so an undefined content there accepts it.
double PressureFromNaturalGasContent(double waterContent, double totalPressure) {
  double estimate = waterContent / (kIgtLinearNumerator / totalPressure - kIgtLinearOffset);
  double step = kNaturalGasFirstStep;
  for (;;) {
    if (!(NaturalGasWaterContent(estimate + kNaturalGasTolerance, totalPressure) >= waterContent)) {
      step *= 0.5;
      estimate += step;
    } else if (NaturalGasWaterContent(estimate - kNaturalGasTolerance, totalPressure) >
               waterContent) {
      step *= 0.5;
      estimate -= step;
    } else {
      return estimate;
    }
    if (step < kNaturalGasTolerance) return NO_SOLUTION;
  }
}

double PressureFromDensity(double density, double totalPressure, double prevailingTemperatureC,
                           int densityMedium) {
  if (densityMedium == kMediumNaturalGas) {
    return PressureFromNaturalGasContent(density * kGramsPerM3ToLbPerMmscf, totalPressure);
  }
  if (densityMedium == kMediumAir) {
    return density * (prevailingTemperatureC + kDensityKelvinOffset) *
           kReciprocalAirMixtureCoefficient;
  }
  return (totalPressure - density * (prevailingTemperatureC + kDensityKelvinOffset) *
                              kReciprocalWaterVapourCoefficient) *
         kReciprocalWaterVapourPressureShare;
}
