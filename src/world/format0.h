// Writing a body as format 0: the text the "f1 -> f0" converter produces.
#pragma once

#include <string>

namespace vorlund {

class org;

// A line break, then one compact line per stick end, per stick and per
// neuron followed by its inputs, each leaving out the values equal to a
// default element's. The element indices (s1, s2, est, n) are refreshed from
// the body's links before writing.
std::string writeFormat0(org& body);

}  // namespace vorlund
