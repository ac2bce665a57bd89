// Every dialog of the calculator, each run modally by one typed function. A parameter dialog
// is given its fields in a struct that it edits in place; the caller copies them in before
// and back after, whatever the user did.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ruruzir {

constexpr int kDescriptionSize = 52;  // 51 characters and the terminating NUL

// The carrier gas for ppmW in a gas. Choices are held as 16-bit button identifiers.
struct GasChoice {
  uint16_t choice;
  float molecularWeight;
  char description[kDescriptionSize];
};
void ChooseGas(HWND owner, GasChoice& gas);

// The liquid for ppmW in a liquid.
struct LiquidChoice {
  uint16_t choice;
  float henryConstant;
  char description[kDescriptionSize];
};
void ChooseLiquid(HWND owner, LiquidChoice& liquid);

// The ambient (dry-bulb) temperature for %RH, held in degC whatever the unit.
struct AmbientChoice {
  uint16_t unit;
  float temperature;
  char description[kDescriptionSize];
};
void ChooseAmbientTemperature(HWND owner, AmbientChoice& ambient);

// The density medium and the prevailing temperature (degC) for g/m3.
struct DensityChoice {
  uint16_t prevailingUnit;
  float prevailingTemperature;
  uint16_t medium;
  char description[kDescriptionSize];
};
void ChooseDensity(HWND owner, DensityChoice& density);
// Writes the description the density dialog's OK leaves for the medium, unit and temperature
// `density` holds (natural gas at its standard temperature), without opening the dialog.
void DescribeDensity(DensityChoice& density);

// The physics options: committed on OK; `pending` follows the buttons while the dialog is
// open; `save` runs when the user asks for every setting to be saved.
struct PreferencesChoice {
  int32_t svpFormulation;
  int32_t enhancementFactor;
  uint16_t pendingSvpFormulation;
  uint16_t pendingEnhancementFactor;
  void (*save)(const PreferencesChoice& preferences);
};
void EditPreferences(HWND owner, PreferencesChoice& preferences);

void ShowAbout(HWND owner);
void ShowNotice(HWND owner);
void RunLoopCalculator(HWND owner);

}  // namespace ruruzir
