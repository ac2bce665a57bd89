// The command-line converter: arguments, single readings, CSV batches and exit statuses.
#include "convert/converter.h"

#include "core/unit_catalogues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace ruruzir;

namespace {

struct ParseResult {
  int status;
  ConverterRequest request;
  std::string message;
};

ParseResult Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "ruruzir-convert");
  ParseResult result{0, DefaultConverterRequest(), ""};
  char message[200];
  result.status = ParseConverterArguments(static_cast<int>(arguments.size()), arguments.data(),
                                          &result.request, message, sizeof message);
  result.message = message;
  return result;
}

// Parses the arguments and converts the value; returns the printed text and the status.
std::pair<int, std::string> Convert(std::vector<const char*> arguments) {
  const ParseResult parsed = Parse(arguments);
  if (parsed.status != kConvertOk) return {parsed.status, parsed.message};
  char text[100];
  const ConverterRequest& r = parsed.request;
  const int status =
      ConvertReading(r, r.value, r.sourcePressure, r.targetPressure, text, sizeof text);
  return {status, text};
}

struct BatchRun {
  int status;
  std::string output;
  BatchSummary summary;
};

// Input handed over in pieces of at most `piece` bytes.
struct Pieces {
  std::string text;
  size_t piece;
};

size_t ReadText(void* context, char* data, size_t size) {
  Pieces& input = *static_cast<Pieces*>(context);
  const size_t taken = std::min({input.text.size(), size, input.piece});
  input.text.copy(data, taken);
  input.text.erase(0, taken);
  return taken;
}

bool AppendText(void* context, const char* data, size_t size) {
  static_cast<std::string*>(context)->append(data, size);
  return true;
}

BatchRun RunBatch(const ConverterRequest& request, std::string input, size_t capacity = 0,
                  size_t piece = SIZE_MAX) {
  BatchRun run{-1, "", {}};
  Pieces pieces{std::move(input), piece};
  const BatchStreams streams{ReadText, AppendText, &pieces, &run.output};
  run.status = ConvertBatch(request, streams, &run.summary, capacity);
  return run;
}

// The batch rows of a command line.
BatchRun RunBatch(std::vector<const char*> arguments, const std::string& input, size_t capacity = 0,
                  size_t piece = SIZE_MAX) {
  arguments.push_back("--batch");
  const ParseResult parsed = Parse(arguments);
  EXPECT_EQ(parsed.status, kConvertOk) << parsed.message;
  return RunBatch(parsed.request, input, capacity, piece);
}

// The result column's header for frost points at one standard atmosphere (UTF-8).
const std::string kFrostAtAtmosphere =
    "frost point \xC2\xB0"
    "C at 1013.25 mbar";

TEST(ConverterTest, DefaultsAreTheCalculatorsFirstStart) {
  const ParseResult parsed = Parse({"0"});
  ASSERT_EQ(parsed.status, kConvertOk);
  const ConverterRequest& r = parsed.request;
  EXPECT_EQ(r.sourceUnit, 0);
  EXPECT_EQ(r.targetUnit, 0);
  EXPECT_EQ(r.sourcePressureUnit, 0);
  EXPECT_EQ(r.model.formulation, Formulation::GoffGratch);
  EXPECT_EQ(r.model.enhancement, EnhancementFactor::None);
  EXPECT_EQ(r.source.molecularWeight, 29.0f);
  EXPECT_EQ(r.target.henryConstant, 1.9f);
  EXPECT_EQ(r.source.densityMedium, DensityMedium::NaturalGas);
  EXPECT_EQ(r.header, BatchHeader::Auto);
  EXPECT_EQ(r.delimiter, 0);
}

// Results as the calculator's result box shows them for the same inputs.
TEST(ConverterTest, ReadingsMatchTheCalculatorsResults) {
  struct Case {
    std::vector<const char*> arguments;
    const char* expected;
  };
  const Case cases[] = {
      {{"0"}, "0.0"},
      {{"--to", "ppmv", "0"}, "6060.1"},
      {{"--to", "mbar-vp", "0"}, "6.103"},
      {{"--to", "rh", "--ambient", "20", "0"}, "26.13"},
      {{"--to", "rh", "--ambient", "68F", "0"}, "26.13"},
      {{"--from", "ppmv", "--to", "frost-c", "6060.1"}, "0.0"},
      {{"--to", "frost-f", "-40"}, "-40.0"},
      {{"--pressure-unit", "psig", "--pressure", "0", "--to", "ppmv", "0"}, "6060.1"},
      {{"--target-pressure", "10000", "10"}, "49.6"},
      {{"--target-pressure", "100", "-20"}, "-42.0"},
      // 29.392 psia is 2026.50 mbar, where a -20 degC frost point is 508.9 ppmV.
      {{"--pressure-unit", "psia", "--pressure", "29.392", "--to", "ppmv", "-20"}, "508.9"},
      {{"--pressure", "2026.5", "--to", "ppmv", "-20"}, "508.9"},
      // Without a pressure, each side is at one standard atmosphere whatever its unit.
      {{"--pressure-unit", "psig", "-20"}, "-20.0"},
      {{"--pressure-unit", "psia", "-20"}, "-20.0"},
      {{"--pressure-unit", "atm", "-20"}, "-20.0"},
      {{"--pressure-unit", "kpa", "-20"}, "-20.0"},
      {{"--target-pressure-unit", "psig", "-20"}, "-20.0"},
      {{"--pressure-unit", "psig", "--target-pressure-unit", "kpa", "--to", "ppmv", "0"}, "6060.1"},
      // A vapour pressure above the total pressure: no answer.
      {{"--pressure", "5", "10"}, "out of range"},
      {{"--from", "lb-mmscf", "--pressure", "50000", "1.75"}, "-55.2"},  // e 1.0 mbar
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const char* a : c.arguments) joined += std::string(a) + " ";
    SCOPED_TRACE(joined);
    const auto [status, text] = Convert(c.arguments);
    EXPECT_EQ(status, kConvertOk);
    EXPECT_EQ(text, c.expected);
  }
}

// --option=value, names in any case, aliases, temperature suffixes, numbers that begin like
// options.
TEST(ConverterTest, OptionsAreWrittenAsUsual) {
  struct Case {
    std::vector<const char*> arguments;
    const char* expected;
  };
  const Case cases[] = {
      {{"--to=ppmv", "0"}, "6060.1"},
      {{"--to", "PPMV", "0"}, "6060.1"},
      {{"--to", "ppm", "0"}, "6060.1"},
      {{"--pressure-unit=Psig", "--pressure=0", "--to=Ppm", "0"}, "6060.1"},
      {{"--to", "%RH", "--ambient", "68f", "0"}, "26.13"},
      {{"--to", "%rh", "--ambient=20degC", "0"}, "26.13"},
      {{"--to", "rh", "--ambient", "68DEGF", "0"}, "26.13"},
      {{"--to", "rh", "--ambient",
        "20\xC2\xB0"
        "C",
        "0"},
       "26.13"},
      {{"--to", "MBAR-VP", "0"}, "6.103"},
      {{"--to", "frost-c", "-.5"}, "-0.5"},
      {{"--to", "frost-c", "--", "-1e1"}, "-10.0"},
      {{"-20", "--to", "ppmv"}, "1018.3"},
      // The computed value, before it is rounded for showing: the shown 1018.3 and 26.13.
      {{"--to", "ppmv", "--precision", "computed", "-20"}, "1018.29919"},
      {{"--to", "ppmv", "--precision=Computed", "--digits", "7", "-20"}, "1018.299"},
      {{"--to", "rh", "--precision", "computed", "--digits", "3", "0"}, "26.1"},
      {{"--to", "ppmv", "--precision", "shown", "-20"}, "1018.3"},
      // The exact root: the frost point of 1018.3 ppmV, not its tenths.
      {{"--from", "ppmv", "--precision", "exact", "1018.3"}, "-19.9999916"},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const char* a : c.arguments) joined += std::string(a) + " ";
    SCOPED_TRACE(joined);
    const auto [status, text] = Convert(c.arguments);
    EXPECT_EQ(status, kConvertOk);
    EXPECT_EQ(text, c.expected);
  }
  struct Unit {
    const char* name;
    int code;
  };
  for (const Unit& u : {Unit{"lb/mmscf", Code(MoistureUnitCode::LbsPerMmscf)},
                        Unit{"LB-MMSCF", Code(MoistureUnitCode::LbsPerMmscf)},
                        Unit{"g/m3", Code(MoistureUnitCode::GramsPerM3)},
                        Unit{"G-M3", Code(MoistureUnitCode::GramsPerM3)},
                        Unit{"%rh", Code(MoistureUnitCode::RelativeHumidity)},
                        Unit{"Ppmw-Liquid", Code(MoistureUnitCode::PpmWLiquid)}}) {
    EXPECT_EQ(Parse({"--from", u.name, "1"}).request.sourceUnit, u.code) << u.name;
  }
  EXPECT_EQ(Parse({"--pressure-unit", "KPA", "1"}).request.sourcePressureUnit,
            Code(PressureUnitCode::Kpa));
  EXPECT_EQ(Parse({"--medium", "Air", "1"}).request.target.densityMedium, DensityMedium::Air);
  EXPECT_EQ(Parse({"--formulation", "SONNTAG", "1"}).request.model.formulation,
            Formulation::Sonntag);
  EXPECT_TRUE(Parse({"-h"}).request.help);
  EXPECT_TRUE(Parse({"--version"}).request.version);
}

TEST(ConverterTest, BatchOptionsAreRead) {
  struct Case {
    std::vector<const char*> arguments;
    const char* file;  // nullptr: standard input
    char delimiter;
    BatchHeader header;
  };
  const Case cases[] = {
      {{"--batch"}, nullptr, 0, BatchHeader::Auto},
      {{"--batch", "-"}, "-", 0, BatchHeader::Auto},
      {{"--batch", "rows.csv"}, "rows.csv", 0, BatchHeader::Auto},
      {{"--batch=rows.csv"}, "rows.csv", 0, BatchHeader::Auto},
      {{"--to", "ppmv", "--batch"}, nullptr, 0, BatchHeader::Auto},
      {{"--batch", "--to", "ppmv"}, nullptr, 0, BatchHeader::Auto},
      {{"--delimiter", ";", "--batch"}, nullptr, ';', BatchHeader::Auto},
      {{"--delimiter=TAB", "--header", "--batch"}, nullptr, '\t', BatchHeader::Yes},
      {{"--delimiter", ",", "--no-header", "--batch"}, nullptr, ',', BatchHeader::No},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const char* a : c.arguments) joined += std::string(a) + " ";
    SCOPED_TRACE(joined);
    const ParseResult parsed = Parse(c.arguments);
    ASSERT_EQ(parsed.status, kConvertOk) << parsed.message;
    EXPECT_TRUE(parsed.request.batch);
    EXPECT_STREQ(parsed.request.batchFile ? parsed.request.batchFile : "(stdin)",
                 c.file ? c.file : "(stdin)");
    EXPECT_EQ(parsed.request.delimiter, c.delimiter);
    EXPECT_EQ(parsed.request.header, c.header);
  }
}

TEST(ConverterTest, PerSideOptionsOverrideTheSharedOnes) {
  // The shared option comes last on the command line and still yields to the per-side one.
  const ParseResult parsed =
      Parse({"--target-mol-weight", "28", "--mol-weight", "16", "--source-henry", "8.6", "--medium",
             "air", "--target-prevailing", "60F", "1"});
  ASSERT_EQ(parsed.status, kConvertOk);
  EXPECT_EQ(parsed.request.source.molecularWeight, 16.0f);
  EXPECT_EQ(parsed.request.target.molecularWeight, 28.0f);
  EXPECT_EQ(parsed.request.source.henryConstant, 8.6f);
  EXPECT_EQ(parsed.request.target.henryConstant, 1.9f);
  EXPECT_EQ(parsed.request.source.densityMedium, DensityMedium::Air);
  EXPECT_EQ(parsed.request.target.densityMedium, DensityMedium::Air);
  EXPECT_EQ(parsed.request.target.prevailingTemperatureC, 15.5555563f);
  EXPECT_EQ(parsed.request.source.prevailingTemperatureC, 20.0f);
  // ppmW in methane to ppmW in nitrogen keeps the water content: 100 * 16 / 28.
  EXPECT_EQ(Convert({"--from", "ppmw-gas", "--to", "ppmw-gas", "--source-mol-weight", "16",
                     "--target-mol-weight", "28", "100"})
                .second,
            "57.14");
}

TEST(ConverterTest, BadInputNamesWhatWasWrong) {
  struct Case {
    std::vector<const char*> arguments;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{}, kConvertUsageError, "missing the value to convert (see --help)"},
      {{"--from", "kelvin", "1"},
       kConvertUsageError,
       "--from: unknown moisture unit 'kelvin' (see --help)"},
      {{"--pressure-unit", "torr", "1"},
       kConvertUsageError,
       "--pressure-unit: unknown pressure unit 'torr' (see --help)"},
      {{"--to"}, kConvertUsageError, "--to: missing its value"},
      {{"1", "--pressure"}, kConvertUsageError, "--pressure: missing its value"},
      {{"--colour", "red", "1"}, kConvertUsageError, "unknown option '--colour'"},
      {{"--colour=red", "1"}, kConvertUsageError, "unknown option '--colour=red'"},
      {{"1", "2"}, kConvertUsageError, "unexpected argument '2'"},
      {{"12abc"}, kConvertBadNumber, "not a number: '12abc'"},
      {{"--pressure", "high", "1"}, kConvertBadNumber, "--pressure: not a number: 'high'"},
      {{"--mol-weight", "0", "1"},
       kConvertOutOfRange,
       "--mol-weight: must be greater than 0, not 0"},
      {{"--target-henry=-5", "1"},
       kConvertOutOfRange,
       "--target-henry: must be greater than 0, not -5"},
      {{"--ambient", "200", "1"},
       kConvertOutOfRange,
       "--ambient: stay between -80 and 200 degC (both excluded), not 200"},
      {{"--ambient", "392F", "1"},
       kConvertOutOfRange,
       "--ambient: stay between -80 and 200 degC (both excluded), not 392F"},
      {{"--ambient", "20K", "1"},
       kConvertBadNumber,
       "--ambient: not a temperature: '20K' (a number, optionally followed by C or F)"},
      {{"--ambient", "20deg", "1"},
       kConvertBadNumber,
       "--ambient: not a temperature: '20deg' (a number, optionally followed by C or F)"},
      {{"--medium", "steam", "1"},
       kConvertUsageError,
       "--medium: unknown medium 'steam' (water, air or natural-gas)"},
      {{"--delimiter", "|", "--batch"},
       kConvertUsageError,
       "--delimiter: unknown separator '|' (',', ';' or tab)"},
      {{"--header", "--no-header", "--batch"},
       kConvertUsageError,
       "--header and --no-header exclude each other"},
      // Options that take one value, given twice; refusals a slip would let through.
      {{"--pressure-column", "P1", "--pressure-column", "P2", "--batch"},
       kConvertUsageError,
       "--pressure-column: given twice, 'P1' and 'P2': give it once"},
      {{"--to", "ppmv", "--to=rh", "1"},
       kConvertUsageError,
       "--to: given twice, 'ppmv' and 'rh': give it once"},
      {{"--column", "0", "--batch"},
       kConvertUsageError,
       "--column: columns are counted from 1, not '0'"},
      {{"--decimal-comma", "--decimal-point", "--batch"},
       kConvertUsageError,
       "--decimal-comma and --decimal-point exclude each other"},
      {{"--no-header", "--pressure-column", "Line", "--batch"},
       kConvertUsageError,
       "--pressure-column: 'Line' names a header column, but --no-header says there is none"},
      {{"--missing", "zero", "--batch"},
       kConvertUsageError,
       "--missing: unknown choice 'zero' (error or fallback)"},
      {{"--to", "ppmw", "1"},
       kConvertUsageError,
       "--to: 'ppmw' is several units: say ppmw-gas or ppmw-liquid"},
      {{"--from", "Frost", "1"},
       kConvertUsageError,
       "--from: 'Frost' is several units: say frost-c or frost-f"},
      {{"--precision", "round", "1"},
       kConvertUsageError,
       "--precision: unknown precision 'round' (shown, computed or exact)"},
      {{"--precision", "computed", "--digits", "0", "1"},
       kConvertUsageError,
       "--digits: a number of significant digits from 1 to 17, not '0'"},
      {{"--digits", "4", "1"},
       kConvertUsageError,
       "--digits: only with --precision computed or exact (the shown result has the calculator's "
       "digits)"},
      {{"--where", "TagName", "--batch"},
       kConvertUsageError,
       "--where: 'TagName' is no COLUMN=VALUE (e.g. TagName=AI-101)"},
      {{"--key", "Time", "--batch"},
       kConvertUsageError,
       "--pressure-where and --key go together: the pressure rows, and the column whose text "
       "pairs them with the others"},
      {{"--pressure-where", "Tag=PT-100", "--key", "Time", "--pressure", "7", "--batch"},
       kConvertUsageError,
       "--pressure-where: the pressure comes from the pressure rows, not also from --pressure"},
      {{"--column", "2", "--column", "3", "--result-name", "x", "--batch"},
       kConvertUsageError,
       "--result-name: given 1 times for 2 --column's: give one for each column"},
      {{"--only-matching", "--batch"}, kConvertUsageError, "--only-matching: only with --where"},
      {{"--from", "ppmv", "--from-column", "Units", "--batch"},
       kConvertUsageError,
       "--from and --from-column exclude each other: the unit is either one for all rows or each "
       "row's own"},
      {{"--ambient-unit", "K", "--batch"},
       kConvertUsageError,
       "--ambient-unit: unknown unit 'K' (C or F)"},
      // A value together with --batch, before or after it.
      {{"--batch", "-20"}, kConvertUsageError, "--batch takes its values from rows, not '-20'"},
      {{"-20", "--batch"}, kConvertUsageError, "--batch takes its values from rows, not '-20'"},
      {{"--batch", "rows.csv", "10"},
       kConvertUsageError,
       "--batch takes its values from rows, not '10'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const ParseResult parsed = Parse(c.arguments);
    EXPECT_EQ(parsed.status, c.status);
    EXPECT_EQ(parsed.message, c.message);
  }
}

TEST(ConverterTest, SourceValuesOutsideTheirRangeAreRefusedWithTheWindowsMessage) {
  struct Case {
    const char* unit;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"frost-c", "-140.01",
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {"frost-c", "50.01",
       "stay between -140\xB0"
       "C and +50\xB0"
       "C"},
      {"frost-f", "122.5",
       "stay between -220\xB0"
       "F and +122\xB0"
       "F"},
      {"ppmv", "-1", "stay between 0 and 138670 ppm"},
      {"lb-mmscf", "5813", "stay between 0 and 5812 lbs/mm'\xB3"},
      {"g-m3", "93.5", "stay between 0 and 93 g/m\xB3"},
      {"mbar-vp", "123.41", "stay between 0 and 123.4 mb."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.unit) + " " + c.value);
    const auto [status, text] = Convert({"--from", c.unit, c.value});
    EXPECT_EQ(status, kConvertOutOfRange);
    EXPECT_EQ(text, c.message);
  }
  // The bounds themselves are accepted; units without a range accept anything.
  EXPECT_EQ(Convert({"--from", "frost-c", "-140"}).first, kConvertOk);
  EXPECT_EQ(Convert({"--from", "mbar-vp", "123.4"}).first, kConvertOk);
  EXPECT_EQ(Convert({"--from", "dew-c", "-500"}).first, kConvertOk);
  EXPECT_EQ(Convert({"--from", "rh", "1000"}).first, kConvertOk);
}

// Rows of a batch, the options they are read with, and what comes back.
struct BatchCase {
  const char* what;
  std::vector<const char*> arguments;
  std::string input;
  std::string output;
};

// Rows as spreadsheets and loggers write them, and what comes back (quoting, header detection
// and line ends are pinned, read three ways, in BatchReaderPins).
TEST(ConverterTest, BatchRowsComeBackWithTheirResult) {
  const std::string spaces(6000, ' ');
  // Rows whose output ends one byte past the largest output block (2^18 bytes).
  std::string manyRows, manyResults;
  for (int i = 0; i < 26213; ++i) {
    manyRows += "-20\n";
    manyResults += "-20,-20.0\n";
  }
  const BatchCase cases[] = {
      {"header, blank line, spaces, both pressures, CRLF",
       {"--to", "ppmv"},
       "dewpoint,pressure\n0\n0,,\n\n-20 , 2026.5\n0,1013.25,10000\r\n",
       "dewpoint,pressure,ppmV at 1013.25 mbar\n0,,6060.1\n0,,,6060.1\n\n-20 , 2026.5,508.9\n"
       "0,1013.25,10000,6060.1\r\n"},
      {"a byte-order mark before a reading: the first row is data",
       {},
       "\xEF\xBB\xBF-20\n-40\n",
       "\xEF\xBB\xBF-20,-20.0\n-40,-40.0\n"},
      {"a byte-order mark before a header",
       {},
       "\xEF\xBB\xBFreading\n-20\n",
       "\xEF\xBB\xBFreading," + kFrostAtAtmosphere + "\n-20,-20.0\n"},
      {"semicolons and decimal commas, as a spreadsheet writes them",
       {"--pressure-unit", "psig", "--target-pressure-unit", "psig", "--target-pressure", "0"},
       "reading;line psig\r\n-40;100\r\n-20,5;100,0\r\n",
       "reading;line psig;frost point \xC2\xB0"
       "C at 0 psig\r\n-40;100;-56,8\r\n-20,5;100,0;-40,2\r\n"},
      {"tabs with decimal points, then a decimal comma",
       {"--pressure-unit", "psig", "--target-pressure-unit", "psig", "--target-pressure", "0"},
       "-40\t100\n-20\t100.0\n-20,0\t100\n",
       "-40\t100\t-56.8\n-20\t100.0\t-39.7\n-20,0\t100\t-39,7\n"},
      {"--header: a numeric first row is a header",
       {"--header"},
       "1,2\n-20\n",
       "1,2," + kFrostAtAtmosphere + "\n-20,,-20.0\n"},
      {"--no-header: a text first row is data",
       {"--no-header"},
       "reading\n-20\n",
       "reading,error: not a number: 'reading'\n-20,-20.0\n"},
      {"--delimiter: semicolons inside comma rows are text",
       {"--delimiter", ","},
       "-20,1013.25\n-20;1013,25\n",
       "-20,1013.25,-20.0\n-20;1013,25,error: not a number: '-20;1013'\n"},
      {"empty pressure fields fall back to each side's default, in its own unit",
       {"--pressure-unit", "psig", "--target-pressure-unit", "psia"},
       "-20,\n-20,,\n-20,100,\n-20,,0\n",
       "-20,,-20.0\n-20,,,-20.0\n-20,100,,-39.7\n"
       "-20,,0,error: impossible pressure: '0' psia is at or below vacuum\n"},
      {"psia readings",
       {"--pressure-unit", "psia", "--to", "ppmv"},
       "-20,29.392\n-20,14.696\n",
       "-20,29.392,508.9\n-20,14.696,1018.3\n"},
      {"failed rows keep their place",
       {},
       "0\nabc\n-150\n1,x\n1,2,3,4\n1,2,3, \n10\n",
       "0,0.0\nabc,error: not a number: 'abc'\n"
       "-150,error: stay between -140\xC2\xB0"
       "C and +50\xC2\xB0"
       "C\n1,x,error: not a pressure: 'x'\n1,2,3,4,error: more than three fields (name the columns "
       "with --column)\n"
       "1,2,3, ,out of range\n10,10.0\n"},
      {"the user's bytes come back as they were; the program's in the file's encoding",
       {},
       "-20\n\xE2\x88\x92"
       "40\n-150\n",
       "-20,-20.0\n\xE2\x88\x92"
       "40,error: not a number: '\xE2\x88\x92"
       "40'\n"
       "-150,error: stay between -140\xC2\xB0"
       "C and +50\xC2\xB0"
       "C\n"},
      {"an ANSI header: the program's texts in Windows-1252",
       {},
       "Taupunkt \xB0"
       "C\n-150\n",
       "Taupunkt \xB0"
       "C,frost point \xB0"
       "C at 1013.25 mbar\n"
       "-150,error: stay between -140\xB0"
       "C and +50\xB0"
       "C\n"},
      {"an output of one byte more than its block",
       {},
       manyRows + "-20     \n",
       manyResults + "-20     ,-20.0\n"},
      {"a header with a three-byte character is UTF-8",
       {},
       "Wert \xE2\x82\xAC\n-150\n",
       "Wert \xE2\x82\xAC,frost point \xC2\xB0"
       "C at 1013.25 mbar\n-150,error: stay between -140\xC2\xB0"
       "C and +50\xC2\xB0"
       "C\n"},
      {"a row of several kilobytes",
       {},
       spaces + "-20" + spaces + ",1013.25\n",
       spaces + "-20" + spaces + ",1013.25,-20.0\n"},
  };
  for (const BatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    const BatchRun run = RunBatch(c.arguments, c.input);
    EXPECT_EQ(run.output, c.output);
  }
}

TEST(ConverterTest, BatchCountsRowsAndNamesTheFirstFailedLine) {
  struct Case {
    std::string input;
    int status;
    long long converted;
    long long failed;
    long long firstFailedLine;
  };
  const Case cases[] = {
      {"reading\n-20\n\n-40\n", kConvertOk, 2, 0, 0},
      {"-20\nx\n-40\n-150\n", kConvertRowsFailed, 2, 2, 2},
      {"\"a\nb\"\n\n-20\n1,y\n", kConvertRowsFailed, 1, 1, 5},
      {"-20,5000000.0", kConvertOk, 1, 0, 0},  // "out of range" is a result
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const BatchRun run = RunBatch(std::vector<const char*>{}, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.summary.converted, c.converted);
    EXPECT_EQ(run.summary.failed, c.failed);
    EXPECT_EQ(run.summary.firstFailedLine, c.firstFailedLine);
  }
}

TEST(ConverterTest, BatchRefusesRowsLongerThanItsBlock) {
  const ConverterRequest request = DefaultConverterRequest();
  const std::string longRow(100, '1');
  const BatchRun run = RunBatch(request, "-20\n" + longRow + "\n0\n" + longRow, 64);
  EXPECT_EQ(run.status, kConvertRowsFailed);
  // A row too long comes back whole, with its error.
  EXPECT_EQ(run.output, "-20,-20.0\n" + longRow + ",error: row too long\n0,0.0\n" + longRow +
                            ",error: row too long\n");
  EXPECT_EQ(run.summary.firstFailedLine, 2);
  // Rows held for a pressure join go out before a long row after them.
  ConverterRequest joined = request;
  joined.namedColumns = true;
  joined.columns[0].number = 3;
  joined.pressureWhere.column.number = 2;
  joined.pressureWhere.value = "p";
  joined.key.number = 1;
  for (const std::string& row : {longRow, std::string(65, '1')}) {
    EXPECT_EQ(RunBatch(joined, "t1,x,-20\n" + row + "\n", 64).output,
              "t1,x,-20,error: no p row with the key 't1'\n" + row + ",error: row too long\n");
  }
}

size_t ReadFile(void* context, char* data, size_t size) {
  return std::fread(data, 1, size, static_cast<FILE*>(context));
}

bool WriteFile(void* context, const char* data, size_t size) {
  return std::fwrite(data, 1, size, static_cast<FILE*>(context)) == size;
}

TEST(ConverterTest, BatchReadsAndWritesFiles) {
  FILE* in = std::tmpfile();
  FILE* out = std::tmpfile();
  std::fputs("-20\n-40\n", in);
  std::rewind(in);
  ConverterRequest request = DefaultConverterRequest();
  request.targetUnit = Code(MoistureUnitCode::PpmV);
  BatchSummary summary;
  EXPECT_EQ(ConvertBatch(request, BatchStreams{ReadFile, WriteFile, in, out}, &summary),
            kConvertOk);
  std::rewind(out);
  char buffer[64] = {};
  EXPECT_EQ(std::fread(buffer, 1, sizeof buffer - 1, out), 21u);
  // Goff-Gratch over ice at -40 degC: 0.128178 mbar, 126.5 ppmV at 1013.25 mbar.
  EXPECT_STREQ(buffer, "-20,1018.3\n-40,126.5\n");
  std::fclose(in);
  std::fclose(out);
}

TEST(ConverterTest, MessagesAreWrittenAsUtf8) {
  char buffer[32] = {};
  Latin1ToUtf8(
      "m\xB3 \xB0"
      "C \xB5g",
      buffer, sizeof buffer);
  EXPECT_STREQ(buffer,
               "m\xC2\xB3 \xC2\xB0"
               "C \xC2\xB5g");
  // Cut at a whole character when the area is too small.
  char small[4];
  EXPECT_EQ(Latin1ToUtf8("a\xB0\xB0", small, sizeof small), 3u);
  EXPECT_STREQ(small, "a\xC2\xB0");
}

TEST(ConverterTest, HelpListsEveryUnitAndSaysWhatTheyMean) {
  FILE* out = std::tmpfile();
  PrintConverterHelp(out);
  std::rewind(out);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, out)) text += buffer;
  std::fclose(out);
  for (const char* name :
       {"frost-c", "dew-c", "frost-f",     "dew-f", "ppmv",        "ppmw-gas",  "lb-mmscf", "g-m3",
        "mbar-vp", "rh",    "ppmw-liquid", "mbar",  "psia",        "psig",      "atm",      "kpa",
        "bar",     "barg",  "mpa",         "pa",    "natural-gas", "greenspan", "sonntag"}) {
    EXPECT_NE(text.find(std::string("  ") + name + " "), std::string::npos) << name;
  }
  for (const char* meaning :
       {"dry basis", "IGT", "density of the moist gas", "above 100", "--delimiter", "--no-header",
        "--version", "--column", "--henry-column", "--decimal-comma", "-o, --output", "1048576",
        "6 a batch input", "--missing fallback", "--quiet", "--precision", "--ambient-unit",
        "percent relative humidity (alias %rh; needs --ambient)",
        "by weight in a gas (needs --mol-weight)"}) {
    EXPECT_NE(text.find(meaning), std::string::npos) << meaning;
  }
}

// Inputs that single slips in the reader's quoting, detection and refill turn into other
// output; each is read whole, in pieces of 4 bytes, and byte by byte through a small block.
TEST(ConverterTest, BatchReaderPins) {
  const BatchCase cases[] = {
      {"a quoted header field holding a line feed",
       {},
       "x, \"a\nb\"\n-20\n",
       "x, \"a\nb\"," + kFrostAtAtmosphere + "\n-20,,-20.0\n"},
      {"a doubled quote and a comma inside quotes, doubled again in the error",
       {},
       "\"a\"\"b,c\",1\n",
       "\"a\"\"b,c\",1,\"error: not a number: 'a\"\"b,c'\"\n"},
      {"a carriage return inside quotes, quoted again in the error",
       {},
       "-20\n\"a\rb\"\n",
       "-20,-20.0\n\"a\rb\",\"error: not a number: 'a\rb'\"\n"},
      {"a row of spaces is blank", {}, "-20\n   \n-40\n", "-20,-20.0\n   \n-40,-40.0\n"},
      {"text after a closing quote",
       {},
       "-40\n\"-20\"x\n",
       "-40,-40.0\n\"-20\"x,error: not a number: '-20x'\n"},
      {"a tab before the separator",
       {"--delimiter", ",", "--to", "ppmv"},
       "-20\t,2026.5\n",
       "-20\t,2026.5,508.9\n"},
      {"a numeric fourth field: the first row is data",
       {},
       "a,b,c,5\n-20\n",
       "a,b,c,5,error: not a number: 'a'\n-20,-20.0\n"},
      {"a separator first seen on line 2 of a one-column file",
       {},
       "-20\n-40;1013,25\n",
       "-20,-20.0\n-40;1013,25,error: not a number: '-40;1013'\n"},
      {"a separator in a file whose header has one field",
       {},
       "dp\n-40;1013,25\n",
       "dp;" + kFrostAtAtmosphere +
           "\n\"-40;1013,25\";\"error: not a number: '-40;1013,25' (a "
           "file of one column: set --delimiter)\"\n"},
      {"quotes around a separator in the header do not choose it",
       {"--pressure-unit", "psig"},
       "\"Frost point; degC\",psig\n-40,100\n",
       "\"Frost point; degC\",psig," + kFrostAtAtmosphere + "\n-40,100,-56.8\n"},
      {"a one-field header: one column with decimal commas",
       {},
       "Taupunkt\r\n-40,5\r\n",
       "Taupunkt;frost point \xC2\xB0"
       "C at 1013.25 mbar\r\n-40,5;-40,5\r\n"},
      {"a one-field header, a decimal comma after a decimal point: the field quoted",
       {},
       "Taupunkt\n-40\n-20,5\n",
       "Taupunkt," + kFrostAtAtmosphere + "\n-40,-40.0\n\"-20,5\",\"-20,5\"\n"},
      {"a comma after a one-field data row is ambiguous",
       {},
       "-20\n-40,5\n",
       "-20,-20.0\n-40,5,\"error: '-40,5' is one number with a decimal comma or two fields: "
       "set --decimal-comma or --delimiter ,\"\n"},
      {"--decimal-comma", {"--decimal-comma"}, "-40,5\n", "-40,5;-40,5\n"},
      {"--decimal-point", {"--decimal-point"}, "-40,5\n", "-40,5,21.7\n"},
      {"CR-only line ends, separator-only rows kept as they were",
       {},
       "-20\r,\r;;\r\r-40\r-60",
       "-20,-20.0\r,\r;;\r\r-40,-40.0\r-60,-60.0\r"},
      {"a lone CR before the end, then LF and CR LF",
       {},
       "-20\r-40\n-60\r\n",
       "-20,-20.0\r-40,-40.0\n-60,-60.0\r\n"},
  };
  struct Reading {
    size_t capacity;
    size_t piece;
  };
  for (const BatchCase& c : cases) {
    for (const Reading r : {Reading{0, SIZE_MAX}, Reading{0, 4}, Reading{24, 1}}) {
      SCOPED_TRACE(std::string(c.what) + ", pieces of " + std::to_string(r.piece));
      EXPECT_EQ(RunBatch(c.arguments, c.input, r.capacity, r.piece).output, c.output);
    }
  }
}

// The longest row is the capacity without its line end, LF or CR LF; a longer one fails and
// keeps its line end; a row ending at the block's edge leaves the next row whole.
TEST(ConverterTest, BatchRowsUpToTheCapacityAreTaken) {
  const ConverterRequest request = DefaultConverterRequest();
  struct Case {
    std::string input;
    std::string output;
  };
  const Case cases[] = {
      {"-20.0000\n-40\n", "-20.0000,-20.0\n-40,-40.0\n"},
      {"-20.0000\r\n-40\r\n", "-20.0000,-20.0\r\n-40,-40.0\r\n"},
      {"-20.00000\r\n-40\r\n", "-20.00000,error: row too long\r\n-40,-40.0\r\n"},
      {"-40\n-20.00000\r-1\n", "-40,-40.0\n-20.00000,error: row too long\r-1,-1.0\n"},
  };
  for (const Case& c : cases) {
    for (const size_t piece : {size_t{1}, size_t{3}, SIZE_MAX}) {
      SCOPED_TRACE(c.input + " in pieces of " + std::to_string(piece));
      EXPECT_EQ(RunBatch(request, c.input, 8, piece).output, c.output);
    }
  }
}

TEST(ConverterTest, BatchRefusesWhatIsNoCsvText) {
  struct Case {
    std::vector<const char*> arguments;
    std::string input;
    const char* reason;
  };
  const Case cases[] = {
      {{}, "", "the input is empty"},
      {{}, "\xEF\xBB\xBF", "the input holds no rows"},
      {{}, "\r\n,,\r\n", "the input holds no rows"},
      {{}, "reading\n", "the input holds no data rows, only a header"},
      {{}, std::string("-20\n\0\n", 5), "the input is no text: a NUL byte at offset 4"},
      {{}, std::string("\xFF\xFE-\0", 4), "the input is UTF-16 text: save it as UTF-8 or ANSI"},
      {{}, std::string("\xFE\xFF\0-", 4), "the input is UTF-16 text: save it as UTF-8 or ANSI"},
      {{},
       "-40,9\n",
       "the first row '-40,9' reads as two fields or as one number with a decimal comma: set "
       "--delimiter , (or --decimal-point) for two fields, --decimal-comma for one number"},
      {{},
       "-40,5\n",
       "the first row '-40,5' reads as two fields or as one number with a decimal comma: set "
       "--delimiter , (or --decimal-point) for two fields, --decimal-comma for one number"},
      {{"--column", "Reading"},
       "Value\n-20\n",
       "--column: no column named 'Reading' in the header; the closest is 'Value' (column 1); "
       "the header has 'Value'"},
      {{"--column", "1", "--henry-column", "1"},
       "-20\n",
       "--column and --henry-column both choose column 1"},
  };
  for (const Case& c : cases) {
    for (const size_t piece : {SIZE_MAX, size_t{1}}) {
      SCOPED_TRACE(std::string(c.reason) + ", pieces of " + std::to_string(piece));
      const BatchRun run = RunBatch(c.arguments, c.input, 0, piece);
      EXPECT_EQ(run.status, kConvertInputRefused);
      EXPECT_STREQ(run.summary.refusal, c.reason);
    }
  }
}

// Named columns: the others pass through; per-row side values; the result column's header.
TEST(ConverterTest, BatchReadsTheColumnsNamed) {
  const BatchCase cases[] = {
      {"a historian export",
       {"--column", "Value", "--pressure-column", "Line_mbar", "--to", "ppmv"},
       "Timestamp,TagName,Value,Units,Quality,Line_mbar\n"
       "2026-01-01 00:00,\"FT-101, dryer\",-20,degC,Good,2026.5\n"
       "2026-01-01 00:01,FT-101,-20,degC,Good,\n",
       "Timestamp,TagName,Value,Units,Quality,Line_mbar,ppmV at 1013.25 mbar\n"
       "2026-01-01 00:00,\"FT-101, dryer\",-20,degC,Good,2026.5,508.9\n"
       "2026-01-01 00:01,FT-101,-20,degC,Good,,error: no pressure in column 'Line_mbar' "
       "(--pressure gives one for empty fields)\n"},
      {"a logger file, names in any case, an ambient temperature per row",
       {"--column", "DP", "--ambient-column", "temp", "--to", "rh"},
       "time,temp,dp\n10:00,20,0\n10:01,,0\n10:02,500,0\n",
       "time,temp,dp,%RH at 1013.25 mbar\n10:00,20,0,26.13\n10:01,,0,error: no ambient "
       "temperature in column 'temp' (--ambient gives one for empty fields)\n"
       "10:02,500,0,error: ambient-column '500' is not between -80 and 200 degC\n"},
      {"a column by number, a result name",
       {"--column", "2", "--result-name",
        "Taupunkt \xC2\xB0"
        "C"},
       "a;b;c\n1;-20;x\n",
       "a;b;c;Taupunkt \xC2\xB0"
       "C\n1;-20;x;-20,0\n"},
      {"a target pressure column",
       {"--column", "v", "--target-pressure-column", "tp", "--to", "ppmv"},
       "v,tp\n-20,1013.25\n",
       "v,tp,ppmV at tp\n-20,1013.25,1018.3\n"},
      {"a long export: one tag converted, the others passed through",
       {"--column", "Value", "--where", "tagname=AI-101", "--to", "ppmv"},
       "Time,TagName,Value\nt1,AI-101,-20\nt1,AI-102,12.5\nt2,ai-101 ,-40\n",
       "Time,TagName,Value,ppmV at 1013.25 mbar\nt1,AI-101,-20,1018.3\nt1,AI-102,12.5\n"
       "t2,ai-101 ,-40,126.5\n"},
      {"each row's unit from a column, as historians write it; only the matching rows",
       {"--column", "3", "--from-column", "Units", "--where", "2=AI-102", "--where", "Q=Good",
        "--only-matching"},
       "Time,Tag,Value,Units,Q\nt1,AI-102,-20,degC frost,Good\nt1,AI-101,-20,x,Good\n"
       "t2,AI-102,1018.3,ppm(v),Good\nt3,AI-102,-4,\xC2\xB0"
       "F dp,Good\nt4,AI-102,1,furlong,Good\nt5,AI-102,1,ppmv,Bad\n",
       "Time,Tag,Value,Units,Q," + kFrostAtAtmosphere +
           "\nt1,AI-102,-20,degC frost,Good,-20.0\nt2,AI-102,1018.3,ppm(v),Good,-20.0\n"
           "t3,AI-102,-4,\xC2\xB0"
           "F dp,Good,-20.0\nt4,AI-102,1,furlong,Good,error: unknown unit 'furlong' in column "
           "'Units' (--from names the unit for all rows)\n"},
      {"two texts for one column take either; another column must match too",
       {"--column", "Value", "--where", "Tag=AI-101", "--where", "Tag=AI-102", "--where", "Q=Good",
        "--to", "ppmv"},
       "Tag,Value,Q\nAI-101,-20,Good\nAI-102,-40,Good\nAI-102,-40,Bad\nPT-100,7,Good\n",
       "Tag,Value,Q,ppmV at 1013.25 mbar\nAI-101,-20,Good,1018.3\nAI-102,-40,Good,126.5\n"
       "AI-102,-40,Bad\nPT-100,7,Good\n"},
      {"a pressure on rows of its own, joined by the key; one key's rows at a time",
       {"--column", "Value", "--where", "Tag=AI-101", "--pressure-where", "Tag=PT-100", "--key",
        "Time", "--to", "ppmv"},
       "Time,Tag,Value\nt1,AI-101,-20\nt1,PT-100,2026.5\nt1,AI-102,7\nt2,PT-100,1013.25\n"
       "t2,AI-101,-20\n\nt3,AI-101,-20\nt4,AI-101,-20\nt4,PT-100,1\nt4,PT-100,2\n"
       "t5,PT-100,0\nt5,AI-101,-20\n",
       "Time,Tag,Value,ppmV at 1013.25 mbar\nt1,AI-101,-20,508.9\nt1,PT-100,2026.5\n"
       "t1,AI-102,7\nt2,PT-100,1013.25\nt2,AI-101,-20,1018.3\n\n"
       "t3,AI-101,-20,error: no PT-100 row with the key 't3'\n"
       "t4,AI-101,-20,error: different pressures in the PT-100 rows with the key 't4'\n"
       "t4,PT-100,1\nt4,PT-100,2\nt5,PT-100,0\n"
       "t5,AI-101,-20,error: no possible pressure in the PT-100 row with the key 't5'\n"},
      {"several readings' columns, each with its result",
       {"--column", "AI-101", "--column", "AI-102", "--pressure-column", "P", "--to", "ppmv"},
       "Time,AI-101,AI-102,P\nt1,-20,-40,2026.5\nt3,-20\n",
       "Time,AI-101,AI-102,P,AI-101: ppmV at 1013.25 mbar,AI-102: ppmV at 1013.25 mbar\n"
       "t1,-20,-40,2026.5,508.9,63.26\nt3,-20,,,error: no pressure in column 'P' (--pressure "
       "gives one for empty fields),error: the row has no column 3\n"},
      {"several readings' columns with their names",
       {"--column", "2", "--column", "3", "--result-name", "A", "--result-name", "B"},
       "Time;x;y\nt1;-20;-40,5\n",
       "Time;x;y;A;B\nt1;-20;-40,5;-20,0;-40,5\n"},
      {"a row too short for the column",
       {"--column", "3"},
       "a,b,c\n-20,1\n",
       "a,b,c," + kFrostAtAtmosphere + "\n-20,1,,error: the row has no column 3\n"},
  };
  for (const BatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunBatch(c.arguments, c.input).output, c.output);
  }
}

// A gap in a named column is never a number the user did not give; rows keep their shape; an
// input that ends inside quotes, or names a column twice over, is refused.
TEST(ConverterTest, BatchGapsAndRowShapes) {
  struct Case {
    const char* what;
    std::vector<const char*> arguments;
    std::string input;
    int status;
    std::string output;  // or, for a refused input, the reason
  };
  const std::vector<const char*> historian = {"--column",         "AI-101", "--pressure-column",
                                              "PT-100 Line mbar", "--to",   "ppmv"};
  auto with = [&](std::vector<const char*> more) {
    more.insert(more.begin(), historian.begin(), historian.end());
    return more;
  };
  const std::string header = "Timestamp,AI-101,PT-100 Line mbar,Comment\n";
  const std::string resultHeader =
      "Timestamp,AI-101,PT-100 Line mbar,Comment,ppmV at 1013.25 mbar\n";
  const std::string gap =
      "error: no pressure in column 'PT-100 Line mbar' (--pressure gives one for empty fields)";
  const Case cases[] = {
      {"an empty or missing pressure field is a row error", historian,
       header + "t1,-20,2026.5,ok\nt2,-20,,ok\nt3,-20\n", kConvertRowsFailed,
       resultHeader + "t1,-20,2026.5,ok,508.9\nt2,-20,,ok," + gap + "\nt3,-20,,," + gap + "\n"},
      {"the option given: gaps take it", with({"--pressure", "2026.5"}),
       header + "t2,-20,,\nt3,-20\n", kConvertOk,
       resultHeader + "t2,-20,,,508.9\nt3,-20,,,508.9\n"},
      {"--missing=fallback: gaps take the option's default, one atmosphere",
       with({"--missing=fallback"}), header + "t2,-20,,\n", kConvertOk,
       resultHeader + "t2,-20,,,1018.3\n"},
      {"a gap in a target pressure column chosen by number",
       {"--column", "1", "--target-pressure-column", "2", "--no-header"},
       "-20,\n",
       kConvertRowsFailed,
       "-20,,error: no target pressure in column 2 (--target-pressure gives one for empty "
       "fields)\n"},
      {"side-value columns: temperature suffixes and the column's unit",
       {"--column", "dp", "--ambient-column", "t", "--ambient-unit", "F", "--to", "rh"},
       "t;dp\n68;0\n20C;0\n68 degF;0\n20\xC2\xB0"
       "C;0\n20K;0\n;0\n",
       kConvertRowsFailed,
       "t;dp;%RH at 1013.25 mbar\n68;0;26,13\n20C;0;26,13\n68 degF;0;26,13\n20\xC2\xB0"
       "C;0;26,13\n20K;0;error: not a temperature: '20K'\n;0;error: no ambient temperature in "
       "column 't' (--ambient gives one for empty fields)\n"},
      {"a Fahrenheit ambient column without the unit option",
       {"--column", "dp", "--ambient-column", "t", "--to", "rh"},
       "t,dp,mw\n70.5F,0\n",
       kConvertOk,
       // As --ambient 70.5F gives: 21.39 degC, about 25.45 mbar over water.
       "t,dp,mw,%RH at 1013.25 mbar\n70.5F,0,,23.99\n"},
      {"a gap in a molecular weight column, the option given",
       {"--column", "v", "--molecular-weight-column", "mw", "--mol-weight", "16", "--from",
        "ppmw-gas", "--to", "ppmw-gas"},
       "v,mw\n100,\n100,16\n",
       kConvertOk,
       "v,mw,ppmW at 1013.25 mbar\n100,,100.0\n100,16,100.0\n"},
      {"a molecular weight or Henry's constant of 0 in a column",
       {"--column", "v", "--molecular-weight-column", "mw", "--henry-column", "k"},
       "v,mw,k\n-20,0,1\n-20,16,0\n",
       kConvertRowsFailed,
       "v,mw,k," + kFrostAtAtmosphere +
           "\n-20,0,1,error: molecular-weight-column '0' is not above 0\n"
           "-20,16,0,error: henry-column '0' is not above 0\n"},
      {"a quote left open at the end names the line it opened on",
       {},
       "-20\n-40\n\"-60\n-80\n",
       kConvertInputRefused,
       "the input ends inside quotes: the quote opened on line 3 is never closed"},
      {"a quote opened on the row's second line",
       {},
       "-20\n\"a\nb\",\"c\n\n",
       kConvertInputRefused,
       "the input ends inside quotes: the quote opened on line 3 is never closed"},
      {"a name that matches two headers in any case",
       {"--column", "dp"},
       "DP,Dp\n-20,-20\n",
       kConvertInputRefused,
       "--column: 'dp' matches column 1 'DP' and column 2 'Dp': choose one by its number "
       "(--column 1)"},
      {"a name that matches two headers exactly",
       {"--column", "v", "--pressure-column", "p"},
       "v,p,v\n-20,1013.25,-30\n",
       kConvertInputRefused,
       "--column: 'v' matches column 1 'v' and column 3 'v': choose one by its number "
       "(--column 1)"},
      {"the same column named for two roles",
       {"--column", "dp", "--ambient-column", "DP"},
       "dp\n-20\n",
       kConvertInputRefused,
       "--column and --ambient-column both choose column 1"},
      {"no column named so: the closest and the header",
       {"--column", "AI-101"},
       "Timestamp,AI-102,PT-100\n",
       kConvertInputRefused,
       "--column: no column named 'AI-101' in the header; the closest is 'AI-102' (column 2); "
       "the header has 'Timestamp', 'AI-102', 'PT-100'"},
  };
  for (const Case& c : cases) {
    for (const size_t piece : {SIZE_MAX, size_t{1}}) {
      SCOPED_TRACE(std::string(c.what) + ", pieces of " + std::to_string(piece));
      const BatchRun run = RunBatch(c.arguments, c.input, 0, piece);
      EXPECT_EQ(run.status, c.status);
      EXPECT_EQ(c.status == kConvertInputRefused ? run.summary.refusal : run.output, c.output);
    }
  }
}

// bar, barg, MPa and Pa are read as the millibar they stand for; pressures at or below vacuum
// and the two-faced "psi" are refused.
TEST(ConverterTest, PressureUnitsOfTheConverter) {
  struct Case {
    std::vector<const char*> arguments;
    int status;
    const char* text;
  };
  const Case cases[] = {
      {{"--pressure-unit", "bar", "--pressure", "2.0265", "--to", "ppmv", "-20"}, 0, "508.9"},
      {{"--pressure-unit", "barg", "--pressure", "1.01325", "--to", "ppmv", "-20"}, 0, "508.9"},
      {{"--pressure-unit", "MPa", "--pressure", "0.20265", "--to", "ppmv", "-20"}, 0, "508.9"},
      {{"--pressure-unit", "pa", "--pressure", "202650", "--to", "ppmv", "-20"}, 0, "508.9"},
      {{"--pressure-unit", "barg", "--to", "ppmv", "-20"}, 0, "1018.3"},
      {{"--pressure", "0", "1"},
       kConvertOutOfRange,
       "--pressure: 0 mbar is at or below vacuum: no gas has that pressure"},
      {{"--target-pressure-unit", "psig", "--target-pressure", "-14.7", "1"},
       kConvertOutOfRange,
       "--target-pressure: -14.7 psig is at or below vacuum: no gas has that pressure"},
      {{"--pressure-unit", "psi", "1"},
       kConvertUsageError,
       "--pressure-unit: 'psi' is read both ways: say psia or psig"},
      {{"--column", "2", "1"}, kConvertUsageError, "the column options: only with --batch"},
      {{"--decimal-comma", "--delimiter", ",", "--batch"},
       kConvertUsageError,
       "--decimal-comma and --delimiter , exclude each other: a comma is either"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto [status, text] = Convert(c.arguments);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(text, c.text);
  }
  // A pressure at vacuum handed over directly: the message names its side.
  const ConverterRequest request = DefaultConverterRequest();
  char text[100];
  EXPECT_EQ(ConvertReading(request, -20, 0.0, NAN, text, sizeof text), kConvertOutOfRange);
  EXPECT_STREQ(text, "source pressure at or below vacuum");
  EXPECT_EQ(ConvertReading(request, -20, NAN, -1.0, text, sizeof text), kConvertOutOfRange);
  EXPECT_STREQ(text, "target pressure at or below vacuum");
}

}  // namespace
