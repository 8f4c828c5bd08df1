#pragma once
// The one current object of a kind (the table, the bevel, the pixel map...). It stops being
// current when it is destroyed, so nobody reads a freed one through the accessor.

template <typename T>
class CurrentInstance {
public:
  static T* Current() { return static_cast<T*>(current); }
  static void SetCurrent(T* object) { current = object; }

protected:
  CurrentInstance() = default;
  ~CurrentInstance() {
    if (current == this) current = nullptr;
  }

private:
  // Kept as the base so the destructor compares without casting a dying object.
  static inline CurrentInstance* current = nullptr;
};
