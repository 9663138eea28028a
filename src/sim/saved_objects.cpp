#include "sim/saved_objects.h"

#include <optional>
#include <utility>
#include <vector>

namespace vorlund {

namespace {

// One field list per type serves both directions: V is NumberWriter or NumberReader.
template <class V>
void visitRecordNumbers(V& v, przodek& r) {
  v(r.popsiz);
  v(r.num);
  v(r.stnum);
  v(r.neunum);
  for (double PrzodekData::*f : kPerformanceFields) v(r.*f);
  v(r.simi);
  v(r.simiStale);
  v(r.stickCount);
}

template <class V>
void visitLifeState(V& v, org& o) {
  v(o.energyWeight);
  v(o.sticks0);
  v(o.typ);
  v(o.flags);
  v(o.wiek);
  v(o.drogawiek);
  v(o.lastVZ);
  v(o.sumZ);
  v(o.sumVZ);
  v(o.c_velocity);
  v(o.energy_p);
  v(o.energy_m);
  v(o.energy_b);
  v(o.energy);
  v(o.grownEnergy);
  v(o.startEnergy);
  v(o.bboxMin);
  v(o.bboxMax);
  v(o.center);
  v(o.prevCenter);
}

// `owner`: index of the stick whose second end this is, -1 for none.
template <class V>
void visitSes(V& v, ses& s, int32_t& owner) {
  v(s.p);
  v(s.v);
  v(s.spin);
  v(s.force);
  v(s.torque);
  v(s.anchor);
  v(s.contact);
  v(s.state);
  v(s.m);
  v(s.buoy);
  v(s.tarcie);
  v(s.wchl);
  v(s.o);
  v(owner);
  v(s.foodPos);
  v(s.devIndex);
  v(s.D);
}

// `ends`: indices of the two stick ends, -1 for none.
template <class V>
void visitEst(V& v, est& k, int32_t (&ends)[2]) {
  v(ends[0]);
  v(ends[1]);
  v(k.r);
  v(k.r0);
  v(k.prevDiff);
  v(k.prevOrient);
  v(k.frame);
  v(k.len0);
  v(k.len);
  v(k.rest);
  v(k.rest0);
  v(k.ruch);
  v(k.asym);
  v(k.odpor);
  v(k.zakz);
  v(k.strain);
  v(k.muscles);
  v(k.sensors);
  v(k.bend);
  v(k.s1);
  v(k.s2);
  v(k.D);
}

// `place`: index of the neuron's stick; `inputs`: how many input lines follow.
template <class V>
void visitNeuro(V& v, neuro& n, int32_t& place, int32_t& inputs) {
  v(n.stan);
  v(n.nstan);
  v(n.vel);
  v(n.sstan);
  v(n.in);
  v(n.fo);
  v(n.si);
  v(n.muscleVel);
  v(n.typster);
  v(place);
  v(n.overload);
  v(n.ownIndex);
  v(n.estIndex);
  v(n.D);
  v(inputs);
}

// `source`: index of the source neuron; `stick`: index of the sensed stick.
template <class V>
void visitInput(V& v, wej& w, int32_t& source, int32_t& stick) {
  v(w.typ);
  v(w.w);
  v(w.n);
  v(w.conn);
  v(source);
  v(stick);
  v(w.val);
}

// A stored index as a pointer into `list`; false when it names nothing there.
template <class T>
bool pointerAt(const OwningList<T>& list, int32_t index, T*& out) {
  if (index == -1) {
    out = nullptr;
    return true;
  }
  out = list.get(index);
  return out != nullptr;
}

}  // namespace

void writeRecordFields(std::string& out, const przodek& rec) {
  przodek& r = const_cast<przodek&>(rec);  // the visitors only read through the writer
  writeTextLine(out, "genotype", r.genotype);
  writeTextLine(out, "name", r.name);
  writeTextLine(out, "info", r.info);
  writeKeyLine(out, "numbers", numberLine([&](NumberWriter& w) { visitRecordNumbers(w, r); }));
}

bool readRecordFields(StateReader& in, przodek& rec) {
  in.text("genotype", rec.genotype);
  in.text("name", rec.name);
  in.text("info", rec.info);
  in.numbers("numbers", [&](NumberReader& r) { visitRecordNumbers(r, rec); });
  return !in.failed();
}

std::unique_ptr<przodek> readSavedRecord(StateReader& in, const Genetics* genetics) {
  auto rec = std::make_unique<przodek>(genetics, std::string(), std::string(), std::string(), true);
  if (!in.expectLine(kSavedRecordSection) || !readRecordFields(in, *rec) || !in.expectLine("")) return nullptr;
  return rec;
}

void writeObject(std::string& out, const org& obj) {
  org& o = const_cast<org&>(obj);  // the visitors only read through the writer
  writeRecordFields(out, o);
  writeKeyLine(out, "life", numberLine([&](NumberWriter& w) { visitLifeState(w, o); }));
  writeKeyLine(out, "body", numberLine([&](NumberWriter& w) {
                 w(static_cast<int32_t>(o.sesCount()));
                 w(static_cast<int32_t>(o.estCount()));
                 w(static_cast<int32_t>(o.neuroCount()));
               }));
  for (const auto& s : o.l_ses) {
    int32_t owner = s->owner != nullptr ? o.l_est.find(s->owner) : -1;
    writeKeyLine(out, "ses", numberLine([&](NumberWriter& w) { visitSes(w, *s, owner); }));
  }
  for (const auto& k : o.l_est) {
    int32_t ends[2] = {k->e[0] != nullptr ? o.l_ses.find(k->e[0]) : -1,
                       k->e[1] != nullptr ? o.l_ses.find(k->e[1]) : -1};
    writeKeyLine(out, "est", numberLine([&](NumberWriter& w) { visitEst(w, *k, ends); }));
  }
  for (const auto& n : o.l_neu) {
    int32_t place = n->place != nullptr ? o.l_est.find(n->place) : -1;
    int32_t inputs = n->inputCount();
    writeKeyLine(out, "neuro", numberLine([&](NumberWriter& w) { visitNeuro(w, *n, place, inputs); }));
    for (const auto& in : n->l_wej) {
      int32_t source = in->srcNeuron != nullptr ? o.l_neu.find(in->srcNeuron) : -1;
      int32_t stick = in->srcStick != nullptr ? o.l_est.find(in->srcStick) : -1;
      writeKeyLine(out, "in", numberLine([&](NumberWriter& w) { visitInput(w, *in, source, stick); }));
    }
  }
}

std::unique_ptr<org> readObject(StateReader& in, const Genetics* genetics) {
  auto o = std::make_unique<org>(genetics);
  if (!readRecordFields(in, *o)) return nullptr;
  in.numbers("life", [&](NumberReader& r) { visitLifeState(r, *o); });
  int32_t counts[3] = {0, 0, 0};
  in.numbers("body", [&](NumberReader& r) {
    for (int32_t& c : counts) r(c);
  });
  if (in.failed()) return nullptr;
  for (int32_t c : counts)
    if (c < 0 || c > POSMAP_INDEX_MASK) {
      in.fail("impossible body size");
      return nullptr;
    }
  // A body with sticks on chunks of its own, as its development lays it
  // out (see element_pool.h); an energy ball's one end shares them.
  std::optional<BodyRun> run;
  if (counts[1] > 0) run.emplace();
  // Elements first, so that every index can be resolved when the links are made.
  for (int i = 0; i < counts[0]; ++i) o->addSes();
  for (int i = 0; i < counts[1]; ++i) o->l_est.add();
  std::vector<int32_t> sesOwners(static_cast<std::size_t>(counts[0]));
  for (int i = 0; i < counts[0]; ++i)
    in.numbers("ses", [&](NumberReader& r) { visitSes(r, *o->getSes(i), sesOwners[static_cast<std::size_t>(i)]); });
  bool linked = !in.failed();
  for (int i = 0; i < counts[0] && linked; ++i)
    linked = pointerAt(o->l_est, sesOwners[static_cast<std::size_t>(i)], o->getSes(i)->owner);
  for (int i = 0; i < counts[1] && linked; ++i) {
    est& k = *o->getEst(i);
    int32_t ends[2] = {-1, -1};
    in.numbers("est", [&](NumberReader& r) { visitEst(r, k, ends); });
    linked = !in.failed() && pointerAt(o->l_ses, ends[0], k.e[0]) && pointerAt(o->l_ses, ends[1], k.e[1]);
  }
  // Source neurons may come later in the list: linked once all are read.
  std::vector<std::pair<wej*, int32_t>> sources;
  for (int i = 0; i < counts[2] && linked; ++i) {
    neuro& n = *o->l_neu.add();
    n.kto = o.get();
    int32_t place = -1, inputs = 0;
    in.numbers("neuro", [&](NumberReader& r) { visitNeuro(r, n, place, inputs); });
    linked = !in.failed() && inputs >= 0 && pointerAt(o->l_est, place, n.place);
    for (int j = 0; j < inputs && linked; ++j) {
      wej& w = *n.addInput();
      int32_t source = -1, stick = -1;
      in.numbers("in", [&](NumberReader& r) { visitInput(r, w, source, stick); });
      sources.emplace_back(&w, source);
      linked = !in.failed() && pointerAt(o->l_est, stick, w.srcStick);
    }
  }
  for (const auto& [w, source] : sources) linked = linked && pointerAt(o->l_neu, source, w->srcNeuron);
  if (!linked) {
    in.fail("a body element names one that does not exist");
    return nullptr;
  }
  return o;
}

}  // namespace vorlund
