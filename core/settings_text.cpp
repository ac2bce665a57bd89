// Value texts of the settings section, composed and read back without the profile itself.
#include "core/settings_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "physics/rounding.h"

namespace ruruzir {

const char kSettingsSection[] = "ZazUdur";

const char* const kSettingsKeyNames[kSettingsKeyCount] = {
    "SrcDew", "SrcPrs",  "TrgDew",        "TrgPrs",   "MolWt",
    "Liq",    "AmbTemp", "DensityMedium", "PrevTemp", "SWVPcal",
};

const SettingsKey kSettingsLoadOrder[kSettingsKeyCount] = {
    kSrcDew, kSrcPrs, kTrgDew, kTrgPrs, kMolWt, kLiq, kAmbTemp, kDensityMedium, kPrevTemp, kSWVPcal,
};

const SettingsKey kSettingsSaveOrder[kSettingsKeyCount] = {
    kSrcDew, kSrcPrs, kTrgDew, kTrgPrs, kMolWt, kAmbTemp, kPrevTemp, kDensityMedium, kSWVPcal, kLiq,
};

namespace {

constexpr float kDefaultSourceValue = 0.0f;
constexpr float kDefaultPressureMbar = 1013.25f;

// Choices and options are written as the low 16 bits of their identifiers (LowWord), passed
// to "%u" as unsigned.
unsigned StoredWord(int32_t value) {
  return static_cast<unsigned>(LowWord(value));
}

// A choice pair and a value pair of both sides, as "%d,%f,%d,%f".
void ComposeSidePair(char* text, int32_t sourceChoice, float sourceValue, int32_t targetChoice,
                     float targetValue) {
  std::snprintf(text, kSettingsComposeSize, "%u,%f,%u,%f", StoredWord(sourceChoice),
                static_cast<double>(sourceValue), StoredWord(targetChoice),
                static_cast<double>(targetValue));
}

// A stored value beyond single precision would load as an infinity, which no dialog accepts
// and no later save could write back as a number: it loads as the value's default instead.
void ReplaceNonFinite(float* value, float defaultValue) {
  if (!std::isfinite(*value)) *value = defaultValue;
}

void LoadSidePair(const char* text, int32_t* sourceChoice, float* sourceValue,
                  int32_t* targetChoice, float* targetValue, float defaultValue) {
  ScanSettingsText(text, "%d,%f,%d,%f", sourceChoice, sourceValue, targetChoice, targetValue);
  ReplaceNonFinite(sourceValue, defaultValue);
  ReplaceNonFinite(targetValue, defaultValue);
}

// "number,index" keys: the number for the edit box and the unit code.
void LoadFieldAndUnit(const char* text, float defaultNumber, int32_t* unit, int unitCount,
                      float* fieldNumber) {
  float number = defaultNumber;  // kept when the text does not begin with a number
  ScanSettingsText(text, "%f,%d", &number, unit);
  ReplaceNonFinite(&number, defaultNumber);
  // A damaged index must never select outside the catalogue.
  if (*unit < 0 || *unit >= unitCount) *unit = 0;
  if (fieldNumber) *fieldNumber = number;
}

// An edit box reads "1.5e" or "14.7E+" as the number before the marker, and the save writes
// such a text as it was typed: the marker (with its sign) belongs to the number, not to what
// follows it.
const char* SkipBareExponentMarker(const char* end) {
  if (*end != 'e' && *end != 'E') return end;
  const char* p = end + 1;
  if (*p == '+' || *p == '-') ++p;
  return (*p >= '0' && *p <= '9') ? end : p;
}

// The text a "number,index" key stores for an edit field. A text that reads back as the number
// the field holds, with nothing after it, is stored as shown. Any other text would load as
// another number or lose the unit index that follows it ("7,5" is 7.5 in the field and would
// read back as 7 with the 5 taken for the unit): it is stored as the number the field holds,
// written as typed with a point for its comma ("7.5"), or "0" when the field holds no number.
void StoredFieldText(const char* shown, char (&stored)[kEditReadSize]) {
  std::snprintf(stored, sizeof stored, "%.14s", shown);
  double typed = 0.0;
  double read = 0.0;
  const char* typedEnd = ScanTypedNumber(stored, &typed);
  const char* readEnd = ScanNumber(stored, &read);
  if (readEnd && readEnd == typedEnd && *SkipBareExponentMarker(readEnd) == '\0') return;
  if (!typedEnd) {
    std::snprintf(stored, sizeof stored, "0");
    return;
  }
  for (char* p = stored; p < typedEnd; ++p) {
    if (*p == ',') *p = '.';
  }
  stored[typedEnd - stored] = '\0';
}

// "%s,%d": a field's stored text and its unit index.
void ComposeFieldAndUnit(char* text, const char* shown, int unitIndex) {
  char stored[kEditReadSize];
  StoredFieldText(shown, stored);
  std::snprintf(text, kSettingsComposeSize, "%s,%d", stored, unitIndex);
}

// The keys that hold a choice and a value for each side ("choice,value,choice,value"), the
// fields they fill and the source value that the text in the source box was computed with.
struct SidePairKey {
  SettingsKey key;
  int32_t SideContext::*choice;
  float SideContext::*value;
  float AppliedSource::*applied;
};

constexpr SidePairKey kSidePairKeys[] = {
    {kMolWt, &SideContext::gasChoice, &SideContext::molecularWeight,
     &AppliedSource::molecularWeight},
    {kLiq, &SideContext::liquidChoice, &SideContext::henryConstant, &AppliedSource::henryConstant},
    {kAmbTemp, &SideContext::ambientUnit, &SideContext::ambientTemperature,
     &AppliedSource::ambientTemperature},
    {kPrevTemp, &SideContext::prevailingUnit, &SideContext::prevailingTemperature,
     &AppliedSource::prevailingTemperature},
};

const SidePairKey* FindSidePairKey(SettingsKey key) {
  for (const SidePairKey& pair : kSidePairKeys) {
    if (pair.key == key) return &pair;
  }
  return nullptr;
}

void SetDefaults(SettingsKey key, CalculatorValues& state) {
  const SideContext defaults = DefaultSideContext();
  if (const SidePairKey* pair = FindSidePairKey(key)) {
    state.source.*pair->choice = state.target.*pair->choice = defaults.*pair->choice;
    state.source.*pair->value = state.target.*pair->value = defaults.*pair->value;
    return;
  }
  switch (key) {
    case kSrcDew:
      state.sourceMoistureUnit = 0;
      break;
    case kSrcPrs:
      state.sourcePressureUnit = 0;
      break;
    case kTrgDew:
      state.targetMoistureUnit = 0;
      break;
    case kTrgPrs:
      state.targetPressureUnit = 0;
      break;
    case kDensityMedium:
      state.source.densityMedium = state.target.densityMedium = defaults.densityMedium;
      break;
    case kSWVPcal:
      state.svpFormulation = kFormulationGoffGratch;
      state.enhancementFactor = kEnhancementNone;
      break;
    default:
      break;
  }
}

}  // namespace

void ComposeSettingsText(SettingsKey key, const CalculatorValues& state,
                         const MainWindowFields& fields, char* text) {
  const SideContext& s = state.source;
  const SideContext& t = state.target;
  if (const SidePairKey* pair = FindSidePairKey(key)) {
    ComposeSidePair(text, s.*pair->choice, s.*pair->value, t.*pair->choice, t.*pair->value);
    return;
  }
  switch (key) {
    case kSrcDew:
      ComposeFieldAndUnit(text, fields.sourceValue, fields.sourceUnitIndex);
      break;
    case kSrcPrs:
      ComposeFieldAndUnit(text, fields.sourcePressure, fields.sourcePressureIndex);
      break;
    case kTrgDew:
      std::snprintf(text, kSettingsComposeSize, "0,%d", fields.targetUnitIndex);
      break;
    case kTrgPrs:
      ComposeFieldAndUnit(text, fields.targetPressure, fields.targetPressureIndex);
      break;
    case kDensityMedium:
      std::snprintf(text, kSettingsComposeSize, "%u,%u", StoredWord(s.densityMedium),
                    StoredWord(t.densityMedium));
      break;
    case kSWVPcal:
      std::snprintf(text, kSettingsComposeSize, "%u,%u", unsigned{state.pendingSvpFormulation},
                    unsigned{state.pendingEnhancementFactor});
      break;
    default:
      text[0] = '\0';
      break;
  }
}

void LoadSettingsText(SettingsKey key, const char* text, CalculatorValues& state,
                      float* fieldNumber) {
  SideContext& s = state.source;
  SideContext& t = state.target;
  const SideContext defaults = DefaultSideContext();
  if (text[0] == '\0') SetDefaults(key, state);
  if (const SidePairKey* pair = FindSidePairKey(key)) {
    LoadSidePair(text, &(s.*pair->choice), &(s.*pair->value), &(t.*pair->choice), &(t.*pair->value),
                 defaults.*pair->value);
    state.appliedSource.*pair->applied = s.*pair->value;
    return;
  }
  switch (key) {
    case kSrcDew:
      LoadFieldAndUnit(text, kDefaultSourceValue, &state.sourceMoistureUnit, kMoistureUnitCount,
                       fieldNumber);
      break;
    case kSrcPrs:
      LoadFieldAndUnit(text, kDefaultPressureMbar, &state.sourcePressureUnit, kPressureUnitCount,
                       fieldNumber);
      break;
    case kTrgDew:
      LoadFieldAndUnit(text, 0.0f, &state.targetMoistureUnit, kMoistureUnitCount, nullptr);
      break;
    case kTrgPrs:
      LoadFieldAndUnit(text, kDefaultPressureMbar, &state.targetPressureUnit, kPressureUnitCount,
                       fieldNumber);
      break;
    case kDensityMedium:
      ScanSettingsText(text, "%d,%d", &s.densityMedium, &t.densityMedium);
      state.appliedSource.densityMedium = LowWord(s.densityMedium);
      break;
    case kSWVPcal:
      ScanSettingsText(text, "%d,%d", &state.svpFormulation, &state.enhancementFactor);
      break;
    default:
      break;
  }
}

int ScanSettingsText(const char* text, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int assigned = 0;
  const char* p = text;
  for (const char* f = format; *f; ++f) {
    if (f[0] == '%' && (f[1] == 'f' || f[1] == 'd')) {
      if (f[1] == 'f') {
        double number;
        const char* end = ScanNumber(p, &number);
        if (!end) break;
        *va_arg(arguments, float*) = ToSingle(number);
        p = SkipBareExponentMarker(end);
      } else {
        int number;
        const char* end = ScanInteger(p, &number);
        if (!end) break;
        *va_arg(arguments, int*) = number;
        p = end;
      }
      ++assigned;
      ++f;
    } else if (*p == *f) {
      ++p;
    } else {
      break;
    }
  }
  va_end(arguments);
  return assigned;
}

}  // namespace ruruzir
