// What the physics is told instead of reading it from anywhere: the saturation formulation
// and the enhancement factor in force, the unit a moisture value is stated in, and one side's
// parameters for the units that need them.
#pragma once

namespace ruruzir {

enum class Formulation { HylandWexler, GoffGratch, Sonntag, Magnus };

enum class EnhancementFactor { None, Bogel, Greenspan };

struct MoistureModel {
  Formulation formulation;
  EnhancementFactor enhancement;
};

// How a dew or frost point is given. Tenths: the whole tenth of a degree the calculator has always
// shown, each a multiple of the double 0.1 (-821 * 0.1 is -82.10000000000001). DecimalTenths:
// the same tenths, each the double nearest to its decimal (-82.1). Exact: the temperature at which
// the saturation pressure of the formulation, with its enhancement factor at the total pressure,
// equals the partial pressure, to 1e-9 degC or better. DecimalTenths answer where Tenths do;
// Exact too, except where the saturation pressure has no root (physics/dew_point_solver.h).
enum class DewPointPrecision { Tenths, DecimalTenths, Exact };

// Moisture units by their catalogue code (the row, the combo item, the stored value).
enum class MoistureUnitCode : int {
  DewFrostPointC = 0,
  DewPointC = 1,
  DewFrostPointF = 2,
  DewPointF = 3,
  PpmV = 4,
  PpmWGas = 5,
  LbsPerMmscf = 6,
  GramsPerM3 = 7,
  VapourPressureMbar = 8,
  RelativeHumidity = 9,
  PpmWLiquid = 10,
};

// The medium whose water vapour density g/m3 means.
enum class DensityMedium { WaterVapour, Air, NaturalGas };

// One side's parameters: ambient temperature for %RH, molecular weight for ppmW in a gas,
// Henry's constant for ppmW in a liquid, prevailing temperature and medium for g/m3.
struct SideParameters {
  double ambientTemperatureC;
  double molecularWeight;
  double henryConstant;
  double prevailingTemperatureC;
  DensityMedium densityMedium;
};

}  // namespace ruruzir
