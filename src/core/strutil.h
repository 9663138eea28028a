// Small text helpers shared by every module.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace vorlund {

// printf into a std::string of any length, with the "C" locale's numbers.
std::string ssprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string vssprintf(const char* fmt, va_list args);

// Numbers in files, genotypes and exported texts never follow the process's
// locale (a desktop program runs in the user's, where the decimal point may
// be a comma). These give exactly what "%ld" and "%lg" give in the "C" locale.
std::string formatInt(long long value);
std::string formatReal(double value);
// The shortest text that reads back as exactly `value`.
std::string formatRealExact(double value);

// Read a number from the start of `text` as strtoll and strtod do in the "C"
// locale: leading white space skipped, an optional sign, decimal digits (for
// reals also a fraction, an exponent, "0x" hexadecimal, "inf" and "nan").
// Integers saturate at their range; reals beyond the range give an infinity,
// below it zero. Return the characters used, 0 when there is no number.
std::size_t parseInteger(std::string_view text, long long& value);
std::size_t parseReal(std::string_view text, double& value);

// Reads the whole of a file or of standard input ("-"); false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& out);

}  // namespace vorlund
