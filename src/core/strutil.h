// Small text helpers shared by every module.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace vorlund {

// printf into a std::string of any length.
std::string ssprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string vssprintf(const char* fmt, va_list args);

// "%ld" and "%lg" as the records write numbers.
std::string formatInt(long value);
std::string formatReal(double value);

// Reads the whole of a file or of standard input ("-"); false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& out);

}  // namespace vorlund
