#include "world/body_params.h"

#include <cstddef>

namespace vorlund {

#define SES_FIELD(f) static_cast<int32_t>(offsetof(ses, f))
#define EST_FIELD(f) static_cast<int32_t>(offsetof(est, f))
#define NEURO_FIELD(f) static_cast<int32_t>(offsetof(neuro, f))
#define WEJ_FIELD(f) static_cast<int32_t>(offsetof(wej, f))

constexpr ParamEntry kSesPositionTable[] = {
    paramHeader("SES Position", 1, 3, "p:"),
    {"x", 0, "x", "f", SES_FIELD(p) + static_cast<int32_t>(offsetof(Vec3, x)), nullptr},
    {"y", 0, "y", "f", SES_FIELD(p) + static_cast<int32_t>(offsetof(Vec3, y)), nullptr},
    {"z", 0, "z", "f", SES_FIELD(p) + static_cast<int32_t>(offsetof(Vec3, z)), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kSesPositionTable));

constexpr ParamEntry kSesOtherTable[] = {
    paramHeader("SES Other Properties", 1, 5, nullptr),
    {"m", 0, "mass", "f", SES_FIELD(m), nullptr},
    // The volume has no field of its own; it is kept in the velocity's first component.
    {"vol", 0, "volume", "f", SES_FIELD(v) + static_cast<int32_t>(offsetof(Vec3, x)), nullptr},
    {"fr", 0, "friction", "f", SES_FIELD(tarcie), nullptr},
    {"ing", 0, "ingestion", "f", SES_FIELD(wchl), nullptr},
    {"D", 0, "debuginfo", "d", SES_FIELD(D), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kSesOtherTable));

constexpr ParamEntry kEstConnectionsTable[] = {
    paramHeader("EST Connections", 1, 2, "j:"),
    {"s1", 0, "ses #1", "d", EST_FIELD(s1), nullptr},
    {"s2", 0, "ses #2", "d", EST_FIELD(s2), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kEstConnectionsTable));

constexpr ParamEntry kEstOtherTable[] = {
    paramHeader("EST Other Properties", 1, 5, nullptr),
    {"m", 0, "muscle power", "f", EST_FIELD(ruch), nullptr},
    {"as", 0, "assimilation", "f", EST_FIELD(asym), nullptr},
    {"st", 0, "strength", "f", EST_FIELD(odpor), nullptr},
    {"mz", 0, "movement range Z", "f", EST_FIELD(zakz), nullptr},
    {"D", 0, "debuginfo", "d", EST_FIELD(D), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kEstOtherTable));

constexpr ParamEntry kNeuronTable[] = {
    paramHeader("Neuron Description", 1, 6, "neu:"),
    {"est", 0, "est #", "d", NEURO_FIELD(estIndex), nullptr},
    {"ctrl", 0, "control", "d", NEURO_FIELD(typster), nullptr},
    {"in", 0, "inertia", "f", NEURO_FIELD(in), nullptr},
    {"fo", 0, "force", "f", NEURO_FIELD(fo), nullptr},
    {"si", 0, "sigmoid", "f", NEURO_FIELD(si), nullptr},
    {"D", 0, "debuginfo", "d", NEURO_FIELD(D), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kNeuronTable));

constexpr ParamEntry kNeuronInputTable[] = {
    paramHeader("Neuron Input Description", 1, 4, "inp:"),
    {"n", 0, "neuron #", "d", WEJ_FIELD(n), nullptr},
    {"t", 0, "input type", "d", WEJ_FIELD(typ), nullptr},
    {"w", 0, "weight", "f", WEJ_FIELD(w), nullptr},
    {"conn", 0, "relative connection", "d", WEJ_FIELD(conn), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kNeuronInputTable));

#undef SES_FIELD
#undef EST_FIELD
#undef NEURO_FIELD
#undef WEJ_FIELD

SesParams::SesParams(ses* s) : position_(kSesPositionTable, s, &other_), other_(kSesOtherTable, s) {}
EstParams::EstParams(est* k) : connections_(kEstConnectionsTable, k, &other_), other_(kEstOtherTable, k) {}
NeuroParams::NeuroParams(neuro* n) : description_(kNeuronTable, n) {}
WejParams::WejParams(wej* w) : description_(kNeuronInputTable, w) {}

}  // namespace vorlund
