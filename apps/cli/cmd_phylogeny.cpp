// The phylogeny subcommand: a seeded demo history drawn as an SVG family tree.
#include <CLI/CLI.hpp>
#include <vector>

#include "cli.h"
#include "core/random.h"
#include "core/strutil.h"
#include "phylogeny_demo.h"
#include "phylogeny_svg.h"

namespace vorlund::cli {

namespace {

// Share of the demo's operations that are crossovers.
constexpr double kDefaultCrossoverShare = 0.25;

std::string memberName(std::size_t i) { return ssprintf("G%d", static_cast<int>(i)); }

}  // namespace

PhylogenyDemoResult runPhylogenyDemo(GenMan& gm, int operations, const std::string& start, double crossoverShare) {
  PhylogenyDemoResult result;
  gm.vars.gen_hist = 1;
  std::vector<std::string> pool{start};
  for (int op = 0; op < operations; ++op) {
    if (pool.size() >= 2 && rndUnit() < crossoverShare) {
      const std::size_t a = static_cast<std::size_t>(rndBelow(static_cast<int>(pool.size())));
      std::size_t b = static_cast<std::size_t>(rndBelow(static_cast<int>(pool.size()) - 1));
      if (b >= a) ++b;
      std::string t1 = pool[a], t2 = pool[b], info1, info2;
      const int r = gm.CrossOver(memberName(a), t1, info1, memberName(b), t2, info2);
      if (r == GENMAN_OK) {
        // Only one child need be good; an invalid one would only feed failures later.
        if (gm.CheckValidity(t1) == 0) pool.push_back(t1);
        if (gm.CheckValidity(t2) == 0) pool.push_back(t2);
        ++result.crossovers;
      } else {
        ++result.failures;
      }
      continue;
    }
    const std::size_t a = static_cast<std::size_t>(rndBelow(static_cast<int>(pool.size())));
    std::string text = pool[a], info;
    const int r = gm.Mutate(memberName(a), text, info);
    if (r == GENMAN_NO_OPERATOR) {
      result.noOperator = true;
      return result;
    }
    if (r == GENMAN_OK) {
      pool.push_back(text);
      ++result.mutations;
    } else {
      ++result.failures;
    }
  }
  return result;
}

void addPhylogenyCommands(CLI::App& app, CliContext& ctx) {
  struct Options {
    int demo = 0;
    uint64_t seed = 0;
    std::string start = "X";
    double crossoverShare = kDefaultCrossoverShare;
    PhylogenyPicture pic;
    std::string file;
  };
  Options& o = ctx.make<Options>();

  CLI::App* cmd = app.add_subcommand("phylogeny", "Draw the family tree of a seeded demo of genetic operations as SVG");
  cmd->add_option("--demo", o.demo, "Number of seeded mutations and crossovers to make")
      ->required()
      ->check(CLI::Range(1, 1000000));
  CLI::Option* seedOpt = cmd->add_option("--seed", o.seed, "Random seed (default: the clock)");
  cmd->add_option("--start", o.start, "Genotype the demo starts from")->capture_default_str();
  cmd->add_option("--crossovers", o.crossoverShare, "Share of crossovers among the operations")
      ->check(CLI::Range(0.0, 1.0))
      ->capture_default_str();
  cmd->add_option("--show", o.pic.show, "0 mutated only, 1 crossed over only, 2 both")->check(CLI::Range(0, 2));
  cmd->add_option("--scale", o.pic.scale, "Vertical axis: 0 absolute (operation number), 1 relative (genetic steps)")
      ->check(CLI::Range(0, 1));
  cmd->add_option("--scatter", o.pic.scatter, "Leaves: 0 randomly, 1 max. local distance, 2 max. global distance")
      ->check(CLI::Range(0, 2));
  cmd->add_option("--repeats", o.pic.repeats, "Repeating genotypes: 0 dashed lines, 1 left out")->check(CLI::Range(0, 1));
  cmd->add_option("--width", o.pic.width, "Picture width in pixels")->check(CLI::Range(50, 20000));
  cmd->add_option("--height", o.pic.height, "Picture height in pixels")->check(CLI::Range(50, 20000));
  cmd->add_option("file", o.file, "SVG file to write")->required();
  cmd->callback([&ctx, &o, seedOpt]() {
    if (seedOpt->count() > 0) ctx.seed = o.seed;
    ctx.applySeed();
    const PhylogenyDemoResult demo = runPhylogenyDemo(ctx.genman, o.demo, o.start, o.crossoverShare);
    if (demo.noOperator) {
      ctx.err << "no genetic operator for format '" << GenMan::GetFormat(o.start)
              << "' in this build: cannot mutate the start genotype\n";
      ctx.exitCode = 1;
      return;
    }
    std::size_t points = 0;
    if (!writePhylogenySvg(ctx.genman, o.pic, o.file, ctx.err, points)) {
      ctx.exitCode = 1;
      return;
    }
    ctx.out << o.file << ": " << points << " points from " << demo.mutations << " mutations and "
            << demo.crossovers << " crossovers (" << demo.failures << " failed)\n";
  });
}

}  // namespace vorlund::cli
