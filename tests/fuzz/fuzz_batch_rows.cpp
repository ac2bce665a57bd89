// Fuzz target: the converter's batch reader with any bytes, any separator and header option,
// any block size and input handed over in pieces of any size.
//
// Input: option bytes (separator: found or , ; tab; header: found, forced, none; the longest
// row; the size of the pieces read; units), then either
//  - arbitrary bytes: the rows, read from a heap block of exactly their size (AddressSanitizer
//    reports a read past it). Without quotes in them, every line comes back as one line that
//    begins with the line as it was (or says the row was too long);
//  - or plain rows: numbers and separators composed here, with decimal commas after ; and
//    tab, empty pressure fields, LF or CRLF. Each must come back as itself, its separator and
//    the text ConvertReading gives for the same numbers.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "convert/converter.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ruruzir;

namespace {

struct Source {
  const char* data;
  size_t size;
  size_t piece;
};

size_t ReadPiece(void* context, char* data, size_t size) {
  Source& source = *static_cast<Source*>(context);
  size_t taken = source.size < size ? source.size : size;
  if (taken > source.piece) taken = source.piece;
  std::memcpy(data, source.data, taken);
  source.data += taken;
  source.size -= taken;
  return taken;
}

void Append(void* context, const char* data, size_t size) {
  static_cast<std::string*>(context)->append(data, size);
}

std::string Run(const ConverterRequest& request, const std::string& input, size_t piece,
                size_t capacity) {
  const ExactText block(input.data(), input.size());
  Source source{block.get(), input.size(), piece};
  std::string output;
  const BatchStreams streams{ReadPiece, Append, &source, &output};
  BatchSummary summary;
  const int status = ConvertBatch(request, streams, &summary, capacity);
  FUZZ_CHECK(status == (summary.failed > 0 ? kConvertRowsFailed : kConvertOk),
             "status %d with %lld failed rows", status, summary.failed);
  return output;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string WithoutCarriageReturns(std::string line) {
  while (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void CheckArbitraryBytes(const ConverterRequest& request, std::string input, size_t piece,
                         size_t capacity) {
  const std::string output = Run(request, input, piece, capacity);
  for (char& c : input) {
    if (c == '"') c = '\'';
  }
  const std::string unquotedOutput = Run(request, input, piece, capacity);
  std::string rows = input;
  if (rows.compare(0, 3, "\xEF\xBB\xBF") == 0) rows.erase(0, 3);
  const std::vector<std::string> in = Lines(rows);
  std::string outRows = unquotedOutput;
  if (outRows.compare(0, 3, "\xEF\xBB\xBF") == 0) outRows.erase(0, 3);
  const std::vector<std::string> out = Lines(outRows);
  FUZZ_CHECK(in.size() == out.size(), "%zu rows in, %zu out", in.size(), out.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const std::string row = WithoutCarriageReturns(in[i]);
    const std::string back = WithoutCarriageReturns(out[i]);
    FUZZ_CHECK(back.compare(0, row.size(), row) == 0 || back == "error: row too long",
               "row %zu \"%s\" came back as \"%s\"", i, row.c_str(), back.c_str());
  }
}

std::string FormatNumber(FuzzedDataProvider& fuzz, double value, char mark) {
  char text[64];
  switch (fuzz.ConsumeIntegralInRange(0, 2)) {
    case 0:
      std::snprintf(text, sizeof text, "%.*f", fuzz.ConsumeIntegralInRange(1, 6), value);
      break;
    case 1:
      std::snprintf(text, sizeof text, "%.*e", fuzz.ConsumeIntegralInRange(1, 8), value);
      break;
    default:
      std::snprintf(text, sizeof text, "%.17g", value);
      if (!std::strchr(text, '.')) std::snprintf(text, sizeof text, "%.1f", value);
      break;
  }
  if (mark == ',') {
    for (char* p = text; *p; ++p) {
      if (*p == '.') *p = ',';
    }
  }
  std::string field = text;
  if (fuzz.ConsumeBool()) field = " " + field + " ";
  if (fuzz.ConsumeBool()) field = "\"" + field + "\"";
  return field;
}

void CheckPlainRows(const ConverterRequest& request, FuzzedDataProvider& fuzz, size_t piece) {
  const char separators[] = {',', ';', '\t'};
  const char separator =
      request.delimiter ? request.delimiter : separators[fuzz.ConsumeIntegralInRange(0, 2)];
  const char mark = separator != ',' && fuzz.ConsumeBool() ? ',' : '.';
  // Results take the mark of the numbers; with ; and no numbers shown yet, a comma.
  std::string input, expected;
  const int rows = fuzz.ConsumeIntegralInRange(1, 40);
  for (int r = 0; r < rows && fuzz.remaining_bytes() > 0; ++r) {
    const double value = fuzz.ConsumeFloatingPointInRange(-200.0, 200000.0);
    const int fields = fuzz.ConsumeIntegralInRange(1, 3);
    double pressures[2] = {request.sourcePressure, request.targetPressure};
    std::string row = FormatNumber(fuzz, value, mark);
    double parsed = 0;
    // The value as the text reads, which is what the converter gets.
    std::string plain = row;
    plain.erase(std::remove(plain.begin(), plain.end(), '"'), plain.end());
    for (char& c : plain) {
      if (c == ',') c = '.';
    }
    ScanNumber(plain.c_str(), &parsed);
    for (int f = 1; f < fields; ++f) {
      row += separator;
      if (fuzz.ConsumeBool()) {
        const double pressure = fuzz.ConsumeFloatingPointInRange(0.0, 20000.0);
        std::string text = FormatNumber(fuzz, pressure, mark);
        std::string plainPressure = text;
        plainPressure.erase(std::remove(plainPressure.begin(), plainPressure.end(), '"'),
                            plainPressure.end());
        for (char& c : plainPressure) {
          if (c == ',') c = '.';
        }
        ScanNumber(plainPressure.c_str(), &pressures[f - 1]);
        row += text;
      }
    }
    const char* lineEnd = fuzz.ConsumeBool() ? "\r\n" : "\n";
    input += row + lineEnd;
    expected += row + separator;
    if (r == 0 && request.header == BatchHeader::Yes) {
      expected += std::string("result") + lineEnd;
      continue;
    }
    char text[100];
    if (ConvertReading(request, parsed, pressures[0], pressures[1], text, sizeof text) ==
        kConvertOk) {
      if (mark == ',') {
        for (char* p = text; *p; ++p) {
          if (*p == '.') *p = ',';
        }
      }
      expected += text;
    } else {
      char utf8[200];
      Latin1ToUtf8(text, utf8, sizeof utf8);
      expected += std::string("error: ") + utf8;
    }
    expected += lineEnd;
  }
  ConverterRequest fixed = request;
  fixed.delimiter = separator;
  const std::string output = Run(fixed, input, piece, 0);
  FUZZ_CHECK(output == expected, "rows\n%s\ncame back as\n%s\nexpected\n%s", input.c_str(),
             output.c_str(), expected.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fuzz(data, size);
  ConverterRequest request = DefaultConverterRequest();
  const char delimiters[] = {0, ',', ';', '\t'};
  request.delimiter = delimiters[fuzz.ConsumeIntegralInRange(0, 3)];
  request.header = static_cast<BatchHeader>(fuzz.ConsumeIntegralInRange(0, 2));
  const size_t capacities[] = {0, 16, 64, 4096};
  const size_t capacity = capacities[fuzz.ConsumeIntegralInRange(0, 3)];
  const size_t piece = fuzz.ConsumeIntegralInRange<size_t>(1, 5000);
  request.sourceUnit = fuzz.ConsumeIntegralInRange(0, 10);
  request.targetUnit = fuzz.ConsumeIntegralInRange(0, 10);
  request.sourcePressureUnit = fuzz.ConsumeIntegralInRange(0, 4);
  request.targetPressureUnit = fuzz.ConsumeIntegralInRange(0, 4);
  if (fuzz.ConsumeBool()) {
    request.sourcePressure = fuzz.ConsumeFloatingPointInRange(0.0, 2000.0);
  }
  if (fuzz.ConsumeBool()) {
    CheckArbitraryBytes(request, fuzz.ConsumeRemainingBytesAsString(), piece, capacity);
  } else {
    CheckPlainRows(request, fuzz, piece);
  }
  return 0;
}
