#include "genetics/f1/f1_params.h"

#include <cstddef>
#include <type_traits>

namespace vorlund::f1 {

namespace {

static_assert(std::is_standard_layout_v<F1Params>, "field offsets of the table need a standard-layout struct");

constexpr int32_t kMorphology = 1;
constexpr int32_t kNeuronNet = 2;
constexpr int32_t kSimilarity = 3;

#define F1_OFFSET(field) static_cast<int32_t>(offsetof(F1Params, field))

constexpr ParamTab kF1Tab[] = {
    paramHeader("Genetics: f1", 4, 24, nullptr),
    paramGroup("Genetics: f1: Morphology"),
    paramGroup("Genetics: f1: Neuron net"),
    paramGroup("Genetics: f1: Similarity"),
    {"geno_f1_sm0", kMorphology, "Add/remove a stick X", "f 0 1", F1_OFFSET(geno_f1_sm0), nullptr},
    {"geno_f1_sm1", kMorphology, "Add/remove a junction ()", "f 0 1", F1_OFFSET(geno_f1_sm1), nullptr},
    {"geno_f1_sm2", kMorphology, "Add/remove a comma ,", "f 0 1", F1_OFFSET(geno_f1_sm2), nullptr},
    {"geno_f1_sm3", kMorphology, "Add (X,X)", "f 0 1", F1_OFFSET(geno_f1_sm3), nullptr},
    {"geno_f1_sm4", kMorphology, "Add/remove a modifier", "f 0 1", F1_OFFSET(geno_f1_sm4),
     "Modifiers: RrLlAaCcFfMmSsIiQqWwEe"},
    {"geno_f1_nm0", kNeuronNet, "Change neuron input weight", "f 0 1", F1_OFFSET(geno_f1_nm0), nullptr},
    {"geno_f1_nm1", kNeuronNet, "Change neuron input (connection)", "f 0 1", F1_OFFSET(geno_f1_nm1), nullptr},
    {"geno_f1_nm2", kNeuronNet, "Add/remove a neuron", "f 0 1", F1_OFFSET(geno_f1_nm2),
     "Adds: a neuron [ctrl -1/1: rnd_wght]   Removes: any"},
    {"geno_f1_nm3", kNeuronNet, "Add/change/remove a muscle", "f 0 1", F1_OFFSET(geno_f1_nm3), "Muscles: |@"},
    {"geno_f1_nm4", kNeuronNet, "Add/remove a neuron input", "f 0 1", F1_OFFSET(geno_f1_nm4),
     "Add a neuron input    ,-1/1: rnd_weight"},
    {"geno_f1_nm5", kNeuronNet, "Add/remove a receptor", "f 0 1", F1_OFFSET(geno_f1_nm5), "Receptors: GTS*=/!"},
    {"mut_str", kMorphology, "Morphology mutation intensity", "f 0 20", F1_OFFSET(mut_str), nullptr},
    {"mut_neu", kNeuronNet, "Neuron net mutation intensity", "f 0 20", F1_OFFSET(mut_neu), nullptr},
    {"geno_f1_mult", kMorphology | PF_READONLY, "Last mutation multiplier", "f", F1_OFFSET(geno_f1_mult),
     "(Internal)"},
    {"gm_repair", kMorphology, "Extended genotype repair", "d 0 1", F1_OFFSET(gm_repair),
     "When mutating, try to repair an invalid genotype by adding '(' and ')'"},
    {"gm_xosegm", kMorphology, "Proportional segments crossover", "d 0 1", F1_OFFSET(gm_xosegm),
     "Cross over (exchange) corresponding segments of two parent genotypes?"},
    {"mut_exmod", kMorphology, "Modifiers to exclude", "s 0 30", F1_OFFSET(mut_exmod), nullptr},
    {"mut_exrec", kNeuronNet, "Receptors to exclude", "s 0 30", F1_OFFSET(mut_exrec), nullptr},
    {"mut_exctl", kNeuronNet, "Control to exclude", "s 0 30", F1_OFFSET(mut_exctl), nullptr},
    {"geno_f1_simNN", kSimilarity, "Number of sticks weight", "f 0 100", F1_OFFSET(geno_f1_simNN), nullptr},
    {"geno_f1_simSN", kSimilarity, "Body size weight", "f 0 100", F1_OFFSET(geno_f1_simSN), nullptr},
    {"geno_f1_simSS", kSimilarity, "Number of neurons weight", "f 0 100", F1_OFFSET(geno_f1_simSS), nullptr},
    {"geno_f1_simNS", kSimilarity, "Neural network size weight", "f 0 100", F1_OFFSET(geno_f1_simNS), nullptr},
    {"geno_f1_simStr", kSimilarity, "Structural similarity weight", "f 0 100", F1_OFFSET(geno_f1_simStr),
     nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kF1Tab));

#undef F1_OFFSET

}  // namespace

const ParamTab* f1ParamTable() { return kF1Tab; }

}  // namespace vorlund::f1
