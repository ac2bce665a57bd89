// The dialog procedures, one per dialog; each is run modally and always ends with result 0.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GasDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LiquidDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AmbientTemperatureDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam);
INT_PTR CALLBACK DensityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LoopCalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
