#include "genetics/f4/f4_fuzz.h"

#include <string>

#include "core/message.h"
#include "core/random.h"
#include "genetics/converters.h"
#include "genetics/f4/f4_node.h"
#include "genetics/f4/geno_f4.h"

namespace vorlund {

namespace {

// A partner for crossovers that always develops.
constexpr const char* kFuzzPartner = "<<X>N[*:1]>,lX";
constexpr float kFuzzMutation = 0.1f, kFuzzCrossover = 0.5f;

uint64_t hashBytes(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

bool validOrRepaired(int r) { return r == 0 || r == -1; }

// Keeps the messages of bad genotypes out of the log and the terminal.
class QuietLog {
 public:
  QuietLog() : path_(logFilePath()), level_(stderrLevel()) {
    setLogFilePath("");
    setStderrLevel(-1);
  }
  ~QuietLog() {
    setLogFilePath(path_);
    setStderrLevel(level_);
  }
  QuietLog(const QuietLog&) = delete;
  QuietLog& operator=(const QuietLog&) = delete;

 private:
  std::string path_;
  int level_;
};

int check(const std::string& body) {
  TGeno_f4 op;
  std::string out;
  convertF4ToF0(body, out);
  convertF4ToF1(body, out);
  for (int i = 0; i < static_cast<int>(body.size()); ++i) op.Style(body, i);

  // The tree written back parses into the same text.
  f4tree tree;
  if (tree.parse(body) == F4_PARSE_OK) {
    const std::string written = tree.write();
    f4tree again;
    if (again.parse(written) != F4_PARSE_OK || again.write() != written) return 1;
  }

  // A repaired genotype is valid as written.
  std::string repaired = body;
  const int v = op.Validate(repaired);
  if (op.CheckValidity(body) != v) return 1;
  if (!validOrRepaired(v)) return 0;
  if (op.CheckValidity(repaired) != 0) return 1;

  // Offspring of a developing genotype develop too.
  std::string mutant = repaired;
  float change = kFuzzMutation;
  if (op.Mutate(mutant, change) == 0 && !validOrRepaired(op.Validate(mutant))) return 1;
  std::string child1 = repaired, child2 = kFuzzPartner;
  float c1 = kFuzzCrossover, c2 = kFuzzCrossover;
  if (op.CrossOver(child1, child2, c1, c2) == 0 &&
      (!validOrRepaired(op.Validate(child1)) || !validOrRepaired(op.Validate(child2))))
    return 1;
  return 0;
}

}  // namespace

int fuzzF4(const uint8_t* data, std::size_t size) {
  if (size > F4_FUZZ_MAX_INPUT) size = F4_FUZZ_MAX_INPUT;
  const std::string body(reinterpret_cast<const char*>(data), size);
  QuietLog quiet;
  // The same input always takes the same random choices.
  seedRandom(hashBytes(body));
  return check(body);
}

}  // namespace vorlund
