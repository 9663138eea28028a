// The abstract format operator: one object per genetic encoding that checks,
// repairs, mutates, crosses over, compares and colours genotype bodies of that
// encoding. The genetic manager owns the operators and strips/restores markers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlund {

class param;

// Result of the base operations when an encoding does not provide one.
constexpr int GENOPER_NOT_PROVIDED = -2;

// Style word bits (low 24 bits: colour, red in the low byte).
constexpr uint32_t GENSTYLE_INVALID = 1u << 24;  // not in the encoding's alphabet
constexpr uint32_t GENSTYLE_BOLD = 1u << 25;
constexpr uint32_t GENSTYLE_ITALIC = 1u << 26;
constexpr uint32_t GENSTYLE_STRIKEOUT = 1u << 27;
constexpr uint32_t genStyleRgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
// Characters inside a format marker: italic, green 200.
constexpr uint32_t GENSTYLE_MARKER = GENSTYLE_ITALIC | genStyleRgb(0, 200, 0);

class TGeno_fx {
 public:
  virtual ~TGeno_fx() = default;

  // 0 valid; -1 invalid but Validate can repair it; N > 0 invalid at 1-based position N.
  virtual int CheckValidity(const std::string& body);
  // Repairs in place: 0 unchanged, -1 repaired, N > 0 cannot be repaired.
  virtual int Validate(std::string& body);
  // Replaces the body by a mutant; 0 on success. `change` is the changed share (0..1).
  virtual int Mutate(std::string& body, float& change);
  // Replaces both bodies by the children; 0 on success.
  virtual int CrossOver(std::string& body1, std::string& body2, float& change1, float& change2);
  // Larger is more similar; the scale is the encoding's. Called with whole texts.
  virtual float Similarity(const std::string& text1, const std::string& text2);
  // The display style of the character at `position` of the whole text.
  virtual uint32_t Style(const std::string& text, int position);
  // Nonzero when a marker written before a body of this format ends with a line break.
  virtual int MarkerNewline();
  // The operator's parameter set (chained behind the manager's), or nullptr.
  virtual param* parameters() { return nullptr; }
  // State an operator carries from one call to the next (a random draw kept
  // for later), as numbers, so that a saved run can go on exactly; empty for none.
  virtual std::vector<double> carriedState() const { return {}; }
  // Takes back what carriedState gave; false when the numbers do not fit.
  virtual bool setCarriedState(const std::vector<double>& state) { return state.empty(); }
};

}  // namespace vorlund
