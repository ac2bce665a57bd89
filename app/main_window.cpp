// Start-up and the main window. The window procedure only dispatches: one handler per message.
#include "app/main_window.h"

#include "app/calculator_state.h"
#include "app/conversion_cycle.h"
#include "app/settings_profile.h"
#include "app/unit_combos.h"
#include "app/unit_list_choice.h"
#include "controls/controls.h"
#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

constexpr int kMainWindowExtraBytes = DLGWINDOWEXTRA;  // the room a dialog window needs
constexpr int kArtworkDpi = 96;                        // the banner bitmaps' screen scale
constexpr int kBannerFocusInset = 3;                   // pixels between edge and focus rectangle

// Preferences: the pending choice is what Save stores; the options are taken back whatever
// the user did, committed only when OK changed them.
void SaveWithPendingOptions(const PreferencesChoice& preferences) {
  calculator.pendingSvpFormulation = preferences.pendingSvpFormulation;
  calculator.pendingEnhancementFactor = preferences.pendingEnhancementFactor;
  SaveSettings();
}

void OpenPreferences(HWND window) {
  PreferencesChoice preferences{calculator.svpFormulation, calculator.enhancementFactor,
                                calculator.pendingSvpFormulation,
                                calculator.pendingEnhancementFactor, SaveWithPendingOptions};
  EditPreferences(window, preferences);
  calculator.svpFormulation = preferences.svpFormulation;
  calculator.enhancementFactor = preferences.enhancementFactor;
  calculator.pendingSvpFormulation = preferences.pendingSvpFormulation;
  calculator.pendingEnhancementFactor = preferences.pendingEnhancementFactor;
}

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
      if (IsUnitChosen(window, controlId, notification)) {
        SelectPressureUnit(window, IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE,
                           &calculator.sourcePressureUnit);
      }
      break;
    case IDC_TARGET_PRESSURE_UNIT:
      if (IsUnitChosen(window, controlId, notification)) {
        SelectPressureUnit(window, IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE,
                           &calculator.targetPressureUnit);
      }
      break;
    case IDC_SOURCE_VALUE:
      ValidateSourceValue(window);
      break;
    case IDC_SOURCE_MOISTURE_UNIT:
      if (IsUnitChosen(window, controlId, notification)) SelectSourceUnit(window);
      break;
    case IDC_TARGET_MOISTURE_UNIT:
      if (IsUnitChosen(window, controlId, notification)) SelectTargetUnit(window);
      break;
    case IDC_BANNER:
      ShowAbout(window);
      break;
    case IDC_PREFERENCES:
      OpenPreferences(window);
      break;
    default:
      break;
  }
}

// The dialog manager's request to move the focus (Tab and Shift+Tab come here through
// IsDialogMessageA): to the control in wParam when lParam says so, otherwise to the next tab
// stop, or the previous one when wParam is non-zero. An edit box gets its whole text selected,
// so that typing replaces it.
void OnNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND next = nullptr;
  if (LOWORD(lParam)) {
    next = reinterpret_cast<HWND>(wParam);
  } else {
    HWND focus = GetFocus();
    if (focus && !IsChild(window, focus)) focus = nullptr;
    next = GetNextDlgTabItem(window, focus, wParam != 0);
  }
  if (!next || !IsChild(window, next)) return;
  if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageA(next, EM_SETSEL, 0, -1);
  }
  SetFocus(next);
}

// The control that had the focus when the window was last deactivated or minimised gets it
// back when the window is activated or restored again, as in any dialog. Depending on the
// system, the restored window is given the focus itself before or after its activation, or
// nothing has the focus once it is restored: each of these passes the focus on.
HWND savedFocus = nullptr;
bool focusToRestore = false;

bool HoldsFocus(HWND window) {
  HWND focus = GetFocus();
  return focus && IsChild(window, focus);
}

void SaveFocus(HWND window) {
  if (!HoldsFocus(window)) return;
  savedFocus = GetFocus();
  focusToRestore = true;
}

// False when no control was given the focus back.
bool RestoreFocus(HWND window) {
  if (!focusToRestore || IsIconic(window)) return false;
  focusToRestore = false;
  if (!savedFocus || !IsWindow(savedFocus) || !IsChild(window, savedFocus)) return false;
  SetFocus(savedFocus);
  return true;
}

// True when the focus stays with a control and the default handling, which would give it to
// the window itself, must not follow.
bool OnActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    SaveFocus(window);
    return false;
  }
  if (HIWORD(wParam) || IsIconic(window)) return false;
  return RestoreFocus(window) || HoldsFocus(window);
}

void OnSize(HWND window, WPARAM kind) {
  if ((kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) && !HoldsFocus(window) &&
      GetFocus() != window) {
    RestoreFocus(window);
  }
}

void OnSystemCommand(HWND window, WPARAM command) {
  if ((command & 0xFFF0) == SC_MINIMIZE) SaveFocus(window);
  switch (command) {
    case IDM_ABOUT:
      ShowAbout(window);
      break;
    case IDM_PREFERENCES:
      OpenPreferences(window);
      break;
    case IDM_LOOP_CALCULATOR:
      RunLoopCalculator(window);
      break;
    default:
      break;
  }
}

BOOL InitialiseMainWindow(HWND window);

// The window procedure only dispatches: one handler per message.
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
      OnSystemCommand(window, wParam);
      break;
    case WM_NEXTDLGCTL:
      OnNextDialogControl(window, wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(window, wParam)) return 0;
      break;
    case WM_SETFOCUS:
      RestoreFocus(window);
      break;
    case WM_SIZE:
      OnSize(window, wParam);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

BOOL InitialiseMainWindow(HWND window) {
  calculator.mainWindow = window;
  ResetUnitLists();
  InvalidateRect(window, nullptr, TRUE);
  FillUnitCombos(window);
  LoadSettings(window);
  DescribeLoadedUnits(window);
  return TRUE;
}

}  // namespace

// The banner shows bitmap 106 while pressed and 105 otherwise, loaded and freed at every draw,
// and a focus rectangle inside its edge while it holds the focus (unless the window hides
// focus rectangles until the keyboard is used). Every draw, a focus change included, paints
// the whole button, so the rectangle never depends on what was drawn before.
// The artwork is laid out for a screen of 96 dpi: the part of it a button of that scale would
// show is stretched over the button, so that it fills the button at every scale and is copied
// pixel for pixel at 96 dpi.
void DrawBannerButton(HWND, const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON || item->CtlID != IDC_BANNER) return;
  const int bitmapId = (item->itemState & ODS_SELECTED) ? IDB_BANNER_DOWN : IDB_BANNER_UP;
  HBITMAP bitmap = LoadBitmapA(calculator.instance, MAKEINTRESOURCEA(bitmapId));
  if (!bitmap) return;
  HDC memory = CreateCompatibleDC(item->hDC);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  if (previous && previous != HGDI_ERROR) {
    const RECT& r = item->rcItem;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int sourceWidth = MulDiv(width, kArtworkDpi, GetDeviceCaps(item->hDC, LOGPIXELSX));
    const int sourceHeight = MulDiv(height, kArtworkDpi, GetDeviceCaps(item->hDC, LOGPIXELSY));
    if ((sourceWidth == width && sourceHeight == height) || sourceWidth <= 0 || sourceHeight <= 0) {
      BitBlt(item->hDC, r.left, r.top, width, height, memory, 0, 0, SRCCOPY);
    } else {
      const int previousMode = SetStretchBltMode(item->hDC, HALFTONE);
      POINT origin;
      SetBrushOrgEx(item->hDC, 0, 0, &origin);  // what HALFTONE asks for after setting it
      StretchBlt(item->hDC, r.left, r.top, width, height, memory, 0, 0, sourceWidth, sourceHeight,
                 SRCCOPY);
      SetBrushOrgEx(item->hDC, origin.x, origin.y, nullptr);
      if (previousMode) SetStretchBltMode(item->hDC, previousMode);
    }
    SelectObject(memory, previous);
  }
  DeleteDC(memory);
  DeleteObject(bitmap);
  if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT)) {
    RECT focus = item->rcItem;
    InflateRect(&focus, -kBannerFocusInset, -kBannerFocusInset);
    DrawFocusRect(item->hDC, &focus);
  }
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

void ShowMainWindow(HWND window, int showCommand) {
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  AppendSystemMenuItems(window);
  // Typing goes straight into the moisture value and replaces it.
  FocusAndSelectAll(window, IDC_SOURCE_VALUE);
}

namespace {

// Ends on WM_QUIT, and also when GetMessage fails instead of spinning on the error.
int RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL result = GetMessageA(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    if (result == -1) return 1;
    if (RouteDialogKeys(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

bool RouteDialogKeys(MSG* message) {
  const HWND window = calculator.mainWindow;
  return window && IsWindow(window) && IsDialogMessageA(window, message);
}

int RunCalculator(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  if (!previousInstance) RegisterMainWindowClass(instance);
  const HWND window = CreateMainWindow(instance);
  if (!window) {
    MessageBoxA(nullptr, "The calculator window could not be created.",
                "Ruruzir Dewpoint Calculator", MB_ICONSTOP | MB_OK);
    return 1;
  }
  ShowNotice(window);
  ShowMainWindow(window, showCommand);
  return RunMessageLoop();
}

}  // namespace ruruzir
