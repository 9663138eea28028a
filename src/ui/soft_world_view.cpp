#include "ui/soft_world_view.h"

#include "ui/ui_context.h"
#include "view/camera.h"

namespace vorlund::ui {

SoftWorldView::SoftWorldView(UiContext& ctx, QWidget* parent, Camera* camera, bool mainView)
    : AreaWidget(parent), ctx_(ctx), ctxGuard_(&ctx), camera_(camera), mainView_(mainView) {
  if (mainView_) ctx.settingsChain().join(ChainSlot::WorldDisplay, &params_);
  painter_.setOnLost([this] { update(); });
  connect(&ctx, &UiContext::creatureSelectionChanged, this,
          [this] {
            painter_.select(ctx_.selectedCreature(), &ctx_.sim());
            update();
          });
  // Every drawn step: the charts take their sample then, and the picture follows the world.
  connect(&ctx, &UiContext::stepped, this, [this] {
    if (isVisible()) update();
  });
}

SoftWorldView::~SoftWorldView() {
  painter_.select(nullptr, nullptr);
  // The main window's context may already be gone (Qt deletes child windows last).
  if (mainView_ && ctxGuard_) ctxGuard_->settingsChain().leave(ChainSlot::WorldDisplay);
}

void SoftWorldView::render(Area2D& area) {
  const Life& life = ctx_.sim();
  Vec3 target;
  double scale = 0;
  if (camera_ != nullptr) {
    target = camera_->target;
    scale = camera_->scale;
  } else {
    Camera whole;
    whole.computeGoal(life.world, target, scale);
  }
  painter_.paint(area, life, target, scale, ctx_.sim().stepCount);
}

}  // namespace vorlund::ui
