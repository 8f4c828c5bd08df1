#pragma once
// How the main window must change before a saved game can lie on its table: as it was saved
// when this screen is at least as large as the one it was played on, else maximised; nothing
// while the saved table fits the table as it is.

#include <QRect>
#include <QSize>

class JigsawFileReader;

struct SavedWindowWish {
  enum Kind { Keep, Maximise, Place };
  Kind kind = Keep;
  QRect bounds;  // for Place
  // False when the saved screen was larger: the groups may still not fit once maximised.
  bool screenLargeEnough = true;

  static SavedWindowWish For(const JigsawFileReader* file, QSize table, QSize screen);
};
