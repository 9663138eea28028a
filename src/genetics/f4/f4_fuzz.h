// The fuzzing entry of encoding 4: arbitrary bytes as a genotype body through
// the parser, the development with repairs, the writers and the operator.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorlund {

// Longer inputs are cut to this many bytes, so that one run stays short.
constexpr std::size_t F4_FUZZ_MAX_INPUT = 2048;

// 0 when every checked property held; 1 when one did not (the caller stops).
int fuzzF4(const uint8_t* data, std::size_t size);

}  // namespace vorlund
