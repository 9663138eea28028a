// Stores into memory that other cores read, skipping a store that would not
// change a bit: a cache line left as it was stays shared in every core that
// read it, while a store, even of the same bits, takes the line from them
// and makes their next read fetch it back. Resting energy balls keep most of
// their copies unchanged from step to step.
#pragma once

#include <cstring>
#include <type_traits>

namespace vorlund {

template <class T>
inline void storeIfChanged(T& slot, const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  // Bits, not values: a NaN or a -0 must be stored as it is.
  if (std::memcmp(&slot, &value, sizeof(T)) != 0) slot = value;
}

// The same where the slot may have no other reader (a step on one thread):
// the comparison then only costs, and the value is stored as it is.
template <class T>
inline void storeForReaders(T& slot, const T& value, bool othersRead) {
  if (othersRead)
    storeIfChanged(slot, value);
  else
    slot = value;
}

}  // namespace vorlund
