// The body view ("Body"): the selected creature's or genotype's body, turning
// slowly while the simulation is stopped.
#pragma once

#include "ui/area_widget.h"
#include "ui/tool_window.h"
#include "view/body_view.h"

namespace vorlund {
class org;
class przodek;
}  // namespace vorlund

namespace vorlund::ui {

class BodyArea : public AreaWidget {
  Q_OBJECT
 public:
  BodyArea(BodyView& view, QWidget* parent) : AreaWidget(parent), view_(view) {}

 protected:
  void render(Area2D& area) override { view_.paint(area); }

 private:
  BodyView& view_;
};

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

  // What the lists' selection shows: a genotype, a living creature or nothing.
  void showGenotype(const przodek* genotype);
  void showCreature(org* creature);

  BodyView& view() { return view_; }
  BodyArea* area() const { return area_; }

 private:
  BodyView view_;
  BodyArea* area_;
};

}  // namespace vorlund::ui
