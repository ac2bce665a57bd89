// Mole ratio, natural-gas water content and vapour density of water vapour, with inverses.
#include "physics/composition.h"

#include <cmath>

namespace ruruzir {
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
                     DensityMedium densityMedium) {
  if (densityMedium == DensityMedium::NaturalGas) {
    return NaturalGasWaterContent(partialPressure, totalPressure) * kLbPerMmscfToGramsPerM3;
  }
  if (densityMedium == DensityMedium::Air) {
    return kAirMixtureCoefficient * partialPressure /
           (prevailingTemperatureC + kDensityKelvinOffset);
  }
  return kWaterVapourCoefficient * (totalPressure - kWaterVapourPressureShare * partialPressure) /
         (prevailingTemperatureC + kDensityKelvinOffset);
}

namespace {

// The search around the first estimate: the estimate is raised unless the content just above
// it reaches the target, so an undefined content (the power of a negative estimate) raises it;
// it is lowered only when the content just below it exceeds the target, so an undefined
// content there accepts it. It reaches no further than 0.5 mbar from the first estimate.
double SearchNearFirstEstimate(double waterContent, double totalPressure) {
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

// Halves the interval from no water to the whole pressure, on which the content rises with
// the partial pressure as long as its linear coefficient is positive, until the root is known
// to within the tolerance. Without that rise, or with the content outside the interval's
// contents, there is no single root to find.
double BracketOnContentCurve(double waterContent, double totalPressure) {
  const double linearCoefficient = kIgtLinearNumerator / totalPressure - kIgtLinearOffset;
  if (!(totalPressure > 0.0) || !std::isfinite(totalPressure) || !(linearCoefficient > 0.0)) {
    return NO_SOLUTION;
  }
  double low = 0.0;
  double high = totalPressure;
  if (!(waterContent > 0.0) || !(NaturalGasWaterContent(high, totalPressure) >= waterContent)) {
    return NO_SOLUTION;
  }
  while (high - low > 2.0 * kNaturalGasTolerance) {
    const double middle = 0.5 * (low + high);
    if (middle <= low || middle >= high) break;  // no double left between them
    if (NaturalGasWaterContent(middle, totalPressure) < waterContent) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return 0.5 * (low + high);
}

}  // namespace

// The search around the first estimate decides wherever it finds an answer; only where it has
// none (line pressures, where the power term moves the root far from the estimate) is the
// whole curve searched.
double PressureFromNaturalGasContent(double waterContent, double totalPressure) {
  const double nearby = SearchNearFirstEstimate(waterContent, totalPressure);
  if (nearby != NO_SOLUTION) return nearby;
  return BracketOnContentCurve(waterContent, totalPressure);
}

double PressureFromDensity(double density, double totalPressure, double prevailingTemperatureC,
                           DensityMedium densityMedium) {
  if (densityMedium == DensityMedium::NaturalGas) {
    return PressureFromNaturalGasContent(density * kGramsPerM3ToLbPerMmscf, totalPressure);
  }
  if (densityMedium == DensityMedium::Air) {
    return density * (prevailingTemperatureC + kDensityKelvinOffset) *
           kReciprocalAirMixtureCoefficient;
  }
  return (totalPressure - density * (prevailingTemperatureC + kDensityKelvinOffset) *
                              kReciprocalWaterVapourCoefficient) *
         kReciprocalWaterVapourPressureShare;
}

}  // namespace ruruzir
