// The calculator's kept values: defaults, the applied source, and what the stored options and
// choices stand for in the physics.
#include "core/calculator_values.h"

#include "core/vocabulary.h"

namespace ruruzir {

SideContext DefaultSideContext() {
  const SideParameters defaults = DefaultSideParameters();
  SideContext side{};
  side.gasChoice = kGasAir;
  side.molecularWeight = static_cast<float>(defaults.molecularWeight);
  side.liquidChoice = kLiquidHexane;
  side.henryConstant = static_cast<float>(defaults.henryConstant);
  side.ambientUnit = kAmbientCelsius;
  side.ambientTemperature = static_cast<float>(defaults.ambientTemperatureC);
  side.prevailingUnit = kPrevailingCelsius;
  side.prevailingTemperature = static_cast<float>(defaults.prevailingTemperatureC);
  side.densityMedium = defaults.densityMedium == DensityMedium::NaturalGas ? kMediumNaturalGas
                       : defaults.densityMedium == DensityMedium::Air      ? kMediumAir
                                                                           : kMediumWaterVapour;
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
