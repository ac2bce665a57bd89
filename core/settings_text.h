// The texts of the settings section: composing each key's value and reading it back into the
// calculator state. Win32-free; only the profile calls live in the Windows part.
#pragma once

#include "core/calculator_values.h"

namespace ruruzir {

enum SettingsKey : int {
  kSrcDew,
  kSrcPrs,
  kTrgDew,
  kTrgPrs,
  kMolWt,
  kLiq,
  kAmbTemp,
  kDensityMedium,
  kPrevTemp,
  kSWVPcal,
  kSettingsKeyCount,
};

extern const char kSettingsSection[];  // "ZazUdur"
extern const char* const kSettingsKeyNames[kSettingsKeyCount];
extern const SettingsKey kSettingsLoadOrder[kSettingsKeyCount];
extern const SettingsKey kSettingsSaveOrder[kSettingsKeyCount];

constexpr int kSettingsComposeSize = 52;  // a value text is composed in 51 characters
constexpr int kSettingsReadSize = 50;     // and read back from its first 49

// What the save takes from the main window's controls: edit texts (first 14 characters) and
// combo-box selection indices (-1 when nothing is selected).
struct MainWindowFields {
  char sourceValue[15];
  int sourceUnitIndex;
  char sourcePressure[15];
  int sourcePressureIndex;
  int targetUnitIndex;
  char targetPressure[15];
  int targetPressureIndex;
};

// Composes the value text of `key` into `text` (room for kSettingsComposeSize bytes); a text
// that would be longer is cut there. An edit field's text is written as shown when it reads
// back as the number the field holds; otherwise as that number ("7,5" as "7.5", "900 mbar" as
// "900", a text without a number as "0"), so that number and unit index both load again.
void ComposeSettingsText(SettingsKey key, const CalculatorValues& state,
                         const MainWindowFields& fields, char* text);

// Reads one key's value text into the state: an empty text sets the key's defaults; a text
// that parses only in part fills the members before the first mismatch and leaves the rest.
// A unit index outside its catalogue is loaded as unit 0. For SrcDew, SrcPrs and TrgPrs,
// *fieldNumber receives the number to show in the key's edit box: the stored number, or the
// key's default when the text is empty or does not begin with a number. A stored value beyond
// single precision loads as the default of its member, never as an infinity.
void LoadSettingsText(SettingsKey key, const char* text, CalculatorValues& state,
                      float* fieldNumber);

// A small formatted-input scanner for the settings formats: "%f" (float*), "%d" (int*), and
// literal characters that must match exactly. Returns how many fields were assigned.
int ScanSettingsText(const char* text, const char* format, ...);

}  // namespace ruruzir
