#include "ui/command_line.h"

#include <cctype>
#include <charconv>

namespace vorlund::ui {

const char* const kCommandLineHelp =
    "Using Vorlund with command-line:\n\n"
    "   vorlund   [-go  |  -demo]   [--seed N]   [file.sim]   [file.gen]   [...]\n\n"
    "   -go          evolve at once, in the evolution layout\n"
    "   -demo        demonstration: evolve and show the creatures now and then\n"
    "   --seed N     start the evolution's random numbers from N (the same seed\n"
    "                and files give the same run as vorlund-cli)\n"
    "   file.sim     simulator parameters; file.gen: genotypes (applied in order)\n"
    "   --help, -h   print this text and exit\n\n"
    "Examples (the example files ship with the program):\n"
    "   vorlund   examples/seeds.gen\n"
    "   vorlund   examples/walkers.sim   examples/seeds.gen   -go\n"
    "   vorlund   examples/swimmers.sim   --seed 3\n"
    "   vorlund   -demo   examples/walkers.sim   examples/seeds.gen";

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool endsWith(const std::string& s, const char* tail) {
  const std::string t = tail;
  return s.size() > t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

std::optional<uint64_t> number(const std::string& text) {
  uint64_t v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || p != end || text.empty()) return std::nullopt;
  return v;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string low = lower(arg);
    if (low == "--seed" && i + 1 < args.size()) {
      cl.seed = number(args[++i]);
      continue;
    }
    if (low.rfind("--seed=", 0) == 0) {
      cl.seed = number(arg.substr(7));
      continue;
    }
    if (!cl.text.empty()) cl.text += ' ';
    cl.text += arg;
    if (low == "-go") {
      cl.go = true;
    } else if (low == "-demo") {
      cl.demo = true;
    } else if (low == "--help" || low == "-h") {
      cl.usage = true;
    } else if (low == "-help" || low == "help" || low == "-?" || low == "?" || low == "/?") {
      cl.help = true;
    } else if (endsWith(low, ".sim")) {
      cl.files.push_back({arg, true});
    } else if (endsWith(low, ".gen")) {
      cl.files.push_back({arg, false});
    }
  }
  return cl;
}

}  // namespace vorlund::ui
