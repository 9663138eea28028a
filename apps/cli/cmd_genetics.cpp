// Subcommands that run the genetic operators through the manager, for any
// format that has an operator: check, validate, mutate, crossover, similarity, style.
#include <CLI/CLI.hpp>
#include <cctype>
#include <nlohmann/json.hpp>

#include "cli.h"
#include "core/strutil.h"

namespace vorlund::cli {

namespace {

// Genotypes are 8-bit texts; bytes that are not UTF-8 must not stop the output.
std::string jsonLine(const nlohmann::json& j) {
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

// A parent name for the info texts.
constexpr const char* kParentName = "cli";
constexpr const char* kParent1Name = "parent1";
constexpr const char* kParent2Name = "parent2";

}  // namespace

void addGeneticsCommands(CLI::App& app, CliContext& ctx) {
  struct Options {
    std::string g1, g2;
    uint64_t seed = 0;
    int count = 1;
  };
  Options& o = ctx.make<Options>();

  // Reads the genotype arguments this subcommand uses; false (exit code set) when one is unreadable.
  auto readArgs = [&ctx, &o](std::string& a, std::string* b) {
    if (!ctx.genotypeArg(o.g1, a) || (b != nullptr && !ctx.genotypeArg(o.g2, *b))) {
      ctx.exitCode = 1;
      return false;
    }
    return true;
  };
  auto seedFrom = [&ctx, &o](CLI::App* sub) {
    if (sub->count("--seed") > 0) ctx.seed = o.seed;
    ctx.applySeed();
  };

  CLI::App* check = app.add_subcommand("check", "Print the validity of a genotype (0 valid, -1 repairable, "
                                                "a position when invalid, -2 when it cannot be checked)");
  check->add_option("genotype", o.g1, "Genotype text, or - for standard input")->required();
  check->callback([&ctx, readArgs]() {
    std::string text;
    if (!readArgs(text, nullptr)) return;
    ctx.out << ctx.genman.CheckValidity(text) << '\n';
  });

  CLI::App* validate = app.add_subcommand("validate", "Print the genotype repaired where it can be");
  validate->add_option("genotype", o.g1, "Genotype text, or - for standard input")->required();
  validate->callback([&ctx, readArgs]() {
    std::string text;
    if (!readArgs(text, nullptr)) return;
    const int r = ctx.genman.Validate(text);
    if (r != 0) {
      ctx.err << r << '\n';
      ctx.exitCode = 1;
      return;
    }
    ctx.out << text;
  });

  CLI::App* mutate = app.add_subcommand("mutate", "Print successive mutants, each of the previous one, as JSON lines");
  mutate->add_option("--seed", o.seed, "Seed of the random generator");
  mutate->add_option("--count", o.count, "Number of successive mutants")->check(CLI::Range(0, 100000));
  mutate->add_option("genotype", o.g1, "Genotype text, or - for standard input")->required();
  mutate->callback([&ctx, &o, readArgs, seedFrom, mutate]() {
    std::string text;
    if (!readArgs(text, nullptr)) return;
    seedFrom(mutate);
    for (int i = 0; i < o.count; ++i) {
      std::string info;
      const int r = ctx.genman.Mutate(kParentName, text, info);
      if (r != 0) {
        ctx.err << "mutation failed: " << r << '\n';
        ctx.exitCode = 1;
        return;
      }
      ctx.out << jsonLine({{"genotype", text}, {"info", info}});
    }
  });

  CLI::App* crossover = app.add_subcommand("crossover", "Print the two children of a crossover as one JSON line");
  crossover->add_option("--seed", o.seed, "Seed of the random generator");
  crossover->add_option("genotype1", o.g1, "First parent, or - for standard input")->required();
  crossover->add_option("genotype2", o.g2, "Second parent")->required();
  crossover->callback([&ctx, readArgs, seedFrom, crossover]() {
    std::string a, b;
    if (!readArgs(a, &b)) return;
    seedFrom(crossover);
    std::string info1, info2;
    const int r = ctx.genman.CrossOver(kParent1Name, a, info1, kParent2Name, b, info2);
    if (r != 0) {
      ctx.err << "crossover failed: " << r << '\n';
      ctx.exitCode = 1;
      return;
    }
    ctx.out << jsonLine({{"child1", a}, {"info1", info1}, {"child2", b}, {"info2", info2}});
  });

  CLI::App* similarity = app.add_subcommand("similarity", "Print the similarity of two genotypes");
  similarity->add_option("genotype1", o.g1, "First genotype, or - for standard input")->required();
  similarity->add_option("genotype2", o.g2, "Second genotype")->required();
  similarity->callback([&ctx, readArgs]() {
    std::string a, b;
    if (!readArgs(a, &b)) return;
    ctx.out << ssprintf("%g", static_cast<double>(ctx.genman.Similarity(a, b))) << '\n';
  });

  CLI::App* style = app.add_subcommand("style", "Print the editor style word of every character");
  style->add_option("genotype", o.g1, "Genotype text, or - for standard input")->required();
  style->callback([&ctx, readArgs]() {
    std::string text;
    if (!readArgs(text, nullptr)) return;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      // Line breaks and other control bytes would break the one-line-per-character layout.
      const std::string shown = std::isprint(c) ? std::string(1, static_cast<char>(c)) : ssprintf("\\x%02x", c);
      ctx.out << ssprintf("%zu %s %08x", i, shown.c_str(), ctx.genman.Style(text, static_cast<int>(i))) << '\n';
    }
  });
}

}  // namespace vorlund::cli
