// A game begun from a picture keeps being saved after the picture is deleted or rewritten in
// place: Save, Save As, auto save and the exit question's Yes each write the game with the
// latest move and the picture's original bytes, and the game opens again as it was left.

#include "ModalAnswers.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"

#include "Yelk/Prompt.h"
#include "puzzle/ChipMask.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

#include <memory>

using PuzzleFixtures::ScratchPath;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray SavedPicture(const QString& saw) {
  JigsawFile file(saw);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  return file.CopyPicture(buffer) ? buffer.data() : QByteArray("(not copied)");
}

PuzzleChip* PieceWithId(TMainForm& form, int id) {
  ChipList& list = form.Table()->Surface().GetChipList();
  for (int i = 0; i < list.Count(); ++i)
    if (list.At(i)->Id() == id) return list.At(i);
  return nullptr;
}

bool AnyFailureShown(const Prompt::Double& prompts) {
  for (const Prompt::Record& record : prompts.Shown())
    if (record.text.contains(QLatin1String("Failed"))) return true;
  return false;
}

}  // namespace

class SourceFileGoneQTest : public QObject {
  Q_OBJECT

  int pieceId = -1;
  QPoint lastMove;

  // The player drags a piece somewhere new: a change to save.
  void MoveAPiece(TMainForm& form, int step) {
    if (pieceId < 0) pieceId = form.Table()->Surface().GetChipList().At(0)->Id();
    PuzzleChip* piece = PieceWithId(form, pieceId);
    QVERIFY(piece);
    lastMove = QPoint(20 + 10 * step, 30 + 5 * step);
    piece->Place(piece->Mask().Rotation(), false, true, true, lastMove.x(), lastMove.y());
    Puzzle::Current()->SetChanged();
    QVERIFY(form.Actions().SaveAtn->isEnabled());
  }

private slots:
  void initTestCase() {
    ModalAnswers::PlaySettings();
    Settings()->SuppressApplause = true;
  }

  void everySaveOutlivesThePicture_data() {
    QTest::addColumn<bool>("deleted");
    QTest::newRow("deleted") << true;
    QTest::newRow("rewritten in place") << false;
  }

  void everySaveOutlivesThePicture() {
    QFETCH(bool, deleted);
    pieceId = -1;
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("pic.jpg"), 240, 160);
    const QByteArray original = ReadAll(picture);
    const QByteArray cropped = ReadAll(PuzzleFixtures::WritePicture(QStringLiteral("cropped.jpg"), 100, 70));
    const QString saw = ScratchPath(QStringLiteral("pic.saw")), other = ScratchPath(QStringLiteral("pic other.saw"));
    QFile::remove(saw);
    QFile::remove(other);
    Prompt::Double prompts;
    auto answers = std::make_unique<ModalAnswers>();
    answers->savePath = saw;
    {
      TMainForm form;
      form.Start({picture});
      QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
      Puzzle* puzzle = Puzzle::Current();
      MoveAPiece(form, 0);
      QVERIFY(form.SavePuzzle(true));
      QVERIFY(QFileInfo(saw).isFile());

      if (deleted)
        QVERIFY(QFile::remove(picture));
      else {
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(cropped), cropped.size());
      }

      MoveAPiece(form, 1);
      form.Actions().SaveAtn->trigger();  // Ctrl+S
      QVERIFY(!puzzle->IsChanged());
      QCOMPARE(SavedPicture(saw), original);

      MoveAPiece(form, 2);
      answers->savePath = other;
      QVERIFY(form.SavePuzzle(true));
      QCOMPARE(SavedPicture(other), original);

      MoveAPiece(form, 3);
      form.AutoSaveTimerTimer();
      QVERIFY(!puzzle->IsChanged());

      MoveAPiece(form, 4);
      prompts.Clear();
      QVERIFY(form.close());  // the exit question, answered Yes
      QCOMPARE(prompts.Shown().size(), 1);
      QVERIFY(prompts.Shown().first().text.startsWith(QLatin1String("Do you want to save")));
    }
    QVERIFY(!AnyFailureShown(prompts));
    QCOMPARE(SavedPicture(other), original);
    QCOMPARE(SavedPicture(saw), original);  // the first save, untouched since

    // Opened again: the last move is there.
    TMainForm form;
    form.Start({other});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    PuzzleChip* piece = PieceWithId(form, pieceId);
    QVERIFY(piece);
    QCOMPARE(QPoint(piece->TableX(), piece->TableY()), lastMove);
    QVERIFY(form.close());
    QFile::remove(picture);
  }
};

TV_QTEST_MAIN(SourceFileGoneQTest)
#include "SourceFileGoneQTest.moc"
