#include "PuzzleFixtures.h"

#include "puzzle/SavedWindowWish.h"

#include <gtest/gtest.h>

// A saved game asks for the window it was played in only when its table does not fit the
// table as it is: as saved on a screen at least as large, else maximised (and then the groups
// may still not fit).
TEST(SavedWindowWishTest, AsksForTheSavedWindowOnlyWhenTheSavedTableDoesNotFit) {
  FakeJigsawReader file;
  file.savedGame = true;
  file.savedTable = QSize(900, 600);
  file.savedScreen = QSize(1280, 1024);
  file.savedBounds = QRect(40, 30, 950, 700);
  file.savedMaximized = false;
  const QSize screen(1280, 1024);

  EXPECT_EQ(SavedWindowWish::For(nullptr, {100, 100}, screen).kind, SavedWindowWish::Keep);
  EXPECT_EQ(SavedWindowWish::For(&file, {900, 600}, screen).kind, SavedWindowWish::Keep);
  SavedWindowWish wish = SavedWindowWish::For(&file, {899, 600}, screen);
  EXPECT_EQ(wish.kind, SavedWindowWish::Place);
  EXPECT_EQ(wish.bounds, QRect(40, 30, 950, 700));
  EXPECT_TRUE(wish.screenLargeEnough);
  EXPECT_EQ(SavedWindowWish::For(&file, {900, 599}, screen).kind, SavedWindowWish::Place);

  file.savedMaximized = true;
  wish = SavedWindowWish::For(&file, {800, 500}, screen);
  EXPECT_EQ(wish.kind, SavedWindowWish::Maximise);
  EXPECT_TRUE(wish.screenLargeEnough);

  file.savedMaximized = false;
  wish = SavedWindowWish::For(&file, {800, 500}, QSize(1280, 1023));
  EXPECT_EQ(wish.kind, SavedWindowWish::Maximise);
  EXPECT_FALSE(wish.screenLargeEnough);

  file.savedGame = false;
  EXPECT_EQ(SavedWindowWish::For(&file, {100, 100}, screen).kind, SavedWindowWish::Keep);
}
