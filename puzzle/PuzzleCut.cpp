#include "PuzzleCut.h"

#include "ChipEdge.h"
#include "Yelk/IntArray.h"

void PuzzleCut::Add(const ChipEdge* edge) {
  if (edge) edges_.Add(edge);
}

void PuzzleCut::Draw(PixelCanvas& canvas, const IntArray& lengths, QPoint start) const {
  for (int i = 0; i < edges_.Count(); ++i) {
    const float scale = 10000.0f / float(lengths.Get(i));
    start = edges_[i]->Draw(canvas, scale, start);
  }
}
