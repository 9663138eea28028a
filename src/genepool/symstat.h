// The pool statistics published as read-only parameters ("stats:"): the
// fitness spread and threshold, and the minimum, average and maximum of the
// measured fields. Its table is generated when the object is built.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/param.h"

namespace vorlund {

class PoolFitness;

// Number of parameters and groups of the generated table.
constexpr int SYMSTAT_FIXED_ROWS = 4;
constexpr int SYMSTAT_SOURCES = 6;
constexpr int SYMSTAT_PARAMS = SYMSTAT_FIXED_ROWS + 3 * SYMSTAT_SOURCES;
constexpr int SYMSTAT_GROUPS = 1 + SYMSTAT_SOURCES;

// Holds the generated table and its texts; a base of symstat so that the table
// exists before the accessor is bound to it.
class SymstatTable {
 protected:
  SymstatTable();
  std::vector<ParamEntry> rows_;
  std::deque<std::string> texts_;  // owned ids, names and group names (stable addresses)
  std::vector<int> sourceIndex_;   // index of each source field in the "Genotype" table
};

class symstat : private SymstatTable, public param {
 public:
  // The fitness object gives the pool and the rules; it must outlive this one.
  explicit symstat(const PoolFitness& fitness);
  symstat(const symstat&) = delete;
  symstat& operator=(const symstat&) = delete;

 protected:
  void* fieldAddress(int i) override;

 private:
  double value(int i) const;
  double sourceValue(int i) const;

  const PoolFitness* fitness_;
  double number_ = 0;  // scratch for the value just asked for
  int32_t count_ = 0;  // scratch for the "d" row
};

}  // namespace vorlund
