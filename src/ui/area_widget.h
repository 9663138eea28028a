// The base of the software views' widgets: draws through an Area2D into an
// off-screen image of the widget's size and copies it to the screen; saves
// that image as a bitmap (Ctrl+B) and copies the view as a vector picture
// (Ctrl+C, Ctrl+Insert). Subclasses draw in render() and add menu items.
#pragma once

#include <QImage>
#include <QWidget>

#include "view/area2d.h"

class QMenu;
class QPainter;

namespace vorlund::ui {

// The credit line written under a picture copied to the clipboard.
constexpr const char* kPictureCredit = "Vorlund artificial life simulator";

class AreaWidget : public QWidget {
  Q_OBJECT

 public:
  explicit AreaWidget(QWidget* parent);

  // Renders the view into the back buffer now and returns it.
  const QImage& renderImage();
  const QImage& image() const { return image_; }

  // "Save bitmap snapshot": asks for a file and saves the current image. False when nothing was saved.
  bool saveSnapshot();
  // "Copy to Clipboard as metafile": an SVG picture with the credit line, and the bitmap.
  void copyToClipboard();

 protected:
  virtual void render(Area2D&) {}
  // Draws the whole view with `painter` on a w x h surface; by default
  // through an Area2D and render().
  virtual void paintView(QPainter& painter, int w, int h);
  // Items placed above the snapshot and copy items of the popup menu.
  virtual void addMenuItems(QMenu&) {}

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QImage image_;
};

}  // namespace vorlund::ui
