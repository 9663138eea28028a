#include "genetics/f2/embryo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

#include "core/message.h"
#include "core/strutil.h"
#include "genetics/f2/f2_alphabet.h"

namespace vorlund {

namespace {

constexpr const char* kListSeparators = " \t,\r";
constexpr const char* kBlanks = " \t\r";

// A stick carries this many property levels after its two end vectors.
constexpr int kLevelCount = 11;
// A level of this value writes no modifier; every started unit away from it writes one letter.
constexpr double kNeutralLevel = 5.0;
constexpr const char* kRaiseLetters = "RQCLWFASMI ";
constexpr const char* kLowerLetters = "rqclwfasmi ";
// Levels far outside the usual 0..10 would otherwise write endless runs of letters.
constexpr int kMaxModifierRun = 50;
// Numbers the vectors and the attachment scores may hold together; a larger
// genotype is refused as out of memory instead of exhausting the machine.
constexpr double kMaxWorkingValues = 2.0e7;

// Muscle lists of a stick, by muscle character.
constexpr int kMuscleAt = 0;    // '@'
constexpr int kMuscleBar = 1;   // '|'

using Vec = std::vector<double>;

struct StickRec {
  Vec end[2];
  double level[kLevelCount];
  bool placed = false;
  std::vector<int> neurons;
  std::vector<int> muscles[2];
};

// A neuron (mark = receptor), a link or a muscle (mark = muscle character).
struct ConnRec {
  Vec v[2];
  char mark = 0;
  double weight = 0.0;
  std::vector<int> inputs;  // neurons linked into a neuron
  int input = -1;           // the neuron that drives a muscle
};

// One side of a stick meeting at a node: the node at its other end, the stick,
// and which end of the stick lies at this node.
struct NodeEntry {
  int node;
  int stick;
  int end;
};

struct Node {
  std::vector<NodeEntry> entries;  // oldest first; the newest counts as the front
  int fromStick = -1;              // the stick this node was created with (none for node 0)
};

double readNumber(const std::string& token) {
  double v = 0;
  if (parseReal(token, v) == 0 || !std::isfinite(v)) return 0.0;
  return v;
}

std::vector<double> readTokens(const std::string& text, const char* separators) {
  std::vector<double> values;
  std::size_t i = 0;
  while (i < text.size()) {
    i = text.find_first_not_of(separators, i);
    if (i == std::string::npos) break;
    std::size_t j = text.find_first_of(separators, i);
    if (j == std::string::npos) j = text.size();
    values.push_back(readNumber(text.substr(i, j - i)));
    i = j;
  }
  return values;
}

char lastNonBlankBefore(const std::string& line, std::size_t pos) {
  while (pos > 0) {
    --pos;
    if (!f2::inSet(line[pos], kBlanks)) return line[pos];
  }
  return '\0';
}

// Stick end to stick end: differences are truncated to whole units first.
double endSimilarity(const Vec& a, const Vec& b) {
  double s = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) s -= std::fabs(std::trunc(a[i] - b[i]));
  return s;
}

double similarity(const Vec& a, const Vec& b) {
  double s = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) s -= std::fabs(a[i] - b[i]);
  return s;
}

// The first pair (a, b) in reading order with the highest first[a] + second[b]
// (both lists non-empty).
std::pair<std::size_t, std::size_t> bestPair(const Vec& first, const Vec& second) {
  std::size_t ba = 0, bb = 0;
  double best = first[0] + second[0];
  for (std::size_t a = 0; a < first.size(); ++a)
    for (std::size_t b = 0; b < second.size(); ++b)
      if (first[a] + second[b] > best) {
        best = first[a] + second[b];
        ba = a;
        bb = b;
      }
  return {ba, bb};
}

void writeFile(const std::string& name, const std::string& text) {
  std::ofstream f(name, std::ios::binary);
  if (!f || !(f << text)) logMessage("f2", "err", ssprintf("Can not create the output file ( %s ).", name.c_str()), LOG_CRITICAL);
}

class Embryo {
 public:
  explicit Embryo(const EmbryoOptions& options) : options_(options) {}

  int run(const std::string& input, std::string& out, const std::string& listingBase) {
    if (!read(input)) return 0;
    if (sticks_.empty()) {
      // An empty body would be simulated as a creature without sticks.
      logMessage("f2", "err", "No stick found.", LOG_ERROR);
      return 0;
    }
    const double working = static_cast<double>(sticks_.size() + neurons_.size() + links_.size() + muscles_.size()) *
                               2.0 * static_cast<double>(dimension_) +
                           2.0 * static_cast<double>(sticks_.size()) * static_cast<double>(sticks_.size() + 1);
    if (working > kMaxWorkingValues) return fail("Not enought memory.");
    padVectors();
    assemble();
    if (options_.writeOnlyStkAndF1 == 0) {
      info("Writing F3...");
      writeListings(listingBase);
    }
    info("Converting from F3 to F1...");
    out = writeF1();
    return 1;
  }

 private:
  int fail(const std::string& message) {
    logMessage("f2", "err", message, LOG_CRITICAL);
    return 0;
  }

  void info(const std::string& text) {
    if (options_.moreInformations) logMessage("f2", "embryo", text, LOG_PLAIN);
  }

  // Both passes in one: every line is checked before anything is assembled.
  bool read(const std::string& input) {
    info("Reading data...");
    std::size_t start = 0;
    int lineNo = 0;
    while (start <= input.size()) {
      std::size_t eol = input.find('\n', start);
      if (eol == std::string::npos) eol = input.size();
      ++lineNo;
      const std::string line = input.substr(start, eol - start);
      start = eol + 1;
      if (line.find_first_not_of(kBlanks) == std::string::npos) continue;
      if (!readLine(line, lineNo)) return false;
    }
    if (options_.moreInformations)
      info(ssprintf("StickCnt:      %d\nConnCnt1:      %d\nConnCnt2:      %d\nConnCnt3:      %d\nMaxStickLeng: %d",
                    static_cast<int>(sticks_.size()), static_cast<int>(neurons_.size()),
                    static_cast<int>(links_.size()), static_cast<int>(muscles_.size()),
                    static_cast<int>(dimension_)));
    info("Reading data done.");
    return true;
  }

  bool readLine(const std::string& line, int lineNo) {
    const std::size_t open1 = line.find('(');
    if (open1 == std::string::npos) return fail(ssprintf("Required value '%s' in line %d not found.", "(", lineNo));
    const std::size_t close1 = line.find(')', open1);
    if (close1 == std::string::npos)
      return fail(ssprintf("Required value '%s' in line %d not found.", ")", lineNo));
    const bool isStick = line.find("stick") != std::string::npos;
    if (!isStick && line.find("conn") == std::string::npos)
      return fail(ssprintf("Unknown object type in line %d instead of %s or %s.", lineNo, "stick", "conn"));

    Vec first = readTokens(line.substr(open1 + 1, close1 - open1 - 1), kListSeparators);
    const std::size_t open2 = line.find('(', close1 + 1);
    Vec second;
    std::size_t restFrom = close1 + 1;
    if (open2 != std::string::npos) {
      std::size_t close2 = line.find(')', open2);
      if (close2 == std::string::npos) close2 = line.size();
      second = readTokens(line.substr(open2 + 1, close2 - open2 - 1), kListSeparators);
      restFrom = std::min(close2 + 1, line.size());
    }
    const Vec rest = readTokens(line.substr(restFrom), kBlanks);
    dimension_ = std::max({dimension_, first.size(), second.size()});

    if (isStick) {
      StickRec s;
      s.end[0] = std::move(first);
      s.end[1] = std::move(second);
      for (int i = 0; i < kLevelCount; ++i)
        s.level[i] = static_cast<std::size_t>(i) < rest.size() ? rest[static_cast<std::size_t>(i)] : kNeutralLevel;
      sticks_.push_back(std::move(s));
      return true;
    }
    ConnRec c;
    c.v[0] = std::move(first);
    c.v[1] = std::move(second);
    c.weight = rest.empty() ? 0.0 : rest[0];
    const char class1 = lastNonBlankBefore(line, open1);
    const char class2 = open2 == std::string::npos ? '\0' : lastNonBlankBefore(line, open2);
    if (f2::inSet(class1, f2::kReceptors)) {
      c.mark = class1;
      neurons_.push_back(std::move(c));
    } else if (f2::inSet(class2, f2::kMuscles)) {
      c.mark = class2;
      muscles_.push_back(std::move(c));
    } else {
      links_.push_back(std::move(c));
    }
    return true;
  }

  void padVectors() {
    for (StickRec& s : sticks_) {
      for (Vec& v : s.end) v.resize(dimension_, 0.0);
    }
    for (auto* list : {&neurons_, &links_, &muscles_})
      for (ConnRec& c : *list)
        for (Vec& v : c.v) v.resize(dimension_, 0.0);
    for (const StickRec& s : sticks_) {
      Vec m(dimension_);
      for (std::size_t i = 0; i < dimension_; ++i) m[i] = (s.end[0][i] + s.end[1][i]) / 2.0;
      middles_.push_back(std::move(m));
    }
  }

  // The attachment scores are kept as running sums per (unplaced stick, end, node),
  // so that one round of the greedy attachment does not revisit every entry.
  void addEntry(int node, const NodeEntry& entry) {
    nodes_[static_cast<std::size_t>(node)].entries.push_back(entry);
    const Vec& placedEnd = sticks_[static_cast<std::size_t>(entry.stick)].end[entry.end];
    for (std::size_t s = 0; s < sticks_.size(); ++s) {
      if (sticks_[s].placed) continue;
      for (int e = 0; e < 2; ++e) scoreSums_[s * 2 + static_cast<std::size_t>(e)][static_cast<std::size_t>(node)] +=
          endSimilarity(sticks_[s].end[e], placedEnd);
    }
  }

  int newNode(int fromStick) {
    nodes_.push_back(Node{{}, fromStick});
    for (Vec& sums : scoreSums_) sums.push_back(0.0);
    return static_cast<int>(nodes_.size()) - 1;
  }

  // Stick s joins node n (with its end e there) and a node created for its other end.
  void join(int s, int n, int e) {
    sticks_[static_cast<std::size_t>(s)].placed = true;
    const int m = newNode(s);
    addEntry(n, NodeEntry{m, s, e});
    addEntry(m, NodeEntry{n, s, 1 - e});
  }

  void assemble() {
    scoreSums_.assign(sticks_.size() * 2, Vec{});
    newNode(-1);
    if (sticks_.size() == 1) {
      join(0, 0, 0);
    } else {
      info("Finding the best adjustment...");
      int ba = 0, bb = 1, bea = 0, beb = 0;
      double best = endSimilarity(sticks_[0].end[0], sticks_[1].end[0]);
      for (std::size_t a = 0; a < sticks_.size(); ++a)
        for (std::size_t b = 0; b < sticks_.size(); ++b) {
          if (a == b) continue;
          for (int ea = 0; ea < 2; ++ea)
            for (int eb = 0; eb < 2; ++eb) {
              const double sim = endSimilarity(sticks_[a].end[ea], sticks_[b].end[eb]);
              if (sim > best) {
                best = sim;
                ba = static_cast<int>(a);
                bb = static_cast<int>(b);
                bea = ea;
                beb = eb;
              }
            }
        }
      info("Done.\nBuilding organism...");
      join(ba, 0, 1 - bea);  // end ea lies at node 1
      join(bb, 1, beb);
      attachRemainingSticks();
      info("Done.");
    }
    attachNeurons();
    attachLinks();
    attachMuscles();
  }

  void attachRemainingSticks() {
    while (true) {
      bool found = false;
      double best = 0.0;
      int bs = 0, be = 0, bn = 0;
      for (std::size_t s = 0; s < sticks_.size(); ++s) {
        if (sticks_[s].placed) continue;
        for (int e = 0; e < 2; ++e)
          for (std::size_t n = 0; n < nodes_.size(); ++n) {
            const double score =
                scoreSums_[s * 2 + static_cast<std::size_t>(e)][n] / static_cast<double>(nodes_[n].entries.size());
            if (!found || score > best) {
              found = true;
              best = score;
              bs = static_cast<int>(s);
              be = e;
              bn = static_cast<int>(n);
            }
          }
      }
      if (!found) return;
      join(bs, bn, be);
    }
  }

  void attachNeurons() {
    for (std::size_t k = 0; k < neurons_.size(); ++k) {
      std::size_t bestStick = 0;
      double best = similarity(middles_[0], neurons_[k].v[0]);
      for (std::size_t s = 1; s < sticks_.size(); ++s) {
        const double sim = similarity(middles_[s], neurons_[k].v[0]);
        if (sim > best) {
          best = sim;
          bestStick = s;
        }
      }
      sticks_[bestStick].neurons.push_back(static_cast<int>(k));
    }
  }

  void attachLinks() {
    if (neurons_.empty()) return;
    const std::size_t n = neurons_.size();
    for (const ConnRec& link : links_) {
      Vec from(n), to(n);
      for (std::size_t a = 0; a < n; ++a) {
        from[a] = similarity(neurons_[a].v[1], link.v[0]);
        to[a] = similarity(neurons_[a].v[0], link.v[1]);
      }
      const auto [ba, bb] = bestPair(from, to);
      neurons_[bb].inputs.push_back(static_cast<int>(ba));
    }
  }

  void attachMuscles() {
    if (neurons_.empty()) return;
    const std::size_t n = neurons_.size();
    for (std::size_t k = 0; k < muscles_.size(); ++k) {
      ConnRec& muscle = muscles_[k];
      Vec from(n), at(sticks_.size());
      for (std::size_t a = 0; a < n; ++a) from[a] = similarity(neurons_[a].v[1], muscle.v[0]);
      for (std::size_t s = 0; s < sticks_.size(); ++s) at[s] = similarity(middles_[s], muscle.v[1]);
      const auto [ba, bs] = bestPair(from, at);
      muscle.input = static_cast<int>(ba);
      sticks_[bs].muscles[muscle.mark == '@' ? kMuscleAt : kMuscleBar].push_back(static_cast<int>(k));
    }
  }

  // Onward entries of a node, newest first, without the one it was created from.
  std::vector<NodeEntry> onward(int node) const {
    const Node& nd = nodes_[static_cast<std::size_t>(node)];
    std::vector<NodeEntry> list;
    for (auto it = nd.entries.rbegin(); it != nd.entries.rend(); ++it)
      if (node == 0 || it->stick != nd.fromStick) list.push_back(*it);
    return list;
  }

  // The depth-first walk from node 0 as a token list: sticks (>= 0) and the
  // punctuation below. Iterative, so that a long chain of sticks cannot
  // exhaust the stack.
  static constexpr int kOpen = -1, kComma = -2, kClose = -3;
  std::vector<int> walk() const {
    struct Frame {
      std::vector<NodeEntry> onward;
      std::size_t next;
    };
    std::vector<int> tokens;
    std::vector<Frame> stack;
    auto enter = [&](int node) {
      Frame f{onward(node), 0};
      if (f.onward.size() > 1) tokens.push_back(kOpen);
      stack.push_back(std::move(f));
    };
    enter(0);
    while (!stack.empty()) {
      Frame& f = stack.back();
      if (f.next == f.onward.size()) {
        if (f.onward.size() > 1) tokens.push_back(kClose);
        stack.pop_back();
        continue;
      }
      if (f.next > 0) tokens.push_back(kComma);
      const NodeEntry e = f.onward[f.next++];
      tokens.push_back(e.stick);
      enter(e.node);
    }
    return tokens;
  }

  std::string writeF1() const {
    const std::vector<int> tokens = walk();
    // Neurons are numbered in writing order: a stick's own neurons, then its
    // "@" muscle neuron, then its "|" muscle neuron.
    std::vector<int> number(neurons_.size(), 0);
    std::vector<int> muscleNumber[2] = {std::vector<int>(sticks_.size(), 0), std::vector<int>(sticks_.size(), 0)};
    int next = 0;
    for (int t : tokens) {
      if (t < 0) continue;
      const StickRec& s = sticks_[static_cast<std::size_t>(t)];
      for (int k : s.neurons) number[static_cast<std::size_t>(k)] = next++;
      for (int m = 0; m < 2; ++m)
        if (!s.muscles[m].empty()) muscleNumber[m][static_cast<std::size_t>(t)] = next++;
    }
    std::string out;
    for (int t : tokens) {
      if (t == kOpen) {
        out += '(';
      } else if (t == kComma) {
        out += ',';
      } else if (t == kClose) {
        out += ')';
      } else {
        writeStick(out, t, number, muscleNumber);
      }
    }
    out += '\n';
    return out;
  }

  void writeStick(std::string& out, int t, const std::vector<int>& number, const std::vector<int> (&muscleNumber)[2]) const {
    const StickRec& s = sticks_[static_cast<std::size_t>(t)];
    for (int i = 0; i < kLevelCount; ++i) {
      const double v = s.level[i];
      const double run = v >= kNeutralLevel ? std::ceil(v - kNeutralLevel) : std::ceil(kNeutralLevel - v);
      const int count = static_cast<int>(std::min(run, static_cast<double>(kMaxModifierRun)));
      out.append(static_cast<std::size_t>(count), v >= kNeutralLevel ? kRaiseLetters[i] : kLowerLetters[i]);
    }
    out += 'X';
    for (int k : s.neurons) {
      const ConnRec& nr = neurons_[static_cast<std::size_t>(k)];
      const int own = number[static_cast<std::size_t>(k)];
      out += ssprintf("[%c:%g", nr.mark, nr.weight);
      for (int in : nr.inputs)
        out += ssprintf(",%d:%g", number[static_cast<std::size_t>(in)] - own, neurons_[static_cast<std::size_t>(in)].weight);
      out += ']';
    }
    const char marks[2] = {'@', '|'};
    for (int m = 0; m < 2; ++m) {
      if (s.muscles[m].empty()) continue;
      const int own = muscleNumber[m][static_cast<std::size_t>(t)];
      bool first = true;
      for (int k : s.muscles[m]) {
        const ConnRec& mu = muscles_[static_cast<std::size_t>(k)];
        const int rel = number[static_cast<std::size_t>(mu.input)] - own;
        out += first ? ssprintf("[%c%d:%g", marks[m], rel, mu.weight) : ssprintf(",%d:%g", rel, mu.weight);
        first = false;
      }
      out += ']';
    }
  }

  void writeListings(const std::string& base) const {
    std::string graph;
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
      graph += ssprintf("[%2d] -> ", static_cast<int>(n));
      for (auto it = nodes_[n].entries.rbegin(); it != nodes_[n].entries.rend(); ++it)
        graph += ssprintf("([%2d][%2d][%2d]) -> ", it->node, it->stick, it->end);
      graph += "NULL\n";
    }
    writeFile(base + ".f3", graph);
    std::string neurons, muscles;
    for (std::size_t s = 0; s < sticks_.size(); ++s) {
      neurons += ssprintf("[%2d] -> ", static_cast<int>(s));
      for (int k : sticks_[s].neurons)
        neurons += ssprintf("((%c)[%2d]) -> ", neurons_[static_cast<std::size_t>(k)].mark, k);
      neurons += "NULL\n";
      muscles += ssprintf("[%2d] -> ", static_cast<int>(s));
      for (const std::vector<int>& list : sticks_[s].muscles)
        for (int k : list) {
          const ConnRec& mu = muscles_[static_cast<std::size_t>(k)];
          muscles += ssprintf("((%c)[%2d]) -> ", mu.mark, mu.input);
        }
      muscles += "NULL\n";
    }
    writeFile(base + ".1f3", neurons);
    writeFile(base + ".2f3", muscles);
  }

  EmbryoOptions options_;
  std::size_t dimension_ = 0;
  std::vector<StickRec> sticks_;
  std::vector<ConnRec> neurons_, links_, muscles_;
  std::vector<Vec> middles_;
  std::vector<Node> nodes_;
  std::vector<Vec> scoreSums_;  // [stick * 2 + end][node]
};

}  // namespace

EmbryoOptions readEmbryoOptions(const std::string& path) {
  EmbryoOptions options;
  std::FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) {
    std::ofstream w(path);
    w << ssprintf("1-WriteOnly_STK_And_F1_Files: %d\n", options.writeOnlyStkAndF1)
      << ssprintf("2-WriteMoreInformations:      %d\n", options.moreInformations)
      << "\nOption 1: 1 writes only the input and the result; 0 also writes the intermediate\n"
         "listings of the assembled body (.f3 node graph, .1f3 neurons, .2f3 muscles).\n"
         "Option 2: 1 reports the record counts and the progress of each conversion.\n";
    return options;
  }
  char name[256];
  int value = 0;
  // Each line is a name followed by its value; a line that cannot be read keeps the default.
  if (std::fscanf(f, "%255s %d", name, &value) == 2) options.writeOnlyStkAndF1 = (value == 0) ? 0 : 1;
  if (std::fscanf(f, "%255s %d", name, &value) == 2) options.moreInformations = (value == 1) ? 1 : 0;
  std::fclose(f);
  return options;
}

int embryoConvert(const std::string& input, std::string& out, const EmbryoOptions& options,
                  const std::string& listingBase) {
  Embryo embryo(options);
  return embryo.run(input, out, listingBase);
}

}  // namespace vorlund
