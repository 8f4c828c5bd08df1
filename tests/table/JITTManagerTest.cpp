// The tips' rules over scripted runs of the program, and the two stored lists across runs.

#include "TipRig.h"

#include "Yelk/ERegistry.h"
#include "platform/HelpDocument.h"

#include <QFile>
#include <algorithm>

#include <gtest/gtest.h>

namespace {

enum class Op { Offer, Mark, Down, Close, Disable, Enable };

struct Step {
  std::int64_t at;
  Op op;
  int id;
  bool shown;  // Offer: whether the tip appears
  const char* why;
};

// Offers through the sink, as the table and the windows do; whether it was eligible just
// before must be what showing did, and a refused tip changes nothing.
bool Offer(JITTManager& manager, TipRig& rig, int id) {
  const bool eligible = TipDisplay::IsEligible(id);
  const auto history = manager.HistoryIds();
  const int writes = rig.writes;
  const bool shown = TipDisplay::Show(id);
  EXPECT_EQ(eligible, shown) << "tip " << id;
  if (!shown) {
    EXPECT_EQ(history, manager.HistoryIds()) << "tip " << id;
    EXPECT_EQ(writes, rig.writes) << "tip " << id;
  } else {
    EXPECT_EQ(manager.HistoryIds().front(), id);
    EXPECT_EQ(manager.Text(), manager.Catalogue().FindTip(id)->Text());
    EXPECT_TRUE(manager.BarVisible());
  }
  return shown;
}

void Play(JITTManager& manager, TipRig& rig, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    rig.now = step.at;
    switch (step.op) {
      case Op::Offer:
        EXPECT_EQ(Offer(manager, rig, step.id), step.shown) << step.why;
        break;
      case Op::Mark:
        TipDisplay::MarkUsed(step.id);
        break;
      case Op::Down:
        TipRig::SlideToEnd(manager);
        EXPECT_TRUE(manager.OnScreen()) << step.why;
        break;
      case Op::Close:
        manager.CloseTipBtnClick();
        TipRig::SlideToEnd(manager);
        EXPECT_FALSE(manager.BarVisible()) << step.why;
        break;
      case Op::Disable:
        manager.SetEnabled(false);
        break;
      case Op::Enable:
        manager.SetEnabled(true);
        break;
    }
  }
}

std::vector<int> Bytes(const QByteArray& value) {
  return std::vector<int>(value.begin(), value.end());
}

}  // namespace

// Prerequisites, first-after-start tips with a clock that reads 0, replacing a tip on the
// bar, the ten-minute spacing to the millisecond, repeatable tips, marking used, and a
// disabled manager: one run of the program with its defaults.
TEST(JITTManagerTest, ADefaultRunOffersEachTipOnlyWhenItIsDue) {
  TipRig rig;
  auto manager = rig.Make();
  ASSERT_EQ(TipDisplay::Current(), manager.get());
  EXPECT_EQ(manager->Catalogue().Count(), 28);
  // More Details has somewhere to go for every tip that offers it.
  for (int i = 0; i < manager->Catalogue().Count(); ++i) {
    const JITT& tip = manager->Catalogue().At(i);
    if (tip.HelpContext() == JITT::NoHelp) continue;
    EXPECT_TRUE(HelpDocument::Bundled().HasTopic(QString::number(tip.HelpContext()))) << tip.Id();
  }
  Play(*manager, rig, {
      {0, Op::Offer, 6, false, "tip 5 not yet shown"},
      {0, Op::Offer, 8, false, "tip 7 not yet shown"},
      {0, Op::Offer, 4, false, "no such tip"},
      {0, Op::Offer, 5, true, "the first tip of the run, at clock 0"},
      {0, Op::Offer, 6, false, "first-after-start, though the clock still reads 0"},
      {0, Op::Offer, 3, false, "first-after-start"},
      {0, Op::Offer, 7, false, "spacing, 0 ms after the last tip"},
      {0, Op::Down, 0, false, "the bar comes down"},
      {10, Op::Offer, 2, false, "may not replace the tip on the bar"},
      {10, Op::Offer, 20, false, "may not replace the tip on the bar"},
      {10, Op::Offer, 1, true, "may replace the tip on the bar"},
      {10, Op::Close, 0, false, "the bar goes"},
      {600009, Op::Offer, 7, false, "599,999 ms after the last tip"},
      {600010, Op::Offer, 7, true, "600,000 ms after the last tip"},
      {600010, Op::Offer, 8, false, "its prerequisite is shown, but spacing"},
      {1200010, Op::Offer, 8, true, "ten minutes on"},
      {1200010, Op::Offer, 27, true, "repeatable"},
      {1200010, Op::Offer, 27, true, "still available"},
      {1200010, Op::Mark, 27, false, "marking a repeatable tip keeps it"},
      {1200010, Op::Offer, 27, true, "still available after marking"},
      {1200010, Op::Offer, 28, false, "repeatable, but first-after-start"},
      {1200020, Op::Mark, 11, false, ""},
      {1200020, Op::Offer, 11, false, "marked used"},
      {1200020, Op::Mark, 11, false, "marked again"},
      {1200020, Op::Mark, 99, false, "no such tip"},
      {1200030, Op::Disable, 0, false, ""},
      {1200030, Op::Offer, 12, false, "tips disabled"},
      {1200030, Op::Enable, 0, false, ""},
      {1200030, Op::Offer, 12, true, "tips enabled again"},
      {1200030, Op::Offer, 20, true, "replaces a tip still coming down"},
  });
  EXPECT_EQ(manager->HistoryIds(), (std::vector<int>{20, 12, 27, 27, 27, 8, 7, 1, 5}));
  EXPECT_EQ(Bytes(rig.values[JITTManager::HistoryValue]), manager->HistoryIds());
  EXPECT_EQ(Bytes(rig.values[JITTManager::UsedValue]), std::vector<int>{11});
  manager.reset();
  EXPECT_EQ(TipDisplay::Current(), nullptr);
  EXPECT_FALSE(TipDisplay::Show(2));
}

// The settings that narrow the tips, and the first-after-start rule in a fresh run.
TEST(JITTManagerTest, SettingsNarrowTheTipsOfARun) {
  {
    TipRig rig;
    rig.options.oneTipOnly = true;
    auto manager = rig.Make();
    Play(*manager, rig, {
        {0, Op::Offer, 0, true, "the first tip of the run"},
        {0, Op::Close, 0, false, ""},
        {5000000, Op::Offer, 2, false, "one tip only, however late"},
        {5000000, Op::Offer, 27, false, "one tip only, even repeatable"},
    });
  }
  {
    TipRig rig;
    rig.options.advancedOnly = true;
    auto manager = rig.Make();
    Play(*manager, rig, {
        {0, Op::Offer, 0, false, "not an advanced tip"},
        {0, Op::Offer, 28, true, "advanced, first after start, repeatable"},
        {0, Op::Offer, 15, true, "advanced, replaces while the bar comes down"},
        {0, Op::Down, 0, false, ""},
        {0, Op::Offer, 27, false, "advanced, but may not replace"},
    });
  }
}

// Restarts over the settings file: the shown and used tips stay unavailable, one byte per id
// in list order; bytes that name no tip, values of another type, empty and missing values
// load as shorter or empty lists; restarting the tips empties both values.
TEST(JITTManagerTest, TheListsOutliveTheProgramAndSurviveBadValues) {
  TipRig rig;
  {
    auto manager = rig.Make(nullptr, true);
    EXPECT_TRUE(manager->HistoryIds().empty());
    EXPECT_EQ(manager->HistoryIndex(), -1);
    EXPECT_TRUE(TipDisplay::Show(0));
    EXPECT_TRUE(TipDisplay::Show(2));
    TipDisplay::MarkUsed(25);
    TipDisplay::MarkUsed(14);
  }
  ERegistry stored;
  EXPECT_EQ(Bytes(stored.ReadBinary(QString(), JITTManager::HistoryValue)), (std::vector<int>{2, 0}));
  EXPECT_EQ(Bytes(stored.ReadBinary(QString(), JITTManager::UsedValue)), (std::vector<int>{25, 14}));
  {
    auto manager = rig.Make(nullptr, true);
    EXPECT_EQ(manager->HistoryIds(), (std::vector<int>{2, 0}));
    EXPECT_EQ(manager->UsedIds(), (std::vector<int>{25, 14}));
    EXPECT_EQ(manager->HistoryIndex(), 0);
    for (int id : {0, 2, 25, 14}) EXPECT_FALSE(TipDisplay::IsEligible(id)) << id;
    EXPECT_TRUE(TipDisplay::IsEligible(24));
    manager->ShowLastTip();
    EXPECT_EQ(manager->Text(), manager->Catalogue().FindTip(2)->Text());
    EXPECT_TRUE(manager->StayDown());
  }
  struct Case {
    QVariant history, used;
    std::vector<int> historyIds, usedIds;
  };
  const std::vector<Case> cases{
      {QByteArray("\x04\x00\x1e\xff\x80\x02\x17\x1b", 8), QByteArray("\x1f\x1d\x0b", 3), {0, 30, 2, 27}, {11}},
      {QByteArray(), QStringLiteral("2"), {}, {}},
      {QStringLiteral("\x01\x02"), 12, {}, {}},
      {QVariant(), QVariant(), {}, {}},
  };
  for (const Case& c : cases) {
    if (!c.history.isValid()) {
      // Values never written: no settings file at all.
      QFile::remove(ERegistry::FilePath(ERegistry::CurrentUser));
    } else {
      ERegistry planted;
      for (const auto& [name, value] : {std::pair{JITTManager::HistoryValue, c.history},
                                        std::pair{JITTManager::UsedValue, c.used}}) {
        if (value.typeId() == QMetaType::QByteArray)
          planted.WriteBinary(QString(), name, value.toByteArray());
        else if (value.typeId() == QMetaType::Int)
          planted.WriteInt(QString(), name, value.toInt());
        else
          planted.WriteString(QString(), name, value.toString());
      }
      ASSERT_TRUE(planted.Flush());
    }
    auto manager = rig.Make(nullptr, true);
    EXPECT_EQ(manager->HistoryIds(), c.historyIds);
    EXPECT_EQ(manager->UsedIds(), c.usedIds);
    EXPECT_EQ(manager->HistoryIndex(), c.historyIds.empty() ? -1 : 0);
    for (int i = 0; i < manager->Catalogue().Count(); ++i) {
      const JITT& tip = manager->Catalogue().At(i);
      const bool listed = std::count(c.historyIds.begin(), c.historyIds.end(), tip.Id()) +
                          std::count(c.usedIds.begin(), c.usedIds.end(), tip.Id());
      if (listed) {
        EXPECT_EQ(tip.Available(), tip.Has(JITT::Repeatable)) << tip.Id();
      } else if (tip.Id() != 6 && tip.Id() != 8) {
        EXPECT_TRUE(tip.Available()) << tip.Id();
      }
    }
    manager->ResetTips();
    EXPECT_EQ(manager->HistoryIndex(), -1);
    for (int i = 0; i < manager->Catalogue().Count(); ++i) {
      const JITT& tip = manager->Catalogue().At(i);
      EXPECT_EQ(tip.Available(), tip.Id() != 6 && tip.Id() != 8) << tip.Id();
    }
    ERegistry after;
    for (const QString& name : {JITTManager::HistoryValue, JITTManager::UsedValue}) {
      EXPECT_TRUE(after.ValueExists(QString(), name));
      EXPECT_TRUE(after.ReadBinary(QString(), name).isEmpty());
    }
  }
}
