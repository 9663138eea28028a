#include "genetics/f1/f1_edits.h"

#include <algorithm>

#include "core/message.h"

namespace vorlund::f1 {

int applyMutations(std::string& text, F1EditList& edits) {
  long shift = 0;      // running length change
  long skipBelow = -1; // entries starting before this are covered by an earlier one
  int count = 0;
  for (const F1Edit& e : edits) {
    if (e.text.size() > kMaxEditText) {
      logMessage("TGeno_f1", "ApplyMutations", "Mutation too long!", LOG_ERROR);
      edits.clear();
      return 0;
    }
    if (e.start < skipBelow) continue;
    const long span = static_cast<long>(e.end) - e.start;
    count += static_cast<int>(std::max<long>(static_cast<long>(e.text.size()), span));
    const long a = e.start + shift;
    const long b = e.end + shift;
    if (a < 0 || b < a || b > static_cast<long>(text.size())) {
      logMessage("TGeno_f1", "ApplyMutations", "Out of range", LOG_ERROR);
      continue;
    }
    text.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), e.text);
    shift += static_cast<long>(e.text.size()) - span;
    skipBelow = std::max(skipBelow, e.end + shift);
  }
  return count;
}

}  // namespace vorlund::f1
