#include "sim/state_text.h"

#include <charconv>
#include <limits>

#include "core/record.h"

namespace vorlund {

void NumberWriter::separate() {
  if (!line_.empty()) line_.push_back(' ');
}

void NumberWriter::operator()(double x) {
  separate();
  // The shortest text that reads back to the same double, whatever the locale.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  line_.append(buf, r.ptr);
}

void NumberWriter::operator()(int64_t x) {
  separate();
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  line_.append(buf, r.ptr);
}

std::string_view NumberReader::token() {
  while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ' ') ++pos_;
  return text_.substr(start, pos_ - start);
}

namespace {
// Reads the whole token as one number; false when it is not exactly one.
template <class T>
bool parseWhole(std::string_view t, T& x) {
  if (t.empty()) return false;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), x);
  return r.ec == std::errc() && r.ptr == t.data() + t.size();
}
}  // namespace

void NumberReader::operator()(double& x) {
  const std::string_view t = token();
  ok_ = ok_ && parseWhole(t, x);
}

void NumberReader::operator()(int64_t& x) {
  const std::string_view t = token();
  ok_ = ok_ && parseWhole(t, x);
}

template <class T>
void NumberReader::narrow(T& x) {
  int64_t wide = 0;
  (*this)(wide);
  if (wide < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
      wide > static_cast<int64_t>(std::numeric_limits<T>::max())) {
    ok_ = false;
    return;
  }
  x = static_cast<T>(wide);
}

template void NumberReader::narrow<int32_t>(int32_t&);
template void NumberReader::narrow<int16_t>(int16_t&);
template void NumberReader::narrow<uint16_t>(uint16_t&);
template void NumberReader::narrow<uint32_t>(uint32_t&);

bool NumberReader::finished() {
  if (ok_ && !token().empty()) ok_ = false;
  return ok_;
}

void writeTextLine(std::string& out, std::string_view key, std::string_view value) {
  const bool multiline =
      value.size() >= RECORD_MULTILINE_LENGTH || value.find_first_of("\r\n~\\") != std::string_view::npos;
  out.append(key);
  if (!multiline) {
    out.push_back(':');
    out.append(value);
    out.push_back('\n');
    return;
  }
  out.append(":~\n");
  for (char c : value) {
    if (c == '~' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  out.append("~\n");
}

void writeKeyLine(std::string& out, std::string_view key, const std::string& numbers) {
  out.append(key);
  out.push_back(':');
  out.append(numbers);
  out.push_back('\n');
}

bool StateReader::fail(const std::string& why) {
  if (error_.empty()) error_ = "line " + std::to_string(line_) + ": " + why;
  return false;
}

bool StateReader::readLine(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  std::size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) end = text_.size();
  line = text_.substr(pos_, end - pos_);
  pos_ = end < text_.size() ? end + 1 : end;
  ++line_;
  return true;
}

bool StateReader::nextIs(std::string_view line) const {
  if (failed() || pos_ >= text_.size()) return false;
  std::size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) end = text_.size();
  return text_.substr(pos_, end - pos_) == line;
}

std::string StateReader::nextKey() const {
  if (failed() || pos_ >= text_.size()) return {};
  std::size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) end = text_.size();
  const std::string_view line = text_.substr(pos_, end - pos_);
  const std::size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string() : std::string(line.substr(0, colon));
}

bool StateReader::expectLine(std::string_view expected) {
  if (failed()) return false;
  std::string_view line;
  if (!readLine(line)) return fail("the file ends where \"" + std::string(expected) + "\" should follow");
  if (line != expected) return fail("expected \"" + std::string(expected) + "\"");
  return true;
}

bool StateReader::text(std::string_view key, std::string& value) {
  if (failed()) return false;
  std::string_view line;
  if (!readLine(line)) return fail("the file ends where \"" + std::string(key) + ":\" should follow");
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':')
    return fail("expected \"" + std::string(key) + ":\"");
  const std::string_view rest = line.substr(key.size() + 1);
  if (rest != "~") {
    value.assign(rest);
    return true;
  }
  value.clear();
  while (pos_ < text_.size()) {
    const char c = text_[pos_++];
    if (c == '\n') ++line_;
    if (c == '\\' && pos_ < text_.size()) {
      value.push_back(text_[pos_++]);
    } else if (c == '~') {
      if (pos_ < text_.size() && text_[pos_] == '\n') {
        ++pos_;
        ++line_;
      }
      return true;
    } else {
      value.push_back(c);
    }
  }
  return fail("unterminated text of \"" + std::string(key) + "\"");
}

}  // namespace vorlund
