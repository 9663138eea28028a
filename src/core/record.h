// Object text records: the record form (a section line, key:value lines, an
// empty line) used by every file, and the compact one-line form used by the
// low-level body description. Both know an object only through its accessor.
#pragma once

#include <iosfwd>
#include <string>

#include "core/param.h"

namespace vorlund {

// Values this long or longer are written multi-line.
constexpr std::size_t RECORD_MULTILINE_LENGTH = 51;

// How a value is written so that it reads back exactly, whatever it holds:
// - one line, "key:value", when it is shorter than RECORD_MULTILINE_LENGTH and
//   holds no tilde and no control character (codes below 32);
// - otherwise multi-line: "key:~", a line end, the value with every "~"
//   doubled and every "\r\n" written as "\r\r\n", then a closing "~" and a
//   line end. The reader takes "~~" as one "~", ends the value at the first
//   single "~" and drops the carriage return of a "\r\n".
// Files written before values were escaped read as they always did: their
// values held no tilde.

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
