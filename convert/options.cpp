// The converter's command line, read with CLI11: option names and values, the help text.
// CLI11 takes care of the grammar (--option value, --option=value, -h, a missing value, the
// value that may start with a minus sign); the values themselves are read here, so that every
// message names the option and the text that was wrong, and each kind of fault keeps its exit
// status.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "core/unit_names.h"
#include "convert/converter.h"
#include "physics/rounding.h"
#include "ruruzir_version.h"
#include "core/temperature_entry.h"

namespace ruruzir {

const char kConverterVersion[] = RURUZIR_VERSION;

namespace {

constexpr NamedCode kPressureUnitNames[] = {
    {"mbar", Code(PressureUnitCode::Mbar), "millibar (default 1013.25)"},
    {"psia", Code(PressureUnitCode::Psi),
     "pounds per square inch, absolute (default 14.696; alias psi)"},
    {"psi", Code(PressureUnitCode::Psi), nullptr},
    {"psig", Code(PressureUnitCode::Psig), "pounds per square inch, gauge (default 0)"},
    {"atm", Code(PressureUnitCode::Atm), "standard atmospheres (default 1)"},
    {"kpa", Code(PressureUnitCode::Kpa), "kilopascal (default 101.325)"},
};

constexpr NamedCode kMediumNames[] = {
    {"water", kMediumWaterVapour, "pure water vapour: the density of the moist gas itself"},
    {"air", kMediumAir, "air and water vapour mixture: grams of water"},
    {"natural-gas", kMediumNaturalGas, "natural gas at standard conditions: grams of water"},
};

constexpr NamedCode kFormulationNames[] = {
    {"goff-gratch", static_cast<int>(Formulation::GoffGratch), "Goff-Gratch (default)"},
    {"hyland-wexler", static_cast<int>(Formulation::HylandWexler), "Hyland and Wexler 1983"},
    {"sonntag", static_cast<int>(Formulation::Sonntag), "Sonntag 1990"},
    {"magnus", static_cast<int>(Formulation::Magnus), "Magnus (least accurate)"},
};

constexpr NamedCode kEnhancementNames[] = {
    {"none", static_cast<int>(EnhancementFactor::None), "no enhancement factor (default)"},
    {"bogel", static_cast<int>(EnhancementFactor::Bogel), "Bogel enhancement factor"},
    {"greenspan", static_cast<int>(EnhancementFactor::Greenspan), "Greenspan enhancement factor"},
};

bool SameLetters(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return *a == *b;
}

template <size_t N>
const NamedCode* FindName(const NamedCode (&table)[N], const char* name) {
  for (const NamedCode& entry : table) {
    if (SameLetters(entry.name, name)) return &entry;
  }
  return nullptr;
}

int Fail(int status, char* message, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, size, format, arguments);
  va_end(arguments);
  return status;
}

// A whole text as one number (blanks around it allowed).
bool ParseWholeNumber(const char* text, double* value) {
  const char* end = ScanNumber(text, value);
  if (!end) return false;
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0';
}

// True when `text` begins with `word` (lower-case letters), in any case.
bool StartsWithLetters(const char* text, const char* word) {
  for (; *word; ++text, ++word) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != *word) return false;
  }
  return true;
}

// Skips a "deg" or degree sign (Windows-1252 or UTF-8) before a C or F.
const char* SkipDegree(const char* p) {
  if (StartsWithLetters(p, "deg")) return p + 3;
  if (static_cast<unsigned char>(p[0]) == 0xB0) return p + 1;
  if (static_cast<unsigned char>(p[0]) == 0xC2 && static_cast<unsigned char>(p[1]) == 0xB0) {
    return p + 2;
  }
  return p;
}

// "20", "20C", "68F", "68 degf", "20°C": a temperature held in degC, converted from degF as
// the dialogs do.
bool ParseTemperature(const char* text, float* celsius, bool* fahrenheit) {
  double number;
  const char* end = ScanNumber(text, &number);
  if (!end) return false;
  while (*end == ' ') ++end;
  const char* unit = SkipDegree(end);
  *fahrenheit = *unit == 'F' || *unit == 'f';
  if (*unit == 'C' || *unit == 'c' || *fahrenheit) {
    end = unit + 1;
  } else if (unit != end) {
    return false;  // a degree without its scale
  }
  while (*end == ' ') ++end;
  if (*end != '\0') return false;
  *celsius = ToSingle(*fahrenheit ? CelsiusFromFahrenheit(number) : number);
  return true;
}

enum class SideSelector { BothSides, SourceSide, TargetSide };

// Applies the side option `option` ("mol-weight", ...) to the sides it names.
int ApplySideOption(const char* option, const char* prefix, const char* argument,
                    SideSelector sides, ConverterRequest* request, char* message, size_t size) {
  SideContext* targets[2] = {sides != SideSelector::TargetSide ? &request->source : nullptr,
                             sides != SideSelector::SourceSide ? &request->target : nullptr};
  for (SideContext* side : targets) {
    if (!side) continue;
    if (std::strcmp(option, "mol-weight") == 0 || std::strcmp(option, "henry") == 0) {
      double value;
      if (!ParseWholeNumber(argument, &value)) {
        return Fail(kConvertBadNumber, message, size, "--%s%s: not a number: '%s'", prefix, option,
                    argument);
      }
      const float held = ToSingle(value);
      if (!(held > 0.0f) || !std::isfinite(held)) {
        return Fail(kConvertOutOfRange, message, size, "--%s%s: must be greater than 0, not %s",
                    prefix, option, argument);
      }
      if (option[0] == 'm') {
        side->gasChoice = kGasOther;
        side->molecularWeight = held;
      } else {
        side->liquidChoice = kLiquidOther;
        side->henryConstant = held;
      }
    } else if (std::strcmp(option, "ambient") == 0 || std::strcmp(option, "prevailing") == 0) {
      float celsius;
      bool fahrenheit;
      if (!ParseTemperature(argument, &celsius, &fahrenheit)) {
        return Fail(kConvertBadNumber, message, size,
                    "--%s%s: not a temperature: '%s' (a number, optionally followed by C or F)",
                    prefix, option, argument);
      }
      if (!IsAcceptedTemperature(celsius)) {
        return Fail(kConvertOutOfRange, message, size,
                    "--%s%s: stay between -80 and 200 degC (both excluded), not %s", prefix, option,
                    argument);
      }
      if (option[0] == 'a') {
        side->ambientTemperature = celsius;
        side->ambientUnit = fahrenheit ? kAmbientFahrenheit : kAmbientCelsius;
      } else {
        side->prevailingTemperature = celsius;
        side->prevailingUnit = fahrenheit ? kPrevailingFahrenheit : kPrevailingCelsius;
      }
    } else {  // medium
      const NamedCode* medium = FindName(kMediumNames, argument);
      if (!medium) {
        return Fail(kConvertUsageError, message, size,
                    "--%smedium: unknown medium '%s' (water, air or natural-gas)", prefix,
                    argument);
      }
      side->densityMedium = medium->code;
    }
  }
  return kConvertOk;
}

template <size_t N>
int ParseName(const char* option, const std::string& argument, const NamedCode (&table)[N],
              const char* kind, int* code, char* message, size_t size) {
  const NamedCode* entry = FindName(table, argument.c_str());
  if (!entry) {
    return Fail(kConvertUsageError, message, size, "%s: unknown %s '%s' (see --help)", option, kind,
                argument.c_str());
  }
  *code = entry->code;
  return kConvertOk;
}

int ParsePressure(const char* option, const std::string& argument, double* reading, char* message,
                  size_t size) {
  if (!ParseWholeNumber(argument.c_str(), reading)) {
    return Fail(kConvertBadNumber, message, size, "%s: not a number: '%s'", option,
                argument.c_str());
  }
  return kConvertOk;
}

constexpr const char* kSideOptions[] = {"mol-weight", "henry", "ambient", "prevailing", "medium"};
constexpr int kSideOptionCount = sizeof kSideOptions / sizeof kSideOptions[0];

// The command line as CLI11 hands it over: texts, checked afterwards.
struct OptionTexts {
  std::string from, to, pressureUnit, targetPressureUnit, pressure, targetPressure;
  std::string formulation, enhancement, delimiter, batchFile, value;
  std::string side[3][kSideOptionCount];  // shared, source-, target-
  bool help = false, version = false, header = false, noHeader = false;
};

// A text that CLI11 would take for a short option but that is a number ("-.5").
bool IsNumberLookingLikeAnOption(const char* argument) {
  double ignored;
  return argument[0] == '-' && argument[1] == '.' && ParseWholeNumber(argument, &ignored);
}

}  // namespace

ConverterRequest DefaultConverterRequest() {
  ConverterRequest request{};
  request.sourceUnit = Code(MoistureUnitCode::DewFrostPointC);
  request.targetUnit = Code(MoistureUnitCode::DewFrostPointC);
  request.sourcePressureUnit = Code(PressureUnitCode::Mbar);
  request.targetPressureUnit = Code(PressureUnitCode::Mbar);
  request.sourcePressure = NAN;
  request.targetPressure = NAN;
  request.source = DefaultSideContext();
  request.target = DefaultSideContext();
  request.model = MoistureModel{Formulation::GoffGratch, EnhancementFactor::None};
  request.header = BatchHeader::Auto;
  return request;
}

int ParseConverterArguments(int argc, const char* const* argv, ConverterRequest* request,
                            char* message, size_t size) {
  message[0] = '\0';
  OptionTexts texts;
  CLI::App app{"ruruzir-convert"};
  app.set_help_flag();  // the help text is ours: PrintConverterHelp
  app.allow_extras();
  app.allow_windows_style_options(false);  // "/tmp/rows.csv" is a file, not an option
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("-h,--help", texts.help);
  app.add_flag("--version", texts.version);
  app.add_option("--from", texts.from);
  app.add_option("--to", texts.to);
  app.add_option("--pressure-unit", texts.pressureUnit);
  app.add_option("--target-pressure-unit", texts.targetPressureUnit);
  app.add_option("--pressure", texts.pressure);
  app.add_option("--target-pressure", texts.targetPressure);
  app.add_option("--formulation", texts.formulation);
  app.add_option("--enhancement", texts.enhancement);
  app.add_option("--delimiter", texts.delimiter);
  app.add_flag("--header", texts.header);
  app.add_flag("--no-header", texts.noHeader);
  CLI::Option* batch = app.add_option("--batch", texts.batchFile)->expected(0, 1);
  const char* prefixes[3] = {"--", "--source-", "--target-"};
  for (int s = 0; s < 3; ++s) {
    for (int o = 0; o < kSideOptionCount; ++o) {
      app.add_option(std::string(prefixes[s]) + kSideOptions[o], texts.side[s][o]);
    }
  }
  app.add_option("value", texts.value);

  std::vector<std::string> arguments;  // reversed, as CLI11 takes them
  for (int i = argc - 1; i >= 1; --i) {
    arguments.emplace_back(argv[i]);
    if (IsNumberLookingLikeAnOption(argv[i])) arguments.back().insert(1, "0");
  }
  try {
    app.parse(arguments);
  } catch (const CLI::ArgumentMismatch& error) {
    // "--to: 1 required TEXT missing": name the option in our own words.
    const std::string text = error.what();
    return Fail(kConvertUsageError, message, size, "%s: missing its value",
                text.substr(0, text.find(':')).c_str());
  } catch (const CLI::ParseError& error) {
    return Fail(kConvertUsageError, message, size, "%s", error.what());
  }
  std::vector<std::string> extras = app.remaining();
  extras.erase(std::remove(extras.begin(), extras.end(), "--"), extras.end());
  for (const std::string& extra : extras) {
    double ignored;
    if (extra[0] == '-' && !ParseWholeNumber(extra.c_str(), &ignored)) {
      return Fail(kConvertUsageError, message, size, "unknown option '%s'", extra.c_str());
    }
  }
  if (!extras.empty()) {
    return Fail(kConvertUsageError, message, size, "unexpected argument '%s'",
                extras.front().c_str());
  }

  request->help = texts.help;
  request->version = texts.version;
  int status = kConvertOk;
  auto name = [&](const char* option, const std::string& text, const auto& table, const char* kind,
                  int* code) {
    if (status == kConvertOk && !text.empty()) {
      status = ParseName(option, text, table, kind, code, message, size);
    }
  };
  name("--from", texts.from, kMoistureUnitNames, "moisture unit", &request->sourceUnit);
  name("--to", texts.to, kMoistureUnitNames, "moisture unit", &request->targetUnit);
  name("--pressure-unit", texts.pressureUnit, kPressureUnitNames, "pressure unit",
       &request->sourcePressureUnit);
  name("--target-pressure-unit", texts.targetPressureUnit, kPressureUnitNames, "pressure unit",
       &request->targetPressureUnit);
  int formulation = static_cast<int>(request->model.formulation);
  int enhancement = static_cast<int>(request->model.enhancement);
  name("--formulation", texts.formulation, kFormulationNames, "formulation", &formulation);
  name("--enhancement", texts.enhancement, kEnhancementNames, "enhancement factor", &enhancement);
  if (status != kConvertOk) return status;
  request->model = MoistureModel{static_cast<Formulation>(formulation),
                                 static_cast<EnhancementFactor>(enhancement)};
  if (!texts.pressure.empty()) {
    status = ParsePressure("--pressure", texts.pressure, &request->sourcePressure, message, size);
    if (status != kConvertOk) return status;
  }
  if (!texts.targetPressure.empty()) {
    status = ParsePressure("--target-pressure", texts.targetPressure, &request->targetPressure,
                           message, size);
    if (status != kConvertOk) return status;
  }
  // Shared side options first, so that the per-side ones override them.
  const SideSelector selectors[3] = {SideSelector::BothSides, SideSelector::SourceSide,
                                     SideSelector::TargetSide};
  for (int s = 0; s < 3; ++s) {
    for (int o = 0; o < kSideOptionCount; ++o) {
      if (texts.side[s][o].empty()) continue;
      status = ApplySideOption(kSideOptions[o], prefixes[s] + 2, texts.side[s][o].c_str(),
                               selectors[s], request, message, size);
      if (status != kConvertOk) return status;
    }
  }

  if (!texts.delimiter.empty()) {
    const std::string& d = texts.delimiter;
    if (d == "," || d == ";") {
      request->delimiter = d[0];
    } else if (d == "\t" || SameLetters(d.c_str(), "tab")) {
      request->delimiter = '\t';
    } else {
      return Fail(kConvertUsageError, message, size,
                  "--delimiter: unknown separator '%s' (',', ';' or tab)", d.c_str());
    }
  }
  if (texts.header && texts.noHeader) {
    return Fail(kConvertUsageError, message, size, "--header and --no-header exclude each other");
  }
  request->header = texts.header     ? BatchHeader::Yes
                    : texts.noHeader ? BatchHeader::No
                                     : BatchHeader::Auto;

  request->batch = batch->count() > 0;
  if (request->batch) {
    // "--batch -20": the number is the value to convert, not a file name.
    double number;
    if (!texts.batchFile.empty() && ParseWholeNumber(texts.batchFile.c_str(), &number)) {
      texts.value = texts.batchFile;
      texts.batchFile.clear();
    }
    request->batchFile = nullptr;
    for (int i = 1; i < argc && !texts.batchFile.empty(); ++i) {
      // The file name as given, so that it lives as long as argv.
      const char* argument = argv[i];
      const char* equals = std::strncmp(argument, "--batch=", 8) == 0 ? argument + 8 : nullptr;
      if (equals && texts.batchFile == equals) request->batchFile = equals;
      if (texts.batchFile == argument) request->batchFile = argument;
    }
  }
  if (!texts.value.empty()) {
    if (!ParseWholeNumber(texts.value.c_str(), &request->value)) {
      return Fail(kConvertBadNumber, message, size, "not a number: '%s'", texts.value.c_str());
    }
    request->hasValue = true;
  }
  if (request->help || request->version) return kConvertOk;
  if (!request->batch && !request->hasValue) {
    return Fail(kConvertUsageError, message, size, "missing the value to convert (see --help)");
  }
  if (request->batch && request->hasValue) {
    return Fail(kConvertUsageError, message, size, "--batch takes its values from rows, not '%s'",
                texts.value.c_str());
  }
  return kConvertOk;
}

void PrintConverterHelp(FILE* out) {
  std::fputs(
      "Usage: ruruzir-convert [options] VALUE\n"
      "       ruruzir-convert [options] --batch [FILE]\n"
      "Converts moisture readings with the Ruruzir Dewpoint Calculator's physics and prints\n"
      "the result exactly as the calculator's result box shows it, or \"out of range\".\n"
      "Options take their value as --option VALUE or --option=VALUE; unit and other names\n"
      "may be written in any case.\n\n"
      "Moisture units (--from, --to; default frost-c):\n",
      out);
  for (const NamedCode& unit : kMoistureUnitNames) {
    if (unit.meaning) std::fprintf(out, "  %-12s %s\n", unit.name, unit.meaning);
  }
  std::fputs(
      "  ppmV is on a dry basis: moles of water per million moles of dry gas.\n"
      "  lb-mmscf follows the IGT correlation: about 20 ppmV per lb at 1 atm, and the ratio\n"
      "  changes with pressure.\n"
      "  g-m3 with --medium water is the density of the moist gas itself (it hardly changes\n"
      "  below a -10 degC frost point); with air or natural-gas it is grams of water.\n"
      "  An rh above 100 means the dew point lies above the ambient temperature.\n"
      "Pressure units (--pressure-unit, --target-pressure-unit; default mbar), with the\n"
      "pressure taken when none is given, one standard atmosphere:\n",
      out);
  for (const NamedCode& unit : kPressureUnitNames) {
    if (unit.meaning) std::fprintf(out, "  %-12s %s\n", unit.name, unit.meaning);
  }
  std::fputs(
      "Options:\n"
      "  --pressure P             source total pressure (default 1 atm in its unit)\n"
      "  --target-pressure P      target total pressure (default 1 atm in its unit)\n"
      "  --mol-weight M           molecular weight of the gas, > 0 (default 29, air)\n"
      "  --henry K                Henry's constant, ppmW per mbar, > 0 (default 1.9, hexane)\n"
      "  --ambient T              ambient temperature, e.g. 20, 20C, 68F or 68degF (default 20C)\n"
      "  --prevailing T           prevailing temperature for g-m3 (default 20C)\n"
      "  --medium M               medium for g-m3 (default natural-gas):\n",
      out);
  for (const NamedCode& medium : kMediumNames) {
    std::fprintf(out, "                             %-12s %s\n", medium.name, medium.meaning);
  }
  std::fputs(
      "  --source-OPTION, --target-OPTION   any of the five above for one side only\n"
      "  --formulation F          saturation vapour pressure formulation:\n",
      out);
  for (const NamedCode& formulation : kFormulationNames) {
    std::fprintf(out, "                             %-14s %s\n", formulation.name,
                 formulation.meaning);
  }
  std::fputs("  --enhancement E          water vapour enhancement factor:\n", out);
  for (const NamedCode& factor : kEnhancementNames) {
    std::fprintf(out, "                             %-14s %s\n", factor.name, factor.meaning);
  }
  std::fputs(
      "  --batch [FILE]           convert CSV rows value[,source pressure[,target pressure]]\n"
      "                           from FILE, or from standard input without FILE or with -;\n"
      "                           every row is written back with the result appended (\"error:\n"
      "                           ...\" when it cannot be converted); an empty pressure field\n"
      "                           takes the option's pressure\n"
      "  --delimiter D            the separator: , ; or tab (default: tab if the first row\n"
      "                           holds one, else ; if it holds one, else ,); with ; and tab\n"
      "                           a decimal comma is read and written back\n"
      "  --header, --no-header    the first row is a header (gets \"result\"), or is data;\n"
      "                           by default it is a header when none of its fields is a number\n"
      "  -h, --help               this text\n"
      "  --version                the program's version\n"
      "Exit status: 0 converted (the result may be \"out of range\"), 1 bad option, unit or\n"
      "missing value, 2 a number that does not parse, 3 a value outside its unit's range,\n"
      "4 a batch in which some rows failed (standard error then names the first).\n",
      out);
}

}  // namespace ruruzir
