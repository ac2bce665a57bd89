// The process-wide calculator record and the copies between its members.
#include "app/calculator_state.h"

#include "app/unit_catalogues.h"

CalculatorState calculator;

namespace {

uint16_t LowWord(int32_t value) {
  return static_cast<uint16_t>(static_cast<uint32_t>(value));
}

}  // namespace

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

void ApplySource(CalculatorState& state) {
  state.appliedSource.molecularWeight = state.source.molecularWeight;
  state.appliedSource.henryConstant = state.source.henryConstant;
  state.appliedSource.ambientTemperature = state.source.ambientTemperature;
  state.appliedSource.prevailingTemperature = state.source.prevailingTemperature;
  state.appliedSource.densityMedium = LowWord(state.source.densityMedium);
}

void FillWorking(CalculatorState& state, const SideContext& side, int unitCode) {
  WorkingContext& working = state.working;
  switch (unitCode) {
    case PpmWGas:
      working.gasChoice = LowWord(side.gasChoice);
      working.molecularWeight = side.molecularWeight;
      break;
    case PpmWLiquid:
      working.liquidChoice = LowWord(side.liquidChoice);
      working.henryConstant = side.henryConstant;
      break;
    case GramsPerM3:
      working.prevailingUnit = LowWord(side.prevailingUnit);
      working.prevailingTemperature = side.prevailingTemperature;
      working.densityMedium = LowWord(side.densityMedium);
      break;
    case RelativeHumidity:
      working.ambientUnit = LowWord(side.ambientUnit);
      working.ambientTemperature = side.ambientTemperature;
      break;
    default:
      break;
  }
}

void TakeBackWorking(const CalculatorState& state, SideContext& side, int unitCode) {
  const WorkingContext& working = state.working;
  switch (unitCode) {
    case PpmWGas:
      side.gasChoice = working.gasChoice;
      side.molecularWeight = working.molecularWeight;
      break;
    case PpmWLiquid:
      side.liquidChoice = working.liquidChoice;
      side.henryConstant = working.henryConstant;
      break;
    case GramsPerM3:
      side.densityMedium = working.densityMedium;
      side.prevailingTemperature = working.prevailingTemperature;
      side.prevailingUnit = working.prevailingUnit;
      break;
    case RelativeHumidity:
      side.ambientTemperature = working.ambientTemperature;
      side.ambientUnit = working.ambientUnit;
      break;
    default:
      break;
  }
}

const char* DescriptionForUnit(const CalculatorState& state, int unitCode) {
  switch (unitCode) {
    case PpmWGas:
      return state.gasDescription;
    case PpmWLiquid:
      return state.liquidDescription;
    case GramsPerM3:
      return state.densityDescription;
    case RelativeHumidity:
      return state.ambientDescription;
    default:
      return nullptr;
  }
}
