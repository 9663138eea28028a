// The main window's logo animation: a stick creature taking a stride, drawn
// in code, one frame per call.
#pragma once

#include <QPixmap>

namespace vorlund::ui {

constexpr int kLogoSize = 80;
constexpr int kLogoFrameCount = 12;

// Frame `index` (taken modulo kLogoFrameCount), kLogoSize pixels square.
QPixmap logoFrame(int index);

}  // namespace vorlund::ui
