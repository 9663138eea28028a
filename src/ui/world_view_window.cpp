#include "ui/world_view_window.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt_text.h"
#include "world/org.h"

namespace vorlund::ui {

WorldViewWindow::WorldViewWindow(UiContext& ctx, QWidget* parent, org* spied)
    : ToolWindow(ctx, spied ? "'" + toQt(spied->name) + "' spied" : QStringLiteral("Artificial world"), parent),
      spied_(spied != nullptr) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* picture = new QLabel(this);
  picture->setAlignment(Qt::AlignCenter);
  picture->setStyleSheet("background: #203040; color: #c0c8d0;");
  layout->addWidget(picture);
  resize(480, 360);
}

WorldViewWindow::~WorldViewWindow() = default;

void WorldViewWindow::redraw() { repaint(); }

void WorldViewWindow::updateCamera() {}

bool WorldViewWindow::followSelection() { return false; }

void WorldViewWindow::setOpenGLMode(bool on) { openGL_ = on; }

void WorldViewWindow::showOverlayText(const QString& text) { overlay_ = text; }

void WorldViewWindow::newDemoMotion(UiRandom&) {}

void WorldViewWindow::keepCameraAboveGround() {}

}  // namespace vorlund::ui
