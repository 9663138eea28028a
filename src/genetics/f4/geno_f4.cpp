#include "genetics/f4/geno_f4.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/random.h"
#include "genetics/f4/f4_cells.h"

namespace vorlund {

namespace {

constexpr ParamTab kGenoF4Tab[] = {
    paramHeader("Genetics: f4", 1, 5, nullptr),
    {"geno_f4_mut1add", 0, "Add node", "f 0 1", offsetof(GenoF4Settings, mut1add),
     "mutation: probability of adding a node"},
    {"geno_f4_mut1del", 0, "Delete node", "f 0 1", offsetof(GenoF4Settings, mut1del),
     "mutation: probability of deleting a node"},
    {"geno_f4_mutAdd2div", 0, "Add division", "f 0 1", offsetof(GenoF4Settings, mutAdd2div),
     "add node mutation: probability of adding a division"},
    {"geno_f4_mutAdd2link", 0, "Add link", "f 0 1", offsetof(GenoF4Settings, mutAdd2link),
     "add node mutation: probability of adding a link"},
    {"geno_f4_mutAdd2rep", 0, "Add repetition", "f 0 1", offsetof(GenoF4Settings, mutAdd2rep),
     "add node mutation: probability of adding a repetition"},
    paramEnd(),
};
static_assert(paramTableValid(kGenoF4Tab));

// Link kinds drawn for a new or changed link.
constexpr double kConstantLinkShare = 0.1, kGyroLinkShare = 0.1;
// A new link's target and weight spread around 0.
constexpr double kLinkTargetSpread = 4.0, kLinkWeightSpread = 10.0;
// Shares of a link change: a new kind, a new target (kind 0), else a weight step.
constexpr double kLinkRedrawShare = 0.1, kLinkTargetShare = 0.3, kLinkWeightStep = 1.0;
// A new repetition repeats twice.
constexpr int kNewRepeatCount = 2;
// Simple codes that an added node may be.
constexpr const char* kSimpleCodes = ",lLcCrRXN@|";
// The window of subtree sizes around the wanted one.
constexpr double kWindowLow = 0.9, kWindowHigh = 1.1;

// A draw in [0, 1].
double draw() { return static_cast<double>(r15()) / R15_MAX; }

// Parses a body that must hold one program.
bool parseProgram(const std::string& body, f4tree& tree) {
  return tree.parse(body) == F4_PARSE_OK && tree.singleProgram();
}

bool develops(f4tree& tree, int repairs) {
  bool repaired = false;
  return developTree(tree, repairs, repaired) == F4_DEV_OK;
}

// A 1-based position that still lies in the body.
int clampPosition(int pos, const std::string& body) {
  return std::max(1, std::min(pos, static_cast<int>(std::max<std::size_t>(body.size(), 1))));
}

float clampShare(float f) { return std::clamp(f, 0.0f, 1.0f); }

// A random node whose subtree size lies in the window around `wanted`, or null.
f4node* pickSubtree(const f4tree& tree, double wanted) {
  const std::vector<f4node*> all = tree.nodes();
  // Sizes from the leaves up: in reverse depth-first order children come first.
  std::vector<std::size_t> size(all.size(), 1);
  std::vector<std::pair<const f4node*, std::size_t>> index;
  index.reserve(all.size());
  for (std::size_t k = 0; k < all.size(); ++k) index.emplace_back(all[k], k);
  std::sort(index.begin(), index.end());
  auto find = [&](const f4node* n) -> std::size_t {
    auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(n, std::size_t{0}));
    return it->second;
  };
  for (std::size_t k = all.size(); k-- > 0;) {
    if (all[k]->child1) size[k] += size[find(all[k]->child1)];
    if (all[k]->child2) size[k] += size[find(all[k]->child2)];
  }
  const long lo = static_cast<long>(kWindowLow * wanted - 1);
  const long hi = static_cast<long>(kWindowHigh * wanted + 1);
  std::vector<f4node*> fitting;
  for (std::size_t k = 0; k < all.size(); ++k)
    if (static_cast<long>(size[k]) >= lo && static_cast<long>(size[k]) <= hi) fitting.push_back(all[k]);
  if (fitting.empty()) return nullptr;
  return fitting[rndBelow(static_cast<int>(fitting.size()))];
}

}  // namespace

bool exchangeSubtrees(f4tree& a, f4tree& b, double share) {
  f4node* sa = pickSubtree(a, a.nodeCount() * (1.0 - share));
  f4node* sb = pickSubtree(b, b.nodeCount() * (1.0 - share));
  if (sa == nullptr || sb == nullptr) return false;
  // Copies cross over, so that each tree keeps owning only its own nodes.
  f4node* intoA = a.cloneSubtree(sb);
  f4node* intoB = b.cloneSubtree(sa);
  f4tree::replaceInParent(sa, intoA);
  f4tree::replaceInParent(sb, intoB);
  return true;
}

TGeno_f4::TGeno_f4() : params_(kGenoF4Tab, &vars) {}

int TGeno_f4::CheckValidity(const std::string& body) {
  std::string copy = body;
  return Validate(copy);
}

int TGeno_f4::Validate(std::string& body) {
  f4tree tree;
  const int parsed = tree.parse(body);
  // A parse error's position is reported one further, as a development error's
  // is; an empty body is result 1.
  if (parsed == F4_PARSE_EMPTY) return F4_PARSE_EMPTY;
  if (parsed > 0) return parsed + 1;
  if (parsed != F4_PARSE_OK) return F4_ERR_NOPOS;
  bool repaired = false;
  const int developed = developTree(tree, F4_VALIDATE_REPAIRS, repaired);
  if (developed > 0) return clampPosition(developed, body);
  if (developed != F4_DEV_OK) return F4_ERR_NOPOS;
  if (!repaired) return 0;
  body = tree.write();
  return -1;
}

void TGeno_f4::drawLink(f4node& link) {
  const double w = draw();
  if (w < kConstantLinkShare) {
    link.kind = F4_LINK_CONSTANT;
    link.target = 0;
  } else if (w < kConstantLinkShare + kGyroLinkShare) {
    link.kind = F4_LINK_GYRO;
    link.target = 0;
  } else {
    link.kind = F4_LINK_NEURON;
    link.target = static_cast<int>((draw() - 0.5) * kLinkTargetSpread);
  }
}

void TGeno_f4::addNode(f4tree& tree, f4node* picked) {
  const double v = draw();
  if (v < vars.mutAdd2div) {
    f4node* division = tree.newNode('<', picked->pos);
    f4node* cell = tree.newNode(rndBelow(2) == 0 ? 'X' : 'N', picked->pos);
    cell->child1 = tree.newNode('>', picked->pos);
    cell->child1->parent = cell;
    f4tree::replaceInParent(picked, division);
    const bool swapped = rndBelow(2) == 1;
    division->child1 = swapped ? cell : picked;
    division->child2 = swapped ? picked : cell;
    picked->parent = division;
    cell->parent = division;
  } else if (v < vars.mutAdd2div + vars.mutAdd2link) {
    f4node* link = tree.insertBefore(picked, '[');
    drawLink(*link);
    link->weight = static_cast<float>((draw() - 0.5) * kLinkWeightSpread);
  } else if (v < vars.mutAdd2div + vars.mutAdd2link + vars.mutAdd2rep) {
    f4node* repeat = tree.newNode('#', picked->pos);
    repeat->kind = kNewRepeatCount;
    f4tree::replaceInParent(picked, repeat);
    repeat->child1 = tree.newNode('>', picked->pos);
    repeat->child1->parent = repeat;
    repeat->child2 = picked;
    picked->parent = repeat;
  } else {
    const int codes = static_cast<int>(std::strlen(kSimpleCodes));
    tree.insertBefore(picked, kSimpleCodes[rndBelow(codes)]);
  }
}

bool TGeno_f4::mutateTree(f4tree& tree) {
  const std::vector<f4node*> all = tree.nodes();
  if (all.empty()) return false;
  const int count = static_cast<int>(all.size());
  f4node* picked = all[rndBelow(count)];
  const double u = draw();
  if (u < vars.mut1add) {
    addNode(tree, picked);
    return true;
  }
  if (u - vars.mut1add < vars.mut1del) {
    for (int k = 0; picked->parent == tree.root(); ++k) {
      if (k >= F4_DELETE_PICKS) return false;
      picked = all[rndBelow(count)];
    }
    f4node* keep = picked->child1;
    if (picked->child1 != nullptr && picked->child2 != nullptr)
      keep = rndBelow(2) == 0 ? picked->child1 : picked->child2;
    else if (keep == nullptr)
      keep = picked->child2;
    if (keep == nullptr) keep = tree.newNode('>', picked->pos);
    f4tree::replaceInParent(picked, keep);
    return true;
  }
  for (int k = 0; std::strchr("<[#", picked->code) == nullptr || picked->code == '\0'; ++k) {
    if (k >= F4_CHANGE_PICKS) return false;
    picked = all[rndBelow(count)];
  }
  if (picked->code == '<') {
    std::swap(picked->child1, picked->child2);
  } else if (picked->code == '#') {
    picked->kind += draw() >= 0.5 ? -1 : 1;
    picked->kind = std::clamp(picked->kind, F4_MIN_REPEAT, F4_MAX_REPEAT);
  } else {
    const double w = draw();
    if (w < kLinkRedrawShare) {
      drawLink(*picked);
    } else if (w < kLinkRedrawShare + kLinkTargetShare && picked->kind == F4_LINK_NEURON) {
      // One neuron nearer or farther: a truncated fraction would almost never move it.
      picked->target += draw() >= 0.5 ? 1 : -1;
      picked->target = std::clamp(picked->target, -F4_MAX_NUMBER, F4_MAX_NUMBER);
    } else {
      picked->weight += static_cast<float>((draw() - 0.5) * kLinkWeightStep);
    }
  }
  return true;
}

int TGeno_f4::Mutate(std::string& body, float& change) {
  f4tree tree;
  if (!parseProgram(body, tree) || !develops(tree, F4_VALIDATE_REPAIRS)) return F4_ERR_NOPOS;
  // A mutation that only tidies the text is no mutation: the caller sees the parent again.
  const std::string unchanged = tree.write();
  const float share = clampShare(change);
  int mutations = static_cast<int>(static_cast<float>(tree.nodeCount()) * share);
  if (mutations < 1 && share > 0) mutations = 1;
  for (int m = 0; m < mutations; ++m) {
    bool done = false;
    for (int attempt = 0; attempt < F4_MUTATION_ATTEMPTS && !done; ++attempt) {
      f4tree mutant(tree);
      if (!mutateTree(mutant)) return F4_ERR_NOPOS;
      mutant.normalize();
      if (develops(mutant, F4_OPERATOR_REPAIRS)) {
        tree = std::move(mutant);
        done = true;
      }
    }
    if (!done) return F4_ERR_NOPOS;
  }
  const std::string mutant = tree.write();
  if (mutant != unchanged) body = mutant;
  return 0;
}

int TGeno_f4::CrossOver(std::string& body1, std::string& body2, float& change1, float& change2) {
  f4tree parent1, parent2;
  if (!parseProgram(body1, parent1) || !parseProgram(body2, parent2)) return F4_ERR_NOPOS;
  const double share1 = clampShare(change1), share2 = clampShare(change2);
  // Every try also changes the other parent's working tree, which child 2 starts from.
  f4tree child1, child2;
  bool made = false;
  for (int k = 0; k < F4_CROSSOVER_TRIES && !made; ++k) {
    f4tree c(parent1);
    if (!exchangeSubtrees(c, parent2, share1)) continue;
    c.normalize();
    parent2.normalize();
    if (develops(c, F4_OPERATOR_REPAIRS)) child1 = std::move(c), made = true;
  }
  if (!made) return F4_ERR_NOPOS;
  made = false;
  for (int k = 0; k < F4_CROSSOVER_TRIES && !made; ++k) {
    f4tree c(parent2);
    if (!exchangeSubtrees(c, parent1, share2)) continue;
    c.normalize();
    parent1.normalize();
    if (develops(c, F4_OPERATOR_REPAIRS)) child2 = std::move(c), made = true;
  }
  if (!made) return F4_ERR_NOPOS;
  body1 = child1.write();
  body2 = child2.write();
  return 0;
}

uint32_t TGeno_f4::Style(const std::string& text, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= text.size()) return 0;
  const char c = text[position];
  // Line breaks and tabs are white space like the blank (the marker's line break among them).
  if (c == 'X' || c == ' ' || c == '\n' || c == '\r' || c == '\t') return 0;
  if (c == '\0' || std::strchr("LlRrCc,[]|@*G:0123456789-.XN<># ", c) == nullptr) return GENSTYLE_INVALID;
  if (c == 'N') return genStyleRgb(0, 200, 0);
  if (c == '<') return GENSTYLE_BOLD | genStyleRgb(0, 0, 200);
  if (c == '>') return genStyleRgb(0, 0, 100);
  if (std::strchr("0123456789-.LlRrCc,", c) != nullptr) return genStyleRgb(100, 100, 100);
  if (std::strchr("[]|@*G:", c) != nullptr) return genStyleRgb(0, 150, 0);
  return GENSTYLE_STRIKEOUT;
}

}  // namespace vorlund
