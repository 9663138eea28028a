#include "ui/area_widget.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include "ui/prompt_service.h"
#include "ui/qt_area.h"

namespace vorlund::ui {

AreaWidget::AreaWidget(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(16, 16);
}

const QImage& AreaWidget::renderImage() {
  const QSize s = size().expandedTo(QSize(1, 1));
  if (image_.size() != s) image_ = QImage(s, QImage::Format_RGB32);
  QPainter painter(&image_);
  paintView(painter, s.width(), s.height());
  return image_;
}

void AreaWidget::paintView(QPainter& painter, int w, int h) {
  QtArea area(painter, w, h);
  render(area);
}

void AreaWidget::paintEvent(QPaintEvent*) {
  renderImage();
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

bool AreaWidget::saveSnapshot() {
  renderImage();
  QString file = prompts().saveFileName(this, "Save snapshot as:", QString(), "Bitmaps (*.bmp)");
  if (file.isEmpty()) return false;
  if (QFileInfo(file).suffix().isEmpty()) file += ".bmp";
  if (!image_.save(file, "BMP")) {
    prompts().message(this, PromptKind::Warning, "Warning", "Cannot save the snapshot to " + file);
    return false;
  }
  return true;
}

void AreaWidget::copyToClipboard() {
  const QImage& bitmap = renderImage();
  QByteArray svg;
  QBuffer buffer(&svg);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  const int w = bitmap.width(), h = bitmap.height();
  generator.setSize(QSize(w, h + 16));
  generator.setViewBox(QRect(0, 0, w, h + 16));
  {
    QPainter painter(&generator);
    paintView(painter, w, h);
    painter.setPen(Qt::gray);
    painter.drawText(2, h + 12, kPictureCredit);
  }
  auto* mime = new QMimeData;
  mime->setData("image/svg+xml", svg);
  mime->setImageData(bitmap);
  QApplication::clipboard()->setMimeData(mime);
}

void AreaWidget::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  if (ctrl && event->key() == Qt::Key_B) {
    saveSnapshot();
  } else if (ctrl && (event->key() == Qt::Key_C || event->key() == Qt::Key_Insert)) {
    copyToClipboard();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void AreaWidget::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  addMenuItems(menu);
  menu.addAction("Save bitmap snapshot\t Ctrl-B", this, [this] { saveSnapshot(); });
  menu.addAction("Copy to Clipboard as metafile\t Ctrl-C", this, [this] { copyToClipboard(); });
  menu.exec(event->globalPos());
}

}  // namespace vorlund::ui
