// The converter's batch mode: CSV rows as spreadsheets, loggers and historians write them, read
// and written in large blocks, each row written back with its result appended.
//
// A row ends at a line feed, a carriage return or both outside quotes; a field that starts
// (after spaces) with a double quote runs to the closing quote, with "" standing for one quote,
// and may hold separators and line ends. Rows are copied to the output byte for byte before
// their fields are read, so the fields are unquoted and terminated in place in the input block.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "convert/converter.h"
#include "convert/csv_fields.h"
#include "core/conversion_request.h"
#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/temperature_entry.h"
#include "core/vocabulary.h"
#include "physics/rounding.h"

namespace ruruzir {

namespace {

using namespace csv;

constexpr size_t kOutputSize = size_t{1} << 18;  // the most the output block grows to
constexpr size_t kFirstOutputSize = size_t{1} << 12;
constexpr size_t kFirstBlockSize = size_t{1} << 12;  // the row block's first size
constexpr int kResultTextSize = 100;
constexpr size_t kMessageSize = sizeof(BatchSummary::refusal);
constexpr size_t kQuotedTextLimit = 120;  // bytes of the user's text quoted in a message
constexpr size_t kFirstBytes = 4096;      // where a NUL byte means a binary file
// The separator of a file of one column: a line feed never separates fields inside a row.
constexpr char kOneColumn = '\n';

// The output block: rows go out whole, so a block never ends inside a character. While held,
// output is kept back (the separator of a one-column file waits for its first number).
class Output {
 public:
  // The block starts small, so that a short input costs little, and grows to kOutputSize.
  explicit Output(const BatchStreams& streams)
      : streams_(streams), block_(new char[kFirstOutputSize]), size_(kFirstOutputSize) {}

  void Put(const char* data, size_t size) {
    if (holding_) {
      held_.append(data, size);
      return;
    }
    while (used_ + size > size_ && size_ < kOutputSize) Grow();
    if (used_ + size > size_) {
      Flush();
      if (size > size_) {
        Write(data, size);
        return;
      }
    }
    std::memcpy(block_.get() + used_, data, size);
    used_ += size;
  }
  void Put(char c) {
    if (used_ == size_ || holding_) return Put(&c, 1);
    block_[used_++] = c;
  }
  void Flush() {
    if (used_ > 0) Write(block_.get(), used_);
    used_ = 0;
  }
  void Hold() { holding_ = true; }
  // A byte to be replaced by the separator given to Release.
  void PutPlaceholder() {
    placeholder_ = held_.size();
    held_ += ',';
  }
  void Release(char separator) {
    if (!holding_) return;
    holding_ = false;
    if (placeholder_ < held_.size()) held_[placeholder_] = separator;
    Put(held_.data(), held_.size());
    held_.clear();
  }
  bool Failed() const { return failed_; }

 private:
  void Write(const char* data, size_t size) {
    if (!failed_ && !streams_.write(streams_.writeContext, data, size)) failed_ = true;
  }
  void Grow() {
    const size_t size = size_ * 2 < kOutputSize ? size_ * 2 : kOutputSize;
    std::unique_ptr<char[]> block(new char[size]);
    std::memcpy(block.get(), block_.get(), used_);
    block_.swap(block);
    size_ = size;
  }

  const BatchStreams& streams_;
  std::unique_ptr<char[]> block_;
  size_t size_;
  size_t used_ = 0;
  bool failed_ = false;
  bool holding_ = false;
  std::string held_;
  size_t placeholder_ = std::string::npos;
};

// A text that needs quoting in the output: a separator, a quote or a line end.
bool NeedsQuotes(const char* text, size_t length, char separator) {
  for (const char c : {separator, '"', '\n', '\r'}) {
    if (std::memchr(text, c, length)) return true;
  }
  return false;
}

// The text in quotes, each quote in it doubled.
void PutQuoted(Output& out, const char* text, size_t length) {
  out.Put('"');
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '"') out.Put('"');
    out.Put(text[i]);
  }
  out.Put('"');
}

void PutField(Output& out, const char* text, size_t length, char separator) {
  if (NeedsQuotes(text, length, separator)) return PutQuoted(out, text, length);
  out.Put(text, length);
}

// A message for the output or the summary: the program's own words (Windows-1252) in the
// file's encoding, the user's bytes as they were.
class Message {
 public:
  explicit Message(bool utf8) : utf8_(utf8) { text_[0] = '\0'; }
  Message& Ours(const char* format, ...) {
    char latin1[kMessageSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(latin1, sizeof latin1, format, arguments);
    va_end(arguments);
    if (utf8_) {
      length_ += Latin1ToUtf8(latin1, text_ + length_, kMessageSize - length_);
    } else {
      Append(latin1, std::strlen(latin1));
    }
    return *this;
  }
  // The user's text, cut (at a whole UTF-8 character) after kQuotedTextLimit bytes.
  Message& Theirs(const char* text, size_t length) {
    if (length > kQuotedTextLimit) {
      length = kQuotedTextLimit;
      while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
      Append(text, length);
      return Ours("...");
    }
    Append(text, length);
    return *this;
  }
  Message& Theirs(Field field) { return Theirs(field.begin, field.end - field.begin); }
  const char* text() const { return text_; }
  size_t length() const { return length_; }

 private:
  void Append(const char* text, size_t length) {
    if (length > kMessageSize - 1 - length_) length = kMessageSize - 1 - length_;
    std::memcpy(text_ + length_, text, length);
    length_ += length;
    text_[length_] = '\0';
  }

  bool utf8_;
  char text_[kMessageSize];
  size_t length_ = 0;
};

// The options that name a column, for messages, in the order of BatchColumn.
constexpr const char* kColumnOptionNames[kBatchColumnCount] = {
    "--column",         "--pressure-column",   "--target-pressure-column",
    "--ambient-column", "--prevailing-column", "--molecular-weight-column",
    "--henry-column"};

// One row as found in the block: [begin, end) and its line end.
struct Row {
  char* begin;
  char* end;
  const char* lineEnd;
  size_t lineEndLength;
  bool tooLong;
  long long newlines;  // line feeds inside its quoted fields
};

class BatchConverter {
 public:
  BatchConverter(const ConverterRequest& request, const BatchStreams& streams, size_t capacity)
      : request_(request),
        streams_(streams),
        out_(streams),
        capacity_(capacity),
        // Room, once grown, for the longest row, its CR LF and the terminator of a last field.
        allocated_(capacity + 3 < kFirstBlockSize ? capacity + 3 : kFirstBlockSize),
        block_(new char[allocated_]) {}

  int Run(BatchSummary* summary);

 private:
  bool Fill();
  void GrowBlock();
  void StartLongRow();
  void FailGap(int role);
  int CheckInputKind();
  void ChooseSeparator();
  bool NextRow(Row* row);
  bool FindLineEnd(size_t* scanned, ScanState* state, long long* newlines, size_t* lineEnd);
  void Refill(size_t* scanned, bool* tooLong);
  void HandleRow(const Row& row);
  void HandleFirstRow(const Row& row);
  bool ResolveColumns(const std::vector<Field>& header, bool isHeader);
  void RefuseMissingColumn(const char* option, const std::string& wanted,
                           const std::vector<Field>& header, bool isHeader);
  bool FindColumn(const ColumnChoice& choice, const char* option, const std::vector<Field>& header,
                  bool isHeader, int* found);
  void PutHeader(const char* rowText, size_t rowLength, const std::vector<Field>& header,
                 const Row& row);
  void ConvertRow(const Row& row);
  void PutRowText(const char* text, size_t length);
  void PutResult(const Row& row);
  bool ReadRowNumbers(const Field* fields, double* numbers);
  bool ReadSideValues(const Field* fields, SideParameters* source, SideParameters* target);
  void PutSeparator() { out_.Put(outSeparator_); }
  void FailRow(const Message& message);
  void Refuse(const Message& message);
  bool IsBlankRow(const Row& row) const;
  bool RowMatches(const Row& row);
  void DataRow(const Row& row);
  void HoldRow(const Row& row);
  void FlushGroup();
  bool ReadRowUnit(Field field);
  void ConvertFields(Field* fields, Field unitField, bool moreFields);
  bool IsAmbiguousRow(const Row& row) const;

  const ConverterRequest& request_;
  const BatchStreams& streams_;
  Output out_;
  size_t capacity_;
  size_t allocated_;  // the block's size: grows up to capacity_ + 3
  std::unique_ptr<char[]> block_;
  size_t filled_ = 0;
  size_t start_ = 0;  // where the next row begins in the block
  bool endOfInput_ = false;
  char separator_ = ',';     // kOneColumn for a file of one column
  char outSeparator_ = ',';  // what the result column is appended with
  bool decimalComma_ = false;
  bool commaUncertain_ = false;  // a first data row without separators
  char mark_ = '.';              // the decimal mark of the results
  bool utf8_ = true;             // the encoding of the program's texts in the output
  bool firstRow_ = true;         // no row but blank ones so far
  const char* previousLineEnd_ = "\n";
  size_t previousLineEndLength_ = 1;
  // The column of each role (0-based, -1: none), and the role of each column up to the last.
  int columnOf_[kBatchColumnCount];
  std::vector<signed char> roleOf_;
  std::string columnName_[kBatchColumnCount];         // the header's name of each role's column
  std::vector<std::pair<int, std::string>> filters_;  // --where: column and text
  int lastFilterColumn_ = -1;
  std::string scratch_;  // a row's copy, split to match it
  std::vector<Field> scratchFields_;
  int fromColumn_ = -1;                // --from-column
  std::vector<int> moreValueColumns_;  // further --column's, each with a result of its own
  std::vector<Field> moreValueFields_;
  int valueColumn_ = 0;  // the column of the reading being converted
  std::string fromColumnName_;
  std::unique_ptr<ConverterRequest> unitRequest_;  // the request with the row's unit
  static constexpr int kNoUnit = -2;
  std::pair<std::string, int> unitCache_[8] = {{"", kNoUnit}, {"", kNoUnit}, {"", kNoUnit},
                                               {"", kNoUnit}, {"", kNoUnit}, {"", kNoUnit},
                                               {"", kNoUnit}, {"", kNoUnit}};
  size_t nextUnitCache_ = 0;
  // The join of a pressure on rows of its own: the rows of one key, held until the key changes.
  struct HeldRow {
    size_t offset, length;
    const char* lineEnd;
    size_t lineEndLength;
    long long newlines, line;
    bool pressureRow;
  };
  bool joining_ = false;
  int keyColumn_ = -1, pressureWhereColumn_ = -1;
  std::string groupKey_, heldText_;
  std::vector<HeldRow> heldRows_;
  enum class GroupPressure { None, Read, Bad, Disagree } groupPressure_ = GroupPressure::None;
  double groupReading_ = NAN;
  int headerFields_ = 0;         // the header's fields (0: no header): short rows are padded
  long long quoteNewlines_ = 0;  // line feeds in the row before its last opening quote
  bool sawLineEnd_ = false;
  bool positional_ = true;  // value, source pressure, target pressure; no more fields
  bool sideColumns_ = false;
  bool separatorPending_ = false;  // a one-column file whose output separator is not chosen
  // The options' pressures, for rows that leave theirs empty, are ones a gas can have (the
  // command line makes sure; otherwise each row that takes one fails).
  const bool possibleDefaults_ =
      IsPossiblePressureReading(request_.sourcePressureUnit, request_.sourcePressure) &&
      IsPossiblePressureReading(request_.targetPressureUnit, request_.targetPressure);
  long long line_ = 1;
  BatchSummary summary_{0, 0, 0, 0, ""};
  bool refused_ = false;
  long long matched_ = 0;  // rows that matched --where
};

// Reads more input after the bytes held; false when there is no more.
bool BatchConverter::Fill() {
  if (endOfInput_) return false;
  if (filled_ + 1 == allocated_ && allocated_ < capacity_ + 3) GrowBlock();
  const size_t room = allocated_ - 1 - filled_;
  if (room == 0) return false;
  const size_t got = streams_.read(streams_.readContext, block_.get() + filled_, room);
  if (got == 0) {
    endOfInput_ = true;
    return false;
  }
  filled_ += got;
  return true;
}

// Doubles the row block, up to its capacity.
void BatchConverter::GrowBlock() {
  const size_t size = allocated_ * 2 < capacity_ + 3 ? allocated_ * 2 : capacity_ + 3;
  std::unique_ptr<char[]> block(new char[size]);
  std::memcpy(block.get(), block_.get(), filled_);
  block_.swap(block);
  allocated_ = size;
}

// Refuses what is no CSV text: nothing at all, UTF-16 (its byte-order mark), or binary data
// (a NUL byte in the first bytes, however the input is handed over).
int BatchConverter::CheckInputKind() {
  const size_t first = capacity_ + 2 < kFirstBytes ? capacity_ + 2 : kFirstBytes;
  while (filled_ < first && Fill()) {
  }
  const char* block = block_.get();
  Message message(true);
  if (filled_ == 0) {
    Refuse(message.Ours("the input is empty"));
  } else if (filled_ >= 2 &&
             (std::memcmp(block, "\xFF\xFE", 2) == 0 || std::memcmp(block, "\xFE\xFF", 2) == 0)) {
    Refuse(message.Ours("the input is UTF-16 text: save it as UTF-8 or ANSI"));
  } else if (const char* nul = static_cast<const char*>(
                 std::memchr(block, '\0', filled_ < first ? filled_ : first))) {
    Refuse(message.Ours("the input is no text: a NUL byte at offset %zu", nul - block));
  }
  if (refused_) return kConvertInputRefused;
  if (filled_ >= 3 && std::memcmp(block, "\xEF\xBB\xBF", 3) == 0) {
    out_.Put(block, 3);  // the output is the same kind of file
    start_ = 3;
  }
  return kConvertOk;
}

// The separator is the one the first row that is not blank shows outside quotes: tab, else
// semicolon, else comma, else none (one column). The whole row is read first, whatever the
// pieces the input comes in.
void BatchConverter::ChooseSeparator() {
  int tabs = 0, semicolons = 0, commas = 0;
  bool rowHasText = false;
  ScanState state = ScanState::FieldStart;
  for (size_t i = start_;; ++i) {
    if (i == filled_ && !Fill()) break;
    const char c = block_[i];
    if ((c == '\n' || c == '\r') && state != ScanState::Quoted) {
      if (rowHasText) break;
      tabs = semicolons = commas = 0;  // a blank row, or separators only
      state = ScanState::FieldStart;
      continue;
    }
    if (state != ScanState::Quoted) {
      tabs += c == '\t';
      semicolons += c == ';';
      commas += c == ',';
    }
    if (!IsCandidateSeparator(c) && c != ' ') rowHasText = true;
    state = Step(state, c, 0);
  }
  if (request_.delimiter) {
    separator_ = request_.delimiter;
  } else if (tabs > 0) {
    separator_ = '\t';
  } else if (semicolons > 0) {
    separator_ = ';';
  } else if (commas > 0 && request_.decimal != DecimalMark::Comma) {
    separator_ = ',';
  } else {
    separator_ = kOneColumn;
  }
  decimalComma_ = separator_ != ',' && request_.decimal != DecimalMark::Point;
  mark_ = separator_ == ';' || request_.decimal == DecimalMark::Comma ? ',' : '.';
  outSeparator_ = separator_ == kOneColumn ? (mark_ == ',' ? ';' : ',') : separator_;
  separatorPending_ = separator_ == kOneColumn && request_.decimal == DecimalMark::Auto;
  if (separatorPending_) out_.Hold();
}

// Looks for the line end of the row from *scanned: a line feed or carriage return outside
// quotes. Plain rows are found with memchr; quotes and lone carriage returns byte by byte.
bool BatchConverter::FindLineEnd(size_t* scanned, ScanState* state, long long* newlines,
                                 size_t* lineEnd) {
  char* block = block_.get();
  char* p = block + *scanned;
  char* end = block + filled_;
  if (*state == ScanState::FieldStart || *state == ScanState::Unquoted) {
    char* feed = static_cast<char*>(std::memchr(p, '\n', end - p));
    if (feed && !std::memchr(p, '"', feed - p)) {
      char* ret = static_cast<char*>(std::memchr(p, '\r', feed - p));
      *lineEnd = static_cast<size_t>((ret ? ret : feed) - block);
      return true;
    }
  }
  for (; p < end; ++p) {
    const char c = *p;
    if ((c == '\n' || c == '\r') && *state != ScanState::Quoted) {
      *lineEnd = static_cast<size_t>(p - block);
      return true;
    }
    if (c == '\n') ++*newlines;
    const ScanState before = *state;
    *state = Step(*state, c, separator_);
    if (*state == ScanState::Quoted && before != ScanState::QuoteInQuoted &&
        before != ScanState::Quoted) {
      quoteNewlines_ = *newlines;
    }
  }
  *scanned = filled_;
  return false;
}

// Makes room and reads more. The row in hand moves to the front of the block, which grows
// while it is smaller than its capacity; a row longer than the capacity goes out as it comes
// (but for a carriage return that may be its line end) and its end is looked for further.
void BatchConverter::Refill(size_t* scanned, bool* tooLong) {
  char* block = block_.get();
  size_t keep = start_;
  if (*tooLong || *scanned - start_ > capacity_) {
    if (!*tooLong) StartLongRow();
    *tooLong = true;
    keep = *scanned;
    out_.Put(block + start_, keep - start_);
  }
  std::memmove(block, block + keep, filled_ - keep);
  filled_ -= keep;
  *scanned -= keep;
  start_ -= start_ < keep ? start_ : keep;
  if (allocated_ < capacity_ + 3) GrowBlock();
  Fill();
}

// A row too long to be read: it goes out as it was, with an error in its result column.
void BatchConverter::StartLongRow() {
  FlushGroup();
  if (firstRow_) {
    firstRow_ = false;
    ResolveColumns(std::vector<Field>(), false);
  }
  separatorPending_ = false;
  out_.Release(outSeparator_);
}

// The next row; false when the input has ended.
bool BatchConverter::NextRow(Row* row) {
  ScanState state = ScanState::FieldStart;
  size_t scanned = start_;
  long long newlines = 0;
  bool tooLong = false;
  for (;;) {
    size_t at;
    if (FindLineEnd(&scanned, &state, &newlines, &at)) {
      char* block = block_.get();
      if (block[at] == '\r' && at + 1 == filled_ && !endOfInput_) {
        scanned = at;  // a line feed may follow in the next piece
      } else {
        const bool crlf = block[at] == '\r' && at + 1 < filled_ && block[at + 1] == '\n';
        row->lineEnd = crlf ? "\r\n" : block[at] == '\r' ? "\r" : "\n";
        row->lineEndLength = crlf ? 2 : 1;
        previousLineEnd_ = row->lineEnd;
        previousLineEndLength_ = row->lineEndLength;
        row->begin = block + start_;
        row->end = block + at;
        row->tooLong = tooLong || at - start_ > capacity_;
        start_ = at + row->lineEndLength;
        row->newlines = newlines;
        sawLineEnd_ = true;
        return true;
      }
    } else if (endOfInput_) {
      if (filled_ == start_ && !tooLong) return false;
      if (state == ScanState::Quoted) {
        Refuse(Message(true).Ours(
            "the input ends inside quotes: the quote opened on line %lld is never closed",
            line_ + quoteNewlines_));
        return false;
      }
      if (sawLineEnd_) summary_.cutLine = line_;
      // The last row, without a line end: it gets the one before it.
      row->begin = block_.get() + start_;
      row->end = block_.get() + filled_;
      row->lineEnd = previousLineEnd_;
      row->lineEndLength = previousLineEndLength_;
      row->tooLong = tooLong;
      start_ = filled_;
      row->newlines = newlines;
      return true;
    }
    Refill(&scanned, &tooLong);
  }
}

// A row of blanks and separators only (any of them), as spreadsheets write empty rows.
bool BatchConverter::IsBlankRow(const Row& row) const {
  for (const char* p = row.begin; p < row.end; ++p) {
    if (!IsCandidateSeparator(*p) && *p != ' ') return false;
  }
  return true;
}

int BatchConverter::Run(BatchSummary* summary) {
  if (CheckInputKind() == kConvertOk) {
    ChooseSeparator();
    Row row;
    while (!refused_ && !out_.Failed() && NextRow(&row)) {
      HandleRow(row);
      line_ += 1 + row.newlines;
    }
    if (!refused_) FlushGroup();
    if (!refused_ && firstRow_) {
      Refuse(Message(true).Ours("the input holds no rows"));
    } else if (!refused_ && !filters_.empty() && matched_ == 0) {
      Refuse(Message(true).Ours("no row matches --where: check the column and the text"));
    } else if (!refused_ && summary_.converted + summary_.failed == 0) {
      Refuse(Message(true).Ours("the input holds no data rows, only a header"));
    }
  }
  out_.Release(outSeparator_);
  out_.Flush();
  if (summary) *summary = summary_;
  if (out_.Failed()) return kConvertWriteFailed;
  if (refused_) return kConvertInputRefused;
  return summary_.failed > 0 ? kConvertRowsFailed : kConvertOk;
}

void BatchConverter::HandleRow(const Row& row) {
  if (row.tooLong) {
    StartLongRow();  // (the rows held before it go first)
    if (refused_) return;
    out_.Put(row.begin, static_cast<size_t>(row.end - row.begin));
    PutSeparator();
    FailRow(Message(utf8_).Ours("error: row too long"));
    out_.Put(row.lineEnd, row.lineEndLength);
  } else if (IsBlankRow(row) && !(joining_ && !firstRow_)) {
    out_.Put(row.begin, static_cast<size_t>(row.end - row.begin));
    out_.Put(row.lineEnd, row.lineEndLength);
  } else if (firstRow_) {
    HandleFirstRow(row);
  } else {
    DataRow(row);
  }
}

// One comma between digits in a comma file whose separator no option chose: two fields, or one
// number with a decimal comma?
bool BatchConverter::IsAmbiguousRow(const Row& row) const {
  if (request_.delimiter || request_.decimal != DecimalMark::Auto || separator_ != ',' ||
      row.end - row.begin > 60) {
    return false;
  }
  char text[64];
  const size_t length = static_cast<size_t>(row.end - row.begin);
  std::memcpy(text, row.begin, length);
  text[length] = '\0';
  char* comma = std::strchr(text, ',');
  if (!comma || std::strchr(comma + 1, ',') || std::strchr(text, '"') || comma[1] < '0' ||
      comma[1] > '9') {
    return false;
  }
  *comma = '.';
  double ignored;
  const char* end = ScanNumber(text, &ignored);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  return end && *end == '\0' && !std::strchr(comma + 1, '.');
}

// The first row that is not blank: a header (its names choose the columns) or data.
void BatchConverter::HandleFirstRow(const Row& row) {
  firstRow_ = false;
  if (request_.header != BatchHeader::Yes && IsAmbiguousRow(row)) {
    return Refuse(Message(true)
                      .Ours("the first row '")
                      .Theirs(row.begin, row.end - row.begin)
                      .Ours("' reads as two fields or as one number with a decimal comma: "
                            "set --delimiter , (or --decimal-point) for two fields, "
                            "--decimal-comma for one number"));
  }
  utf8_ = IsUtf8(row.begin, static_cast<size_t>(row.end - row.begin));
  const std::string raw(row.begin, row.end);
  std::vector<Field> fields;
  bool anyNumber = false;
  SplitRow(row.begin, row.end, separator_, 1 << 30, [&](int, Field field) {
    double ignored;
    char mark;
    fields.push_back(field);
    if (ReadNumber(field, decimalComma_, &ignored, &mark)) anyNumber = true;
  });
  bool namesGiven = false;
  for (const ColumnChoice& column : request_.columns) namesGiven |= !column.name.empty();
  const bool isHeader = request_.header == BatchHeader::Yes ||
                        (request_.header == BatchHeader::Auto && (namesGiven || !anyNumber));
  if (separator_ == kOneColumn && !isHeader && request_.decimal == DecimalMark::Auto) {
    // Data without a separator: commas on later rows separate fields as in any CSV file, but
    // a row that also reads as one number with a decimal comma is refused.
    separator_ = outSeparator_ = ',';
    decimalComma_ = false;
    mark_ = '.';
    commaUncertain_ = true;
    separatorPending_ = false;
    out_.Release(outSeparator_);
  }
  if (!ResolveColumns(fields, isHeader)) return;
  if (isHeader && separator_ != kOneColumn) headerFields_ = static_cast<int>(fields.size());
  if (isHeader) return PutHeader(raw.data(), raw.size(), fields, row);
  std::memcpy(row.begin, raw.data(), raw.size());  // the fields were unquoted in place
  DataRow(row);
}

void BatchConverter::DataRow(const Row& row) {
  if (joining_) return HoldRow(row);
  ConvertRow(row);
}

// Holds a row with the others of its key; a new key converts the rows of the last one with the
// pressure of its pressure row. Only one key's rows are held.
void BatchConverter::HoldRow(const Row& row) {
  bool pressureRow = false;
  if (!IsBlankRow(row)) {
    const int valueColumn = columnOf_[static_cast<int>(BatchColumn::Value)];
    const int last = std::max({keyColumn_, pressureWhereColumn_, valueColumn});
    scratch_.assign(row.begin, row.end);
    scratchFields_.assign(static_cast<size_t>(last) + 1, Field{nullptr, nullptr});
    SplitRow(&scratch_[0], &scratch_[0] + scratch_.size(), separator_, last,
             [&](int index, Field field) { scratchFields_[index] = field; });
    const Field key = scratchFields_[keyColumn_];
    const Field where = scratchFields_[pressureWhereColumn_];
    pressureRow = where.begin && SameLetters(std::string_view(where.begin, where.end - where.begin),
                                             request_.pressureWhere.value);
    double reading = NAN;
    if (pressureRow) {
      char mark;
      const Field value = scratchFields_[valueColumn];
      if (!value.begin || !ReadNumber(value, decimalComma_, &reading, &mark) ||
          !IsPossiblePressureReading(request_.sourcePressureUnit, reading)) {
        reading = NAN;
      }
    }
    const std::string keyText = key.begin ? std::string(key.begin, key.end) : std::string();
    if (heldRows_.empty() || keyText != groupKey_) {
      FlushGroup();  // the rows of the last key (which reuses the scratch row)
      groupKey_ = keyText;
    }
    if (!pressureRow) {
    } else if (std::isnan(reading)) {
      groupPressure_ = GroupPressure::Bad;
    } else if (groupPressure_ == GroupPressure::None) {
      groupPressure_ = GroupPressure::Read;
      groupReading_ = reading;
    } else if (groupPressure_ == GroupPressure::Read && reading != groupReading_) {
      groupPressure_ = GroupPressure::Disagree;
    }
  }
  const size_t length = static_cast<size_t>(row.end - row.begin);
  heldRows_.push_back(HeldRow{heldText_.size(), length, row.lineEnd, row.lineEndLength,
                              row.newlines, line_, pressureRow});
  heldText_.append(row.begin, length);
  heldText_ += '\n';  // where a row's last field is terminated in place
}

// Writes the rows held: pressure rows and blank ones as they came, the others converted.
void BatchConverter::FlushGroup() {
  const long long line = line_;
  for (const HeldRow& held : heldRows_) {
    char* begin = &heldText_[held.offset];
    const Row row{begin, begin + held.length, held.lineEnd, held.lineEndLength,
                  false, held.newlines};
    line_ = held.line;
    if (IsBlankRow(row) || held.pressureRow) {
      if (held.pressureRow && request_.onlyMatching) continue;
      PutRowText(row.begin, held.length);
      out_.Put(row.lineEnd, row.lineEndLength);
    } else {
      ConvertRow(row);
    }
  }
  line_ = line;
  heldRows_.clear();
  heldText_.clear();
  groupPressure_ = GroupPressure::None;
}

// Chooses the column of each role: by name in the header (exactly, then in any case), by
// number, or by position when no column is named.
bool BatchConverter::ResolveColumns(const std::vector<Field>& header, bool isHeader) {
  positional_ = !request_.namedColumns;
  int last = -1;
  for (int role = 0; role < kBatchColumnCount; ++role) {
    const ColumnChoice& choice = request_.columns[role];
    int column = -1;
    if (positional_) {
      column = role <= static_cast<int>(BatchColumn::TargetPressure) ? role : -1;
    } else if (choice.number > 0) {
      column = choice.number - 1;
    } else if (!choice.name.empty()) {
      if (!FindColumn(choice, kColumnOptionNames[role], header, isHeader, &column)) return false;
    } else if (role == static_cast<int>(BatchColumn::Value)) {
      column = 0;  // the reading's column, unless named, is the first
    }
    for (int other = 0; other < role && column >= 0; ++other) {
      if (columnOf_[other] == column) {
        Refuse(Message(true).Ours("%s and %s both choose column %d", kColumnOptionNames[other],
                                  kColumnOptionNames[role], column + 1));
        return false;
      }
    }
    columnOf_[role] = column;
    if (isHeader && column >= 0 && column < static_cast<int>(header.size())) {
      columnName_[role].assign(header[column].begin, header[column].end);
    }
    if (column > last) last = column;
    if (role > static_cast<int>(BatchColumn::TargetPressure) && column >= 0) sideColumns_ = true;
  }
  for (const RowFilter& filter : request_.where) {
    int column;
    if (!FindColumn(filter.column, "--where", header, isHeader, &column)) return false;
    filters_.emplace_back(column, filter.value);
    lastFilterColumn_ = std::max(lastFilterColumn_, column);
  }
  for (const ColumnChoice& choice : request_.moreValues) {
    int column;
    if (!FindColumn(choice, "--column", header, isHeader, &column)) return false;
    for (int other = -1; other < static_cast<int>(moreValueColumns_.size()); ++other) {
      const int taken =
          other < 0 ? columnOf_[static_cast<int>(BatchColumn::Value)] : moreValueColumns_[other];
      for (int role = 1; role < kBatchColumnCount && other < 0; ++role) {
        if (columnOf_[role] == column) {
          Refuse(Message(true).Ours("--column and %s both choose column %d",
                                    kColumnOptionNames[role], column + 1));
          return false;
        }
      }
      if (taken == column) {
        Refuse(Message(true).Ours("--column chooses column %d twice", column + 1));
        return false;
      }
    }
    moreValueColumns_.push_back(column);
    last = std::max(last, column);
  }
  moreValueFields_.resize(moreValueColumns_.size());
  valueColumn_ = columnOf_[static_cast<int>(BatchColumn::Value)];
  const ColumnChoice& from = request_.fromColumn;
  if (!from.name.empty() || from.number > 0) {
    if (!FindColumn(from, "--from-column", header, isHeader, &fromColumn_)) return false;
    if (isHeader && fromColumn_ < static_cast<int>(header.size())) {
      fromColumnName_.assign(header[fromColumn_].begin, header[fromColumn_].end);
    }
    unitRequest_.reset(new ConverterRequest(request_));
    last = std::max(last, fromColumn_);
  }
  if (!request_.pressureWhere.value.empty() || !request_.key.name.empty() ||
      request_.key.number > 0) {
    if (!FindColumn(request_.pressureWhere.column, "--pressure-where", header, isHeader,
                    &pressureWhereColumn_) ||
        !FindColumn(request_.key, "--key", header, isHeader, &keyColumn_)) {
      return false;
    }
    joining_ = true;
  }
  roleOf_.assign(static_cast<size_t>(last) + 1, -1);
  for (int role = 0; role < kBatchColumnCount; ++role) {
    if (columnOf_[role] >= 0) roleOf_[columnOf_[role]] = static_cast<signed char>(role);
  }
  return true;
}

// The column a choice names: by number, or by its header name, exactly or else in any case;
// false after refusing a name the header lacks or has twice.
bool BatchConverter::FindColumn(const ColumnChoice& choice, const char* option,
                                const std::vector<Field>& header, bool isHeader, int* found) {
  if (choice.number > 0) {
    *found = choice.number - 1;
    return true;
  }
  int column = -1, second = -1;
  for (int pass = 0; pass < 2 && column < 0; ++pass) {
    for (size_t i = 0; i < header.size(); ++i) {
      const std::string name(header[i].begin, header[i].end);
      if (pass == 0 ? name == choice.name : SameLetters(name, choice.name)) {
        (column < 0 ? column : second) = static_cast<int>(i);
        if (second >= 0) break;
      }
    }
  }
  if (column < 0 || !isHeader) {
    RefuseMissingColumn(option, choice.name, header, isHeader);
    return false;
  }
  if (second >= 0) {
    Refuse(Message(true)
               .Ours("%s: '", option)
               .Theirs(choice.name.data(), choice.name.size())
               .Ours("' matches column %d '", column + 1)
               .Theirs(header[column])
               .Ours("' and column %d '", second + 1)
               .Theirs(header[second])
               .Ours("': choose one by its number (%s %d)", option, column + 1));
    return false;
  }
  *found = column;
  return true;
}

// The distance between two names, in letters added, removed or changed (any case).
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      const bool same = SameLetters(a.substr(i - 1, 1), b.substr(j - 1, 1));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// A named column the header does not have: the header's names and the closest of them.
void BatchConverter::RefuseMissingColumn(const char* option, const std::string& wanted,
                                         const std::vector<Field>& header, bool isHeader) {
  Message message(true);
  message.Ours("%s: no column named '", option)
      .Theirs(wanted.data(), wanted.size())
      .Ours("' in the header");
  if (!isHeader || header.empty()) return Refuse(message);
  size_t closest = 0, best = SIZE_MAX;
  for (size_t i = 0; i < header.size(); ++i) {
    const size_t distance = EditDistance(std::string(header[i].begin, header[i].end), wanted);
    if (distance < best) {
      best = distance;
      closest = i;
    }
  }
  message.Ours("; the closest is '")
      .Theirs(header[closest])
      .Ours("' (column %zu); the header has", closest + 1);
  for (size_t i = 0; i < header.size(); ++i) {
    message.Ours(i == 0 ? " '" : ", '").Theirs(header[i]).Ours("'");
  }
  Refuse(message);
}

// The header row with the result column's name: --result-name, or what the column holds.
void BatchConverter::PutHeader(const char* rowText, size_t rowLength,
                               const std::vector<Field>& header, const Row& row) {
  // What the results hold, where no --result-name says it.
  Message holds(utf8_);
  holds.Ours("%s at ", LabelOf(NameKind::MoistureUnit, request_.targetUnit));
  const int column = columnOf_[static_cast<int>(BatchColumn::TargetPressure)];
  if (column >= 0 && column < static_cast<int>(header.size())) {
    holds.Theirs(header[column]);
  } else if (std::isnan(request_.targetPressure)) {
    holds.Ours("%s %s", StandardAtmosphereReading(request_.targetPressureUnit),
               PressureUnitLabel(request_.targetPressureUnit));
  } else {
    holds.Ours("%.10g %s", request_.targetPressure, PressureUnitLabel(request_.targetPressureUnit));
  }
  PutRowText(rowText, rowLength);
  const size_t results = 1 + moreValueColumns_.size();
  for (size_t k = 0; k < results; ++k) {
    const std::string& given = k == 0 ? request_.resultName
                               : k - 1 < request_.moreResultNames.size()
                                   ? request_.moreResultNames[k - 1]
                                   : std::string();
    Message name(utf8_);
    if (!given.empty()) {
      name.Theirs(given.data(), given.size());
    } else {
      // Several results: each named after its reading's column too.
      const int value =
          k == 0 ? columnOf_[static_cast<int>(BatchColumn::Value)] : moreValueColumns_[k - 1];
      if (results > 1 && value < static_cast<int>(header.size())) {
        name.Theirs(header[value]).Ours(": ");
      }
      name.Theirs(holds.text(), holds.length());
    }
    if (separatorPending_) {
      // The separator of a one-column file is chosen with its first number; so is this one.
      out_.PutPlaceholder();
      const bool semicolon = std::memchr(name.text(), ';', name.length()) != nullptr;
      PutField(out_, name.text(), name.length(), semicolon ? ';' : ',');
    } else {
      PutSeparator();
      PutField(out_, name.text(), name.length(), outSeparator_);
    }
  }
  out_.Put(row.lineEnd, row.lineEndLength);
}

// What each named column holds, for the message about a gap in it.
constexpr const char* kColumnContents[kBatchColumnCount] = {"reading",
                                                            "pressure",
                                                            "target pressure",
                                                            "ambient temperature",
                                                            "prevailing temperature",
                                                            "molecular weight",
                                                            "Henry's constant"};
// The option that gives a value for the gaps, for each column.
constexpr const char* kGapOptions[kBatchColumnCount] = {
    "", "--pressure", "--target-pressure", "--ambient", "--prevailing", "--mol-weight", "--henry"};

void BatchConverter::FailGap(int role) {
  Message message(utf8_);
  message.Ours("error: no %s in column ", kColumnContents[role]);
  if (columnName_[role].empty()) {
    message.Ours("%d", columnOf_[role] + 1);
  } else {
    message.Ours("'").Theirs(columnName_[role].data(), columnName_[role].size()).Ours("'");
  }
  FailRow(message.Ours(" (%s gives one for empty fields)", kGapOptions[role]));
}

void BatchConverter::FailRow(const Message& message) {
  PutField(out_, message.text(), message.length(), outSeparator_);
  ++summary_.failed;
  if (summary_.firstFailedLine == 0) summary_.firstFailedLine = line_;
}

void BatchConverter::Refuse(const Message& message) {
  std::snprintf(summary_.refusal, sizeof summary_.refusal, "%s", message.text());
  refused_ = true;
}

// Per-row side values, read in the units of their options: degC, g/mol, ppmW per mbar.
bool BatchConverter::ReadSideValues(const Field* fields, SideParameters* source,
                                    SideParameters* target) {
  for (int role = static_cast<int>(BatchColumn::Ambient); role < kBatchColumnCount; ++role) {
    const Field field = fields[role];
    if (columnOf_[role] < 0) continue;
    if (field.begin == field.end) {
      // An empty or missing field: the option's value, when the user gave it.
      if (request_.given[role] || request_.missingFallback) continue;
      FailGap(role);
      return false;
    }
    double number;
    char mark;
    const bool temperature = role <= static_cast<int>(BatchColumn::Prevailing);
    // A temperature's bare number is in its column's unit; a C or F after it says its own.
    const char last = static_cast<char>(field.end[-1] | 0x20);
    const bool fahrenheitColumn =
        temperature && request_.fahrenheitColumns[role - static_cast<int>(BatchColumn::Ambient)];
    bool fahrenheit = false;
    const bool scaled = temperature && (last == 'c' || last == 'f');
    if (scaled
            ? ReadTemperature(field.begin, decimalComma_, &number, &fahrenheit) != ReadOutcome::Read
            : !ReadNumber(field, decimalComma_, &number, &mark)) {
      FailRow(Message(utf8_)
                  .Ours("error: not a %s: '", temperature ? "temperature" : "number")
                  .Theirs(field)
                  .Ours("'"));
      return false;
    }
    const float held =
        ToSingle(!scaled && fahrenheitColumn ? CelsiusFromFahrenheit(number) : number);
    if (temperature ? !IsAcceptedTemperature(held) : !(held > 0.0f) || !std::isfinite(held)) {
      FailRow(Message(utf8_)
                  .Ours("error: %s '", kColumnOptionNames[role] + 2)
                  .Theirs(field)
                  .Ours(temperature ? "' is not between -80 and 200 degC" : "' is not above 0"));
      return false;
    }
    for (SideParameters* side : {source, target}) {
      switch (static_cast<BatchColumn>(role)) {
        case BatchColumn::Ambient:
          side->ambientTemperatureC = held;
          break;
        case BatchColumn::Prevailing:
          side->prevailingTemperatureC = held;
          break;
        case BatchColumn::MolecularWeight:
          side->molecularWeight = held;
          break;
        default:
          side->henryConstant = held;
          break;
      }
    }
  }
  return true;
}

void BatchConverter::ConvertRow(const Row& row) {
  if (separatorPending_) {
    // A one-column file: its first number's decimal mark chooses the output's separator.
    const bool comma = std::memchr(row.begin, ',', row.end - row.begin) != nullptr;
    outSeparator_ = comma ? ';' : ',';
    out_.Release(outSeparator_);
    separatorPending_ = false;
  }
  if (!filters_.empty() && !RowMatches(row)) {
    // Another tag's row: as it came, or not at all.
    if (!request_.onlyMatching) {
      PutRowText(row.begin, static_cast<size_t>(row.end - row.begin));
      out_.Put(row.lineEnd, row.lineEndLength);
    }
    return;
  }
  PutRowText(row.begin, static_cast<size_t>(row.end - row.begin));
  if (headerFields_ > 1) {
    // A row shorter than the header: its result goes under the result's header all the same.
    for (int n = CountFields(row.begin, row.end, separator_, headerFields_); n < headerFields_;
         ++n) {
      PutSeparator();
    }
  }
  PutSeparator();
  PutResult(row);
  out_.Put(row.lineEnd, row.lineEndLength);
}

// True when each column that --where names holds one of the texts given for it (in any case):
// "--where TagName=AI-101 --where TagName=AI-102" takes both tags, "--where Quality=Good" on top
// of them only their good rows. The row is read from a copy: it goes out as it came.
bool BatchConverter::RowMatches(const Row& row) {
  scratch_.assign(row.begin, row.end);
  scratchFields_.assign(static_cast<size_t>(lastFilterColumn_) + 1, Field{nullptr, nullptr});
  SplitRow(&scratch_[0], &scratch_[0] + scratch_.size(), separator_, lastFilterColumn_,
           [&](int index, Field field) { scratchFields_[index] = field; });
  for (const auto& filter : filters_) {
    bool columnMatches = false;
    for (const auto& other : filters_) {
      if (other.first != filter.first) continue;
      const Field field = scratchFields_[other.first];
      columnMatches =
          columnMatches ||
          (field.begin &&
           SameLetters(std::string_view(field.begin, field.end - field.begin), other.second));
    }
    if (!columnMatches) return false;
  }
  ++matched_;
  return true;
}

// A row as it came. The field of a one-column file is quoted when it holds the separator the
// result is appended with (before that is chosen: either), unless it is quoted already.
void BatchConverter::PutRowText(const char* text, size_t length) {
  if (separator_ == kOneColumn) {
    const char* p = text;
    while (p < text + length && *p == ' ') ++p;
    const bool quoted = p < text + length && *p == '"';
    const bool comma = std::memchr(text, ',', length) != nullptr;
    const bool semicolon = std::memchr(text, ';', length) != nullptr;
    if (!quoted && (separatorPending_      ? comma || semicolon
                    : outSeparator_ == ',' ? comma
                                           : semicolon)) {
      return PutQuoted(out_, text, length);
    }
  }
  out_.Put(text, length);
}

// The row's result, or "error: ..." (the row itself is already written).
void BatchConverter::PutResult(const Row& row) {
  if (commaUncertain_ && IsAmbiguousRow(row)) {
    return FailRow(Message(utf8_)
                       .Ours("error: '")
                       .Theirs(row.begin, row.end - row.begin)
                       .Ours("' is one number with a decimal comma or two fields: set "
                             "--decimal-comma or --delimiter ,"));
  }
  Field fields[kBatchColumnCount];
  for (Field& field : fields) field.begin = field.end = nullptr;
  bool moreFields = false;
  Field unitField{nullptr, nullptr};
  const int last = static_cast<int>(roleOf_.size()) - 1;
  SplitRow(row.begin, row.end, separator_, positional_ ? 1 << 30 : last,
           [&](int index, Field field) {
             if (index <= last) {
               if (roleOf_[index] >= 0) fields[roleOf_[index]] = field;
               if (index == fromColumn_) unitField = field;
               for (size_t k = 0; k < moreValueColumns_.size(); ++k) {
                 if (moreValueColumns_[k] == index) moreValueFields_[k] = field;
               }
             } else if (field.begin != field.end) {
               moreFields = true;
             }
           });
  ConvertFields(fields, unitField, moreFields);
  for (size_t k = 0; k < moreValueFields_.size(); ++k) {
    // A further reading: its own result, with the same pressures and side values.
    PutSeparator();
    fields[static_cast<int>(BatchColumn::Value)] = moreValueFields_[k];
    moreValueFields_[k] = Field{nullptr, nullptr};
    valueColumn_ = moreValueColumns_[k];
    ConvertFields(fields, unitField, moreFields);
  }
  valueColumn_ = columnOf_[static_cast<int>(BatchColumn::Value)];
}

// One result of a row's fields: the reading's, its pressures' and side values'.
void BatchConverter::ConvertFields(Field* fields, Field unitField, bool moreFields) {
  if (fromColumn_ >= 0 && !ReadRowUnit(unitField)) return;
  const ConverterRequest& request = fromColumn_ >= 0 ? *unitRequest_ : request_;
  double numbers[3] = {0.0, request_.sourcePressure, request_.targetPressure};
  if (joining_ && groupPressure_ != GroupPressure::Read) {
    static constexpr const char* kNoPressure[] = {"no", "", "no possible pressure in the",
                                                  "different pressures in the"};
    return FailRow(
        Message(utf8_)
            .Ours("error: %s ", kNoPressure[static_cast<int>(groupPressure_)])
            .Theirs(request_.pressureWhere.value.data(), request_.pressureWhere.value.size())
            .Ours(" row%s with the key '", groupPressure_ == GroupPressure::Disagree ? "s" : "")
            .Theirs(groupKey_.data(), groupKey_.size())
            .Ours("'"));
  }
  if (joining_) numbers[1] = groupReading_;
  if (!ReadRowNumbers(fields, numbers)) return;
  if (moreFields) {
    return FailRow(
        Message(utf8_).Ours("error: more than three fields (name the columns with --column)"));
  }
  // The sides' parameters, copied only when a row brings its own.
  SideParameters rowSides[2];
  const SideParameters* source = &request_.source;
  const SideParameters* target = &request_.target;
  if (sideColumns_) {
    rowSides[0] = request_.source;
    rowSides[1] = request_.target;
    if (!ReadSideValues(fields, &rowSides[0], &rowSides[1])) return;
    source = &rowSides[0];
    target = &rowSides[1];
  }
  if (!possibleDefaults_ && !IsOutsideSourceRange(request.sourceUnit, numbers[0])) {
    const bool sourcePossible = IsPossiblePressureReading(request_.sourcePressureUnit, numbers[1]);
    if (!sourcePossible || !IsPossiblePressureReading(request_.targetPressureUnit, numbers[2])) {
      return FailRow(Message(utf8_).Ours("error: %s pressure at or below vacuum",
                                         sourcePossible ? "target" : "source"));
    }
  }
  char text[kResultTextSize];
  if (ConvertPossibleReading(request, *source, *target, numbers[0], numbers[1], numbers[2], text,
                             sizeof text) != kConvertOk) {
    return FailRow(Message(utf8_).Ours("error: %s", text));
  }
  const size_t length = std::strlen(text);
  if (mark_ == ',') {
    char* point = static_cast<char*>(std::memchr(text, '.', length));
    if (point) *point = ',';
  }
  PutField(out_, text, length, outSeparator_);
  ++summary_.converted;
}

// Unit spellings of historian exports and of people, besides core's names and aliases; matched
// in any case with blanks, dots and underscores left out and a degree sign read as "deg". A
// dew point as analysers report it is the calculator's dew/frost point.
constexpr struct {
  const char* spelling;
  MoistureUnitCode unit;
} kUnitSpellings[] = {
    {"degcfrost", MoistureUnitCode::DewFrostPointC},
    {"degcfp", MoistureUnitCode::DewFrostPointC},
    {"degcdp", MoistureUnitCode::DewFrostPointC},
    {"degcdew", MoistureUnitCode::DewFrostPointC},
    {"degffrost", MoistureUnitCode::DewFrostPointF},
    {"degffp", MoistureUnitCode::DewFrostPointF},
    {"degfdp", MoistureUnitCode::DewFrostPointF},
    {"degfdew", MoistureUnitCode::DewFrostPointF},
    {"ppm(v)", MoistureUnitCode::PpmV},
    {"ppmvol", MoistureUnitCode::PpmV},
    {"ppm(w)", MoistureUnitCode::PpmWGas},
    {"lb/mmscf", MoistureUnitCode::LbsPerMmscf},
    {"lbs/mmscf", MoistureUnitCode::LbsPerMmscf},
    {"lb/mmcf", MoistureUnitCode::LbsPerMmscf},
    {"g/m3", MoistureUnitCode::GramsPerM3},
    {"mbar", MoistureUnitCode::VapourPressureMbar},
    {"%rh", MoistureUnitCode::RelativeHumidity},
    {"rh%", MoistureUnitCode::RelativeHumidity},
};

// A unit as a historian or a person writes it: core's code, or -1.
int UnitOfText(std::string_view text) {
  const int code = CodeOfName(NameKind::MoistureUnit, text);
  if (code >= 0) return code;
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xB0) {
      continue;  // the UTF-8 degree sign's first byte
    }
    if (c == 0xB0) {
      plain += "deg";
    } else if (c == 0xC2 || c == 0xB3) {
      plain += c == 0xB3 ? "3" : "";  // a Windows-1252 cubed sign
    } else if (c != ' ' && c != '.' && c != '_') {
      plain += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
  }
  for (const auto& entry : kUnitSpellings) {
    if (plain == entry.spelling) return Code(entry.unit);
  }
  return -1;
}

// The row's moisture unit from --from-column; false after failing the row.
bool BatchConverter::ReadRowUnit(Field field) {
  // A long export repeats a few unit texts: the last ones read are remembered.
  const std::string_view text =
      field.begin ? std::string_view(field.begin, field.end - field.begin) : std::string_view();
  int unit = -1;
  bool known = false;
  for (const auto& entry : unitCache_) {
    if (entry.second != kNoUnit && entry.first == text) {
      unit = entry.second;
      known = true;
      break;
    }
  }
  if (!known) {
    unit = field.begin ? UnitOfText(text) : -1;
    auto& entry = unitCache_[nextUnitCache_++ % 8];
    entry.first.assign(text.data(), text.size());
    entry.second = unit;
  }
  if (unit < 0) {
    Message message(utf8_);
    message.Ours("error: unknown unit '");
    if (field.begin) message.Theirs(field);
    message.Ours("' in column '")
        .Theirs(fromColumnName_.data(), fromColumnName_.size())
        .Ours("' (--from names the unit for all rows)");
    FailRow(message);
    return false;
  }
  unitRequest_->sourceUnit = unit;
  return true;
}

// The value and the two pressures of a row (an empty pressure field keeps the option's); false
// after failing the row when one is missing, no number or no possible pressure.
bool BatchConverter::ReadRowNumbers(const Field* fields, double* numbers) {
  char rowMark = 0;
  for (int role = 0; role < 3; ++role) {
    const Field field = fields[role];
    if (role > 0 && field.begin == field.end) {
      // An empty or missing field takes the option's pressure: where the column is named, only
      // when the option was given.
      if (positional_ || columnOf_[role] < 0 || request_.given[role] || request_.missingFallback) {
        continue;
      }
      FailGap(role);
      return false;
    }
    if (!field.begin && !positional_) {
      FailRow(Message(utf8_).Ours("error: the row has no column %d",
                                  (role == 0 ? valueColumn_ : columnOf_[role]) + 1));
      return false;
    }
    if (!ReadNumber(field, decimalComma_, &numbers[role], &rowMark)) {
      Message message(utf8_);
      message.Ours(role == 0 ? "error: not a number: '" : "error: not a pressure: '")
          .Theirs(field)
          .Ours("'");
      if (separator_ == kOneColumn && field.begin && std::strpbrk(field.begin, ";\t")) {
        message.Ours(" (a file of one column: set --delimiter)");
      }
      FailRow(message);
      return false;
    }
    const int unit = role == 1 ? request_.sourcePressureUnit : request_.targetPressureUnit;
    const char* reason;
    const RequestStatus status =
        role > 0 ? CheckQuantity(Quantity::Pressure, unit, numbers[role], &reason)
                 : RequestStatus::Converted;
    if (status != RequestStatus::Converted) {
      FailRow(Message(utf8_)
                  .Ours("error: impossible pressure: '")
                  .Theirs(field)
                  .Ours("' %s %s", PressureUnitLabel(unit),
                        status == RequestStatus::Vacuum ? "is at or below vacuum" : reason));
      return false;
    }
  }
  if (rowMark) mark_ = rowMark;
  return true;
}

}  // namespace

int ConvertBatch(const ConverterRequest& request, const BatchStreams& streams,
                 BatchSummary* summary, size_t rowCapacity) {
  BatchConverter converter(request, streams, rowCapacity ? rowCapacity : kDefaultBatchRowCapacity);
  return converter.Run(summary);
}

}  // namespace ruruzir
