#include "puzzle/PictureFit.h"

#include <QSize>
#include <gtest/gtest.h>

// A picture that fits the area with its 20-pixel margin plays at full size even when it
// covers more than the allowed percentage. A larger one is first brought inside the margin
// with its aspect kept, then shrunk to the percentage; the scale keeps that second factor.
TEST(PictureFitTest, MarginThenCoverage) {
  EXPECT_FALSE(PictureFit::Compute(780, 580, 800, 600, 55).scaled);
  const PictureFit wide = PictureFit::Compute(2000, 500, 1020, 1000, 90);
  EXPECT_EQ(QSize(wide.playWidth, wide.playHeight), QSize(1000, 250));
  EXPECT_FLOAT_EQ(wide.scale, 0.5f);
  // 1000 × 1000 first, then sqrt(55 × 1020² / 10⁸) = 0.7565 of it.
  const PictureFit covered = PictureFit::Compute(2000, 2000, 1020, 1020, 55);
  EXPECT_EQ(QSize(covered.playWidth, covered.playHeight), QSize(756, 756));
  EXPECT_NEAR(covered.scale, 0.7565, 1e-3);
}

// 8000 × 6000 pixels times 100 overflow 32 bits: the coverage must still come out capped.
TEST(PictureFitTest, LargePicturesDoNotOverflow) {
  const PictureFit fit = PictureFit::Compute(8000, 6000, 1900, 1000, 55);
  ASSERT_TRUE(fit.scaled);
  const std::int64_t cover = std::int64_t(fit.playWidth) * fit.playHeight * 100 / (1900 * 1000);
  EXPECT_LE(cover, 55);
  EXPECT_GE(cover, 53);
}

// Unknown sizes (no header, no layout yet, no screen) fit nothing instead of dividing by 0;
// an extreme aspect never yields a side of 0.
TEST(PictureFitTest, UnknownSizesAndExtremeAspects) {
  EXPECT_FALSE(PictureFit::Compute(0, 600, 800, 600, 55).scaled);
  EXPECT_FALSE(PictureFit::Compute(800, -1, 800, 600, 55).scaled);
  EXPECT_FALSE(PictureFit::Compute(800, 600, 0, 0, 55).scaled);
  EXPECT_FALSE(PictureFit::Compute(800, 600, 20, 600, 55).scaled);
  const PictureFit thin = PictureFit::Compute(30000, 3, 100, 100, 55);
  ASSERT_TRUE(thin.scaled);
  EXPECT_GE(thin.playHeight, 1);
}
