// The command-line converter: one moisture reading, or a stream of CSV rows, converted with
// exactly the calculator's physics, ranges and result formatting.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "core/unit_catalogues.h"
#include "core/vocabulary.h"
#include "physics/moisture_model.h"

namespace ruruzir {

// Exit statuses.
enum ConverterStatus : int {
  kConvertOk = 0,
  kConvertUsageError = 1,    // unknown option or unit, missing value
  kConvertBadNumber = 2,     // a number that does not parse
  kConvertOutOfRange = 3,    // a source value outside its unit's range, a pressure at vacuum
  kConvertRowsFailed = 4,    // a batch in which at least one row could not be converted
  kConvertWriteFailed = 5,   // the output could not be written
  kConvertInputRefused = 6,  // a batch input that is no readable CSV file, or is ambiguous
};

// The program's version, as its version resource states it.
extern const char kConverterVersion[];

// How the first row of a batch is taken.
enum class BatchHeader {
  Auto,  // a header when none of its fields reads as a number
  Yes,
  No,
};

// How numbers in batch rows write their decimal mark.
enum class DecimalMark {
  Auto,   // a comma only where the separator is ; or tab, or in a file of one column
  Comma,  // a decimal comma (the separator is then ; or tab, or there is one column)
  Point,  // a decimal point: a comma is never a decimal mark
};

// The columns of batch rows that --column and its kin choose.
enum class BatchColumn {
  Value,
  SourcePressure,
  TargetPressure,
  Ambient,          // ambient temperature for %RH, degC
  Prevailing,       // prevailing temperature for g/m3, degC
  MolecularWeight,  // for ppmW in a gas
  Henry,            // Henry's constant for ppmW in a liquid
};
constexpr int kBatchColumnCount = 7;

// The significant digits of a result in a precision other than the shown one.
constexpr int kDefaultComputedDigits = 9;  // a single-precision value read back unchanged

// A column named on the command line: by its header text or by its 1-based number.
struct ColumnChoice {
  std::string name;  // empty: chosen by number, or not at all
  int number;        // 1-based; 0 when not chosen by number
};

// Rows whose column holds a text (blanks around it aside, in any case).
struct RowFilter {
  ColumnChoice column;
  std::string value;
};

// Everything a conversion needs besides the value and the two pressure readings.
struct ConverterRequest {
  int sourceUnit;  // moisture unit code
  int targetUnit;
  int sourcePressureUnit;  // pressure unit code: the window's or bar, barg, MPa, Pa
  int targetPressureUnit;
  // Readings in their pressure units; NaN when not given: one standard atmosphere then, in
  // whatever unit (1013.25 mbar, 14.696 psia, 0 psig, 1 atm, 101.325 kPa, 1.01325 bar, ...).
  double sourcePressure;
  double targetPressure;
  SideParameters source;
  SideParameters target;
  MoistureModel model;
  bool batch;
  const char* batchFile;   // nullptr or "-": standard input
  std::string outputFile;  // empty: standard output
  char delimiter;          // ',', ';' or '\t'; 0: found from the first row
  DecimalMark decimal;
  BatchHeader header;
  ColumnChoice columns[kBatchColumnCount];
  bool namedColumns;       // any column chosen: the other columns pass through, however many
  std::string resultName;  // the result column's header; empty: what the result holds
  // Further readings' columns (--column repeated), each converted into a result column of its
  // own, named by the further --result-name's (none: what it holds and the column's name).
  std::vector<ColumnChoice> moreValues;
  std::vector<std::string> moreResultNames;
  // What an empty or missing field of a named pressure or side-value column takes: an error,
  // unless the user gave the option (given[role]) or --missing=fallback.
  bool given[kBatchColumnCount];
  bool missingFallback;
  bool fahrenheitColumns[2];     // --ambient-unit F, --prevailing-unit F: a column's bare numbers
  bool quiet;                    // no summary when no row failed
  std::vector<RowFilter> where;  // rows converted: each column named holds one of its texts
  bool onlyMatching;             // the others are dropped instead of passed through
  ColumnChoice fromColumn;       // each row's moisture unit from this column (--from-column)
  // A pressure on rows of its own (--pressure-where TagName=PT-100): a converted row takes the
  // pressure of the row with the same text in the key column (--key Timestamp).
  RowFilter pressureWhere;
  ColumnChoice key;
  Precision precision;  // what the result text holds: core's precisions
  int digits;           // significant digits of a computed result
  bool hasValue;
  double value;
  bool help;
  bool version;
};

// The request with the calculator's first-start defaults.
ConverterRequest DefaultConverterRequest();

// Reads the command line into `request`. On failure returns its status and writes a message
// naming what was wrong into `message` (room for `size` bytes), the user's text in it as it
// was given. `request->batchFile` points into `argv`.
int ParseConverterArguments(int argc, const char* const* argv, ConverterRequest* request,
                            char* message, size_t size);

// Converts one value with core's check and conversion of a request: writes the result text
// exactly as the calculator's result box shows it ("out of range" included) and returns
// kConvertOk, or writes why it was refused (Windows-1252: the range message, "source pressure
// at or below vacuum", ...) and returns kConvertOutOfRange (kConvertBadNumber for a value that
// is no finite number). A pressure reading that is NaN stands for one standard atmosphere.
int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size);

// The same with the sides' parameters given apart from the request (read from a row).
int ConvertPossibleReading(const ConverterRequest& request, const SideParameters& source,
                           const SideParameters& target, double value, double sourcePressure,
                           double targetPressure, char* text, size_t size);

// Where a batch reads its bytes from and writes them to.
struct BatchStreams {
  // Fills up to `size` bytes; returns how many (0 at the end of the input or on an error).
  size_t (*read)(void* context, char* data, size_t size);
  // Writes all `size` bytes; false when they could not be written.
  bool (*write)(void* context, const char* data, size_t size);
  void* readContext;
  void* writeContext;
};

// What a batch did.
struct BatchSummary {
  long long converted;        // data rows with a result ("out of range" included)
  long long failed;           // data rows with "error: ..."
  long long firstFailedLine;  // line number of the first failed row, 0 when none
  long long cutLine;          // a last line without the line end all others have, 0 when none
  char refusal[400];          // why the input was refused (kConvertInputRefused): UTF-8, the user's
                              // bytes in it as they were
};

// Converts CSV rows "value[,source pressure[,target pressure]]", or the columns the request
// names, writing every row back with the result as one more column; blank rows (and rows of
// separators only) are kept and a failed row gets "error: ..." in its result column.
// Separators (comma, semicolon, tab), quoting, decimal commas, the header and line ends (LF,
// CR LF, CR) are handled as the help text says. `rowCapacity` is the longest row taken without
// its line end (a longer one is a failed row); 0 chooses the default of a megabyte. Returns
// kConvertOk, kConvertRowsFailed when any row failed, kConvertWriteFailed as soon as a write
// fails, or kConvertInputRefused with the reason in the summary.
constexpr size_t kDefaultBatchRowCapacity = size_t{1} << 20;
int ConvertBatch(const ConverterRequest& request, const BatchStreams& streams,
                 BatchSummary* summary, size_t rowCapacity = 0);

// The --help text.
void PrintConverterHelp(FILE* out);

// Windows-1252 text as UTF-8 into `utf8` (room for `size` bytes, at least 1); returns its
// length. Text that does not fit is cut at a whole character.
size_t Latin1ToUtf8(const char* text, char* utf8, size_t size);

}  // namespace ruruzir
