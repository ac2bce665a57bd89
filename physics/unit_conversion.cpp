// Moisture units into and out of ppmV.
#include "physics/unit_conversion.h"

#include "physics/composition.h"
#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"

namespace ruruzir {
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

double ToPpmV(MoistureUnitCode unit, double value, double totalPressure, const SideParameters& side,
              const MoistureModel& model) {
  double partialPressure;
  switch (unit) {
    case MoistureUnitCode::DewFrostPointC:
      partialPressure = SaturationPressureIce(value, totalPressure, model);
      break;
    case MoistureUnitCode::DewPointC:
      partialPressure = SaturationPressureWater(value, totalPressure, model);
      break;
    case MoistureUnitCode::DewFrostPointF:
      partialPressure = SaturationPressureIce(FahrenheitToCelsius(value), totalPressure, model);
      break;
    case MoistureUnitCode::DewPointF:
      partialPressure = SaturationPressureWater(FahrenheitToCelsius(value), totalPressure, model);
      break;
    case MoistureUnitCode::PpmV:
      return value;
    case MoistureUnitCode::PpmWGas:
      return value * side.molecularWeight * kReciprocalWaterMolecularWeight;
    case MoistureUnitCode::LbsPerMmscf:
      partialPressure = PressureFromNaturalGasContent(value, totalPressure);
      if (partialPressure == NO_SOLUTION) return NO_SOLUTION;
      break;
    case MoistureUnitCode::GramsPerM3:
      partialPressure = PressureFromDensity(value, totalPressure, side.prevailingTemperatureC,
                                            side.densityMedium);
      if (partialPressure == NO_SOLUTION) return NO_SOLUTION;
      break;
    case MoistureUnitCode::VapourPressureMbar:
      partialPressure = value;
      break;
    case MoistureUnitCode::RelativeHumidity:
      partialPressure =
          SaturationPressureWater(side.ambientTemperatureC, totalPressure, model) * value * 0.01;
      break;
    case MoistureUnitCode::PpmWLiquid:
      partialPressure = value / side.henryConstant;
      break;
    default:  // no moisture unit
      return totalPressure;
  }
  return PpmVFromPressure(partialPressure, totalPressure);
}

double FromPpmV(MoistureUnitCode unit, double ppmV, double totalPressure,
                const SideParameters& side, double referencePressure, const MoistureModel& model) {
  switch (unit) {
    case MoistureUnitCode::DewFrostPointC:
      return SolveDewFrostPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model);
    case MoistureUnitCode::DewPointC:
      return SolveDewPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model);
    case MoistureUnitCode::DewFrostPointF:
      return DewPointToFahrenheit(
          SolveDewFrostPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model));
    case MoistureUnitCode::DewPointF:
      return DewPointToFahrenheit(
          SolveDewPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model));
    case MoistureUnitCode::PpmV:
      return ppmV;
    case MoistureUnitCode::PpmWGas:
      return ppmV * kWaterMolecularWeight / side.molecularWeight;
    case MoistureUnitCode::LbsPerMmscf:
      return NaturalGasWaterContent(PressureFromPpmV(ppmV, referencePressure), referencePressure);
    case MoistureUnitCode::GramsPerM3:
      return VapourDensity(PressureFromPpmV(ppmV, referencePressure), referencePressure,
                           side.prevailingTemperatureC, side.densityMedium);
    case MoistureUnitCode::VapourPressureMbar:
      return PressureFromPpmV(ppmV, totalPressure);
    case MoistureUnitCode::RelativeHumidity:
      return PressureFromPpmV(ppmV, totalPressure) /
             SaturationPressureWater(side.ambientTemperatureC, totalPressure, model) * kPercent;
    case MoistureUnitCode::PpmWLiquid:
      return PressureFromPpmV(ppmV, totalPressure) * side.henryConstant;
    default:  // no moisture unit
      return totalPressure;
  }
}

}  // namespace ruruzir
