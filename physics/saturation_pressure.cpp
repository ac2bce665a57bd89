// Saturation vapour pressure in four published formulations, with optional enhancement factors.
#include "physics/saturation_pressure.h"

#include <cmath>

#include "physics/temperature_scale.h"

namespace ruruzir {
namespace {

// Goff-Gratch reference temperatures, K, and their reciprocals as multiplied by.
constexpr double kSteamPointK = 373.16;
constexpr double kReciprocalSteamPointK = 0.0026798156286847465;
constexpr double kIcePointK = 273.16;
constexpr double kReciprocalIcePointK = 0.0036608581051398447;

// Magnus: ln(611.2 Pa), so that the prefactor is 6.112 mbar.
constexpr double kMagnusLnPrefactorPa = 6.4154242378;
constexpr double kPascalToMbar = 0.01;
constexpr double kKilopascalToMbar = 10.0;

enum class Phase { Water, Ice };

double GoffGratchWater(double kelvin) {
  const double r = kSteamPointK / kelvin;
  const double logPressure =
      5.02808 * std::log10(r) - 7.90298 * (r - 1.0) -
      1.3816e-7 * (std::pow(10.0, 11.344 * (1.0 - kelvin * kReciprocalSteamPointK)) - 1.0) +
      8.1328e-3 * (std::pow(10.0, -3.49149 * (r - 1.0)) - 1.0) + std::log10(1013.246);
  return std::pow(10.0, logPressure);
}

double GoffGratchIce(double kelvin) {
  const double r = kIcePointK / kelvin;
  const double logPressure = 0.876793 * (1.0 - kelvin * kReciprocalIcePointK) -
                             (3.56654 * std::log10(r) + 9.09718 * (r - 1.0)) + std::log10(6.1071);
  return std::pow(10.0, logPressure);
}

double HylandWexlerWater(double kelvin) {
  const double lnPressureKpa = 6.5459673 * std::log(kelvin) + 4.1764768e-5 * kelvin * kelvin -
                               (5800.2206 / kelvin + 0.048640239 * kelvin + 5.516256) -
                               1.4452093e-8 * kelvin * kelvin * kelvin;
  return kKilopascalToMbar * std::exp(lnPressureKpa);
}

double HylandWexlerIce(double kelvin) {
  const double k2 = kelvin * kelvin;
  const double lnPressureKpa =
      4.1635019 * std::log(kelvin) + (2.0747826e-9 * kelvin + 6.2215701e-7) * k2 -
      (5674.5359 / kelvin + 0.009677843 * kelvin + 0.51523058) - 9.484024e-13 * k2 * k2;
  return kKilopascalToMbar * std::exp(lnPressureKpa);
}

double SonntagWater(double kelvin) {
  return kPascalToMbar * std::exp(2.433502 * std::log(kelvin) + 21.2409642 - 6096.9385 / kelvin -
                                  0.02711193 * kelvin + 1.673952e-5 * kelvin * kelvin);
}

double SonntagIce(double kelvin) {
  return kPascalToMbar * std::exp(0.010613868 * kelvin - 6024.5282 / kelvin + 29.32707 -
                                  1.3198825e-5 * kelvin * kelvin - 0.49382577 * std::log(kelvin));
}

double MagnusWater(double t) {
  return kPascalToMbar * std::exp(17.62 * t / (t + 243.12) + kMagnusLnPrefactorPa);
}

double MagnusIce(double t) {
  return kPascalToMbar * std::exp(22.46 * t / (t + 272.2) + kMagnusLnPrefactorPa);
}

// Base pressure of the formulation in force, over water or over ice.
double BasePressure(Formulation formulation, Phase phase, double t) {
  const double kelvin = t + kKelvinOffset;
  switch (formulation) {
    case Formulation::GoffGratch:
      return phase == Phase::Ice ? GoffGratchIce(kelvin) : GoffGratchWater(kelvin);
    case Formulation::HylandWexler:
      return phase == Phase::Ice ? HylandWexlerIce(kelvin) : HylandWexlerWater(kelvin);
    case Formulation::Sonntag:
      return phase == Phase::Ice ? SonntagIce(kelvin) : SonntagWater(kelvin);
    case Formulation::Magnus:
      break;
  }
  return phase == Phase::Ice ? MagnusIce(t) : MagnusWater(t);
}

struct GreenspanCoefficients {
  double a0, a1, a2, a3, b0, b1, b2, b3;
};

constexpr GreenspanCoefficients kGreenspanWater = {3.53624e-4, 2.93228e-5, 2.61474e-7,  8.57538e-9,
                                                   -10.7588,   6.32529e-2, -2.53591e-4, 6.33784e-7};
constexpr GreenspanCoefficients kGreenspanSupercooled = {
    3.62183e-4, 2.60553e-5, 3.86501e-7, 3.82449e-9, -10.7604, 6.39725e-2, -2.63416e-4, 1.67254e-6};
constexpr GreenspanCoefficients kGreenspanIce = {3.64449e-4, 2.93631e-5, 4.88635e-7,  4.36543e-9,
                                                 -10.7271,   7.61989e-2, -1.74771e-4, 2.46721e-6};

double GreenspanFactor(const GreenspanCoefficients& c, double e, double p, double t) {
  const double alpha = ((c.a3 * t + c.a2) * t + c.a1) * t + c.a0;
  const double beta = c.b0 + c.b1 * t + c.b2 * t * t + c.b3 * t * t * t;
  return std::exp(alpha * (1.0 - e / p) + std::exp(beta) * (p / e - 1.0));
}

// Bogel uses t + 273 (not 273.15); the divisions by 43, 107 and 338 are multiplications.
constexpr double kBogelKelvinOffset = 273.0;

double BogelWaterFactor(double e, double p, double t) {
  return 1.0 + (1e-4 * e / (t + kBogelKelvinOffset)) *
                   ((38.0 + 173.0 * std::exp(t * -0.023255813953488372)) * (1.0 - e / p) +
                    (6.39 + 4.28 * std::exp(t * -0.009345794392523364)) * (p / e - 1.0));
}

double BogelIceFactor(double e, double p, double t) {
  return 1.0 + (1e-5 * e / (t + kBogelKelvinOffset)) *
                   ((2100.0 - 65.0 * t) * (1.0 - e / p) +
                    (109.0 - 0.35 * t + t * t * 0.0029585798816568047) * (p / e - 1.0));
}

// e multiplied by the enhancement factor. `phase` says which set applies: Greenspan
// distinguishes supercooled water (water below 0 degC) from water and ice.
double Enhance(EnhancementFactor factor, Phase phase, double e, double p, double t) {
  switch (factor) {
    case EnhancementFactor::Greenspan: {
      const GreenspanCoefficients& set = phase == Phase::Ice ? kGreenspanIce
                                         : t < 0.0           ? kGreenspanSupercooled
                                                             : kGreenspanWater;
      return e * GreenspanFactor(set, e, p, t);
    }
    case EnhancementFactor::Bogel:
      return e * (phase == Phase::Ice ? BogelIceFactor(e, p, t) : BogelWaterFactor(e, p, t));
    case EnhancementFactor::None:
      break;
  }
  return e;
}

}  // namespace

double SaturationPressureWater(double temperatureC, double totalPressureMbar,
                               const MoistureModel& model) {
  // Hyland-Wexler has no supercooled-water equation: its ice equation serves below 0 degC.
  const bool hylandWexlerBelowZero =
      model.formulation == Formulation::HylandWexler && temperatureC < 0.0;
  const double e = BasePressure(model.formulation,
                                hylandWexlerBelowZero ? Phase::Ice : Phase::Water, temperatureC);
  return Enhance(model.enhancement, Phase::Water, e, totalPressureMbar, temperatureC);
}

double SaturationPressureIce(double temperatureC, double totalPressureMbar,
                             const MoistureModel& model) {
  const Phase phase = temperatureC < 0.0 ? Phase::Ice : Phase::Water;
  return Enhance(model.enhancement, phase, BasePressure(model.formulation, phase, temperatureC),
                 totalPressureMbar, temperatureC);
}

}  // namespace ruruzir
