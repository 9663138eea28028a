#include "genetics/f1/f1_dev_neuron.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <cstdlib>

#include "core/strutil.h"
#include "genetics/f1/f1_alphabet.h"

namespace vorlund {

namespace {

int segmentType(char c) {
  switch (c) {
    case '*': return F1_SEG_CONSTANT;
    case 'T': return F1_SEG_TOUCH;
    case 'G': return F1_SEG_EQUILIBRIUM;
    case 'S': return F1_SEG_SMELL;
    case '=': return F1_SEG_INERTIA;
    case '!': return F1_SEG_FORCE;
    case '/': return F1_SEG_SIGMOID;
    default: return -1;
  }
}

// The relative connection written before ":", read as an integer that stops at
// the first non-digit; numbers beyond int are held at its bounds.
int readConnection(const std::string& text, std::size_t from) {
  long long v = 0;
  parseInteger(std::string_view(text).substr(std::min(from, text.size())), v);
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

F1NeuronText readF1Neuron(const std::string& text, std::size_t open) {
  F1NeuronText n;
  const std::size_t len = text.size();
  std::size_t p = open + 1;
  while (p < len && f1::isWhite(text[p])) ++p;
  if (p < len && text[p] == '@') {
    n.control = 1;
    ++p;
  } else if (p < len && text[p] == '|') {
    n.control = 2;
    ++p;
  }

  // Connection and weight carry over to the next segment; only the type resets.
  int type = F1_SEG_NEURON;
  int conn = 0;
  double weight = 0.0;
  std::size_t segStart = p;
  // The integer before ":" depends only on the segment start, so it is read
  // once per segment even when the segment holds many colons.
  bool connRead = false;
  int segConn = 0;

  auto finishSegment = [&]() {
    switch (type) {
      case F1_SEG_INERTIA: n.inertia = std::clamp(weight, 0.0, 1.0); break;
      case F1_SEG_FORCE: n.force = std::clamp(weight, 0.0, 1.0); break;
      case F1_SEG_SIGMOID: n.sigmoid = weight; break;
      default: n.inputs.push_back({type, conn, weight}); break;
    }
    type = F1_SEG_NEURON;
    connRead = false;
  };

  for (; p < len; ++p) {
    const char c = text[p];
    if (c == ',') {
      finishSegment();
      segStart = p + 1;
      continue;
    }
    if (c == ']' || c == ')') {
      finishSegment();
      n.end = c == ']' ? p + 1 : p;
      return n;
    }
    if (c == ':') {
      if (p > segStart) {
        if (!connRead) {
          segConn = readConnection(text, segStart);
          connRead = true;
        }
        conn = segConn;
      }
      weight = 0;
      parseReal(std::string_view(text).substr(p + 1), weight);
      continue;
    }
    const int t = segmentType(c);
    if (t >= 0) type = t;
  }
  finishSegment();
  n.end = len;
  return n;
}

}  // namespace vorlund
