// The profile side of the settings: one profile read or write per key. The keys live in the
// user's Windows profile (win.ini) as long as it can be written; where it cannot (a standard
// user on a Windows that protects its folder), they go to a settings file of the user's own,
// which from then on is where they are read and saved.
#include "app/settings_profile.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "app/calculator_state.h"
#include "core/settings_text.h"
#include "controls/controls.h"
#include "resources/resource_ids.h"

namespace ruruzir {

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

constexpr char kSettingsFolder[] = "Ruruzir";
constexpr char kSettingsFileName[] = "ruruzir.ini";

}  // namespace

// "%APPDATA%\Ruruzir\ruruzir.ini"; false when the user's application-data folder is unknown.
bool SettingsFileLocation(char path[MAX_PATH]) {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return false;
  }
  const int length =
      std::snprintf(path, MAX_PATH, "%s\\%s\\%s", folder, kSettingsFolder, kSettingsFileName);
  return length > 0 && length < MAX_PATH;
}

namespace {

// True when the settings file exists and holds the section with at least one key.
bool SettingsFileHoldsSection(const char* path) {
  char keys[64];
  return GetPrivateProfileStringA(kSettingsSection, nullptr, "", keys, sizeof keys, path) > 0;
}

// The file's folder, created when it is not there yet.
bool MakeSettingsFolder(const char* path) {
  char folder[MAX_PATH];
  std::snprintf(folder, sizeof folder, "%s", path);
  char* lastSeparator = std::strrchr(folder, '\\');
  if (!lastSeparator) return false;
  *lastSeparator = '\0';
  return CreateDirectoryA(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

using SettingsTexts = char[kSettingsKeyCount][kSettingsComposeSize];

// Writes every key, also after a failed one; true when every write succeeded.
bool WriteAllToProfile(const SettingsTexts& texts) {
  bool written = true;
  for (SettingsKey key : kSettingsSaveOrder) {
    if (!WriteProfileStringA(kSettingsSection, kSettingsKeyNames[key], texts[key])) {
      written = false;
    }
  }
  return written;
}

bool WriteAllToFile(const SettingsTexts& texts, const char* path) {
  bool written = true;
  for (SettingsKey key : kSettingsSaveOrder) {
    if (!WritePrivateProfileStringA(kSettingsSection, kSettingsKeyNames[key], texts[key], path)) {
      written = false;
    }
  }
  return written;
}

void ReportUnsavedSettings(const char* filePath) {
  char profilePath[MAX_PATH] = "win.ini";
  char windowsFolder[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
  if (length > 0 && length < sizeof windowsFolder) {
    std::snprintf(profilePath, sizeof profilePath, "%s\\win.ini", windowsFolder);
  }
  char message[3 * MAX_PATH + 200];
  std::snprintf(message, sizeof message,
                "The settings could not be saved.\n\nNeither the Windows profile (%s) nor the "
                "settings file (%s) could be written.",
                profilePath, filePath[0] ? filePath : "%APPDATA%\\Ruruzir\\ruruzir.ini");
  MessageBoxA(GetActiveWindow(), message, "Ruruzir Dewpoint Calculator",
              MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace

void LoadSettings(HWND window) {
  char filePath[MAX_PATH];
  const bool fromFile = SettingsFileLocation(filePath) && SettingsFileHoldsSection(filePath);
  for (SettingsKey key : kSettingsLoadOrder) {
    char text[kSettingsReadSize];
    if (fromFile) {
      GetPrivateProfileStringA(kSettingsSection, kSettingsKeyNames[key], "", text, sizeof text,
                               filePath);
    } else {
      GetProfileStringA(kSettingsSection, kSettingsKeyNames[key], "", text, sizeof text);
    }
    float number = 0.0f;
    LoadSettingsText(key, text, calculator, &number);
    const FieldKey* field = FindFieldKey(key);
    if (!field) continue;
    if (field->editId) SetSignificantText(window, field->editId, number, field->digits);
    SendDlgItemMessageA(window, field->comboId, CB_SETCURSEL, *field->unit, 0);
  }
}

void SaveSettings() {
  const HWND window = calculator.mainWindow;
  MainWindowFields fields;
  ReadEditText(window, IDC_SOURCE_VALUE, fields.sourceValue);
  fields.sourceUnitIndex = ComboSelection(window, IDC_SOURCE_MOISTURE_UNIT);
  ReadEditText(window, IDC_SOURCE_PRESSURE, fields.sourcePressure);
  fields.sourcePressureIndex = ComboSelection(window, IDC_SOURCE_PRESSURE_UNIT);
  fields.targetUnitIndex = ComboSelection(window, IDC_TARGET_MOISTURE_UNIT);
  ReadEditText(window, IDC_TARGET_PRESSURE, fields.targetPressure);
  fields.targetPressureIndex = ComboSelection(window, IDC_TARGET_PRESSURE_UNIT);
  SettingsTexts texts;
  for (SettingsKey key : kSettingsSaveOrder)
    ComposeSettingsText(key, calculator, fields, texts[key]);

  char filePath[MAX_PATH] = "";
  const bool haveFilePath = SettingsFileLocation(filePath);
  bool saved = false;
  if (haveFilePath && SettingsFileHoldsSection(filePath)) {
    saved = WriteAllToFile(texts, filePath);
  } else {
    saved = WriteAllToProfile(texts) ||
            (haveFilePath && MakeSettingsFolder(filePath) && WriteAllToFile(texts, filePath));
  }
  if (!saved) ReportUnsavedSettings(haveFilePath ? filePath : "");
}

}  // namespace ruruzir
