// The process-wide calculator record and the copies between its members.
#include "app/calculator_state.h"

#include "core/unit_catalogues.h"
#include "resources/resource_ids.h"

namespace ruruzir {

CalculatorState calculator;

// The stored options are the Preferences buttons' identifiers.
static_assert(kFormulationHylandWexler == IDC_HYLAND_WEXLER &&
                  kFormulationGoffGratch == IDC_GOFF_GRATCH && kFormulationSonntag == IDC_SONNTAG &&
                  kFormulationMagnus == IDC_MAGNUS,
              "formulation choices are the Preferences buttons");
static_assert(kEnhancementNone == IDC_NO_ENHANCEMENT && kEnhancementBogel == IDC_BOGEL &&
                  kEnhancementGreenspan == IDC_GREENSPAN,
              "enhancement choices are the Preferences buttons");
static_assert(kMediumWaterVapour == IDC_MEDIUM_WATER_VAPOUR && kMediumAir == IDC_MEDIUM_AIR &&
                  kMediumNaturalGas == IDC_MEDIUM_NATURAL_GAS,
              "density media are the density dialog's buttons");
static_assert(kGasAir == IDC_GAS_AIR && kGasOther == IDC_GAS_OTHER &&
                  kLiquidOther == IDC_LIQUID_OTHER && kAmbientCelsius == IDC_AMBIENT_CELSIUS &&
                  kAmbientFahrenheit == IDC_AMBIENT_FAHRENHEIT &&
                  kPrevailingCelsius == IDC_PREVAILING_CELSIUS &&
                  kPrevailingFahrenheit == IDC_PREVAILING_FAHRENHEIT,
              "side choices are their dialogs' buttons");

MoistureModel CalculatorModel() {
  return ModelFromStoredOptions(calculator.svpFormulation, calculator.enhancementFactor);
}

const char* DescriptionForUnit(const CalculatorState& state, int unitCode) {
  switch (unitCode) {
    case Code(MoistureUnitCode::PpmWGas):
      return state.gasDescription;
    case Code(MoistureUnitCode::PpmWLiquid):
      return state.liquidDescription;
    case Code(MoistureUnitCode::GramsPerM3):
      return state.densityDescription;
    case Code(MoistureUnitCode::RelativeHumidity):
      return state.ambientDescription;
    default:
      return nullptr;
  }
}

}  // namespace ruruzir
