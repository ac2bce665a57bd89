// The liquid dialog: the liquid, and with it Henry's constant K, for ppmW in a liquid.
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "dialogs/medium_choice.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

constexpr NamedMedium kLiquids[] = {
    {IDC_LIQUID_HEXANE, 1.9f, " in Hexane K=1.9"},
    {IDC_LIQUID_HEXENE, 6.2f, " in Hexene K=6.2"},
    {IDC_LIQUID_BENZENE, 15.5f, " in Benzene K=15.5"},
    {IDC_LIQUID_TRANSFORMER_OIL, 1.7f, " in Transformer Oil K=1.7"},
    {IDC_LIQUID_MIX, 8.6f, " in 50/50 mix of Hexane+Benzene K=8.6"},
};

INT_PTR CALLBACK LiquidDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  KeepDialogData(dialog, message, lParam);
  LiquidChoice* liquid = DialogData<LiquidChoice>(dialog);
  if (!liquid) return FALSE;
  const MediumChoice liquidChoice = {
      kLiquids,
      sizeof kLiquids / sizeof kLiquids[0],
      IDC_LIQUID_OTHER,
      IDC_LIQUID_OTHER_VALUE,
      " in Unknown Liquid K=%5.1f",
      &liquid->choice,
      &liquid->henryConstant,
      liquid->description,
  };
  return RunMediumChoiceMessage(liquidChoice, dialog, message, wParam);
}

}  // namespace

void ChooseLiquid(HWND owner, LiquidChoice& liquid) {
  RunDialog(owner, IDD_LIQUID, LiquidDialogProc, &liquid);
}

}  // namespace ruruzir
