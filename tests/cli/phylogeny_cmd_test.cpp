#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli.h"
#include "core/random.h"
#include "genetics/phylogeny/evolstudy.h"
#include "phylogeny_demo.h"

namespace vorlund::cli {
namespace {

// A stand-in encoding-1 operator: mutation appends a letter, crossover swaps tails.
class AppendingOperator : public TGeno_fx {
 public:
  int Validate(std::string&) override { return 0; }
  int Mutate(std::string& body, float& change) override {
    body += static_cast<char>('A' + rndBelow(3));
    change = 0.5f;
    return 0;
  }
  int CrossOver(std::string& a, std::string& b, float& c1, float& c2) override {
    const std::size_t ha = a.size() / 2, hb = b.size() / 2;
    const std::string na = a.substr(0, ha) + b.substr(hb), nb = b.substr(0, hb) + a.substr(ha);
    a = na;
    b = nb;
    c1 = c2 = 0.5f;
    return 0;
  }
};

TEST(PhylogenyDemo, EveryOperationOfTheDemoBecomesPoints) {
  GenMan gm;
  gm.registerOperator('1', std::make_unique<AppendingOperator>());
  seedRandom(4);
  const PhylogenyDemoResult r = runPhylogenyDemo(gm, 40, "X", 0.3);
  EXPECT_FALSE(r.noOperator);
  EXPECT_EQ(r.mutations + r.crossovers + r.failures, 40);
  EXPECT_GT(r.crossovers, 0);
  EXPECT_EQ(gm.history().size(), static_cast<std::size_t>(r.mutations + 2 * r.crossovers));
  EvolStudy study;
  ASSERT_TRUE(study.Analyze(gm.history()));
  // The root, one point per mutant, two per crossover child.
  EXPECT_EQ(study.points().size(), static_cast<std::size_t>(1 + r.mutations + 4 * r.crossovers));

  GenMan bare;
  EXPECT_TRUE(runPhylogenyDemo(bare, 5, "X", 0.3).noOperator);
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::vector<const char*> argv{"vorlund-cli"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream o, e;
  const int code = runCli(static_cast<int>(argv.size()), argv.data(), o, e);
  out = o.str();
  err = e.str();
  return code;
}

std::string readFile(const std::string& path) {
  std::ifstream f(path);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

TEST(PhylogenyCommand, SeededEncodingTwoDemoWritesTheSameTreeTwice) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vorlund_phylo_cmd";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string a = (dir / "a.svg").string(), b = (dir / "b.svg").string();
  const std::string start = "/*2*/stick (0) (10) 5\nstick (10) (20) 7\nconn G(5) (0) 1";
  std::string out, err;
  ASSERT_EQ(run({"phylogeny", "--demo", "25", "--seed", "9", "--crossovers", "0", "--start", start, a}, out, err), 0)
      << err;
  EXPECT_EQ(out.rfind(a + ": 26 points", 0), 0u) << out;
  ASSERT_EQ(run({"phylogeny", "--demo", "25", "--seed", "9", "--crossovers", "0", "--start", start, b}, out, err), 0);
  const std::string svg = readFile(a);
  EXPECT_EQ(svg, readFile(b));
  EXPECT_NE(svg.find("most recent: #26"), std::string::npos);

  EXPECT_NE(run({"phylogeny", "--seed", "1", a}, out, err), 0);  // --demo is required
  EXPECT_NE(run({"phylogeny", "--demo", "5", "--show", "3", a}, out, err), 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vorlund::cli
