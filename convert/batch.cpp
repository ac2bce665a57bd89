// The converter's batch mode: CSV rows as spreadsheets and loggers write them, read and
// written in large blocks, each row written back with its result appended.
//
// A row ends at a line feed outside quotes; a field that starts (after spaces) with a double
// quote runs to the closing quote, with "" standing for one quote, and may hold separators and
// line ends. Rows are copied to the output byte for byte before their fields are read, so the
// fields are unquoted and terminated in place in the input block.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/number_text.h"
#include "convert/converter.h"

namespace ruruzir {

namespace {

constexpr size_t kDefaultRowCapacity = size_t{1} << 20;
constexpr size_t kOutputSize = size_t{1} << 18;
constexpr int kResultTextSize = 100;
constexpr int kValueFields = 3;  // value, source pressure, target pressure

// The output block: rows go out whole, so a block never ends inside a character.
class Output {
 public:
  explicit Output(const BatchStreams& streams) : streams_(streams), block_(new char[kOutputSize]) {}
  ~Output() { Flush(); }

  void Put(const char* data, size_t size) {
    if (used_ + size > kOutputSize) {
      Flush();
      if (size > kOutputSize) {
        streams_.write(streams_.writeContext, data, size);
        return;
      }
    }
    std::memcpy(block_.get() + used_, data, size);
    used_ += size;
  }
  void Put(char c) {
    if (used_ == kOutputSize) Flush();
    block_[used_++] = c;
  }
  void Flush() {
    if (used_ > 0) streams_.write(streams_.writeContext, block_.get(), used_);
    used_ = 0;
  }

 private:
  const BatchStreams& streams_;
  std::unique_ptr<char[]> block_;
  size_t used_ = 0;
};

// Where the row scanner stands: the quoting state carries over from one block to the next.
enum class ScanState { FieldStart, Unquoted, Quoted, QuoteInQuoted };

// Advances the state over one character that is not a line feed ending the row.
inline ScanState Step(ScanState state, char c, char separator) {
  switch (state) {
    case ScanState::FieldStart:
      if (c == '"') return ScanState::Quoted;
      if (c == separator || c == ' ') return ScanState::FieldStart;
      return ScanState::Unquoted;
    case ScanState::Unquoted:
      return c == separator ? ScanState::FieldStart : ScanState::Unquoted;
    case ScanState::Quoted:
      return c == '"' ? ScanState::QuoteInQuoted : ScanState::Quoted;
    case ScanState::QuoteInQuoted:
      if (c == '"') return ScanState::Quoted;
      return c == separator ? ScanState::FieldStart : ScanState::Unquoted;
  }
  return ScanState::Unquoted;
}

// One field of a row, unquoted in place: [begin, end).
struct Field {
  char* begin;
  char* end;
};

// Unquotes a field that starts (after spaces) with a quote: "" becomes ", the quotes go, and
// whatever follows the closing quote is kept as it is. Returns the new end.
char* Unquote(char* begin, char* end) {
  char* p = begin;
  while (p < end && *p == ' ') ++p;
  if (p == end || *p != '"') return end;
  char* out = begin;
  ++p;
  while (p < end) {
    if (*p == '"') {
      if (p + 1 < end && p[1] == '"') {
        *out++ = '"';
        p += 2;
        continue;
      }
      ++p;  // the closing quote
      while (p < end) *out++ = *p++;
      break;
    }
    *out++ = *p++;
  }
  return out;
}

inline bool IsFieldBlank(char c) {
  return c == ' ' || c == '\t';
}

// Removes the blanks around a field and terminates it in place.
Field Trim(Field field) {
  while (field.begin < field.end && IsFieldBlank(*field.begin)) ++field.begin;
  while (field.end > field.begin && IsFieldBlank(field.end[-1])) --field.end;
  *field.end = '\0';
  return field;
}

// Reads a trimmed field as one number. With a decimal comma allowed, a field holding one comma
// and no point is read with the comma as its decimal point. Sets *mark to the decimal mark the
// field shows (',' or '.'), leaving it when the field shows none. The field's text is left as
// it was.
bool ReadNumber(Field field, bool decimalComma, double* value, char* mark) {
  if (field.begin == field.end) return false;
  char* comma = nullptr;
  bool point = false;
  for (char* p = field.begin; p < field.end; ++p) {
    if (*p == '.') {
      point = true;
    } else if (*p == ',' && decimalComma) {
      if (comma) return false;
      comma = p;
    }
  }
  if (comma && point) return false;
  if (comma) *comma = '.';
  const char* stop = ScanNumber(field.begin, value);
  if (comma) *comma = ',';
  if (stop != field.end) return false;
  if (comma) {
    *mark = ',';
  } else if (point) {
    *mark = '.';
  }
  return true;
}

// The fields of one row: the first three and what the rest hold.
struct RowFields {
  Field fields[kValueFields];
  int count;
  bool moreFields;   // a fourth field that is not blank
  bool moreNumbers;  // ... one of which reads as a number (for the header test)
};

void SplitRow(char* begin, char* end, char separator, bool decimalComma, RowFields* row) {
  row->count = 0;
  row->moreFields = false;
  row->moreNumbers = false;
  ScanState state = ScanState::FieldStart;
  char* fieldStart = begin;
  for (char* p = begin;; ++p) {
    if (p == end || (*p == separator && state != ScanState::Quoted)) {
      const Field field = Trim(Field{fieldStart, Unquote(fieldStart, p)});
      if (row->count < kValueFields) {
        row->fields[row->count++] = field;
      } else {
        double ignored;
        char mark;
        if (field.begin != field.end) row->moreFields = true;
        if (ReadNumber(field, decimalComma, &ignored, &mark)) row->moreNumbers = true;
      }
      if (p == end) return;
      fieldStart = p + 1;
      state = ScanState::FieldStart;
      continue;
    }
    state = Step(state, *p, separator);
  }
}

// A result text that needs quoting in the output: a separator, a quote or a line end.
bool NeedsQuotes(const char* text, size_t length, char separator) {
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c == separator || c == '"' || c == '\n' || c == '\r') return true;
  }
  return false;
}

void PutField(Output& out, const char* text, size_t length, char separator) {
  if (!NeedsQuotes(text, length, separator)) {
    out.Put(text, length);
    return;
  }
  out.Put('"');
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '"') out.Put('"');
    out.Put(text[i]);
  }
  out.Put('"');
}

class BatchConverter {
 public:
  BatchConverter(const ConverterRequest& request, const BatchStreams& streams, size_t capacity)
      : request_(request),
        streams_(streams),
        out_(streams),
        capacity_(capacity),
        block_(new char[capacity + 1]) {}

  int Run(BatchSummary* summary);

 private:
  bool Fill();
  void DetectSeparator();
  void ConvertRow(char* begin, char* end, const char* lineEnd, size_t lineEndLength);
  void Fail(const char* message, ...);

  const ConverterRequest& request_;
  const BatchStreams& streams_;
  Output out_;
  size_t capacity_;
  std::unique_ptr<char[]> block_;
  size_t filled_ = 0;
  bool endOfInput_ = false;
  char separator_ = ',';
  bool decimalComma_ = false;
  char mark_ = '.';  // the decimal mark of the results
  bool firstRow_ = true;
  long long line_ = 1;
  BatchSummary summary_{0, 0, 0};
};

// Reads more input after the bytes held; false when there is no more or no room.
bool BatchConverter::Fill() {
  if (endOfInput_ || filled_ == capacity_) return false;
  const size_t got =
      streams_.read(streams_.readContext, block_.get() + filled_, capacity_ - filled_);
  if (got == 0) {
    endOfInput_ = true;
    return false;
  }
  filled_ += got;
  return true;
}

// The separator of the first line that is not blank: tab, else semicolon, else comma.
void BatchConverter::DetectSeparator() {
  const char* p = block_.get();
  const char* end = p + filled_;
  while (p < end) {
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
    if (!lineEnd) lineEnd = end;
    bool blank = true;
    for (const char* q = p; q < lineEnd; ++q) {
      if (*q == '\t') {
        separator_ = '\t';
        return;
      }
      if (*q == ';') separator_ = ';';
      if (*q != '\r') blank = false;
    }
    if (!blank) return;
    p = lineEnd + 1;
  }
}

int BatchConverter::Run(BatchSummary* summary) {
  // Up to the first line end (or a full block) before choosing the separator.
  while (!std::memchr(block_.get(), '\n', filled_) && Fill()) {
  }
  size_t start = 0;
  if (filled_ >= 3 && std::memcmp(block_.get(), "\xEF\xBB\xBF", 3) == 0) {
    out_.Put(block_.get(), 3);  // the output is the same kind of file
    start = 3;
  }
  if (request_.delimiter) {
    separator_ = request_.delimiter;
  } else {
    DetectSeparator();
  }
  decimalComma_ = separator_ != ',';
  mark_ = separator_ == ';' ? ',' : '.';

  const char* previousLineEnd = "\n";
  size_t previousLineEndLength = 1;
  ScanState state = ScanState::FieldStart;
  size_t scanned = start;  // bytes of the current row already scanned
  long long newlinesInRow = 0;
  bool tooLong = false;  // skipping the rest of a row longer than the block
  for (;;) {
    char* block = block_.get();
    char* p = block + scanned;
    char* end = block + filled_;
    // Find the line feed that ends the row.
    char* rowEnd = nullptr;
    if (state == ScanState::FieldStart || state == ScanState::Unquoted) {
      // No quote so far in this field: a plain row ends at the next line feed unless a
      // quote comes first.
      char* feed = static_cast<char*>(std::memchr(p, '\n', end - p));
      if (feed && !std::memchr(p, '"', feed - p)) rowEnd = feed;
    }
    if (!rowEnd) {
      for (; p < end; ++p) {
        if (*p == '\n' && state != ScanState::Quoted) {
          rowEnd = p;
          break;
        }
        if (*p == '\n') ++newlinesInRow;
        state = Step(state, *p, separator_);
      }
    }
    if (!rowEnd) {
      if (end - (block + start) == static_cast<std::ptrdiff_t>(capacity_) || tooLong) {
        // A row longer than the block: drop what is held and go on looking for its end.
        tooLong = true;
        start = 0;
        scanned = 0;
        filled_ = 0;
        if (Fill()) continue;
      } else {
        // Move the row to the front of the block and read more.
        const size_t held = filled_ - start;
        std::memmove(block, block + start, held);
        filled_ = held;
        scanned = held;
        start = 0;
        if (Fill()) continue;
      }
      if (filled_ == start && !tooLong) break;  // nothing left
      rowEnd = block_.get() + filled_;          // the last row, without a line end
    } else {
      scanned = static_cast<size_t>(rowEnd - block) + 1;
    }

    char* rowBegin = block_.get() + start;
    const char* lineEnd = previousLineEnd;
    size_t lineEndLength = previousLineEndLength;
    const bool hasLineEnd = rowEnd < block_.get() + filled_;
    char* contentEnd = rowEnd;
    if (hasLineEnd) {
      lineEnd = "\n";
      lineEndLength = 1;
      while (contentEnd > rowBegin && contentEnd[-1] == '\r') --contentEnd;
      if (contentEnd != rowEnd) {
        lineEnd = "\r\n";
        lineEndLength = 2;
      }
      previousLineEnd = lineEnd;
      previousLineEndLength = lineEndLength;
    }
    if (tooLong) {
      Fail("error: row too long");
      out_.Put(lineEnd, lineEndLength);
      tooLong = false;
      firstRow_ = false;
    } else if (contentEnd == rowBegin) {
      out_.Put(lineEnd, lineEndLength);  // a blank line
    } else {
      ConvertRow(rowBegin, contentEnd, lineEnd, lineEndLength);
    }
    line_ += 1 + newlinesInRow;
    newlinesInRow = 0;
    state = ScanState::FieldStart;
    if (!hasLineEnd) break;
    start = scanned;
  }
  out_.Flush();
  if (summary) *summary = summary_;
  return summary_.failed > 0 ? kConvertRowsFailed : kConvertOk;
}

void BatchConverter::Fail(const char* message, ...) {
  char text[kResultTextSize + 160];
  va_list arguments;
  va_start(arguments, message);
  std::vsnprintf(text, sizeof text, message, arguments);
  va_end(arguments);
  char utf8[sizeof text * 2];
  PutField(out_, utf8, Latin1ToUtf8(text, utf8, sizeof utf8), separator_);
  ++summary_.failed;
  if (summary_.firstFailedLine == 0) summary_.firstFailedLine = line_;
}

void BatchConverter::ConvertRow(char* begin, char* end, const char* lineEnd, size_t lineEndLength) {
  out_.Put(begin, static_cast<size_t>(end - begin));
  out_.Put(separator_);
  RowFields row;
  SplitRow(begin, end, separator_, decimalComma_, &row);
  double numbers[kValueFields] = {0.0, request_.sourcePressure, request_.targetPressure};
  bool isNumber[kValueFields] = {false, false, false};
  bool blank[kValueFields] = {true, true, true};
  char rowMark = 0;
  for (int i = 0; i < row.count; ++i) {
    isNumber[i] = ReadNumber(row.fields[i], decimalComma_, &numbers[i], &rowMark);
    blank[i] = row.fields[i].begin == row.fields[i].end;
  }
  const bool first = firstRow_;
  firstRow_ = false;
  if (first && (request_.header == BatchHeader::Yes ||
                (request_.header == BatchHeader::Auto && !isNumber[0] && !isNumber[1] &&
                 !isNumber[2] && !row.moreNumbers))) {
    out_.Put("result", 6);
    out_.Put(lineEnd, lineEndLength);
    return;
  }
  if (rowMark) mark_ = rowMark;
  if (!isNumber[0]) {
    Fail("error: not a number: '%s'", row.fields[0].begin);
  } else if (!isNumber[1] && !blank[1]) {
    Fail("error: not a pressure: '%s'", row.fields[1].begin);
  } else if (!isNumber[2] && !blank[2]) {
    Fail("error: not a pressure: '%s'", row.fields[2].begin);
  } else if (row.moreFields) {
    Fail("error: more than three fields");
  } else {
    char text[kResultTextSize];
    const int status =
        ConvertReading(request_, numbers[0], numbers[1], numbers[2], text, sizeof text);
    if (status != kConvertOk) {
      Fail("error: %s", text);
    } else {
      size_t length = std::strlen(text);
      if (mark_ == ',') {
        char* point = static_cast<char*>(std::memchr(text, '.', length));
        if (point) *point = ',';
      }
      PutField(out_, text, length, separator_);
      ++summary_.converted;
    }
  }
  out_.Put(lineEnd, lineEndLength);
}

size_t ReadFile(void* context, char* data, size_t size) {
  return std::fread(data, 1, size, static_cast<FILE*>(context));
}

void WriteFile(void* context, const char* data, size_t size) {
  std::fwrite(data, 1, size, static_cast<FILE*>(context));
}

}  // namespace

int ConvertBatch(const ConverterRequest& request, const BatchStreams& streams,
                 BatchSummary* summary, size_t rowCapacity) {
  BatchConverter converter(request, streams, rowCapacity ? rowCapacity : kDefaultRowCapacity);
  return converter.Run(summary);
}

int ConvertBatch(const ConverterRequest& request, FILE* in, FILE* out, BatchSummary* summary) {
  const BatchStreams streams{ReadFile, WriteFile, in, out};
  return ConvertBatch(request, streams, summary, 0);
}

}  // namespace ruruzir
