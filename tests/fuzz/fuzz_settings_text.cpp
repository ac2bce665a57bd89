// Fuzz target: the settings texts, loaded from arbitrary profile values and composed again.
//
// Input: up to ten lines (split at "\n"), the value texts of the keys in load order, each cut
// to its first 49 characters as the profile read yields them; missing lines are empty values.
// The bytes after the tenth line choose arbitrary main-window fields for a second compose.
//
// Properties:
//  - every load reads nothing past the text's terminator and leaves the four unit codes inside
//    their catalogues; loading the same texts a second time changes nothing;
//  - every composed text is terminated within the 52-byte area and nothing is written after it
//    (guard bytes), also with arbitrary field texts and combo-box selections, and the
//    "text,index" keys hold exactly the field's first 14 characters and the index;
//  - round trip as the program does it: the loaded state and the field numbers shown with
//    FormatSignificant (5 digits, 6 for pressures) are composed, the texts are loaded into a
//    fresh (zero) state as at the next start, and composed again. For every key whose first
//    text is read back completely (it matches the key's read format to its end within 49
//    characters; "inf" or "N/A" does not), the second text equals the first, the values are
//    the first ones as the text carries them (choices as their low 16 bits, floats rounded to
//    six decimals, field numbers rounded to the digits shown), and loading the second text
//    gives the same values again; the third text equals the second. (A field number whose
//    rounding carried, "1000000" for 999999.5 with 6 digits, is spelt "1.e+006" from the
//    second save on: the same number, shown in the form chosen for it.)
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/calculator_values.h"
#include "core/number_text.h"
#include "core/settings_text.h"
#include "core/significant_format.h"
#include "core/unit_catalogues.h"
#include "physics/rounding.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ruruzir;

namespace {

struct Loaded {
  CalculatorValues state;
  float numbers[kSettingsKeyCount];  // the number each key gives its edit box
};

using Texts = std::string[kSettingsKeyCount];

int32_t LowWord(int32_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) & 0xFFFFu);
}

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The digits the program shows a key's number with, 0 when it is not shown.
int ShownDigits(SettingsKey key) {
  return key == kSrcDew ? 5 : key == kSrcPrs || key == kTrgPrs ? 6 : 0;
}

// The read format of a key, as the profile texts are specified.
const char* ReadFormat(SettingsKey key) {
  switch (key) {
    case kSrcDew:
    case kSrcPrs:
    case kTrgDew:
    case kTrgPrs:
      return "%f,%d";
    case kDensityMedium:
    case kSWVPcal:
      return "%d,%d";
    default:
      return "%d,%f,%d,%f";
  }
}

// True when the whole text matches the format: every number and literal, up to the end.
bool ReadCompletely(const std::string& text, const char* format) {
  if (text.size() > static_cast<size_t>(kSettingsReadSize - 1)) return false;
  const char* p = text.c_str();
  for (const char* f = format; *f; ++f) {
    if (f[0] == '%') {
      p = f[1] == 'f' ? GrammarNumberEnd(p) : GrammarIntegerEnd(p);
      if (!p) return false;
      ++f;
    } else if (*p++ != *f) {
      return false;
    }
  }
  return *p == '\0';
}

void CheckUnits(const CalculatorValues& state, const char* when) {
  FUZZ_CHECK(IsMoistureUnitCode(state.sourceMoistureUnit) &&
                 IsPressureUnitCode(state.sourcePressureUnit) &&
                 IsMoistureUnitCode(state.targetMoistureUnit) &&
                 IsPressureUnitCode(state.targetPressureUnit),
             "%s: unit codes %d %d %d %d", when, state.sourceMoistureUnit, state.sourcePressureUnit,
             state.targetMoistureUnit, state.targetPressureUnit);
}

// Loads every key in load order as LoadSettings does, each text in a block of its own size.
void LoadAll(const Texts& texts, Loaded& loaded, const char* when) {
  for (SettingsKey key : kSettingsLoadOrder) {
    const std::string cut = texts[key].substr(0, kSettingsReadSize - 1);
    const ExactText text(cut.c_str());
    float number = 0.0f;
    LoadSettingsText(key, text.get(), loaded.state, &number);
    loaded.numbers[key] = number;
    CheckUnits(loaded.state, when);
  }
}

// The edit text a number is shown with, as the field yields it: its first 14 characters.
void ShowNumber(float number, int digits, char field[kEditReadSize]) {
  char shown[100];
  FormatSignificant(number, digits, shown, sizeof shown);
  std::strncpy(field, shown, kEditReadSize - 1);
  field[kEditReadSize - 1] = '\0';
}

// The main window as LoadSettings leaves it: the numbers shown, the loaded units selected;
// the Preferences dialog shows the options in force.
MainWindowFields FieldsShowing(Loaded& loaded) {
  CalculatorValues& s = loaded.state;
  MainWindowFields fields;
  ShowNumber(loaded.numbers[kSrcDew], ShownDigits(kSrcDew), fields.sourceValue);
  fields.sourceUnitIndex = s.sourceMoistureUnit;
  ShowNumber(loaded.numbers[kSrcPrs], ShownDigits(kSrcPrs), fields.sourcePressure);
  fields.sourcePressureIndex = s.sourcePressureUnit;
  fields.targetUnitIndex = s.targetMoistureUnit;
  ShowNumber(loaded.numbers[kTrgPrs], ShownDigits(kTrgPrs), fields.targetPressure);
  fields.targetPressureIndex = s.targetPressureUnit;
  s.pendingSvpFormulation = static_cast<uint16_t>(LowWord(s.svpFormulation));
  s.pendingEnhancementFactor = static_cast<uint16_t>(LowWord(s.enhancementFactor));
  return fields;
}

std::string Compose(SettingsKey key, const CalculatorValues& state,
                    const MainWindowFields& fields) {
  GuardedArea area(kSettingsComposeSize);
  ComposeSettingsText(key, state, fields, area.get());
  FUZZ_CHECK(area.Terminated() && area.GuardsIntact(),
             "%s: composed text not terminated within %d bytes", kSettingsKeyNames[key],
             kSettingsComposeSize);
  return std::string(area.get());
}

void ComposeAll(const CalculatorValues& state, const MainWindowFields& fields, Texts& texts) {
  for (SettingsKey key : kSettingsSaveOrder) texts[key] = Compose(key, state, fields);
}

// The float a "%f" text of `value` loads as: six decimals, read back to single precision.
float ThroughSixDecimals(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  return ToSingle(std::strtod(text, nullptr));
}

void CheckFloat(const char* what, float before, float after) {
  FUZZ_CHECK(SameBits(after, ThroughSixDecimals(before)), "%s: %.9g came back as %.9g", what,
             static_cast<double>(before), static_cast<double>(after));
  const double difference = std::fabs(static_cast<double>(after) - before);
  FUZZ_CHECK(difference <= 5e-7 + std::fabs(before) * FLT_EPSILON, "%s: %.9g came back as %.9g",
             what, static_cast<double>(before), static_cast<double>(after));
}

void CheckChoice(const char* what, int32_t before, int32_t after) {
  FUZZ_CHECK(after == LowWord(before), "%s: %d came back as %d", what, before, after);
}

// The values of a completely read key after the round trip, against those before it.
void CheckRoundTrip(SettingsKey key, const Loaded& first, const MainWindowFields& fields,
                    const Loaded& second) {
  const CalculatorValues& a = first.state;
  const CalculatorValues& b = second.state;
  const char* name = kSettingsKeyNames[key];
  const char* field = key == kSrcDew   ? fields.sourceValue
                      : key == kSrcPrs ? fields.sourcePressure
                                       : fields.targetPressure;
  switch (key) {
    case kSrcDew:
    case kSrcPrs:
    case kTrgPrs: {
      const int digits = ShownDigits(key);
      const float before = first.numbers[key];
      const float after = second.numbers[key];
      FUZZ_CHECK(SameBits(after, ToSingle(std::strtod(field, nullptr))),
                 "%s: field \"%s\" loaded as %.9g", name, field, static_cast<double>(after));
      const double bound = std::fabs(before) * (0.5 * std::pow(10.0, 1 - digits) + FLT_EPSILON);
      FUZZ_CHECK(std::fabs(static_cast<double>(after) - before) <= bound,
                 "%s: %.9g came back as %.9g", name, static_cast<double>(before),
                 static_cast<double>(after));
      const int32_t unitBefore = key == kSrcDew   ? a.sourceMoistureUnit
                                 : key == kSrcPrs ? a.sourcePressureUnit
                                                  : a.targetPressureUnit;
      const int32_t unitAfter = key == kSrcDew   ? b.sourceMoistureUnit
                                : key == kSrcPrs ? b.sourcePressureUnit
                                                 : b.targetPressureUnit;
      FUZZ_CHECK(unitAfter == unitBefore, "%s: unit %d came back as %d", name, unitBefore,
                 unitAfter);
      break;
    }
    case kTrgDew:
      FUZZ_CHECK(b.targetMoistureUnit == a.targetMoistureUnit, "TrgDew: unit %d came back as %d",
                 a.targetMoistureUnit, b.targetMoistureUnit);
      break;
    case kMolWt:
      CheckChoice("MolWt source choice", a.source.gasChoice, b.source.gasChoice);
      CheckFloat("MolWt source", a.source.molecularWeight, b.source.molecularWeight);
      CheckChoice("MolWt target choice", a.target.gasChoice, b.target.gasChoice);
      CheckFloat("MolWt target", a.target.molecularWeight, b.target.molecularWeight);
      FUZZ_CHECK(SameBits(b.appliedSource.molecularWeight, b.source.molecularWeight),
                 "MolWt: applied value differs");
      break;
    case kLiq:
      CheckChoice("Liq source choice", a.source.liquidChoice, b.source.liquidChoice);
      CheckFloat("Liq source", a.source.henryConstant, b.source.henryConstant);
      CheckChoice("Liq target choice", a.target.liquidChoice, b.target.liquidChoice);
      CheckFloat("Liq target", a.target.henryConstant, b.target.henryConstant);
      FUZZ_CHECK(SameBits(b.appliedSource.henryConstant, b.source.henryConstant),
                 "Liq: applied value differs");
      break;
    case kAmbTemp:
      CheckChoice("AmbTemp source unit", a.source.ambientUnit, b.source.ambientUnit);
      CheckFloat("AmbTemp source", a.source.ambientTemperature, b.source.ambientTemperature);
      CheckChoice("AmbTemp target unit", a.target.ambientUnit, b.target.ambientUnit);
      CheckFloat("AmbTemp target", a.target.ambientTemperature, b.target.ambientTemperature);
      FUZZ_CHECK(SameBits(b.appliedSource.ambientTemperature, b.source.ambientTemperature),
                 "AmbTemp: applied value differs");
      break;
    case kDensityMedium:
      CheckChoice("DensityMedium source", a.source.densityMedium, b.source.densityMedium);
      CheckChoice("DensityMedium target", a.target.densityMedium, b.target.densityMedium);
      FUZZ_CHECK(b.appliedSource.densityMedium == LowWord(b.source.densityMedium),
                 "DensityMedium: applied value differs");
      break;
    case kPrevTemp:
      CheckChoice("PrevTemp source unit", a.source.prevailingUnit, b.source.prevailingUnit);
      CheckFloat("PrevTemp source", a.source.prevailingTemperature, b.source.prevailingTemperature);
      CheckChoice("PrevTemp target unit", a.target.prevailingUnit, b.target.prevailingUnit);
      CheckFloat("PrevTemp target", a.target.prevailingTemperature, b.target.prevailingTemperature);
      FUZZ_CHECK(SameBits(b.appliedSource.prevailingTemperature, b.source.prevailingTemperature),
                 "PrevTemp: applied value differs");
      break;
    case kSWVPcal:
      CheckChoice("SWVPcal formulation", a.svpFormulation, b.svpFormulation);
      CheckChoice("SWVPcal factor", a.enhancementFactor, b.enhancementFactor);
      break;
    default:
      break;
  }
}

// True when a "number,index" text shows a power of ten: a 1, zeros, perhaps a point and more
// zeros, perhaps an exponent ("1000000", "10000.", "1.e-001"). Only there can the rounding of
// FormatSignificant have carried into one more digit, which may change the form the number
// is shown in when it is loaded again.
bool PowerOfTenSpelling(const std::string& text) {
  size_t i = text[0] == '-' ? 1 : 0;
  if (text[i++] != '1') return false;
  while (text[i] == '0') ++i;
  if (text[i] == '.') ++i;
  while (text[i] == '0') ++i;
  if (text[i] == 'e') {
    i += 2;
    while (FuzzDigit(text[i])) ++i;
  }
  return text[i] == ',';
}

// True when the members a key loads, and its field number, are the same in both.
bool SameKeyValues(SettingsKey key, const Loaded& x, const Loaded& y) {
  const CalculatorValues& a = x.state;
  const CalculatorValues& b = y.state;
  switch (key) {
    case kSrcDew:
      return SameBits(x.numbers[key], y.numbers[key]) &&
             a.sourceMoistureUnit == b.sourceMoistureUnit;
    case kSrcPrs:
      return SameBits(x.numbers[key], y.numbers[key]) &&
             a.sourcePressureUnit == b.sourcePressureUnit;
    case kTrgDew:
      return a.targetMoistureUnit == b.targetMoistureUnit;
    case kTrgPrs:
      return SameBits(x.numbers[key], y.numbers[key]) &&
             a.targetPressureUnit == b.targetPressureUnit;
    case kMolWt:
      return a.source.gasChoice == b.source.gasChoice &&
             SameBits(a.source.molecularWeight, b.source.molecularWeight) &&
             a.target.gasChoice == b.target.gasChoice &&
             SameBits(a.target.molecularWeight, b.target.molecularWeight) &&
             SameBits(a.appliedSource.molecularWeight, b.appliedSource.molecularWeight);
    case kLiq:
      return a.source.liquidChoice == b.source.liquidChoice &&
             SameBits(a.source.henryConstant, b.source.henryConstant) &&
             a.target.liquidChoice == b.target.liquidChoice &&
             SameBits(a.target.henryConstant, b.target.henryConstant) &&
             SameBits(a.appliedSource.henryConstant, b.appliedSource.henryConstant);
    case kAmbTemp:
      return a.source.ambientUnit == b.source.ambientUnit &&
             SameBits(a.source.ambientTemperature, b.source.ambientTemperature) &&
             a.target.ambientUnit == b.target.ambientUnit &&
             SameBits(a.target.ambientTemperature, b.target.ambientTemperature) &&
             SameBits(a.appliedSource.ambientTemperature, b.appliedSource.ambientTemperature);
    case kDensityMedium:
      return a.source.densityMedium == b.source.densityMedium &&
             a.target.densityMedium == b.target.densityMedium &&
             a.appliedSource.densityMedium == b.appliedSource.densityMedium;
    case kPrevTemp:
      return a.source.prevailingUnit == b.source.prevailingUnit &&
             SameBits(a.source.prevailingTemperature, b.source.prevailingTemperature) &&
             a.target.prevailingUnit == b.target.prevailingUnit &&
             SameBits(a.target.prevailingTemperature, b.target.prevailingTemperature) &&
             SameBits(a.appliedSource.prevailingTemperature, b.appliedSource.prevailingTemperature);
    case kSWVPcal:
      return a.svpFormulation == b.svpFormulation && a.enhancementFactor == b.enhancementFactor;
    default:
      return true;
  }
}

// Composes with arbitrary field texts and selections, as a save while the window shows a
// message, or with no unit selected, produces; then loads the texts again.
void CheckArbitraryFields(const Loaded& loaded, FuzzedDataProvider& provider) {
  MainWindowFields fields;
  char* texts[] = {fields.sourceValue, fields.sourcePressure, fields.targetPressure};
  for (char* text : texts) {
    const std::string chosen = provider.ConsumeRandomLengthString(kEditReadSize - 1);
    std::strncpy(text, chosen.c_str(), kEditReadSize - 1);
    text[kEditReadSize - 1] = '\0';
  }
  int* indices[] = {&fields.sourceUnitIndex, &fields.sourcePressureIndex, &fields.targetUnitIndex,
                    &fields.targetPressureIndex};
  for (int* index : indices) {
    *index = provider.ConsumeBool() ? provider.ConsumeIntegralInRange<int>(-2, 12)
                                    : provider.ConsumeIntegral<int>();
  }
  Texts composed;
  ComposeAll(loaded.state, fields, composed);
  const struct {
    SettingsKey key;
    const char* text;
    int index;
  } fieldKeys[] = {
      {kSrcDew, fields.sourceValue, fields.sourceUnitIndex},
      {kSrcPrs, fields.sourcePressure, fields.sourcePressureIndex},
      {kTrgDew, "0", fields.targetUnitIndex},
      {kTrgPrs, fields.targetPressure, fields.targetPressureIndex},
  };
  // The index follows the field's stored text; a text that reads back whole is stored as shown.
  for (const auto& field : fieldKeys) {
    const std::string& text = composed[field.key];
    const std::string index = "," + std::to_string(field.index);
    FUZZ_CHECK(text.size() > index.size() &&
                   text.compare(text.size() - index.size(), index.size(), index) == 0,
               "%s: composed \"%s\" does not end in \"%s\"", kSettingsKeyNames[field.key],
               text.c_str(), index.c_str());
    const std::string stored = text.substr(0, text.size() - index.size());
    const char* end = GrammarNumberEnd(field.text);
    if (end && *end == '\0' && std::strchr(field.text, ',') == nullptr) {
      FUZZ_CHECK(stored == field.text, "%s: \"%s\" stored as \"%s\"", kSettingsKeyNames[field.key],
                 field.text, stored.c_str());
    }
  }
  Loaded again = loaded;
  LoadAll(composed, again, "arbitrary fields");
  // Each field loads as the number it holds, in the unit selected when it was saved.
  const struct {
    SettingsKey key;
    const char* text;
    int index;
    int32_t unit;
    int unitCount;
  } loadedFields[] = {
      {kSrcDew, fields.sourceValue, fields.sourceUnitIndex, again.state.sourceMoistureUnit, 11},
      {kSrcPrs, fields.sourcePressure, fields.sourcePressureIndex, again.state.sourcePressureUnit,
       5},
      {kTrgPrs, fields.targetPressure, fields.targetPressureIndex, again.state.targetPressureUnit,
       5},
  };
  for (const auto& field : loadedFields) {
    const float held = ToSingle(ParseNumber(field.text));
    if (std::isfinite(held)) {
      FUZZ_CHECK(SameBits(again.numbers[field.key], held), "%s: field \"%s\" loaded as %.9g",
                 kSettingsKeyNames[field.key], field.text,
                 static_cast<double>(again.numbers[field.key]));
    }
    const bool inCatalogue = field.index >= 0 && field.index < field.unitCount;
    FUZZ_CHECK(field.unit == (inCatalogue ? field.index : 0), "%s: index %d loaded as unit %d",
               kSettingsKeyNames[field.key], field.index, field.unit);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return 0;
  Texts texts;
  size_t at = 0;
  for (int key = 0; key < kSettingsKeyCount && at < size; ++key) {
    const void* newline = std::memchr(data + at, '\n', size - at);
    const size_t end = newline ? static_cast<const uint8_t*>(newline) - data : size;
    const char* line = reinterpret_cast<const char*>(data + at);
    texts[kSettingsLoadOrder[key]] = std::string(line, strnlen(line, end - at));
    at = newline ? end + 1 : size;
  }

  // The first start: a zero state, every key loaded; a second load changes nothing.
  Loaded first{};
  LoadAll(texts, first, "first load");
  Loaded repeated = first;
  LoadAll(texts, repeated, "repeated load");
  for (SettingsKey key : kSettingsLoadOrder) {
    FUZZ_CHECK(SameKeyValues(key, first, repeated), "%s: \"%s\" loaded twice differs",
               kSettingsKeyNames[key], texts[key].c_str());
  }

  // Save, then the next start: load the saved texts into a zero state, save again.
  const MainWindowFields firstFields = FieldsShowing(first);
  Texts saved;
  ComposeAll(first.state, firstFields, saved);
  Loaded second{};
  LoadAll(saved, second, "load of saved texts");
  const MainWindowFields secondFields = FieldsShowing(second);
  Texts savedAgain;
  ComposeAll(second.state, secondFields, savedAgain);
  Loaded third{};
  LoadAll(savedAgain, third, "load of texts saved again");
  const MainWindowFields thirdFields = FieldsShowing(third);
  Texts savedThird;
  ComposeAll(third.state, thirdFields, savedThird);
  for (SettingsKey key : kSettingsSaveOrder) {
    if (!ReadCompletely(saved[key], ReadFormat(key))) continue;
    CheckRoundTrip(key, first, firstFields, second);
    FUZZ_CHECK(SameKeyValues(key, second, third), "%s: \"%s\" loads unlike \"%s\"",
               kSettingsKeyNames[key], savedAgain[key].c_str(), saved[key].c_str());
    // The same text again, except where a shown number's rounding carried into one more
    // digit, so that the form was chosen for the number before rounding: 999999.5 with 6
    // digits is shown as "1000000", the 1000000 loaded from that as "1.e+006" (9999.99 with
    // 5 digits: "10000.", then "10000"; 0.0999996: "1.e-001", then "0.1"). The same number,
    // spelt anew once (the values are checked equal above).
    FUZZ_CHECK(
        savedAgain[key] == saved[key] || (ShownDigits(key) != 0 && PowerOfTenSpelling(saved[key])),
        "%s: \"%s\" saved as \"%s\", then as \"%s\"", kSettingsKeyNames[key], texts[key].c_str(),
        saved[key].c_str(), savedAgain[key].c_str());
    FUZZ_CHECK(savedThird[key] == savedAgain[key], "%s: saved as \"%s\", then as \"%s\"",
               kSettingsKeyNames[key], savedAgain[key].c_str(), savedThird[key].c_str());
  }

  FuzzedDataProvider provider(data + at, size - at);
  CheckArbitraryFields(first, provider);
  return 0;
}
