#include "core/strutil.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace vorlund {

std::string vssprintf(const char* fmt, va_list args) {
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

std::string formatInt(long value) { return ssprintf("%ld", value); }

std::string formatReal(double value) { return ssprintf("%lg", value); }

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
