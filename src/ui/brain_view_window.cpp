#include "ui/brain_view_window.h"

namespace vorlund::ui {

BrainViewWindow::BrainViewWindow(UiContext& ctx, QWidget* parent)
    : ToolWindow(ctx, QStringLiteral("Brain"), parent) {
  resize(240, 180);
}

BrainViewWindow::~BrainViewWindow() = default;

void BrainViewWindow::redraw() { repaint(); }

bool BrainViewWindow::showsCreature() const { return false; }

int BrainViewWindow::neuronCount() const { return 0; }

void BrainViewWindow::selectNeuron(int) {}

}  // namespace vorlund::ui
