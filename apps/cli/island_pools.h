// Genotype records as islands exchange them: packed into the exact record
// text, and folded into a pool so that a genotype already there gains the
// individuals (and their averaged performance) instead of a second record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "genepool/listaprz.h"

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

// Adds `rec` to `pool`, or folds it into the record of the same genotype
// (individual-weighted averages of the measured performance). Returns the record kept.
przodek* foldRecord(listaprz& pool, std::unique_ptr<przodek> rec);

// Records `which` of the pool; `asCopies` sends each as one individual.
std::string packPool(const listaprz& pool, const std::vector<int>& which, bool asCopies);
// The `migrants` fittest records (ties in pool order), each as one individual.
std::string packMigrants(symulator& sim, int migrants);
std::string packWholePool(const listaprz& pool);

// Folds every packed record into the pool; the number folded, or -1 with `error`.
int foldPacked(listaprz& pool, const std::string& packed, std::string& error);

}  // namespace vorlund::cli
