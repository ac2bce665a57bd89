// Moisture units into and out of ppmV.
#include "physics/unit_conversion.h"

#include <cmath>

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

// A dew point in degC to degF, keeping the solver's "no answer". A tenth given as its nearest
// double goes over as the double nearest to the hundredths of degF it stands for: 18 per tenth of
// a degC, 3200 at 0 degC.
double DewPointToFahrenheit(double celsius, DewPointPrecision precision) {
  if (celsius == NO_SOLUTION) return NO_SOLUTION;
  if (precision == DewPointPrecision::DecimalTenths) {
    return (std::nearbyint(celsius * 10.0) * 18.0 + kFahrenheitOffset * 100.0) / 100.0;
  }
  return celsius * 0.2 * 9.0 + kFahrenheitOffset;
}

}  // namespace

bool DewPointSource(MoistureUnitCode unit, double value, double* celsius, bool* overIce) {
  const bool fahrenheit =
      unit == MoistureUnitCode::DewFrostPointF || unit == MoistureUnitCode::DewPointF;
  *overIce = unit == MoistureUnitCode::DewFrostPointC || unit == MoistureUnitCode::DewFrostPointF;
  *celsius = fahrenheit ? FahrenheitToCelsius(value) : value;
  return *overIce || fahrenheit || unit == MoistureUnitCode::DewPointC;
}

bool IsDewPointUnit(MoistureUnitCode unit) {
  double celsius;
  bool overIce;
  return DewPointSource(unit, 0.0, &celsius, &overIce);
}

void DewPointsFromPpmV(MoistureUnitCode unit, size_t count, const double* ppmV,
                       const double* totalPressures, const MoistureModel& model,
                       DewPointPrecision precision, double* values) {
  const bool overIce =
      unit == MoistureUnitCode::DewFrostPointC || unit == MoistureUnitCode::DewFrostPointF;
  const bool fahrenheit =
      unit == MoistureUnitCode::DewFrostPointF || unit == MoistureUnitCode::DewPointF;
  for (size_t i = 0; i < count; ++i) values[i] = PressureFromPpmV(ppmV[i], totalPressures[i]);
  SolveDewPointArray(overIce, count, values, totalPressures, model, precision, values);
  if (!fahrenheit) return;
  for (size_t i = 0; i < count; ++i) values[i] = DewPointToFahrenheit(values[i], precision);
}

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
                const SideParameters& side, double referencePressure, const MoistureModel& model,
                DewPointPrecision precision) {
  switch (unit) {
    case MoistureUnitCode::DewFrostPointC:
      return SolveDewFrostPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model,
                                precision);
    case MoistureUnitCode::DewPointC:
      return SolveDewPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model, precision);
    case MoistureUnitCode::DewFrostPointF:
      return DewPointToFahrenheit(SolveDewFrostPoint(PressureFromPpmV(ppmV, totalPressure),
                                                     totalPressure, model, precision),
                                  precision);
    case MoistureUnitCode::DewPointF:
      return DewPointToFahrenheit(
          SolveDewPoint(PressureFromPpmV(ppmV, totalPressure), totalPressure, model, precision),
          precision);
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
