// A save that fails in the player's hands: Save, auto save and Save As with the disk
// failing at the file's sync, close or rename. The message says why, the saved game on
// the disk stays as it was, and Save stays available for the next try.

#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"
#include "WhenModal.h"

#include "Yelk/PendingFiles.h"
#include "Yelk/ReplacingFile.h"
#include "controls/ChooseBox.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <cstring>

namespace {
using Step = ReplacingFile::Step;

void AcceptOpenDialog(QWidget* dialog) {
  auto* pieces = dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"));
  pieces->setCurrentIndex(pieces->count() - 1);
  dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void FailAt(Step step, int error) {
  ReplacingFile::SetFaultHook([step, error](Step at) { return at == step ? error : 0; });
}

QString Failure(int error) {
  return QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}
}  // namespace

class FailedSaveQTest : public QObject {
  Q_OBJECT
private slots:
  void failedSavesSayWhyAndKeepTheGame() {
    Prompt::Double prompts;
    const QString folder = PuzzleFixtures::ScratchPath(QStringLiteral("failed saves"));
    QDir().mkpath(folder);
    PendingFiles::SetListPath(folder + QStringLiteral("/pending.list"));
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("failing.bmp"), 240, 160);
    TMainForm form;
    WhenModal(AcceptOpenDialog);
    form.Start({picture});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    Puzzle* puzzle = Puzzle::Current();
    const QString game = folder + QStringLiteral("/game.saw");
    puzzle->AddJoin();
    puzzle->SetChanged();
    WhenModal([game](QWidget* modal) { AcceptFileDialog(qobject_cast<QFileDialog*>(modal), game); });
    QVERIFY(form.SavePuzzle(true));
    const QByteArray saved = Bytes(game);
    QVERIFY(!saved.isEmpty());

    puzzle->AddJoin();
    puzzle->SetChanged();
    // Save (Ctrl+S) with the file's sync failing, auto save with the rename failing.
    FailAt(Step::Sync, EIO);
    form.Actions().SaveAtn->trigger();
    FailAt(Step::Rename, ENOSPC);
    form.AutoSaveTimerTimer();
    ReplacingFile::SetFaultHook({});
    QCOMPARE(prompts.Shown().size(), 2);
    QVERIFY(prompts.Shown().at(0).text.startsWith(QStringLiteral("Failed to save puzzle.\n\n")));
    QVERIFY2(prompts.Shown().at(0).text.endsWith(Failure(EIO)), qPrintable(prompts.Shown().at(0).text));
    QVERIFY2(prompts.Shown().at(1).text.endsWith(Failure(ENOSPC)), qPrintable(prompts.Shown().at(1).text));
    QCOMPARE(Bytes(game), saved);
    QVERIFY(form.Actions().SaveAtn->isEnabled());
    QVERIFY(puzzle->IsChanged());

    // Save As to a new name whose close fails: no file appears, nothing is left beside it.
    const QString other = folder + QStringLiteral("/other.saw");
    FailAt(Step::Close, EIO);
    WhenModal([other](QWidget* modal) { AcceptFileDialog(qobject_cast<QFileDialog*>(modal), other); });
    QVERIFY(!form.SavePuzzle(true));
    ReplacingFile::SetFaultHook({});
    QCOMPARE(prompts.Shown().size(), 3);
    QVERIFY(prompts.Shown().at(2).text.endsWith(Failure(EIO)));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("game.saw")});

    // A game the player made read-only is not replaced: Save says so, Save As stays offered.
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(game, readOnly));
    form.Actions().SaveAtn->trigger();
    QCOMPARE(prompts.Shown().size(), 4);
    QVERIFY2(prompts.Shown().at(3).text.endsWith(QStringLiteral(": The file is read-only")),
             qPrintable(prompts.Shown().at(3).text));
    QCOMPARE(Bytes(game), saved);
    QCOMPARE(QFile::permissions(game) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), readOnly);
    QVERIFY(form.Actions().SaveAtn->isEnabled() && form.Actions().SaveAsAtn->isEnabled());
    QVERIFY(QFile::setPermissions(game, readOnly | QFile::WriteOwner));

    // The next Save goes through and keeps both joins.
    form.Actions().SaveAtn->trigger();
    QCOMPARE(prompts.Shown().size(), 4);
    QVERIFY(!form.Actions().SaveAtn->isEnabled());
    {
      Puzzle reread(game);
      QVERIFY(reread.IsValid());
    }
    puzzle->ClearChanged();
    PendingFiles::SetListPath({});
  }
};

TV_QTEST_MAIN(FailedSaveQTest)
#include "FailedSaveQTest.moc"
