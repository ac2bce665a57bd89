// The command-line converter: one moisture reading, or a stream of CSV rows, converted with
// exactly the calculator's physics, ranges and result formatting.
#pragma once

#include <cstddef>
#include <cstdio>

#include "app/calculator_state.h"

// Exit statuses.
enum ConverterStatus : int {
  kConvertOk = 0,
  kConvertUsageError = 1,  // unknown option or unit, missing value
  kConvertBadNumber = 2,   // a number that does not parse
  kConvertOutOfRange = 3,  // a source value outside its unit's range
};

// Everything a conversion needs besides the value and the two pressure readings.
struct ConverterRequest {
  int sourceUnit;  // moisture unit code
  int targetUnit;
  int sourcePressureUnit;  // pressure unit code
  int targetPressureUnit;
  double sourcePressure;  // readings in their pressure units
  double targetPressure;
  SideContext source;
  SideContext target;
  int svpFormulation;
  int enhancementFactor;
  bool batch;
  const char* batchFile;  // nullptr: standard input
  bool hasValue;
  double value;
  bool help;
};

// The request with the calculator's first-start defaults.
ConverterRequest DefaultConverterRequest();

// Reads the command line into `request`. On failure returns its status and writes a message
// naming what was wrong into `message` (room for `size` bytes).
int ParseConverterArguments(int argc, const char* const* argv, ConverterRequest* request,
                            char* message, size_t size);

// Converts one value: writes the result text exactly as the calculator's result box shows it
// ("out of range" included) and returns kConvertOk, or writes the range message and returns
// kConvertOutOfRange.
int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size);

// Converts CSV rows "value[,source pressure[,target pressure]]" from `in`, writing each row
// with the result appended as one more column. Blank lines are copied; a row that cannot be
// converted gets "error: ..." in its result column. Returns kConvertOk, or the status of the
// first failing row.
int ConvertBatch(const ConverterRequest& request, FILE* in, FILE* out);

// The --help text.
void PrintConverterHelp(FILE* out);

// Writes Windows-1252 text as UTF-8 (the calculator's messages carry degree signs).
void WriteLatin1AsUtf8(const char* text, FILE* out);
