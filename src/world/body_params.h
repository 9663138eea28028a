// The parameter tables of the format-0 records and small accessors that bind
// them to one body element: a stick end ("p:"), a stick ("j:"), a neuron
// ("neu:") or a neuron input ("inp:").
#pragma once

#include "core/param.h"
#include "world/body.h"

namespace vorlund {

extern const ParamEntry kSesPositionTable[];
extern const ParamEntry kSesOtherTable[];
extern const ParamEntry kEstConnectionsTable[];
extern const ParamEntry kEstOtherTable[];
extern const ParamEntry kNeuronTable[];
extern const ParamEntry kNeuronInputTable[];

// "SES Position" chained with "SES Other Properties".
class SesParams {
 public:
  explicit SesParams(ses* s);
  SesParams(const SesParams&) = delete;
  SesParams& operator=(const SesParams&) = delete;
  param& acc() { return position_; }

 private:
  param position_, other_;
};

// "EST Connections" chained with "EST Other Properties".
class EstParams {
 public:
  explicit EstParams(est* k);
  EstParams(const EstParams&) = delete;
  EstParams& operator=(const EstParams&) = delete;
  param& acc() { return connections_; }

 private:
  param connections_, other_;
};

// "Neuron Description".
class NeuroParams {
 public:
  explicit NeuroParams(neuro* n);
  param& acc() { return description_; }

 private:
  param description_;
};

// "Neuron Input Description".
class WejParams {
 public:
  explicit WejParams(wej* w);
  param& acc() { return description_; }

 private:
  param description_;
};

}  // namespace vorlund
