// CSV fields as the batch reads them: the quoting state of a row scanned byte by byte, fields
// unquoted and trimmed in place, numbers with a decimal point or comma. Inline, because they
// run for every field of every row.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/number_text.h"

namespace ruruzir::csv {

// Where the row scanner stands: the quoting state carries over from one block to the next.
enum class ScanState { FieldStart, Unquoted, Quoted, QuoteInQuoted };

inline bool IsCandidateSeparator(char c) {
  return c == ',' || c == ';' || c == '\t';
}

// Advances the state over one character that is not a line end ending the row. A separator of
// 0 stands for any of the candidates (while the separator is being chosen).
inline ScanState Step(ScanState state, char c, char separator) {
  const bool isSeparator = separator ? c == separator : IsCandidateSeparator(c);
  switch (state) {
    case ScanState::FieldStart:
      if (c == '"') return ScanState::Quoted;
      if (isSeparator || c == ' ') return ScanState::FieldStart;
      return ScanState::Unquoted;
    case ScanState::Unquoted:
      return isSeparator ? ScanState::FieldStart : ScanState::Unquoted;
    case ScanState::Quoted:
      return c == '"' ? ScanState::QuoteInQuoted : ScanState::Quoted;
    case ScanState::QuoteInQuoted:
      if (c == '"') return ScanState::Quoted;
      return isSeparator ? ScanState::FieldStart : ScanState::Unquoted;
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
inline char* Unquote(char* begin, char* end) {
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
inline Field Trim(Field field) {
  while (field.begin < field.end && IsFieldBlank(*field.begin)) ++field.begin;
  while (field.end > field.begin && IsFieldBlank(field.end[-1])) --field.end;
  *field.end = '\0';
  return field;
}

// Reads a trimmed field as one number. With a decimal comma allowed, a field holding one comma
// and no point is read with the comma as its decimal point. Sets *mark to the decimal mark the
// field shows (',' or '.'), leaving it when the field shows none. The field's text is left as
// it was.
inline bool ReadNumber(Field field, bool decimalComma, double* value, char* mark) {
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

// The number of fields of the row [begin, end), counted up to `limit`.
inline int CountFields(const char* begin, const char* end, char separator, int limit) {
  int count = 1;
  if (!std::memchr(begin, '"', static_cast<size_t>(end - begin))) {
    for (const char* p = begin; count < limit; ++p, ++count) {
      p = static_cast<const char*>(std::memchr(p, separator, static_cast<size_t>(end - p)));
      if (!p) break;
    }
    return count;
  }
  ScanState state = ScanState::FieldStart;
  for (const char* p = begin; p < end && count < limit; ++p) {
    if (*p == separator && state != ScanState::Quoted) ++count;
    state = Step(state, *p, separator);
  }
  return count;
}

// Calls `take(index, field)` for the fields of the row [begin, end) from the first up to the
// one of 0-based index `last`; the rest of the row is not read.
template <typename Take>
inline void SplitRow(char* begin, char* end, char separator, int last, Take take) {
  char* fieldStart = begin;
  for (int index = 0;; ++index) {
    char* p = fieldStart;
    while (p < end && *p == ' ') ++p;
    if (p < end && *p == '"') {
      // A quoted field runs to the separator after its closing quote.
      ScanState state = ScanState::Quoted;
      for (++p; p < end && (state == ScanState::Quoted || *p != separator); ++p) {
        state = Step(state, *p, separator);
      }
    } else {
      p = static_cast<char*>(std::memchr(p, separator, end - p));
      if (!p) p = end;
    }
    take(index, Trim(Field{fieldStart, Unquote(fieldStart, p)}));
    if (p == end || index == last) return;
    fieldStart = p + 1;
  }
}

// True when the bytes are valid UTF-8 (ASCII included).
inline bool IsUtf8(const char* text, size_t length) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < length;) {
    const unsigned char c = p[i];
    const size_t size = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
    if (size == 0 || i + size > length) return false;
    for (size_t k = 1; k < size; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
    }
    i += size;
  }
  return true;
}

}  // namespace ruruzir::csv
