// Holds back the repaints of one window to at most one per interval while a
// condition holds (the run is on): lists that change with every birth and
// death would otherwise lay out their text many times a second and take that
// time from the run.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QWidget;

namespace vorlund::ui {

class PaintThrottle : public QObject {
 public:
  // Shortest time between two repaints of the window while `active` is true.
  static constexpr int kIntervalMs = 100;

  // Watches `window` (a top-level widget, which also owns this object).
  PaintThrottle(QWidget* window, std::function<bool()> active);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<bool()> active_;
  QElapsedTimer sinceRepaint_;
  bool held_ = false;  // a repaint is held back and will be asked for again
};

}  // namespace vorlund::ui
