#include "world/world_senses.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vorlund {

namespace {
// Room for the smell sources of a crowded world, reserved up front.
constexpr std::size_t kReservedSources = 256;
}  // namespace

void WorldSenses::SourceColumns::reserve(std::size_t n) {
  for (auto* column : {&x, &y, &z, &energy}) column->reserve(n);
  source.reserve(n);
}

void WorldSenses::SourceColumns::resize(std::size_t n) {
  for (auto* column : {&x, &y, &z, &energy}) column->resize(n);
  source.resize(n);
}

WorldSenses::WorldSenses(const world& ground, const listaduo<org>& objects) : ground_(ground), objects_(objects) {
  packed_.reserve(kReservedSources);
  objectAt_.reserve(kReservedSources);
  setSourceParts(1);
}

void WorldSenses::setSourceParts(int parts) {
  parts_ = std::vector<PartSources>(static_cast<std::size_t>(std::clamp(parts, 1, kMaxStepThreads)));
  // Each stretch may hold up to every object: room for a crowded world in each.
  for (PartSources& p : parts_)
    for (SourceStretch& s : p.stretches) s.columns.reserve(kReservedSources);
  sourcesStarted_ = false;
}

template <class Center, class Energy>
void WorldSenses::packSources(std::size_t count, Center centerOf, Energy energyOf) {
  // Written in place: five appends per object, each testing for room, made
  // this serial stretch of a shared step several times longer.
  SourceColumns& c = packed_;
  c.resize(count);
  std::size_t n = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const org* o = objects_.get(static_cast<int>(i));
    if (o == nullptr) continue;
    // Objects without energy have no smell, whoever asks.
    const double energy = energyOf(i, *o);
    if (!(energy > 0)) continue;
    c.setRow(n++, centerOf(i, *o), energy, o);
  }
  c.resize(n);
  views_[0] = {&packed_, n};
  viewCount_ = 1;
  sourcesStarted_ = false;
  frozen_ = true;
}

void WorldSenses::startSources(std::size_t count) {
  // The copies keep their last values: the motion phase sets every one, and
  // leaves alone those that stay the same.
  objectAt_.resize(count);
  count_ = count;
  for (PartSources& p : parts_) {
    p.used = 0;
    p.broken = false;
  }
  sourcesStarted_ = true;
}

bool WorldSenses::freezeSetSources() {
  if (!sourcesStarted_ || count_ != static_cast<std::size_t>(objects_.size())) return false;
  // The stretches in object order: a few per part, put in order by insertion.
  std::array<const SourceStretch*, kMostViews> order;
  std::size_t stretches = 0;
  for (const PartSources& p : parts_) {
    if (p.broken) return false;
    for (int k = 0; k < p.used; ++k) {
      const SourceStretch* s = &p.stretches[static_cast<std::size_t>(k)];
      std::size_t at = stretches++;
      for (; at > 0 && order[at - 1]->begin > s->begin; --at) order[at] = order[at - 1];
      order[at] = s;
    }
  }
  // One after the other, every object once.
  std::size_t next = 0;
  for (std::size_t k = 0; k < stretches; ++k) {
    if (static_cast<std::size_t>(order[k]->begin) != next) return false;
    next += static_cast<std::size_t>(order[k]->given);
  }
  if (next != count_) return false;
  // The lists' own pointers only: no object's line is read here.
  for (std::size_t i = 0; i < count_; ++i)
    if (objectAt_[i] != objects_.get(static_cast<int>(i))) return false;
  viewCount_ = 0;
  for (std::size_t k = 0; k < stretches; ++k)
    if (order[k]->smelling > 0) views_[viewCount_++] = {&order[k]->columns, order[k]->smelling};
  sourcesStarted_ = false;
  frozen_ = true;
  return true;
}

void WorldSenses::freezeObjects() {
  const auto center = [](std::size_t, const org& o) -> const Vec3& { return o.center; };
  const auto energy = [](std::size_t, const org& o) { return o.energy; };
  packSources(static_cast<std::size_t>(objects_.size()), center, energy);
}

void WorldSenses::freezeObjects(std::span<const Vec3> centers, std::span<const double> energies) {
  const auto center = [centers](std::size_t i, const org&) -> const Vec3& { return centers[i]; };
  const auto energy = [energies](std::size_t i, const org&) { return energies[i]; };
  packSources(std::min(centers.size(), energies.size()), center, energy);
}

namespace {

// The columns of the smell sources and the point smelled from.
struct SmellColumns {
  const double *x, *y, *z, *energy;
  std::size_t count;
  Vec3 at;
};

// Adds the terms of sources [i, end) to `sum` in order, leaving out `skip`.
double addTermsFrom(const SmellColumns& c, std::size_t i, std::size_t skip, double sum) {
  for (; i < c.count; ++i)
    if (i != skip) sum += smellTerm(Vec3(c.x[i], c.y[i], c.z[i]), c.energy[i], c.at);
  return sum;
}

#if defined(__x86_64__)
// The same operations as smellTerm, in the same order, on four sources at once:
// each IEEE operation rounds the same in any width. max(limit, r) picks r
// unless limit > r, as std::max(r, limit) does (a NaN r included). The sum
// still takes the terms one by one in source order.
__attribute__((target("avx"))) double smellSumAvx(const SmellColumns& c, std::size_t skip, double sum) {
  const __m256d ax = _mm256_set1_pd(c.at.x), ay = _mm256_set1_pd(c.at.y), az = _mm256_set1_pd(c.at.z);
  const __m256d limit = _mm256_set1_pd(NEURO_SMELL_MIN_DISTANCE);
  std::size_t i = 0;
  alignas(32) double terms[4];
  for (; i + 4 <= c.count; i += 4) {
    const __m256d dx = _mm256_sub_pd(_mm256_loadu_pd(c.x + i), ax);
    const __m256d dy = _mm256_sub_pd(_mm256_loadu_pd(c.y + i), ay);
    const __m256d dz = _mm256_sub_pd(_mm256_loadu_pd(c.z + i), az);
    const __m256d d2 =
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)), _mm256_mul_pd(dz, dz));
    const __m256d r = _mm256_max_pd(limit, _mm256_sqrt_pd(d2));
    _mm256_store_pd(terms, _mm256_div_pd(_mm256_loadu_pd(c.energy + i), _mm256_mul_pd(r, r)));
    // Only the one group that holds the owner needs a look at each index.
    if (skip - i < 4) {
      for (std::size_t k = 0; k < 4; ++k)
        if (i + k != skip) sum += terms[k];
    } else {
      sum += terms[0];
      sum += terms[1];
      sum += terms[2];
      sum += terms[3];
    }
  }
  return addTermsFrom(c, i, skip, sum);
}

// Asked once; processors without AVX (older than about 2011) take the plain sum.
const bool kHasAvx = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx") != 0;
}();
#endif

}  // namespace

double WorldSenses::smellSum(const Vec3& at, const org* owner) const {
  if (!frozen_) return NeuroSurroundings::smellSum(at, owner);
  // Stretch after stretch, the terms still go into one sum in source order.
  double sum = 0;
  for (std::size_t v = 0; v < viewCount_; ++v) {
    const SourceColumns& c = *views_[v].columns;
    const std::size_t n = views_[v].count;
    // The owner is at most one source; its own smell is left out.
    const std::size_t skip = static_cast<std::size_t>(std::find(c.source.begin(), c.source.begin() + n, owner) - c.source.begin());
    const SmellColumns columns{c.x.data(), c.y.data(), c.z.data(), c.energy.data(), n, at};
#if defined(__x86_64__)
    if (kHasAvx) {
      sum = smellSumAvx(columns, skip, sum);
      continue;
    }
#endif
    sum = addTermsFrom(columns, 0, skip, sum);
  }
  return sum;
}

}  // namespace vorlund
