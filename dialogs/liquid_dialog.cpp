// The liquid dialog: the liquid, and with it Henry's constant K, for ppmW in a liquid.
#include "app/calculator_state.h"
#include "dialogs/dialog_procedures.h"
#include "dialogs/medium_choice.h"
#include "resources/resource_ids.h"

namespace {

constexpr NamedMedium kLiquids[] = {
    {IDC_LIQUID_HEXANE, 1.9f, " in Hexane K=1.9"},
    {IDC_LIQUID_HEXENE, 6.2f, " in Hexene K=6.2"},
    {IDC_LIQUID_BENZENE, 15.5f, " in Benzene K=15.5"},
    {IDC_LIQUID_TRANSFORMER_OIL, 1.7f, " in Transformer Oil K=1.7"},
    {IDC_LIQUID_MIX, 8.6f, " in 50/50 mix of Hexane+Benzene K=8.6"},
};

}  // namespace

INT_PTR CALLBACK LiquidDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  const MediumChoice liquidChoice = {
      kLiquids,
      sizeof kLiquids / sizeof kLiquids[0],
      IDC_LIQUID_OTHER,
      IDC_LIQUID_OTHER_VALUE,
      " in Unknown Liquid K=%5.1f",
      &calculator.working.liquidChoice,
      &calculator.working.henryConstant,
      calculator.liquidDescription,
  };
  return RunMediumChoiceMessage(liquidChoice, dialog, message, wParam);
}
