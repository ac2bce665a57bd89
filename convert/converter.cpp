// The command-line converter's work: arguments, one reading, and CSV streams.
#include "convert/converter.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

#include "app/conversion_steps.h"
#include "app/number_text.h"
#include "app/unit_catalogues.h"
#include "dialogs/temperature_entry.h"

namespace {

struct NamedCode {
  const char* name;
  int code;
  const char* meaning;
};

constexpr NamedCode kMoistureUnitNames[] = {
    {"frost-c", DewFrostPointC, "dew/frost point, degC (frost point below 0 degC)"},
    {"dew-c", DewPointC, "dew point over supercooled water (no ice), degC"},
    {"frost-f", DewFrostPointF, "dew/frost point, degF"},
    {"dew-f", DewPointF, "dew point over supercooled water (no ice), degF"},
    {"ppmv", PpmV, "parts per million by volume"},
    {"ppmw-gas", PpmWGas, "parts per million by weight in a gas (needs --mol-weight)"},
    {"lb-mmscf", LbsPerMmscf, "lb water per million std ft3 of natural gas (IGT)"},
    {"g-m3", GramsPerM3, "grams of water per m3 (needs --medium, --prevailing)"},
    {"mbar-vp", VapourPressureMbar, "partial water vapour pressure, mbar"},
    {"rh", RelativeHumidity, "percent relative humidity (needs --ambient)"},
    {"ppmw-liquid", PpmWLiquid, "ppmW dissolved in a liquid (needs --henry)"},
};

constexpr NamedCode kPressureUnitNames[] = {
    {"mbar", Mbar, "millibar"},
    {"psia", Psi, "pounds per square inch, absolute"},
    {"psig", Psig, "pounds per square inch, gauge"},
    {"atm", Atm, "standard atmospheres"},
    {"kpa", Kpa, "kilopascal"},
};

constexpr NamedCode kMediumNames[] = {
    {"water", kMediumWaterVapour, "pure water vapour"},
    {"air", kMediumAir, "air and water vapour mixture"},
    {"natural-gas", kMediumNaturalGas, "natural gas at standard conditions"},
};

constexpr NamedCode kFormulationNames[] = {
    {"goff-gratch", GoffGratch, "Goff-Gratch (default)"},
    {"hyland-wexler", HylandWexler, "Hyland and Wexler 1983"},
    {"sonntag", Sonntag, "Sonntag 1990"},
    {"magnus", Magnus, "Magnus (least accurate)"},
};

constexpr NamedCode kEnhancementNames[] = {
    {"none", NoFactor, "no enhancement factor (default)"},
    {"bogel", Bogel, "Bogel enhancement factor"},
    {"greenspan", Greenspan, "Greenspan enhancement factor"},
};

template <size_t N>
const NamedCode* FindName(const NamedCode (&table)[N], const char* name) {
  for (const NamedCode& entry : table) {
    if (std::strcmp(entry.name, name) == 0) return &entry;
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

// "20", "20C" or "68F": a temperature held in degC, converted from degF as the dialogs do.
bool ParseTemperature(const char* text, float* celsius, bool* fahrenheit) {
  double number;
  const char* end = ScanNumber(text, &number);
  if (!end) return false;
  *fahrenheit = *end == 'F' || *end == 'f';
  if (*end == 'C' || *end == 'c' || *fahrenheit) ++end;
  if (*end != '\0') return false;
  *celsius = ToSingle(*fahrenheit ? CelsiusFromFahrenheit(number) : number);
  return true;
}

enum SideSelector { kBothSides, kSourceSide, kTargetSide };

// Applies a side option to the sides it names. Returns a status.
int ApplySideOption(const char* option, const char* argument, SideSelector sides,
                    ConverterRequest* request, char* message, size_t size) {
  SideContext* targets[2] = {sides != kTargetSide ? &request->source : nullptr,
                             sides != kSourceSide ? &request->target : nullptr};
  for (SideContext* side : targets) {
    if (!side) continue;
    if (std::strcmp(option, "mol-weight") == 0 || std::strcmp(option, "henry") == 0) {
      double value;
      if (!ParseWholeNumber(argument, &value)) {
        return Fail(kConvertBadNumber, message, size, "--%s: not a number: '%s'", option, argument);
      }
      const float held = ToSingle(value);
      if (!(held > 0.0f) || !std::isfinite(held)) {
        return Fail(kConvertOutOfRange, message, size, "--%s: must be greater than 0, not %s",
                    option, argument);
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
                    "--%s: not a temperature: '%s' (a number, optionally followed by C or F)",
                    option, argument);
      }
      if (!IsAcceptedTemperature(celsius)) {
        return Fail(kConvertOutOfRange, message, size,
                    "--%s: stay between -80 and 200 degC (both excluded), not %s", option,
                    argument);
      }
      if (option[0] == 'a') {
        side->ambientTemperature = celsius;
        side->ambientUnit = fahrenheit ? kAmbientFahrenheit : kAmbientCelsius;
      } else {
        side->prevailingTemperature = celsius;
        side->prevailingUnit = fahrenheit ? kPrevailingFahrenheit : kPrevailingCelsius;
      }
    } else if (std::strcmp(option, "medium") == 0) {
      const NamedCode* medium = FindName(kMediumNames, argument);
      if (!medium) {
        return Fail(kConvertUsageError, message, size,
                    "--medium: unknown medium '%s' (water, air or natural-gas)", argument);
      }
      side->densityMedium = medium->code;
    } else {
      return Fail(kConvertUsageError, message, size, "unknown option '--%s%s'",
                  sides == kSourceSide   ? "source-"
                  : sides == kTargetSide ? "target-"
                                         : "",
                  option);
    }
  }
  return kConvertOk;
}

int ParseUnitOption(const char* option, const char* argument, const NamedCode* table, size_t count,
                    const char* kind, int* code, char* message, size_t size) {
  for (size_t i = 0; i < count; ++i) {
    if (std::strcmp(table[i].name, argument) == 0) {
      *code = table[i].code;
      return kConvertOk;
    }
  }
  return Fail(kConvertUsageError, message, size, "%s: unknown %s '%s' (see --help)", option, kind,
              argument);
}

int ParsePressure(const char* option, const char* argument, double* reading, char* message,
                  size_t size) {
  if (!ParseWholeNumber(argument, reading)) {
    return Fail(kConvertBadNumber, message, size, "%s: not a number: '%s'", option, argument);
  }
  return kConvertOk;
}

#define TABLE_ARGS(table) table, sizeof table / sizeof table[0]

// Options that take an argument, other than the side options.
int ParseOption(const char* option, const char* argument, ConverterRequest* request, char* message,
                size_t size) {
  if (std::strcmp(option, "--from") == 0) {
    return ParseUnitOption(option, argument, TABLE_ARGS(kMoistureUnitNames), "moisture unit",
                           &request->sourceUnit, message, size);
  }
  if (std::strcmp(option, "--to") == 0) {
    return ParseUnitOption(option, argument, TABLE_ARGS(kMoistureUnitNames), "moisture unit",
                           &request->targetUnit, message, size);
  }
  if (std::strcmp(option, "--pressure-unit") == 0) {
    return ParseUnitOption(option, argument, TABLE_ARGS(kPressureUnitNames), "pressure unit",
                           &request->sourcePressureUnit, message, size);
  }
  if (std::strcmp(option, "--target-pressure-unit") == 0) {
    return ParseUnitOption(option, argument, TABLE_ARGS(kPressureUnitNames), "pressure unit",
                           &request->targetPressureUnit, message, size);
  }
  if (std::strcmp(option, "--pressure") == 0) {
    return ParsePressure(option, argument, &request->sourcePressure, message, size);
  }
  if (std::strcmp(option, "--target-pressure") == 0) {
    return ParsePressure(option, argument, &request->targetPressure, message, size);
  }
  if (std::strcmp(option, "--formulation") == 0) {
    return ParseUnitOption(option, argument, TABLE_ARGS(kFormulationNames), "formulation",
                           &request->svpFormulation, message, size);
  }
  if (std::strcmp(option, "--enhancement") == 0) {
    return ParseUnitOption(option, argument, TABLE_ARGS(kEnhancementNames), "enhancement factor",
                           &request->enhancementFactor, message, size);
  }
  if (std::strncmp(option, "--source-", 9) == 0) {
    return ApplySideOption(option + 9, argument, kSourceSide, request, message, size);
  }
  if (std::strncmp(option, "--target-", 9) == 0) {
    return ApplySideOption(option + 9, argument, kTargetSide, request, message, size);
  }
  return ApplySideOption(option + 2, argument, kBothSides, request, message, size);
}

// Removes blanks around a CSV field in place.
char* TrimField(char* field) {
  while (*field == ' ' || *field == '\t') ++field;
  char* end = field + std::strlen(field);
  while (end > field && (end[-1] == ' ' || end[-1] == '\t')) --end;
  *end = '\0';
  return field;
}

constexpr int kResultTextSize = 100;
constexpr int kLineSize = 4096;

// Converts one CSV row's fields; writes the result column text. Returns a status.
int ConvertRow(const ConverterRequest& request, char* row, char* result, size_t size) {
  char* fields[3] = {row, nullptr, nullptr};
  int count = 1;
  for (char* p = row; *p && count < 3; ++p) {
    if (*p == ',') {
      *p = '\0';
      fields[count++] = p + 1;
    }
  }
  double value;
  if (!ParseWholeNumber(TrimField(fields[0]), &value)) {
    return Fail(kConvertBadNumber, result, size, "error: not a number: '%s'", fields[0]);
  }
  double pressures[2] = {request.sourcePressure, request.targetPressure};
  for (int i = 1; i < count; ++i) {
    char* field = TrimField(fields[i]);
    if (*field && !ParseWholeNumber(field, &pressures[i - 1])) {
      return Fail(kConvertBadNumber, result, size, "error: not a pressure: '%s'", field);
    }
  }
  char text[kResultTextSize];
  const int status = ConvertReading(request, value, pressures[0], pressures[1], text, sizeof text);
  std::snprintf(result, size, "%s%s", status == kConvertOk ? "" : "error: ", text);
  return status;
}

}  // namespace

ConverterRequest DefaultConverterRequest() {
  ConverterRequest request{};
  request.sourceUnit = DewFrostPointC;
  request.targetUnit = DewFrostPointC;
  request.sourcePressureUnit = Mbar;
  request.targetPressureUnit = Mbar;
  request.sourcePressure = 1013.25;
  request.targetPressure = 1013.25;
  request.source = DefaultSideContext();
  request.target = DefaultSideContext();
  request.svpFormulation = GoffGratch;
  request.enhancementFactor = NoFactor;
  return request;
}

int ParseConverterArguments(int argc, const char* const* argv, ConverterRequest* request,
                            char* message, size_t size) {
  message[0] = '\0';
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
      request->help = true;
    } else if (std::strcmp(argument, "--batch") == 0) {
      request->batch = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') request->batchFile = argv[++i];
    } else if (argument[0] == '-' && argument[1] == '-') {
      if (i + 1 >= argc) {
        return Fail(kConvertUsageError, message, size, "%s: missing its value", argument);
      }
      const int status = ParseOption(argument, argv[++i], request, message, size);
      if (status != kConvertOk) return status;
    } else if (!request->hasValue) {
      if (!ParseWholeNumber(argument, &request->value)) {
        return Fail(kConvertBadNumber, message, size, "not a number: '%s'", argument);
      }
      request->hasValue = true;
    } else {
      return Fail(kConvertUsageError, message, size, "unexpected argument '%s'", argument);
    }
  }
  if (!request->help && !request->batch && !request->hasValue) {
    return Fail(kConvertUsageError, message, size, "missing the value to convert (see --help)");
  }
  if (request->batch && request->hasValue) {
    return Fail(kConvertUsageError, message, size, "--batch takes its values from rows, not '%g'",
                request->value);
  }
  return kConvertOk;
}

int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size) {
  if (IsOutsideSourceRange(request.sourceUnit, value)) {
    std::snprintf(text, size, "%s", FindSourceRange(request.sourceUnit)->message);
    return kConvertOutOfRange;
  }
  calculator.svpFormulation = request.svpFormulation;
  calculator.enhancementFactor = request.enhancementFactor;
  ComposeResultText(request.sourceUnit, ToSingle(value),
                    PressureMbarFromReading(request.sourcePressureUnit, sourcePressure),
                    request.source, request.targetUnit,
                    PressureMbarFromReading(request.targetPressureUnit, targetPressure),
                    request.target, text, size);
  return kConvertOk;
}

int ConvertBatch(const ConverterRequest& request, FILE* in, FILE* out) {
  char line[kLineSize];
  int firstFailure = kConvertOk;
  bool firstRow = true;
  while (std::fgets(line, sizeof line, in)) {
    size_t length = std::strlen(line);
    const bool complete = length > 0 && line[length - 1] == '\n';
    if (!complete && !std::feof(in)) {
      // A row longer than the buffer: the rest of it is skipped.
      for (int c = std::fgetc(in); c != EOF && c != '\n'; c = std::fgetc(in)) {
      }
      std::fputs("error: row too long\n", out);
      if (firstFailure == kConvertOk) firstFailure = kConvertUsageError;
      firstRow = false;
      continue;
    }
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
      line[--length] = '\0';
    if (length == 0) {
      std::fputc('\n', out);
      continue;
    }
    char row[kLineSize];
    std::memcpy(row, line, length + 1);
    char result[kResultTextSize + 64];
    const int status = ConvertRow(request, row, result, sizeof result);
    double ignored;
    const bool header = firstRow && status == kConvertBadNumber && !ScanNumber(line, &ignored);
    firstRow = false;
    std::fputs(line, out);
    std::fputc(',', out);
    if (header) {
      std::fputs("result\n", out);
      continue;
    }
    WriteLatin1AsUtf8(result, out);
    std::fputc('\n', out);
    if (status != kConvertOk && firstFailure == kConvertOk) firstFailure = status;
  }
  return firstFailure;
}

void WriteLatin1AsUtf8(const char* text, FILE* out) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x80) {
      std::fputc(*p, out);
    } else {
      std::fputc(0xC0 | (*p >> 6), out);
      std::fputc(0x80 | (*p & 0x3F), out);
    }
  }
}

void PrintConverterHelp(FILE* out) {
  std::fputs(
      "Usage: ruruzir-convert [options] VALUE\n"
      "       ruruzir-convert [options] --batch [FILE]\n"
      "Converts moisture readings with the Ruruzir Dewpoint Calculator's physics and prints\n"
      "the result exactly as the calculator's result box shows it, or \"out of range\".\n\n"
      "Moisture units (--from, --to; default frost-c):\n",
      out);
  for (const NamedCode& unit : kMoistureUnitNames) {
    std::fprintf(out, "  %-12s %s\n", unit.name, unit.meaning);
  }
  std::fputs("Pressure units (--pressure-unit, --target-pressure-unit; default mbar):\n", out);
  for (const NamedCode& unit : kPressureUnitNames) {
    std::fprintf(out, "  %-12s %s\n", unit.name, unit.meaning);
  }
  std::fputs(
      "Options:\n"
      "  --pressure P             source total pressure (default 1013.25)\n"
      "  --target-pressure P      target total pressure (default 1013.25)\n"
      "  --mol-weight M           molecular weight of the gas, > 0 (default 29, air)\n"
      "  --henry K                Henry's constant, ppmW per mbar, > 0 (default 1.9, hexane)\n"
      "  --ambient T              ambient temperature, e.g. 20, 20C or 68F (default 20C)\n"
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
      "                           from FILE or standard input; each row is written back with\n"
      "                           the result appended; a first row that is not a number is a\n"
      "                           header and gets \"result\"\n"
      "  --help                   this text\n"
      "Exit status: 0 converted (the result may be \"out of range\"), 1 bad option, unit or\n"
      "missing value, 2 a number that does not parse, 3 a value outside its unit's range.\n",
      out);
}
