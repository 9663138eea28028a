// The exact text form of saved run state: key:value lines in the record form
// (a section line, key lines, an empty line), numbers written so that reading
// them back gives the same bits, texts escaped so that any genotype survives.
// A writer and a reader share one field list per type (see the visit*
// functions of checkpoint_org.cpp), so the two directions cannot drift apart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "world/vec3.h"

namespace vorlund {

// Appends the numbers of one key line, separated by blanks.
class NumberWriter {
 public:
  explicit NumberWriter(std::string& line) : line_(line) {}
  void operator()(double x);
  void operator()(int64_t x);
  void operator()(int32_t x) { (*this)(static_cast<int64_t>(x)); }
  void operator()(int16_t x) { (*this)(static_cast<int64_t>(x)); }
  void operator()(uint16_t x) { (*this)(static_cast<int64_t>(x)); }
  void operator()(uint32_t x) { (*this)(static_cast<int64_t>(x)); }
  void operator()(const Vec3& v) {
    (*this)(v.x);
    (*this)(v.y);
    (*this)(v.z);
  }
  void operator()(const Frame& f) {
    (*this)(f.x);
    (*this)(f.y);
    (*this)(f.z);
  }

 private:
  void separate();
  std::string& line_;
};

// The numbers `fn` writes into a NumberWriter, as one line.
template <class Fn>
std::string numberLine(Fn&& fn) {
  std::string line;
  NumberWriter w(line);
  fn(w);
  return line;
}

// Reads the numbers of one key line in the order they were written. Any
// malformed, out-of-range, missing or surplus number makes ok() false.
class NumberReader {
 public:
  explicit NumberReader(std::string_view text) : text_(text) {}
  void operator()(double& x);
  void operator()(int64_t& x);
  void operator()(int32_t& x) { narrow(x); }
  void operator()(int16_t& x) { narrow(x); }
  void operator()(uint16_t& x) { narrow(x); }
  void operator()(uint32_t& x) { narrow(x); }
  void operator()(Vec3& v) {
    (*this)(v.x);
    (*this)(v.y);
    (*this)(v.z);
  }
  void operator()(Frame& f) {
    (*this)(f.x);
    (*this)(f.y);
    (*this)(f.z);
  }
  // True when no number is left to read.
  bool empty() const { return text_.find_first_not_of(' ', pos_) == std::string_view::npos; }
  // True when every number was read and nothing is left over.
  bool finished();
  bool ok() const { return ok_; }

 private:
  template <class T>
  void narrow(T& x);
  std::string_view token();
  std::string_view text_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Writes "key:value\n"; a text with a line break, a tilde, a backslash or of
// record-line length goes multi-line between tildes, with "\~" and "\\" escapes.
void writeTextLine(std::string& out, std::string_view key, std::string_view value);
// Writes "key:" and the numbers the writer produced.
void writeKeyLine(std::string& out, std::string_view key, const std::string& numbers);

// Walks the lines of a saved state text. Every get fails (and stays failed)
// on the first line that is not the one expected; `error` says where.
class StateReader {
 public:
  explicit StateReader(std::string_view text) : text_(text) {}
  // The next line must be exactly `line`.
  bool expectLine(std::string_view line);
  // The next line must be "key:..."; its value (a multi-line text unescaped).
  bool text(std::string_view key, std::string& value);
  // The next line must be "key:..." with numbers filled by `fill(NumberReader&)`.
  template <class Fill>
  bool numbers(std::string_view key, Fill&& fill) {
    std::string value;
    if (!text(key, value)) return false;
    NumberReader r(value);
    fill(r);
    if (!r.finished()) return fail(std::string("bad numbers in \"") + std::string(key) + "\"");
    return true;
  }
  // The key (text before the colon) of the next line, without consuming it;
  // empty at the end or on a line without a colon.
  std::string nextKey() const;
  // Peeks whether the next line is `line` (without consuming it).
  bool nextIs(std::string_view line) const;
  void skipLine() {
    std::string_view ignored;
    readLine(ignored);
  }
  bool atEnd() const { return pos_ >= text_.size(); }
  bool failed() const { return !error_.empty(); }
  bool fail(const std::string& why);
  const std::string& error() const { return error_; }
  int lineNumber() const { return line_; }

 private:
  bool readLine(std::string_view& line);
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 0;
  std::string error_;
};

}  // namespace vorlund
