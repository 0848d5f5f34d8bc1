// Containers of the framework: arrays of pointers that own their elements (TIPtrArray) or
// only refer to them (TPtrArray), a growable string, and the out-of-memory error every failed
// allocation raises.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace quill {

// Raised when an allocation fails; the one exception that crosses the library's API.
class xalloc : public std::runtime_error {
 public:
  explicit xalloc(const std::string& what = "out of memory", size_t size = 0)
      : std::runtime_error(what), size_(size) {}
  size_t requested() const { return size_; }

 private:
  size_t size_;
};

using TString = std::string;

// Runs fn, turning an allocation failure into xalloc("out of memory").
template <class Fn>
decltype(auto) WithOutOfMemoryError(Fn&& fn) {
  try {
    return fn();
  } catch (const std::bad_alloc&) {
    throw xalloc("out of memory");
  }
}

// An array of pointers it does not own.
template <class T>
class TPtrArray {
 public:
  using Iterator = typename std::vector<T*>::const_iterator;

  size_t Size() const { return items_.size(); }
  size_t GetItemsInContainer() const { return items_.size(); }
  bool IsEmpty() const { return items_.empty(); }
  T* operator[](size_t i) const { return items_.at(i); }
  Iterator begin() const { return items_.begin(); }
  Iterator end() const { return items_.end(); }

  void Add(T* item) {
    WithOutOfMemoryError([&] { items_.push_back(item); });
  }
  void AddAt(T* item, size_t index) {
    WithOutOfMemoryError([&] {
      items_.insert(items_.begin() + std::ptrdiff_t(std::min(index, items_.size())), item);
    });
  }
  // Index of item, or -1.
  int Find(const T* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
  }
  // Takes item out of the array; answers whether it was there.
  bool Detach(const T* item) {
    int i = Find(item);
    if (i < 0) return false;
    items_.erase(items_.begin() + i);
    return true;
  }
  bool DetachAt(size_t index) {
    if (index >= items_.size()) return false;
    items_.erase(items_.begin() + std::ptrdiff_t(index));
    return true;
  }
  void Flush() { items_.clear(); }

 protected:
  std::vector<T*> items_;
};

// An array of pointers that owns its elements: they are deleted when destroyed or flushed,
// unless detached first.
template <class T>
class TIPtrArray : public TPtrArray<T> {
 public:
  TIPtrArray() = default;
  TIPtrArray(const TIPtrArray&) = delete;
  TIPtrArray& operator=(const TIPtrArray&) = delete;
  ~TIPtrArray() { Flush(); }

  // Removes and deletes item; answers whether it was there.
  bool Destroy(const T* item) {
    int i = this->Find(item);
    if (i < 0) return false;
    T* p = this->items_[size_t(i)];
    this->items_.erase(this->items_.begin() + i);
    delete p;
    return true;
  }
  bool DestroyAt(size_t index) {
    if (index >= this->items_.size()) return false;
    T* p = this->items_[index];
    this->items_.erase(this->items_.begin() + std::ptrdiff_t(index));
    delete p;
    return true;
  }
  void Flush() {
    std::vector<T*> items;
    items.swap(this->items_);
    for (T* p : items) delete p;
  }
};

}  // namespace quill
