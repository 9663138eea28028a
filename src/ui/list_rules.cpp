#include "ui/list_rules.h"

namespace vorlund::ui {

namespace {

// A line break before an appended mark, unless the text is empty or already ends with one.
void appendOnOwnLine(std::string& text, std::string_view mark, bool evenWhenEmpty) {
  if ((evenWhenEmpty || !text.empty()) && (text.empty() || text.back() != '\n')) text += '\n';
  text += mark;
}

}  // namespace

bool columnShown(std::string_view visibility, int column) {
  if (column < 0 || static_cast<std::size_t>(column) >= visibility.size()) return true;
  return visibility[static_cast<std::size_t>(column)] != '0';
}

std::string toggleColumn(std::string visibility, int column) {
  if (column < 0) return visibility;
  const auto at = static_cast<std::size_t>(column);
  if (visibility.size() <= at) visibility.resize(at + 1, '1');
  visibility[at] = visibility[at] == '0' ? '1' : '0';
  return visibility;
}

int columnWeight(char typeLetter, bool shown) {
  if (!shown) return kHiddenColumnWeight;
  if (typeLetter == 'd') return kIntegerColumnWeight;
  if (typeLetter == 'f') return kRealColumnWeight;
  return kTextColumnWeight;
}

std::vector<int> adjustedWidths(const std::vector<int>& weights, int clientWidth) {
  long sum = kAdjustSlack;
  for (int w : weights) sum += w;
  std::vector<int> widths;
  widths.reserve(weights.size());
  for (int w : weights) widths.push_back(static_cast<int>(static_cast<long>(w) * clientWidth / sum));
  return widths;
}

std::string infoAfterNew(const std::string& info, bool changed) {
  std::string out = info;
  // An empty info gets the mark with a leading line break, as it always did.
  if (changed && info != kManuallyCreated) appendOnOwnLine(out, kManuallyCreated, true);
  return out;
}

std::string copyName(const std::string& name) { return name + " (copy)"; }

std::string copyInfo(const std::string& info, const std::string& copiedName) {
  std::string out = info;
  appendOnOwnLine(out, "(copy of '" + copiedName + "')", false);
  return out;
}

std::string infoAfterEdit(const std::string& info, bool changed) {
  if (!changed || info.find(kManuallyModified) != std::string::npos || info.find(kManuallyCreated) != std::string::npos)
    return info;
  std::string out = info;
  appendOnOwnLine(out, kManuallyModified, true);
  return out;
}

}  // namespace vorlund::ui
