// Building a body: the genotype dispatch and the format-0 reader.
#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "core/record.h"
#include "core/strutil.h"
#include "genetics/genman.h"
#include "world/body_params.h"
#include "world/f1_development.h"
#include "world/format0.h"
#include "world/org.h"
#include "world/physical_ranges.h"
#include "world/sim_settings.h"

namespace vorlund {

namespace {

// Defaults of an energy ball's single stick end: encoding 1's default modifier values.
constexpr double kBallMass = 1.0;
constexpr double kBallBuoyancy = 1.0;
constexpr double kBallFriction = 0.4;
constexpr double kBallIngestion = 0.25;

const SimSettings kDefaultSettings{};

bool startsWith(const std::string& text, std::size_t pos, std::string_view prefix) {
  return text.compare(pos, prefix.size(), prefix) == 0;
}

int16_t clampCount(int n) { return static_cast<int16_t>(n > INT16_MAX ? INT16_MAX : n); }

// No encoding checks a format-0 body's numbers, so the reader keeps them in
// the physical ranges the validity checker knows, and the physics finite: a
// record with a value that is not a finite number (read from "inf" or
// "1e999"), or a stick end too far from the others or from the origin, is
// refused; any other value outside its range is brought to the nearest bound.
// Both are reported.
constexpr const char* kNotFinite = "its values must be finite numbers";

bool allFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Brings v into lo..hi; true when it had to.
bool bringInto(double& v, double lo, double hi) {
  const double inside = std::clamp(v, lo, hi);
  const bool moved = inside != v;
  v = inside;
  return moved;
}

// The box around the stick ends read so far.
struct Extent {
  bool empty = true;
  Vec3 lo, hi;

  void add(const Vec3& p) {
    if (empty) {
      lo = hi = p;
      empty = false;
      return;
    }
    lo = Vec3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
    hi = Vec3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
  }
  // Whether the box would stay within kBodyExtentLimit on every axis with p in it.
  bool fits(const Vec3& p) const {
    if (empty) return true;
    return std::max(hi.x, p.x) - std::min(lo.x, p.x) <= kBodyExtentLimit &&
           std::max(hi.y, p.y) - std::min(lo.y, p.y) <= kBodyExtentLimit &&
           std::max(hi.z, p.z) - std::min(lo.z, p.z) <= kBodyExtentLimit;
  }
};

// Nullptr when the stick end is accepted, else why not.
const char* admit(ses& s, const Extent& body, bool& moved) {
  if (!allFinite({s.p.x, s.p.y, s.p.z, s.m, s.v.x, s.tarcie, s.wchl})) return kNotFinite;
  const double far = std::max({std::fabs(s.p.x), std::fabs(s.p.y), std::fabs(s.p.z)});
  static const std::string tooFar =
      "its coordinates must lie within " + formatReal(kBodyCoordinateLimit) + " of the origin";
  if (far > kBodyCoordinateLimit) return tooFar.c_str();
  static const std::string tooWide =
      "the body's stick ends must lie within " + formatReal(kBodyExtentLimit) + " of each other on every axis";
  if (!body.fits(s.p)) return tooWide.c_str();
  moved = bringInto(s.m, kMassMin, kMassMax);
  moved = bringInto(s.v.x, -kVelocityLimit, kVelocityLimit) || moved;
  moved = bringInto(s.tarcie, 0, kFrictionMax) || moved;
  moved = bringInto(s.wchl, 0, kIngestionMax) || moved;
  return nullptr;
}

const char* admit(est& k, bool& moved) {
  if (!allFinite({k.ruch, k.asym, k.odpor, k.zakz})) return kNotFinite;
  moved = bringInto(k.ruch, 0, kMusclePowerMax);
  moved = bringInto(k.asym, 0, kPropertyMax) || moved;
  moved = bringInto(k.odpor, 0, kPropertyMax) || moved;
  moved = bringInto(k.zakz, 0, kPropertyMax) || moved;
  return nullptr;
}

// Inertia and force are taken as given: the network keeps the state in its
// range and the rate finite whatever they are.
const char* admit(neuro& n, bool& moved) {
  if (!allFinite({n.in, n.fo, n.si})) return kNotFinite;
  if (n.typster < NEURO_NO_MUSCLE || n.typster > NEURO_MUSCLE_BEND) {
    n.typster = NEURO_NO_MUSCLE;
    moved = true;
  }
  return nullptr;
}

const char* admit(wej& in, bool& moved) {
  if (!allFinite({in.w})) return kNotFinite;
  if (in.typ < WEJ_NEURON || in.typ > WEJ_SMELL) return "its input type must be 0 to 4";
  moved = bringInto(in.w, -kWeightLimit, kWeightLimit);
  return nullptr;
}

// Reports what admit decided; true when the record is to be kept. `number`
// is the record's own number among the records of its kind, as written.
bool reported(const char* why, bool moved, const char* what, int number) {
  if (why != nullptr) {
    logMessage("org", "readFormat0", ssprintf("%s %d ignored: %s", what, number, why), LOG_WARNING);
    return false;
  }
  if (moved)
    logMessage("org", "readFormat0",
               ssprintf("%s %d: values outside their ranges were brought into them", what, number), LOG_WARNING);
  return true;
}

template <typename T>
bool admitted(T& element, const char* what, int number) {
  bool moved = false;
  const char* why = admit(element, moved);
  return reported(why, moved, what, number);
}

}  // namespace

const SimSettings& org::settings() const {
  const Genetics* g = genetics();
  return (g != nullptr && g->settings != nullptr) ? *g->settings : kDefaultSettings;
}

void org::setStartingEnergy() {
  const SimSettings& s = settings();
  startEnergy = energy = s.Energy0 * energyWeight;
  if (flags & ORG_GROWING) energy = grownEnergy = s.grow;
}

int org::Build() {
  energyWeight = 0;
  const SimSettings& s = settings();
  if (!genotype.empty() && genotype[0] == '*') {
    typ = ORG_FOOD;
    ses* ball = addSes();
    ball->m = kBallMass;
    ball->buoy = kBallBuoyancy;
    ball->tarcie = kBallFriction;
    ball->wchl = kBallIngestion;
    energy = energyWeight = s.feede0;
    sticks0 = clampCount(estCount());
    return ORG_BUILD_OK;
  }

  typ = ORG_CREATURE;
  // The body's elements on chunks of their own (see element_pool.h).
  const BodyRun run;
  const GenMan* gm = genetics() != nullptr ? genetics()->genman : nullptr;
  const char format = GenMan::GetFormat(genotype);
  if (gm != nullptr) {
    const int valid = gm->CheckValidity(genotype);
    if (valid != GENMAN_OK && valid != GENMAN_NO_OPERATOR) return ORG_BUILD_INVALID;
  }

  std::string converted;
  if (format == '1') {
    developF1(*this, genotype.substr(GenMan::SkipMarker(genotype)), s);
    InitNeuro();
  } else if (gm != nullptr && gm->Convert(genotype, '1', converted) == 1) {
    // The position map describes the original text, which the development never sees.
    posMap.clear();
    developF1(*this, converted.substr(GenMan::SkipMarker(converted)), s);
    InitNeuro();
  } else if (format == '0') {
    readFormat0(genotype);
  } else if (gm != nullptr && gm->Convert(genotype, '0', converted) == 1) {
    readFormat0(converted);
  } else {
    return ORG_BUILD_NO_ENCODING;
  }

  setStartingEnergy();
  sticks0 = clampCount(estCount());
  fillPositionMap();
  return ORG_BUILD_OK;
}

void org::readFormat0(const std::string& text) {
  Extent extent;
  for (const auto& e : l_ses) extent.add(e->p);
  // Records are numbered by kind as written, refused ones included: warnings
  // name the record the user wrote, and a reference to a refused record finds
  // nothing instead of the next record's element.
  std::vector<ses*> sesRecords;
  std::vector<est*> estRecords;
  std::vector<neuro*> neuroRecords;
  for (const auto& e : l_ses) sesRecords.push_back(e.get());
  for (const auto& e : l_est) estRecords.push_back(e.get());
  for (const auto& e : l_neu) neuroRecords.push_back(e.get());
  const auto find = [](const auto& records, int number) {
    return number >= 0 && static_cast<std::size_t>(number) < records.size() ? records[static_cast<std::size_t>(number)]
                                                                             : nullptr;
  };
  int inputRecord = 0;
  std::size_t pos = 0;
  // Every pass consumes at least one line, so the loop ends with the text.
  while (pos < text.size()) {
    const std::size_t lineStart = pos;
    const int here = lineStart > INT_MAX ? INT_MAX : static_cast<int>(lineStart);
    if (startsWith(text, pos, "p:")) {
      auto s = std::make_unique<ses>();
      pos += 2;
      SesParams acc(s.get());
      readCompactLine(acc.acc(), text, pos);
      bool moved = false;
      const char* why = admit(*s, extent, moved);
      sesRecords.push_back(nullptr);
      if (!reported(why, moved, "stick end", static_cast<int>(sesRecords.size() - 1))) continue;
      extent.add(s->p);
      ses* added = l_ses.append(std::move(s));
      sesRecords.back() = added;
      setPosition(added->D >= 0 ? added->D : here,
                  static_cast<uint16_t>(POSMAP_SES + (sesCount() & POSMAP_INDEX_MASK)));
    } else if (startsWith(text, pos, "j:")) {
      auto k = std::make_unique<est>();
      pos += 2;
      EstParams acc(k.get());
      readCompactLine(acc.acc(), text, pos);
      const int number = static_cast<int>(estRecords.size());
      estRecords.push_back(nullptr);
      if (!admitted(*k, "stick", number)) continue;
      ses* a = find(sesRecords, k->s1);
      ses* b = find(sesRecords, k->s2);
      // A stick from an end to itself stands: it has no length and pulls nothing.
      if (a == nullptr || b == nullptr) {
        logMessage("org", "readFormat0",
                   ssprintf("stick %d from stick end %d to %d ignored: both ends must be earlier stick ends", number,
                            k->s1, k->s2),
                   LOG_WARNING);
        continue;
      }
      setPosition(k->D >= 0 ? k->D : here, static_cast<uint16_t>(POSMAP_EST + (estCount() & POSMAP_INDEX_MASK)));
      est* added = l_est.append(std::move(k));
      estRecords.back() = added;
      added->e[0] = a;
      added->e[1] = b;
      b->owner = added;
      added->rest = b->p - a->p;
      added->rest0 = added->rest;
      added->len0 = added->len = added->rest.length();
      energyWeight += 1.0;
    } else if (startsWith(text, pos, "neu:")) {
      auto n = std::make_unique<neuro>();
      pos += 4;
      NeuroParams acc(n.get());
      readCompactLine(acc.acc(), text, pos);
      const int number = static_cast<int>(neuroRecords.size());
      neuroRecords.push_back(nullptr);
      if (!admitted(*n, "neuron", number)) continue;
      est* place = find(estRecords, n->estIndex);
      if (place == nullptr) {
        logMessage("org", "readFormat0",
                   ssprintf("neuron %d on stick %d ignored: it must sit on an earlier stick", number, n->estIndex),
                   LOG_WARNING);
        continue;
      }
      setPosition(n->D >= 0 ? n->D : here,
                  static_cast<uint16_t>(POSMAP_NEURO + (neuroCount() & POSMAP_INDEX_MASK)));
      n->ownIndex = neuroCount();
      n->kto = this;
      n->place = place;
      neuroRecords.back() = l_neu.append(std::move(n));
    } else if (startsWith(text, pos, "inp:")) {
      auto in = std::make_unique<wej>();
      pos += 4;
      WejParams acc(in.get());
      readCompactLine(acc.acc(), text, pos);
      const int number = inputRecord++;
      if (!admitted(*in, "input", number)) continue;
      neuro* owner = find(neuroRecords, in->n);
      if (owner == nullptr) {
        logMessage("org", "readFormat0",
                   ssprintf("input %d of neuron %d ignored: it must belong to an earlier neuron", number, in->n),
                   LOG_WARNING);
        continue;
      }
      if (in->typ != WEJ_NEURON)
        in->srcStick = owner->place;
      else
        in->srcNeuron = owner;
      owner->l_wej.append(std::move(in));
    } else {
      const std::size_t lineEnd = text.find('\n', pos);
      pos = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
    }
  }
  InitNeuro();
  setStartingEnergy();
  typ = ORG_CREATURE;
  sticks0 = clampCount(estCount());
}

std::string writeFormat0(org& body) {
  std::string out = "\n";
  const ses defaultSes;
  const est defaultEst;
  const neuro defaultNeuro;
  const wej defaultWej;
  // The writer only reads through the reference accessors.
  SesParams sesRef(const_cast<ses*>(&defaultSes));
  EstParams estRef(const_cast<est*>(&defaultEst));
  NeuroParams neuroRef(const_cast<neuro*>(&defaultNeuro));
  WejParams wejRef(const_cast<wej*>(&defaultWej));

  for (const auto& s : body.l_ses) {
    SesParams acc(s.get());
    writeCompact(acc.acc(), sesRef.acc(), out);
  }
  for (const auto& k : body.l_est) {
    k->s1 = body.l_ses.find(k->e[0]);
    k->s2 = body.l_ses.find(k->e[1]);
    EstParams acc(k.get());
    writeCompact(acc.acc(), estRef.acc(), out);
  }
  int index = 0;
  for (const auto& n : body.l_neu) {
    n->estIndex = body.l_est.find(n->place);
    NeuroParams acc(n.get());
    writeCompact(acc.acc(), neuroRef.acc(), out);
    for (const auto& in : n->l_wej) {
      in->n = index;
      WejParams inAcc(in.get());
      writeCompact(inAcc.acc(), wejRef.acc(), out);
    }
    ++index;
  }
  return out;
}

}  // namespace vorlund
