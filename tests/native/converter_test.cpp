// The command-line converter: arguments, single readings, CSV batches and exit statuses.
#include "convert/converter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

std::string RunBatch(const ConverterRequest& request, const char* input, int* status) {
  FILE* in = std::tmpfile();
  FILE* out = std::tmpfile();
  std::fputs(input, in);
  std::rewind(in);
  *status = ConvertBatch(request, in, out);
  std::rewind(out);
  std::string text;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, out)) text += buffer;
  std::fclose(in);
  std::fclose(out);
  return text;
}

TEST(ConverterTest, DefaultsAreTheCalculatorsFirstStart) {
  const ParseResult parsed = Parse({"0"});
  ASSERT_EQ(parsed.status, kConvertOk);
  const ConverterRequest& r = parsed.request;
  EXPECT_EQ(r.sourceUnit, 0);
  EXPECT_EQ(r.targetUnit, 0);
  EXPECT_EQ(r.sourcePressure, 1013.25);
  EXPECT_EQ(r.targetPressure, 1013.25);
  EXPECT_EQ(r.svpFormulation, GoffGratch);
  EXPECT_EQ(r.enhancementFactor, NoFactor);
  EXPECT_EQ(r.source.molecularWeight, 29.0f);
  EXPECT_EQ(r.target.henryConstant, 1.9f);
  EXPECT_EQ(r.source.densityMedium, kMediumNaturalGas);
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
      // A vapour pressure above the total pressure, or no total pressure: no answer.
      {{"--pressure", "5", "10"}, "out of range"},
      {{"--pressure", "0", "--to", "ppmv", "0"}, "out of range"},
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

TEST(ConverterTest, PerSideOptionsOverrideTheSharedOnes) {
  const ParseResult parsed =
      Parse({"--mol-weight", "16", "--target-mol-weight", "28", "--source-henry", "8.6", "--medium",
             "air", "--target-prevailing", "60F", "1"});
  ASSERT_EQ(parsed.status, kConvertOk);
  EXPECT_EQ(parsed.request.source.molecularWeight, 16.0f);
  EXPECT_EQ(parsed.request.target.molecularWeight, 28.0f);
  EXPECT_EQ(parsed.request.source.henryConstant, 8.6f);
  EXPECT_EQ(parsed.request.target.henryConstant, 1.9f);
  EXPECT_EQ(parsed.request.source.densityMedium, kMediumAir);
  EXPECT_EQ(parsed.request.target.densityMedium, kMediumAir);
  EXPECT_EQ(parsed.request.target.prevailingTemperature, 15.5555563f);
  EXPECT_EQ(parsed.request.source.prevailingTemperature, 20.0f);
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
      {{"--pressure-unit", "bar", "1"},
       kConvertUsageError,
       "--pressure-unit: unknown pressure unit 'bar' (see --help)"},
      {{"--to"}, kConvertUsageError, "--to: missing its value"},
      {{"--colour", "red", "1"}, kConvertUsageError, "unknown option '--colour'"},
      {{"1", "2"}, kConvertUsageError, "unexpected argument '2'"},
      {{"12abc"}, kConvertBadNumber, "not a number: '12abc'"},
      {{"--pressure", "high", "1"}, kConvertBadNumber, "--pressure: not a number: 'high'"},
      {{"--mol-weight", "0", "1"},
       kConvertOutOfRange,
       "--mol-weight: must be greater than 0, not 0"},
      {{"--henry", "-5", "1"}, kConvertOutOfRange, "--henry: must be greater than 0, not -5"},
      {{"--ambient", "200", "1"},
       kConvertOutOfRange,
       "--ambient: stay between -80 and 200 degC (both excluded), not 200"},
      {{"--ambient", "392F", "1"},
       kConvertOutOfRange,
       "--ambient: stay between -80 and 200 degC (both excluded), not 392F"},
      {{"--ambient", "20K", "1"},
       kConvertBadNumber,
       "--ambient: not a temperature: '20K' (a number, optionally followed by C or F)"},
      {{"--medium", "steam", "1"},
       kConvertUsageError,
       "--medium: unknown medium 'steam' (water, air or natural-gas)"},
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

TEST(ConverterTest, BatchAppendsTheResultColumn) {
  ConverterRequest request = DefaultConverterRequest();
  request.targetUnit = 4;  // ppmV
  int status = -1;
  const std::string output =
      RunBatch(request, "dewpoint,pressure\n0\n0,,\n\n-20 , 2026.5\n0,1013.25,10000\r\n", &status);
  EXPECT_EQ(status, kConvertOk);
  EXPECT_EQ(output,
            "dewpoint,pressure,result\n"
            "0,6060.1\n"
            "0,,,6060.1\n"
            "\n"
            "-20 , 2026.5,508.9\n"
            "0,1013.25,10000,6060.1\n");
}

TEST(ConverterTest, BatchMarksBadRowsAndGoesOn) {
  ConverterRequest request = DefaultConverterRequest();
  int status = -1;
  const std::string output = RunBatch(request, "0\nabc\n-150\n1,x\n10\n", &status);
  EXPECT_EQ(status, kConvertBadNumber);  // the first failing row's status
  EXPECT_EQ(output,
            "0,0.0\n"
            "abc,error: not a number: 'abc'\n"
            "-150,error: stay between -140\xC2\xB0"
            "C and +50\xC2\xB0"
            "C\n"
            "1,x,error: not a pressure: 'x'\n"
            "10,10.0\n");
}

TEST(ConverterTest, BatchSkipsRowsLongerThanItsBuffer) {
  ConverterRequest request = DefaultConverterRequest();
  const std::string longRow(5000, '1');
  int status = -1;
  const std::string output = RunBatch(request, (longRow + "\n0\n").c_str(), &status);
  EXPECT_EQ(status, kConvertUsageError);
  EXPECT_EQ(output, "error: row too long\n0,0.0\n");
}

TEST(ConverterTest, MessagesAreWrittenAsUtf8) {
  FILE* out = std::tmpfile();
  WriteLatin1AsUtf8(
      "m\xB3 \xB0"
      "C \xB5g",
      out);
  std::rewind(out);
  char buffer[32] = {};
  ASSERT_NE(std::fgets(buffer, sizeof buffer, out), nullptr);
  std::fclose(out);
  EXPECT_STREQ(buffer,
               "m\xC2\xB3 \xC2\xB0"
               "C \xC2\xB5g");
}

TEST(ConverterTest, HelpListsEveryUnit) {
  FILE* out = std::tmpfile();
  PrintConverterHelp(out);
  std::rewind(out);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, out)) text += buffer;
  std::fclose(out);
  for (const char* name : {"frost-c", "dew-c", "frost-f", "dew-f", "ppmv", "ppmw-gas", "lb-mmscf",
                           "g-m3", "mbar-vp", "rh", "ppmw-liquid", "mbar", "psia", "psig", "atm",
                           "kpa", "natural-gas", "greenspan", "sonntag"}) {
    EXPECT_NE(text.find(std::string("  ") + name + " "), std::string::npos) << name;
  }
}

}  // namespace
