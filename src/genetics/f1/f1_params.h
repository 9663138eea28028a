// The settings of the encoding-1 operator ("Genetics: f1"): mutation site
// probabilities, intensities, exclusion lists, crossover and repair switches
// and the similarity weights.
#pragma once

#include <cstdint>
#include <string>

#include "core/param.h"

namespace vorlund::f1 {

struct F1Params {
  // Body mutation sites (probability per genotype, spread over its characters).
  double geno_f1_sm0 = 0.05;  // add/remove a stick X
  double geno_f1_sm1 = 0.02;  // add/remove a junction ()
  double geno_f1_sm2 = 0.02;  // add/remove a comma
  double geno_f1_sm3 = 0.02;  // add (X,X)
  double geno_f1_sm4 = 0.1;   // add/remove a modifier
  // Neural mutation sites.
  double geno_f1_nm0 = 1.0;   // change an input weight
  double geno_f1_nm1 = 0.1;   // change an input connection
  double geno_f1_nm2 = 0.05;  // add/remove a neuron
  double geno_f1_nm3 = 0.1;   // add/change/remove a muscle
  double geno_f1_nm4 = 0.05;  // add/remove an input
  double geno_f1_nm5 = 0.1;   // add/remove a receptor
  double mut_str = 1.0;       // multiplies the body probabilities
  double mut_neu = 2.0;       // multiplies the neural probabilities
  double geno_f1_mult = 1.0;  // multiplier of the pass that produced the last mutation
  int32_t gm_repair = 1;      // wrap an invalid mutant in "(" and ")" before giving up
  int32_t gm_xosegm = 0;      // cross over proportional segments
  std::string mut_exmod;      // modifiers never inserted
  std::string mut_exrec;      // receptors never inserted
  std::string mut_exctl;      // muscle controls never inserted
  double geno_f1_simNN = 1.0;  // weight of the stick count difference
  double geno_f1_simSN = 1.0;  // weight of the body size difference
  double geno_f1_simSS = 1.0;  // weight of the neuron count difference
  double geno_f1_simNS = 1.0;  // weight of the network size difference
  double geno_f1_simStr = 4.0; // weight of the structural difference
};

// The "Genetics: f1" table over F1Params.
const ParamTab* f1ParamTable();

}  // namespace vorlund::f1
