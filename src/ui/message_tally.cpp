#include "ui/message_tally.h"

#include <algorithm>

namespace vorlund::ui {

int MessageTally::add(std::string_view source, std::string_view function, std::string_view text, int level,
                      bool watched) {
  if (level == level_ && text == text_ && function == function_ && source == source_) {
    ++times_;
  } else {
    source_ = source;
    function_ = function;
    text_ = text;
    level_ = level;
    times_ = 1;
  }
  if (!watched && level >= kNewsLevel) {
    ++unseen_;
    worstUnseen_ = std::max(worstUnseen_, level);
  }
  return times_;
}

std::string MessageTally::leafText(std::string_view text, int times) {
  std::string leaf(text);
  if (times > 1) leaf += " (repeated " + std::to_string(times) + " times)";
  return leaf;
}

}  // namespace vorlund::ui
