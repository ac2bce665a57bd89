// The 4/20 mA calculator: a detected loop current, or a voltage across a known resistor,
// turned into the measured value of an instrument with a given 4 mA and 20 mA range.
#include <cmath>
#include <cstdio>

#include "core/number_text.h"
#include "controls/controls.h"
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "physics/rounding.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

constexpr float kLoopLowMa = 4.0f;
constexpr float kLoopHighMa = 20.0f;
constexpr double kReciprocalSpanMa = 0.0625;  // 1 / (20 mA - 4 mA)
constexpr float kMilliampsPerAmp = 1000.0f;
constexpr double kAmpsPerMilliamp = 0.001f;  // a float constant: 0.0010000000474974513
constexpr int kLoopTextSize = 36;            // label and answer hold 35 characters

const char kErrorText[] = "Error";
const char kCurrentLabel[] = "mA";

bool VoltageMode(HWND dialog) {
  return IsDlgButtonChecked(dialog, IDC_LOOP_MEASURE_VOLTAGE) == BST_CHECKED;
}

void Recompute(HWND dialog) {
  float milliamps = ToSingle(ReadEditNumber(dialog, IDC_LOOP_DETECTED));
  const float low = ToSingle(ReadEditNumber(dialog, IDC_LOOP_LOW));
  const float high = ToSingle(ReadEditNumber(dialog, IDC_LOOP_HIGH));
  bool valid = true;
  if (VoltageMode(dialog)) {
    const double ohms = ReadEditNumber(dialog, IDC_LOOP_RESISTANCE);
    milliamps = ToSingle(static_cast<double>(milliamps) * kMilliampsPerAmp);
    // No resistance, no current: the division is not made.
    valid = ohms != 0.0;
    if (valid) milliamps = ToSingle(milliamps / ohms);
  }
  char answer[kLoopTextSize];
  const bool inLoop = valid && milliamps >= kLoopLowMa && milliamps <= kLoopHighMa;
  const double value =
      (static_cast<double>(high) - low) * (milliamps - 4.0) * kReciprocalSpanMa + low;
  // A range beyond single precision gives no number; an answer too long for its area (ranges
  // such as 3e38) is shown as an error too, not cut.
  const int length =
      inLoop && std::isfinite(value) ? std::snprintf(answer, sizeof answer, "%.1f", value) : -1;
  if (length < 0 || length >= kLoopTextSize) {
    std::snprintf(answer, sizeof answer, "%s", kErrorText);
  }
  SetDlgItemTextA(dialog, IDC_LOOP_ANSWER, answer);
}

void OnInitialise(HWND dialog) {
  CheckRadioButton(dialog, IDC_LOOP_MEASURE_CURRENT, IDC_LOOP_MEASURE_VOLTAGE,
                   IDC_LOOP_MEASURE_CURRENT);
  SetDlgItemTextA(dialog, IDC_LOOP_LOW, "-100");
  SetDlgItemTextA(dialog, IDC_LOOP_HIGH, "20");
  SetDlgItemTextA(dialog, IDC_LOOP_RESISTANCE, "250");  // recomputes: "Error" for no value
}

void EnableResistance(HWND dialog, BOOL enable) {
  EnableWindow(GetDlgItem(dialog, IDC_LOOP_RESISTANCE), enable);
  EnableWindow(GetDlgItem(dialog, IDC_LOOP_ACROSS), enable);
  EnableWindow(GetDlgItem(dialog, IDC_LOOP_OHMS), enable);
}

// In voltage mode the label gives the voltages of 4 mA and 20 mA across the resistor; a label
// too long for its area (a resistance of ten or more digits) is cut there.
void OnResistance(HWND dialog) {
  if (VoltageMode(dialog)) {
    const double ohms = ReadEditNumber(dialog, IDC_LOOP_RESISTANCE);
    char label[kLoopTextSize];
    std::snprintf(label, sizeof label, "Volts\n(%.3fV to %.3fV)",
                  ohms * kLoopLowMa * kAmpsPerMilliamp, ohms * kLoopHighMa * kAmpsPerMilliamp);
    SetDlgItemTextA(dialog, IDC_LOOP_DETECTED_UNIT, label);
  }
  Recompute(dialog);
}

BOOL OnCommand(HWND dialog, int controlId) {
  switch (controlId) {
    case IDCANCEL:  // Escape and the close box: the only way out
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_LOOP_MEASURE_CURRENT:
      EnableResistance(dialog, FALSE);
      SetDlgItemTextA(dialog, IDC_LOOP_DETECTED_UNIT, kCurrentLabel);
      Recompute(dialog);
      return TRUE;
    case IDC_LOOP_MEASURE_VOLTAGE:
      EnableResistance(dialog, TRUE);
      OnResistance(dialog);
      return TRUE;
    case IDC_LOOP_RESISTANCE:
      OnResistance(dialog);
      return TRUE;
    case IDC_LOOP_DETECTED:
      Recompute(dialog);
      return TRUE;
    default:
      return FALSE;  // the range fields count at the next recomputation
  }
}

INT_PTR CALLBACK LoopCalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitialise(dialog);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

void RunLoopCalculator(HWND owner) {
  RunDialog(owner, IDD_LOOP_CALCULATOR, LoopCalculatorDialogProc, nullptr);
}

}  // namespace ruruzir
