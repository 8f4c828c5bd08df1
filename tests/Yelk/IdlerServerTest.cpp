#include "Yelk/IdlerClient.h"
#include "Yelk/IdlerServer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>
#include <memory>

namespace {
class IdlerServerTest : public ::testing::Test {
protected:
  void SetUp() override {
    IdlerServer::IS().SetClock([this] { return now; });
  }
  void TearDown() override { IdlerServer::IS().SetClock({}); }

  std::unique_ptr<IdlerClient> Client(const QString& name, int priority, bool answer = true) {
    auto client = std::make_unique<IdlerClient>([this, name, answer] {
      ran << name;
      return answer;
    }, name);
    client->Priority = priority;
    IdlerServer::IS().RegisterIdlerClient(client.get());
    return client;
  }

  qint64 now = 1000;
  QStringList ran;
};

void Spin(int rounds) {
  for (int i = 0; i < rounds; ++i) QCoreApplication::processEvents();
}
}  // namespace

TEST_F(IdlerServerTest, RunsByPriorityThenRegistrationOrder) {
  auto low = Client("low", IdlerClient::Low);
  auto normal1 = Client("normal1", IdlerClient::Normal);
  auto front = Client("front", IdlerClient::Front);
  auto normal2 = Client("normal2", IdlerClient::Normal);
  IdlerServer::IS().RunPass();
  EXPECT_EQ(ran, QStringList({"front", "normal1", "normal2", "low"}));
  EXPECT_FALSE(IdlerServer::IS().IdlerIsRunning());
  EXPECT_EQ(IdlerServer::IS().GetCurrClient(), nullptr);
}

TEST_F(IdlerServerTest, MinimumIntervalAndItsResetPostponeTheNextRun) {
  auto client = Client("c", IdlerClient::Normal);
  client->MinInterval = 100;
  auto passAt = [&](qint64 t) {
    now = t;
    ran.clear();
    IdlerServer::IS().RunPass();
    return !ran.isEmpty();
  };
  EXPECT_TRUE(passAt(1000));
  EXPECT_FALSE(passAt(1099));
  EXPECT_TRUE(passAt(1100));
  now = 1150;
  client->ResetMinIntervalTimer();
  EXPECT_FALSE(passAt(1200));
  EXPECT_TRUE(passAt(1250));
}

TEST_F(IdlerServerTest, ClientMayRemoveOthersOrItselfDuringAPass) {
  std::unique_ptr<IdlerClient> victim;
  IdlerClient* killer = nullptr;
  auto first = std::make_unique<IdlerClient>([&] {
    ran << "first";
    EXPECT_EQ(IdlerServer::IS().GetCurrClient(), killer);
    EXPECT_TRUE(IdlerServer::IS().IdlerIsRunning());
    victim.reset();
    IdlerServer::IS().DeregisterIdlerClient(killer);
    return true;
  }, "first");
  killer = first.get();
  IdlerServer::IS().RegisterIdlerClient(first.get());
  victim = Client("victim", IdlerClient::Low);
  auto last = Client("last", IdlerClient::Low);
  IdlerServer::IS().RunPass();
  IdlerServer::IS().RunPass();
  EXPECT_EQ(ran, QStringList({"first", "last", "last"}));
}

// Bound, the server runs once after each burst of events and then rests; a client that is
// not done runs again without further events.
TEST_F(IdlerServerTest, BoundServerRunsWhenTheLoopRunsEmptyAndDoesNotSpin) {
  IdlerServer::IS().BindIdlerServer();
  IdlerServer::IS().BindIdlerServer();
  Spin(20);
  auto client = Client("c", IdlerClient::Normal);
  Spin(20);
  ran.clear();
  Spin(20);
  EXPECT_TRUE(ran.isEmpty()) << ran.join(',').toStdString();

  QObject target;
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  Spin(20);
  EXPECT_EQ(ran.size(), 1);

  auto busy = Client("busy", IdlerClient::Low, false);
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  Spin(20);
  EXPECT_GE(ran.count("busy"), 5);
}
