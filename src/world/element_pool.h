// Storage for objects and their body elements: each type's items come from
// blocks of their own, so a world's ends, sticks, neurons and objects sit
// together in memory instead of among whatever the rest of the program
// (windows, texts, records) allocated in between, and a freed item is reused
// by the next of its type. Blocks live as long as the process. Sanitizer
// builds take every item from the heap on its own, so that a use after free
// is still caught.
#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace vorlund {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kPooledElements = false;
#else
inline constexpr bool kPooledElements = true;
#endif

// `Pooled` is for tests, which try the pool in the sanitizer build too.
template <class T, bool Pooled = kPooledElements>
class ElementPool {
 public:
  // Items per block: a block holds a few dozen creatures' worth of one type.
  static constexpr std::size_t kItemsPerBlock = 256;

  static void* allocate(std::size_t size) {
    if (!Pooled || size != sizeof(T)) return ::operator new(size, std::align_val_t(alignof(T)));
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.free == nullptr) {
      char* block = static_cast<char*>(::operator new(sizeof(T) * kItemsPerBlock, std::align_val_t(alignof(T))));
      s.blocks.push_back(block);
      // Handed out from the block's start, so that items made one after
      // another lie one after another.
      for (std::size_t i = kItemsPerBlock; i-- > 0;) {
        auto* item = reinterpret_cast<FreeItem*>(block + i * sizeof(T));
        item->next = s.free;
        s.free = item;
      }
    }
    FreeItem* item = s.free;
    s.free = item->next;
    return item;
  }

  static void release(void* p, std::size_t size) noexcept {
    if (p == nullptr) return;
    if (!Pooled || size != sizeof(T)) {
      ::operator delete(p, std::align_val_t(alignof(T)));
      return;
    }
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    auto* item = static_cast<FreeItem*>(p);
    item->next = s.free;
    s.free = item;
  }

 private:
  struct FreeItem {
    FreeItem* next;
  };
  static_assert(sizeof(T) >= sizeof(FreeItem));
  struct State {
    std::mutex mutex;
    FreeItem* free = nullptr;
    std::vector<char*> blocks;  // kept so that the blocks stay reachable
  };
  static State& state() {
    // Never destroyed: items may be freed by other static destructors.
    static State* s = new State;
    return *s;
  }
};

}  // namespace vorlund

// Class-specific allocation through ElementPool, for a type aligned beyond
// the default (its new-expressions pass the alignment); a derived type of
// another size goes to the heap.
#define VORLUND_POOLED_ELEMENT(T)                                                                       \
  static void* operator new(std::size_t size, std::align_val_t) { return ElementPool<T>::allocate(size); } \
  static void operator delete(void* p, std::size_t size, std::align_val_t) noexcept {                  \
    ElementPool<T>::release(p, size);                                                                     \
  }
