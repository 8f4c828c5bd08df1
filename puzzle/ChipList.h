#pragma once
// A list of piece pointers in drawing order, index 0 the topmost piece: the main table, each
// mini table, the captured pieces and the selection. It never owns the pieces (except
// through DeleteAll) and never loses one: a list that is full logs the overflow and grows.
// Members of one group lie next to each other.

#include <QString>

#include <vector>

class PuzzleChip;

class ChipList {
public:
  ChipList();
  explicit ChipList(int capacity);
  // Capacity the source's count.
  ChipList(const ChipList& source);
  // The source's pieces of one group, in order; capacity the source's.
  ChipList(const ChipList& source, int groupId);
  virtual ~ChipList();
  ChipList& operator=(const ChipList&) = delete;

  int Count() const { return int(items_.size()); }
  int Capacity() const { return capacity_; }
  bool IsEmpty() const { return items_.empty(); }
  // A bad index logs and answers a spare slot that holds null.
  PuzzleChip*& operator[](int index);

  void Add(PuzzleChip* piece);
  void Push(PuzzleChip* piece);
  // Puts all of other's pieces in front, in their order.
  void PushList(const ChipList& other);
  void Append(const ChipList& other);
  void Clear() { items_.clear(); }
  // Room for capacity pieces; a list still holding pieces keeps them.
  void Reset(int capacity);
  void Trim();
  // Hands this list's pieces to other (appended when other holds pieces); this one restarts
  // empty.
  void MoveTo(ChipList& other);
  // Destroys every piece, the last first.
  void DeleteAll();

  void Remove(PuzzleChip* piece);
  void RemoveAt(int index);
  // Removes every piece that is also in other.
  void RemoveAll(const ChipList& other);
  // Removes the pieces of group id (0 removes nothing).
  void RemoveGroup(int id);
  void MoveToFront(PuzzleChip* piece);

  bool Contains(const PuzzleChip* piece) const;
  PuzzleChip* FindById(int id) const;
  // Loose pieces plus groups.
  int CountUnits() const;
  // The largest width or height of a piece's mask; 0 when empty.
  int MaxPieceExtent() const;

private:
  // Logs the overflow, then makes room for at least needed pieces.
  void Grow(int needed, const QString& overflowLine);

  std::vector<PuzzleChip*> items_;
  int capacity_;
};
