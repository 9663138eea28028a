#include "core/param_messages.h"

#include <cmath>

#include "core/param.h"
#include "core/record.h"
#include "core/strutil.h"

namespace vorlund {

namespace {

std::string withoutLineBreak(std::string line) {
  while (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

// Whether the whole text (blanks around it aside) is one number of the type.
bool isNumberText(std::string_view text, char letter) {
  std::size_t used = 0;
  if (letter == 'd') {
    long long v = 0;
    used = parseInteger(text, v);
  } else {
    double v = 0;
    used = parseReal(text, v);
    if (used > 0 && std::isnan(v)) return false;
  }
  if (used == 0) return false;
  for (std::size_t k = used; k < text.size(); ++k)
    if (text[k] != ' ' && text[k] != '\t') return false;
  return true;
}

}  // namespace

std::string boundsWarningLine(std::string_view displayName, std::string_view group, int setFlags,
                              std::string_view storedValue) {
  const char* what = nullptr;
  if (setFlags & PSET_HITMIN)
    what = "') too small (adjusted to ";
  else if (setFlags & PSET_HITMAX)
    what = "') too big (adjusted to ";
  if (what == nullptr) return {};
  // A cut genotype would fill the screen; the start says which value it was.
  std::string value(storedValue.substr(0, kWarningValueChars));
  if (storedValue.size() > kWarningValueChars) value += "...";
  return std::string(displayName) + " value (in '" + std::string(group) + what + value + ")\n";
}

bool breaksRecordFormat(std::string_view value) {
  if (value.empty()) return false;
  if (value.front() == '~') return true;
  const bool multiLine = value.size() >= RECORD_MULTILINE_LENGTH || value.find_first_of("\r\n") != std::string_view::npos;
  return multiLine && value.find('~') != std::string_view::npos;
}

std::string refusedValueLine(std::string_view displayName, std::string_view group) {
  return std::string(displayName) + " value (in '" + std::string(group) + "') cannot hold '~' here (not changed)\n";
}

std::string parameterGroupName(const param& chain, int i) {
  const param* p = &chain;
  int local = i;
  while (p != nullptr && local >= p->paramCount()) {
    local -= p->paramCount();
    p = p->next();
  }
  if (p == nullptr || local < 0) return {};
  const char* g = p->groupName(p->group(local));
  return g ? g : "";
}

CheckedSet setParameterChecked(param& chain, int i, std::string_view text) {
  CheckedSet r;
  const char* name = chain.name(i);
  const std::string shown = name ? name : (chain.id(i) ? chain.id(i) : "");
  const std::string group = parameterGroupName(chain, i);
  const char letter = chain.typeLetter(i);
  if ((chain.flags(i) & PARAM_READONLY) != 0) {
    r.refused = true;
    r.message = shown + " value (in '" + group + "') is read-only (not changed)";
  } else if (letter == 's' && breaksRecordFormat(text)) {
    r.refused = true;
    r.message = withoutLineBreak(refusedValueLine(shown, group));
  } else if ((letter == 'd' || letter == 'f') && !isNumberText(text, letter)) {
    r.refused = true;
    r.message = shown + " value (in '" + group + "') must be " + (letter == 'd' ? "a whole number" : "a number") +
                ", not '" + std::string(text.substr(0, kWarningValueChars)) + "' (not changed)";
  }
  if (r.refused) return r;
  r.flags = chain.set(i, text);
  r.message = withoutLineBreak(boundsWarningLine(shown, group, r.flags, chain.getText(i)));
  return r;
}

}  // namespace vorlund
