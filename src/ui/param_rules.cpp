#include "ui/param_rules.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "core/param.h"
#include "core/record.h"
#include "core/strutil.h"

namespace vorlund::ui {

namespace {

// Sliders need whole bounds at least this far apart.
constexpr double kSliderMinSpan = 2.0;
// Spins need bounds at least this far apart.
constexpr double kSpinMinSpan = 1.0;

bool isWhole(double v) { return std::floor(v) == v; }
bool fitsInt(double v) { return v >= static_cast<double>(INT_MIN) && v <= static_cast<double>(INT_MAX); }

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Bounds as the hint writes them: integers with "%ld", reals with "%lg".
std::string boundText(char letter, double v) {
  return letter == 'd' ? formatInt(static_cast<long>(v)) : formatReal(v);
}

}  // namespace

ControlKind controlKindFor(const char* type, std::string_view label) {
  const ParamType t = parseParamType(type);
  switch (t.letter) {
    case 's':
      if (t.bounded && t.lo == 1) return label == kGenotypeLabel ? ControlKind::GenotypeEditor : ControlKind::MultiLineText;
      return ControlKind::LineEdit;
    case 'd':
      if (std::strcmp(type, "d 0 1") == 0) return ControlKind::CheckBox;
      if (!t.labels.empty()) return ControlKind::Choice;
      return ControlKind::IntegerEdit;
    case 'f':
      return ControlKind::RealEdit;
    default:
      return ControlKind::None;
  }
}

std::vector<std::string> choiceLabels(const char* type) {
  std::vector<std::string> labels;
  std::string_view rest = parseParamType(type).labels;
  while (!rest.empty() && rest.front() == '~') {
    rest.remove_prefix(1);
    const std::size_t end = rest.find('~');
    labels.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end);
  }
  return labels;
}

std::string numericHint(const char* type) {
  const ParamType t = parseParamType(type);
  std::string hint = t.letter == 'd' ? "(integer" : "(real";
  if (t.bounded) hint += " " + boundText(t.letter, t.lo) + "\xC3\xB7" + boundText(t.letter, t.hi);
  return hint + ")";
}

int tickFrequency(double lo, double hi) {
  const double span = std::trunc((hi - lo) * 0.1);
  long f = span > static_cast<double>(INT_MAX) ? INT_MAX : static_cast<long>(span);
  for (long step : {5L, 10L, 100L, 1000L})
    if (f > step) f -= f % step;
  return f < 1 ? 1 : static_cast<int>(f);
}

NumericControls numericControls(const char* type, bool readOnly) {
  NumericControls c;
  const ParamType t = parseParamType(type);
  if (!t.bounded || !(t.hi >= t.lo)) return c;
  const double span = t.hi - t.lo;
  if (isWhole(t.lo) && isWhole(t.hi) && span >= kSliderMinSpan && fitsInt(t.lo) && fitsInt(t.hi)) {
    c.slider = true;
    c.sliderMin = static_cast<int>(t.lo);
    c.sliderMax = static_cast<int>(t.hi);
    c.tickFrequency = tickFrequency(t.lo, t.hi);
  }
  c.realMin = t.lo;
  c.realMax = t.hi;
  if (span > 0) c.realStep = std::pow(10.0, std::floor(std::log10(span)) - 1.0);
  const bool spinFits = t.lo >= kSpinMin && t.hi <= kSpinMax;
  if (spinFits) {
    c.spinMin = static_cast<int>(std::ceil(t.lo));
    c.spinMax = static_cast<int>(std::floor(t.hi));
  }
  c.spinEnabled = !readOnly && span >= kSpinMinSpan && spinFits;
  return c;
}

std::vector<std::string> splitGroupPath(std::string_view group) {
  std::vector<std::string> path;
  while (true) {
    const std::size_t colon = group.find(':');
    path.emplace_back(trim(group.substr(0, colon)));
    if (colon == std::string_view::npos) break;
    group.remove_prefix(colon + 1);
  }
  return path;
}

std::string joinLines(std::string_view controlText) {
  std::string out;
  out.reserve(controlText.size());
  for (char c : controlText)
    if (c != '\r') out.push_back(c);
  return out;
}

}  // namespace vorlund::ui
