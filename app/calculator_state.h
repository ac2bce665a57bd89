// The one process-wide record of the calculator, and the copy steps between its members.
// Win32-free: window and instance handles are kept as untyped pointers so that the physics
// and the native tests can include this header.
#pragma once

#include <cstdint>

// Values of the two physics options: the identifiers of the Preferences radio buttons.
enum SvpFormulation : int32_t {
  HylandWexler = 1018,
  GoffGratch = 1019,
  Sonntag = 1020,
  Magnus = 1021,  // also every value other than the three above
};

enum EnhancementFactor : int32_t {
  NoFactor = 1022,  // also every value other than the two below
  Bogel = 1023,
  Greenspan = 1024,
};

// Radio-button identifiers stored as choices.
enum ChoiceId : int32_t {
  kGasAir = 1001,
  kGasOther = 1013,
  kAmbientCelsius = 1015,
  kAmbientFahrenheit = 1016,
  kMediumWaterVapour = 1028,
  kMediumAir = 1029,
  kMediumNaturalGas = 1030,
  kPrevailingCelsius = 1033,
  kPrevailingFahrenheit = 1034,
  kLiquidHexane = 1054,
  kLiquidOther = 1059,
};

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

// The dialogs' exchange area: a side context with 16-bit choice and unit fields.
struct WorkingContext {
  uint16_t gasChoice;
  float molecularWeight;
  uint16_t liquidChoice;
  float henryConstant;
  uint16_t ambientUnit;
  float ambientTemperature;
  uint16_t prevailingUnit;
  float prevailingTemperature;
  uint16_t densityMedium;
};

constexpr int kDescriptionSize = 52;  // 51 characters and the terminating NUL

struct CalculatorState {
  void* instance;    // HINSTANCE of the program
  void* mainWindow;  // HWND of the main window
  int32_t svpFormulation;
  int32_t enhancementFactor;
  uint16_t pendingSvpFormulation;
  uint16_t pendingEnhancementFactor;
  int32_t sourceMoistureUnit;
  int32_t sourcePressureUnit;
  int32_t targetMoistureUnit;
  int32_t targetPressureUnit;
  SideContext source;
  SideContext target;
  AppliedSource appliedSource;
  WorkingContext working;
  char gasDescription[kDescriptionSize];
  char liquidDescription[kDescriptionSize];
  char ambientDescription[kDescriptionSize];
  char densityDescription[kDescriptionSize];
};

// The single instance; zero and empty at process start.
extern CalculatorState calculator;

// The parameters a side has before any setting is loaded.
SideContext DefaultSideContext();

// appliedSource := the five conversion values of source (the medium as its low 16 bits).
void ApplySource(CalculatorState& state);

// Copies the group of side fields that moisture unit `unitCode` (5, 7, 9 or 10) needs into
// working, narrowing choices to 16 bits; other codes copy nothing.
void FillWorking(CalculatorState& state, const SideContext& side, int unitCode);

// Copies the same group back from working into the side, widening choices with zeros.
void TakeBackWorking(const CalculatorState& state, SideContext& side, int unitCode);

// The description text of the dialog that belongs to `unitCode`, or nullptr.
const char* DescriptionForUnit(const CalculatorState& state, int unitCode);
