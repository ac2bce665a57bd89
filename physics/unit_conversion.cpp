// Moisture units into and out of ppmV.
#include "physics/unit_conversion.h"

#include "app/unit_catalogues.h"
#include "physics/composition.h"
#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"

namespace {

constexpr double kFahrenheitOffset = 32.0;
constexpr double kOneNinth = 0.1111111111111111;
constexpr double kWaterMolecularWeight = 18.0;
constexpr double kReciprocalWaterMolecularWeight = 0.05555555555555555;  // 1/18
constexpr double kPercent = 100.0;

double FahrenheitToCelsius(double fahrenheit) {
  return (fahrenheit - kFahrenheitOffset) * 5.0 * kOneNinth;
}

// A dew point in degC to degF, keeping the solver's "no answer".
double DewPointToFahrenheit(double celsius) {
  if (celsius == NO_SOLUTION) return NO_SOLUTION;
  return celsius * 0.2 * 9.0 + kFahrenheitOffset;
}

}  // namespace

double ToPpmV(int unit, double value, double totalPressure, double ambientTemperatureC,
              double molecularWeight, double henryConstant, double prevailingTemperatureC,
              int densityMedium) {
  double partialPressure;
  switch (unit) {
    case DewFrostPointC:
      partialPressure = SaturationPressureIce(value, totalPressure);
      break;
    case DewPointC:
      partialPressure = SaturationPressureWater(value, totalPressure);
      break;
    case DewFrostPointF:
      partialPressure = SaturationPressureIce(FahrenheitToCelsius(value), totalPressure);
      break;
    case DewPointF:
      partialPressure = SaturationPressureWater(FahrenheitToCelsius(value), totalPressure);
      break;
    case PpmV:
      return value;
    case PpmWGas:
      return value * molecularWeight * kReciprocalWaterMolecularWeight;
    case LbsPerMmscf:
      partialPressure = PressureFromNaturalGasContent(value, totalPressure);
      if (partialPressure == NO_SOLUTION) return NO_SOLUTION;
      break;
    case GramsPerM3:
      partialPressure =
          PressureFromDensity(value, totalPressure, prevailingTemperatureC, densityMedium);
      if (partialPressure == NO_SOLUTION) return NO_SOLUTION;
      break;
    case VapourPressureMbar:
      partialPressure = value;
      break;
    case RelativeHumidity:
      partialPressure = SaturationPressureWater(ambientTemperatureC, totalPressure) * value * 0.01;
      break;
    case PpmWLiquid:
      partialPressure = value / henryConstant;
      break;
    default:
      return totalPressure;
  }
  return PpmVFromPressure(partialPressure, totalPressure);
}

double FromPpmV(int unit, double ppmV, double totalPressure, double ambientTemperatureC,
                double molecularWeight, double henryConstant, double prevailingTemperatureC,
                int densityMedium, double referencePressure) {
  switch (unit) {
    case DewFrostPointC:
      return SolveDewFrostPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure);
    case DewPointC:
      return SolveDewPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure);
    case DewFrostPointF:
      return DewPointToFahrenheit(
          SolveDewFrostPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure));
    case DewPointF:
      return DewPointToFahrenheit(
          SolveDewPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure));
    case PpmV:
      return ppmV;
    case PpmWGas:
      return ppmV * kWaterMolecularWeight / molecularWeight;
    case LbsPerMmscf:
      return NaturalGasWaterContent(PressureFromPpmV(ppmV, referencePressure), referencePressure);
    case GramsPerM3:
      return VapourDensity(PressureFromPpmV(ppmV, referencePressure), referencePressure,
                           prevailingTemperatureC, densityMedium);
    case VapourPressureMbar:
      return PressureFromPpmV(ppmV, totalPressure);
    case RelativeHumidity:
      return PressureFromPpmV(ppmV, totalPressure) /
             SaturationPressureWater(ambientTemperatureC, totalPressure) * kPercent;
    case PpmWLiquid:
      return PressureFromPpmV(ppmV, totalPressure) * henryConstant;
    default:
      return totalPressure;
  }
}
