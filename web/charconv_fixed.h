// Emscripten 3.1.6's libc++ has no floating-point std::to_chars. The web build includes this
// header before every source: the fixed-notation overload the core uses, from musl's
// snprintf, which rounds exactly as to_chars does (the shared case table checks the texts).
#pragma once

#include <charconv>
#include <cstdio>
#include <system_error>

#if defined(__EMSCRIPTEN__) && defined(_LIBCPP_VERSION)
namespace std {
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
  if (format != chars_format::fixed || precision < 0) return {last, errc::invalid_argument};
  const int length = snprintf(first, static_cast<size_t>(last - first), "%.*f", precision, value);
  if (length < 0 || length >= last - first) return {last, errc::value_too_large};
  return {first + length, errc()};
}
}  // namespace std
#endif
