#include <gtest/gtest.h>

#include <sstream>

#include "core/record.h"
#include "main_window_rig.h"

namespace vorlund {
namespace {

TEST(PovSoundWindow, ExporterJoinsTheSettingsChainAndSoundsHearTheWorld) {
  WindowRig rig;
  ui::MainWindow& w = rig.make();
  param& chain = w.context().settingsChain().head();
  ASSERT_GE(chain.findId("pov_skip"), 0);
  EXPECT_EQ(chain.findId("pov_act") + 1, chain.findId("pov_stick"));
  w.povExporter().vars.pov_act = 1;
  std::ostringstream written;
  writeRecord(chain, written);
  EXPECT_EQ(written.str().find("pov_act"), std::string::npos);
  EXPECT_NE(written.str().find("pov_skip:3"), std::string::npos);
  w.povExporter().vars.pov_act = 0;

  org ball(&w.sim().geneticsContext(), "*");
  ball.typ = ORG_FOOD;
  for (const OrgHook& h : w.sim().startedHooks) h.fn(h.arg, &ball);
  EXPECT_EQ(rig.audio.calls, std::vector<std::string>{"play 5 0"});
}

}  // namespace
}  // namespace vorlund
