// The base of the desktop program's secondary windows (lists, views, the
// message window): a top-level window owned by the main window that tells
// whether it is shown, so the main window's toggle buttons follow it.
// Closing such a window only hides it.
#pragma once

#include <QWidget>

namespace vorlund::ui {

class UiContext;

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  ToolWindow(UiContext& ctx, const QString& caption, QWidget* parent);

  UiContext& context() const { return ctx_; }

 signals:
  // Shown or hidden by any means (toggle, layout, the window's close button).
  void shownChanged(bool shown);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  UiContext& ctx_;
};

}  // namespace vorlund::ui
