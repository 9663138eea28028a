#include "genepool/przodek.h"

#include <cstddef>
#include <utility>

#include "genepool/make_name.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund {

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
  przodek& rec = *static_cast<przodek*>(base());
  const int32_t offset = row(i).offset;
  if (offset >= 0) return reinterpret_cast<char*>(static_cast<PrzodekData*>(&rec)) + offset;
  if (computedRecordValue(rec, offset, number_, text_) == 's') return &text_;
  return &number_;
}

int prz_param::setLocal(int i, std::string_view text) {
  int result = setBase(i, text);
  if ((result & PSET_CHANGED) == 0 || base() == nullptr) return result;
  przodek& rec = *static_cast<przodek*>(base());
  const std::string_view id = row(i).id;
  if (id == "name") {
    if (GenMan::SameGenotype(rec.name.c_str(), "") == 0) {
      // A blank name is replaced by a generated one.
      rec.name.clear();
      result |= PSET_HITMIN;
      rec.refresh();
    }
  } else if (id == "genotype") {
    rec.refresh();
  }
  return result;
}

char computedRecordValue(przodek& rec, int32_t code, double& number, std::string& text) {
  const Genetics* g = rec.genetics();
  const FitnessSource* fit = g != nullptr ? g->fitness : nullptr;
  const GenMan* gm = g != nullptr ? g->genman : nullptr;
  switch (code) {
    case PRZ_FIT:
      number = fit != nullptr ? fit->rawFitness(rec) : 0.0;
      return 'f';
    case PRZ_FIT2:
      number = fit != nullptr ? fit->finalFitness(rec) : 0.0;
      return 'f';
    case PRZ_SIMI:
      number = fit != nullptr ? fit->similarity(rec) : rec.simi;
      return 'f';
    case PRZ_ENERG0: {
      const double energy0 = (g != nullptr && g->settings != nullptr) ? g->settings->Energy0 : SimSettings{}.Energy0;
      number = rec.stickCount * energy0;
      return 'f';
    }
    case PRZ_LIFE_PER_STICK:
      number = rec.stickCount != 0 ? rec.lifespan / rec.stickCount : 0.0;
      return 'f';
    case PRZ_F0:
    case PRZ_F1:
    case PRZ_F2: {
      const char format = static_cast<char>('0' + (PRZ_F0 - code));
      // A failed conversion shows the registry's own answer.
      if (gm == nullptr)
        text = kConverterNotFound;
      else
        gm->Convert(rec.genotype, format, text);
      return 's';
    }
    default:
      number = 0;
      return 'f';
  }
}

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
  if (genotype.empty()) {
    strsiz = nnsiz = 0;
    stnum = neunum = 0;
    stickCount = 1.0;
    return;
  }
  org body(genetics_, genotype, name, info);
  body.Build();
  stnum = body.estCount();
  neunum = body.neuroCount();
  strsiz = static_cast<double>(stnum + 1 - body.sesCount()) + stnum;
  long inputs = 0;
  for (const auto& n : body.l_neu) inputs += n->inputCount();
  nnsiz = static_cast<double>(inputs);
  stickCount = static_cast<double>(stnum);
  if (name.empty()) name = makeName(body);
}

}  // namespace vorlund
