// The unit lists' notifications turned into choices, and the origin each choice re-expresses
// from.
#include "app/unit_list_choice.h"

#include <cstdio>
#include <cstring>

#include "app/calculator_state.h"
#include "controls/controls.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

constexpr int kContextSize = 64;

struct UnitList {
  int comboId;
  int editId;     // the box a choice re-expresses; 0: none
  int32_t* unit;  // the unit in force
  // While dropped
  bool dropped;
  bool chosen;  // Enter or a click chose the selection; acted on once the list has closed
  int selectionAtDrop;
  int selectionAtClose;  // a selection change reported after the close-up has been dealt with
  // The origin of the choices made while the list holds the focus
  bool holdsOrigin;
  ChoiceOrigin origin;
  char context[kContextSize];     // what the conversion depended on at the origin
  char written[kOriginTextSize];  // the box's text after the last choice
  int writtenUnit;                // and the unit then in force
};

UnitList MakeList(int comboId, int editId, int32_t* unit) {
  UnitList list{};
  list.comboId = comboId;
  list.editId = editId;
  list.unit = unit;
  list.selectionAtDrop = -1;
  list.selectionAtClose = -1;
  return list;
}

UnitList lists[] = {
    MakeList(IDC_SOURCE_MOISTURE_UNIT, IDC_SOURCE_VALUE, &calculator.sourceMoistureUnit),
    MakeList(IDC_TARGET_MOISTURE_UNIT, 0, &calculator.targetMoistureUnit),
    MakeList(IDC_SOURCE_PRESSURE_UNIT, IDC_SOURCE_PRESSURE, &calculator.sourcePressureUnit),
    MakeList(IDC_TARGET_PRESSURE_UNIT, IDC_TARGET_PRESSURE, &calculator.targetPressureUnit),
};

UnitList* FindList(int comboId) {
  for (UnitList& list : lists) {
    if (list.comboId == comboId) return &list;
  }
  return nullptr;
}

void ReadWholeText(HWND window, int editId, char (&text)[kOriginTextSize]) {
  text[0] = '\0';
  GetDlgItemTextA(window, editId, text, kOriginTextSize);
  text[kOriginTextSize - 1] = '\0';
}

// The moisture value's re-expression also depends on the source pressure and the model.
void ReadContext(HWND window, const UnitList& list, char (&context)[kContextSize]) {
  context[0] = '\0';
  if (list.comboId != IDC_SOURCE_MOISTURE_UNIT) return;
  char pressure[kEditReadSize];
  ReadEditText(window, IDC_SOURCE_PRESSURE, pressure);
  std::snprintf(context, sizeof context, "%s|%d|%d|%d", pressure,
                UnitInForce(window, IDC_SOURCE_PRESSURE_UNIT), calculator.svpFormulation,
                calculator.enhancementFactor);
}

void TakeOrigin(HWND window, UnitList& list) {
  ReadWholeText(window, list.editId, list.origin.text);
  list.origin.unit = *list.unit;
  list.origin.applied = calculator.appliedSource;
  ReadContext(window, list, list.context);
  std::memcpy(list.written, list.origin.text, sizeof list.written);
  list.writtenUnit = list.origin.unit;
}

bool HasFocus(HWND window, const UnitList& list) {
  return GetFocus() == GetDlgItem(window, list.comboId);
}

}  // namespace

void ResetUnitLists() {
  for (UnitList& list : lists) {
    list.dropped = false;
    list.chosen = false;
    list.holdsOrigin = false;
    list.selectionAtClose = -1;
  }
}

int UnitInForce(HWND window, int comboId) {
  const UnitList* list = FindList(comboId);
  if (list && list->dropped) return list->selectionAtDrop;
  return ComboSelection(window, comboId);
}

bool IsUnitChosen(HWND window, int comboId, int notification) {
  UnitList* list = FindList(comboId);
  if (!list) return false;
  switch (notification) {
    case CBN_SETFOCUS:
      // Kept while a dialog the list's choice opened had the focus.
      if (list->editId && !list->holdsOrigin) {
        TakeOrigin(window, *list);
        list->holdsOrigin = true;
      }
      return false;
    case CBN_KILLFOCUS:
      // A modal dialog or message box disables the window before it takes the focus.
      if (IsWindowEnabled(window)) list->holdsOrigin = false;
      return false;
    case CBN_DROPDOWN:
      list->dropped = true;
      list->selectionAtClose = -1;
      list->chosen = false;
      list->selectionAtDrop = ComboSelection(window, comboId);
      return false;
    case CBN_SELCHANGE: {
      // Browsing a dropped list; a closed list chooses at each change. The system may report
      // the change of a dropped list once more after its close-up, which chose already.
      if (list->dropped) return false;
      const bool reportedAgain = ComboSelection(window, comboId) == list->selectionAtClose;
      list->selectionAtClose = -1;
      return !reportedAgain;
    }
    case CBN_SELENDOK:
      if (list->dropped) list->chosen = true;
      return false;
    case CBN_SELENDCANCEL:
      list->chosen = false;
      return false;
    case CBN_CLOSEUP:
      if (!list->dropped) return false;
      list->dropped = false;
      if (!list->chosen && ComboSelection(window, comboId) != list->selectionAtDrop) {
        // Nothing chosen: the list shows the unit it showed before it dropped.
        SendDlgItemMessageA(window, comboId, CB_SETCURSEL, list->selectionAtDrop, 0);
      }
      list->selectionAtClose = ComboSelection(window, comboId);
      if (!list->chosen) return false;
      list->chosen = false;
      return true;
    default:
      return false;
  }
}

double OriginNumber(const ChoiceOrigin& origin) {
  char text[kEditReadSize];
  std::snprintf(text, sizeof text, "%s", origin.text);
  return ParseNumber(text);
}

const ChoiceOrigin& OriginOfChoice(HWND window, int comboId) {
  static ChoiceOrigin none{};
  UnitList* list = FindList(comboId);
  if (!list || !list->editId) return none;
  if (list->holdsOrigin) {
    char text[kOriginTextSize];
    ReadWholeText(window, list->editId, text);
    char context[kContextSize];
    ReadContext(window, *list, context);
    list->holdsOrigin = std::strcmp(text, list->written) == 0 && *list->unit == list->writtenUnit &&
                        std::strcmp(context, list->context) == 0;
  }
  if (!list->holdsOrigin) {
    TakeOrigin(window, *list);
    list->holdsOrigin = HasFocus(window, *list);
  }
  return list->origin;
}

void NoteChoiceMade(HWND window, int comboId) {
  UnitList* list = FindList(comboId);
  if (!list || !list->editId || !list->holdsOrigin) return;
  ReadWholeText(window, list->editId, list->written);
  list->writtenUnit = *list->unit;
  if (!HasFocus(window, *list) && IsWindowEnabled(window)) list->holdsOrigin = false;
}

bool SameApplied(const AppliedSource& applied, const SideContext& source) {
  return applied.molecularWeight == source.molecularWeight &&
         applied.henryConstant == source.henryConstant &&
         applied.ambientTemperature == source.ambientTemperature &&
         applied.prevailingTemperature == source.prevailingTemperature &&
         applied.densityMedium == static_cast<uint16_t>(source.densityMedium);
}

}  // namespace ruruzir
