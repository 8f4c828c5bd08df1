// Every file of the fuzzing corpus (reader samples, files the office suite wrote, hostile
// pictures, inputs that once found faults) goes through the reader and the writer and
// comes back the same.

#include "RtfRoundTripCheck.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(RtfCorpusTest, EveryFileReadsWritesAndReadsBackTheSame) {
  const QDir corpus(QStringLiteral(TV_RTF_CORPUS));
  const QStringList files = corpus.entryList(QDir::Files).filter(QRegularExpression(QStringLiteral("^(?!README)")));
  EXPECT_GE(files.size(), 20);
  for (const QString& name : files) {
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    EXPECT_EQ(RtfRoundTripCheck::Check(file.readAll()), "") << name.toStdString();
  }
}
