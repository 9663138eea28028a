// The genetic manager: recognises a genotype's format from its marker and
// dispatches checking, repair, mutation, crossover, similarity and colouring to
// the operator of that format, with retries, counters and an optional history.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/param.h"
#include "genetics/geno_fx.h"

namespace vorlund {

class GenoConvManager;

// Result codes shared by the manager's operations.
constexpr int GENMAN_OK = 0;
constexpr int GENMAN_NO_OPERATOR = -2;
constexpr int GENMAN_FAILED = -3;

// Attempts one Mutate or CrossOver call makes before it gives up.
constexpr int GENMAN_MAX_ATTEMPTS = 100;

// Change values handed to the operators before they run. The encoding-4
// operator reads them as its mutation amount and crossover share.
constexpr float GENMAN_INITIAL_MUTATION_CHANGE = 0.1f;
constexpr float GENMAN_INITIAL_CROSSOVER_CHANGE = 0.5f;

// One registry entry. The manager owns the operator.
struct GenoOper {
  std::unique_ptr<TGeno_fx> oper;
  param* parameters;  // the operator's parameter set, observed
  char format;
};

// One record of the genetic history.
struct GenoLink {
  int number;          // gen_count right after the operation
  std::string parent;  // whole parent text, marker included
  std::string child;   // whole child text, marker included
  float change;
  float fitness;  // filled in later by whoever tracks fitness
};

// The manager's own settings and counters (bound to the "Genetics" table).
struct GenManFields {
  int gen_hist = 0;
  int gen_count = 0;
  int gen_failm = 0;
  int gen_failxo = 0;
  int gen_invlm = 0;
  int gen_invlxo = 0;
};

class GenMan {
 public:
  GenMan();
  ~GenMan();
  GenMan(const GenMan&) = delete;
  GenMan& operator=(const GenMan&) = delete;

  // Registers an operator for a format; its parameter set joins the chain.
  void registerOperator(char format, std::unique_ptr<TGeno_fx> oper);
  TGeno_fx* findOperator(char format) const;

  // The format character of a text ('1' without a marker).
  static char GetFormat(std::string_view text);
  // Where the body begins.
  static std::size_t SkipMarker(std::string_view text);
  // The block marker for a format, with the operator's line break ("" for format 1).
  std::string marker(char format) const;
  // A body wrapped in its format's marker.
  std::string wrap(char format, const std::string& body) const;

  int CheckValidity(const std::string& text) const;
  int Validate(std::string& text);
  int Mutate(const std::string& parentName, std::string& text, std::string& info);
  int CrossOver(const std::string& name1, std::string& text1, std::string& info1, const std::string& name2,
                std::string& text2, std::string& info2);
  float Similarity(const std::string& text1, const std::string& text2) const;
  uint32_t Style(const std::string& text, int position) const;
  // 0 when equal ignoring blanks, tabs and line breaks; 1 otherwise.
  static int SameGenotype(const char* text1, const char* text2);

  // Converts through the converter registry, when one is attached (1 success, 0 failure).
  int Convert(const std::string& text, char format, std::string& out) const;
  void setConverters(GenoConvManager* conv) { converters_ = conv; }
  GenoConvManager* converters() const { return converters_; }

  // Zeroes the five counters and empties the history.
  void clearStatistics();
  const std::vector<GenoLink>& history() const { return history_; }
  std::vector<GenoLink>& history() { return history_; }

  // The "Genetics" table chained with the operators' tables.
  param& parameters() { return params_; }
  GenManFields vars;

 private:
  const GenoOper* findOper(char format) const;

  std::vector<GenoOper> opers_;
  std::vector<GenoLink> history_;
  param params_;
  GenoConvManager* converters_ = nullptr;
};

// Registers the operators of the encodings this build provides, in order 1, 2, 4.
void registerStandardOperators(GenMan& gm);

}  // namespace vorlund
