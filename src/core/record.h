// Object text records: the record form (a section line, key:value lines, an
// empty line) used by every file, and the compact one-line form used by the
// low-level body description. Both know an object only through its accessor.
#pragma once

#include <iosfwd>
#include <string>

#include "core/param.h"

namespace vorlund {

// Values this long or longer (or holding a line break) are written multi-line.
constexpr std::size_t RECORD_MULTILINE_LENGTH = 51;

// Writes the section line, one line per stored parameter of the chain and the
// closing empty line. Returns nonzero if any write failed (writing goes on).
int writeRecord(param& acc, std::ostream& out);

// Reads key:value lines (the section line already consumed) until an empty
// line or the end of the stream. Unknown keys are skipped; values are set with
// clamping and read-only rules, and the set results are ignored.
void readRecord(param& acc, std::istream& in);

// Appends the compact form: the section prefix, then the values that differ
// from `reference` (an accessor of the same shape bound to a default object),
// positional until the first one left out, named ("id=") after it; then "\n".
void writeCompact(param& acc, param& reference, std::string& out);

// Reads one line of `text` starting at `pos` (advanced past the line feed) and
// sets the parameters it names. The section prefix must already be skipped.
void readCompactLine(param& acc, const std::string& text, std::size_t& pos);

}  // namespace vorlund
