// Loading and saving the settings in the user's profile, section "ZazUdur".
#pragma once

#include <windows.h>

// Reads the ten keys into the main window's controls and the calculator state.
void LoadSettings(HWND window);

// Writes the ten keys from the main window's controls, both sides and the pending options.
void SaveSettings();
