// What the gas and the liquid dialogs share: a column of named media, each with a fixed value
// and description, and an "Other" entry whose value is typed into an edit box.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dialogs/dialogs.h"

namespace ruruzir {

struct NamedMedium {
  int id;                   // radio button
  float value;              // molecular weight or Henry's constant
  const char* description;  // copied verbatim on a click
};

struct MediumChoice {
  const NamedMedium* media;
  int mediumCount;
  int otherId;              // the "Other" radio button
  int otherValueId;         // its edit box
  const char* otherFormat;  // description of a typed value, formatted with the double typed
  uint16_t* choice;         // the dialog data's chosen button
  float* value;             // the dialog data's value
  char* description;        // the dialog data's description (kDescriptionSize bytes)
};

// The whole dialog procedure of a medium choice dialog.
INT_PTR RunMediumChoiceMessage(const MediumChoice& dialogData, HWND dialog, UINT message,
                               WPARAM wParam);

}  // namespace ruruzir
