// Numbers in files must not depend on the user's locale. Creating the Qt
// application object switches the whole process to the user's locale, so
// the program puts the numeric part back right after it.
#pragma once

#include <clocale>

namespace vorlund::ui {

inline void restoreFileNumberLocale() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace vorlund::ui
