// Fills the main window's unit combo boxes from the catalogues, item index = unit code.
#include "app/unit_combos.h"

#include <cstdio>

#include "app/calculator_state.h"
#include "core/unit_catalogues.h"
#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

void FillCombo(HWND window, int comboId, const char* const* texts, int count) {
  SendDlgItemMessageA(window, comboId, CB_RESETCONTENT, 0, 0);
  for (int code = 0; code < count; ++code) {
    char text[100];
    std::snprintf(text, sizeof text, "%s", texts[code]);
    SendDlgItemMessageA(window, comboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

}  // namespace

void FillUnitCombos(HWND window) {
  const char* pressureNames[kPressureUnitCount];
  for (int code = 0; code < kPressureUnitCount; ++code)
    pressureNames[code] = PressureUnits[code].name;
  const char* moistureTexts[kMoistureUnitCount];
  for (int code = 0; code < kMoistureUnitCount; ++code) {
    moistureTexts[code] = MoistureUnits[code].itemText;
  }
  FillCombo(window, IDC_SOURCE_PRESSURE_UNIT, pressureNames, kPressureUnitCount);
  FillCombo(window, IDC_SOURCE_MOISTURE_UNIT, moistureTexts, kMoistureUnitCount);
  FillCombo(window, IDC_TARGET_PRESSURE_UNIT, pressureNames, kPressureUnitCount);
  FillCombo(window, IDC_TARGET_MOISTURE_UNIT, moistureTexts, kMoistureUnitCount);
}

void DescribeLoadedUnits(HWND window) {
  const struct {
    int comboId;
    const SideContext* side;
  } lists[] = {{IDC_SOURCE_MOISTURE_UNIT, &calculator.source},
               {IDC_TARGET_MOISTURE_UNIT, &calculator.target}};
  constexpr int kDensityUnit = Code(MoistureUnitCode::GramsPerM3);
  for (const auto& list : lists) {
    if (SendDlgItemMessageA(window, list.comboId, CB_GETCURSEL, 0, 0) != kDensityUnit) continue;
    DensityChoice density{static_cast<uint16_t>(list.side->prevailingUnit),
                          list.side->prevailingTemperature,
                          static_cast<uint16_t>(list.side->densityMedium),
                          {}};
    DescribeDensity(density);
    char text[100];
    std::snprintf(text, sizeof text, "%.*s%s", CaptionLength(kDensityUnit),
                  MoistureUnits[kDensityUnit].itemText, density.description);
    SendDlgItemMessageA(window, list.comboId, CB_DELETESTRING, kDensityUnit, 0);
    SendDlgItemMessageA(window, list.comboId, CB_INSERTSTRING, kDensityUnit,
                        reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(window, list.comboId, CB_SETCURSEL, kDensityUnit, 0);
  }
}

}  // namespace ruruzir
