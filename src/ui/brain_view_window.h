// The brain view ("Brain"): the selected creature's neural network.
#pragma once

#include "ui/tool_window.h"

namespace vorlund::ui {

class BrainViewWindow : public ToolWindow {
  Q_OBJECT

 public:
  BrainViewWindow(UiContext& ctx, QWidget* parent);
  ~BrainViewWindow() override;

  // Draws the current state now (a real, synchronous paint).
  void redraw();
  // Whether a creature is shown (the stopped simulation redraws only then).
  bool showsCreature() const;
  // Neurons of the shown network, and selecting one of them (the demo does).
  int neuronCount() const;
  void selectNeuron(int index);
};

}  // namespace vorlund::ui
