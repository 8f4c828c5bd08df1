// The print preview's numbers over hand-worked cases: a Letter sheet (8.5 x 11 in) at
// 100 dots per inch on a 96 dots-per-inch screen, in tall, wide and tiny boxes; the zoom
// steps; paging and the enabling of the actions; the page label.

#include "richtext/PreviewNumbers.h"

#include <gtest/gtest.h>

using namespace PreviewNumbers;

namespace {

const Sheet Letter{850, 1100, 100, 100};
const QSize Screen(96, 96);

struct FitCase {
  QSize box;
  bool twoPages;
  QRect first;
  int left2;  // the second panel's left, -1 in single layout
  int magnification;
};

}  // namespace

TEST(PreviewNumbersTest, FitsSheetsToTallAndWideBoxesInBothLayouts) {
  const FitCase cases[] = {
      {{520, 720}, false, {10, 36, 500, 647}, -1, 61},   // tall: the width fills the box
      {{1020, 520}, false, {317, 10, 386, 500}, -1, 47}, // wide: the height fills it, centred
      {{1020, 520}, true, {119, 10, 386, 500}, 515, 47}, // two side by side, centred together
      {{620, 720}, true, {10, 169, 295, 382}, 315, 36},  // two in a tall box
      {{2000, 1500}, false, {428, 10, 1144, 1480}, -1, 140},
  };
  for (const FitCase& c : cases) {
    const auto layout = Fit(Letter, c.box, Screen.width(), c.twoPages);
    ASSERT_TRUE(layout) << c.box.width();
    EXPECT_EQ(layout->first, c.first) << c.box.width() << "x" << c.box.height();
    EXPECT_EQ(layout->second.isNull() ? -1 : layout->second.left(), c.left2);
    if (c.twoPages) {
      EXPECT_EQ(layout->second.size(), layout->first.size());
    }
    EXPECT_EQ(layout->magnification, c.magnification);
    EXPECT_TRUE(layout->scroll.isNull());
  }
  // A box wide enough opens at 100 %: the window asks for 100 % after a fit above it.
  const auto full = Magnified(Letter, {2000, 1500}, Screen, 100, false);
  ASSERT_TRUE(full);
  EXPECT_EQ(full->first, QRect(582, 222, 816, 1056));
  EXPECT_TRUE(full->scroll.isNull());
  // Too large for the box: scrolled over the whole, from the margin.
  const auto scrolled = Magnified(Letter, {600, 500}, Screen, 100, true);
  ASSERT_TRUE(scrolled);
  EXPECT_EQ(scrolled->first, QRect(10, 10, 816, 1056));
  EXPECT_EQ(scrolled->second, QRect(836, 10, 816, 1056));
  EXPECT_EQ(scrolled->scroll, QSize(2 * 816 + 30, 1056 + 20));
}

TEST(PreviewNumbersTest, EveryFitLiesInsideItsBoxWithItsMargins) {
  const Sheet sheets[] = {Letter, {1100, 850, 100, 100}, {4961, 7016, 600, 600}, {300, 3000, 300, 150}};
  for (const Sheet& sheet : sheets)
    for (int width = 21; width < 1400; width += 37)
      for (int height = 21; height < 1100; height += 53)
        for (bool two : {false, true}) {
          const auto layout = Fit(sheet, {width, height}, 96, two);
          if (!layout) continue;  // a box too narrow for two sheets
          const QRect all = two ? layout->first.united(layout->second) : layout->first;
          ASSERT_GE(all.left(), 0) << width << "x" << height;
          ASSERT_GE(all.top(), 0);
          ASSERT_LE(all.right(), width);  // a rounding pixel past the box at most
          ASSERT_LE(all.bottom(), height);
          // One direction is filled to the margins.
          ASSERT_TRUE(layout->first.top() == 10 || layout->first.left() == 10) << width << "x" << height;
          if (two) {
            ASSERT_EQ(layout->second.left(), layout->first.right() + 11);
          }
        }
}

TEST(PreviewNumbersTest, NoRoomOrNoPrinterSizeLeavesThePanelsAlone) {
  for (const QSize box : {QSize(20, 500), QSize(500, 20), QSize(0, 0), QSize(-5, 300)}) {
    EXPECT_FALSE(Fit(Letter, box, 96, false));
    EXPECT_FALSE(Magnified(Letter, box, Screen, 100, true));
  }
  for (const Sheet& none : {Sheet{0, 1100, 100, 100}, Sheet{850, -1, 100, 100}, Sheet{850, 1100, 0, 100}, Sheet{}}) {
    EXPECT_FALSE(Hundredths(none));
    EXPECT_FALSE(Fit(none, {800, 600}, 96, false));
    EXPECT_FALSE(Magnified(none, {800, 600}, Screen, 50, false));
  }
  EXPECT_TRUE(Fit(Letter, {21, 21}, 96, false));
}

TEST(PreviewNumbersTest, ZoomStepsGoFitHalfwayAndFull) {
  struct Step {
    int current, fit, in, out;
  } steps[] = {
      {60, 60, 80, 0}, {80, 60, 100, 0}, {100, 60, 100, 80},
      {99, 99, 100, 0},  // no halfway step above 99: Zoom In must still reach 100
      {98, 98, 99, 0},  {100, 99, 100, 99}, {30, 31, 100, 0},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(ZoomIn(s.current, s.fit), s.in) << s.current << " fit " << s.fit;
    EXPECT_EQ(ZoomOut(s.current, s.fit), s.out) << s.current << " fit " << s.fit;
  }
  // From any fit, Zoom In reaches 100 % in at most two steps.
  for (int fit = 1; fit < 100; ++fit) {
    const int once = ZoomIn(fit, fit);
    EXPECT_GT(once, fit);
    EXPECT_EQ(ZoomIn(once, fit), 100);
  }
}

TEST(PreviewNumbersTest, PagingEnablingAndLabels) {
  const Paging one{1, 1, 1, false};
  EXPECT_EQ(Enabled(one, 61, 61), (Enabling{false, false, false, false, true, false, false, false}));
  const Paging fourOfFive{1, 5, 4, true};
  EXPECT_EQ(Enabled(fourOfFive, 100, 47), (Enabling{true, true, false, false, false, true, true, true}));
  EXPECT_EQ(Enabled({1, 5, 3, false}, 140, 140), (Enabling{true, true, true, true, false, false, true, true}));
  EXPECT_EQ(Enabled({1, 2, 1, true}, 50, 50).goTo, false);  // both pages already shown
  EXPECT_EQ(Enabled({1, 2, 1, false}, 50, 50).goTo, true);

  struct Move {
    Paging from, to;
    Paging (*go)(Paging);
  } moves[] = {
      {fourOfFive, fourOfFive, GoNext},       {fourOfFive, fourOfFive, GoLast},
      {{1, 5, 1, true}, fourOfFive, GoLast},  {{1, 5, 1, false}, {1, 5, 5, false}, GoLast},
      {{1, 5, 3, true}, fourOfFive, GoNext},  {fourOfFive, {1, 5, 1, true}, GoFirst},
      {{2, 5, 2, false}, {2, 5, 2, false}, GoPrevious}, {{2, 5, 3, false}, {2, 5, 2, false}, GoPrevious},
  };
  for (const Move& m : moves) EXPECT_EQ(m.go(m.from), m.to) << m.from.current;
  EXPECT_EQ(SwitchLayout({1, 5, 5, false}, true), fourOfFive);       // on the last page
  EXPECT_EQ(SwitchLayout({1, 5, 2, false}, true), (Paging{1, 5, 2, true}));
  EXPECT_EQ(SwitchLayout(fourOfFive, false), (Paging{1, 5, 4, false}));
  EXPECT_EQ(GoTo({1, 5, 2, true}, 5), fourOfFive);
  EXPECT_EQ(GoTo({1, 5, 2, false}, 5), (Paging{1, 5, 5, false}));
  EXPECT_EQ(GoTo(fourOfFive, 4), fourOfFive);

  EXPECT_EQ(PageLabel({1, 5, 3, false}), QStringLiteral("  Page 3  "));
  EXPECT_EQ(PageLabel(fourOfFive), QStringLiteral("  Pages 4 && 5"));
}
