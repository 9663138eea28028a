// Similarity of encoding-1 genotypes: differences of four counts and of their
// branch structure, weighted.
#include <algorithm>
#include <cmath>

#include "core/message.h"
#include "genetics/f1/geno_f1.h"

namespace vorlund {

namespace {

struct Counts {
  double sticks = 0;       // 'X'
  double bodySize = 0;     // 'X', '(' and ')'
  double neurons = 0;      // '['
  double networkSize = 0;  // inputs: one per neuron plus one per comma inside it
};

Counts countParts(const std::string& text) {
  Counts c;
  bool inNeuron = false;
  for (char ch : text) {
    switch (ch) {
      case 'X':
        c.sticks += 1;
        c.bodySize += 1;
        break;
      case '(':
      case ')':
        c.bodySize += 1;
        break;
      case '[':
        c.neurons += 1;
        c.networkSize += 1;
        inNeuron = true;
        break;
      case ']':
        inNeuron = false;
        break;
      case ',':
        if (inNeuron) c.networkSize += 1;
        break;
      default:
        break;
    }
  }
  return c;
}

double relativeDifference(double a, double b) {
  const double m = std::max(a, b);
  return std::fabs(a - b) / (m > 0 ? m : 1.0);
}

// Sticks up to the end of the segment that starts at `pos`; moves `pos` past its end.
int segmentSticks(const std::string& text, std::size_t& pos) {
  int sticks = 0;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '(' || c == ',') break;
    if (c == 'X') ++sticks;
    if (c == '[')
      while (pos < text.size() && text[pos++] != ']') {
      }
  }
  return sticks;
}

}  // namespace

double f1StructSim(const std::string& text1, const std::string& text2) {
  if (text1.empty() || text2.empty()) {
    logMessage("TGeno_f1", "StructSim", "Empty genotype(s)", LOG_ERROR);
    return 1.0;
  }
  std::size_t p1 = 0, p2 = 0;
  double sum = 0;
  int pairs = 0;
  // Each round consumes at least one character of a text that is not yet used up.
  while (p1 < text1.size() || p2 < text2.size()) {
    const int c1 = segmentSticks(text1, p1);
    const int c2 = segmentSticks(text2, p2);
    if (c1 == 0 && c2 == 0) continue;
    sum += std::abs(c1 - c2) / static_cast<double>(std::max(c1, c2));
    ++pairs;
  }
  return pairs > 0 ? sum / pairs : 0.0;
}

float TGeno_f1::Similarity(const std::string& text1, const std::string& text2) {
  const Counts a = countParts(text1);
  const Counts b = countParts(text2);
  const double weights = vars.geno_f1_simNN + vars.geno_f1_simSN + vars.geno_f1_simSS + vars.geno_f1_simNS +
                         vars.geno_f1_simStr;
  const double difference = f1StructSim(text1, text2) * vars.geno_f1_simStr +
                            relativeDifference(a.sticks, b.sticks) * vars.geno_f1_simNN +
                            relativeDifference(a.bodySize, b.bodySize) * vars.geno_f1_simSN +
                            relativeDifference(a.neurons, b.neurons) * vars.geno_f1_simSS +
                            relativeDifference(a.networkSize, b.networkSize) * vars.geno_f1_simNS;
  // With every weight at zero nothing tells the two apart.
  if (weights <= 0) return 1.0f;
  return static_cast<float>(1.0 - difference / weights);
}

}  // namespace vorlund
