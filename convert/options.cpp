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

#include "convert/converter.h"
#include "core/conversion_request.h"
#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "core/vocabulary.h"
#include "physics/rounding.h"
#include "ruruzir_version.h"

namespace ruruzir {

const char kConverterVersion[] = RURUZIR_VERSION;

namespace {

int Fail(int status, char* message, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, size, format, arguments);
  va_end(arguments);
  return status;
}

// A whole text as one number (blanks around it allowed).
bool ParseWholeNumber(const char* text, double* value) {
  return ReadWholeNumber(text, false, value) == ReadOutcome::Read;
}

// The names of a kind as the help and messages list them: "water, air or natural-gas".
std::string ListOfNames(NameKind kind) {
  const NameTable& table = NamesOf(kind);
  std::string list;
  for (int i = 0, listed = 0; i < table.size; ++i) {
    if (!table.entries[i].meaning) continue;
    if (listed > 0) list += listed + 1 == table.codeCount ? " or " : ", ";
    list += table.entries[i].name;
    ++listed;
  }
  return list;
}

enum class SideSelector { BothSides, SourceSide, TargetSide };

// Applies the side option `option` ("mol-weight", ...) to the sides it names.
int ApplySideOption(const char* option, const char* prefix, const char* argument,
                    SideSelector sides, ConverterRequest* request, char* message, size_t size) {
  SideParameters* targets[2] = {sides != SideSelector::TargetSide ? &request->source : nullptr,
                                sides != SideSelector::SourceSide ? &request->target : nullptr};
  const bool temperature =
      std::strcmp(option, "ambient") == 0 || std::strcmp(option, "prevailing") == 0;
  if (std::strcmp(option, "medium") == 0) {
    const int medium = CodeOfName(NameKind::Medium, argument);
    if (medium < 0) {
      return Fail(kConvertUsageError, message, size, "--%smedium: unknown medium '%s' (%s)", prefix,
                  argument, ListOfNames(NameKind::Medium).c_str());
    }
    for (SideParameters* side : targets) {
      if (side) side->densityMedium = static_cast<DensityMedium>(medium);
    }
    return kConvertOk;
  }
  double value;
  bool fahrenheit;
  const bool read = temperature
                        ? ReadTemperature(argument, false, &value, &fahrenheit) == ReadOutcome::Read
                        : ParseWholeNumber(argument, &value);
  if (!read && temperature) {
    return Fail(kConvertBadNumber, message, size,
                "--%s%s: not a temperature: '%s' (a number, optionally followed by C or F)", prefix,
                option, argument);
  }
  if (!read) {
    return Fail(kConvertBadNumber, message, size, "--%s%s: not a number: '%s'", prefix, option,
                argument);
  }
  const Quantity quantity = option[0] == 'a'   ? Quantity::AmbientTemperature
                            : option[0] == 'p' ? Quantity::PrevailingTemperature
                            : option[0] == 'm' ? Quantity::MolecularWeight
                                               : Quantity::HenryConstant;
  const char* reason;
  if (CheckQuantity(quantity, 0, value, &reason) != RequestStatus::Converted) {
    return Fail(kConvertOutOfRange, message, size, "--%s%s: %s, not %s", prefix, option, reason,
                argument);
  }
  for (SideParameters* side : targets) {
    if (!side) continue;
    double* field = quantity == Quantity::AmbientTemperature      ? &side->ambientTemperatureC
                    : quantity == Quantity::PrevailingTemperature ? &side->prevailingTemperatureC
                    : quantity == Quantity::MolecularWeight       ? &side->molecularWeight
                                                                  : &side->henryConstant;
    *field = ToSingle(value);
  }
  return kConvertOk;
}

int ParseName(const char* option, const std::string& argument, NameKind names, const char* kind,
              int* code, char* message, size_t size) {
  const NamedCode* entry = FindNamedCode(NamesOf(names), argument);
  if (!entry) {
    return Fail(kConvertUsageError, message, size, "%s: unknown %s '%s' (see --help)", option, kind,
                argument.c_str());
  }
  *code = entry->code;
  return kConvertOk;
}

// A pressure option's reading, which must be one a gas can have in its unit.
int ParsePressure(const char* option, const std::string& argument, int unit, double* reading,
                  char* message, size_t size) {
  if (!ParseWholeNumber(argument.c_str(), reading)) {
    return Fail(kConvertBadNumber, message, size, "%s: not a number: '%s'", option,
                argument.c_str());
  }
  const char* reason;
  if (CheckQuantity(Quantity::Pressure, unit, *reading, &reason) != RequestStatus::Converted) {
    return Fail(kConvertOutOfRange, message, size, "%s: %s %s %s", option, argument.c_str(),
                PressureUnitLabel(unit), reason);
  }
  return kConvertOk;
}

constexpr const char* kSideOptions[] = {"mol-weight", "henry", "ambient", "prevailing", "medium"};
constexpr int kSideOptionCount = sizeof kSideOptions / sizeof kSideOptions[0];
constexpr const char* kSidePrefixes[3] = {"--", "--source-", "--target-"};

// The column options, in the order of BatchColumn.
constexpr const char* kColumnOptions[kBatchColumnCount] = {
    "--column",         "--pressure-column",   "--target-pressure-column",
    "--ambient-column", "--prevailing-column", "--molecular-weight-column",
    "--henry-column"};

// The command line as CLI11 hands it over: texts, checked afterwards.
struct OptionTexts {
  std::string from, to, pressureUnit, targetPressureUnit, pressure, targetPressure;
  std::string formulation, enhancement, delimiter, batchFile, value, output, resultName;
  std::string side[3][kSideOptionCount];  // shared, source-, target-
  std::string columns[kBatchColumnCount];
  std::string missing, ambientUnit, prevailingUnit, precision, digits, fromColumn;
  std::string pressureWhere, key;
  std::vector<std::string> valueColumns, resultNames;  // --column and --result-name, repeatable
  std::vector<std::string> where;
  bool onlyMatching = false;
  bool quiet = false;
  // The options that take one value, for the check that none is given twice.
  std::vector<CLI::Option*> single;
  bool help = false, version = false, header = false, noHeader = false;
  bool decimalComma = false, decimalPoint = false;
  bool batch = false;
};

// A text that CLI11 would take for a short option but that is a number ("-.5").
bool IsNumberLookingLikeAnOption(const char* argument) {
  double ignored;
  return argument[0] == '-' && argument[1] == '.' && ParseWholeNumber(argument, &ignored);
}

// Where the steps of reading the command line write their message.
struct Complaint {
  char* message;
  size_t size;
};

// Declares an option that takes one value, remembered for the check that it is given once.
void AddSingle(CLI::App& app, OptionTexts& texts, const std::string& name, std::string& text) {
  texts.single.push_back(app.add_option(name, text));
}

void DeclareOptions(CLI::App& app, OptionTexts& texts, CLI::Option** batch) {
  app.set_help_flag();  // the help text is ours: PrintConverterHelp
  app.allow_extras();
  app.allow_windows_style_options(false);  // "/tmp/rows.csv" is a file, not an option
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("-h,--help", texts.help);
  app.add_flag("--version", texts.version);
  AddSingle(app, texts, "--from", texts.from);
  AddSingle(app, texts, "--to", texts.to);
  AddSingle(app, texts, "--pressure-unit", texts.pressureUnit);
  AddSingle(app, texts, "--target-pressure-unit", texts.targetPressureUnit);
  AddSingle(app, texts, "--pressure", texts.pressure);
  AddSingle(app, texts, "--target-pressure", texts.targetPressure);
  AddSingle(app, texts, "--formulation", texts.formulation);
  AddSingle(app, texts, "--enhancement", texts.enhancement);
  AddSingle(app, texts, "--delimiter", texts.delimiter);
  app.add_flag("--decimal-comma", texts.decimalComma);
  app.add_flag("--decimal-point", texts.decimalPoint);
  app.add_flag("--header", texts.header);
  app.add_flag("--no-header", texts.noHeader);
  AddSingle(app, texts, "-o,--output", texts.output);
  app.add_option("--result-name", texts.resultNames)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->allow_extra_args(false);
  for (int c = 0; c < kBatchColumnCount; ++c) {
    if (c == 0) {
      app.add_option("--column", texts.valueColumns)
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
          ->allow_extra_args(false);
    } else {
      AddSingle(app, texts, kColumnOptions[c], texts.columns[c]);
    }
  }
  AddSingle(app, texts, "--missing", texts.missing);
  AddSingle(app, texts, "--from-column", texts.fromColumn);
  AddSingle(app, texts, "--pressure-where", texts.pressureWhere);
  AddSingle(app, texts, "--key", texts.key);
  app.add_option("--where", texts.where)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->allow_extra_args(false);
  app.add_flag("--only-matching", texts.onlyMatching);
  AddSingle(app, texts, "--precision", texts.precision);
  AddSingle(app, texts, "--digits", texts.digits);
  AddSingle(app, texts, "--ambient-unit", texts.ambientUnit);
  AddSingle(app, texts, "--prevailing-unit", texts.prevailingUnit);
  app.add_flag("--quiet", texts.quiet);
  *batch = app.add_option("--batch", texts.batchFile)->expected(0, 1);
  for (int s = 0; s < 3; ++s) {
    for (int o = 0; o < kSideOptionCount; ++o) {
      AddSingle(app, texts, std::string(kSidePrefixes[s]) + kSideOptions[o], texts.side[s][o]);
    }
  }
  app.add_option("value", texts.value);
}

// Lets CLI11 read the arguments; anything it leaves over is an unknown option or a second value.
int ReadCommandLine(CLI::App& app, int argc, const char* const* argv, Complaint c) {
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
    return Fail(kConvertUsageError, c.message, c.size, "%s: missing its value",
                text.substr(0, text.find(':')).c_str());
  } catch (const CLI::ParseError& error) {
    return Fail(kConvertUsageError, c.message, c.size, "%s", error.what());
  }
  std::vector<std::string> extras = app.remaining();
  extras.erase(std::remove(extras.begin(), extras.end(), "--"), extras.end());
  for (const std::string& extra : extras) {
    double ignored;
    if (extra[0] == '-' && !ParseWholeNumber(extra.c_str(), &ignored)) {
      return Fail(kConvertUsageError, c.message, c.size, "unknown option '%s'", extra.c_str());
    }
  }
  if (!extras.empty()) {
    return Fail(kConvertUsageError, c.message, c.size, "unexpected argument '%s'",
                extras.front().c_str());
  }
  return kConvertOk;
}

// An option that takes one value, given twice, is refused with both values: which one was
// meant is the user's to say.
int CheckGivenOnce(const OptionTexts& texts, Complaint c) {
  for (const CLI::Option* option : texts.single) {
    const std::vector<std::string>& values = option->results();
    if (values.size() > 1) {
      const std::string name = option->get_name();
      return Fail(kConvertUsageError, c.message, c.size,
                  "%s: given twice, '%s' and '%s': give it once", name.c_str(), values[0].c_str(),
                  values[1].c_str());
    }
  }
  return kConvertOk;
}

int ReadPressureUnit(const char* option, const std::string& text, int* code, Complaint c) {
  if (text.empty()) return kConvertOk;
  if (SameLetters(text, kAmbiguousPsiName)) {
    return Fail(kConvertUsageError, c.message, c.size,
                "%s: 'psi' is read both ways: say psia or psig", option);
  }
  return ParseName(option, text, NameKind::PressureUnit, "pressure unit", code, c.message, c.size);
}

int ReadUnitsAndModel(const OptionTexts& texts, ConverterRequest* request, Complaint c) {
  const struct {
    const char* option;
    const std::string& text;
    int* code;
  } moistureUnits[] = {{"--from", texts.from, &request->sourceUnit},
                       {"--to", texts.to, &request->targetUnit}};
  for (const auto& unit : moistureUnits) {
    if (unit.text.empty()) continue;
    // A name that begins several units' names ("ppmw", "frost"): say which they are.
    if (CodeOfName(NameKind::MoistureUnit, unit.text) < 0) {
      std::string choices;
      int count = 0;
      const NameTable& table = NamesOf(NameKind::MoistureUnit);
      for (const NamedCode* entry = table.entries; entry < table.entries + table.size; ++entry) {
        const std::string name = entry->name;
        if (name.size() > unit.text.size() + 1 && name[unit.text.size()] == '-' &&
            SameLetters(name.substr(0, unit.text.size()), unit.text)) {
          choices += (count++ ? " or " : "") + name;
        }
      }
      if (count > 1) {
        return Fail(kConvertUsageError, c.message, c.size, "%s: '%s' is several units: say %s",
                    unit.option, unit.text.c_str(), choices.c_str());
      }
    }
    const int status = ParseName(unit.option, unit.text, NameKind::MoistureUnit, "moisture unit",
                                 unit.code, c.message, c.size);
    if (status != kConvertOk) return status;
  }
  int status =
      ReadPressureUnit("--pressure-unit", texts.pressureUnit, &request->sourcePressureUnit, c);
  if (status == kConvertOk) {
    status = ReadPressureUnit("--target-pressure-unit", texts.targetPressureUnit,
                              &request->targetPressureUnit, c);
  }
  int formulation = static_cast<int>(request->model.formulation);
  int enhancement = static_cast<int>(request->model.enhancement);
  if (status == kConvertOk && !texts.formulation.empty()) {
    status = ParseName("--formulation", texts.formulation, NameKind::Formulation, "formulation",
                       &formulation, c.message, c.size);
  }
  if (status == kConvertOk && !texts.enhancement.empty()) {
    status = ParseName("--enhancement", texts.enhancement, NameKind::Enhancement,
                       "enhancement factor", &enhancement, c.message, c.size);
  }
  request->model = MoistureModel{static_cast<Formulation>(formulation),
                                 static_cast<EnhancementFactor>(enhancement)};
  return status;
}

int ReadPressuresAndSides(const OptionTexts& texts, ConverterRequest* request, Complaint c) {
  if (!texts.pressure.empty()) {
    const int status = ParsePressure("--pressure", texts.pressure, request->sourcePressureUnit,
                                     &request->sourcePressure, c.message, c.size);
    if (status != kConvertOk) return status;
  }
  if (!texts.targetPressure.empty()) {
    const int status =
        ParsePressure("--target-pressure", texts.targetPressure, request->targetPressureUnit,
                      &request->targetPressure, c.message, c.size);
    if (status != kConvertOk) return status;
  }
  // Shared side options first, so that the per-side ones override them.
  const SideSelector selectors[3] = {SideSelector::BothSides, SideSelector::SourceSide,
                                     SideSelector::TargetSide};
  for (int s = 0; s < 3; ++s) {
    for (int o = 0; o < kSideOptionCount; ++o) {
      if (texts.side[s][o].empty()) continue;
      const int status =
          ApplySideOption(kSideOptions[o], kSidePrefixes[s] + 2, texts.side[s][o].c_str(),
                          selectors[s], request, c.message, c.size);
      if (status != kConvertOk) return status;
    }
  }
  return kConvertOk;
}

// "Value" or "3": a header name, or a 1-based column number.
int ReadColumn(const char* option, const std::string& text, ColumnChoice* column, Complaint c) {
  int number = 0;
  const char* end = ScanInteger(text.c_str(), &number);
  const bool digitsOnly = text.find_first_not_of("0123456789") == std::string::npos;
  if (end && *end == '\0' && digitsOnly) {
    if (number < 1) {
      return Fail(kConvertUsageError, c.message, c.size, "%s: columns are counted from 1, not '%s'",
                  option, text.c_str());
    }
    column->number = number;
  } else {
    column->name = text;
  }
  return kConvertOk;
}

int ReadBatchLayout(const OptionTexts& texts, ConverterRequest* request, Complaint c) {
  if (!texts.delimiter.empty()) {
    const std::string& d = texts.delimiter;
    if (d == "," || d == ";") {
      request->delimiter = d[0];
    } else if (d == "\t" || SameLetters(d.c_str(), "tab")) {
      request->delimiter = '\t';
    } else {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--delimiter: unknown separator '%s' (',', ';' or tab)", d.c_str());
    }
  }
  if (texts.decimalComma && texts.decimalPoint) {
    return Fail(kConvertUsageError, c.message, c.size,
                "--decimal-comma and --decimal-point exclude each other");
  }
  if (texts.decimalComma && request->delimiter == ',') {
    return Fail(kConvertUsageError, c.message, c.size,
                "--decimal-comma and --delimiter , exclude each other: a comma is either");
  }
  request->decimal = texts.decimalComma   ? DecimalMark::Comma
                     : texts.decimalPoint ? DecimalMark::Point
                                          : DecimalMark::Auto;
  if (texts.header && texts.noHeader) {
    return Fail(kConvertUsageError, c.message, c.size,
                "--header and --no-header exclude each other");
  }
  request->header = texts.header     ? BatchHeader::Yes
                    : texts.noHeader ? BatchHeader::No
                                     : BatchHeader::Auto;
  for (int i = 0; i < kBatchColumnCount; ++i) {
    if (texts.columns[i].empty()) continue;
    const int status = ReadColumn(kColumnOptions[i], texts.columns[i], &request->columns[i], c);
    if (status != kConvertOk) return status;
    request->namedColumns = true;
    if (!request->columns[i].name.empty() && request->header == BatchHeader::No) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "%s: '%s' names a header column, but --no-header says there is none",
                  kColumnOptions[i], texts.columns[i].c_str());
    }
  }
  request->outputFile = texts.output;
  request->resultName = texts.resultName;
  for (size_t i = 1; i < texts.valueColumns.size(); ++i) {
    ColumnChoice column{"", 0};
    const int status = ReadColumn("--column", texts.valueColumns[i], &column, c);
    if (status != kConvertOk) return status;
    request->moreValues.push_back(column);
  }
  if (texts.valueColumns.size() > 1 && !texts.resultNames.empty() &&
      texts.resultNames.size() != texts.valueColumns.size()) {
    return Fail(kConvertUsageError, c.message, c.size,
                "--result-name: given %zu times for %zu --column's: give one for each column",
                texts.resultNames.size(), texts.valueColumns.size());
  }
  for (size_t i = 1; i < texts.resultNames.size(); ++i) {
    request->moreResultNames.push_back(texts.resultNames[i]);
  }
  return kConvertOk;
}

// "C" or "F" (also degC, degF, °C, °F): the unit of a column's bare numbers.
int ReadColumnUnit(const char* option, const std::string& text, bool* fahrenheit, Complaint c) {
  if (text.empty()) return kConvertOk;
  double ignored;
  if (ReadTemperature(("0" + text).c_str(), false, &ignored, fahrenheit) != ReadOutcome::Read ||
      text[0] == ' ' || text.find_first_of("0123456789") != std::string::npos) {
    return Fail(kConvertUsageError, c.message, c.size, "%s: unknown unit '%s' (C or F)", option,
                text.c_str());
  }
  return kConvertOk;
}

// "TagName=AI-101": a column and the text it must hold.
int ReadFilter(const char* option, const std::string& text, RowFilter* filter, Complaint c) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) {
    return Fail(kConvertUsageError, c.message, c.size,
                "%s: '%s' is no COLUMN=VALUE (e.g. TagName=AI-101)", option, text.c_str());
  }
  filter->value = text.substr(equals + 1);
  return ReadColumn(option, text.substr(0, equals), &filter->column, c);
}

// --where COLUMN=VALUE (repeated), --only-matching and --from-column: the rows of a long export.
int ReadLongExport(const OptionTexts& texts, ConverterRequest* request, Complaint c) {
  for (const std::string& where : texts.where) {
    RowFilter filter{};
    const int status = ReadFilter("--where", where, &filter, c);
    if (status != kConvertOk) return status;
    request->where.push_back(filter);
  }
  if (texts.pressureWhere.empty() != texts.key.empty()) {
    return Fail(kConvertUsageError, c.message, c.size,
                "--pressure-where and --key go together: the pressure rows, and the column whose "
                "text pairs them with the others");
  }
  if (!texts.key.empty()) {
    if (!texts.pressure.empty() || !request->columns[1].name.empty() ||
        request->columns[1].number > 0) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--pressure-where: the pressure comes from the pressure rows, not also from %s",
                  texts.pressure.empty() ? "--pressure-column" : "--pressure");
    }
    int status = ReadFilter("--pressure-where", texts.pressureWhere, &request->pressureWhere, c);
    if (status == kConvertOk) status = ReadColumn("--key", texts.key, &request->key, c);
    if (status != kConvertOk) return status;
  }
  if (texts.onlyMatching && texts.where.empty()) {
    return Fail(kConvertUsageError, c.message, c.size, "--only-matching: only with --where");
  }
  request->onlyMatching = texts.onlyMatching;
  if (!texts.fromColumn.empty()) {
    if (!texts.from.empty()) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--from and --from-column exclude each other: the unit is either one for all "
                  "rows or each row's own");
    }
    const int status = ReadColumn("--from-column", texts.fromColumn, &request->fromColumn, c);
    if (status != kConvertOk) return status;
  }
  const bool named = !texts.where.empty() || !texts.fromColumn.empty() || !texts.key.empty();
  request->namedColumns |= named;
  if (named && request->header == BatchHeader::No) {
    for (const RowFilter& filter : request->where) {
      if (filter.column.name.empty()) continue;
      return Fail(kConvertUsageError, c.message, c.size,
                  "--where: '%s' names a header column, but --no-header says there is none",
                  filter.column.name.c_str());
    }
  }
  return kConvertOk;
}

// What empty fields of named columns take, and the units of temperature columns.
int ReadBatchGaps(const OptionTexts& texts, ConverterRequest* request, Complaint c) {
  request->quiet = texts.quiet;
  if (!texts.missing.empty()) {
    if (!SameLetters(texts.missing, "fallback") && !SameLetters(texts.missing, "error")) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--missing: unknown choice '%s' (error or fallback)", texts.missing.c_str());
    }
    request->missingFallback = SameLetters(texts.missing, "fallback");
  }
  request->given[static_cast<int>(BatchColumn::SourcePressure)] = !texts.pressure.empty();
  request->given[static_cast<int>(BatchColumn::TargetPressure)] = !texts.targetPressure.empty();
  // The side options in the order of their columns: ambient, prevailing, mol-weight, henry.
  constexpr int kSideOptionOfColumn[4] = {2, 3, 0, 1};
  for (int k = 0; k < 4; ++k) {
    bool given = false;
    for (int s = 0; s < 3; ++s) given |= !texts.side[s][kSideOptionOfColumn[k]].empty();
    request->given[static_cast<int>(BatchColumn::Ambient) + k] = given;
  }
  int status =
      ReadColumnUnit("--ambient-unit", texts.ambientUnit, &request->fahrenheitColumns[0], c);
  if (status == kConvertOk) {
    status = ReadColumnUnit("--prevailing-unit", texts.prevailingUnit,
                            &request->fahrenheitColumns[1], c);
  }
  return status;
}

// --precision shown|computed|exact and --digits N.
int ReadPrecision(const OptionTexts& texts, ConverterRequest* request, Complaint c) {
  if (!texts.precision.empty()) {
    const int code = CodeOfName(NameKind::Precision, texts.precision);
    if (code < 0) {
      return Fail(kConvertUsageError, c.message, c.size, "--precision: unknown precision '%s' (%s)",
                  texts.precision.c_str(), ListOfNames(NameKind::Precision).c_str());
    }
    request->precision = static_cast<Precision>(code);
  }
  if (!texts.digits.empty()) {
    int digits = 0;
    const char* end = ScanInteger(texts.digits.c_str(), &digits);
    if (!end || *end != '\0' || digits < 1 || digits > 17) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--digits: a number of significant digits from 1 to 17, not '%s'",
                  texts.digits.c_str());
    }
    if (request->precision == Precision::Shown) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--digits: only with --precision computed or exact (the shown result has the "
                  "calculator's digits)");
    }
    request->digits = digits;
  }
  return kConvertOk;
}

// The file after --batch, and the value to convert.
int ReadBatchFileAndValue(int argc, const char* const* argv, OptionTexts& texts,
                          ConverterRequest* request, Complaint c) {
  if (request->batch) {
    // "--batch -20": the number is the value to convert, not a file name.
    double number;
    if (!texts.batchFile.empty() && ParseWholeNumber(texts.batchFile.c_str(), &number)) {
      texts.value = texts.batchFile;
      texts.batchFile.clear();
    } else if (texts.batchFile.empty() && !texts.value.empty() &&
               !ParseWholeNumber(texts.value.c_str(), &number)) {
      // "--batch -o out.csv rows.csv": the file comes after other options.
      texts.batchFile = texts.value;
      texts.value.clear();
    }
    if (!texts.batchFile.empty() && !texts.value.empty() &&
        !ParseWholeNumber(texts.value.c_str(), &number)) {
      return Fail(kConvertUsageError, c.message, c.size,
                  "--batch reads one file at a time, not '%s' and '%s': run it once for each",
                  texts.batchFile.c_str(), texts.value.c_str());
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
      return Fail(kConvertBadNumber, c.message, c.size, "not a number: '%s'", texts.value.c_str());
    }
    request->hasValue = true;
  }
  return kConvertOk;
}

// What only makes sense together, or not at all together.
int CheckCombination(const OptionTexts& texts, const ConverterRequest& request, Complaint c) {
  if (!request.batch && !request.hasValue) {
    return Fail(kConvertUsageError, c.message, c.size, "missing the value to convert (see --help)");
  }
  if (request.batch && request.hasValue) {
    return Fail(kConvertUsageError, c.message, c.size,
                "--batch takes its values from rows, not '%s'", texts.value.c_str());
  }
  if (!request.batch) {
    const char* batchOnly = !texts.output.empty()       ? "--output"
                            : !texts.resultName.empty() ? "--result-name"
                            : !texts.missing.empty()    ? "--missing"
                            : !texts.where.empty()      ? "--where"
                            : !texts.fromColumn.empty() ? "--from-column"
                            : request.namedColumns      ? "the column options"
                                                        : nullptr;
    if (batchOnly) {
      return Fail(kConvertUsageError, c.message, c.size, "%s: only with --batch", batchOnly);
    }
  }
  return kConvertOk;
}

}  // namespace

ConverterRequest DefaultConverterRequest() {
  const ConversionRequest defaults = DefaultConversionRequest();
  ConverterRequest request{};
  request.sourceUnit = defaults.sourceUnit;
  request.targetUnit = defaults.targetUnit;
  request.sourcePressureUnit = defaults.sourcePressure.unit;
  request.targetPressureUnit = defaults.targetPressure.unit;
  request.sourcePressure = defaults.sourcePressure.reading;
  request.targetPressure = defaults.targetPressure.reading;
  request.source = defaults.source;
  request.target = defaults.target;
  request.model = defaults.model;
  request.header = BatchHeader::Auto;
  request.decimal = DecimalMark::Auto;
  request.precision = Precision::Shown;
  request.digits = kDefaultComputedDigits;
  return request;
}

int ParseConverterArguments(int argc, const char* const* argv, ConverterRequest* request,
                            char* message, size_t size) {
  message[0] = '\0';
  const Complaint complaint{message, size};
  OptionTexts texts;
  CLI::App app{"ruruzir-convert"};
  CLI::Option* batch = nullptr;
  DeclareOptions(app, texts, &batch);
  int status = ReadCommandLine(app, argc, argv, complaint);
  if (status == kConvertOk) status = CheckGivenOnce(texts, complaint);
  if (status != kConvertOk) return status;
  // Several --column's: the first is the reading's column, each other one more result.
  if (!texts.valueColumns.empty()) texts.columns[0] = texts.valueColumns[0];
  if (!texts.resultNames.empty()) texts.resultName = texts.resultNames[0];
  request->help = texts.help;
  request->version = texts.version;
  request->batch = batch->count() > 0;
  // Each step reads its options; the first fault ends the reading.
  for (auto step : {ReadUnitsAndModel, ReadPressuresAndSides, ReadBatchLayout, ReadBatchGaps,
                    ReadPrecision, ReadLongExport}) {
    status = step(texts, request, complaint);
    if (status != kConvertOk) return status;
  }
  status = ReadBatchFileAndValue(argc, argv, texts, request, complaint);
  if (status != kConvertOk || request->help || request->version) return status;
  return CheckCombination(texts, *request, complaint);
}

namespace {

// The help, in the order it is printed: texts, and between them the name tables of core.
constexpr char kHelpUsage[] =
    "Usage: ruruzir-convert [options] VALUE\n"
    "       ruruzir-convert [options] --batch [FILE]\n"
    "Converts moisture readings with the Ruruzir Dewpoint Calculator's physics and prints\n"
    "the result exactly as the calculator's result box shows it, or \"out of range\".\n"
    "Options take their value as --option VALUE or --option=VALUE; unit and other names\n"
    "may be written in any case.\n\n"
    "Moisture units (--from, --to; default frost-c):\n";
constexpr char kHelpMoistureNotes[] =
    "  ppmV is on a dry basis: moles of water per million moles of dry gas.\n"
    "  lb-mmscf follows the IGT correlation: about 20 ppmV per lb at 1 atm, and the ratio\n"
    "  changes with pressure.\n"
    "  g-m3 with --medium water is the density of the moist gas itself (it hardly changes\n"
    "  below a -10 degC frost point); with air or natural-gas it is grams of water.\n"
    "  An rh above 100 means the dew point lies above the ambient temperature.\n"
    "Pressure units (--pressure-unit, --target-pressure-unit; default mbar), with the\n"
    "pressure taken when none is given, one standard atmosphere (psi alone is refused:\n"
    "say psia or psig):\n";
constexpr char kHelpSideOptions[] =
    "Options:\n"
    "  --pressure P             source total pressure (default 1 atm in its unit)\n"
    "  --target-pressure P      target total pressure (default 1 atm in its unit)\n"
    "  --mol-weight M           molecular weight of the gas, > 0 (default 29, air)\n"
    "  --henry K                Henry's constant, ppmW per mbar, > 0 (default 1.9, hexane)\n"
    "  --ambient T              ambient temperature, e.g. 20, 20C, 68F or 68degF (default 20C)\n"
    "  --prevailing T           prevailing temperature for g-m3 (default 20C)\n"
    "  --medium M               medium for g-m3 (default natural-gas):\n";
constexpr char kHelpFormulation[] =
    "  --source-OPTION, --target-OPTION   any of the five above for one side only\n"
    "  --formulation F          saturation vapour pressure formulation:\n";
constexpr char kHelpEnhancement[] = "  --enhancement E          water vapour enhancement factor:\n";
constexpr char kHelpBatch[] =
    "  --batch [FILE]           convert CSV rows value[,source pressure[,target pressure]]\n"
    "                           from FILE, or from standard input without FILE or with -;\n"
    "                           every row is written back with the result appended (\"error:\n"
    "                           ...\" when it cannot be converted); an empty pressure field\n"
    "                           takes the option's pressure; blank rows and rows of\n"
    "                           separators only are kept as they are; rows end with LF,\n"
    "                           CR LF or CR, and may be up to %zu bytes long without\n"
    "                           their line end\n";
constexpr char kHelpBatchOptions[] =
    "  -o, --output FILE        write the rows to FILE (through a temporary file that\n"
    "                           replaces FILE only when all was written; not the input)\n"
    "  --delimiter D            the separator: , ; or tab (default: the one the first row\n"
    "                           shows outside quotes: tab, else ;, else ,; a header of\n"
    "                           one field makes the file one column)\n"
    "  --decimal-comma          numbers have a decimal comma (the default with ; and tab,\n"
    "                           and in a file whose header has one field)\n"
    "  --decimal-point          numbers have a decimal point; a comma never is one\n"
    "                           A row like -40,5 that reads both as two fields and as one\n"
    "                           number is refused until one of these three options is set.\n"
    "  --header, --no-header    the first row is a header, or is data; by default it is a\n"
    "                           header when none of its fields is a number\n"
    "  --column C               the reading's column: a header name (exact, else in any\n"
    "                           case) or a number from 1; the other columns pass through,\n"
    "                           however many. Without it: value, source, target pressure.\n"
    "                           Repeated, each reading gets a result column of its own\n"
    "  --pressure-column C, --target-pressure-column C\n"
    "                           the pressures' columns, in the pressure units' options\n"
    "  --ambient-column C       ambient temperature per row, degC (for rh)\n"
    "  --prevailing-column C    prevailing temperature per row, degC (for g-m3)\n"
    "  --molecular-weight-column C  molecular weight per row (for ppmw-gas)\n"
    "  --henry-column C         Henry's constant per row (for ppmw-liquid)\n"
    "                           An empty or missing field in a named column fails its row,\n"
    "                           unless its option (--pressure, --ambient, ...) was given\n"
    "  --missing fallback       empty fields take the options' values or their defaults\n"
    "  --ambient-unit U, --prevailing-unit U\n"
    "                           C or F: the unit of a temperature column's bare numbers\n"
    "                           (a field may say its own: 70.5F)\n"
    "  --result-name TEXT       the result column's header, one for each --column\n"
    "                           (default: what it holds, e.g.\n"
    "                           \"ppmV at 1013.25 mbar\")\n"
    "  --where COLUMN=VALUE     convert only the rows whose COLUMN holds VALUE (any case;\n"
    "                           repeatable: one of the values given for a column, and\n"
    "                           every column named); the others pass through as they are\n"
    "  --only-matching          drop the rows --where does not match\n"
    "  --from-column C          each row's moisture unit from column C (the names above and\n"
    "                           spellings such as degC frost, degF dp, ppm(v), %RH)\n"
    "  --pressure-where COLUMN=VALUE, --key K\n"
    "                           the source pressure from the rows matching COLUMN=VALUE:\n"
    "                           each row takes that of the pressure row with its key text\n"
    "  --precision P            shown (default): the result as the calculator shows it;\n"
    "                           computed: the value before it is rounded for showing;\n"
    "                           exact: dew and frost points as the formulation's own root\n"
    "  --digits N               significant digits of a computed or exact result (default 9)\n"
    "  --quiet                  no summary on standard error when every row converted\n"
    "  -h, --help               this text\n"
    "  --version                the program's version\n"
    "Exit status: 0 converted (the result may be \"out of range\"), 1 bad option, unit or\n"
    "missing value, 2 a number that does not parse, 3 a value outside its unit's range or a\n"
    "pressure at or below vacuum, 4 a batch in which some rows failed (standard error then\n"
    "names the first), 5 the output could not be written, 6 a batch input that is no\n"
    "readable CSV text (a folder, empty, binary, UTF-16, no data rows) or is ambiguous.\n";

// What the help adds to a moisture unit's meaning: other names it takes and the options it
// needs; nullptr for nothing.
const char* MoistureUnitHelpNote(int code) {
  switch (static_cast<MoistureUnitCode>(code)) {
    case MoistureUnitCode::PpmV:
      return "alias ppm";
    case MoistureUnitCode::PpmWGas:
      return "needs --mol-weight";
    case MoistureUnitCode::LbsPerMmscf:
      return "alias lb/mmscf";
    case MoistureUnitCode::GramsPerM3:
      return "alias g/m3; --medium, --prevailing";
    case MoistureUnitCode::RelativeHumidity:
      return "alias %rh; needs --ambient";
    case MoistureUnitCode::PpmWLiquid:
      return "needs --henry";
    default:
      return nullptr;
  }
}

// The names of a kind with their meanings, one a line; the pressure units with the reading taken
// when none is given.
void PrintNames(FILE* out, NameKind kind, const char* format) {
  const NameTable& table = NamesOf(kind);
  for (int i = 0; i < table.size; ++i) {
    const NamedCode& entry = table.entries[i];
    if (!entry.meaning) continue;
    std::string meaning = entry.meaning;
    const char* note = kind == NameKind::MoistureUnit ? MoistureUnitHelpNote(entry.code) : nullptr;
    if (note) meaning = meaning + " (" + note + ")";
    std::fprintf(out, format, entry.name, meaning.c_str(), StandardAtmosphereReading(entry.code));
  }
}

}  // namespace

void PrintConverterHelp(FILE* out) {
  constexpr char kIndented[] = "                             %-14s %s\n";
  std::fputs(kHelpUsage, out);
  PrintNames(out, NameKind::MoistureUnit, "  %-12s %s\n");
  std::fputs(kHelpMoistureNotes, out);
  PrintNames(out, NameKind::PressureUnit, "  %-12s %s (default %s)\n");
  std::fputs(kHelpSideOptions, out);
  PrintNames(out, NameKind::Medium, "                             %-12s %s\n");
  std::fputs(kHelpFormulation, out);
  PrintNames(out, NameKind::Formulation, kIndented);
  std::fputs(kHelpEnhancement, out);
  PrintNames(out, NameKind::Enhancement, kIndented);
  std::fprintf(out, kHelpBatch, kDefaultBatchRowCapacity);
  std::fputs(kHelpBatchOptions, out);
}

}  // namespace ruruzir
