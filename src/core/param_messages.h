// What a parameter set from outside (a dialog, a script) reports: the
// bounds-warning line of a clamped value and the refusal of a value that
// cannot be stored, so that every front end words them alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlund {

class param;

// Longest value text quoted in a warning before it is shortened.
inline constexpr std::size_t kWarningValueChars = 60;

// One warning line for a set result (bits 4 and 8), or "" when the value was not clamped.
std::string boundsWarningLine(std::string_view displayName, std::string_view group, int setFlags,
                              std::string_view storedValue);

// Whether a text value would be read back differently from a record: a tilde
// at its start, or anywhere in a value written in the multi-line form.
bool breaksRecordFormat(std::string_view value);
// The warning line for such a refused value.
std::string refusedValueLine(std::string_view displayName, std::string_view group);

// The name of the group that holds chain index i ("" when it has none).
std::string parameterGroupName(const param& chain, int i);

// A set through a chain, checked first: read-only parameters, texts that
// would break the record format and numbers that are not numbers are refused
// (nothing changes); a clamped value is stored and warned about.
struct CheckedSet {
  int flags = 0;         // the set-result bits (0 when refused)
  bool refused = false;  // nothing was changed
  std::string message;   // the refusal or the bounds warning, without a line break; "" when neither
};
CheckedSet setParameterChecked(param& chain, int i, std::string_view text);

}  // namespace vorlund
