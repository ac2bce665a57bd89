// Loading and saving the settings in the user's profile, section "ZazUdur".
#pragma once

#include <windows.h>

namespace ruruzir {

// Reads the ten keys into the main window's controls and the calculator state, from the
// settings file when it holds the section, otherwise from the profile.
void LoadSettings(HWND window);

// Writes the ten keys from the main window's controls, both sides and the pending options: to
// the settings file once it holds the section, otherwise to the profile, and to the settings
// file when a profile write fails. A message box says so when neither could be written.
void SaveSettings();

// The per-user settings file, "%APPDATA%\Ruruzir\ruruzir.ini"; false when it has no place.
bool SettingsFileLocation(char path[MAX_PATH]);

}  // namespace ruruzir
