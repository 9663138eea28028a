#include "world/world_senses.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorlund {

namespace {
// Room for the smell sources of a crowded world, reserved up front.
constexpr std::size_t kReservedSources = 256;
}  // namespace

WorldSenses::WorldSenses(const world& ground, const listaduo<org>& objects) : ground_(ground), objects_(objects) {
  for (auto* column : {&x_, &y_, &z_, &energy_, &terms_}) column->reserve(kReservedSources);
  source_.reserve(kReservedSources);
}

void WorldSenses::freezeObjects() {
  for (auto* column : {&x_, &y_, &z_, &energy_}) column->clear();
  source_.clear();
  const int count = objects_.size();
  for (int i = 0; i < count; ++i) {
    const org* o = objects_.get(i);
    // Objects without energy have no smell, whoever asks.
    if (o == nullptr || !(o->energy > 0)) continue;
    x_.push_back(o->center.x);
    y_.push_back(o->center.y);
    z_.push_back(o->center.z);
    energy_.push_back(o->energy);
    source_.push_back(o);
  }
  terms_.resize(source_.size());
  frozen_ = true;
}

void WorldSenses::smellTerms(const Vec3& at) const {
  const std::size_t n = source_.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  // The same operations as smellTerm, in the same order, on two objects at
  // once: each IEEE operation rounds the same in either width. max(limit, r)
  // picks r unless limit > r, as std::max(r, limit) does (a NaN r included).
  const __m128d ax = _mm_set1_pd(at.x), ay = _mm_set1_pd(at.y), az = _mm_set1_pd(at.z);
  const __m128d limit = _mm_set1_pd(NEURO_SMELL_MIN_DISTANCE);
  for (; i + 2 <= n; i += 2) {
    const __m128d dx = _mm_sub_pd(_mm_loadu_pd(&x_[i]), ax);
    const __m128d dy = _mm_sub_pd(_mm_loadu_pd(&y_[i]), ay);
    const __m128d dz = _mm_sub_pd(_mm_loadu_pd(&z_[i]), az);
    const __m128d d2 = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz));
    const __m128d r = _mm_max_pd(limit, _mm_sqrt_pd(d2));
    _mm_storeu_pd(&terms_[i], _mm_div_pd(_mm_loadu_pd(&energy_[i]), _mm_mul_pd(r, r)));
  }
#endif
  for (; i < n; ++i) terms_[i] = smellTerm(Vec3(x_[i], y_[i], z_[i]), energy_[i], at);
}

double WorldSenses::smellSum(const Vec3& at, const org* owner) const {
  if (!frozen_) return NeuroSurroundings::smellSum(at, owner);
  smellTerms(at);
  // Only the sum has to keep the object order.
  double sum = 0;
  for (std::size_t i = 0; i < source_.size(); ++i)
    if (source_[i] != owner) sum += terms_[i];
  return sum;
}

}  // namespace vorlund
