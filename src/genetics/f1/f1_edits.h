// The edit list of one mutation pass: replacements recorded against the text
// as it was during the pass, applied afterwards in recording order.
#pragma once

#include <string>
#include <vector>

namespace vorlund::f1 {

// Replacement texts longer than this mean a broken pass; the whole list is dropped.
constexpr std::size_t kMaxEditText = 497;

struct F1Edit {
  int start;  // first replaced character
  int end;    // one past the last replaced character (== start for an insertion)
  std::string text;
};

using F1EditList = std::vector<F1Edit>;

// Applies the list to `text` and returns the number of changed characters. Of
// several edits that start inside what an earlier edit already covered (by the
// recorded offset against the running length change) only the first is applied.
// The list is cleared when it holds an over-long replacement.
int applyMutations(std::string& text, F1EditList& edits);

}  // namespace vorlund::f1
