// Exit ends the game: the windows it opened beside the main window close with it, the
// process ends at once, and the next start opens a window of its own.

#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"
#include "WhenModal.h"

#include "controls/ChooseBox.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {
// The next line the program prints, or an empty one when none comes in time.
QByteArray NextLine(QProcess& program, int waitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!program.canReadLine())
    if (clock.elapsed() > waitMs || !program.waitForReadyRead(int(waitMs - clock.elapsed()))) return {};
  return program.readLine().trimmed();
}
}  // namespace

class ExitRealXQTest : public QObject {
  Q_OBJECT

  // A saved game made through the main window, and the settings of a first start.
  QString MakeSavedGame() {
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("exit.bmp"), 240, 160);
    const QString saved = PuzzleFixtures::ScratchPath(QStringLiteral("exit.saw"));
    Settings()->ShowWelcome = false;
    {
      TMainForm form;
      form.Start({});
      if (!QTest::qWaitForWindowExposed(&form) || !DismissNextModal()) return {};
      WhenModal([](QWidget* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click(); });
      form.OpenDroppedFile(picture);
      if (!QTest::qWaitFor([] { return Puzzle::Current() != nullptr; }, 20000)) return {};
      AnswerFileDialog(saved);
      if (!form.SavePuzzle(true)) return {};
      form.close();
    }
    Settings()->ShowWelcome = true;
    Settings()->Save();
    return QFileInfo::exists(saved) ? saved : QString();
  }

private slots:
  void exitClosesEveryWindowAndEndsTheProcess() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const QString saved = MakeSavedGame();
    QVERIFY(!saved.isEmpty());

    QProcess game;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TV_PLAY_WINDOWS"), QStringLiteral("1"));
    game.setProcessEnvironment(environment);
    game.start(QStringLiteral(TV_SCRIPTED_GAME), {saved});
    QVERIFY(game.waitForStarted(5000));
    const QByteArray windows = NextLine(game, 30000);
    for (const char* window : {"HelpWindow", "TBoxCoverFrm", "TMagForm", "TMainForm"})
      QVERIFY2(windows.contains(window), windows.constData());
    QCOMPARE(NextLine(game, 5000), QByteArray("exit"));
    const bool ended = game.waitForFinished(2000);
    if (!ended) {
      game.kill();
      game.waitForFinished();
    }
    QVERIFY2(ended, "the game kept running after Exit");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);

    QProcess second;
    second.start(QStringLiteral(TV_SCRIPTED_GAME), QStringList());
    QVERIFY(second.waitForStarted(5000));
    QCOMPARE(NextLine(second, 20000), QByteArray("shown"));
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 0);
  }
};

TV_QTEST_MAIN(ExitRealXQTest)
#include "ExitRealXQTest.moc"
