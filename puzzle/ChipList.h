#pragma once
// A list of piece pointers in drawing order, index 0 the topmost piece: the main table, each
// mini table, the captured pieces and the selection. It never owns the pieces (except
// through DeleteAll) and never loses one: a list that is full logs the overflow and grows.
// Members of one group lie next to each other.

#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class ChipGroup;
class MiniTable;
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
  // Only for 0 <= index < Count().
  PuzzleChip* At(int index) const { return items_[std::size_t(index)]; }

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

  // The topmost piece at table point (x, y), or null.
  PuzzleChip* HitTest(int x, int y) const;
  // The topmost piece at (x, y) above stopAt (null when stopAt comes first), hidden there in
  // the pixel map.
  PuzzleChip* FindMarkedAt(const PuzzleChip* stopAt, int x, int y) const;
  // When piece is the topmost of the pieces above it at (x, y), the next piece below there
  // shows again; that piece, or null.
  PuzzleChip* UnmarkBelow(const PuzzleChip* piece, int x, int y) const;
  // The pieces whose boxes overlap piece's, leaving out selected ones, in list order; piece
  // itself in its place with includeSelf.
  std::unique_ptr<ChipList> OverlapList(const PuzzleChip* piece, bool includeSelf) const;
  // This list becomes the run of group id's members on the main table.
  void GroupMembers(int id);
  // The box of the group's run on the table (picture), inclusive corners; empty (0, 0, 0, 0
  // as left, top, right, bottom) without members.
  QRect GroupBounds(int id) const;
  QRect GroupPictureBounds(int id) const;

  // Brings the group's run to the front; with clearMarks its members show wholly first, and
  // the answer tells whether any was hidden.
  bool BringGroupToFront(int id, bool clearMarks);
  // Brings a piece (its group) to the front when it was hidden anywhere.
  void BringToFront(PuzzleChip* piece);
  // The lowest hidden piece or group comes to the front.
  void BottomToTop();
  // The topmost piece or group that covers another goes to the bottom.
  void TopToBottom();
  // Draws the group's members of this list into a mini table, scaled by its zoom.
  void DrawGroup(MiniTable& mini, const ChipGroup* group) const;

private:
  // Logs the overflow, then makes room for at least needed pieces.
  void Grow(int needed, const QString& overflowLine);

  std::vector<PuzzleChip*> items_;
  int capacity_;
};
