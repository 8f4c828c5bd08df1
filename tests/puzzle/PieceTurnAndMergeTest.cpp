#include "TableFixtures.h"
#include "puzzle/ChipGroup.h"

#include <gtest/gtest.h>

using namespace TableFixtures;

// Turns come as any multiple of 90 degrees, negative ones too (a turn to the left from 0):
// each is kept as the quarter turn it ends in, and the piece lies turned that way.
TEST(PieceTurnAndMergeTest, NegativeAndLargeTurnsEndInAQuarterTurn) {
  const std::pair<int, int> turns[] = {{-90, 270}, {-180, 180}, {-270, 90}, {-360, 0},
                                       {-450, 270}, {-720, 0},  {450, 90},  {630, 270}};
  for (const auto& [angle, quarter] : turns) {
    PiecesOnTable t(2, 1, QSize(100, 100));
    PuzzleChip* turned = t.At(0, 0);
    PuzzleChip* reference = t.At(1, 0);
    turned->Place(angle, false, true, false, 30, 40);
    reference->Place(quarter, false, true, false, 30, 40);
    EXPECT_EQ(turned->Mask().Rotation(), quarter) << angle;
    // The same pixels of the same shape lie under every table point.
    for (int y = 36; y < 56; ++y)
      for (int x = 26; x < 46; ++x) {
        int px = 0, py = 0, rx = 0, ry = 0;
        const bool found = turned->Mask().FindPicturePixel(30, 40, x, y, px, py);
        ASSERT_EQ(found, reference->Mask().FindPicturePixel(30, 40, x, y, rx, ry))
            << angle << " at " << x << "," << y;
        if (found) {
          EXPECT_EQ(QPoint(px - turned->Mask().MinX(), py), QPoint(rx - reference->Mask().MinX(), ry));
        }
      }
  }
}

// When the group that goes is found first in the table's list (its piece lies at index 0),
// that piece's sides towards the other group join as well.
TEST(PieceTurnAndMergeTest, MergeJoinsTheSidesOfTheFirstPieceInTheList) {
  PiecesOnTable t(2, 2, QSize(200, 100));
  PuzzleChip *a = t.At(0, 0), *b = t.At(1, 0), *c = t.At(0, 1), *d = t.At(1, 1);
  ASSERT_EQ(t.List().At(0), a);
  a->Merge(c);  // the left column
  b->Merge(d);  // the right column
  ChipGroup* kept = b->Group();
  b->Merge(a);  // the left column's group goes
  EXPECT_EQ(ChipGroup::Count(), 1);
  for (PuzzleChip* p : {a, b, c, d}) EXPECT_EQ(p->Group(), kept);
  for (PuzzleChip* left : {a, c}) EXPECT_TRUE(left->IsJoined(ChipSide::Right));
  for (PuzzleChip* right : {b, d}) EXPECT_TRUE(right->IsJoined(ChipSide::Left));
}
