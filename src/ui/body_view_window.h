// The body view ("Body"): the selected creature's body, turning slowly while
// the simulation is stopped.
#pragma once

#include "ui/tool_window.h"

namespace vorlund::ui {

class BodyViewWindow : public ToolWindow {
  Q_OBJECT

 public:
  BodyViewWindow(UiContext& ctx, QWidget* parent);
  ~BodyViewWindow() override;

  // Draws the current state now (a real, synchronous paint).
  void redraw();
  // One step of the view's own animation; the main window's timer calls it
  // while the simulation is stopped and the Body button is down.
  void advanceAnimation();
};

}  // namespace vorlund::ui
