// The values the calculator window keeps between conversions and saves: the stored physics
// options, the four unit codes and both sides' parameters, and the choices they are stored as
// (its dialogs' radio-button identifiers). The window's process-wide record holds them and the
// settings texts read and write them; conversions never see them, only the model and the side
// parameters they stand for (ModelFromStoredOptions, ParametersOf).
#pragma once

#include <cstdint>

#include "physics/moisture_model.h"

namespace ruruzir {

// Choices are stored as the identifiers of their dialogs' radio buttons.
constexpr int32_t kFormulationHylandWexler = 1018;
constexpr int32_t kFormulationGoffGratch = 1019;
constexpr int32_t kFormulationSonntag = 1020;
constexpr int32_t kFormulationMagnus = 1021;  // also every value other than the three above
constexpr int32_t kEnhancementNone = 1022;    // also every value other than the two below
constexpr int32_t kEnhancementBogel = 1023;
constexpr int32_t kEnhancementGreenspan = 1024;
constexpr int32_t kGasAir = 1001;
constexpr int32_t kGasOther = 1013;
constexpr int32_t kAmbientCelsius = 1015;
constexpr int32_t kAmbientFahrenheit = 1016;
constexpr int32_t kMediumWaterVapour = 1028;
constexpr int32_t kMediumAir = 1029;
constexpr int32_t kMediumNaturalGas = 1030;
constexpr int32_t kPrevailingCelsius = 1033;
constexpr int32_t kPrevailingFahrenheit = 1034;
constexpr int32_t kLiquidHexane = 1054;
constexpr int32_t kLiquidOther = 1059;

// A stored choice as its low 16 bits, the part that the dialogs and the physics compare.
constexpr uint16_t LowWord(int32_t value) {
  return static_cast<uint16_t>(static_cast<uint32_t>(value));
}

// One side's auxiliary parameters. Choice fields hold radio-button identifiers; temperatures
// are always degrees Celsius, whatever the unit fields say.
struct SideContext {
  int32_t gasChoice;
  float molecularWeight;
  int32_t liquidChoice;
  float henryConstant;
  int32_t ambientUnit;
  float ambientTemperature;
  int32_t prevailingUnit;
  float prevailingTemperature;
  int32_t densityMedium;
};

// The source conversion values with which the text now in the source value box was computed.
struct AppliedSource {
  float molecularWeight;
  float henryConstant;
  float ambientTemperature;
  float prevailingTemperature;
  uint16_t densityMedium;
};

struct CalculatorValues {
  int32_t svpFormulation;
  int32_t enhancementFactor;
  uint16_t pendingSvpFormulation;  // chosen in Preferences, not yet committed
  uint16_t pendingEnhancementFactor;
  int32_t sourceMoistureUnit;
  int32_t sourcePressureUnit;
  int32_t targetMoistureUnit;
  int32_t targetPressureUnit;
  SideContext source;
  SideContext target;
  AppliedSource appliedSource;
};

// The parameters a side has before any setting is loaded.
SideContext DefaultSideContext();

// appliedSource := the five conversion values of source (the medium as its low 16 bits).
void ApplySource(CalculatorValues& values);

// The model the stored options stand for: their low 16 bits are compared with the
// Preferences buttons, and any other value acts as Magnus and as no enhancement factor.
MoistureModel ModelFromStoredOptions(int32_t svpFormulation, int32_t enhancementFactor);

// The medium a stored density choice stands for; any value but air and natural gas is
// computed as pure water vapour.
DensityMedium DensityMediumFromChoice(int32_t densityMedium);

// A side's parameters as the physics takes them.
SideParameters ParametersOf(const SideContext& side);
SideParameters ParametersOf(const AppliedSource& applied);

}  // namespace ruruzir
