// The open dialog's preview is decoded on a thread of its own: picking another file, closing
// or deleting the dialog cancels a decode under way, and a result that comes back after the
// selection moved on is dropped. A refused picture says why, in the preview and in the box
// that preparing it shows.

#include "BmpFixtureWriter.h"
#include "DialogView.h"
#include "JpegFixtureWriter.h"
#include "PreviewDecoder.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PictureFile.h"
#include "settings/ProgSettings.h"

#include <QFile>
#include <QtTest>
#include <condition_variable>
#include <mutex>
#include <utility>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// Holds the decode of one picture at its first cancel check, which only a decoding thread
// asks, until let go.
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
  bool WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    // A safety net only: the decode comes to its check without anything from this thread.
    return changed_.wait_for(lock, std::chrono::seconds(60), [this] { return holding_; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

private:
  void Check(const QString& name) {
    std::unique_lock lock(mutex_);
    if (name != held_ || open_) return;
    holding_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }

  QString held_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool holding_ = false, open_ = false;
};

void Select(TPuzzleDialog2& dialog, const QString& name) {
  auto* list = Control<IconListBox>(dialog, "PuzzleListBox");
  list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
}

// Runs what the decoding threads handed back; the preview's picture size (empty: none).
QSize Delivered(TPuzzleDialog2* dialog) {
  PreviewDecoder::WaitForAll();
  QCoreApplication::sendPostedEvents();
  auto* preview = dialog ? Control<QLabel>(*dialog, "PreviewImg") : nullptr;
  return !preview || preview->isHidden() ? QSize() : preview->pixmap().size();
}

// The pictures are darker green at the top: the preview is shown upright.
bool Upright(TPuzzleDialog2& dialog) {
  const QImage shown = Control<QLabel>(dialog, "PreviewImg")->pixmap().toImage();
  return qGreen(shown.pixel(0, 0)) + 40 < qGreen(shown.pixel(0, shown.height() - 1));
}

void OpenFolder(const QString& folder) {
  ProgSettings& settings = *Settings();
  settings.ShowFileExts = settings.ShowMorePuzzles = settings.PrevSaveUnfinished = false;
  settings.RecentPuzzles.clear();
  settings.InitialDir.clear();
  settings.LastNewIndex = 0;
  settings.NewPuzzleFolders = {folder};
}

QString StillPuzzleOf(const QString& folder, const QString& name, const QByteArray& picture, bool cover = true) {
  StillPuzzleContent still;
  still.includeBoxCover = cover;
  still.picture = picture;
  still.pictureFormat = PictureFile::Jpeg;
  const QString path = folder + name + QStringLiteral(".jig");
  return JigsawFile::SaveStillPuzzle(path, still) ? path : QString();
}
}  // namespace

class PreviewDecoderQTest : public QObject {
  Q_OBJECT

private slots:
  // The dialog answers while the picture decodes; a decode no longer wanted is cancelled,
  // and what it hands back late is never shown.
  void previewNeverHoldsTheDialog() {
    const QString folder = DialogFolder(QStringLiteral("preview"));
    DialogPicture(folder, QStringLiteral("Quick.jpg"), 120, 90);
    DialogPicture(folder, QStringLiteral("Slow.jpg"), 300, 200);
    OpenFolder(folder);
    struct Case {
      const char* name;
      bool held;  // else the decode ends before the step, its result not yet run
      std::function<void(TPuzzleDialog2*&)> step;
      bool slowCancelled;
      QSize shown;
    };
    const Case cases[] = {
        {"left alone", true, [](TPuzzleDialog2*&) {}, false, {185, 123}},
        {"another file picked", true, [](TPuzzleDialog2*& d) { Select(*d, QStringLiteral("Quick")); }, true, {120, 90}},
        {"the dialog closed", true, [](TPuzzleDialog2*& d) { d->reject(); }, true, {}},
        {"the dialog deleted", true, [](TPuzzleDialog2*& d) { delete std::exchange(d, nullptr); }, true, {}},
        {"no selection before the result ran", false,
         [](TPuzzleDialog2*& d) { Control<IconListBox>(*d, "PuzzleListBox")->setCurrentRow(-1); }, false, {}},
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
      QVERIFY2(Delivered(dialog) == c.shown, c.name);
      QVERIFY2(c.shown.isEmpty() || Upright(*dialog), c.name);
      QVERIFY2(TMsgLog::Lines().join('\n').contains("Slow.jpg - JPEG decode cancelled") == c.slowCancelled, c.name);
      QVERIFY2(!dialog || Control<QLabel>(*dialog, "LoadingLbl")->isHidden(), c.name);
      delete dialog;
    }
  }

  // A puzzle that forbids its preview hands no picture to the decode.
  void forbiddenPreviewStaysEmpty() {
    const QString folder = DialogFolder(QStringLiteral("forbidden"));
    const QByteArray picture = JpegFixtureWriter::Write(QImage(64, 64, QImage::Format_RGB32), {});
    StillPuzzleOf(folder, "Shown", picture);
    StillPuzzleOf(folder, "Secret", picture, false);
    OpenFolder(folder);
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    for (const bool allowed : {true, false}) {
      Select(dialog, allowed ? "Shown" : "Secret");
      QCOMPARE(Delivered(&dialog).isEmpty(), !allowed);
    }
  }

  // The box keeps its text with the reason on a line of its own; the empty preview says the
  // same, wrapped within its box. Still puzzles and pictures alike.
  void refusalsSayWhy() {
    const QString folder = DialogFolder(QStringLiteral("refused"));
    const QString runs = folder + QStringLiteral("Runs.bmp");  // its first code moves 255 pixels right
    TestEnvironment::WriteFile(runs, BmpFixtureWriter::Write({40, 64, 64, 8, BmpFixtureWriter::Rle8, false,
                                                              {qRgb(10, 20, 30)}, {}, {}, QByteArray("\0\2\xFF\0", 4)}));
    const QString cases[][3] = {
        {"Scans", StillPuzzleOf(folder, "Scans", JpegFixtureWriter::Write({64, 64, 1, 65})),
         "JPEG error: more than 64 scans"},
        {"Restarts", StillPuzzleOf(folder, "Restarts", JpegFixtureWriter::Write({64, 64, 1, 3, false, 1})),
         QStringLiteral("JPEG error #%1 (Corrupt JPEG data: found marker 0xda instead of RST0)").arg(JWRN_MUST_RESYNC)},
        {"Runs", runs, "BMP run-length data moves past the picture"},
    };
    OpenFolder(folder);
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    for (const auto& [name, path, reason] : cases) {
      Prompt::Double prompts;
      FakeTable table({1000, 800});
      Puzzle puzzle(path);
      puzzle.SetPieceSize(20);
      QVERIFY2(!puzzle.Prepare(&table, nullptr) && !prompts.Shown().isEmpty(), qPrintable(name));
      QCOMPARE(prompts.Shown().last().text, "Error: Unable to open the requested file.\n" + reason);
      Select(dialog, name);
      QVERIFY2(Delivered(&dialog).isEmpty(), qPrintable(name));
      auto* said = Control<QLabel>(dialog, "LoadingLbl");
      QCOMPARE(said->text(), "(The image can not be shown)\n" + reason);
      QVERIFY(!said->isHidden() && said->minimumSizeHint().width() <= said->width());
    }
  }
};

TV_QTEST_MAIN(PreviewDecoderQTest)
#include "PreviewDecoderQTest.moc"
