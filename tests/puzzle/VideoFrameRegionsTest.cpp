#include "PuzzleFixtures.h"
#include "puzzle/VideoFrameRegions.h"

#include <gtest/gtest.h>

TEST(VideoFrameRegionsTest, AreasAreSummedAndTheListBecomesTheWholePicture) {
  FakePicture picture(100, 50, true);
  VideoFrameRegions regions;
  regions.Add(0, 0, 0, 0);  // ignored, although a real pixel
  EXPECT_EQ(regions.Count(), 0);
  regions.Add(0, 0, 0, 1);
  ASSERT_EQ(regions.Count(), 1);
  EXPECT_EQ(regions.Rectangle(0), QRect(0, 0, 1, 2));
  for (int i = 0; i < 25; ++i) regions.Add(i, 5, i, 9);  // grows past its first ten slots
  EXPECT_EQ(regions.Count(), 26);
  regions.Clear();
  regions.Add(0, 0, 59, 49);  // 60 % of the picture
  regions.Add(40, 0, 99, 49);  // another 60 %, overlapping
  EXPECT_TRUE(regions.IsWholeFrame());
  ASSERT_EQ(regions.Count(), 1);
  EXPECT_EQ(regions.Rectangle(0), QRect(0, 0, 100, 50));
  regions.Add(1, 1, 2, 2);
  EXPECT_EQ(regions.Count(), 1);
  regions.Clear();
  regions.Add(1, 1, 2, 2);
  EXPECT_FALSE(regions.IsWholeFrame());
  EXPECT_EQ(regions.Count(), 1);
}

TEST(VideoFrameRegionsTest, RectanglesAreClippedAndEmptyOrInvertedOnesAddNothing) {
  FakePicture picture(100, 50, true);
  VideoFrameRegions regions;
  regions.Add(-6, -6, 10, 10);
  regions.Add(95, 45, 120, 80);
  regions.Add(30, 10, 20, 40);     // inverted
  regions.Add(200, 10, 300, 20);   // outside
  regions.Add(-50, -50, -1, -1);   // outside
  ASSERT_EQ(regions.Count(), 2);
  EXPECT_EQ(regions.Rectangle(0), QRect(QPoint(0, 0), QPoint(10, 10)));
  EXPECT_EQ(regions.Rectangle(1), QRect(QPoint(95, 45), QPoint(99, 49)));
  // An inverted rectangle once subtracted from the sum; now a full-picture one still
  // crosses it.
  regions.Add(0, 0, 99, 49);
  EXPECT_TRUE(regions.IsWholeFrame());
  // A huge rectangle neither overflows the sum nor escapes the picture.
  regions.Clear();
  regions.Add(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_FALSE(regions.IsWholeFrame());
  ASSERT_EQ(regions.Count(), 1);
  EXPECT_EQ(regions.Rectangle(0), QRect(0, 0, 100, 50));
}

TEST(VideoFrameRegionsTest, WithoutACurrentPuzzleNothingIsAddedAndNothingIsRead) {
  PictureSizeSource::SetCurrent(nullptr);
  VideoFrameRegions regions;
  regions.Add(1, 2, 3, 4);
  EXPECT_EQ(regions.Count(), 0);
  regions.SetWholeFrame();
  EXPECT_TRUE(regions.IsWholeFrame());
  EXPECT_EQ(regions.Count(), 0);
  {
    FakePicture picture(10, 10, true);
    regions.Clear();
    regions.SetWholeFrame();
    EXPECT_EQ(regions.Rectangle(0), QRect(0, 0, 10, 10));
  }
  EXPECT_EQ(PictureSizeSource::Current(), nullptr);
}
