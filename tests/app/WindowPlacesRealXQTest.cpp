// Where the game's windows come up under a real X server and window manager: the main
// window restored to its saved place keeps its title bar on the screen, the hint pop-up
// opens on the table (not over the title bar) and the welcome help leaves the menus free.

#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"
#include "WhenModal.h"
#include "WindowPlacement.h"

#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "Yelk/Prompt.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/TableSurface.h"
#include "platform/HelpWindow.h"
#include "table/TableTop.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {
constexpr int Patience = 20000;

QString Text(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The window manager has put its frame (title bar and borders) around the window.
bool Framed(const QWidget& window) { return window.frameGeometry() != window.geometry(); }
}  // namespace

class WindowPlacesRealXQTest : public QObject {
  Q_OBJECT

  static void NormalWindowAt(QRect saved) {
    ProgSettings& settings = *Settings();
    settings.Maximized = false;
    settings.XPosition = saved.x();
    settings.YPosition = saved.y();
    settings.Width = saved.width();
    settings.Height = saved.height();
  }

  // The open dialog takes its picture with the fewest pieces.
  static void AcceptOpenDialog() {
    WhenModal([](QWidget* dialog) {
      auto* pieces = dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"));
      pieces->setCurrentIndex(pieces->count() - 1);
      dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    });
  }

  // Started without a file: the open dialog comes and is cancelled.
  static void Start(TMainForm& form) {
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ProgSettings& settings = *Settings();
    settings.ShowWelcome = false;
    settings.TipsEnabled = false;
    settings.AutoSaveInterval = 0;
  }

  // The saved place is the client's: near the screen's top-left corner (the first start's
  // own place) or past its far corner, the whole window with its frame comes up inside the
  // work area, the client as large as saved.
  void restoredWindowKeepsItsFrameOnScreen_data() {
    QTest::addColumn<QPoint>("at");
    QTest::newRow("first start's place") << QPoint(10, 10);
    QTest::newRow("at the corner") << QPoint(0, 0);
    QTest::newRow("past the far corner") << QPoint(4000, 3000);
  }
  void restoredWindowKeepsItsFrameOnScreen() {
    QFETCH(QPoint, at);
    NormalWindowAt(QRect(at, QSize(800, 500)));
    TMainForm form;
    Start(form);
    const QRect area = form.screen()->availableGeometry();
    QTRY_VERIFY_WITH_TIMEOUT(Framed(form), Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(area.contains(form.frameGeometry()),
                              qPrintable(Text(form.frameGeometry()) + QStringLiteral(" outside ") + Text(area)),
                              Patience);
    QCOMPARE(form.size(), QSize(800, 500));
    form.close();
  }

  // Started maximised, the window goes back to the saved place at the player's first
  // restore: there too its frame stays on the screen.
  void firstRestoreKeepsTheFrameOnScreen() {
    NormalWindowAt(QRect(10, 10, 800, 500));
    Settings()->Maximized = true;
    TMainForm form;
    Start(form);
    // Maximised as the window manager sees it, not only as asked.
    const QRect area = form.screen()->availableGeometry();
    QTRY_VERIFY_WITH_TIMEOUT(form.isMaximized() && form.frameGeometry().width() >= area.width() - 2, Patience);
    // And the game has followed: the table has taken the maximised size.
    QTRY_VERIFY_WITH_TIMEOUT(!form.Table()->Surface().HoldsResizes() &&
                                 QSize(form.Table()->Surface().GetWidth(), form.Table()->Surface().GetHeight()) ==
                                     form.Table()->size(),
                             Patience);
    form.setWindowState(Qt::WindowNoState);
    QTRY_VERIFY2_WITH_TIMEOUT(!form.isMaximized() && form.size() == QSize(800, 500),
                              qPrintable(Text(form.geometry()) + QStringLiteral(" state %1").arg(form.windowState())),
                              Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(area.contains(form.frameGeometry()),
                              qPrintable(Text(form.frameGeometry()) + QStringLiteral(" outside ") + Text(area)),
                              Patience);
    form.close();
    Settings()->Maximized = false;
  }

  // A game saved in a normal window, opened while the window is maximised: the window is
  // restored and placed as saved, its frame kept inside the work area.
  void aSavedNormalWindowIsRestoredFromMaximised() {
    NormalWindowAt(QRect(10, 10, 800, 500));
    Settings()->Maximized = true;
    TMainForm form;
    Start(form);
    const QRect area = form.screen()->availableGeometry();
    QTRY_VERIFY_WITH_TIMEOUT(form.isMaximized() && form.frameGeometry().width() >= area.width() - 2, Patience);
    form.PlaceMainForm(QRect(area.right() + 500, area.bottom() + 500, 800, 500));
    QTRY_VERIFY2_WITH_TIMEOUT(!form.isMaximized() && form.size() == QSize(800, 500),
                              qPrintable(Text(form.geometry()) + QStringLiteral(" state %1").arg(form.windowState())),
                              Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(Framed(form) && area.contains(form.frameGeometry()),
                              qPrintable(Text(form.frameGeometry()) + QStringLiteral(" outside ") + Text(area)),
                              Patience);
    form.close();
    Settings()->Maximized = false;
  }

  // A game saved in a normal window larger than this desktop's work area (played where no
  // panel took room, say), opened into a smaller window: the window comes as large as the
  // work area lets it, its frame inside, and the load goes on at once instead of waiting for
  // a size the window manager never gives.
  void aSavedPlaceLargerThanTheWorkAreaOpensAtOnce() {
    NormalWindowAt(QRect(10, 10, 800, 500));
    TMainForm form;
    Start(form);
    const QRect area = form.screen()->availableGeometry();
    QTRY_VERIFY_WITH_TIMEOUT(Framed(form), Patience);
    const QRect large = WindowPlacement::PlaceClientInside(area, WindowPlacement::FrameOf(form), area);
    form.setGeometry(large);
    AcceptOpenDialog();
    form.OpenDroppedFile(PuzzleFixtures::WritePicture(QStringLiteral("large.bmp"), 320, 240));
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && form.Table()->Surface().GetPuzzle(), Patience);
    QCOMPARE(form.geometry(), large);
    const QString saved = PuzzleFixtures::ScratchPath(QStringLiteral("large.saw"));
    QVERIFY(JigsawFile::SaveFile(saved, *Puzzle::Current(), {area, false, {}}));
    form.setGeometry(10, 10, 800, 500);
    QTRY_COMPARE(form.size(), QSize(800, 500));
    Prompt::Double prompts;
    TMsgLog::Clear();
    form.OpenDroppedFile(saved);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && form.Table()->Surface().GetPuzzle(), Patience);
    QVERIFY2(TMsgLog::Lines().filter(QStringLiteral("Table ready wait")).isEmpty(), "the load waited for the window");
    QVERIFY2(prompts.Shown().isEmpty(), qPrintable(prompts.Shown().value(0).text));
    QTRY_VERIFY2_WITH_TIMEOUT(form.geometry() == large && area.contains(form.frameGeometry()),
                              qPrintable(Text(form.frameGeometry()) + QStringLiteral(" in ") + Text(area)), Patience);
    form.close();
  }

  // A game saved with its box cover up at the top of the screen or past its corner: continued,
  // the cover comes back with its whole frame, title bar too, inside the work area.
  void restoredBoxCoverKeepsItsFrameOnScreen_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("at the top") << QPoint(200, 0) << false;
    QTest::newRow("at the top, maximised") << QPoint(200, 0) << true;
    QTest::newRow("past the far corner") << QPoint(4000, 3000) << false;
  }
  void restoredBoxCoverKeepsItsFrameOnScreen() {
    QFETCH(QPoint, at);
    QFETCH(bool, maximised);
    NormalWindowAt(QRect(10, 10, 800, 500));
    Settings()->Maximized = maximised;
    TMainForm form;
    Start(form);
    AcceptOpenDialog();
    form.OpenDroppedFile(PuzzleFixtures::WritePicture(QStringLiteral("covered.bmp"), 320, 240));
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && form.Table()->Surface().GetPuzzle(), Patience);
    const QString saved = PuzzleFixtures::ScratchPath(QStringLiteral("covered.saw"));
    const BoxCoverWindowPlace cover{true, at.y(), at.x(), 0};
    QVERIFY(JigsawFile::SaveFile(saved, *Puzzle::Current(), {form.normalGeometry(), maximised, cover}));
    form.OpenDroppedFile(saved);
    QTRY_VERIFY_WITH_TIMEOUT(TBoxCoverFrm::Current() && TBoxCoverFrm::Current()->isVisible(), Patience);
    const TBoxCoverFrm& shown = *TBoxCoverFrm::Current();
    const QRect area = shown.screen()->availableGeometry();
    QTRY_VERIFY_WITH_TIMEOUT(Framed(shown), Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(area.contains(shown.frameGeometry()),
                              qPrintable(Text(shown.frameGeometry()) + QStringLiteral(" outside ") + Text(area)),
                              Patience);
    form.close();
    Settings()->Maximized = false;
  }

  // The first puzzle of a new player brings the welcome page: it opens on the table, its
  // frame clear of the main window's title bar and menus. The first start is maximised, so
  // the window manager finds no free place of its own for the page.
  void welcomeLeavesTheMenusFree() {
    NormalWindowAt(QRect(40, 60, 900, 640));
    ProgSettings& settings = *Settings();
    settings.Maximized = true;
    settings.ShowMainMenu = true;
    settings.ShowWelcome = true;
    TMainForm form;
    Start(form);
    AcceptOpenDialog();
    form.OpenDroppedFile(PuzzleFixtures::WritePicture(QStringLiteral("welcome.bmp"), 320, 240));
    HelpWindow* help = HelpWindow::Instance();
    QTRY_VERIFY2_WITH_TIMEOUT(help->isVisible() && Framed(*help) && Framed(form),
                              qPrintable(TMsgLog::Lines().mid(TMsgLog::Lines().size() - 20).join('\n')), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(form.menuBar()->isVisible(), Patience);
    const QRect outer = form.frameGeometry();
    const int tableTop = form.Table()->mapToGlobal(QPoint(0, 0)).y();
    const QRect titleAndMenus(outer.topLeft(), QPoint(outer.right(), tableTop - 1));
    QVERIFY(form.menuBar()->geometry().bottom() < form.Table()->mapTo(&form, QPoint(0, 0)).y());
    QTRY_VERIFY2_WITH_TIMEOUT(!help->frameGeometry().intersects(titleAndMenus),
                              qPrintable(Text(help->frameGeometry()) + QStringLiteral(" over ") + Text(titleAndMenus)),
                              Patience);
    QVERIFY(form.isMaximized());
    help->close();
    settings.ShowWelcome = false;
    settings.Maximized = false;
    form.close();
  }
};

TV_QTEST_MAIN(WindowPlacesRealXQTest)
#include "WindowPlacesRealXQTest.moc"
