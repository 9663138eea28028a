// The code tree of an encoding-4 genotype: each node is one code with at most
// two children (next code / first branch, and second branch / continuation).
// A tree owns all of its nodes in one pool, so that edits only relink nodes
// and no operation, destruction included, recurses over a long genotype.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace vorlund {

// Kinds of a link node (`[`).
constexpr int F4_LINK_NEURON = 0;    // "[%ld:%f]": from the neuron that many places away
constexpr int F4_LINK_CONSTANT = 1;  // "[*:%f]"
constexpr int F4_LINK_GYRO = 2;      // "[G:%f]"

// Code of the tree's root, which holds the program as its single child.
constexpr char F4_ROOT_CODE = '\0';

// Parse results: 0 success, F4_PARSE_EMPTY for a text without codes, the
// error position (that of a bad link's '[' plus 2) for a bad link, F4_ERR_ROOT
// when the text holds more than one program.
constexpr int F4_PARSE_OK = 0;
constexpr int F4_PARSE_EMPTY = 1;
constexpr int F4_ERR_ROOT = -3;

// The largest repetition count or link target that the parser keeps.
constexpr long F4_MAX_NUMBER = 1000000000L;

struct f4node {
  char code = F4_ROOT_CODE;
  f4node* parent = nullptr;
  f4node* child1 = nullptr;  // next code, first branch, or repetition body
  f4node* child2 = nullptr;  // second branch, or what follows a repetition
  int pos = -1;              // 0-based position of the code in the text (-1: not from text)
  int kind = 0;              // link kind, or repetition count for '#'
  long target = 0;           // kind-0 link: relative neuron
  float weight = 0.0f;       // link weight

  int childCount() const { return (child1 != nullptr) + (child2 != nullptr); }
  bool isLink() const { return code == '['; }
};

class f4tree {
 public:
  f4tree();
  f4tree(const f4tree& other);
  f4tree& operator=(const f4tree& other);
  f4tree(f4tree&&) = default;
  f4tree& operator=(f4tree&&) = default;

  // Replaces the tree by the parse of `text`; see F4_PARSE_OK and F4_ERR_ROOT.
  int parse(const std::string& text);
  // The text of the tree (empty for a tree without program).
  std::string write() const;

  f4node* root() const { return root_; }
  f4node* program() const { return root_->child1; }
  // True when the root holds exactly one program.
  bool singleProgram() const { return root_->child1 != nullptr && root_->child2 == nullptr; }

  // A fresh node owned by this tree, not yet linked.
  f4node* newNode(char code, int pos = -1);
  // Every node below the root, in depth-first order (first child before second).
  std::vector<f4node*> nodes() const;
  std::size_t nodeCount() const { return nodes().size(); }
  // Number of nodes in the subtree of `n`, `n` included.
  static std::size_t subtreeSize(const f4node* n);

  // Puts `replacement` (may be null) where `n` hangs in its parent.
  static void replaceInParent(f4node* n, f4node* replacement);
  // Removes `n`, keeping its first child (or its second when it has no first);
  // the other child's subtree goes with it. A node without children gives way to
  // an end code, so that every branch still ends.
  void removeNode(f4node* n);
  // Puts a new node with `code` in front of `n` (n becomes its first child).
  f4node* insertBefore(f4node* n, char code);
  // Copies the subtree of a node of any tree into this tree (unlinked copy).
  f4node* cloneSubtree(const f4node* n);
  // Gives every branch an end: a code without a next code gets a `>`, a
  // division or repetition without its second part gets a lone `>`.
  void normalize();

 private:
  std::vector<std::unique_ptr<f4node>> pool_;
  f4node* root_;
};

}  // namespace vorlund
