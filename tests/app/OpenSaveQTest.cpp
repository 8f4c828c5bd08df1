// A game from start to finish through the main window: opened from the dialog, saved,
// a file handed over while the save dialog is up opened after it, auto save, completion.

#include "ControlPanel.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"
#include "WhenModal.h"

#include "controls/ChooseBox.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// The open dialog's smallest piece count.
void AcceptOpenDialog(QWidget* dialog) {
  auto* pieces = dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"));
  pieces->setCurrentIndex(pieces->count() - 1);
  dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
}

void SaveAs(TMainForm& form, const QString& path, std::function<void()> whileUp = {}) {
  WhenModal([path, whileUp](QWidget* modal) {
    auto* save = qobject_cast<QFileDialog*>(modal);
    QVERIFY(save);
    if (whileUp) whileUp();
    AcceptFileDialog(save, path);
  });
  QVERIFY(form.SavePuzzle(true));
}

void Join(Puzzle& puzzle) {
  puzzle.AddJoin();
  puzzle.SetChanged();
}
}  // namespace

class OpenSaveQTest : public QObject {
  Q_OBJECT
private slots:
  void gameOpensSavesResumesAndCompletes() {
    ProgSettings& settings = *Settings();
    settings.SoundEffects = true;
    settings.SuppressApplause = false;
    settings.ShowHintsStat = false;
    settings.RecentPuzzles.clear();
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("open.bmp"), 240, 160);
    const QByteArray pictureBytes = [&] {
      QFile file(picture);
      file.open(QIODevice::ReadOnly);
      return file.readAll();
    }();
    TMainForm form;
    WhenModal(AcceptOpenDialog);
    form.Start({picture});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    Puzzle* puzzle = Puzzle::Current();
    const int total = puzzle->GetPieceCount();
    QVERIFY(total >= 4);
    QCOMPARE(settings.RecentPuzzles.value(0), picture);
    QCOMPARE(form.ToolPnl()->PiecesStatus->text(), QStringLiteral("0 of %1").arg(total));
    QVERIFY(form.Actions().SaveAsAtn->isEnabled());

    // Mid-game: a picture's name chosen for the save still gives a saved game.
    Join(*puzzle);
    Join(*puzzle);
    QVERIFY(form.Actions().SaveAtn->isEnabled());
    QCOMPARE(form.ToolPnl()->PiecesStatus->text(), QStringLiteral("3 of %1").arg(total));
    const QString first = PuzzleFixtures::ScratchPath(QStringLiteral("first.jpg"));
    SaveAs(form, first);
    const QString firstGame = first + QStringLiteral(".saw");
    QVERIFY(QFileInfo(firstGame).isFile());
    QVERIFY(!QFileInfo(first).exists());
    QCOMPARE(settings.RecentPuzzles, QStringList{firstGame});
    QVERIFY(!puzzle->IsChanged());

    // A file handed over while the save dialog is up waits, and so does the auto save.
    Join(*puzzle);
    const QString second = PuzzleFixtures::ScratchPath(QStringLiteral("second.saw"));
    SaveAs(form, second, [&] {
      form.WMCopyData({QStringLiteral("game"), firstGame});
      QTest::qWait(300);
      QCOMPARE(Puzzle::Current(), puzzle);
      form.AutoSaveTimerTimer();
      QVERIFY(form.AutoSavePending());
    });
    QCOMPARE(settings.RecentPuzzles.value(0), second);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current() != puzzle, 20000);
    puzzle = Puzzle::Current();
    QCOMPARE(puzzle->GetPath(), firstGame);
    QCOMPARE(puzzle->GetJoins(), 2);
    QCOMPARE(puzzle->GetPieceCount(), total);
    QVERIFY(!form.AutoSavePending());
    QCOMPARE(settings.RecentPuzzles.mid(0, 2), (QStringList{firstGame, second}));

    // Auto save writes the game it came from, without asking.
    Join(*puzzle);
    form.AutoSaveTimerTimer();
    QVERIFY(!puzzle->IsChanged());
    {
      Puzzle reread(firstGame);
      QVERIFY(reread.IsValid());
    }

    // Completion: the clock stops and the applause starts.
    while (puzzle->GetJoins() + 1 < total) puzzle->AddJoin();
    QCOMPARE(form.ToolPnl()->PiecesStatus->text(), QStringLiteral("%1 of %1").arg(total));
    QVERIFY(!puzzle->IsClockRunning());
    QTRY_COMPARE(form.ApplauseCount(), 1);
    // A click on the count shows the hints left instead, and back.
    QLabel* count = form.ToolPnl()->PiecesStatus;
    QTest::mouseClick(count, Qt::LeftButton);
    QVERIFY(count->text() == QStringLiteral("Unlimited") || count->text().endsWith(" hints"));
    QTest::mouseClick(count, Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("%1 of %1").arg(total));
    QFile file(picture);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), pictureBytes);
    puzzle->ClearChanged();
  }
};

TV_QTEST_MAIN(OpenSaveQTest)
#include "OpenSaveQTest.moc"
