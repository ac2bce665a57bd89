// Start-up and the main window: class registration, the window procedure, initialisation,
// the banner button and the message loop.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL InitialiseMainWindow(HWND window);
void DrawBannerButton(HWND window, const DRAWITEMSTRUCT* item);

// Fills the four unit combo boxes from the catalogues, each emptied first.
void FillUnitCombos(HWND window);

// Registers the window class "mCalc".
void RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden main window from the template "MCALC"; NULL on failure.
HWND CreateMainWindow(HINSTANCE instance);

// Appends the separator and the three commands to the window's system menu.
void AppendSystemMenuItems(HWND window);

// The whole start-up and the message loop; returns the process exit code.
int RunCalculator(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);
