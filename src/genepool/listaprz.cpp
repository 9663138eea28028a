#include "genepool/listaprz.h"

#include <climits>
#include <utility>

#include "genetics/genman.h"
#include "world/org.h"

namespace vorlund {

listaprz::~listaprz() {
  for (int i = size() - 1; i >= 0; --i) delete get(i);
  clearItems();
}

void listaprz::markStale() {
  statsChanged();
  if (allSimiStale) return;
  for (int i = 0; i < size(); ++i) get(i)->simiStale = 1;
  allSimiStale = true;
}

przodek* listaprz::add(std::unique_ptr<przodek> rec) {
  if (size() == 0) nextNumber = 1;
  // A file may number a record with the largest number there is; the numbers
  // then stay there rather than wrap around to negative ones.
  const auto after = [](int num) { return num < INT_MAX ? num + 1 : INT_MAX; };
  if (rec->num == 0) {
    rec->num = nextNumber;
    nextNumber = after(nextNumber);
  } else if (rec->num >= nextNumber) {
    nextNumber = after(rec->num);
  }
  markStale();
  rec->simiStale = 1;
  przodek* x = rec.release();
  lista2<przodek>::add(x);
  return x;
}

std::unique_ptr<przodek> listaprz::release(int i) {
  przodek* x = get(i);
  if (x == nullptr) return nullptr;
  markStale();
  lista2<przodek>::removeAt(i);
  return std::unique_ptr<przodek>(x);
}

void listaprz::changed(int i) {
  markStale();
  if (sorted() && i >= 0 && i < size()) {
    // Moved by hand: the list's own re-insertion would destroy and renumber the record.
    przodek* x = get(i);
    const bool beforePrev = i > 0 && compare(x, get(i - 1)) < 0;
    const bool afterNext = i + 1 < size() && compare(x, get(i + 1)) > 0;
    if (beforePrev || afterNext) {
      lista2<przodek>::removeAt(i);
      lista2<przodek>::add(x);
      return;
    }
  }
  lista2<przodek>::changed(i);
}

przodek* listaprz::foldPerformance(const org& creature) {
  if (creature.genotype.empty()) return nullptr;
  int index = -1;
  for (int i = 0; i < size(); ++i)
    if (GenMan::SameGenotype(get(i)->genotype.c_str(), creature.genotype.c_str()) == 0) {
      index = i;
      break;
    }
  std::unique_ptr<przodek> fresh;
  przodek* rec = get(index);
  if (rec == nullptr) {
    fresh = std::make_unique<przodek>(genetics_, creature.genotype, creature.name, creature.info);
    rec = fresh.get();
  }
  const double n = rec->popsiz;
  for (double PrzodekData::*field : kPerformanceFields) {
    // Body and brain size are structural: the record's own values stand.
    if (field == &PrzodekData::strsiz || field == &PrzodekData::nnsiz) continue;
    rec->*field = (n * (rec->*field) + creature.*field) / (n + 1);
  }
  ++rec->popsiz;
  if (fresh) return add(std::move(fresh));
  statsChanged();
  changedListeners.notify(index);
  return rec;
}

void listaprz::removeIndividual(przodek* rec) {
  const int index = find(rec);
  if (index < 0) return;
  if (rec->popsiz < 2) {
    removeAt(index);
    return;
  }
  --rec->popsiz;
  // One individual fewer changes the averages even when the record stays.
  statsChanged();
  changedListeners.notify(index);
}

void listaprz::clearPerformance() {
  for (int i = 0; i < size(); ++i) get(i)->popsiz = 0;
  changed(-1);
}

}  // namespace vorlund
