// Start-up's decisions: the display refusals, the hand-over's paths, the maker's addresses,
// the stale temporary files, and the lock with its hand-over inside one process.

#include "MakerAddresses.h"
#include "StartUp.h"

#include "TestEnvironment.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QUrl>
#include <QUrlQuery>
#include <future>
#include <gtest/gtest.h>

namespace {
const QString Colour = QStringLiteral(
    "Tessavinelume Jigsaw Puzzles only runs on systems using either the \"High Color\" or "
    "\"True Color\" color setting.\rYou may change your system's color setting by going to:\r\r"
    "   Start > Settings > Control Panel > Display > Settings\r\rChange the Color setting to "
    "either \"High Color\" or \"True Color\" (recommended).\rSee the Help file for more details.");
const QString Area = QStringLiteral(
    "Tessavinelume Jigsaw Puzzles only runs on systems with\ra screen area of at least 800x600.  "
    "You may change\ryour system's screen area by going to:\r\r   Start > Settings > Control "
    "Panel > Display > Settings\r\rChange the \"screen area\" setting to at least 800x600.\rA "
    "setting of 1024x768 is recommended.\rSee the Help file for more details.");
}  // namespace

// Depth is checked before size; 16 bits and 800x600 are the least that will do.
TEST(StartUp, RefusesWeakDisplaysWithTheirMessage) {
  struct Case {
    int depth, w, h;
    const QString* expected;
  } cases[] = {{8, 1920, 1080, &Colour}, {15, 1024, 768, &Colour},  {15, 640, 480, &Colour},
               {16, 800, 600, nullptr},  {24, 1280, 1024, nullptr}, {32, 799, 600, &Area},
               {32, 800, 599, &Area},    {16, 0, 0, &Area},         {0, 0, 0, &Colour}};
  for (const Case& c : cases) {
    const QString refusal = StartUp::DisplayRefusal({c.depth, QSize(c.w, c.h)});
    EXPECT_EQ(refusal, c.expected ? *c.expected : QString())
        << c.depth << " bits " << c.w << "x" << c.h;
  }
}

TEST(StartUp, HandsOverPathsMadeAbsoluteAgainstItsOwnFolder) {
  const QStringList handed = StartUp::AbsoluteArguments(
      {QStringLiteral("tessavinelume"), QStringLiteral("a.jig"), QStringLiteral("../b/c.saw"),
       QStringLiteral("/abs/d.jpg"), QStringLiteral("-x"), QStringLiteral("./e f.bmp")},
      QStringLiteral("/home/player/puzzles"));
  EXPECT_EQ(handed,
            (QStringList{QCoreApplication::applicationFilePath(),
                         QStringLiteral("/home/player/puzzles/a.jig"),
                         QStringLiteral("/home/player/b/c.saw"), QStringLiteral("/abs/d.jpg"),
                         QStringLiteral("-x"), QStringLiteral("/home/player/puzzles/e f.bmp")}));
}

TEST(StartUp, MakerAddressesServeMailAndPages) {
  const QUrl mail(MakerAddresses::SupportAddress(StartUp::Title));
  EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(QUrlQuery(mail).queryItemValue(QStringLiteral("SUBJECT"), QUrl::FullyDecoded),
            QStringLiteral("Tessavinelume Jigsaw Puzzles Bug Report"));
  for (const QString& page :
       {MakerAddresses::VersionUrl(), MakerAddresses::HomePage(), MakerAddresses::PuzzlesPage()})
    EXPECT_TRUE(QUrl(page).host().endsWith(QStringLiteral("example.org"))) << page.toStdString();
  EXPECT_TRUE(MakerAddresses::PuzzlesPage().endsWith(QStringLiteral("/puzzles.html")));
}

// Only the frame files and clipboard pictures an earlier copy left go; names match in any case.
TEST(StartUp, SweepsOnlyStaleTemporaryFiles) {
  const QString folder = TestEnvironment::ScratchFolder() + QStringLiteral("/sweep");
  const QStringList stale{QStringLiteral("Jig1a2b.tmp"), QStringLiteral("JIGX.TMP"),
                          QStringLiteral("Jig9.bmp"), QStringLiteral("Jig7c.tmp.lock")};
  const QStringList kept{QStringLiteral("Jig9.saw"), QStringLiteral("notJig.tmp"),
                         QStringLiteral("puzzle.bmp"), QStringLiteral("Jig9.saw.lock")};
  for (const QString& name : stale + kept)
    ASSERT_TRUE(TestEnvironment::WriteFile(folder + '/' + name, "x"));
  StartUp::SweepStaleTempFiles(folder);
  QStringList left = QDir(folder).entryList(QDir::Files, QDir::Name);
  QStringList expected = kept;
  expected.sort();
  left.sort();
  EXPECT_EQ(left, expected);
}

// One copy holds the lock; another's hand-over arrives whole; a message with another tag is
// refused and delivers nothing.
TEST(SingleInstance, OneHolderTakesHandOversTaggedOnly) {
  const QString name = QStringLiteral("tv-test-%1").arg(QCoreApplication::applicationPid());
  auto holder = std::make_unique<SingleInstance>(name);
  SingleInstance& first = *holder;
  SingleInstance second(name);
  ASSERT_TRUE(first.Acquire());
  EXPECT_FALSE(second.Acquire());
  QSignalSpy received(&first, &SingleInstance::ArgumentsReceived);
  const QStringList sent{QStringLiteral("prog"), QStringLiteral("/a/\u00e9t\u00e9 b.jig")};
  auto handOver =
      std::async(std::launch::async, [&] { return second.SendToRunningCopy(sent, 4000); });
  while (handOver.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
    QCoreApplication::processEvents();
  EXPECT_EQ(handOver.get(), SingleInstance::HandOver::Delivered);
  ASSERT_EQ(received.size(), 1);
  EXPECT_EQ(received[0][0].toStringList(), sent);

  auto forged = std::async(std::launch::async, [&] {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(first.SocketName());
    if (!socket.waitForConnected(2000)) return QByteArray("no connection");
    QByteArray body;
    QDataStream(&body, QIODevice::WriteOnly) << quint32(8501) << QStringList{QStringLiteral("x")};
    QByteArray frame;
    QDataStream(&frame, QIODevice::WriteOnly) << quint32(body.size());
    socket.write(frame + body);
    socket.waitForBytesWritten(2000);
    socket.waitForReadyRead(1000);
    return socket.readAll();
  });
  while (forged.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
    QCoreApplication::processEvents();
  EXPECT_TRUE(forged.get().isEmpty());
  EXPECT_EQ(received.size(), 1);
  // With the holder gone the lock is free at once, and nobody takes a hand-over.
  holder.reset();
  EXPECT_EQ(second.SendToRunningCopy(sent, 500), SingleInstance::HandOver::NoRunningCopy);
  EXPECT_TRUE(second.Acquire());
}
