#include "ui/ui_context.h"

#include <algorithm>

namespace vorlund::ui {

UiContext::UiContext() : sim_(std::make_unique<symulator>()) {
  symulator& s = *sim_;
  s.creatures.beforeRemovalListeners.add(&UiContext::onCreatureLeaving, this);
  s.food.beforeRemovalListeners.add(&UiContext::onFoodLeaving, this);
  s.pool.beforeRemovalListeners.add(&UiContext::onRecordLeaving, this);
  s.pool.addedListeners.add(&UiContext::onRecordAdded, this);
  s.pool.changedListeners.add(&UiContext::onRecordChanged, this);
}

UiContext::~UiContext() {
  symulator& s = *sim_;
  s.creatures.beforeRemovalListeners.remove(&UiContext::onCreatureLeaving, this);
  s.food.beforeRemovalListeners.remove(&UiContext::onFoodLeaving, this);
  s.pool.beforeRemovalListeners.remove(&UiContext::onRecordLeaving, this);
  s.pool.addedListeners.remove(&UiContext::onRecordAdded, this);
  s.pool.changedListeners.remove(&UiContext::onRecordChanged, this);
}

void UiContext::selectCreatures(std::vector<org*> creatures) {
  if (creatures == creatures_) return;
  creatures_ = std::move(creatures);
  emit creatureSelectionChanged();
}

void UiContext::dropCreature(org* o) {
  auto it = std::find(creatures_.begin(), creatures_.end(), o);
  if (it == creatures_.end()) return;
  creatures_.erase(it);
  emit creatureSelectionChanged();
}

void UiContext::selectGenotype(przodek* genotype) {
  movedSelection_ = nullptr;
  if (genotype == genotype_) return;
  genotype_ = genotype;
  emit genotypeSelected(genotype);
}

void UiContext::setRunning(bool running) {
  if (running == running_) return;
  running_ = running;
  emit runningChanged(running);
}

void UiContext::onCreatureLeaving(void* self, int index) {
  auto* ctx = static_cast<UiContext*>(self);
  org* o = ctx->sim_->creatures.get(index);
  if (o == nullptr) return;
  emit ctx->orgLeaving(o);
  ctx->dropCreature(o);
}

void UiContext::onFoodLeaving(void* self, int index) {
  auto* ctx = static_cast<UiContext*>(self);
  org* o = ctx->sim_->food.get(index);
  if (o == nullptr) return;
  emit ctx->orgLeaving(o);
  ctx->dropCreature(o);
}

void UiContext::onRecordLeaving(void* self, int index) {
  auto* ctx = static_cast<UiContext*>(self);
  przodek* r = ctx->sim_->pool.get(index);
  if (r == nullptr) return;
  emit ctx->genotypeLeaving(r);
  if (ctx->genotype_ == r) {
    ctx->selectGenotype(nullptr);
    ctx->movedSelection_ = r;
    ctx->movedNumber_ = r->num;
  }
}

void UiContext::onRecordAdded(void* self, int index) {
  auto* ctx = static_cast<UiContext*>(self);
  przodek* r = ctx->sim_->pool.get(index);
  przodek* moved = ctx->movedSelection_;
  ctx->movedSelection_ = nullptr;
  if (r != nullptr && r == moved && r->num == ctx->movedNumber_) ctx->selectGenotype(r);
}

// The genetic history records no fitness itself: the first record whose
// parent is the changed genotype gets the genotype's current fitness.
void UiContext::onRecordChanged(void* self, int index) {
  auto* ctx = static_cast<UiContext*>(self);
  symulator& s = *ctx->sim_;
  przodek* r = s.pool.get(index);
  if (r == nullptr || s.genman.vars.gen_hist != 1) return;
  for (GenoLink& link : s.genman.history())
    if (link.parent == r->genotype) {
      link.fitness = static_cast<float>(s.fitness.fitness(*r));
      break;
    }
}

}  // namespace vorlund::ui
