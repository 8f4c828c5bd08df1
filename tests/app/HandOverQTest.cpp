// A second copy of the game hands its command line to the running copy and ends.

#include "QtTestMain.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

class HandOverQTest : public QObject {
  Q_OBJECT
private:
  // The running copy, started and ready.
  static bool StartRunningCopy(QProcess& copy, const QStringList& arguments = {}) {
    copy.setProgram(QStringLiteral(TV_RUNNING_COPY));
    copy.setArguments(arguments);
    copy.start();
    if (!copy.waitForStarted(5000)) return false;
    while (!copy.canReadLine())
      if (!copy.waitForReadyRead(5000)) return false;
    return copy.readLine().trimmed() == "ready";
  }

  // The game started from folder with arguments; its exit code, or -1 when it did not end.
  static int RunGame(const QString& folder, const QStringList& arguments, int waitMs,
                     qint64* tookMs) {
    QProcess game;
    game.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    game.start(QStringLiteral(TV_GAME_PROGRAM), arguments);
    const bool ended = game.waitForFinished(waitMs);
    *tookMs = clock.elapsed();
    if (!ended) {
      game.kill();
      game.waitForFinished();
      return -1;
    }
    return game.exitStatus() == QProcess::NormalExit ? game.exitCode() : -1;
  }

  static void Stop(QProcess& copy) {
    copy.kill();
    copy.waitForFinished();
  }

private slots:
  // The paths arrive absolute, as the second copy's own folder resolves them; options stay.
  void secondCopyHandsItsCommandLineOverAndEnds() {
    QProcess copy;
    QVERIFY(StartRunningCopy(copy));
    const QString folder = TestEnvironment::ScratchFolder() + QStringLiteral("/second");
    QVERIFY(QDir().mkpath(folder));
    qint64 took = 0;
    QCOMPARE(
        RunGame(folder, {QStringLiteral("puzzles/../a b.jig"), QStringLiteral("-x")}, 10000, &took),
        0);
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += copy.readAll()).contains("\n\n"), 5000);
    const QStringList received = QString::fromUtf8(output).split(QLatin1Char('\n')).mid(0, 3);
    Stop(copy);
    QCOMPARE(received.size(), 3);
    QVERIFY(QFileInfo(received[0]).isAbsolute());
    QCOMPARE(received[1], QDir(folder).filePath(QStringLiteral("a b.jig")));
    QCOMPARE(received[2], QStringLiteral("-x"));
  }

  // Copies started together: exactly one holds the lock, however close their starts.
  void copiesStartedTogetherElectOneHolder() {
    for (int round = 0; round < 10; ++round) {
      QProcess copies[3];
      for (QProcess& copy : copies) {
        copy.setProgram(QStringLiteral(TV_RUNNING_COPY));
        copy.start();
      }
      int holders = 0, refused = 0;
      for (QProcess& copy : copies) {
        // A holder says it is ready and stays; the others end at once, refused.
        QTRY_VERIFY_WITH_TIMEOUT(copy.state() == QProcess::NotRunning || copy.canReadLine(), 5000);
        if (copy.state() == QProcess::NotRunning)
          refused += copy.exitCode() == 1;
        else
          holders += copy.readLine().startsWith("ready");
      }
      for (QProcess& copy : copies) Stop(copy);
      QCOMPARE(holders, 1);
      QCOMPARE(refused, 2);
    }
  }

  // A running copy that never answers: the second copy gives up within a few seconds and
  // opens no window of its own (it would be a second game on the same settings).
  void secondCopyWaitsBoundedForASilentRunningCopy() {
    QProcess copy;
    QVERIFY(StartRunningCopy(copy, {QStringLiteral("--deaf")}));
    qint64 took = 0;
    const int code =
        RunGame(TestEnvironment::ScratchFolder(), {QStringLiteral("a.jig")}, 15000, &took);
    Stop(copy);
    QCOMPARE(code, 1);
    QVERIFY2(took < 9000, qPrintable(QString::number(took)));
  }
};

TV_QTEST_MAIN(HandOverQTest)
#include "HandOverQTest.moc"
