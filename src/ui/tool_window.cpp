#include "ui/tool_window.h"

#include <QHideEvent>
#include <QShowEvent>

namespace vorlund::ui {

ToolWindow::ToolWindow(UiContext& ctx, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
  setWindowTitle(caption);
}

void ToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) emit shownChanged(true);
}

void ToolWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) emit shownChanged(false);
}

}  // namespace vorlund::ui
