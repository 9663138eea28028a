#include "ui/paint_throttle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace vorlund::ui {

PaintThrottle::PaintThrottle(QWidget* window, std::function<bool()> active)
    : QObject(window), window_(window), active_(std::move(active)) {
  window_->installEventFilter(this);
}

bool PaintThrottle::eventFilter(QObject* watched, QEvent* event) {
  // A window's dirty widgets are all painted when it receives UpdateRequest;
  // one held back keeps them dirty until it is asked for again.
  if (watched != window_ || event->type() != QEvent::UpdateRequest) return false;
  if (!active_() || !sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= kIntervalMs) {
    sinceRepaint_.start();
    return false;
  }
  if (!held_) {
    held_ = true;
    const int wait = static_cast<int>(std::max<qint64>(0, kIntervalMs - sinceRepaint_.elapsed()));
    QTimer::singleShot(wait, this, [this] {
      held_ = false;
      QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
  }
  return true;
}

}  // namespace vorlund::ui
