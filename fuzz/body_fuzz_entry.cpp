#include "body_fuzz_entry.h"

#include <cmath>
#include <memory>
#include <string>

#include "core/random.h"
#include "genepool/listaprz.h"
#include "quiet_log.h"
#include "world/life.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace {

using vorlund::Vec3;

// Longer descriptions are cut: a fuzzer gains nothing from huge bodies.
constexpr size_t kMaxInput = 4096;
constexpr int kCopies = 4;
// Bodies that go unstable do so within tens of steps; more steps only slow
// the campaign down.
constexpr int kSteps = 150;
// A small world, so that the creatures collide, break and eat.
constexpr double kWorldSize = 10;
constexpr int kNotFinite = 1;

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool allFinite(const vorlund::org& o) {
  if (!std::isfinite(o.energy)) return false;
  for (const auto& s : o.l_ses)
    if (!finite(s->p) || !finite(s->v) || !finite(s->o.x) || !finite(s->o.y) || !finite(s->o.z)) return false;
  return true;
}

}  // namespace

int fuzzBodyPhysics(const uint8_t* data, size_t size) {
  QuietLog quiet;
  if (size > kMaxInput) size = kMaxInput;
  const std::string body = "/*0*/\n" + std::string(reinterpret_cast<const char*>(data), size);
  const uint8_t choice = size > 0 ? data[0] : 0;
  vorlund::seedRandom(choice);

  vorlund::SimSettings rules;
  rules.model = choice & 1;
  rules.descol = 1;  // stick breaking and splitting
  rules.AutoKill = 1;
  rules.corpsen = 1;
  rules.Energy0 = 2;
  vorlund::Genetics genetics{nullptr, &rules, nullptr};
  // Most inputs make no body at all: nothing of theirs would move.
  {
    vorlund::org probe(&genetics, body);
    probe.Build();
    if (probe.sesCount() == 0) return 0;
  }
  vorlund::listaprz pool(&genetics);
  vorlund::Life life(rules, &pool);
  life.world.vars.wrldsiz = kWorldSize;
  life.world.vars.wrldwat = (choice & 2) != 0 ? 3.0 : -1.0;
  life.world.build();
  for (int i = 0; i < kCopies; ++i) life.startCreature(std::make_unique<vorlund::org>(&genetics, body));
  life.startCreature(std::make_unique<vorlund::org>(&genetics, "X(X[@1:1],X[|G:2])"));
  life.startCreature(std::make_unique<vorlund::org>(&genetics, "*"));

  for (int step = 0; step < kSteps; ++step) {
    life.go();
    life.updateNetworks();
    for (int i = 0; i < life.all.size(); ++i)
      if (!allFinite(*life.all.get(i))) return kNotFinite;
  }
  return 0;
}
