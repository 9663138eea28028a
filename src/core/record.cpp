#include "core/record.h"

#include <cctype>
#include <istream>
#include <ostream>

namespace vorlund {

namespace {

// Besides long values, any value the one-line form would not bring back
// unchanged: a tilde (a leading one would open a multi-line value) or a
// control character (the line reader trims them off the end).
bool needsMultiline(const std::string& value) {
  if (value.size() >= RECORD_MULTILINE_LENGTH) return true;
  for (const char c : value)
    if (c == '~' || static_cast<unsigned char>(c) < 32) return true;
  return false;
}

// The body of a multi-line value: every tilde doubled, and every "\r\n" of
// the value written as "\r\r\n" since the reader drops the carriage return
// of a line end.
void writeMultilineBody(std::ostream& out, const std::string& value) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '~') out << '~';
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') out << '\r';
    out << c;
  }
}

// Trailing control characters (line ends, tabs) are not part of a record line.
void trimControlTail(std::string& line) {
  while (!line.empty() && static_cast<unsigned char>(line.back()) < 32) line.pop_back();
}

// A multi-line value runs to the first single tilde; "~~" inside it is one
// tilde. Line ends inside it are kept as line feeds, whether the file was
// written with "\n" or "\r\n".
std::string readMultiline(std::istream& in) {
  std::string value;
  int c;
  while ((c = in.get()) != std::char_traits<char>::eof()) {
    if (c == '~') {
      if (in.peek() != '~') break;
      in.get();
    } else if (c == '\r' && in.peek() == '\n') {
      continue;
    }
    value.push_back(static_cast<char>(c));
  }
  if (c == '~') {
    // Drop the line end after the closing tilde (both "\n" and "\r\n").
    if (in.peek() == '\r') in.get();
    if (in.peek() == '\n') in.get();
  }
  return value;
}

bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

}  // namespace

int writeRecord(param& acc, std::ostream& out) {
  int failed = 0;
  const char* prefix = acc.sectionPrefix();
  out << (prefix ? prefix : "") << "\n";
  if (!out) failed = 1;
  for (int i = 0; acc.id(i) != nullptr; ++i) {
    if (acc.flags(i) & PARAM_NOSTORE) continue;
    const std::string value = acc.getText(i);
    if (needsMultiline(value)) {
      out << acc.id(i) << ":~\n";
      writeMultilineBody(out, value);
      out << "~\n";
    } else
      out << acc.id(i) << ":" << value << "\n";
    if (!out) {
      failed = 1;
      out.clear();
    }
  }
  out << "\n";
  if (!out) failed = 1;
  return failed;
}

void readRecord(param& acc, std::istream& in) {
  struct Record {
    param& acc;
    explicit Record(param& a) : acc(a) { acc.beginRecord(); }
    ~Record() { acc.endRecord(); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
  } record(acc);
  std::string line;
  while (std::getline(in, line)) {
    trimControlTail(line);
    if (line.empty()) return;
    int found = -1;
    std::size_t colon = 0;
    for (int i = 0; acc.id(i) != nullptr; ++i) {
      const std::string_view id = acc.id(i);
      if (line.size() > id.size() && line.compare(0, id.size(), id) == 0 && line[id.size()] == ':') {
        found = i;
        colon = id.size();
        break;
      }
    }
    if (found < 0) continue;
    if (colon + 1 < line.size() && line[colon + 1] == '~') {
      acc.set(found, readMultiline(in));
    } else {
      acc.set(found, std::string_view(line).substr(colon + 1));
    }
  }
}

void writeCompact(param& acc, param& reference, std::string& out) {
  const char* prefix = acc.sectionPrefix();
  out += prefix ? prefix : "";
  bool leftOut = false;
  bool first = true;
  for (int i = 0; acc.id(i) != nullptr; ++i) {
    if (acc.flags(i) & PARAM_NOSTORE) continue;
    if (acc.equal(i, reference)) {
      leftOut = true;
      continue;
    }
    if (!first) out += ", ";
    first = false;
    if (leftOut) {
      out += acc.id(i);
      out += '=';
    }
    out += acc.getText(i);
  }
  out += '\n';
}

void readCompactLine(param& acc, const std::string& text, std::size_t& pos) {
  if (pos > text.size()) pos = text.size();
  std::size_t lineEnd = text.find('\n', pos);
  const std::size_t nextPos = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
  if (lineEnd == std::string::npos) lineEnd = text.size();
  while (lineEnd > pos && (text[lineEnd - 1] == '\r' || text[lineEnd - 1] == '\n')) --lineEnd;

  int index = 0;
  std::size_t p = pos;
  while (true) {
    while (p < lineEnd && isBlank(text[p])) ++p;
    if (p >= lineEnd) break;
    if (text[p] == ',') {
      ++p;
      ++index;
      continue;
    }
    std::size_t fieldEnd = text.find(',', p);
    if (fieldEnd == std::string::npos || fieldEnd > lineEnd) fieldEnd = lineEnd;
    std::size_t valueStart = p;
    bool skip = false;
    if (std::isalpha(static_cast<unsigned char>(text[p]))) {
      const std::size_t eq = text.find('=', p);
      if (eq != std::string::npos && eq < fieldEnd) {
        const int named = acc.findIdPrefix(text.c_str() + p, eq - p);
        if (named >= 0) index = named;
        valueStart = eq + 1;
      } else {
        // A bare word is neither a value nor a name: the field is skipped.
        skip = true;
      }
    }
    if (!skip && acc.id(index) != nullptr)
      acc.set(index, std::string_view(text).substr(valueStart, fieldEnd - valueStart));
    ++index;
    p = fieldEnd < lineEnd ? fieldEnd + 1 : lineEnd;
  }
  pos = nextPos;
}

}  // namespace vorlund
