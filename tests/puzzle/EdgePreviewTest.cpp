#include "puzzle/EdgePreview.h"

#include <gtest/gtest.h>

TEST(EdgePreviewTest, ClosedShadedPieceOnTheKeyColour) {
  for (int size : {13, 18, 22, 40, 80}) {
    const QImage image = DrawEdgePreview(size);
    ASSERT_EQ(image.size(), QSize(2 * size, 2 * size)) << size;
    const QRgb key = image.pixel(0, 0);
    EXPECT_EQ(key, 0xFFFF0000u) << size;
    // The fill stays inside the outline: the corners keep the key colour.
    const int far = 2 * size - 1;
    EXPECT_EQ(image.pixel(far, 0), key) << size;
    EXPECT_EQ(image.pixel(0, far), key) << size;
    EXPECT_EQ(image.pixel(far, far), key) << size;
    const QRgb middle = image.pixel(size, size);
    EXPECT_NE(middle, key) << size;
    int lighter = 0, darker = 0, inside = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (p == key) continue;
        ++inside;
        lighter += qGray(p) > qGray(middle);
        darker += qGray(p) < qGray(middle);
      }
    EXPECT_GT(inside, size * size / 2) << size;
    EXPECT_GT(lighter, size) << size;
    EXPECT_GT(darker, size) << size;
  }
}
