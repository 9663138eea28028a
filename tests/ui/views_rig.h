// Helpers for the software views' widget tests: a creature with neurons and
// receptors living in the context's world, and pixel counts.
#pragma once

#include <QImage>
#include <memory>

#include "ui/ui_context.h"
#include "view/area2d.h"
#include "world/org.h"

namespace vorlund::test {

// Three sticks in a row; neuron 0 drives a rotating muscle from a touch
// receptor, neuron 1 a bending muscle from neuron 0 and an equilibrium receptor.
inline org* addWiredCreature(ui::UiContext& ctx) {
  symulator& sim = ctx.sim();
  auto o = std::make_unique<org>(&sim.geneticsContext(), "");
  o->readFormat0(
      "p:10,10,0\np:11,10,0\np:12,10,0\np:13,10,0\nj:0,1\nj:1,2\nj:2,3\n"
      "neu:0,1\ninp:0,2,1\nneu:1,2\ninp:1,0,1,-1\ninp:1,3,1\n");
  o->computeBoundingBox();
  o->center = o->meanPosition();
  return sim.addCreature(std::move(o));
}

// Pixels of `image` whose colour `pred` accepts.
template <class Pred>
int countPixels(const QImage& image, Pred pred) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += pred(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

inline int pixelsOf(const QImage& image, int color) {
  const Rgb c = Area2D::rgbOf(color);
  return countPixels(image, [&](QColor p) { return p.red() == c.r && p.green() == c.g && p.blue() == c.b; });
}

}  // namespace vorlund::test
