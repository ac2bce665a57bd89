// The protocol shared by the gas and liquid dialogs: the stored choice is selected and its
// click replayed on opening; OK takes a typed value for "Other" and closes only when the value
// is positive (and finite in single precision). Cancel, Escape and the close box do nothing.
#include "dialogs/medium_choice.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/number_text.h"
#include "controls/controls.h"
#include "physics/rounding.h"

namespace ruruzir {

namespace {

const NamedMedium* FindNamedMedium(const MediumChoice& data, int id) {
  for (int i = 0; i < data.mediumCount; ++i) {
    if (data.media[i].id == id) return &data.media[i];
  }
  return nullptr;
}

void OnInitialise(const MediumChoice& data, HWND dialog) {
  const int firstId = data.media[0].id;
  CheckRadioButton(dialog, firstId, data.otherId, *data.choice);
  // Handled after initialisation like a click on the stored choice. A choice outside the
  // group (a damaged setting) is not replayed: it could name OK or another control.
  if (*data.choice >= firstId && *data.choice <= data.otherId) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(*data.choice, 0), 0);
  }
}

void OnNamedMedium(const MediumChoice& data, const NamedMedium& medium) {
  std::snprintf(data.description, kDescriptionSize, "%s", medium.description);
  *data.value = medium.value;
  *data.choice = static_cast<uint16_t>(medium.id);
}

void OnOther(const MediumChoice& data, HWND dialog) {
  SetSignificantText(dialog, data.otherValueId, *data.value, 7);
  *data.choice = static_cast<uint16_t>(data.otherId);
}

void OnOk(const MediumChoice& data, HWND dialog) {
  if (IsDlgButtonChecked(dialog, data.otherId) == BST_CHECKED) {
    const double typed = ReadEditNumber(dialog, data.otherValueId);
    *data.value = ToSingle(typed);
    // A description too long for its area (a value such as 1e30) is cut there.
    std::snprintf(data.description, kDescriptionSize, data.otherFormat, typed);
  }
  if (*data.value > 0.0f && std::isfinite(*data.value)) EndDialog(dialog, 0);
}

}  // namespace

INT_PTR RunMediumChoiceMessage(const MediumChoice& data, HWND dialog, UINT message, WPARAM wParam) {
  if (message == WM_INITDIALOG) {
    OnInitialise(data, dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const int controlId = LOWORD(wParam);
  if (const NamedMedium* medium = FindNamedMedium(data, controlId)) {
    OnNamedMedium(data, *medium);
  } else if (controlId == data.otherId) {
    OnOther(data, dialog);
  } else if (controlId == IDOK) {
    OnOk(data, dialog);
  } else {
    return FALSE;
  }
  return TRUE;
}

}  // namespace ruruzir
