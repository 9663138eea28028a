// A list that owns its elements: index access that yields nothing past the
// end, append returning the new element, and taking an element out with its
// ownership (used when a body is split in two).
#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace vorlund {

template <class T>
class OwningList {
 public:
  int size() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }

  T* get(int i) const {
    if (i < 0 || i >= size()) return nullptr;
    return items_[static_cast<std::size_t>(i)].get();
  }
  T* operator()(int i) const { return get(i); }

  // Appends a default element and returns it.
  T* add() { return append(std::make_unique<T>()); }
  T* append(std::unique_ptr<T> x) {
    items_.push_back(std::move(x));
    return items_.back().get();
  }

  int find(const T* x) const {
    for (int i = 0; i < size(); ++i)
      if (items_[static_cast<std::size_t>(i)].get() == x) return i;
    return -1;
  }

  // Removes element i and hands it over (nullptr when i is out of range).
  std::unique_ptr<T> take(int i) {
    if (i < 0 || i >= size()) return nullptr;
    std::unique_ptr<T> x = std::move(items_[static_cast<std::size_t>(i)]);
    items_.erase(items_.begin() + i);
    return x;
  }
  // Removes and destroys element i.
  void removeAt(int i) { take(i); }
  void remove(const T* x) { removeAt(find(x)); }
  void clear() { items_.clear(); }

  // Range iteration over the owned elements (as unique_ptr<T>&).
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace vorlund
