// The box cover window over puzzles with and without a cover of their own: its sizes and
// texts at both scales, the two faces, placement (a property over frame sizes, screens and
// covers, and zoom on a real window), the place a saved game keeps, the window at load,
// printing and the note.

#include "QtTestMain.h"
#include "BoxCoverControl.h"
#include "PuzzleDialogHooks.h"
#include "TBoxCoverFrm.h"
// The fixture writers of the puzzle tests, built into this program too.
#include "../puzzle/JigsawFileBuilder.h"
#include "../puzzle/PuzzleFixtures.cpp"

#include "Yelk/Prompt.h"
#include "controls/OstrevPanel.h"
#include "imaging/VirtualBuffer.h"
#include "platform/CurrentPrinter.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

namespace {
struct GameOptions {
  bool ownCover = true;
  bool preview = true;
  bool noteHidden = false;
  bool complete = false;
  BoxCoverWindowPlace place;
};

// A saved game of a 48 x 36 picture with, when asked, a 120 x 90 cover of its own.
GameOptions Own(bool own) {
  GameOptions o;
  o.ownCover = own;
  return o;
}

QString SavedGame(const QString& name, const GameOptions& o) {
  using namespace JigsawFixtures;
  JigsawFileBuilder file;
  file.Byte(2, 2).Block(3, 33, PictureBytes(QStringLiteral("cover game picture.bmp"), 48, 36));
  if (o.ownCover) file.Byte(4, 3).Block(5, 34, PictureBytes(QStringLiteral("cover game cover.jpg"), 120, 90));
  file.Int(14, 12).Byte(11, 1).Int(12, 640).Int(13, 480).Byte(6, o.preview ? 1 : 0).Int(9, 12);
  file.Int(25, o.complete ? 11 : 5).Int(41, 2004).Byte(52, o.noteHidden ? 1 : 0).Byte(53, 0);
  if (o.place.shown)
    file.Byte(48, 1).Int(49, o.place.top).Int(50, o.place.left).Byte(51, std::uint8_t(o.place.state));
  file.Int(23, 48).Int(24, 36).Block(42, 43, QByteArray("{\\rtf1 A note.}"));
  const QString path = PuzzleFixtures::ScratchPath(name);
  WriteAll(path, file.Finish());
  return path;
}

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& file) {
  const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run(QStringLiteral("pdfinfo"), {file}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QRect area(100, 50, 800, 600);
}  // namespace

class BoxCoverQTest : public QObject {
  Q_OBJECT
private slots:
  void init() {
    Settings()->FullScaleBoxCover = false;
    area = QRect(100, 50, 800, 600);
    TBoxCoverFrm::SetAreaSource([](const QRect&) { return area; });
  }

  // Both scales, with and without a cover of the game's own: the image, the warning line,
  // the minimum width and the caption.
  void setPuzzleSizesAndTexts() {
    for (bool own : {false, true})
      for (bool full : {false, true}) {
        Puzzle puzzle(SavedGame(QStringLiteral("Lake side.saw"), Own(own)));
        QVERIFY(puzzle.IsValid());
        Settings()->FullScaleBoxCover = full;
        TBoxCoverFrm form(nullptr);
        form.SetPuzzle(&puzzle, false);
        const QSize natural = own ? QSize(120, 90) : QSize(48, 36);
        const QSize expected = full ? natural : QSize(natural.width() / 2, natural.height() / 2);
        QCOMPARE(QSize(form.Image()->width, form.Image()->height), expected);
        QCOMPARE(form.WarningPnl->isVisibleTo(&form), own);
        const int warningWidth = form.fontMetrics().horizontalAdvance(form.WarningPnl->text()) + 20;
        QCOMPARE(form.Wanted().width(), std::max(own ? warningWidth : 0, expected.width() + 10));
        QCOMPARE(form.Wanted().height(), expected.height() + 10 + form.ToolBar1->sizeHint().height() +
                                             (own ? form.WarningPnl->height() : 0));
        QCOMPARE(form.windowTitle(), QStringLiteral("\"Lake side\" Box Cover"));
        QCOMPARE(form.ZoomBtn->isChecked(), full);
        QVERIFY(form.NoteBtn->isEnabled());
      }
  }

  // The hover face: frameless, no toolbar, never on top, never focused; the tool face: a
  // tool window with its toolbar, above its owner only (a question must be able to cover
  // it), still shown after the flags changed.
  void faceSwitches() {
    Puzzle puzzle(SavedGame(QStringLiteral("faces.saw"), {}));
    Settings()->FullScaleBoxCover = true;
    TBoxCoverFrm form(nullptr);
    form.SetPuzzle(&puzzle, false);
    form.SetToolbar(false);
    form.ShowCover();
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(form.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!form.ToolBar1->isVisible() && form.isVisible());
    QVERIFY(!TBoxCoverFrm::SavedPlace().shown);
    const int hoverHeight = form.height();
    form.SetToolbar(true);
    form.ShowCover();
    QVERIFY(form.isVisible() && form.ToolBar1->isVisible());
    QCOMPARE(form.windowType(), Qt::Tool);
    QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!(form.windowFlags() & Qt::FramelessWindowHint));
    QCOMPARE(form.height(), hoverHeight + form.ToolBar1->sizeHint().height());
    form.SetToolbar(false);
    QVERIFY(form.isVisible() && !(form.windowFlags() & Qt::WindowStaysOnTopHint));
  }

  // Placement property: for every frame size, screen and cover, the frame lies whole in the
  // available area, centred when it fits, its client at the wanted size or cut to the area.
  void placementStaysInsideTheArea() {
    const QList<QSize> frames = {{0, 0}, {2, 2}, {8, 30}, {16, 40}, {40, 12}};
    const QList<QRect> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {0, 24, 800, 576},
                                  {-1280, 100, 1280, 700}, {10, 10, 300, 200}};
    const QList<QSize> covers = {{147, 114}, {410, 310}, {1200, 900}, {2000, 1500}, {250, 1400}};
    for (const QSize& frame : frames)
      for (const QRect& screen : screens)
        for (const QSize& cover : covers) {
          const QString where = QStringLiteral("frame %1x%2 screen %3,%4 %5x%6 cover %7x%8")
                                    .arg(frame.width()).arg(frame.height()).arg(screen.x()).arg(screen.y())
                                    .arg(screen.width()).arg(screen.height()).arg(cover.width()).arg(cover.height());
          const QRect centred = TBoxCoverFrm::CentredFrame(screen, cover, frame);
          QVERIFY2(screen.contains(centred), qPrintable(where));
          const QSize outer = cover + frame;
          if (outer.width() <= screen.width() && outer.height() <= screen.height()) {
            QVERIFY2(centred.size() == outer, qPrintable(where));
            QVERIFY2(std::abs((centred.left() - screen.left()) - (screen.right() - centred.right())) <= 1, qPrintable(where));
            QVERIFY2(std::abs((centred.top() - screen.top()) - (screen.bottom() - centred.bottom())) <= 1, qPrintable(where));
          }
          for (const QPoint& at : {screen.topLeft(), screen.bottomRight(), QPoint(screen.right() - 5, screen.top() + 7),
                                   QPoint(-5000, 5000)}) {
            const QRect kept = TBoxCoverFrm::FrameAt(screen, at, cover, frame);
            QVERIFY2(screen.contains(kept), qPrintable(where));
            QVERIFY2(kept.width() == std::min(outer.width(), screen.width()), qPrintable(where));
          }
        }
  }

  // Zoom on a real window: it re-centres until the player moves it, then keeps its place,
  // and at full scale it stays inside the area, also on a screen smaller than the cover.
  void zoomRecentresUntilMoved() {
    Puzzle puzzle(SavedGame(QStringLiteral("zoom.saw"), {}));
    TBoxCoverFrm form(nullptr);
    form.SetPuzzle(&puzzle, false);
    form.CentreOnScreen();
    form.ShowCover();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto centredIn = [](const QRect& frame) {
      return std::abs((frame.left() - area.left()) - (area.right() - frame.right())) <= 1 &&
             std::abs((frame.top() - area.top()) - (area.bottom() - frame.bottom())) <= 1;
    };
    for (int i = 0; i < 2; ++i) {
      form.ZoomBtn->click();
      QCOMPARE(Settings()->FullScaleBoxCover, i == 0);
      QVERIFY(centredIn(form.frameGeometry()));
      QCOMPARE(form.size(), form.Wanted().expandedTo(form.minimumSize()));
    }
    // A move along one axis only is taken for the window manager's.
    form.move(form.frameGeometry().topLeft() + QPoint(0, 9));
    form.ZoomBtn->click();
    QVERIFY(centredIn(form.frameGeometry()));
    const QPoint moved = area.topLeft() + QPoint(3, 4);
    form.move(moved);
    form.ZoomBtn->click();
    QCOMPARE(form.frameGeometry().topLeft(), moved);
    // Moved to the far corner: full scale pulls it back whole onto the screen.
    form.move(area.bottomRight() - QPoint(30, 30));
    if (!Settings()->FullScaleBoxCover) form.ZoomBtn->click();
    else { form.ZoomBtn->click(); form.ZoomBtn->click(); }
    QVERIFY(area.contains(form.frameGeometry()));
    area = QRect(40, 30, 250, 130);  // smaller than the cover, larger than the least window
    form.ZoomBtn->click();
    form.ZoomBtn->click();
    QVERIFY(area.contains(form.frameGeometry()));
    QCOMPARE(form.frameGeometry().size(), area.size());
  }

  // Records 48-51 come from the window: only the tool face counts as shown; a game whose
  // file forbids a preview gets no window at load.
  void savedPlaceAndWindowAtLoad() {
    QWidget mainWindow;
    OstrevPanel panel(&mainWindow);
    panel.resize(58, 53);
    QAction boxCoverAtn;
    boxCoverAtn.setCheckable(true);
    BoxCoverControl control(&mainWindow, &panel, &boxCoverAtn);
    for (bool preview : {false, true})
      for (int state : {0, 1}) {
        GameOptions o;
        o.preview = preview;
        o.place = {true, 210, 330, state};
        Puzzle puzzle(SavedGame(QStringLiteral("at load.saw"), o));
        control.ShowAtLoad(&puzzle);
        QCOMPARE(control.Window() != nullptr, preview);
        QCOMPARE(boxCoverAtn.isChecked(), preview);
        const BoxCoverWindowPlace saved = TBoxCoverFrm::SavedPlace();
        QCOMPARE(saved.shown, preview);
        if (!preview) continue;
        QCOMPARE(QPoint(saved.left, saved.top), QPoint(330, 210));
        QCOMPARE(saved.state, state);
        QCOMPARE(Settings()->FullScaleBoxCover, state == 1);
        control.Window()->hide();
        QVERIFY(!TBoxCoverFrm::SavedPlace().shown);
        control.PuzzleGone();
        QVERIFY(!control.Window() && !TBoxCoverFrm::Current());
      }
  }

  // Print hands the puzzle's own picture to the current printer, also when the window
  // shows a cover of the game's own: one page each. The printer dialog stands over the window.
  void printsThePuzzlePicture() {
    Settings()->PrintingAvailable = true;
    for (bool own : {false, true}) {
      const QString file = PuzzleFixtures::ScratchPath(own ? QStringLiteral("own.pdf") : QStringLiteral("plain.pdf"));
      auto printer = std::make_unique<QPrinter>();
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(file);
      CurrentPrinter::Install(std::move(printer));
      Puzzle puzzle(SavedGame(QStringLiteral("print.saw"), Own(own)));
      TBoxCoverFrm form(nullptr);
      form.SetPuzzle(&puzzle, false);
      QVERIFY(form.PrintBtn->isEnabled());
      bool overTheWindow = false;
      QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
          overTheWindow = dialog->windowHandle()->transientParent() == form.windowHandle();
          dialog->accept();
        }
      });
      form.show();
      form.PrintBtnClick();
      QVERIFY(overTheWindow);
      QCOMPARE(PdfPages(file), 1);
    }
  }

  // The note: withheld below 100 % when the file hides it, otherwise shown over the window.
  void noteButton() {
    QByteArray shown;
    QWidget* over = nullptr;
    PuzzleDialogHooks::ShowNote = [&](QWidget* parent, const QByteArray& note) {
      over = parent;
      shown = note;
    };
    Prompt::Double prompts;
    for (bool hidden : {false, true})
      for (bool complete : {false, true}) {
        GameOptions o;
        o.noteHidden = hidden;
        o.complete = complete;
        Puzzle puzzle(SavedGame(QStringLiteral("note.saw"), o));
        TBoxCoverFrm form(nullptr);
        form.SetPuzzle(&puzzle, false);
        shown.clear();
        prompts.Clear();
        form.NoteBtnClick();
        const bool withheld = hidden && !complete;
        QCOMPARE(shown.isEmpty(), withheld);
        QCOMPARE(prompts.Shown().size(), withheld ? 1 : 0);
        if (withheld)
          QCOMPARE(prompts.Shown()[0].text,
                   QStringLiteral("This jigsaw puzzle's note is unavailable until the puzzle is completed."));
        else
          QVERIFY(over == &form && shown == QByteArray("{\\rtf1 A note.}"));
      }
    PuzzleDialogHooks::ShowNote = nullptr;
  }
};

TV_QTEST_MAIN(BoxCoverQTest)
#include "BoxCoverQTest.moc"
