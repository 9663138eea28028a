// The system's collections: `lista`, a growable list of observed pointers with
// an iteration cursor that survives removals; `lista2`, a lista that notifies
// listeners and can keep itself sorted by one parameter of its elements; and
// `listaduo`, one view over two lists. None of them owns its elements.
#pragma once

#include <algorithm>
#include <vector>

#include "core/param.h"

namespace vorlund {

// A listener: called with its argument and the index concerned.
using ListenerFn = void (*)(void* arg, int index);

struct Listener {
  ListenerFn fn;
  void* arg;
};

// Free slots added whenever only one free slot is left.
constexpr int LISTA_GROW_STEP = 5;

template <class T>
class lista {
 public:
  lista() = default;
  lista(const lista&) = delete;
  lista& operator=(const lista&) = delete;
  virtual ~lista() = default;

  int size() const { return count_; }
  int capacity() const { return static_cast<int>(items_.size()); }
  int cursor() const { return cursor_; }
  void setCursor(int c) { cursor_ = c; }

  void setCapacity(int n) {
    if (n < 0) n = 0;
    if (count_ > n) count_ = n;
    items_.resize(static_cast<std::size_t>(n), nullptr);
    if (n == 0) items_.shrink_to_fit();
  }

  void append(T* x) {
    grow();
    items_[static_cast<std::size_t>(count_++)] = x;
  }

  void insert(int i, T* x) {
    grow();
    if (i < 0) i = 0;
    ++count_;
    const int at = std::min(i, count_ - 1);
    for (int k = count_ - 1; k > at; --k) items_[static_cast<std::size_t>(k)] = items_[static_cast<std::size_t>(k - 1)];
    items_[static_cast<std::size_t>(at)] = x;
    if (i < cursor_) ++cursor_;
  }

  T* get(int i) const {
    if (i < 0 || i >= count_) return nullptr;
    return items_[static_cast<std::size_t>(i)];
  }
  T* operator()(int i) const { return get(i); }

  // Iteration: setCursor(0), then next() until nullptr.
  T* next() {
    if (cursor_ < 0 || cursor_ >= count_) return nullptr;
    return items_[static_cast<std::size_t>(cursor_++)];
  }

  int find(const T* x) const {
    for (int i = 0; i < count_; ++i)
      if (items_[static_cast<std::size_t>(i)] == x) return i;
    return -1;
  }

  virtual void removeAt(int i) {
    if (i < 0 || i >= count_) return;
    for (int k = i; k < count_ - 1; ++k) items_[static_cast<std::size_t>(k)] = items_[static_cast<std::size_t>(k + 1)];
    --count_;
    items_[static_cast<std::size_t>(count_)] = nullptr;
    if (i < cursor_) --cursor_;
  }

  void remove(const T* x) { removeAt(find(x)); }

  // Plain clear: forgets the elements (no notifications) and frees the slots.
  void clearItems() {
    count_ = 0;
    cursor_ = 0;
    setCapacity(0);
  }

 protected:
  // Keeps one slot free: when capacity - 1 is not above count, capacity becomes count + 5.
  void grow() {
    if (capacity() - 1 <= count_) items_.resize(static_cast<std::size_t>(count_ + LISTA_GROW_STEP), nullptr);
  }
  T** data() { return items_.data(); }

 private:
  std::vector<T*> items_;
  int count_ = 0;
  int cursor_ = 0;
};

// A list of listeners, held as (function, argument) pairs.
class ListenerList {
 public:
  void add(ListenerFn fn, void* arg) { items_.push_back({fn, arg}); }
  void remove(ListenerFn fn, void* arg) {
    for (auto it = items_.begin(); it != items_.end(); ++it)
      if (it->fn == fn && it->arg == arg) {
        items_.erase(it);
        return;
      }
  }
  void notify(int index) const {
    // Copy first: a listener may unsubscribe itself while being called.
    const std::vector<Listener> snapshot = items_;
    for (const Listener& l : snapshot) l.fn(l.arg, index);
  }
  int size() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<Listener> items_;
};

// The observable, sortable list. Sorting uses a parameter of the elements'
// table through `sortAccessor`, whose base is rebound to each element compared.
template <class T>
class lista2 : public lista<T> {
 public:
  ListenerList addedListeners;
  ListenerList beforeRemovalListeners;
  ListenerList changedListeners;
  ListenerList removedListeners;

  bool sorted() const { return sortAccessor_ != nullptr && sortIndex_ >= 0; }
  int sortIndex() const { return sortIndex_; }
  bool sortDescending() const { return descending_; }
  param* sortAccessor() const { return sortAccessor_; }

  // Adds x at its sorted place (after every element that sorts before or equal to it) or at the end.
  virtual void add(T* x) {
    int at = this->size();
    if (sorted()) {
      at = 0;
      while (at < this->size() && compare(this->get(at), x) <= 0) ++at;
      this->insert(at, x);
    } else {
      this->append(x);
    }
    addedListeners.notify(at);
  }

  void removeAt(int i) override {
    if (i < 0 || i >= this->size()) return;
    beforeRemovalListeners.notify(i);
    lista<T>::removeAt(i);
    removedListeners.notify(i);
  }
  // Removes every element, last first, each with its notifications.
  void clear() {
    for (int i = this->size() - 1; i >= 0; --i) removeAt(i);
    this->setCapacity(0);
  }

  // Tells the list that element i changed (-1: everything).
  virtual void changed(int i) {
    if (sorted() && i >= 0 && i < this->size()) {
      T* x = this->get(i);
      const bool beforePrev = i > 0 && compare(x, this->get(i - 1)) < 0;
      const bool afterNext = i + 1 < this->size() && compare(x, this->get(i + 1)) > 0;
      if (beforePrev || afterNext) {
        removeAt(i);
        add(x);
        return;
      }
    } else if (sorted() && i == -1) {
      sortNow();
      changedListeners.notify(-1);
      return;
    }
    changedListeners.notify(i < -1 ? -1 : i);
  }

  // Sorts by parameter `index` of `acc` (-1: unsorted); `descending` reverses.
  void setSort(param* acc, int index, bool descending) {
    sortAccessor_ = acc;
    sortIndex_ = index;
    descending_ = descending;
    if (index >= 0 && acc != nullptr) {
      sortNow();
      changedListeners.notify(-1);
    }
  }

 protected:
  int compare(T* a, T* b) const { return paramCompare(*sortAccessor_, sortIndex_, a, b, descending_); }

  void sortNow() {
    T** first = this->data();
    std::sort(first, first + this->size(), [this](T* a, T* b) { return compare(a, b) < 0; });
  }

 private:
  param* sortAccessor_ = nullptr;
  int sortIndex_ = -1;
  bool descending_ = false;
};

// Two lists seen as one: indices below the first list's count address the
// first list, larger ones the second (living creatures, then food).
template <class T>
class listaduo {
 public:
  listaduo(lista2<T>& first, lista2<T>& second) : first_(first), second_(second) {}

  int size() const { return first_.size() + second_.size(); }
  T* get(int i) const { return i < first_.size() ? first_.get(i) : second_.get(i - first_.size()); }
  T* operator()(int i) const { return get(i); }
  int find(const T* x) const {
    const int k = first_.find(x);
    if (k >= 0) return k;
    const int m = second_.find(x);
    return m >= 0 ? first_.size() + m : -1;
  }
  // Removes x (with notifications) from whichever list holds it.
  void remove(const T* x) {
    const int k = first_.find(x);
    if (k >= 0) {
      first_.removeAt(k);
      return;
    }
    second_.remove(x);
  }
  void removeAt(int i) {
    if (i < first_.size())
      first_.removeAt(i);
    else
      second_.removeAt(i - first_.size());
  }

 private:
  lista2<T>& first_;
  lista2<T>& second_;
};

}  // namespace vorlund
