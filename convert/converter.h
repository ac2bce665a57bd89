// The command-line converter: one moisture reading, or a stream of CSV rows, converted with
// exactly the calculator's physics, ranges and result formatting.
#pragma once

#include <cstddef>
#include <cstdio>

#include "core/calculator_values.h"

namespace ruruzir {

// Exit statuses.
enum ConverterStatus : int {
  kConvertOk = 0,
  kConvertUsageError = 1,  // unknown option or unit, missing value
  kConvertBadNumber = 2,   // a number that does not parse
  kConvertOutOfRange = 3,  // a source value outside its unit's range
  kConvertRowsFailed = 4,  // a batch in which at least one row could not be converted
};

// The program's version, as its version resource states it.
extern const char kConverterVersion[];

// How the first row of a batch is taken.
enum class BatchHeader {
  Auto,  // a header when none of its fields reads as a number
  Yes,
  No,
};

// Everything a conversion needs besides the value and the two pressure readings.
struct ConverterRequest {
  int sourceUnit;  // moisture unit code
  int targetUnit;
  int sourcePressureUnit;  // pressure unit code
  int targetPressureUnit;
  // Readings in their pressure units; NaN when not given: one standard atmosphere then, in
  // whatever unit (1013.25 mbar, 14.696 psia, 0 psig, 1 atm, 101.325 kPa).
  double sourcePressure;
  double targetPressure;
  SideContext source;
  SideContext target;
  MoistureModel model;
  bool batch;
  const char* batchFile;  // nullptr or "-": standard input
  char delimiter;         // ',', ';' or '\t'; 0: found from the first row
  BatchHeader header;
  bool hasValue;
  double value;
  bool help;
  bool version;
};

// The request with the calculator's first-start defaults.
ConverterRequest DefaultConverterRequest();

// Reads the command line into `request`. On failure returns its status and writes a message
// naming what was wrong into `message` (room for `size` bytes). Strings of `request` point
// into `argv`.
int ParseConverterArguments(int argc, const char* const* argv, ConverterRequest* request,
                            char* message, size_t size);

// Converts one value: writes the result text exactly as the calculator's result box shows it
// ("out of range" included) and returns kConvertOk, or writes the range message and returns
// kConvertOutOfRange. A pressure reading that is NaN stands for one standard atmosphere.
int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size);

// Where a batch reads its bytes from and writes them to.
struct BatchStreams {
  // Fills up to `size` bytes; returns how many (0 at the end of the input).
  size_t (*read)(void* context, char* data, size_t size);
  void (*write)(void* context, const char* data, size_t size);
  void* readContext;
  void* writeContext;
};

// What a batch did.
struct BatchSummary {
  long long converted;        // data rows with a result ("out of range" included)
  long long failed;           // data rows with "error: ..."
  long long firstFailedLine;  // line number of the first failed row, 0 when none
};

// Converts CSV rows "value[,source pressure[,target pressure]]", writing every row back with
// the result as one more column; blank lines are kept and a failed row gets "error: ..." in
// its result column. Separators (comma, semicolon, tab), quoting, decimal commas, the header
// and line ends are handled as the help text says. `rowCapacity` is the longest row taken (a
// longer one is a failed row); 0 chooses the default of a megabyte. Returns kConvertOk, or
// kConvertRowsFailed when any row failed.
int ConvertBatch(const ConverterRequest& request, const BatchStreams& streams,
                 BatchSummary* summary, size_t rowCapacity = 0);

// The same from one C stream to another.
int ConvertBatch(const ConverterRequest& request, FILE* in, FILE* out,
                 BatchSummary* summary = nullptr);

// The --help text.
void PrintConverterHelp(FILE* out);

// Windows-1252 text as UTF-8 into `utf8` (room for `size` bytes, at least 1); returns its
// length. Text that does not fit is cut at a whole character.
size_t Latin1ToUtf8(const char* text, char* utf8, size_t size);

// Writes Windows-1252 text as UTF-8 (the calculator's messages carry degree signs).
void WriteLatin1AsUtf8(const char* text, FILE* out);

}  // namespace ruruzir
