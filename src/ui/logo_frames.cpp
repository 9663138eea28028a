#include "ui/logo_frames.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace vorlund::ui {

namespace {

QPixmap drawFrame(int index) {
  QPixmap pm(kLogoSize, kLogoSize);
  pm.fill(QColor(18, 40, 58));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const double phase = 2.0 * std::numbers::pi * index / kLogoFrameCount;
  // Ground.
  p.fillRect(QRectF(0, 62, kLogoSize, 18), QColor(46, 92, 52));
  // Body: a bent spine of three sticks, legs swinging in opposite phase.
  const QPointF hip(32 + 3 * std::sin(phase), 40 + 2 * std::cos(2 * phase));
  const QPointF shoulder(hip.x() + 20, hip.y() - 4 - 2 * std::sin(phase));
  const QPointF head(shoulder.x() + 8, shoulder.y() - 10);
  const auto foot = [](QPointF from, double angle) {
    return QPointF(from.x() + 20 * std::sin(angle), from.y() + 21 * std::cos(angle) * 0.98);
  };
  const double swing = 0.45 * std::sin(phase);
  QPen stick(QColor(232, 214, 160), 3.2, Qt::SolidLine, Qt::RoundCap);
  p.setPen(stick);
  p.drawLine(hip, shoulder);
  p.drawLine(shoulder, head);
  p.drawLine(hip, foot(hip, swing));
  p.drawLine(hip, foot(hip, -swing));
  p.drawLine(shoulder, foot(shoulder, -swing));
  p.drawLine(shoulder, foot(shoulder, swing));
  // Stick ends.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 120, 60));
  for (const QPointF& q : {hip, shoulder, head}) p.drawEllipse(q, 3.2, 3.2);
  // A neuron blinking in the head.
  p.setBrush(index % 2 == 0 ? QColor(120, 220, 255) : QColor(60, 120, 160));
  p.drawEllipse(head, 2.0, 2.0);
  return pm;
}

}  // namespace

QPixmap logoFrame(int index) {
  // Drawn each time: a cache would outlive the application object.
  return drawFrame(((index % kLogoFrameCount) + kLogoFrameCount) % kLogoFrameCount);
}

}  // namespace vorlund::ui
