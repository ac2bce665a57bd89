// The gas dialog: the carrier gas, and with it the molecular weight, for ppmW in a gas.
#include "dialogs/dialog_data.h"
#include "dialogs/dialogs.h"
#include "dialogs/medium_choice.h"
#include "resources/resource_ids.h"

namespace ruruzir {

namespace {

constexpr NamedMedium kGases[] = {
    {IDC_GAS_ACETYLENE, 26.0f, " in Acetylene mol.wt.=26"},
    {IDC_GAS_AIR, 29.0f, " in Air mol.wt.=29"},
    {IDC_GAS_AMMONIA, 17.0f, " in Ammonia mol.wt.=17"},
    {IDC_GAS_ARGON, 40.0f, " in Argon mol.wt.=40"},
    {IDC_GAS_CO2, 44.0f, " in CO2 mol.wt.=44"},
    {IDC_GAS_CO, 28.0f, " in CO mol.wt.=28"},
    {IDC_GAS_ETHYLENE, 28.0f, " in Ethyline mol.wt.=28"},
    {IDC_GAS_HELIUM, 4.0f, " in Helium mol.wt.=4"},
    {IDC_GAS_HYDROGEN, 2.0f, " in Hydrogen mol.wt.=2"},
    {IDC_GAS_METHANE, 16.0f, " in Methane mol.wt.=16"},
    {IDC_GAS_NITROGEN, 28.0f, " in Nitrogen mol.wt.=28"},
    {IDC_GAS_OXYGEN, 32.0f, " in Oxygen mol.wt.=32"},
    {IDC_GAS_SULFUR_DIOXIDE, 64.0f, " in Sulfur Dioxide mol.wt.=64"},
};

INT_PTR CALLBACK GasDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  KeepDialogData(dialog, message, lParam);
  GasChoice* gas = DialogData<GasChoice>(dialog);
  if (!gas) return FALSE;
  const MediumChoice gasChoice = {
      kGases,
      sizeof kGases / sizeof kGases[0],
      IDC_GAS_OTHER,
      IDC_GAS_OTHER_VALUE,
      " in Unknown Gas of mol.wt.=%5.1f",
      &gas->choice,
      &gas->molecularWeight,
      gas->description,
  };
  return RunMediumChoiceMessage(gasChoice, dialog, message, wParam);
}

}  // namespace

void ChooseGas(HWND owner, GasChoice& gas) {
  RunDialog(owner, IDD_GAS, GasDialogProc, &gas);
}

}  // namespace ruruzir
