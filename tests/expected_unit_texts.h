// The unit item texts as the user must see them, byte for byte in Windows-1252 (0xB0 degree
// sign, 0xB3 superscript three, 0xB5 micro sign), written out independently of the program.
#pragma once

const char* const kExpectedMoistureItemTexts[11] = {
    "\xB0"
    "C  ...  dew/frost point",
    "\xB0"
    "C  ...  dewpoint (no ice) supercooled water",
    "\xB0"
    "F  ...  dew/frost point",
    "\xB0"
    "F  ...  dewpoint (no ice) supercooled water",
    "ppmV  ...  Volumetric parts per million",
    "ppmW(mol/mol)  ...  parts per million by weight| choose gas...",
    "lbs H2O per Million Feet\xB3 ... water vapor density in Natural Gas @ STP: per IGT",
    "grams H2O per meter\xB3... vapor density| specify medium...",
    "mb  ...  partial water vapor pressure",
    "%RH  ...  percent Relative Humidity| choose temp...",
    "ppmW(\xB5g/g)  ...  parts per million by weight| choose liquid...",
};

const char* const kExpectedPressureNames[5] = {"mBAR", "PSI", "PSIG", "ATM", "kPa"};
