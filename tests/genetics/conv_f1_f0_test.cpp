#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "genetics/converters.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "world/world_test_support.h"

namespace vorlund {
namespace {

std::string toF0(const std::string& f1) {
  testing_world::MessageCatcher quiet;
  std::string out = "untouched";
  EXPECT_EQ(convertF1ToF0(f1, out), 1) << f1;
  return out;
}

TEST(ConvF1F0, WritesDevelopedBodyAgainstDefaultsAndNothingForBrokenText) {
  EXPECT_EQ(toF0("X"), "\np:\np:1\nj:0, 1\n");
  EXPECT_EQ(toF0("XX"), "\np:\np:1, m=2\np:2\nj:0, 1\nj:1, 2\n");
  EXPECT_EQ(toF0("LLX"), "\np:\np:2\nj:0, 1\n");
  EXPECT_EQ(toF0("X(X,X)"),
            "\np:\np:1, m=3\np:1.50017, -0.865927\np:1.50017, 0.865927\n"
            "j:0, 1\nj:1, 2, mz=0.5\nj:1, 3, mz=0.5\n");
  // Empty or broken text gives the line break alone.
  EXPECT_EQ(toF0(""), "\n");
  EXPECT_EQ(toF0("[1:1]"), "\n");
  EXPECT_EQ(toF0(")(,"), "\n");
}

TEST(ConvF1F0, WritesEachNeuronFollowedByItsInputs) {
  EXPECT_EQ(toF0("X[@*:1][@*:1]"), "\np:\np:1\nj:0, 1\nneu:0, 1\ninp:0, 1\nneu:0\ninp:1, 1\n");
  EXPECT_EQ(toF0("XX[|1:0.5,T:2]X[-1:1,=:0.5]"),
            "\np:\np:1, m=2\np:2, m=2\np:3\nj:0, 1\nj:1, 2\nj:2, 3\n"
            "neu:1, 2\ninp:0, w=0.5, conn=1\ninp:0, 2, 2\nneu:2, in=0.5\ninp:1, conn=-1\n");
}

TEST(ConvF1F0, RegistryPutsTheFormatMarkerInFront) {
  GenoConvManager conv;
  std::string out;
  EXPECT_EQ(conv.Convert("X", '0', out), 1);
  EXPECT_EQ(out, "/*0*/\n\np:\np:1\nj:0, 1\n");
}

TEST(ConvF1F0, GenotypeNotValidAsWrittenIsNotDeveloped) {
  GenMan gm;
  registerStandardOperators(gm);
  if (gm.findOperator('1') == nullptr) GTEST_SKIP() << "no encoding-1 operator in this build";
  // Repairable (the connection points past the only neuron), but not valid as written.
  EXPECT_EQ(toF0("X[1:1]"), "\n");
  EXPECT_EQ(toF0("X[0:1]"), "\np:\np:1\nj:0, 1\nneu:0\ninp:0\n");
}

}  // namespace
}  // namespace vorlund
