// The desktop glue: files dropped from a file manager, the default word processor's command
// line from its desktop entry, help topics cut from the help document, the help pop-up's
// place on the screen, and the single-instance hand-over's framing and size cap.

#include "platform/DroppedFiles.h"
#include "platform/HelpDocument.h"
#include "platform/HelpPopup.h"
#include "platform/SingleInstance.h"
#include "platform/WordProcessor.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <vector>

namespace {

// Runs the event loop until done() holds or five seconds pass.
bool Eventually(const std::function<bool()>& done) {
  QDeadlineTimer deadline(5000);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

TEST(DroppedFiles, OnlyLocalFilesInTheirOrder) {
  QMimeData mixed;
  mixed.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/b b.saw")), QUrl(QStringLiteral("https://example.org/a.jpg")),
                 QUrl(QStringLiteral("ftp://example.org/c.jpg")), QUrl::fromLocalFile(QStringLiteral("/tmp/a.jpg"))});
  EXPECT_EQ(DroppedFiles::LocalFiles(&mixed), QStringList({"/tmp/b b.saw", "/tmp/a.jpg"}));
  EXPECT_TRUE(DroppedFiles::HasLocalFiles(&mixed));

  // A drag of web links, or of text, offers nothing to open.
  QMimeData links;
  links.setUrls({QUrl(QStringLiteral("https://example.org/a.jpg"))});
  EXPECT_TRUE(DroppedFiles::LocalFiles(&links).isEmpty());
  EXPECT_FALSE(DroppedFiles::HasLocalFiles(&links));
  QMimeData text;
  text.setText(QStringLiteral("/tmp/a.jpg"));
  EXPECT_FALSE(DroppedFiles::HasLocalFiles(&text));
  EXPECT_FALSE(DroppedFiles::HasLocalFiles(nullptr));
}

TEST(WordProcessor, ExecLineOfTheDesktopEntryGroup) {
  struct Case {
    const char* entry;
    QStringList command;
  };
  const Case cases[] = {
      // Field codes go; other groups' Exec lines are not the program's.
      {"[Desktop Action new]\nExec=/opt/other --new\n[Desktop Entry]\nName=Writer\nExec=/opt/writer --writer %U\n"
       "[Desktop Action print]\nExec=/opt/printer %f\n",
       {"/opt/writer", "--writer"}},
      // Quotes group a word, a backslash escapes inside them, %% is a percent sign.
      {"[Desktop Entry]\nExec=\"/opt/my writer/bin\" \"--title=a \\\"b\\\" c\" 100%% %%u %F\n",
       {"/opt/my writer/bin", "--title=a \"b\" c", "100%", "%u"}},
      {"[Desktop Entry]\n  Exec=  words  with   gaps  \n", {"words", "with", "gaps"}},
      // Unusable lines give nothing to start.
      {"[Desktop Entry]\nExec=\"/opt/writer --unclosed\n", {}},
      {"[Desktop Entry]\nExec=/opt/writer \"--unclosed\n", {}},
      {"[Desktop Entry]\nName=Writer\n[Other]\nExec=/opt/other\n", {}},
      {"Exec=/opt/outside\n", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WordProcessor::ExecCommand(QString::fromUtf8(c.entry)), c.command) << c.entry;
}

TEST(HelpDocument, TopicsRunFromTheirHeadingToTheNext) {
  const QString first = QStringLiteral("<h1><a name=\"Contents\"></a>Contents</h1><p>All topics.</p>\n");
  const QString second = QStringLiteral("<h2><a name=\"210\"></a><a name=\"Scatter\">Scattering &amp; more</a></h2><p>Away.</p>\n");
  const QString third = QStringLiteral("<H3 class=\"x\"><A NAME=\"300\"></A>Last</H3><p>End.</p>");
  const HelpDocument help(QStringLiteral("<html><body>") + first + second + third + QStringLiteral("</body></html>"));
  EXPECT_EQ(help.Topic(QStringLiteral("Contents")), first);
  EXPECT_EQ(help.Topic(QStringLiteral("210")), second);
  EXPECT_EQ(help.Topic(QStringLiteral("Scatter")), second);
  EXPECT_EQ(help.Topic(QStringLiteral("300")), third);
  EXPECT_EQ(help.Title(QStringLiteral("210")), QStringLiteral("Scattering & more"));
  EXPECT_EQ(help.Title(QStringLiteral("300")), QStringLiteral("Last"));
  EXPECT_FALSE(help.HasTopic(QStringLiteral("Missing")));
  EXPECT_EQ(help.Topic(QStringLiteral("Missing")), QString());
  QStringList names = help.TopicNames();
  names.sort();
  EXPECT_EQ(names, QStringList({"210", "300", "Contents", "Scatter"}));

  // Without a body end the last topic runs to the end of the text.
  const HelpDocument bare(first + third);
  EXPECT_EQ(bare.Topic(QStringLiteral("300")), third);
}

TEST(HelpPopup, StaysOnTheScreenAndFlipsAboveOnlyWhenBelowDoesNotFit) {
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_TRUE(screen);
  const QRect area = screen->availableGeometry();
  // Where it was put, less the frame offset some platforms add to every window they place.
  QPoint frame;
  auto placed = [&frame](QPoint at) {
    auto* popup = new HelpPopup(QStringLiteral("<p>Some help text for the pop-up.</p>"));
    popup->ShowNear(at);
    const QRect r(popup->pos() - frame, popup->size());
    popup->close();
    return r;
  };
  const QSize size = placed(area.center()).size();
  ASSERT_GT(size.width(), 20);
  ASSERT_LT(size.height() + 40, area.height());
  // Centred below the point.
  frame = placed(area.center()).topLeft() - (area.center() + QPoint(-size.width() / 2, 12));
  ASSERT_LE(frame.manhattanLength(), 8);
  // At the right edge it ends on the screen's last column; at the left it starts on the first.
  EXPECT_EQ(placed(QPoint(area.right(), area.center().y())).right(), area.right());
  EXPECT_EQ(placed(QPoint(area.left(), area.center().y())).left(), area.left());
  // Its bottom on the screen's last row still fits below; one row lower it goes above.
  const int lowest = area.bottom() + 1 - size.height() - 12;
  EXPECT_EQ(placed(QPoint(area.center().x(), lowest)).top(), lowest + 12);
  EXPECT_EQ(placed(QPoint(area.center().x(), lowest + 1)).top(), lowest + 1 - 12 - size.height());
}

// A raw client of the running copy: writes bytes and reads what comes back.
class HandOverTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(copy.Acquire());
    QObject::connect(&copy, &SingleInstance::ArgumentsReceived, [this](const QStringList& a) { received << a; });
    client.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    client.connectToServer(copy.SocketName());
    ASSERT_TRUE(Eventually([this] { return client.state() == QLocalSocket::ConnectedState; }));
  }
  // The frame as a later copy sends it: the body's length, then the tag and the arguments,
  // padded with spare bytes to the body length asked for.
  static QByteArray Frame(quint32 tag, const QStringList& arguments, int bodyLength = -1) {
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << tag << arguments;
    if (bodyLength >= 0) body.append(QByteArray(bodyLength - body.size(), 'x'));
    QByteArray frame(4, '\0');
    QDataStream(&frame, QIODevice::WriteOnly) << quint32(body.size());
    return frame + body;
  }
  bool Refused() {
    return Eventually([this] { return client.state() == QLocalSocket::UnconnectedState; }) && received.isEmpty() &&
           !client.bytesAvailable();
  }
  bool Delivered(const QStringList& arguments) {
    return Eventually([this] { return !received.isEmpty() && client.bytesAvailable() > 0; }) &&
           received == QList<QStringList>{arguments} && client.readAll() == "A";
  }

  SingleInstance copy{QStringLiteral("glue-test-%1").arg(QCoreApplication::applicationPid())};
  QLocalSocket client;
  QList<QStringList> received;
};

TEST_F(HandOverTest, AFrameArrivingInPiecesIsDeliveredWhole) {
  const QStringList arguments{QStringLiteral("game"), QStringLiteral("/tmp/a b.saw"), QStringLiteral("-x")};
  const QByteArray frame = Frame(SingleInstance::HandOverTag, arguments);
  // All but two bytes: already as long as the body alone, yet not the whole frame.
  client.write(frame.left(frame.size() - 2));
  client.flush();
  Eventually([this] { return client.bytesToWrite() == 0; });
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(received.isEmpty());
  EXPECT_EQ(client.state(), QLocalSocket::ConnectedState);
  client.write(frame.mid(frame.size() - 2));
  EXPECT_TRUE(Delivered(arguments));
}

TEST_F(HandOverTest, AnotherTagIsRefused) {
  client.write(Frame(SingleInstance::HandOverTag + 1, {QStringLiteral("game")}));
  EXPECT_TRUE(Refused());
}

TEST_F(HandOverTest, ABodyAtTheCapIsTaken) {
  const QStringList arguments{QStringLiteral("game"), QStringLiteral("big.jpg")};
  client.write(Frame(SingleInstance::HandOverTag, arguments, int(SingleInstance::MaxHandOverBytes)));
  EXPECT_TRUE(Delivered(arguments));
}

// Complete and well formed, but one byte over the cap: the length alone refuses it.
TEST_F(HandOverTest, ABodyOneByteOverTheCapIsRefused) {
  client.write(Frame(SingleInstance::HandOverTag, {QStringLiteral("game")}, int(SingleInstance::MaxHandOverBytes) + 1));
  EXPECT_TRUE(Refused());
}

// A list claiming four thousand million arguments in a short body is refused without
// making room for them all: the list's own reader asks for about 100 GB at once, which
// ends a sanitizer build and leans on the allocator's goodwill in any other.
TEST_F(HandOverTest, AnArgumentCountTheBodyCannotHoldIsRefused) {
  for (quint32 count : {0xFFFFFFFFu, 3u}) {
    QByteArray body;
    QDataStream(&body, QIODevice::WriteOnly) << SingleInstance::HandOverTag << count << QStringLiteral("game");
    QByteArray frame(4, '\0');
    QDataStream(&frame, QIODevice::WriteOnly) << quint32(body.size());
    client.write(frame + body);
    EXPECT_TRUE(Refused()) << count;
    client.abort();
    client.connectToServer(copy.SocketName());
    ASSERT_TRUE(Eventually([this] { return client.state() == QLocalSocket::ConnectedState; }));
  }
}

namespace {

// Many later copies at once, each with its own connection.
struct Flood {
  explicit Flood(const QString& name, int count) {
    for (int i = 0; i < count; ++i) {
      auto& socket = clients.emplace_back(std::make_unique<QLocalSocket>());
      socket->setSocketOptions(QLocalSocket::AbstractNamespaceOption);
      socket->connectToServer(name);
    }
  }
  // Each writes as soon as it is connected.
  void WriteEach(const QByteArray& bytes) {
    for (auto& client : clients) {
      QLocalSocket* socket = client.get();
      if (socket->state() == QLocalSocket::ConnectedState)
        socket->write(bytes);
      else
        QObject::connect(socket, &QLocalSocket::connected, socket, [socket, bytes] { socket->write(bytes); });
    }
  }
  int Count(QLocalSocket::LocalSocketState state) const {
    return int(std::count_if(clients.begin(), clients.end(), [state](auto& c) { return c->state() == state; }));
  }
  std::vector<std::unique_ptr<QLocalSocket>> clients;
};

}  // namespace

// Copies that send a frame up to the cap and then stall each hold one frame; one more
// than the connections served is closed at once, and all is let go as they finish.
TEST_F(HandOverTest, StalledSendersHoldAFrameEachAndNoMoreThanTheServedConnections) {
  client.abort();
  const int cap = int(SingleInstance::MaxHandOverBytes);
  const QByteArray frame = Frame(SingleInstance::HandOverTag, {QStringLiteral("game")}, cap);
  Flood flood(copy.SocketName(), SingleInstance::MaxConnections + 8);
  flood.WriteEach(frame.left(frame.size() - 1));
  const qint64 stalled = qint64(SingleInstance::MaxConnections) * (frame.size() - 1);
  ASSERT_TRUE(Eventually([&] {
    return copy.OpenConnections() == SingleInstance::MaxConnections && copy.HeldBytes() == stalled &&
           flood.Count(QLocalSocket::UnconnectedState) == 8;
  })) << copy.OpenConnections() << " open holding " << copy.HeldBytes();
  EXPECT_EQ(SingleInstance::MaxHeldBytes, qint64(SingleInstance::MaxConnections) * (4 + cap));
  flood.WriteEach(frame.right(1));
  EXPECT_TRUE(Eventually([&] { return received.size() == SingleInstance::MaxConnections && copy.OpenConnections() == 0; }));
  EXPECT_EQ(copy.HeldBytes(), 0);
  EXPECT_LE(copy.PeakHeldBytes(), SingleInstance::MaxHeldBytes);
}

// One hand-over per connection: a second frame behind the first is never taken.
TEST_F(HandOverTest, OnlyTheFirstFrameOfAConnectionIsTaken) {
  const QStringList first{QStringLiteral("game"), QStringLiteral("first.saw")};
  client.write(Frame(SingleInstance::HandOverTag, first) + Frame(SingleInstance::HandOverTag, {QStringLiteral("second")}));
  EXPECT_TRUE(Delivered(first));
  EXPECT_TRUE(Eventually([this] { return client.state() == QLocalSocket::UnconnectedState; }));
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(received, QList<QStringList>{first});
}

// One connection holds one frame at most: a sender that follows a frame at the cap with a
// megabyte more is served, and what follows waits in its socket, never in the game. (Such
// a sender may miss the acknowledgement: the system resets a connection closed unread.)
TEST_F(HandOverTest, AConnectionHoldsOneFrameAtMost) {
  const QStringList arguments{QStringLiteral("game"), QStringLiteral("big.saw")};
  const QByteArray frame = Frame(SingleInstance::HandOverTag, arguments, int(SingleInstance::MaxHandOverBytes));
  client.write(frame + QByteArray(1 << 20, 'x'));
  EXPECT_TRUE(Eventually([&] { return received == QList<QStringList>{arguments}; }));
  EXPECT_GE(copy.PeakHeldBytes(), frame.size());
  EXPECT_LE(copy.PeakHeldBytes(), frame.size());
  EXPECT_TRUE(Eventually([this] { return copy.OpenConnections() == 0; }));
}

// A flood of 1 MB messages from many copies at once: each is refused by its length, all
// are let go, nothing is held afterwards, and the next copy is served as ever.
TEST_F(HandOverTest, AFloodOfMegabyteMessagesLeavesNothingHeld) {
  client.abort();
  const QStringList arguments{QStringLiteral("game"), QStringLiteral("flood.saw")};
  Flood flood(copy.SocketName(), 60);
  flood.WriteEach(Frame(SingleInstance::HandOverTag, arguments, 1 << 20));
  EXPECT_TRUE(Eventually([&] { return flood.Count(QLocalSocket::UnconnectedState) == 60; }));
  EXPECT_TRUE(Eventually([&] { return copy.OpenConnections() == 0; }));
  EXPECT_EQ(copy.HeldBytes(), 0);
  EXPECT_LE(copy.PeakHeldBytes(), SingleInstance::MaxHeldBytes);
  EXPECT_TRUE(received.isEmpty());
  std::cout << "[ measured ] a flood of 60 messages of 1 MB: at most " << copy.PeakHeldBytes()
            << " bytes held at once, " << copy.HeldBytes() << " afterwards\n";
  client.connectToServer(copy.SocketName());
  client.write(Frame(SingleInstance::HandOverTag, arguments));
  EXPECT_TRUE(Delivered(arguments));
}

}  // namespace
