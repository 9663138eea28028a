#include "world/validity_checker.h"

#include "core/message.h"
#include "world/physical_ranges.h"

namespace vorlund {

namespace {

// Written so that a NaN fails.
bool within(double x, double lo, double hi) { return x >= lo && x <= hi; }
bool within(const Vec3& v, double lo, double hi) { return within(v.x, lo, hi) && within(v.y, lo, hi) && within(v.z, lo, hi); }

class Reporter {
 public:
  explicit Reporter(std::string_view label) : label_(label) {}
  void operator()(std::string_view message) const { logMessage("debug", label_, message, LOG_CRITICAL); }
  void unless(bool ok, std::string_view message) const {
    if (!ok) (*this)(message);
  }

 private:
  std::string_view label_;
};

void checkSes(const ses& s, const Reporter& report) {
  report.unless(within(s.p, -kPositionLimit, kPositionLimit), "invalid ses->p");
  report.unless(within(s.v, -kVelocityLimit, kVelocityLimit), "invalid ses->v");
  report.unless(within(s.o.x, -kFrameLimit, kFrameLimit), "invalid ses->o.x");
  report.unless(within(s.o.y, -kFrameLimit, kFrameLimit), "invalid ses->o.y");
  report.unless(within(s.o.z, -kFrameLimit, kFrameLimit), "invalid ses->o.z");
  report.unless(within(s.m, kMassMin, kMassMax), "invalid ses->m");
  report.unless(within(s.tarcie, 0, kFrictionMax), "invalid ses->tarcie");
  report.unless(within(s.wchl, 0, kIngestionMax), "invalid ses->wchl");
}

void checkEst(const est& k, const Reporter& report) {
  report.unless(k.e[1] != nullptr && k.e[1]->owner == &k, "invalid est->e");
  report.unless(within(k.r, -kAngleLimit, kAngleLimit), "invalid est->r");
  report.unless(within(k.r0, -kAngleLimit, kAngleLimit), "invalid est->r0");
  report.unless(within(k.ruch, 0, kMusclePowerMax), "invalid est->ruch");
  report.unless(within(k.asym, 0, kPropertyMax), "invalid est->asym");
  report.unless(within(k.odpor, 0, kPropertyMax), "invalid est->odpor");
  report.unless(within(k.zakz, 0, kPropertyMax), "invalid est->zakz");
}

void checkNeuro(const neuro& n, const org& owner, const Reporter& report) {
  report.unless(n.kto == &owner, "invalid neuro->kto");
  report.unless(within(n.stan, -kOutputLimit, kOutputLimit), "invalid neuro->stan");
  report.unless(within(n.nstan, -kStateLimit, kStateLimit), "invalid neuro->nstan");
  report.unless(within(n.sstan, -kStateLimit, kStateLimit), "invalid neuro->sstan");
  report.unless(n.typster >= NEURO_NO_MUSCLE && n.typster <= NEURO_MUSCLE_BEND, "invalid neuro->typster");
  for (int i = 0; i < n.inputCount(); ++i) {
    const wej* in = n.input(i);
    if (in == nullptr) {
      report("invalid l_wej entry");
      break;
    }
    report.unless(in->typ >= WEJ_NEURON && in->typ <= WEJ_SMELL, "invalid wej->typ");
    report.unless(within(in->w, -kWeightLimit, kWeightLimit), "invalid wej->w");
  }
}

}  // namespace

void checkObject(const org& o, std::string_view label) {
  const Reporter report(label);
  report.unless(o.typ >= 0 && o.typ <= 2, "invalid org->typ");
  report.unless(o.wiek >= o.drogawiek, "drogawiek>wiek");
  for (int i = 0; i < o.sesCount(); ++i) {
    const ses* s = o.getSes(i);
    if (s == nullptr) {
      report("invalid l_ses entry");
      break;
    }
    checkSes(*s, report);
  }
  for (int i = 0; i < o.estCount(); ++i) {
    const est* k = o.getEst(i);
    if (k == nullptr) {
      report("invalid l_est entry");
      break;
    }
    checkEst(*k, report);
  }
  for (int i = 0; i < o.neuroCount(); ++i) {
    const neuro* n = o.getNeuro(i);
    if (n == nullptr) {
      report("invalid l_neu entry");
      break;
    }
    checkNeuro(*n, o, report);
  }
}

void checkValidity(const listaduo<org>& objects, bool enabled, std::string_view label) {
  if (!enabled) return;
  const int count = objects.size();
  for (int i = 0; i < count; ++i) {
    const org* o = objects.get(i);
    if (o == nullptr) {
      logMessage("debug", label, "invalid all entry", LOG_CRITICAL);
      return;
    }
    checkObject(*o, label);
  }
}

}  // namespace vorlund
