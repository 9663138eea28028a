// The user's file-name pattern and command line are plain text typed into the
// settings. They are never handed to printf: these functions substitute the
// frame number and the two paths themselves and refuse anything else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlund {

// Widest field a frame-number conversion may ask for ("%0400d" would make a
// file name longer than any file system allows).
constexpr int kPovFrameFieldMax = 32;

// Formats the frame number into `pattern`: at most one integer conversion
// (%d or %i with optional flags "-+ 0" and a width, an optional "l" or "h"),
// "%%" for a percent sign. Nothing else may follow a '%'. An empty pattern
// names no file. Returns no value for a pattern that breaks these rules.
std::optional<std::string> formatFrameName(std::string_view pattern, long frame);

// Turns the user's command into a shell script in which the first "%s" reads
// the shell's "$1" and the second "$2", each double-quoted so the paths are
// never split or interpreted; "%%" gives a percent sign. A "%s" the user has
// already put in quotes ('%s' or "%s") loses those quotes. At most two "%s";
// any other conversion refuses the command (no value).
std::optional<std::string> commandScript(std::string_view command);

}  // namespace vorlund
