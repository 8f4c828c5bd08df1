#pragma once
// A set of joined pieces with an id from 1. All groups hang in one global list, the newest
// first; the ids start at 1 again once the list is empty.

class ChipGroup {
public:
  // A new group with the next id, at the head of the list.
  ChipGroup();
  // Leaves the list ("Chip group not found" when it was not in it).
  ~ChipGroup();
  ChipGroup(const ChipGroup&) = delete;
  ChipGroup& operator=(const ChipGroup&) = delete;

  static void DeleteAll();
  // Null for ids below 1 and unknown ids.
  static ChipGroup* Find(int id);
  static ChipGroup* First();
  static int Count();

  int Id() const { return id_; }
  ChipGroup* Next() const { return next_; }

private:
  ChipGroup* next_ = nullptr;
  int id_;
};
