// The genotype record: a genotype text with its name, comment, the number of
// individuals that lived and the averages of their measured performance.
// `przodek` is also the first part of every simulated object (`org`).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/param.h"
#include "world/genetics_context.h"

namespace vorlund {

class przodek;

// The stored fields in their declared order; the "Genotype" table binds here.
struct PrzodekData {
  std::string genotype;
  std::string name;
  std::string info;
  int32_t popsiz = 0;  // individuals averaged into this record
  int32_t num = 0;     // ordinal number in the pool; 0 = not numbered yet
  int32_t stnum = 0;   // sticks of the built body
  int32_t neunum = 0;  // neurons of the built body
  // The performance vector, in this order.
  double lifespan = 0;
  double velocity = 0;
  double distance = 0;
  double strsiz = 0;   // body size
  double nnsiz = 0;    // brain size
  double vertvel = 0;  // vertical velocity ("vertdist" in the Genotype table)
  double vertpos = 0;
  double simi = 0;         // similarity cache
  int32_t simiStale = 1;   // 1 when the cache must be recomputed
};
static_assert(std::is_standard_layout_v<PrzodekData>);

// The seven performance values in vector order, for averaging.
constexpr int PERFORMANCE_COUNT = 7;
constexpr double PrzodekData::*kPerformanceFields[PERFORMANCE_COUNT] = {
    &PrzodekData::lifespan, &PrzodekData::velocity, &PrzodekData::distance, &PrzodekData::strsiz,
    &PrzodekData::nnsiz,    &PrzodekData::vertvel,  &PrzodekData::vertpos};

// The accessor of the "Genotype" table: serves the computed values and
// regenerates the structural fields and the name when the texts change.
class prz_param : public param {
 public:
  explicit prz_param(przodek* record);

 protected:
  void* fieldAddress(int i) override;
  int setLocal(int i, std::string_view text) override;

 private:
  // Scratch for computed values, valid until the next read.
  double number_ = 0;
  std::string text_;
};

class przodek : public PrzodekData {
 public:
  // Copies the texts, zeroes the counts and performance and, unless
  // `skipRefresh`, computes the structural fields (and a name when empty).
  przodek(const Genetics* genetics, std::string genotype, std::string name, std::string info,
          bool skipRefresh = false);
  virtual ~przodek();
  przodek(const przodek&) = delete;
  przodek& operator=(const przodek&) = delete;

  // Recomputes sticks, neurons, body and brain size and the stick count by
  // building a temporary body; generates the name when it is empty.
  void refresh();

  param& parameters() { return acc_; }
  const Genetics* genetics() const { return genetics_; }
  void setGenetics(const Genetics* g) { genetics_ = g; }

  // Number of sticks as a real (1.0 for an empty genotype), for the starting energy.
  double stickCount = 1.0;

 private:
  const Genetics* genetics_;
  prz_param acc_;
};

// The "Genotype" table (section "org:").
extern const ParamEntry kGenotypeTable[];

// Codes of the computed values (negative offsets in the tables).
constexpr int32_t PRZ_FIT = -1;
constexpr int32_t PRZ_FIT2 = -2;
constexpr int32_t PRZ_STATUS = -3;  // creature table only
constexpr int32_t PRZ_SIMI = -4;
constexpr int32_t PRZ_ENERG0 = -5;
constexpr int32_t PRZ_LIFE_PER_STICK = -6;
constexpr int32_t PRZ_F0 = -7;
constexpr int32_t PRZ_F1 = -8;
constexpr int32_t PRZ_F2 = -9;

// Computes value `code` of a record into `number` or `text`; returns the
// type letter of the result ('f' or 's').
char computedRecordValue(przodek& rec, int32_t code, double& number, std::string& text);

}  // namespace vorlund
