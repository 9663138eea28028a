// Helpers shared by the widget tests and the OpenGL window tests.
#pragma once

#include <QString>

#include "ui/prompt_service.h"

namespace vorlund::test {

// Whether a box titled `title` was shown, saying `text` (any text when empty).
inline bool shown(const ui::ScriptedPrompts& p, const QString& title, const QString& text = {}) {
  for (const auto& s : p.shown)
    if (s.title == title && (text.isEmpty() || s.text == text)) return true;
  return false;
}

}  // namespace vorlund::test
