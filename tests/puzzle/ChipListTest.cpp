#include "TableFixtures.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipRecord.h"
#include "puzzle/ChipList.h"

#include <gtest/gtest.h>

using namespace TableFixtures;

namespace {

// Pieces whose masks are squares of growing size, owned here.
class Pieces {
public:
  explicit Pieces(int count) {
    for (int i = 0; i < count; ++i)
      owned_.push_back(std::make_unique<PuzzleChip>(Square(0, 0, i + 1), 9, nullptr, false));
  }
  PuzzleChip* operator[](int i) const { return owned_[std::size_t(i)].get(); }

private:
  std::vector<std::unique_ptr<PuzzleChip>> owned_;
};

std::vector<PuzzleChip*> Items(ChipList& list) {
  std::vector<PuzzleChip*> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

QString LastLine() { return TMsgLog::Lines().last(); }

}  // namespace

// A full list logs the overflow and grows: callers reset lists that still hold a piece.
TEST(ChipListTest, AFullListLogsAndKeepsEveryPiece) {
  Pieces p(8);
  ChipList list(3);
  list.Add(p[0]);
  list.Add(p[1]);
  list.Add(p[2]);
  list.Push(p[3]);
  EXPECT_TRUE(LastLine().endsWith("ChipList::Push overflow. cnt=3, cap=3"));
  while (list.Count() < list.Capacity()) list.Add(p[4]);
  list.Add(p[5]);
  EXPECT_TRUE(LastLine().endsWith(
      QStringLiteral("ChipList::Add overflow. cnt=%1, cap=%1").arg(list.Count() - 1)));
  EXPECT_EQ(list[0], p[3]);
  EXPECT_EQ(list[list.Count() - 1], p[5]);

  ChipList front(2), two;
  two.Add(p[6]);
  two.Add(p[7]);
  front.Add(p[0]);
  front.PushList(two);
  EXPECT_TRUE(LastLine().endsWith("ChipList::Push list overflow. cnt=1, cap=2, lcnt=2"));
  EXPECT_EQ(Items(front), (std::vector{p[6], p[7], p[0]}));

  // One piece at capacity 1, reset: the piece stays.
  ChipList single;
  single.Add(p[1]);
  single.Reset(1);
  EXPECT_TRUE(LastLine().endsWith("ChipList::Reset keeps its pieces. cnt=1, cap=1"));
  EXPECT_EQ(Items(single), std::vector{p[1]});
  single.Reset(10);
  EXPECT_EQ(single.Capacity(), 10);

  // Moving into a list that holds pieces appends.
  single.MoveTo(front);
  EXPECT_EQ(Items(front), (std::vector{p[6], p[7], p[0], p[1]}));
  EXPECT_TRUE(single.IsEmpty());
  EXPECT_EQ(single.Capacity(), 1);
}

// A bad index answers a slot that holds null, whatever was written through it before.
TEST(ChipListTest, BadIndexesGiveASpareEmptySlot) {
  Pieces p(2);
  ChipList list(4);
  list.Add(p[0]);
  list.Add(p[1]);
  EXPECT_EQ(list[-1], nullptr);
  EXPECT_TRUE(LastLine().endsWith("ChipList::[] invalid index. idx=-1, cnt=2, cap=4"));
  list[2] = p[0];
  EXPECT_EQ(list[5], nullptr);
  EXPECT_EQ(Items(list), (std::vector{p[0], p[1]}));
}

// Group members come out as blocks, the rest keeps its order.
TEST(ChipListTest, GroupsAreRemovedAndCountedAsBlocks) {
  Pieces p(5);
  ChipGroup group;
  p[1]->SetGroup(&group);
  p[2]->SetGroup(&group);
  ChipList list(8);
  for (int i = 0; i < 5; ++i) list.Add(p[i]);
  list.MoveToFront(p[4]);
  EXPECT_EQ(list.CountUnits(), 4);
  ChipList members(list, group.Id());
  EXPECT_EQ(Items(members), (std::vector{p[1], p[2]}));
  list.RemoveGroup(0);
  list.RemoveGroup(group.Id());
  EXPECT_EQ(Items(list), (std::vector{p[4], p[0], p[3]}));
}

TEST(ChipGroupTest, IdsStartAtOneAgainOnceAllGroupsAreGone) {
  auto first = std::make_unique<ChipGroup>();
  auto second = std::make_unique<ChipGroup>();
  EXPECT_EQ(first->Id(), 1);
  EXPECT_EQ(second->Id(), 2);
  EXPECT_EQ(ChipGroup::Count(), 2);
  EXPECT_EQ(ChipGroup::First(), second.get());
  EXPECT_EQ(ChipGroup::Find(1), first.get());
  EXPECT_EQ(ChipGroup::Find(0), nullptr);
  EXPECT_EQ(ChipGroup::Find(-1), nullptr);
  EXPECT_EQ(ChipGroup::Find(3), nullptr);
  first.reset();
  EXPECT_EQ(ChipGroup::Count(), 1);
  EXPECT_EQ((new ChipGroup)->Id(), 3);
  second.reset();
  ChipGroup::DeleteAll();
  EXPECT_EQ(ChipGroup::Count(), 0);
  EXPECT_EQ(ChipGroup().Id(), 1);
}

// Ids stay within 1..65535: past the top the smallest free one is taken.
TEST(ChipGroupTest, IdsNeverWrap) {
  ChipGroupRecord record;
  record.id = 65535;
  auto top = std::make_unique<ChipGroup>(record, 100, 100);
  auto next = std::make_unique<ChipGroup>();
  EXPECT_EQ(next->Id(), 1);
  EXPECT_EQ(ChipGroup().Id(), 2);
  next.reset();
  EXPECT_EQ(ChipGroup().Id(), 1);
}
