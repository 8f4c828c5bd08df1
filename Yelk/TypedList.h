#pragma once
// A list of pointers to T. It does not own its items: Clear(true) deletes them, the
// destructor frees only the list.

#include "ERangeError.h"

#include <vector>

template <class T>
class TypedList {
public:
  TypedList() = default;
  TypedList(const TypedList&) = delete;
  TypedList& operator=(const TypedList&) = delete;

  // The new item's index.
  int Add(T* item) {
    items.push_back(item);
    return Count() - 1;
  }
  int Count() const { return static_cast<int>(items.size()); }
  T* operator[](int index) const {
    if (index < 0 || index >= Count())
      throw ERangeError(QStringLiteral("TypedList index %1 is out of range (count %2)")
                            .arg(index)
                            .arg(Count()));
    return items[static_cast<std::size_t>(index)];
  }
  void Clear(bool deleteItems) {
    if (deleteItems)
      for (T* item : items) delete item;
    items.clear();
  }

private:
  std::vector<T*> items;
};
