// Paths in puzzle-file records: the bytes older readers expect where they can, and every
// path back exactly.

#include "puzzle/StoredPath.h"

#include <gtest/gtest.h>

TEST(StoredPathTest, LatinOneWhereOlderReadersManageAndUtf8ElseEveryPathReadsBack) {
  const struct {
    QString path;
    QByteArray bytes;
  } cases[] = {
      {QStringLiteral("/home/ann/Rapids.qvp"), "/home/ann/Rapids.qvp"},
      {QStringLiteral("/home/ann/Café.qvp"), "/home/ann/Caf\xE9.qvp"},
      {QStringLiteral("/home/ann/Загрузки/Rapids.qvp"), "/home/ann/\xD0\x97\xD0\xB0\xD0\xB3\xD1\x80\xD1\x83\xD0\xB7\xD0\xBA\xD0\xB8/Rapids.qvp"},
      // Latin-1 bytes C3 A9 would read back as "é": UTF-8 instead.
      {QStringLiteral("/home/ann/Ã©.qvp"), "/home/ann/\xC3\x83\xC2\xA9.qvp"},
      {QStringLiteral("/tmp/\uFEFFmark.qvp"), "/tmp/\xEF\xBB\xBFmark.qvp"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StoredPath::Encode(c.path), c.bytes) << c.path.toStdString();
    EXPECT_EQ(StoredPath::Decode(c.bytes), c.path) << c.path.toStdString();
  }
  // Bytes that are not valid UTF-8 are Latin-1, as files of older writers hold them.
  EXPECT_EQ(StoredPath::Decode("C:\\Puzzles\\\xC3(.qvp"), QStringLiteral("C:\\Puzzles\\Ã(.qvp"));
  const QString leadingMark = QStringLiteral("\uFEFFmark.qvp");
  EXPECT_EQ(StoredPath::Decode(StoredPath::Encode(leadingMark)), leadingMark);
}

TEST(StoredPathTest, APathTooLongForItsRecordIsKeptRelativeToTheHoldersFolder) {
  const QString folder = QStringLiteral("/home/ann/") + QString(120, QLatin1Char('a'));
  const QString path = folder + QStringLiteral("/clips/") + QString(120, QLatin1Char('b')) + QStringLiteral(".qvp");
  EXPECT_EQ(StoredPath::Fitted(path, folder, 1000), path.toLatin1());
  const QByteArray relative = QByteArray("clips/") + QByteArray(120, 'b') + ".qvp";
  EXPECT_EQ(StoredPath::Fitted(path, folder, 254), relative);
  EXPECT_EQ(StoredPath::Resolved(relative, folder), path);
  EXPECT_EQ(StoredPath::Resolved(QByteArray("../x/") + "R.qvp", folder), QStringLiteral("/home/ann/x/R.qvp"));
  EXPECT_EQ(StoredPath::Resolved(path.toLatin1(), QStringLiteral("/elsewhere")), path);
  // Counted in bytes as written: 127 Cyrillic letters are 254 bytes, 128 too many.
  EXPECT_EQ(StoredPath::Fitted(QString(127, QChar(0x0416)), QStringLiteral("/"), 254).size(), 254);
  EXPECT_EQ(StoredPath::Fitted(QString(128, QChar(0x0416)), QStringLiteral("/tmp"), 254).size(), 256);
}
