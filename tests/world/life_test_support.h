// Helpers of the physics and life-cycle tests: a world part with its own
// rules and gene pool, and bodies made from format-0 texts placed by hand.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "genepool/listaprz.h"
#include "world/life.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund::testing_life {

struct World {
  World() : genetics{nullptr, &rules, nullptr}, pool(&genetics), life(rules, &pool) {
    // A quiet default: no muscles, no income, no costs unless a test wants them.
    rules.e_meta = 0;
    rules.sun = 0;
    rules.enablestats = STATS_ON_CREATION;
  }

  // A creature read from a format-0 text, moved by `offset`; `flags` are set
  // before reading (as a start does), so ORG_GROWING starts it on `grow`.
  org* creature(const std::string& f0, Vec3 offset = {}, uint16_t flags = ORG_STATS, const std::string& name = "c") {
    auto o = std::make_unique<org>(&genetics, "//0\n" + f0, name);
    o->flags = flags;
    o->Build();
    place(*o, offset);
    return life.addCreature(std::move(o));
  }
  // An energy ball at p.
  org* ball(Vec3 p, double energy = 10) {
    auto o = std::make_unique<org>(&genetics, "*", "ball");
    o->Build();
    o->energy = energy;
    place(*o, p);
    return life.addFood(std::move(o));
  }
  static void place(org& o, Vec3 offset) {
    for (const auto& s : o.l_ses) s->p += offset;
    o.computeBoundingBox();
    o.center = o.prevCenter = o.meanPosition();
  }

  SimSettings rules;
  Genetics genetics;
  listaprz pool;
  Life life;
};

inline bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace vorlund::testing_life
