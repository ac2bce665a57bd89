// The calculator's kept values: defaults, the applied source, and what the stored options and
// choices stand for in the physics.
#include "core/calculator_values.h"

namespace ruruzir {

SideContext DefaultSideContext() {
  SideContext side{};
  side.gasChoice = kGasAir;
  side.molecularWeight = 29.0f;
  side.liquidChoice = kLiquidHexane;
  side.henryConstant = 1.9f;
  side.ambientUnit = kAmbientCelsius;
  side.ambientTemperature = 20.0f;
  side.prevailingUnit = kPrevailingCelsius;
  side.prevailingTemperature = 20.0f;
  side.densityMedium = kMediumNaturalGas;
  return side;
}

void ApplySource(CalculatorValues& values) {
  values.appliedSource.molecularWeight = values.source.molecularWeight;
  values.appliedSource.henryConstant = values.source.henryConstant;
  values.appliedSource.ambientTemperature = values.source.ambientTemperature;
  values.appliedSource.prevailingTemperature = values.source.prevailingTemperature;
  values.appliedSource.densityMedium = LowWord(values.source.densityMedium);
}

MoistureModel ModelFromStoredOptions(int32_t svpFormulation, int32_t enhancementFactor) {
  MoistureModel model{Formulation::Magnus, EnhancementFactor::None};
  switch (LowWord(svpFormulation)) {
    case kFormulationHylandWexler:
      model.formulation = Formulation::HylandWexler;
      break;
    case kFormulationGoffGratch:
      model.formulation = Formulation::GoffGratch;
      break;
    case kFormulationSonntag:
      model.formulation = Formulation::Sonntag;
      break;
    default:
      break;
  }
  switch (LowWord(enhancementFactor)) {
    case kEnhancementBogel:
      model.enhancement = EnhancementFactor::Bogel;
      break;
    case kEnhancementGreenspan:
      model.enhancement = EnhancementFactor::Greenspan;
      break;
    default:
      break;
  }
  return model;
}

DensityMedium DensityMediumFromChoice(int32_t densityMedium) {
  if (densityMedium == kMediumNaturalGas) return DensityMedium::NaturalGas;
  if (densityMedium == kMediumAir) return DensityMedium::Air;
  return DensityMedium::WaterVapour;
}

SideParameters ParametersOf(const SideContext& side) {
  return {side.ambientTemperature, side.molecularWeight, side.henryConstant,
          side.prevailingTemperature, DensityMediumFromChoice(side.densityMedium)};
}

SideParameters ParametersOf(const AppliedSource& applied) {
  return {applied.ambientTemperature, applied.molecularWeight, applied.henryConstant,
          applied.prevailingTemperature, DensityMediumFromChoice(applied.densityMedium)};
}

}  // namespace ruruzir
