#include "genetics/f1/f1_repair.h"

#include <vector>

#include "genetics/f1/f1_alphabet.h"

namespace vorlund::f1 {

bool balanceParentheses(std::string& text) {
  bool changed = false;
  int open = 0;
  for (char& c : text) {
    if (c == '(') {
      ++open;
    } else if (c == ')') {
      if (open == 0) {
        c = ' ';
        changed = true;
      } else {
        --open;
      }
    }
  }
  // Blanking the last '(' lowers the depth only behind it, where only ')' stand
  // and the depth is at least 1, so no ')' loses its partner: blanking the last
  // `open` ones at once is the same as repeating the step.
  for (std::size_t i = text.size(); i > 0 && open > 0; --i) {
    if (text[i - 1] == '(') {
      text[i - 1] = ' ';
      --open;
      changed = true;
    }
  }
  return changed;
}

namespace {

bool holdsOnly(const std::string& text, std::size_t from, bool neuron) {
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (isWhite(c) || c == ',' || (neuron && isMuscle(c))) continue;
    return false;
  }
  return true;
}

}  // namespace

bool removeEmptyGroups(std::string& text) {
  // One pass with a stack of open brackets over the text built so far: a group
  // is checked when it closes, after the groups inside it were already removed.
  std::string out;
  out.reserve(text.size());
  std::vector<std::size_t> open;
  bool changed = false;
  // An empty branching takes along what only it gave meaning to: the modifiers
  // in front of it and the text behind it that development skips. Otherwise
  // they would come alive and turn a valid genotype invalid.
  bool dropping = false;
  for (char c : text) {
    if (dropping) {
      if (c != ',' && c != ')') continue;
      dropping = false;
    }
    if ((c == ')' || c == ']') && !open.empty()) {
      const std::size_t start = open.back();
      const char opener = out[start];
      if ((c == ')' && opener == '(') || (c == ']' && opener == '[')) {
        open.pop_back();
        if (holdsOnly(out, start + 1, c == ']')) {
          out.resize(start);
          if (c == ')') {
            while (!out.empty() && (isModifier(out.back()) || isWhite(out.back()))) out.pop_back();
            dropping = true;
          }
          changed = true;
          continue;
        }
      }
    }
    if (c == '(' || c == '[') open.push_back(out.size());
    out += c;
  }
  if (changed) text.swap(out);
  return changed;
}

void squeezeWhiteSpace(std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool inNeuron = false;
  bool lastWhite = false;
  for (char c : text) {
    if (c == '[') inNeuron = true;
    if (c == ']') inNeuron = false;
    if (isWhite(c)) {
      if (inNeuron && !lastWhite) out += c;
      lastWhite = true;
      continue;
    }
    lastWhite = false;
    out += c;
  }
  text.swap(out);
}

void trimLeadingWhiteSpace(std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && isWhite(text[i])) ++i;
  text.erase(0, i);
}

}  // namespace vorlund::f1
