#include "genepool/przodek.h"

#include <cstddef>
#include <utility>

namespace vorlund {

// Codes of the computed values (negative offsets of the tables).
constexpr int32_t PRZ_FIT = -1;
constexpr int32_t PRZ_FIT2 = -2;
constexpr int32_t PRZ_SIMI = -4;
constexpr int32_t PRZ_ENERG0 = -5;
constexpr int32_t PRZ_F0 = -7;
constexpr int32_t PRZ_F1 = -8;
constexpr int32_t PRZ_F2 = -9;

#define PRZ_FIELD(f) static_cast<int32_t>(offsetof(PrzodekData, f))

constexpr ParamEntry kGenotypeTable[] = {
    paramHeader("Genotype", 4, 21, "org:"),
    paramGroup("Body"),
    paramGroup("Performance"),
    paramGroup("Conversions"),
    {"name", 0, "Name", "s 0 30", PRZ_FIELD(name), nullptr},
    {"genotype", 0, "Genotype", "s 1 9999", PRZ_FIELD(genotype), nullptr},
    {"info", 0, "Info", "s 1 999", PRZ_FIELD(info), "Additional information or comments"},
    {"strsiz", 1 | PF_COMPUTED, "Body size", "f", PRZ_FIELD(strsiz), nullptr},
    {"stnum", 1 | PF_COMPUTED, "Sticks", "d", PRZ_FIELD(stnum), "Number of sticks"},
    {"neunum", 1 | PF_COMPUTED, "Neurons", "d", PRZ_FIELD(neunum), "Number of neurons"},
    {"nnsiz", 1 | PF_COMPUTED, "Brain size", "f", PRZ_FIELD(nnsiz), nullptr},
    {"simi", 1 | PF_COMPUTED, "Similarity", "f", PRZ_SIMI, nullptr},
    {"energ0", 1 | PF_COMPUTED, "Starting Energy", "f", PRZ_ENERG0, nullptr},
    {"num", 2, "#", "d", PRZ_FIELD(num), "Ordinal number"},
    {"popsiz", 2, "Individuals", "d", PRZ_FIELD(popsiz), nullptr},
    {"lifespan", 2, "Life span", "f", PRZ_FIELD(lifespan), "Average life span"},
    {"velocity", 2, "Velocity", "f", PRZ_FIELD(velocity), "Average velocity"},
    {"distance", 2, "Distance", "f", PRZ_FIELD(distance), nullptr},
    {"vertdist", 2, "Vertical velocity", "f", PRZ_FIELD(vertvel), nullptr},
    {"vertpos", 2, "Vertical position", "f", PRZ_FIELD(vertpos), nullptr},
    {"fit", 2 | PF_COMPUTED, "Fitness", "f", PRZ_FIT, nullptr},
    {"fit2", 2 | PF_COMPUTED, "Final fitness", "f", PRZ_FIT2, "Fitnes shifted by (avg-n*stddev)"},
    {"f0genotype", 3 | PF_COMPUTED, "f0 Genotype", "s 1 9999", PRZ_F0, "converted to F0 genotype"},
    {"f1genotype", 3 | PF_COMPUTED, "f1 Genotype", "s 1 9999", PRZ_F1, "converted to F1 genotype"},
    {"f2genotype", 3 | PF_COMPUTED, "f2 Genotype", "s 1 9999", PRZ_F2, "converted to F2 genotype"},
    paramEnd(),
};
static_assert(paramTableValid(kGenotypeTable));

#undef PRZ_FIELD

prz_param::prz_param(przodek* record) : param(kGenotypeTable, record) {}

void* prz_param::fieldAddress(int i) {
  if (base() == nullptr) return nullptr;
  const ParamEntry& r = row(i);
  if (r.offset >= 0)
    return reinterpret_cast<char*>(static_cast<PrzodekData*>(static_cast<przodek*>(base()))) + r.offset;
  return nullptr;
}

int prz_param::setLocal(int i, std::string_view text) { return setBase(i, text); }

przodek::przodek(const Genetics* genetics, std::string genotypeText, std::string nameText, std::string infoText,
                 bool skipRefresh)
    : genetics_(genetics), acc_(this) {
  genotype = std::move(genotypeText);
  name = std::move(nameText);
  info = std::move(infoText);
  if (!skipRefresh) refresh();
}

przodek::~przodek() = default;

void przodek::refresh() {
  strsiz = nnsiz = 0;
  stnum = neunum = 0;
  stickCount = 1.0;
}

}  // namespace vorlund
