// Start-up and the main window: class registration, the window procedure, initialisation,
// the banner button and the message loop.
#pragma once

#include <windows.h>

namespace ruruzir {

// The banner button's drawing (WM_DRAWITEM).
void DrawBannerButton(HWND window, const DRAWITEMSTRUCT* item);

// Registers the window class "mCalc".
void RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden main window from the template "MCALC"; NULL on failure.
HWND CreateMainWindow(HINSTANCE instance);

// Appends the separator and the three commands to the window's system menu.
void AppendSystemMenuItems(HWND window);

// Shows the initialised window once the notice is closed: the first paint computes the
// result; the system menu gets its additions; the moisture value box gets the focus with its
// whole text selected.
void ShowMainWindow(HWND window, int showCommand);

// Hands a message of the main window or its controls to the dialog manager, which gives the
// window its keyboard: Tab and Shift+Tab between the controls, Enter and Escape answered
// without a sound. True when the dialog manager has handled (and dispatched) it.
bool RouteDialogKeys(MSG* message);

// The whole start-up and the message loop; returns the process exit code.
int RunCalculator(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);

}  // namespace ruruzir
