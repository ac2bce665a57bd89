// Saturation vapour pressure of water and ice, in the formulation and with the enhancement
// factor currently in force in the calculator state (read afresh at every call).
#pragma once

// Over liquid water, continued below 0 degC as supercooled water (Hyland-Wexler uses its ice
// equation there). Temperature in degC, total pressure and result in mbar.
double SaturationPressureWater(double temperatureC, double totalPressureMbar);

// Over ice below 0 degC and over water at and above 0 degC.
double SaturationPressureIce(double temperatureC, double totalPressureMbar);

// The formulation and the enhancement factor in force, each reduced to the named value that
// selects the same equations (HylandWexler..Magnus, NoFactor..Greenspan).
struct SaturationOptions {
  int formulation;
  int enhancementFactor;
};
SaturationOptions SaturationOptionsInForce();
