// What the message window counts, free of widgets: whether a message repeats
// the one before it (so a flood shows as one line "... (repeated N times)"),
// and how many warnings and errors arrived while the window was not looked at.
#pragma once

#include <string>
#include <string_view>

namespace vorlund::ui {

class MessageTally {
 public:
  // The level from which a message counts as news for the Messages button.
  static constexpr int kNewsLevel = 1;

  // Notes one message; returns how many times in a row it has now come (1 for
  // a message that differs from the previous one in any part).
  int add(std::string_view source, std::string_view function, std::string_view text, int level, bool watched);
  // The window was opened: nothing is new any more.
  void seen() {
    unseen_ = 0;
    worstUnseen_ = -1;
  }
  int unseen() const { return unseen_; }
  int worstUnseen() const { return worstUnseen_; }

  // The leaf text of a message that came `times` times in a row.
  static std::string leafText(std::string_view text, int times);

 private:
  std::string source_, function_, text_;
  int level_ = -1;
  int times_ = 0;
  int unseen_ = 0;
  int worstUnseen_ = -1;
};

}  // namespace vorlund::ui
