// Format-0 bodies at and beyond the physical ranges: what the reader makes of
// them, and that none makes the physics produce a number that is not finite.
#include <gtest/gtest.h>

#include "../../fuzz/body_fuzz_entry.cpp"
#include "support/corpus.h"
#include "support/message_capture.h"

namespace vorlund {
namespace {

TEST(FuzzCorpus, FormatZeroBodiesStayFiniteInACrowdedWorld) { test_support::replayCorpus("body", fuzzBodyPhysics, 10); }

// Bodies that once turned positions into NaN or infinity within a few steps.
TEST(Format0Ranges, ReaderRefusesNonFiniteValuesAndBringsOthersIntoRange) {
  struct Case {
    const char* text;
    int ses, sticks;
    double mass, friction;  // of the first stick end, when there is one
    bool warned;
  };
  const Case cases[] = {
      {"p:fr=-1", 1, 0, 1.0, 0.0, true},                      // negative friction
      {"p:m=1e999\np:1\nj:0,1", 1, 0, 1.0, 0.4, true},        // infinite mass: refused, and its stick
      {"p:m=1e-320\np:1\nj:0,1", 2, 1, 0.1, 0.4, true},       // denormal mass
      {"p:m=0.1\np:1\nj:0,1", 2, 1, 0.1, 0.4, false},         // the lightest end there is
      {"p:1e308\np:-1e308\nj:0,1", 0, 0, 0, 0, true},         // far beyond any world
      {"p:x=inf\np:1\nj:0,1", 1, 0, 1.0, 0.4, true},          // "inf" is read, and refused
      {"p:300\np:301\nj:0,1", 2, 1, 1.0, 0.4, false},         // placement moves a body from anywhere
      {"p:-125\np:125.5\nj:0,1", 1, 0, 1.0, 0.4, true},       // but no body is wider than the largest world
      {"p:250, -250, 0, 10, 100, 10, 1\np:1\nj:0,1", 2, 1, 10, 10, false},  // the bounds themselves
      {"p:\nj:0,0", 1, 1, 1.0, 0.4, false},                   // a stick from an end to itself stands
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    test_support::MessageCapture log;
    org body(nullptr, std::string("/*0*/\n") + c.text);
    body.Build();
    EXPECT_EQ(body.sesCount(), c.ses);
    EXPECT_EQ(body.estCount(), c.sticks);
    if (c.ses > 0) {
      EXPECT_EQ(body.getSes(0)->m, c.mass);
      EXPECT_EQ(body.getSes(0)->tarcie, c.friction);
    }
    EXPECT_EQ(!log.entries.empty(), c.warned);
    const std::string text = std::string(c.text);
    EXPECT_EQ(test_support::entryOnText(fuzzBodyPhysics, text), 0);
  }
}

}  // namespace
}  // namespace vorlund
