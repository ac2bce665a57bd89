// Start-up and the main window. The window procedure only dispatches: one handler per message.
#include "app/main_window.h"

#include "app/calculator_state.h"
#include "app/conversion_cycle.h"
#include "app/settings_profile.h"
#include "app/ui_platform.h"
#include "dialogs/dialog_procedures.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kMainWindowExtraBytes = DLGWINDOWEXTRA;  // the room a dialog window needs

void OnCreate(HWND window) {
  // Controls do not exist yet: initialise again once they do, from the queue.
  PostMessageA(window, WM_INITDIALOG, 0, 0);
}

void OnCommand(HWND window, int controlId, int notification) {
  switch (controlId) {
    case IDC_SOURCE_PRESSURE:
    case IDC_TARGET_PRESSURE:
      InvalidateRect(window, nullptr, FALSE);
      break;
    case IDC_SOURCE_PRESSURE_UNIT:
      if (notification == CBN_SELCHANGE) {
        SelectPressureUnit(window, IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE,
                           &calculator.sourcePressureUnit);
      }
      break;
    case IDC_TARGET_PRESSURE_UNIT:
      if (notification == CBN_SELCHANGE) {
        SelectPressureUnit(window, IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE,
                           &calculator.targetPressureUnit);
      }
      break;
    case IDC_SOURCE_VALUE:
      ValidateSourceValue(window);
      break;
    case IDC_SOURCE_MOISTURE_UNIT:
      if (notification == CBN_SELCHANGE) SelectSourceUnit(window);
      break;
    case IDC_TARGET_MOISTURE_UNIT:
      if (notification == CBN_SELCHANGE) SelectTargetUnit(window);
      break;
    case IDC_BANNER:
      RunModalDialog(IDD_ABOUT, AboutDialogProc);
      break;
    case IDC_PREFERENCES:
      RunModalDialog(IDD_PREFERENCES, PreferencesDialogProc);
      break;
    default:
      break;
  }
}

void OnSystemCommand(WPARAM command) {
  switch (command) {
    case IDM_ABOUT:
      RunModalDialog(IDD_ABOUT, AboutDialogProc);
      break;
    case IDM_PREFERENCES:
      RunModalDialog(IDD_PREFERENCES, PreferencesDialogProc);
      break;
    case IDM_LOOP_CALCULATOR:
      RunModalDialog(IDD_LOOP_CALCULATOR, LoopCalculatorDialogProc);
      break;
    default:
      break;
  }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      ComputeResult(window);
      break;
    case WM_DRAWITEM:
      DrawBannerButton(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_INITDIALOG:
      return InitialiseMainWindow(window);
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam));
      break;
    case WM_SYSCOMMAND:
      OnSystemCommand(wParam);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

BOOL InitialiseMainWindow(HWND window) {
  calculator.mainWindow = window;
  InvalidateRect(window, nullptr, TRUE);
  FillUnitCombos(window);
  LoadSettings(window);
  return TRUE;
}

// The banner shows bitmap 106 while pressed and 105 otherwise, loaded and freed at every draw.
void DrawBannerButton(HWND, const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON || item->CtlID != IDC_BANNER) return;
  if (!(item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;  // focus changes draw nothing
  const int bitmapId = (item->itemState & ODS_SELECTED) ? IDB_BANNER_DOWN : IDB_BANNER_UP;
  HBITMAP bitmap =
      LoadBitmapA(static_cast<HINSTANCE>(calculator.instance), MAKEINTRESOURCEA(bitmapId));
  if (!bitmap) return;
  HDC memory = CreateCompatibleDC(item->hDC);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  if (previous && previous != HGDI_ERROR) {
    const RECT& r = item->rcItem;
    BitBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
  }
  DeleteDC(memory);
  DeleteObject(bitmap);
}

void RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC | CS_PARENTDC;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = kMainWindowExtraBytes;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = MAIN_WINDOW_CLASS;
  RegisterClassA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
  calculator.instance = instance;
  return CreateDialogParamA(instance, MAIN_WINDOW_TEMPLATE, nullptr, MainWindowProc, 0);
}

void AppendSystemMenuItems(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_PREFERENCES, "Preferences...");
  AppendMenuA(menu, MF_STRING, IDM_ABOUT, "About...");
  AppendMenuA(menu, MF_STRING, IDM_LOOP_CALCULATOR, "4/20mA Conversions...");
}

namespace {

// Ends on WM_QUIT, and also when GetMessage fails instead of spinning on the error.
int RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL result = GetMessageA(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    if (result == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

int RunCalculator(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  if (!previousInstance) RegisterMainWindowClass(instance);
  const HWND window = CreateMainWindow(instance);
  if (!window) {
    MessageBoxA(nullptr, "The calculator window could not be created.",
                "Ruruzir Dewpoint Calculator", MB_ICONSTOP | MB_OK);
    return 1;
  }
  RunModalDialog(IDD_NOTICE, AboutDialogProc);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  AppendSystemMenuItems(window);
  return RunMessageLoop();
}
