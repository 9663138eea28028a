#include "view/soft_world_painter.h"

#include <algorithm>
#include <cmath>

#include "core/strutil.h"
#include "view/receptor_letter.h"
#include "world/life.h"
#include "world/org.h"
#include "world/org_param.h"

namespace vorlund {

namespace {

// Largest radius of an energy ball (world units).
constexpr double kBallMaxRadius = 0.5;
// Fence posts are this high (world units).
constexpr double kFenceHeight = 1.0;
// A contact mark is a cross this wide (world units).
constexpr double kContactMark = 0.15;
// Specks scatter this far around a touching end (world units), this many per end.
constexpr double kSpeckSpread = 0.4;
constexpr int kSpecksPerEnd = 2;
// The pointer: an arrow this long ending this far above the creature (pixels).
constexpr int kPointerLength = 24;
constexpr int kPointerGap = 6;
constexpr int kPointerHead = 5;
// Terrain lines of a blocks world are sampled this many times per grid cell.
constexpr int kGridSamplesPerCell = 8;

Vec3 stickMiddle(const est& k) { return (k.e[0]->p + k.e[1]->p) * 0.5; }

}  // namespace

SoftWorldPainter::SoftWorldPainter(const WorldDisplayFields& settings) : settings_(settings) {
  watch_.setOnLost([this] {
    charts_[0].clear();
    charts_[1].clear();
    if (onLost_) onLost_();
  });
}

void SoftWorldPainter::select(org* creature, Life* life) {
  if (creature == watch_.get()) return;
  watch_.watch(creature, life);
  charts_[0].clear();
  charts_[1].clear();
}

void SoftWorldPainter::line3(Area2D& area, const Vec3& a, const Vec3& b) {
  int x1, y1, x2, y2;
  proj_.project(a, x1, y1);
  proj_.project(b, x2, y2);
  area.line(x1, y1, x2, y2);
}

void SoftWorldPainter::paint(Area2D& area, const Life& life, const Vec3& target, double scale, long step) {
  const int W = area.width(), H = area.height();
  proj_.set(W, H, target, scale);
  area.clear();
  drawWorld(area, life);
  for (int i = 0; i < life.food.size(); ++i) drawObject(area, life, *life.food.get(i), false);
  for (int i = 0; i < life.creatures.size(); ++i) drawObject(area, life, *life.creatures.get(i), true);
  if (org* sel = watch_.get()) {
    if (settings_.w3_ptr) drawPointer(area, *sel);
    const bool sample = step < 0 || step != sampledStep_;
    sampledStep_ = step;
    drawCharts(area, sample);
  }
}

void SoftWorldPainter::drawWorld(Area2D& area, const Life& life) {
  const world& w = life.world;
  const double size = w.activeSize();
  const int q = settings_.w3_qual;
  if (q >= QUALITY_SHADOWS) {
    const int n = softGridCells(size);
    const double step = softGridStep(size);
    const bool flat = w.activeType() == WORLD_FLAT;
    const int samples = flat ? 1 : kGridSamplesPerCell * n;
    area.color(VC_GRID);
    for (int i = 0; i <= n; ++i) {
      const double c = std::min(i * step, size);
      for (int s = 0; s < samples; ++s) {
        const double a = size * s / samples, b = size * (s + 1) / samples;
        line3(area, {c, a, flat ? 0 : w.height(c, a)}, {c, b, flat ? 0 : w.height(c, b)});
        line3(area, {a, c, flat ? 0 : w.height(a, c)}, {b, c, flat ? 0 : w.height(b, c)});
      }
    }
    if (w.boundaries() == BOUNDARY_FENCE) {
      area.color(VC_FENCE);
      for (int i = 0; i <= n; ++i) {
        const double c = std::min(i * step, size);
        for (const Vec3& base : {Vec3{c, 0, 0}, Vec3{c, size, 0}, Vec3{0, c, 0}, Vec3{size, c, 0}})
          line3(area, base, base + Vec3{0, 0, kFenceHeight});
      }
      const Vec3 up{0, 0, kFenceHeight};
      line3(area, Vec3{0, 0, 0} + up, Vec3{size, 0, 0} + up);
      line3(area, Vec3{size, 0, 0} + up, Vec3{size, size, 0} + up);
      line3(area, Vec3{size, size, 0} + up, Vec3{0, size, 0} + up);
      line3(area, Vec3{0, size, 0} + up, Vec3{0, 0, 0} + up);
    } else if (w.boundaries() == BOUNDARY_TELEPORT) {
      area.color(VC_TELEPORT);
      const double m = std::min(kTeleportMargin, size / 4);
      line3(area, {m, m, 0}, {size - m, m, 0});
      line3(area, {size - m, m, 0}, {size - m, size - m, 0});
      line3(area, {size - m, size - m, 0}, {m, size - m, 0});
      line3(area, {m, size - m, 0}, {m, m, 0});
    }
  }
  area.color(VC_OUTLINE);
  line3(area, {0, 0, 0}, {size, 0, 0});
  line3(area, {size, 0, 0}, {size, size, 0});
  line3(area, {size, size, 0}, {0, size, 0});
  line3(area, {0, size, 0}, {0, 0, 0});
}

void SoftWorldPainter::drawObject(Area2D& area, const Life& life, const org& o, bool alive) {
  const int q = settings_.w3_qual;
  if (o.estCount() == 0) {
    // An energy ball: one stick end.
    if (o.energy > 0 && o.sesCount() > 0) {
      int x, y;
      proj_.project(o.getSes(0)->p, x, y);
      const int r = std::max(1, clampToPixel(std::min(o.energy, kBallMaxRadius) * proj_.sx()));
      area.color(VC_BALL);
      area.ellipse(x, y, r, r, true);
    }
    return;
  }
  const world& w = life.world;
  for (int i = 0; i < o.estCount(); ++i) {
    const est& k = *o.getEst(i);
    const Vec3 &a = k.e[0]->p, &b = k.e[1]->p;
    if (q >= QUALITY_SHADOWS) {
      const double ga = w.height(a.x, a.y), gb = w.height(b.x, b.y);
      if (std::fabs(ga - gb) < std::hypot(b.x - a.x, b.y - a.y)) {
        area.color(VC_SHADOW);
        line3(area, {a.x, a.y, ga}, {b.x, b.y, gb});
      }
    }
    int color = alive ? VC_STICK : VC_REMAINS;
    if (alive && q >= QUALITY_ATTRIBUTES) {
      if (k.muscles & EST_MUSCLE_BEND)
        color = VC_MUSCLE_BEND;
      else if (k.muscles & EST_MUSCLE_ROTATE)
        color = VC_MUSCLE_ROTATE;
    }
    area.color(color);
    line3(area, a, b);
  }
  if (q >= QUALITY_SHADOWS) {
    for (int i = 0; i < o.sesCount(); ++i) {
      const ses& e = *o.getSes(i);
      if (!e.contact) continue;
      const double g = w.height(e.p.x, e.p.y);
      area.color(VC_CONTACT);
      line3(area, {e.p.x - kContactMark, e.p.y, g}, {e.p.x + kContactMark, e.p.y, g});
      line3(area, {e.p.x, e.p.y - kContactMark, g}, {e.p.x, e.p.y + kContactMark, g});
      if (q >= QUALITY_ATTRIBUTES) {
        area.color(VC_SPECK);
        for (int s = 0; s < kSpecksPerEnd; ++s) {
          int x, y;
          proj_.project({e.p.x + (rng_.unit() - 0.5) * kSpeckSpread, e.p.y + (rng_.unit() - 0.5) * kSpeckSpread, g},
                        x, y);
          area.rect(x, y, 1, 1, true);
        }
      }
    }
  }
  const bool showNeurons = alive && q >= QUALITY_NEURONS && proj_.unitPixels() > kNeuronMinUnitPixels &&
                           !(o.flags & ORG_GROWING);
  if (showNeurons) {
    for (int i = 0; i < o.neuroCount(); ++i) {
      const neuro& n = *o.getNeuro(i);
      if (n.place == nullptr) continue;
      const Vec3 mid = stickMiddle(*n.place);
      int x, y;
      proj_.project(mid, x, y);
      area.color(VC_NEURON);
      area.rect(x - 2, y - 2, 5, 5, true);
      for (int j = 0; j < n.inputCount(); ++j) {
        const wej& in = *n.input(j);
        if (in.typ == WEJ_NEURON) {
          if (q >= QUALITY_CONNECTIONS && in.srcNeuron != nullptr && in.srcNeuron->place != nullptr &&
              in.srcNeuron != &n) {
            area.color(VC_CONNECTION);
            line3(area, stickMiddle(*in.srcNeuron->place), mid);
          }
        } else if (in.typ != WEJ_CONSTANT) {
          int rx, ry;
          proj_.project(n.place->e[1]->p, rx, ry);
          area.color(VC_RECEPTOR);
          area.text(rx + 2, ry - area.lineHeight(), receptorLetter(in.typ), 1);
        }
      }
    }
  }
  if (alive && proj_.unitPixels() > kLabelMinUnitPixels && (settings_.w3_la1 > 0 || settings_.w3_la2 > 0))
    drawLabels(area, const_cast<org&>(o));
}

void SoftWorldPainter::drawLabels(Area2D& area, org& o) {
  org_param acc(&o);
  int x, y;
  proj_.project({o.bboxMax.x, o.center.y, o.bboxMax.z}, x, y);
  area.color(VC_LABEL);
  for (int la : {settings_.w3_la1, settings_.w3_la2}) {
    if (la <= 0 || la > acc.paramCount()) continue;
    area.text(x + 4, y, firstLineCut(acc.getText(la - 1), kLabelMaxChars));
    y += area.lineHeight();
  }
}

void SoftWorldPainter::drawPointer(Area2D& area, const org& o) {
  int x, y;
  proj_.project({o.center.x, o.center.y, o.bboxMax.z}, x, y);
  const int tip = y - kPointerGap;
  area.color(VC_POINTER);
  area.line(x, tip - kPointerLength, x, tip);
  area.line(x - kPointerHead, tip - kPointerHead, x, tip);
  area.line(x + kPointerHead, tip - kPointerHead, x, tip);
}

void SoftWorldPainter::drawCharts(Area2D& area, bool sample) {
  org* sel = watch_.get();
  org_param acc(sel);
  const int W = area.width(), H = area.height();
  const int cw = W / 3, ch = H / 3;
  const int chosen[2] = {settings_.w3_ch1, settings_.w3_ch2};
  for (int k = 0; k < 2; ++k) {
    const int idx = chosen[k] - 1;
    if (chosen[k] != chartParam_[k]) {
      charts_[k].clear();
      chartParam_[k] = chosen[k];
    }
    if (idx < 0 || !creatureParamIsNumeric(idx)) continue;
    const double value = acc.getDouble(idx);
    if (sample) charts_[k].add(value);
    const int x = k == 0 ? 0 : W - cw;
    // The chart hides the world behind it, so labels and grid do not cross its line.
    area.color(VC_BACKGROUND);
    area.rect(x, 0, cw, ch, true);
    charts_[k].draw(area, x, 0, cw, ch, VC_CHART_LINE);
    area.color(VC_TEXT);
    const std::string caption = ssprintf("%s: %g", acc.name(idx), value);
    const int textX = x + W / 6 - static_cast<int>(caption.size()) * 3;
    area.text(std::max(x + 2, textX), 2, caption);
  }
}

}  // namespace vorlund
