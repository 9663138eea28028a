// The converter registry: a fixed table of one-step converters between
// formats, switchable through "gkparam:", that finds and runs the shortest
// chain of enabled converters and reports failures as comments in the output.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/param.h"

namespace vorlund {

// A one-step conversion of a body (no marker): nonzero on success with the
// converted body (no marker) in `out`, 0 on failure.
using ConvertFn = int (*)(const std::string& body, std::string& out);

struct ConverterEntry {
  const char* name;
  char from;
  char to;
  ConvertFn convert;
  const char* description;
  int enabled;
};

constexpr int GENOCONV_COUNT = 5;
// Chains longer than this are never searched.
constexpr int GENOCONV_MAX_CHAIN = 9;

constexpr const char* kConverterNotFound = "/* converter not found */";

class GenoConvManager {
 public:
  GenoConvManager();
  GenoConvManager(const GenoConvManager&) = delete;
  GenoConvManager& operator=(const GenoConvManager&) = delete;

  // 1 when `out` holds the genotype in `format`, 0 when it holds a failure comment.
  int Convert(const std::string& text, char format, std::string& out) const;
  // The converter indices of the chain that Convert would run; empty when none.
  std::vector<int> findChain(char from, char to) const;

  ConverterEntry& entry(int i) { return entries_.items[i]; }
  const ConverterEntry& entry(int i) const { return entries_.items[i]; }
  // Replaces a converter's function (tests; encodings built later).
  void setFunction(int i, ConvertFn fn) { entries_.items[i].convert = fn; }

  // The "Genetics: Conversions" table over the enable switches (genkonw0..4).
  param& parameters() { return params_; }

  struct Entries {
    std::array<ConverterEntry, GENOCONV_COUNT> items;
  };

 private:
  bool search(char from, char to, int limit, std::vector<int>& chain) const;

  Entries entries_;
  param params_;
};

}  // namespace vorlund
