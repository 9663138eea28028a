#include "ui/window_layouts.h"

#include <algorithm>

namespace vorlund::ui {

namespace {

LayoutRect rect(int x, int y, int w, int h) { return {x, y, std::max(0, w), std::max(0, h)}; }

}  // namespace

WindowLayout defaultLayout(int sw, int sh) {
  sw = std::max(0, sw);
  sh = std::max(0, sh);
  WindowLayout l;
  l.main = rect(0, 0, sw / 3, sh * 5 / 12);
  l.genotypes = rect(0, l.main.bottom(), sw, sh / 3);
  l.individuals = rect(0, l.genotypes.bottom(), sw, sh / 4);
  l.world = rect(sw / 3, 0, sw / 2, l.main.h);
  const int bodyLeft = l.world.right();
  l.body = rect(bodyLeft, 0, sw - bodyLeft, l.main.h / 2);
  l.brain = rect(bodyLeft, l.body.h, sw - bodyLeft, l.main.h / 2);
  l.messages = rect(sw / 2, sh / 3, sw / 2, sh * 2 / 3);
  l.evolution = l.messages;
  return l;
}

WindowLayout bodyBrainLayout(int sw, int sh, int frameW, int frameH) {
  WindowLayout l = defaultLayout(sw, sh);
  const int h = l.main.h;
  const int brainW = std::max(0, sw) / 6;
  l.brain = rect(std::max(0, sw) - brainW, 0, brainW, h);
  const int inside = std::max(0, h - frameH);
  const int bodyW = inside + frameW;
  l.body = rect(l.brain.x - bodyW, 0, bodyW, h);
  l.world = rect(sw / 3, 0, l.body.x - sw / 3, h);
  return l;
}

}  // namespace vorlund::ui
