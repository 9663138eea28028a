// Editor colouring of encoding-1 characters.
#include "genetics/f1/f1_alphabet.h"
#include "genetics/f1/geno_f1.h"

namespace vorlund {

namespace {

constexpr uint32_t kStyleNumber = genStyleRgb(200, 0, 0);
constexpr uint32_t kStyleModifier = genStyleRgb(100, 100, 100);
constexpr uint32_t kStyleReceptor = GENSTYLE_BOLD | genStyleRgb(0, 150, 0);
constexpr uint32_t kStyleMuscle = GENSTYLE_BOLD | genStyleRgb(0, 0, 200);
constexpr uint32_t kStyleStructure = GENSTYLE_BOLD;

// 'S' inside an open neuron is the receptor, elsewhere the modifier.
bool insideNeuron(const std::string& text, std::size_t position) {
  for (std::size_t i = position; i > 0; --i) {
    if (text[i - 1] == '[') return true;
    if (text[i - 1] == ']') return false;
  }
  return false;
}

}  // namespace

uint32_t TGeno_f1::Style(const std::string& text, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= text.size()) return 0;
  const auto at = static_cast<std::size_t>(position);
  const char c = text[at];
  if (c == '\0' || !f1::inSet(f1::kAlphabet, c)) return GENSTYLE_INVALID;
  if (c == 'X' || c == ' ') return 0;
  if (c == 'S') return insideNeuron(text, at) ? kStyleReceptor : kStyleModifier;
  if (f1::isDigit(c) || f1::inSet("-[]:.", c)) return kStyleNumber;
  if (f1::isModifier(c)) return kStyleModifier;
  if (f1::isReceptor(c)) return kStyleReceptor;
  if (f1::isMuscle(c)) return kStyleMuscle;
  return kStyleStructure;  // ",()"
}

}  // namespace vorlund
