#pragma once
// One puzzle piece: its shape, where it lies on the table and how it is turned, its four grid
// neighbours and which of its sides are joined, its group once joined to others, and the
// outline of shadow points drawn under it. The cut makes every piece; each piece appends
// itself to the current table's list.

#include "OutlinePoint.h"

#include <QPoint>

#include <memory>
#include <vector>

class BevelFilter;
class ChipGroup;
class ChipList;
class ChipMask;
class MiniTable;
class PieceCarrier;
class PuzzleTable;
class QIODevice;
class VirtualBuffer;

// A side of a piece as cut from the picture (not as turned on the table).
enum class ChipSide { Left, Right, Up, Down };

class PuzzleChip {
public:
  static constexpr int NotPlaced = 32767;
  // Shadow outlines reach 6 pixels; a resting piece's shadow is capped at 4.
  static constexpr int OutlineCap = 4;
  static constexpr int OutlineReach = 6;

  // A piece of that shape and edge class (see EdgeClass), not placed, loose, without
  // neighbours, no side joined. It makes bevel the current bevel filter and builds its
  // outline when makeOutline is set.
  PuzzleChip(std::unique_ptr<ChipMask> mask, int edgeClass, BevelFilter* bevel,
             bool makeOutline);
  // The piece-id counter starts again at 0.
  ~PuzzleChip();
  PuzzleChip(const PuzzleChip&) = delete;
  PuzzleChip& operator=(const PuzzleChip&) = delete;

  // The list of pieces taken off the table by the wheel button, the last captured at the end.
  static ChipList& CapturedList();

  // Grid links made by the cut: other becomes the right (lower) neighbour, and this piece
  // its left (upper) one.
  void LinkRight(PuzzleChip* other);
  void LinkBelow(PuzzleChip* other);
  // A side on the picture's border counts as joined.
  void JoinBorderSides();

  // Joins the side on which other is a neighbour, on both pieces; a piece whose sides are
  // all joined needs no shadow any more. Answers whether other's overlap marks were cleared.
  bool JoinSide(PuzzleChip* other);
  // Only a piece with a neighbour on its right and below on the table can be fully joined:
  // it then needs every side joined.
  bool AllSidesJoined() const;
  // The outline (none when fully joined) and, with a current bevel filter, the bevel rings
  // for the piece's rotation.
  void RebuildShading();

  // Lays the piece with its box at (x, y) and points its cells there; rotation -1 keeps the
  // turn. skipMarks leaves the other pieces' marks alone (the first layout) and also rebuilds
  // the shading after a turn, as rebuild always does; without it storeCentre keeps the centre
  // as fractions of the table.
  void Place(int rotation, bool skipMarks, bool storeCentre, bool rebuild, int x, int y);
  // Lays the piece centred at fractions of the table (a fraction that is not a number in
  // 0..1 is logged and taken as 0.5), at least 1 pixel in; swapExtents turns its box first.
  void CenterAt(int rotation, bool skipMarks, bool swapExtents, double centreX, double centreY);
  // Hides the piece in the pixel map.
  void MarkPixels();
  // The turned boxes on the table intersect.
  bool Overlaps(const PuzzleChip& other) const;
  // Copies the piece's picture pixels, turned, into target with its box at (x0, y0).
  void CopyPixels(VirtualBuffer& target, int x0, int y0) const;
  // Draws the piece into a mini table at its place, scaled by the mini's zoom.
  void DrawOnMini(MiniTable& mini) const;

  // Joins other and its group into this piece's group; no group is freed while a piece of
  // any list still points to it.
  void Merge(PuzzleChip* other);
  // Every grouped piece on every table gets the sides joined that face a member of its group.
  static void RestoreJoinedSides();
  // Whether b, a neighbour turned like this piece, lies within the snap distance of its place
  // beside this one (at the carried position unless committing); committing moves this piece
  // there, merges b and asks for the join sound.
  bool Snap(PuzzleChip* b, const PieceCarrier* selection, bool commit);
  bool CanSnapAny(const PieceCarrier* selection, bool commit);
  // Takes the piece, or its whole group, off the table onto the captured list, hidden.
  void Capture();
  // Lays the last captured piece (its group) centred at (x, y); null, with a warning box,
  // when the table is too small for it, or when nothing is captured.
  static PuzzleChip* ReleaseCaptured(PuzzleTable& surface, int x, int y);

  // The saved-game piece record (24 bytes, behind its type and length bytes).
  void WriteRecord(QIODevice& stream, int tableIndex) const;
  // The pieces of the inactive mini tables (the last first), then those of the main table.
  static void WriteAllRecords(QIODevice& stream);

  int Id() const { return id_; }
  // 1 to 9: the corners 1 (top left), 2 (top right), 3 (bottom left), 4 (bottom right); the
  // borders 5 (top), 6 (bottom), 7 (left), 8 (right); 9 inside.
  int EdgeClass() const { return edgeClass_; }
  ChipMask& Mask() const { return *mask_; }
  PuzzleChip* Neighbour(ChipSide side) const { return neighbours_[int(side)]; }
  bool IsJoined(ChipSide side) const { return joined_[int(side)]; }
  ChipGroup* Group() const { return group_; }
  void SetGroup(ChipGroup* group) { group_ = group; }
  bool IsSelected() const { return selected_; }
  void SetSelected(bool selected) { selected_ = selected; }
  double CentreX() const { return centreX_; }
  double CentreY() const { return centreY_; }
  int TableX() const { return tableX_; }
  int TableY() const { return tableY_; }
  // Moves the piece's recorded place only; its cells stay where Place put them.
  void SetTablePosition(int x, int y) {
    tableX_ = x;
    tableY_ = y;
  }
  // Empty when the piece casts no shadow.
  const std::vector<OutlinePoint>& Outline() const { return outline_; }

private:
  void BuildOutline();
  bool SnapRoom(const PieceCarrier* selection, QPoint correction, QPoint snapped) const;
  static PuzzleChip* ReleaseGroup(PuzzleTable& surface, int x, int y);

  std::vector<OutlinePoint> outline_;
  bool selected_ = false;
  ChipGroup* group_ = nullptr;
  std::unique_ptr<ChipMask> mask_;
  PuzzleChip* neighbours_[4] = {};
  int tableX_ = NotPlaced;
  int tableY_ = NotPlaced;
  float centreX_ = 0;
  float centreY_ = 0;
  int edgeClass_;
  int id_;
  bool joined_[4] = {};
};
