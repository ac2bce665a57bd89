// Fuzz target: the converter's batch reader with any bytes, any separator and header option,
// any block size and input handed over in pieces of any size.
//
// Input: option bytes (separator: found or , ; tab; header: found, forced, none; the longest
// row; the size of the pieces read; units; columns chosen by number; --where, --from-column,
// the pressure join and a second reading's column), then either
//  - arbitrary bytes: the rows, read from a heap block of exactly their size (AddressSanitizer
//    reports a read past it). Without quotes in them, every line (ended by LF, CR LF or CR)
//    comes back as one line that begins with the line as it was (in quotes in a one-column
//    file), too long or not, unless the input was refused as a whole;
//  - or plain rows: numbers and separators composed here, with decimal commas after ; and
//    tab, empty pressure fields, text columns around the chosen ones, a per-row ambient
//    temperature, rows of separators only, LF, CR LF or CR. Each must come back as itself, its
//    separator and the text ConvertReading gives for the same numbers (separator-only rows as
//    themselves alone); an empty named field takes the option's value only when the request
//    says so (--missing=fallback), and fails its row otherwise.
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
#include "physics/rounding.h"
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

bool Append(void* context, const char* data, size_t size) {
  static_cast<std::string*>(context)->append(data, size);
  return true;
}

std::string Run(const ConverterRequest& request, const std::string& input, size_t piece,
                size_t capacity, int* statusOut = nullptr) {
  const ExactText block(input.data(), input.size());
  Source source{block.get(), input.size(), piece};
  std::string output;
  const BatchStreams streams{ReadPiece, Append, &source, &output};
  BatchSummary summary;
  const int status = ConvertBatch(request, streams, &summary, capacity);
  FUZZ_CHECK(status == kConvertInputRefused ||
                 status == (summary.failed > 0 ? kConvertRowsFailed : kConvertOk),
             "status %d with %lld failed rows", status, summary.failed);
  if (statusOut) *statusOut = status;
  return output;
}

// Lines ended by LF, CR LF or CR.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

void CheckArbitraryBytes(const ConverterRequest& request, std::string input, size_t piece,
                         size_t capacity) {
  // Quotes first as they came, then as apostrophes so that every line stays a row; without
  // quotes the second run would repeat the first.
  if (input.find('"') != std::string::npos) {
    Run(request, input, piece, capacity);
    std::replace(input.begin(), input.end(), '"', '\'');
  }
  int status;
  const std::string unquotedOutput = Run(request, input, piece, capacity, &status);
  if (status == kConvertInputRefused) return;
  std::string rows = input;
  if (rows.compare(0, 3, "\xEF\xBB\xBF") == 0) rows.erase(0, 3);
  const std::vector<std::string> in = Lines(rows);
  std::string outRows = unquotedOutput;
  if (outRows.compare(0, 3, "\xEF\xBB\xBF") == 0) outRows.erase(0, 3);
  const std::vector<std::string> out = Lines(outRows);
  FUZZ_CHECK(in.size() == out.size(), "%zu rows in, %zu out", in.size(), out.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const std::string& row = in[i];
    const std::string& back = out[i];
    // The field of a one-column file that holds a separator comes back quoted.
    const std::string quoted = "\"" + row + "\"";
    FUZZ_CHECK(back.compare(0, row.size(), row) == 0 || back.compare(0, quoted.size(), quoted) == 0,
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

// A number's text as the converter reads it: quotes gone, a decimal comma as a point.
double ReadBack(const std::string& text) {
  std::string plain = text;
  plain.erase(std::remove(plain.begin(), plain.end(), '"'), plain.end());
  for (char& c : plain) {
    if (c == ',') c = '.';
  }
  double value = 0;
  ScanNumber(plain.c_str(), &value);
  return value;
}

// Where plain rows put their numbers: value[,pressure[,pressure]] by position, or the value,
// source pressure and ambient temperature columns chosen by number among text columns.
struct Layout {
  bool named;
  int columns;
  int value, pressure, ambient;  // 0-based; -1: not chosen
};

Layout ChooseLayout(FuzzedDataProvider& fuzz, ConverterRequest* request) {
  Layout layout{fuzz.ConsumeBool(), 3, 0, 1, -1};
  if (!layout.named) return layout;
  layout.columns = fuzz.ConsumeIntegralInRange(1, 6);
  std::vector<int> order(layout.columns);
  for (int i = 0; i < layout.columns; ++i) order[i] = i;
  for (int i = layout.columns - 1; i > 0; --i) {
    std::swap(order[i], order[fuzz.ConsumeIntegralInRange(0, i)]);
  }
  layout.value = order[0];
  layout.pressure = layout.columns > 1 && fuzz.ConsumeBool() ? order[1] : -1;
  layout.ambient = layout.columns > 2 && fuzz.ConsumeBool() ? order[2] : -1;
  request->namedColumns = true;
  request->columns[static_cast<int>(BatchColumn::Value)].number = layout.value + 1;
  request->columns[static_cast<int>(BatchColumn::SourcePressure)].number = layout.pressure + 1;
  request->columns[static_cast<int>(BatchColumn::Ambient)].number = layout.ambient + 1;
  return layout;
}

void CheckPlainRows(ConverterRequest request, FuzzedDataProvider& fuzz, size_t piece) {
  const char separators[] = {',', ';', '\t'};
  const char separator =
      request.delimiter ? request.delimiter : separators[fuzz.ConsumeIntegralInRange(0, 2)];
  request.delimiter = separator;
  if (request.header == BatchHeader::Yes) request.header = BatchHeader::No;
  request.missingFallback = fuzz.ConsumeBool();
  const char mark = separator != ',' && fuzz.ConsumeBool() ? ',' : '.';
  const Layout layout = ChooseLayout(fuzz, &request);
  // Every number shows the mark, so the results take it too.
  std::string input, expected;
  const int rows = fuzz.ConsumeIntegralInRange(1, 40);
  for (int r = 0; r < rows && fuzz.remaining_bytes() > 0; ++r) {
    const char* lineEnds[] = {"\n", "\r\n", "\r"};
    const char* lineEnd = lineEnds[fuzz.ConsumeIntegralInRange(0, 2)];
    if (fuzz.ConsumeIntegralInRange(0, 7) == 0) {
      // An empty row as spreadsheets write it: kept as it is.
      const std::string row(fuzz.ConsumeIntegralInRange(0, 3), separator);
      input += row + lineEnd;
      expected += row + lineEnd;
      continue;
    }
    ConverterRequest rowRequest = request;
    double pressures[2] = {request.sourcePressure, request.targetPressure};
    const char* gap = nullptr;  // the error of an empty named field
    const double value = fuzz.ConsumeFloatingPointInRange(-200.0, 200000.0);
    std::vector<std::string> fields;
    if (!layout.named) {
      fields.push_back(FormatNumber(fuzz, value, mark));
      const int count = fuzz.ConsumeIntegralInRange(1, 3);
      for (int f = 1; f < count; ++f) {
        fields.emplace_back();
        if (fuzz.ConsumeBool()) {
          fields.back() = FormatNumber(fuzz, fuzz.ConsumeFloatingPointInRange(1.0, 20000.0), mark);
          pressures[f - 1] = ReadBack(fields.back());
        }
      }
    } else {
      for (int f = 0; f < layout.columns; ++f) {
        fields.push_back(fuzz.ConsumeBool() ? "tag" : std::string("\"a") + separator + "b\"");
      }
      fields[layout.value] = FormatNumber(fuzz, value, mark);
      if (layout.pressure >= 0) {
        fields[layout.pressure].clear();
        if (fuzz.ConsumeBool()) {
          fields[layout.pressure] =
              FormatNumber(fuzz, fuzz.ConsumeFloatingPointInRange(1.0, 20000.0), mark);
          pressures[0] = ReadBack(fields[layout.pressure]);
        } else if (!request.missingFallback) {
          gap = "pressure";
        }
      }
      if (layout.ambient >= 0) {
        fields[layout.ambient].clear();
        if (!fuzz.ConsumeBool()) {
          if (!request.missingFallback && !gap) gap = "ambient temperature";
        } else {
          fields[layout.ambient] =
              FormatNumber(fuzz, fuzz.ConsumeFloatingPointInRange(-70.0, 190.0), mark);
          for (SideParameters* side : {&rowRequest.source, &rowRequest.target}) {
            side->ambientTemperatureC = ToSingle(ReadBack(fields[layout.ambient]));
          }
        }
      }
    }
    std::string row;
    for (size_t f = 0; f < fields.size(); ++f)
      row += (f ? std::string(1, separator) : "") + fields[f];
    input += row + lineEnd;
    expected += row + separator;
    char text[100];
    if (gap) {
      // No header: the column is named by its number.
      const int column = 1 + (gap[0] == 'p' ? layout.pressure : layout.ambient);
      expected += "error: no " + std::string(gap) + " in column " + std::to_string(column) +
                  (gap[0] == 'p' ? " (--pressure" : " (--ambient") +
                  " gives one for empty fields)" + lineEnd;
      continue;
    }
    if (ConvertReading(rowRequest, ReadBack(fields[layout.value]), pressures[0], pressures[1], text,
                       sizeof text) == kConvertOk) {
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
  const std::string output = Run(request, input, piece, 0);
  FUZZ_CHECK(output == expected,
             "rows (value, pressure and ambient columns %d %d %d of %d; units %d %d)\n%s\ncame "
             "back as\n%s\nexpected\n%s",
             layout.value, layout.pressure, layout.ambient, layout.columns, request.sourceUnit,
             request.targetUnit, input.c_str(), output.c_str(), expected.c_str());
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
  request.sourcePressureUnit = fuzz.ConsumeIntegralInRange(0, kConversionPressureUnitCount - 1);
  request.targetPressureUnit = fuzz.ConsumeIntegralInRange(0, kConversionPressureUnitCount - 1);
  if (fuzz.ConsumeBool()) {
    request.sourcePressure = fuzz.ConsumeFloatingPointInRange(0.0, 2000.0);
  }
  if (fuzz.ConsumeBool()) {
    // The long export's options by column number: rows still come back in order, each
    // beginning with itself.
    const int flags = fuzz.ConsumeIntegral<uint8_t>();
    auto column = [&]() { return ColumnChoice{"", fuzz.ConsumeIntegralInRange(1, 4)}; };
    if (flags & 1) request.where.push_back(RowFilter{column(), fuzz.ConsumeBool() ? "a" : "1"});
    if (flags & 2) request.fromColumn = column();
    if (flags & 4) {
      request.pressureWhere = RowFilter{column(), "p"};
      request.key = column();
    }
    if (flags & 8) request.moreValues.push_back(column());
    request.namedColumns = (flags & 15) != 0;
    request.missingFallback = (flags & 16) != 0;
    CheckArbitraryBytes(request, fuzz.ConsumeRemainingBytesAsString(), piece, capacity);
  } else {
    CheckPlainRows(request, fuzz, piece);
  }
  return 0;
}
