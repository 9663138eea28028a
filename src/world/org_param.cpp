#include "world/org_param.h"

#include <cstddef>

#include "world/org.h"

namespace vorlund {

namespace {

// Offsets at and above this name a field of the org's own part (not of the
// genotype record), by the codes below.
constexpr int32_t kOrgOwnField = 0x100000;
enum OrgFieldCode : int32_t {
  ORGF_C_VELOCITY = kOrgOwnField,
  ORGF_ENERGY_P,
  ORGF_ENERGY_M,
  ORGF_ENERGY_B,
  ORGF_ENERGY,
  ORGF_WIEK,
};

}  // namespace

#define PRZ_FIELD(f) static_cast<int32_t>(offsetof(PrzodekData, f))

constexpr ParamEntry kCreatureTable[] = {
    paramHeader("Creature", 3, 15, nullptr),
    paramGroup("Performance"),
    paramGroup("Energy"),
    {"name", 0, "Name", "s 0 30", PRZ_FIELD(name), nullptr},
    {"genotype", 0 | PF_READONLY, "Genotype", "s 1 9999", PRZ_FIELD(genotype), nullptr},
    {"info", 0, "Info", "s 1 999", PRZ_FIELD(info), "Additional information or comments"},
    {"status", 0 | PF_COMPUTED, "Status", "s", PRZ_STATUS, nullptr},
    {"wiek", 1 | PF_COMPUTED, "Age", "d", ORGF_WIEK, "Age in simulation steps"},
    {"lifespan", 1 | PF_READONLY, "Life span", "f", PRZ_FIELD(lifespan), nullptr},
    {"velocity", 1 | PF_READONLY, "Velocity", "f", PRZ_FIELD(velocity), "Average velocity"},
    {"distance", 1 | PF_READONLY, "Distance", "f", PRZ_FIELD(distance), nullptr},
    {"vertvel", 1 | PF_READONLY, "Vertical velocity", "f", PRZ_FIELD(vertvel), nullptr},
    {"vertpos", 1 | PF_READONLY, "Vertical position", "f", PRZ_FIELD(vertpos), nullptr},
    {"c_velocity", 1 | PF_READONLY, "Current velocity", "f", ORGF_C_VELOCITY, nullptr},
    {"energy_p", 2 | PF_READONLY, "Energy income", "f", ORGF_ENERGY_P, "Energy gained in the last step"},
    {"energy_m", 2 | PF_READONLY, "Energy usage", "f", ORGF_ENERGY_M, "Energy used in the last step"},
    {"energy_b", 2 | PF_READONLY, "Energy balance", "f", ORGF_ENERGY_B, "Energy balance of the last step"},
    {"energy", 2, "Energy", "f", ORGF_ENERGY, nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kCreatureTable));

#undef PRZ_FIELD

std::string creatureStatus(const org& o) {
  std::string s;
  if (o.flags & ORG_STATS)
    s = "performance";
  else if (o.flags & ORG_WAITSTILL)
    s = "wait4freeze";
  else
    s = "wait4up";
  if (o.flags & ORG_GROWING) s += "+growing";
  return s;
}

org_param::org_param(org* o) : param(kCreatureTable, o) {}

void* org_param::fieldAddress(int i) {
  if (base() == nullptr) return nullptr;
  org& o = *static_cast<org*>(base());
  const int32_t offset = row(i).offset;
  switch (offset) {
    case ORGF_C_VELOCITY:
      return &o.c_velocity;
    case ORGF_ENERGY_P:
      return &o.energy_p;
    case ORGF_ENERGY_M:
      return &o.energy_m;
    case ORGF_ENERGY_B:
      return &o.energy_b;
    case ORGF_ENERGY:
      return &o.energy;
    case ORGF_WIEK:
      return &o.wiek;
    case PRZ_STATUS:
      text_ = creatureStatus(o);
      return &text_;
    default:
      break;
  }
  if (offset >= 0) return reinterpret_cast<char*>(static_cast<PrzodekData*>(&o)) + offset;
  if (computedRecordValue(o, offset, number_, text_) == 's') return &text_;
  return &number_;
}

}  // namespace vorlund
