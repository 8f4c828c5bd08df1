#pragma once
// One whole cut line across the picture: piece sides drawn end to end, each stretched to its
// own cell length. The sides belong to whoever made them.

#include "Yelk/TypedList.h"

#include <QPoint>

class ChipEdge;
class IntArray;
class PixelCanvas;

class PuzzleCut {
public:
  PuzzleCut() = default;
  PuzzleCut(const PuzzleCut&) = delete;
  PuzzleCut& operator=(const PuzzleCut&) = delete;

  // A null side is not added.
  void Add(const ChipEdge* edge);
  int Count() const { return edges_.Count(); }
  // Empties the cut without deleting its sides.
  void Clear() { edges_.Clear(false); }

  // Side i gets length lengths[i] (ERangeError when lengths is shorter than the cut).
  void Draw(PixelCanvas& canvas, const IntArray& lengths, QPoint start) const;

private:
  TypedList<const ChipEdge> edges_;
};
