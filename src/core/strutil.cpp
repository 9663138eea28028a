#include "core/strutil.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <algorithm>
#include <cctype>

namespace vorlund {

namespace {

// printf's numbers follow LC_NUMERIC, which a desktop program sets to the
// user's locale; texts made here always use the "C" locale's, for this thread only.
class CNumbers {
 public:
  CNumbers() : previous_(uselocale(cLocale())) {}
  ~CNumbers() { uselocale(previous_); }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
  static locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c != static_cast<locale_t>(nullptr) ? c : LC_GLOBAL_LOCALE;
  }
  locale_t previous_;
};

}  // namespace

std::string vssprintf(const char* fmt, va_list args) {
  const CNumbers cNumbers;
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), fmt, args);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string ssprintf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vssprintf(fmt, args);
  va_end(args);
  return s;
}

namespace {

// Room for any double in "%lg" or shortest form, and any 64-bit integer.
constexpr std::size_t kNumberText = 40;
// "%lg": six significant digits.
constexpr int kRealDigits = 6;

constexpr long long kExponentLimit = 1000000000;

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// White space, then an optional sign; false when a second sign follows.
std::size_t skipToDigits(std::string_view text, bool& negative) {
  std::size_t p = 0;
  while (p < text.size() && isSpace(text[p])) ++p;
  negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  return p;
}

// Whether a decimal text too large or too small for a double is too large:
// its leading digit's power of ten (the exponent and the digits before the
// point, or the zeros after it) is positive.
bool overflows(std::string_view number) {
  long long exponent = 0;
  const std::size_t e = number.find_first_of("eE");
  if (e != std::string_view::npos) parseInteger(number.substr(e + 1), exponent);
  const std::string_view mantissa = number.substr(0, e);
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const long long lead = first < point ? static_cast<long long>(point - first) - 1
                                       : -static_cast<long long>(first - point);
  // Far beyond any double's range either way; clamped so that the sum cannot overflow.
  exponent = std::clamp(exponent, -kExponentLimit, kExponentLimit);
  return exponent + lead > 0;
}

}  // namespace

std::string formatInt(long long value) {
  char buf[kNumberText];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string formatReal(double value) {
  char buf[kNumberText];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, kRealDigits);
  return std::string(buf, r.ptr);
}

std::string formatRealExact(double value) {
  char buf[kNumberText];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::size_t parseInteger(std::string_view text, long long& value) {
  bool negative;
  std::size_t p = skipToDigits(text, negative);
  std::size_t end = p;
  while (end < text.size() && isDigit(text[end])) ++end;
  if (end == p) return 0;
  unsigned long long magnitude = 0;
  const auto r = std::from_chars(text.data() + p, text.data() + end, magnitude);
  if (r.ec == std::errc::result_out_of_range) magnitude = ULLONG_MAX;
  if (negative)
    value = magnitude > static_cast<unsigned long long>(LLONG_MAX) ? LLONG_MIN : -static_cast<long long>(magnitude);
  else
    value = magnitude > static_cast<unsigned long long>(LLONG_MAX) ? LLONG_MAX : static_cast<long long>(magnitude);
  return end;
}

std::size_t parseReal(std::string_view text, double& value) {
  bool negative;
  std::size_t p = skipToDigits(text, negative);
  if (p >= text.size() || text[p] == '+' || text[p] == '-') return 0;
  std::chars_format format = std::chars_format::general;
  std::size_t start = p;
  if (p + 2 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X') &&
      (std::isxdigit(static_cast<unsigned char>(text[p + 2])) || text[p + 2] == '.')) {
    format = std::chars_format::hex;
    start = p + 2;
  }
  double v = 0;
  const auto r = std::from_chars(text.data() + start, text.data() + text.size(), v, format);
  if (r.ptr == text.data() + start) return 0;
  if (r.ec == std::errc::result_out_of_range) {
    const std::string_view number(text.data() + start, static_cast<std::size_t>(r.ptr - (text.data() + start)));
    bool big = false;
    if (format == std::chars_format::general) {
      big = overflows(number);
    } else {
      long long exponent = 0;
      const std::size_t e = number.find_first_of("pP");
      big = e != std::string_view::npos && parseInteger(number.substr(e + 1), exponent) > 0 && exponent > 0;
    }
    v = big ? HUGE_VAL : 0.0;
  }
  value = negative ? -v : v;
  return static_cast<std::size_t>(r.ptr - text.data());
}

bool readWholeFile(const std::string& path, std::string& out) {
  if (path == "-") {
    std::ostringstream ss;
    ss << std::cin.rdbuf();
    out = ss.str();
    return !std::cin.bad();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace vorlund
