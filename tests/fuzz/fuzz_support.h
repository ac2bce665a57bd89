// Shared by the libFuzzer targets: property checks that print what was compared and abort (so
// that libFuzzer keeps the input as a crash file), texts in heap blocks of exactly their own
// size (so that AddressSanitizer reports any read past the terminator), and output areas
// followed by guard bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#define FUZZ_CHECK(condition, ...)                                                            \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property failed: %s\n  ", __FILE__, __LINE__, #condition); \
      std::fprintf(stderr, __VA_ARGS__);                                                      \
      std::fputc('\n', stderr);                                                               \
      std::abort();                                                                           \
    }                                                                                         \
  } while (0)

// The number grammar of the calculator's reading, written out independently: blanks, an
// optional sign, digits with an optional point (at least one digit), an optional exponent
// (e or E, optional sign, at least one digit). Each returns where the number at `text` ends,
// or nullptr when the text does not begin with one.
inline bool FuzzBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool FuzzDigit(char c) {
  return c >= '0' && c <= '9';
}

inline const char* GrammarNumberEnd(const char* text) {
  const char* p = text;
  while (FuzzBlank(*p)) ++p;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  while (FuzzDigit(*p)) ++p, ++digits;
  if (*p == '.') {
    ++p;
    while (FuzzDigit(*p)) ++p, ++digits;
  }
  if (digits == 0) return nullptr;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (FuzzDigit(*q)) {
      while (FuzzDigit(*q)) ++q;
      p = q;
    }
  }
  return p;
}

// An optionally signed decimal integer after blanks.
inline const char* GrammarIntegerEnd(const char* text) {
  const char* p = text;
  while (FuzzBlank(*p)) ++p;
  if (*p == '+' || *p == '-') ++p;
  if (!FuzzDigit(*p)) return nullptr;
  while (FuzzDigit(*p)) ++p;
  return p;
}

// A text in a heap block of exactly length + 1 bytes.
class ExactText {
 public:
  ExactText(const char* text, size_t length) : block_(new char[length + 1]) {
    if (length > 0) std::memcpy(block_.get(), text, length);
    block_[length] = '\0';
  }
  explicit ExactText(const char* text) : ExactText(text, std::strlen(text)) {}
  const char* get() const { return block_.get(); }

 private:
  std::unique_ptr<char[]> block_;
};

// An output area of `size` bytes followed by guard bytes, all filled with a pattern first.
class GuardedArea {
 public:
  static constexpr size_t kGuardSize = 16;
  static constexpr unsigned char kPattern = 0xA5;

  explicit GuardedArea(size_t size) : size_(size), block_(new char[size + kGuardSize]) {
    std::memset(block_.get(), kPattern, size + kGuardSize);
  }
  char* get() { return block_.get(); }
  size_t size() const { return size_; }

  // True when no byte after the area was written.
  bool GuardsIntact() const {
    for (size_t i = 0; i < kGuardSize; ++i) {
      if (static_cast<unsigned char>(block_[size_ + i]) != kPattern) return false;
    }
    return true;
  }
  // True when the area holds a terminator (an area of 0 bytes holds nothing).
  bool Terminated() const { return std::memchr(block_.get(), '\0', size_) != nullptr; }
  // True when no byte of the area was written at all.
  bool Untouched() const {
    for (size_t i = 0; i < size_; ++i) {
      if (static_cast<unsigned char>(block_[i]) != kPattern) return false;
    }
    return true;
  }

 private:
  size_t size_;
  std::unique_ptr<char[]> block_;
};
