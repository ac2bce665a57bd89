// The profile side of the settings: one profile read or write per key.
#include "app/settings_profile.h"

#include "app/settings_text.h"
#include "app/ui_platform.h"
#include "resources/resource_ids.h"

namespace {

// The edit box and the combo box a "number,index" key fills, and the digits it is shown with.
struct FieldKey {
  SettingsKey key;
  int editId;  // 0: the number is not shown
  int comboId;
  int digits;
  int32_t* unit;  // the remembered unit code it loads
};

constexpr FieldKey kFieldKeys[] = {
    {kSrcDew, IDC_SOURCE_VALUE, IDC_SOURCE_MOISTURE_UNIT, 5, &calculator.sourceMoistureUnit},
    {kSrcPrs, IDC_SOURCE_PRESSURE, IDC_SOURCE_PRESSURE_UNIT, 6, &calculator.sourcePressureUnit},
    {kTrgDew, 0, IDC_TARGET_MOISTURE_UNIT, 0, &calculator.targetMoistureUnit},
    {kTrgPrs, IDC_TARGET_PRESSURE, IDC_TARGET_PRESSURE_UNIT, 6, &calculator.targetPressureUnit},
};

const FieldKey* FindFieldKey(SettingsKey key) {
  for (const FieldKey& field : kFieldKeys) {
    if (field.key == key) return &field;
  }
  return nullptr;
}

}  // namespace

void LoadSettings(HWND window) {
  for (SettingsKey key : kSettingsLoadOrder) {
    char text[kSettingsReadSize];
    GetProfileStringA(kSettingsSection, kSettingsKeyNames[key], "", text, sizeof text);
    float number = 0.0f;
    LoadSettingsText(key, text, calculator, &number);
    const FieldKey* field = FindFieldKey(key);
    if (!field) continue;
    if (field->editId) SetSignificantText(window, field->editId, number, field->digits);
    SendDlgItemMessageA(window, field->comboId, CB_SETCURSEL, *field->unit, 0);
  }
}

void SaveSettings() {
  const HWND window = static_cast<HWND>(calculator.mainWindow);
  MainWindowFields fields;
  ReadEditText(window, IDC_SOURCE_VALUE, fields.sourceValue);
  fields.sourceUnitIndex = ComboSelection(window, IDC_SOURCE_MOISTURE_UNIT);
  ReadEditText(window, IDC_SOURCE_PRESSURE, fields.sourcePressure);
  fields.sourcePressureIndex = ComboSelection(window, IDC_SOURCE_PRESSURE_UNIT);
  fields.targetUnitIndex = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
  ReadEditText(window, IDC_TARGET_PRESSURE, fields.targetPressure);
  fields.targetPressureIndex = ComboSelection(window, IDC_TARGET_PRESSURE_UNIT);
  for (SettingsKey key : kSettingsSaveOrder) {
    char text[kSettingsComposeSize];
    ComposeSettingsText(key, calculator, fields, text);
    WriteProfileStringA(kSettingsSection, kSettingsKeyNames[key], text);
  }
}
