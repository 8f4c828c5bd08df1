#include "TestEnvironment.h"
#include "Yelk/TMsgLog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

class TMsgLogTest : public ::testing::Test {
protected:
  void SetUp() override { TMsgLog::Clear(); }
};

TEST_F(TMsgLogTest, LineIsTimeTwoBlanksAndText) {
  TMsgLog::Add("Loaded: a.jpg");
  const QStringList lines = TMsgLog::Lines();
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d:  Loaded: a\\.jpg$").match(lines[0]).hasMatch())
      << lines[0].toStdString();
}

TEST_F(TMsgLogTest, RingKeepsNewest1001LinesUnderConcurrentWriters) {
  constexpr int writers = 4, perWriter = 2000;
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([w] {
      for (int i = 0; i < perWriter; ++i) TMsgLog::Add(QString("w%1 #%2").arg(w).arg(i));
    });
  for (auto& t : threads) t.join();

  const QStringList lines = TMsgLog::Lines();
  ASSERT_EQ(lines.size(), TMsgLog::MaxLines);
  // Only the oldest lines go: what survives of each writer is an unbroken run of its
  // lines up to its last one (a writer that finished early may have nothing left).
  int survivors = 0;
  for (int w = 0; w < writers; ++w) {
    int first = -1, last = -1;
    for (const QString& line : lines) {
      const auto m = QRegularExpression(QString("w%1 #(\\d+)$").arg(w)).match(line);
      if (!m.hasMatch()) continue;
      const int n = m.captured(1).toInt();
      if (first < 0) {
        first = n;
      } else {
        EXPECT_EQ(n, last + 1) << "writer " << w;
      }
      last = n;
      ++survivors;
    }
    if (first >= 0) {
      EXPECT_EQ(last, perWriter - 1) << "writer " << w;
    }
  }
  EXPECT_EQ(survivors, TMsgLog::MaxLines);
}

TEST_F(TMsgLogTest, SavesAtomicallyAndOnlyWhenAsked) {
  TMsgLog::Add("first");
  const QString path = TestEnvironment::ScratchFolder() + "/msglog-test.log";
  QFile::remove(path);
  ASSERT_TRUE(TMsgLog::SaveToFile(path));
  EXPECT_TRUE(QString::fromUtf8(TestEnvironment::ReadFile(path)).endsWith(":  first\n"));
  QFile::remove(path);

  EXPECT_FALSE(TMsgLog::SaveToFile("/nonexistent-folder/x.log"));
  EXPECT_TRUE(TMsgLog::Lines().last().contains("could not write"));
  EXPECT_TRUE(TMsgLog::DefaultLogPath().endsWith(".log"));
}
