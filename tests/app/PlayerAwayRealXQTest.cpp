// The player leaving and coming back under a real X server and window manager: the clock
// stops while the window is minimised or another window has the focus, and "No" given in
// the real message box to "save your changes?" lets another puzzle open and the window
// close, writing nothing.

#include "ModalAnswers.h"
#include "PuzzleFixtures.h"
#include "TMainForm.h"
#include "TestEnvironment.h"

#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QDir>
#include <QtTest>

class PlayerAwayRealXQTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> form;
  ModalAnswers answers;

  void ActivateForm() {
    form->activateWindow();
    form->raise();
    QVERIFY(QTest::qWaitForWindowActive(form.get(), 10000));
  }
  // The files the scratch folder holds, to see that nothing was written.
  static QStringList Written() {
    return QDir(PuzzleFixtures::ScratchPath(QString())).entryList({QStringLiteral("*.saw")}, QDir::Files);
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ModalAnswers::PlaySettings();
    form = std::make_unique<TMainForm>();
    form->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->WMCopyData({QStringLiteral("game"), PuzzleFixtures::WritePicture(QStringLiteral("away.bmp"), 480, 320)});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    ActivateForm();
    QTRY_VERIFY(Puzzle::Current()->IsClockRunning());
  }

  void clockStopsWhileMinimised() {
    Puzzle* puzzle = Puzzle::Current();
    form->showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(!puzzle->IsClockRunning(), 10000);
    form->showNormal();
    ActivateForm();
    QTRY_VERIFY(puzzle->IsClockRunning());
  }

  void clockStopsWhileAnotherWindowHasTheFocus() {
    Puzzle* puzzle = Puzzle::Current();
    QWidget other;
    other.setWindowTitle(QStringLiteral("other"));
    other.resize(300, 200);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other, 10000));
    QTRY_VERIFY(!puzzle->IsClockRunning());
    ActivateForm();
    QTRY_VERIFY(puzzle->IsClockRunning());
  }

  void noLetsAnotherPuzzleOpenUnsaved() {
    Puzzle* first = Puzzle::Current();
    first->AddJoin();
    first->SetChanged();
    const QStringList before = Written();
    answers.boxAnswer = QMessageBox::No;
    form->WMCopyData({QStringLiteral("game"), PuzzleFixtures::WritePicture(QStringLiteral("next.bmp"), 400, 300)});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current() != first, 20000);
    QCOMPARE(answers.boxTexts, QStringList{QStringLiteral("Do you want to save your changes to the current puzzle?")});
    QCOMPARE(Written(), before);
    QVERIFY(Puzzle::Current()->GetPath().endsWith(QStringLiteral("next.bmp")));
  }

  void noLetsTheWindowCloseUnsaved() {
    Puzzle::Current()->SetChanged();
    const QStringList before = Written();
    answers.boxTexts.clear();
    QVERIFY(form->close());
    QCOMPARE(answers.boxTexts, QStringList{QStringLiteral("Do you want to save your changes to the current puzzle?")});
    QVERIFY(!form->isVisible());
    QCOMPARE(Written(), before);
    form.reset();
  }
};

// No scripted prompts here: every question goes to a real message box.
int main(int argc, char** argv) {
  TestEnvironment::Prepare();
  QApplication app(argc, argv);
  PlayerAwayRealXQTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "PlayerAwayRealXQTest.moc"
