// When browsing a unit list becomes a choice, and what a choice re-expresses from.
//
// A dropped list changes nothing while the user moves through it with the arrow keys or the
// mouse: Enter or a click chooses the unit under the selection, Escape or a click elsewhere
// chooses nothing and shows the unit in force again. In a closed list each arrow key chooses,
// as in any Windows list. While a list keeps the focus, its choices re-express the box it
// belongs to from the text the box held when the list got the focus, so that nothing is
// rounded twice and the first unit gives back that very text.
#pragma once

#include <windows.h>

#include "core/calculator_values.h"
#include "core/number_text.h"

namespace ruruzir {

// Forgets every list's state and origin: for a newly initialised window.
void ResetUnitLists();

// True when the notification of unit list `comboId` chooses its selected unit now.
bool IsUnitChosen(HWND window, int comboId, int notification);

// The unit a list stands for: its selection, or while it is dropped the selection it had when
// it dropped.
int UnitInForce(HWND window, int comboId);

// The text a list's edit box held when the list got the focus, with the unit (and for the
// moisture value the parameters) it was written in. A choice made while the list does not
// hold the focus, or after the box, its unit or what its conversion depends on changed
// otherwise, starts from the box as it stands.
constexpr int kOriginTextSize = 256;
struct ChoiceOrigin {
  char text[kOriginTextSize];
  int unit;
  AppliedSource applied;
};

// The number the origin's text stands for, read from its first 14 characters as the box is.
double OriginNumber(const ChoiceOrigin& origin);

// The origin of a choice about to be made in the source moisture list or a pressure list.
const ChoiceOrigin& OriginOfChoice(HWND window, int comboId);

// Remembers what the choice left in the box, so that the next choice in the list still
// starts from the same origin.
void NoteChoiceMade(HWND window, int comboId);

// True when `applied` holds the parameters `source` would apply.
bool SameApplied(const AppliedSource& applied, const SideContext& source);

}  // namespace ruruzir
