#pragma once
// A set of joined pieces with an id from 1 to 65,535, its box on the table (inclusive) and
// the box's centre as fractions of the table size. All groups hang in one global list, the
// newest first; the ids start at 1 again once the list is empty.

#include <QSize>

class QIODevice;
struct ChipGroupRecord;

class ChipGroup {
public:
  static constexpr int MaxId = 65535;

  // A new group with the next id, at the head of the list.
  ChipGroup();
  // A saved group on a table of that size: its id, centre and box size, the box kept at
  // least 1 pixel in.
  ChipGroup(const ChipGroupRecord& record, int tableWidth, int tableHeight);
  // Leaves the list ("Chip group not found" when it was not in it).
  ~ChipGroup();
  ChipGroup(const ChipGroup&) = delete;
  ChipGroup& operator=(const ChipGroup&) = delete;

  static void DeleteAll();
  // Null for ids below 1 and unknown ids.
  static ChipGroup* Find(int id);
  static ChipGroup* First();
  static int Count();
  // The largest box width and the largest box height over all groups.
  static QSize MaxExtent();

  // With storeCentre the centre follows, as fractions of a table of that size.
  void SetBounds(int tableWidth, int tableHeight, bool storeCentre, int left, int top,
                 int right, int bottom);
  // The saved-game group record (16 bytes, behind its type and length bytes).
  void WriteRecord(QIODevice& stream) const;
  static void WriteAllRecords(QIODevice& stream);

  int Id() const { return id_; }
  ChipGroup* Next() const { return next_; }
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  float CentreX() const { return centreX_; }
  float CentreY() const { return centreY_; }

private:
  static int TakeId();
  void Link();

  ChipGroup* next_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int right_ = 0;
  int bottom_ = 0;
  float centreX_ = 0;
  float centreY_ = 0;
  int id_;
};
