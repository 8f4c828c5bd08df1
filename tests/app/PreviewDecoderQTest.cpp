// The open dialog's preview is decoded on a thread of its own, so that a slow picture never
// holds up the dialog: picking another file, closing or deleting the dialog cancels a decode
// under way, and a result that comes back after the selection moved on is dropped. A picture
// that is refused says why, in the preview and in the box that preparing it shows.

#include "BmpFixtureWriter.h"
#include "DialogView.h"
#include "JpegFixtureWriter.h"
#include "PreviewDecoder.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QFile>
#include <QThread>
#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// Holds the decode of one picture at its first cancel check until let go, and notes whether
// any check was asked on the main thread (where holding it would stop the test for good).
class Gate {
public:
  explicit Gate(const QString& held) : held_(held) {
    PreviewDecoder::SetCheckpoint([this](const QString& name) { Check(name); });
  }
  ~Gate() {
    Open();
    PreviewDecoder::WaitForAll();
    PreviewDecoder::SetCheckpoint({});
  }
  // False when the held decode never came to its check.
  bool WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    // Only a safety net: the decode comes to its check without anything from this thread.
    return changed_.wait_for(lock, std::chrono::seconds(60), [this] { return holding_ || onMainThread_; }) &&
           holding_;
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  bool OnMainThread() {
    std::lock_guard lock(mutex_);
    return onMainThread_;
  }

private:
  void Check(const QString& name) {
    std::unique_lock lock(mutex_);
    if (QThread::currentThread() == qApp->thread()) {
      onMainThread_ = true;
      changed_.notify_all();
      return;
    }
    if (name != held_ || open_) return;
    holding_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }

  QString held_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool holding_ = false, open_ = false, onMainThread_ = false;
};

void Select(TPuzzleDialog2& dialog, const QString& name) {
  auto* list = Control<IconListBox>(dialog, "PuzzleListBox");
  for (int row = 0; row < list->count(); ++row)
    if (list->item(row)->text() == name) return list->setCurrentRow(row);
  QFAIL(qPrintable(QStringLiteral("no row ") + name));
}

// Runs what the decoding threads handed back.
void Deliver() {
  PreviewDecoder::WaitForAll();
  QCoreApplication::sendPostedEvents();
}

// The preview's picture size; empty when none shows.
QSize Shown(TPuzzleDialog2& dialog) {
  auto* preview = Control<QLabel>(dialog, "PreviewImg");
  return preview->isHidden() || preview->pixmap().isNull() ? QSize() : preview->pixmap().size();
}

bool LogHas(const QString& text) { return TMsgLog::Lines().join('\n').contains(text); }

void OpenFolder(const QString& folder) {
  ProgSettings& settings = *Settings();
  settings.ShowFileExts = false;
  settings.ShowMorePuzzles = false;
  settings.PrevSaveUnfinished = false;
  settings.RecentPuzzles.clear();
  settings.InitialDir.clear();
  settings.LastNewIndex = 0;
  settings.NewPuzzleFolders = {folder};
}

// A still puzzle holding the picture bytes given.
QString StillPuzzleOf(const QString& folder, const QString& name, const QByteArray& picture) {
  const QString source = folder + name + QStringLiteral(" source.jpg");
  TestEnvironment::WriteFile(source, picture);
  StillPuzzleContent still;
  still.picturePath = source;
  const QString path = folder + name + QStringLiteral(".jig");
  if (!JigsawFile::SaveStillPuzzle(path, still)) return {};
  QFile::remove(source);
  return path;
}
}  // namespace

class PreviewDecoderQTest : public QObject {
  Q_OBJECT

private slots:
  // Whatever the player does while the picture decodes, the dialog answers at once; the
  // decode is cancelled when its picture is no longer wanted, and what it hands back late
  // is never shown.
  void previewNeverHoldsTheDialog() {
    const QString folder = DialogFolder(QStringLiteral("preview"));
    DialogPicture(folder, QStringLiteral("Quick.jpg"), 120, 90);
    DialogPicture(folder, QStringLiteral("Slow.jpg"), 300, 200);
    OpenFolder(folder);
    using Step = std::function<void(TPuzzleDialog2*&)>;
    struct Case {
      const char* name;
      bool held;  // else the decode ends before the step, its result not yet handed over
      Step step;
      bool slowCancelled;
      QSize shown;
    };
    const Case cases[] = {
        {"left alone", true, [](TPuzzleDialog2*&) {}, false, {185, 123}},
        {"another file picked", true, [](TPuzzleDialog2*& d) { Select(*d, QStringLiteral("Quick")); }, true,
         {120, 90}},
        {"the dialog closed", true, [](TPuzzleDialog2*& d) { d->reject(); }, true, {}},
        {"the dialog deleted", true, [](TPuzzleDialog2*& d) { delete d, d = nullptr; }, true, {}},
        {"the selection gone before the result came",
         false, [](TPuzzleDialog2*& d) { Control<IconListBox>(*d, "PuzzleListBox")->setCurrentRow(-1); }, false, {}},
    };
    for (const Case& c : cases) {
      TMsgLog::Clear();
      Gate gate(c.held ? QStringLiteral("Slow.jpg") : QString());
      auto* dialog = new TPuzzleDialog2(nullptr);
      dialog->show();
      Select(*dialog, QStringLiteral("Slow"));
      if (c.held)
        QVERIFY2(gate.WaitUntilHeld(), c.name);
      else
        PreviewDecoder::WaitForAll();
      c.step(dialog);
      gate.Open();
      Deliver();
      QVERIFY2(!gate.OnMainThread(), c.name);
      QVERIFY2(LogHas(QStringLiteral("Slow.jpg - JPEG decode cancelled")) == c.slowCancelled, c.name);
      if (dialog) {
        QVERIFY2(Shown(*dialog) == c.shown, c.name);
        QVERIFY2(Control<QLabel>(*dialog, "LoadingLbl")->isHidden(), c.name);
      }
      delete dialog;
    }
  }

  // The box keeps its text with the reason on a line of its own; the empty preview says the
  // same. Still puzzles and pictures alike.
  void refusalsSayWhy() {
    const QString folder = DialogFolder(QStringLiteral("refused"));
    const QString cut = DialogPicture(folder, QStringLiteral("Cut.jpg"), 64, 64);
    TestEnvironment::WriteFile(cut, TestEnvironment::ReadFile(cut).chopped(200));
    const QString runs = folder + QStringLiteral("Runs.bmp");
    // Its first code moves 255 pixels to the right.
    TestEnvironment::WriteFile(runs, BmpFixtureWriter::Write({40, 64, 64, 8, BmpFixtureWriter::Rle8, false,
                                                              {qRgb(10, 20, 30)}, {}, {}, QByteArray("\0\2\xFF\0", 4)}));
    struct Case {
      QString name, path, reason;
    };
    const Case cases[] = {
        {"Scans", StillPuzzleOf(folder, QStringLiteral("Scans"), JpegFixtureWriter::Write({64, 64, 1, 65})),
         QStringLiteral("JPEG error: more than 64 scans")},
        {"Restarts", StillPuzzleOf(folder, QStringLiteral("Restarts"), JpegFixtureWriter::Write({64, 64, 1, 3, false, 1})),
         QStringLiteral("JPEG error #%1 (Corrupt JPEG data: found marker 0xda instead of RST0)").arg(JWRN_MUST_RESYNC)},
        {"Cut", cut, QStringLiteral("JPEG error #%1 (Premature end of JPEG file)").arg(JWRN_JPEG_EOF)},
        {"Runs", runs, QStringLiteral("BMP run-length data moves past the picture")},
    };
    OpenFolder(folder);
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    for (const Case& c : cases) {
      Prompt::Double prompts;
      FakeTable table({1000, 800});
      Puzzle puzzle(c.path);
      puzzle.SetPieceSize(20);
      QVERIFY2(!puzzle.Prepare(&table, nullptr), qPrintable(c.name));
      QVERIFY2(!prompts.Shown().isEmpty(), qPrintable(c.name));
      QCOMPARE(prompts.Shown().last().text, QStringLiteral("Error: Unable to open the requested file.\n") + c.reason);

      Select(dialog, c.name);
      Deliver();
      auto* note = Control<QLabel>(dialog, "LoadingLbl");
      QVERIFY2(!note->isHidden() && Shown(dialog).isEmpty(), qPrintable(c.name));
      QCOMPARE(note->text(), QStringLiteral("(The image can not be shown)\n") + c.reason);
    }
  }
};

TV_QTEST_MAIN(PreviewDecoderQTest)
#include "PreviewDecoderQTest.moc"
