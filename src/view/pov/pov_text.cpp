#include "view/pov/pov_text.h"

#include <cstdio>

namespace vorlund {

namespace {

constexpr std::string_view kFlagChars = "-+ 0";
constexpr int kMaxCommandArgs = 2;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::string> formatFrameName(std::string_view pattern, long frame) {
  if (pattern.empty()) return std::nullopt;
  std::string out;
  bool converted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%') {
      out += c;
      continue;
    }
    std::size_t j = i + 1;
    if (j < pattern.size() && pattern[j] == '%') {
      out += '%';
      i = j;
      continue;
    }
    if (converted) return std::nullopt;
    std::string spec = "%";
    while (j < pattern.size() && kFlagChars.find(pattern[j]) != std::string_view::npos) spec += pattern[j++];
    int width = 0;
    while (j < pattern.size() && isDigit(pattern[j])) {
      width = width * 10 + (pattern[j] - '0');
      if (width > kPovFrameFieldMax) return std::nullopt;
      spec += pattern[j++];
    }
    if (j < pattern.size() && (pattern[j] == 'l' || pattern[j] == 'h')) ++j;
    if (j >= pattern.size() || (pattern[j] != 'd' && pattern[j] != 'i')) return std::nullopt;
    spec += "ld";
    char buffer[kPovFrameFieldMax + 32];
    std::snprintf(buffer, sizeof buffer, spec.c_str(), frame);
    out += buffer;
    converted = true;
    i = j;
  }
  return out;
}

std::optional<std::string> commandScript(std::string_view command) {
  std::string out;
  int args = 0;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i + 1 >= command.size()) return std::nullopt;
    const char next = command[i + 1];
    if (next == '%') {
      out += '%';
      ++i;
      continue;
    }
    if (next != 's' || args == kMaxCommandArgs) return std::nullopt;
    ++args;
    // A quote right around the conversion would keep the shell from reading
    // the parameter ('$1') or be doubled ("" $1 ""): drop it.
    const bool quoted = !out.empty() && (out.back() == '\'' || out.back() == '"') && i + 2 < command.size() &&
                        command[i + 2] == out.back();
    if (quoted) out.pop_back();
    out += "\"$" + std::to_string(args) + "\"";
    i += quoted ? 2 : 1;
  }
  return out;
}

}  // namespace vorlund
