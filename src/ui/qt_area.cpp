#include "ui/qt_area.h"

#include <QFontMetrics>

#include "ui/qt_text.h"

namespace vorlund::ui {

QtArea::QtArea(QPainter& painter, int width, int height) : p_(painter), w_(width), h_(height) {
  p_.setRenderHint(QPainter::Antialiasing, false);
  applyColor(rgbOf(currentColor()));
}

void QtArea::clear() {
  const Rgb bg = rgbOf(VC_BACKGROUND);
  p_.fillRect(0, 0, w_, h_, QColor(bg.r, bg.g, bg.b));
}

void QtArea::applyColor(Rgb rgb) {
  color_ = QColor(rgb.r, rgb.g, rgb.b);
  p_.setPen(color_);
}

void QtArea::line(int x1, int y1, int x2, int y2) {
  p_.setPen(color_);
  p_.drawLine(x1, y1, x2, y2);
}

void QtArea::rect(int x, int y, int w, int h, bool filled) {
  if (filled) {
    p_.fillRect(x, y, w, h, color_);
  } else {
    p_.setPen(color_);
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(x, y, w - 1, h - 1);
  }
}

void QtArea::ellipse(int cx, int cy, int rx, int ry, bool filled) {
  p_.setPen(color_);
  p_.setBrush(filled ? QBrush(color_) : QBrush(Qt::NoBrush));
  p_.drawEllipse(QPoint(cx, cy), rx, ry);
  p_.setBrush(Qt::NoBrush);
}

int QtArea::lineHeight() const { return QFontMetrics(p_.font()).height(); }

void QtArea::drawText(int x, int y, std::string_view s) {
  p_.setPen(color_);
  const QFontMetrics fm(p_.font());
  p_.drawText(x, y + fm.ascent(), toQt(s));
}

void QtCanvas::ellipse(double cx, double cy, double rx, double ry, CanvasColor c) {
  p_.setPen(QColor(c.r, c.g, c.b));
  p_.setBrush(Qt::NoBrush);
  p_.drawEllipse(QPointF(cx, cy), rx, ry);
}

void QtCanvas::line(double x1, double y1, double x2, double y2, CanvasColor c, bool dashed) {
  QPen pen(QColor(c.r, c.g, c.b));
  pen.setStyle(dashed ? Qt::DashLine : Qt::SolidLine);
  p_.setPen(pen);
  p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtCanvas::text(double x, double y, const std::string& s, CanvasColor c) {
  p_.setPen(QColor(c.r, c.g, c.b));
  p_.drawText(QPointF(x, y), QString::fromStdString(s));
}

}  // namespace vorlund::ui
