#include "ui/body_view_window.h"

namespace vorlund::ui {

BodyViewWindow::BodyViewWindow(UiContext& ctx, QWidget* parent) : ToolWindow(ctx, QStringLiteral("Body"), parent) {
  resize(240, 180);
}

BodyViewWindow::~BodyViewWindow() = default;

void BodyViewWindow::redraw() { repaint(); }

void BodyViewWindow::advanceAnimation() {}

}  // namespace vorlund::ui
