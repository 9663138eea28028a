#include "genetics/f4/f4_node.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/strutil.h"

namespace vorlund {

namespace {

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void skipWhite(const std::string& t, std::size_t& i) {
  while (i < t.size() && isWhite(t[i])) ++i;
}

// A signed integer as "%ld" reads it; false when absent or beyond F4_MAX_NUMBER.
bool readLong(const std::string& t, std::size_t& i, long& value) {
  skipWhite(t, i);
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  if (i >= t.size() || !isDigit(t[i])) return false;
  long v = 0;
  while (i < t.size() && isDigit(t[i])) {
    v = v * 10 + (t[i++] - '0');
    if (v > F4_MAX_NUMBER) return false;
  }
  value = negative ? -v : v;
  return true;
}

// A repetition count after '#' as "%d" reads it: white space, a sign, then
// digits, held at F4_MAX_NUMBER. Without digits nothing is taken and the count is 1.
int readCount(const std::string& t, std::size_t& i) {
  std::size_t j = i;
  skipWhite(t, j);
  bool negative = false;
  if (j < t.size() && (t[j] == '-' || t[j] == '+')) negative = t[j++] == '-';
  if (j >= t.size() || !isDigit(t[j])) return 1;
  long v = 0;
  while (j < t.size() && isDigit(t[j])) v = std::min(v * 10 + (t[j++] - '0'), F4_MAX_NUMBER);
  i = j;
  return static_cast<int>(negative ? -v : v);
}

// A real as "%f" reads it, kept only when it is a finite float.
bool readWeight(const std::string& t, std::size_t& i, float& value) {
  skipWhite(t, i);
  if (i >= t.size()) return false;
  const char c = t[i];
  // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
  if (!(isDigit(c) || c == '-' || c == '+' || c == '.')) return false;
  const char* start = t.c_str() + i;
  double v = 0;
  const std::size_t used = parseReal(std::string_view(t).substr(i), v);
  if (used == 0) return false;
  const char* end = start + used;
  for (const char* p = start; p < end; ++p)
    if (*p == 'x' || *p == 'X' || *p == 'n' || *p == 'N' || *p == 'i' || *p == 'I') return false;
  if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(v);
  i += static_cast<std::size_t>(end - start);
  return true;
}

// Reads a link at t[i] == '[' into `n`; `next` is the position after its ']'.
bool readLink(const std::string& t, std::size_t i, f4node& n, std::size_t& next) {
  std::size_t j = i + 1;
  if (j < t.size() && (t[j] == '*' || t[j] == 'G')) {
    n.kind = t[j] == '*' ? F4_LINK_CONSTANT : F4_LINK_GYRO;
    n.target = 0;
    ++j;
  } else {
    long target = 0;
    if (!readLong(t, j, target)) return false;
    n.kind = F4_LINK_NEURON;
    n.target = target;
  }
  if (j >= t.size() || t[j] != ':') return false;
  ++j;
  if (!readWeight(t, j, n.weight)) return false;
  skipWhite(t, j);
  if (j >= t.size() || t[j] != ']') return false;
  next = j + 1;
  return true;
}

void appendCode(const f4node& n, std::string& out) {
  if (n.code == '#') {
    out += '#';
    // A digit or sign code right behind would be read as (part of) the count:
    // a count of 1 is then written out, and digits are kept apart.
    const bool numberBehind =
        n.child1 != nullptr && (isDigit(n.child1->code) || n.child1->code == '-' || n.child1->code == '+');
    if (n.kind != 1 || numberBehind) out += ssprintf("%d", n.kind);
    if (numberBehind) out += ' ';
  } else if (n.isLink()) {
    out += '[';
    if (n.kind == F4_LINK_CONSTANT)
      out += '*';
    else if (n.kind == F4_LINK_GYRO)
      out += 'G';
    else
      out += formatInt(n.target);
    out += ssprintf(":%g]", static_cast<double>(n.weight));
  } else {
    out += n.code;
  }
}

void endBranch(std::string& out) {
  if (out.empty() || out.back() != '>') out += '>';
}

}  // namespace

f4tree::f4tree() : root_(newNode(F4_ROOT_CODE)) {}

f4tree::f4tree(const f4tree& other) : root_(nullptr) { root_ = cloneSubtree(other.root_); }

f4tree& f4tree::operator=(const f4tree& other) {
  if (this != &other) {
    f4tree copy(other);
    *this = std::move(copy);
  }
  return *this;
}

f4node* f4tree::newNode(char code, int pos) {
  pool_.push_back(std::make_unique<f4node>());
  f4node* n = pool_.back().get();
  n->code = code;
  n->pos = pos;
  return n;
}

int f4tree::parse(const std::string& text) {
  *this = f4tree();
  // Where the next code hangs: a node and which of its two children.
  f4node* atNode = root_;
  int atSlot = 1;
  std::vector<f4node*> open;  // divisions and repetitions waiting for their '>'
  f4node* last = nullptr;

  auto slot = [&]() -> f4node*& { return atSlot == 1 ? atNode->child1 : atNode->child2; };
  auto attach = [&](f4node* n) {
    n->parent = atNode;
    slot() = n;
  };
  // After a '>': back to the second part of the innermost open node, or to the root.
  auto close = [&]() {
    if (!open.empty()) {
      atNode = open.back();
      open.pop_back();
      atSlot = 2;
    } else {
      atNode = root_;
      atSlot = root_->child1 == nullptr ? 1 : (root_->child2 == nullptr ? 2 : 3);
    }
  };

  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (isWhite(c)) {
      ++i;
      continue;
    }
    // More than two programs cannot even be held.
    if (atSlot == 3) return F4_ERR_ROOT;
    f4node* n = newNode(c, static_cast<int>(i));
    attach(n);
    last = n;
    ++i;
    switch (c) {
      case '<':
        open.push_back(n);
        atNode = n;
        atSlot = 1;
        break;
      case '#': {
        n->kind = readCount(text, i);
        open.push_back(n);
        atNode = n;
        atSlot = 1;
        break;
      }
      case '>':
        close();
        break;
      case '[': {
        std::size_t next = 0;
        if (!readLink(text, i - 1, *n, next)) return static_cast<int>(i - 1) + 2;
        i = next;
        atNode = n;
        atSlot = 1;
        break;
      }
      default:
        atNode = n;
        atSlot = 1;
        break;
    }
  }
  if (last == nullptr) return F4_PARSE_EMPTY;
  if (last->code != '>') {
    if (atSlot == 3) return F4_ERR_ROOT;
    attach(newNode('>', last->pos));
    close();
  }
  // Divisions and repetitions whose text ended early get a lone '>' as second part.
  while (true) {
    if (atNode != root_ && slot() == nullptr) attach(newNode('>', last->pos));
    if (open.empty()) break;
    atNode = open.back();
    open.pop_back();
    atSlot = 2;
  }
  return singleProgram() ? F4_PARSE_OK : F4_ERR_ROOT;
}

std::string f4tree::write() const {
  std::string out;
  struct Frame {
    const f4node* n;
    bool afterFirst;
  };
  std::vector<Frame> stack{{root_, false}};
  while (!stack.empty()) {
    const Frame f = stack.back();
    stack.pop_back();
    const f4node* n = f.n;
    if (!f.afterFirst) {
      if (n != root_) appendCode(*n, out);
      stack.push_back({n, true});
      if (n->child1 != nullptr) stack.push_back({n->child1, false});
    } else if (n->child2 != nullptr) {
      endBranch(out);
      stack.push_back({n->child2, false});
    } else if (n->child1 == nullptr && n != root_) {
      endBranch(out);
    }
  }
  return out;
}

std::vector<f4node*> f4tree::nodes() const {
  std::vector<f4node*> result;
  std::vector<f4node*> stack;
  if (root_->child2) stack.push_back(root_->child2);
  if (root_->child1) stack.push_back(root_->child1);
  while (!stack.empty()) {
    f4node* n = stack.back();
    stack.pop_back();
    result.push_back(n);
    if (n->child2) stack.push_back(n->child2);
    if (n->child1) stack.push_back(n->child1);
  }
  return result;
}

std::size_t f4tree::subtreeSize(const f4node* n) {
  if (n == nullptr) return 0;
  std::size_t count = 0;
  std::vector<const f4node*> stack{n};
  while (!stack.empty()) {
    const f4node* x = stack.back();
    stack.pop_back();
    ++count;
    if (x->child1) stack.push_back(x->child1);
    if (x->child2) stack.push_back(x->child2);
  }
  return count;
}

void f4tree::replaceInParent(f4node* n, f4node* replacement) {
  f4node* p = n->parent;
  if (p != nullptr) {
    if (p->child1 == n)
      p->child1 = replacement;
    else if (p->child2 == n)
      p->child2 = replacement;
  }
  if (replacement != nullptr) replacement->parent = p;
  n->parent = nullptr;
}

void f4tree::removeNode(f4node* n) {
  f4node* keep = n->child1 != nullptr ? n->child1 : n->child2;
  if (keep == nullptr) keep = newNode('>', n->pos);
  replaceInParent(n, keep);
}

f4node* f4tree::insertBefore(f4node* n, char code) {
  f4node* q = newNode(code, n->pos);
  replaceInParent(n, q);
  q->child1 = n;
  n->parent = q;
  return q;
}

f4node* f4tree::cloneSubtree(const f4node* n) {
  if (n == nullptr) return nullptr;
  struct Item {
    const f4node* src;
    f4node* parent;
    int which;
  };
  f4node* top = nullptr;
  std::vector<Item> stack{{n, nullptr, 0}};
  while (!stack.empty()) {
    const Item it = stack.back();
    stack.pop_back();
    f4node* c = newNode(it.src->code, it.src->pos);
    c->kind = it.src->kind;
    c->target = it.src->target;
    c->weight = it.src->weight;
    c->parent = it.parent;
    if (it.which == 0)
      top = c;
    else if (it.which == 1)
      it.parent->child1 = c;
    else
      it.parent->child2 = c;
    if (it.src->child2) stack.push_back({it.src->child2, c, 2});
    if (it.src->child1) stack.push_back({it.src->child1, c, 1});
  }
  return top;
}

void f4tree::normalize() {
  for (f4node* n : nodes()) {
    if (n->code == '>') continue;
    if (n->child1 == nullptr) {
      n->child1 = newNode('>', n->pos);
      n->child1->parent = n;
    }
    if ((n->code == '<' || n->code == '#') && n->child2 == nullptr) {
      n->child2 = newNode('>', n->pos);
      n->child2->parent = n;
    }
  }
}

}  // namespace vorlund
