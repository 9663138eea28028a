#include <gtest/gtest.h>

#include <string>

#include "genetics/f4/f4_node.h"

namespace vorlund {
namespace {

std::string roundTrip(const std::string& text) {
  f4tree t;
  EXPECT_EQ(t.parse(text), F4_PARSE_OK) << text;
  return t.write();
}

TEST(F4Tree, ParseClosesBranchesAndWritesBack) {
  EXPECT_EQ(roundTrip("X"), "X>");
  EXPECT_EQ(roundTrip("X>"), "X>");
  EXPECT_EQ(roundTrip(" <X>\n\tX "), "<X>X>");
  EXPECT_EQ(roundTrip("<X"), "<X>>");  // the daughter gets a lone end
  EXPECT_EQ(roundTrip("<<X>X>X"), "<<X>X>X>");
  EXPECT_EQ(roundTrip("#2L>X"), "#2L>X>");
  EXPECT_EQ(roundTrip("#1L>X"), "#L>X>");  // count 1 has no digits
  EXPECT_EQ(roundTrip("#L>X"), "#L>X>");
  EXPECT_EQ(roundTrip("#1 7>X"), "# 7>X>");  // a digit code stays apart from the count
  EXPECT_EQ(roundTrip("<X>N[*:1][G:-2.5][-3:0.25]"), "<X>N[*:1][G:-2.5][-3:0.25]>");
  EXPECT_EQ(roundTrip("<X>N[ 2: 1.5 ]"), "<X>N[2:1.5]>");
}

TEST(F4Tree, ParseKeepsStructureAndPositions) {
  f4tree t;
  ASSERT_EQ(t.parse("#3 <X>N[-1:0.5]"), F4_PARSE_OK);
  const f4node* rep = t.program();
  EXPECT_EQ(rep->code, '#');
  EXPECT_EQ(rep->kind, 3);
  const f4node* div = rep->child1;
  EXPECT_EQ(div->code, '<');
  EXPECT_EQ(div->pos, 3);
  EXPECT_EQ(div->child1->code, 'X');
  EXPECT_EQ(div->child2->code, 'N');
  const f4node* link = div->child2->child1;
  ASSERT_TRUE(link->isLink());
  EXPECT_EQ(link->kind, F4_LINK_NEURON);
  EXPECT_EQ(link->target, -1);
  EXPECT_FLOAT_EQ(link->weight, 0.5f);
  // The repetition's text ended early: its continuation is a lone end.
  EXPECT_EQ(rep->child2->code, '>');
  EXPECT_EQ(t.nodeCount(), 8u);
  EXPECT_EQ(f4tree::subtreeSize(div), 6u);
}

TEST(F4Tree, ParseReportsErrorPositions) {
  f4tree t;
  EXPECT_EQ(t.parse(""), 1);
  EXPECT_EQ(t.parse(" \n\t"), 1);
  EXPECT_EQ(t.parse("X[x:1]"), 3);  // '[' at 0-based 1, reported two further
  EXPECT_EQ(t.parse("X[1:]"), 3);
  EXPECT_EQ(t.parse("X[1:2"), 3);     // no closing bracket
  EXPECT_EQ(t.parse("[*:nan]X"), 2);  // only finite weights
  EXPECT_EQ(t.parse("[*:1e99]X"), 2);
  EXPECT_EQ(t.parse("[99999999999:1]X"), 2);
  EXPECT_EQ(t.parse("X>X"), F4_ERR_ROOT);
  EXPECT_EQ(t.parse("X>>"), F4_ERR_ROOT);
  EXPECT_EQ(t.parse("<X>X>X"), F4_ERR_ROOT);
  EXPECT_EQ(t.parse("X> \n"), F4_PARSE_OK);
}

TEST(F4Tree, EditsRelinkNodesAndCopiesAreIndependent) {
  f4tree t;
  ASSERT_EQ(t.parse("<lX>X"), F4_PARSE_OK);
  f4tree copy(t);
  f4node* div = t.program();
  t.removeNode(div);  // keeps the first branch
  EXPECT_EQ(t.write(), "lX>");
  t.insertBefore(t.program()->child1, 'R');
  EXPECT_EQ(t.write(), "lRX>");
  EXPECT_EQ(copy.write(), "<lX>X>");

  f4tree n;
  ASSERT_EQ(n.parse("<X>X"), F4_PARSE_OK);
  f4tree::replaceInParent(n.program()->child1->child1, nullptr);  // cut the first branch's end
  n.program()->child2 = nullptr;
  n.normalize();
  EXPECT_EQ(n.write(), "<X>>");
}

TEST(F4Tree, LongGenotypesNeedNoDeepRecursion) {
  const std::string text(200000, 'L');
  f4tree t;
  ASSERT_EQ(t.parse(text + "X"), F4_PARSE_OK);
  f4tree copy(t);
  EXPECT_EQ(copy.write().size(), text.size() + 2);
  EXPECT_EQ(f4tree::subtreeSize(copy.program()), text.size() + 2);
}

}  // namespace
}  // namespace vorlund
