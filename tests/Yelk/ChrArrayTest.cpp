#include "Yelk/ChrArray.h"
#include "Yelk/ERangeError.h"
#include "Yelk/TypedList.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(ChrArrayTest, IndexCheckLeavesRoomForTheTerminator) {
  ChrArray buffer(8, "TextRange Buff Name");
  EXPECT_EQ(buffer.C_array()[7], '\0');
  // Seven characters and their NUL fit; eight would put the NUL past the end.
  EXPECT_NO_THROW(buffer.IndexChk(7));
  EXPECT_THROW(buffer.IndexChk(8), ERangeError);
  EXPECT_THROW(buffer.IndexChk(-1), ERangeError);
  EXPECT_NO_THROW(buffer[7] = 'x');
  EXPECT_THROW(buffer[8], ERangeError);
  EXPECT_THROW(buffer[-1], ERangeError);
}

TEST(ChrArrayTest, StringCheckWantsATerminatorInside) {
  ChrArray buffer(4, "FindText Target");
  std::memcpy(buffer.C_array(), "abc", 4);
  EXPECT_NO_THROW(buffer.StringChk());
  buffer[3] = 'd';
  EXPECT_THROW(buffer.StringChk(), ERangeError);
}

namespace {
struct Counted {
  explicit Counted(int& alive) : alive(alive) { ++alive; }
  ~Counted() { --alive; }
  int& alive;
};
}  // namespace

TEST(TypedListTest, ClearDeletesItemsOnlyWhenAsked) {
  int alive = 0;
  TypedList<Counted> list;
  Counted kept(alive);
  EXPECT_EQ(list.Add(&kept), 0);
  list.Clear(false);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(alive, 1);
  EXPECT_EQ(list.Add(new Counted(alive)), 0);
  EXPECT_EQ(list.Add(new Counted(alive)), 1);
  EXPECT_THROW(list[2], ERangeError);
  list.Clear(true);
  EXPECT_EQ(alive, 1);
  EXPECT_EQ(list.Count(), 0);
}
