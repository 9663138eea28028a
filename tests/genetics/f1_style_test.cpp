// Editor colouring of encoding-1 characters.
#include <gtest/gtest.h>

#include "genetics/f1/geno_f1.h"
#include "genetics/genman.h"

namespace vorlund {
namespace {

TEST(F1Style, ColoursEveryCharacterClass) {
  TGeno_f1 op;
  const std::string g = "LX[@S:1.5,-1:2]S(X,X)Y";
  auto at = [&](char c) { return op.Style(g, static_cast<int>(g.find(c))); };
  EXPECT_EQ(at('X'), 0u);
  EXPECT_EQ(at('L'), 0x646464u);
  EXPECT_EQ(at('['), 200u);
  EXPECT_EQ(at('-'), 200u);
  EXPECT_EQ(at('.'), 200u);
  EXPECT_EQ(at('@'), 0x2C80000u);
  EXPECT_EQ(at('('), 0x2000000u);
  EXPECT_EQ(at(','), 0x2000000u);
  EXPECT_EQ(at('Y'), 0x1000000u);
  // The same letter is a receptor inside an open neuron and a modifier after it.
  EXPECT_EQ(op.Style(g, 4), 0x2009600u);
  EXPECT_EQ(op.Style(g, static_cast<int>(g.find(']') + 1)), 0x646464u);
  EXPECT_EQ(op.Style("X\n", 1), 0x1000000u);
  EXPECT_EQ(op.Style("X", 5), 0u);
  EXPECT_EQ(op.Style("X", -1), 0u);
  EXPECT_EQ(op.MarkerNewline(), 0);
}

}  // namespace
}  // namespace vorlund
