#include "Yelk/ERangeError.h"
#include "Yelk/IntArray.h"
#include "Yelk/TMsgLog.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
std::vector<int> Values(const IntArray& a) {
  std::vector<int> values;
  for (int i = 0; i < a.Size(); ++i) values.push_back(a.Get(i));
  return values;
}
}  // namespace

TEST(IntArrayTest, BadIndexRaisesRangeErrorNamingTheArray) {
  IntArray a(3, 4, "Chip Lengths");
  EXPECT_EQ(Values(a), std::vector<int>({0, 0, 0}));
  for (int bad : {-1, 3, 1000}) {
    EXPECT_FALSE(a.IsValidIndex(bad));
    EXPECT_THROW(a.Get(bad), ERangeError) << bad;
    EXPECT_THROW(a.Put(bad, 1), ERangeError) << bad;
    EXPECT_THROW(a.Delete(bad), ERangeError) << bad;
  }
  EXPECT_THROW(a.SetSize(-1), ERangeError);
  try {
    a.Get(7);
  } catch (const ERangeError& e) {
    EXPECT_TRUE(e.Message().contains("Chip Lengths"));
  }
}

TEST(IntArrayTest, AddUniqueRefusesAPresentValue) {
  IntArray a("External Bookmarks");
  EXPECT_EQ(a.Add(5), 0);
  EXPECT_EQ(a.Add(7, true), 1);
  EXPECT_EQ(a.Add(5, true), -1);
  EXPECT_EQ(a.Add(5), 2);
  EXPECT_EQ(Values(a), std::vector<int>({5, 7, 5}));
}

TEST(IntArrayTest, DeleteMovesLaterEntriesDownAndSizeChangesFill) {
  IntArray a("Bookmarks");
  for (int v : {10, 20, 30, 40}) a.Add(v);
  a.Delete(1);
  EXPECT_EQ(Values(a), std::vector<int>({10, 30, 40}));
  a.Delete(2);
  EXPECT_EQ(Values(a), std::vector<int>({10, 30}));
  a.SetSize(4);
  EXPECT_EQ(Values(a), std::vector<int>({10, 30, 0, 0}));
  a.SetSize(1);
  a.SetSize(2);
  EXPECT_EQ(Values(a), std::vector<int>({10, 0}));
  // Many appends through a small grow step keep every value.
  IntArray big(0, 1, "Page Break Positions");
  for (int i = 0; i < 100000; ++i) big.Add(i);
  EXPECT_EQ(big.Get(99999), 99999);
}

TEST(IntArrayTest, CloneIsAnEqualIndependentCopy) {
  IntArray a("Visible Bookmarks");
  for (int v : {3, -1, 8}) a.Add(v);
  const auto copy = a.Clone();
  EXPECT_TRUE(copy->IsEqualTo(a));
  EXPECT_EQ(copy->Id(), "Visible Bookmarks");
  copy->Put(1, 4);
  EXPECT_FALSE(copy->IsEqualTo(a));
  EXPECT_EQ(a.Get(1), -1);
  copy->Put(1, -1);
  copy->Add(0);
  EXPECT_FALSE(a.IsEqualTo(*copy));
}

TEST(IntArrayTest, CommaListKeepsNumbersAndSkipsTheRestWithALogLine) {
  IntArray good(IntArray::CommaList, "12, -5,300 ,0", "Marks");
  EXPECT_EQ(Values(good), std::vector<int>({12, -5, 300, 0}));

  TMsgLog::Clear();
  IntArray mixed(IntArray::CommaList, " 7,abc,1.5,, 2147483648,-2147483648,0x10,9 9,4", "Marks");
  EXPECT_EQ(Values(mixed), std::vector<int>({7, -2147483648, 4}));
  const QStringList log = TMsgLog::Lines();
  EXPECT_EQ(log.size(), 5);
  EXPECT_TRUE(log.join('\n').contains("2147483648"));

  EXPECT_EQ(IntArray(IntArray::CommaList, " , ,", "Marks").Size(), 0);
}
