#include "genetics/genoconv.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/record.h"

namespace vorlund {
namespace {

int appendTag(const std::string& body, std::string& out, const char* tag) {
  out = body + tag;
  return 1;
}
int toZero(const std::string& b, std::string& o) { return appendTag(b, o, "|0"); }
int toOne(const std::string& b, std::string& o) { return appendTag(b, o, "|1"); }
int tovi(const std::string& b, std::string& o) { return appendTag(b, o, "|tovi"); }
int fail(const std::string&, std::string&) { return 0; }

class ConvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < GENOCONV_COUNT; ++i) conv.setFunction(i, conv.entry(i).to == '0' ? toZero : toOne);
    conv.setFunction(4, tovi);
  }
  GenoConvManager conv;
};

TEST_F(ConvTest, SameFormatIsCopiedUncheckedOthersCarryTheWantedMarker) {
  std::string out;
  EXPECT_EQ(conv.Convert("X((", '1', out), 1);
  EXPECT_EQ(out, "X((");
  // Other formats come out with the marker of the wanted one.
  EXPECT_EQ(conv.Convert("/*2*/S", '0', out), 1);
  EXPECT_EQ(out, "/*0*/\nS|1|0");
  EXPECT_EQ(conv.Convert("/*4*/\nC", '1', out), 1);
  EXPECT_EQ(out, "\nC|1");
}

TEST_F(ConvTest, ShortestChainInTableOrder) {
  EXPECT_EQ(conv.findChain('1', '0'), (std::vector<int>{0}));
  EXPECT_EQ(conv.findChain('2', '0'), (std::vector<int>{1, 0}));
  EXPECT_EQ(conv.findChain('4', '0'), (std::vector<int>{2}));
  EXPECT_EQ(conv.findChain('4', '1'), (std::vector<int>{3}));
  conv.parameters().set(conv.parameters().findId("genkonw0"), "0");
  EXPECT_EQ(conv.findChain('1', '0'), (std::vector<int>{4}));
  EXPECT_EQ(conv.findChain('2', '0'), (std::vector<int>{1, 4}));
  conv.parameters().set(conv.parameters().findId("genkonw2"), "0");
  EXPECT_EQ(conv.findChain('4', '0'), (std::vector<int>{3, 4}));
}

TEST_F(ConvTest, MissingChainAndFailedStepBecomeComments) {
  std::string out;
  EXPECT_EQ(conv.Convert("X", '4', out), 0);
  EXPECT_EQ(out, "/* converter not found */");
  conv.parameters().set(1, "0");
  EXPECT_EQ(conv.Convert("/*2*/S", '0', out), 0);
  EXPECT_EQ(out, "/* converter not found */");
  conv.parameters().set(1, "1");
  conv.setFunction(0, fail);
  EXPECT_EQ(conv.Convert("/*2*/S", '0', out), 0);
  EXPECT_EQ(out, "/* f1->f0 conversion failed (f1 -> f0) */");
}

TEST_F(ConvTest, SwitchesAreAGkparamRecord) {
  param& p = conv.parameters();
  std::ostringstream out;
  writeRecord(p, out);
  EXPECT_EQ(out.str(), "gkparam:\ngenkonw0:1\ngenkonw1:1\ngenkonw2:1\ngenkonw3:1\ngenkonw4:1\n\n");
  std::istringstream in("genkonw3:0\ngenkonw1:7\n");
  readRecord(p, in);
  EXPECT_EQ(conv.entry(3).enabled, 0);
  EXPECT_EQ(conv.entry(1).enabled, 1);  // clamped to the switch range
}

}  // namespace
}  // namespace vorlund
