// The evolution part of the simulator: the gene pool and the selection and
// creation settings that steer it.
#pragma once

#include "genepool/evol_settings.h"
#include "genepool/listaprz.h"

namespace vorlund {

class symulator;

class Evol {
 public:
  Evol(symulator* owner, const Genetics* genetics) : owner(owner), pool(genetics) {}

  symulator* owner;   // the simulator this part belongs to
  listaprz pool;      // the gene pool
  EvolSettings evol;  // selection, creation and capacity
};

}  // namespace vorlund
