#include "QtTestMain.h"
#include "TableDesk.h"

#include "controls/XPButton.h"
#include "settings/ProgSettings.h"
#include "table/THintFrm.h"
#include "table/TMagForm.h"

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QScreen>
#include <QTransform>

namespace {

constexpr std::uint32_t HintColour = 0xFFE784;

// The piece's own side that faces a screen direction: the direction turned back by the
// piece's turn.
ChipSide SideFacing(int rotation, QPoint screenDirection) {
  const QPoint d = QTransform().rotate(-rotation).map(QPointF(screenDirection)).toPoint();
  if (d.x() < 0) return ChipSide::Left;
  if (d.x() > 0) return ChipSide::Right;
  return d.y() < 0 ? ChipSide::Up : ChipSide::Down;
}

// Picks the piece up with a click, turns it with Ctrl + right clicks until it lies at
// rotation, and lays it down with another click.
void TurnTo(TableDesk& desk, PuzzleChip* piece, int rotation) {
  const auto grip = desk.GripOf(piece);
  QVERIFY(grip);
  desk.Press(desk.top, *grip);
  desk.Release(desk.top, *grip);
  QVERIFY(desk.Surface().Selection());
  for (int turns = 0; turns < 4 && desk.Surface().Selection()->Rotation() != rotation; ++turns) {
    const QPoint at = desk.top->CursorPosition();
    desk.Press(desk.top, at, Qt::RightButton, Qt::ControlModifier);
    desk.Release(desk.top, at, Qt::RightButton);
  }
  const QPoint at = desk.top->CursorPosition();
  desk.Press(desk.top, at);
  desk.Release(desk.top, at);
  QVERIFY(!desk.Surface().Selection());
  QCOMPARE(piece->Mask().Rotation(), rotation);
}

}  // namespace

class TableWindowsQTest : public QObject {
  Q_OBJECT

private slots:
  void init() { Settings()->IsolateEdges = false; }
  void cleanup() { Settings()->IsolateEdges = true; }

  // With the pointer anywhere on the table, at its edges and corners too, every pixel of the
  // magnifier outside its cross-hair is the table pixel at half its place, counted from a
  // source box of half the magnifier's size around the pointer that stays on the table.
  // An odd client size is made even first.
  void MagnifierShowsTableTwiceAsLarge() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    TMagForm magnifier(&desk.window, desk.top);
    magnifier.show();
    QVERIFY(QTest::qWaitForWindowExposed(&magnifier));
    magnifier.resize(201, 163);
    QTRY_COMPARE(magnifier.size(), QSize(200, 162));
    QCOMPARE(magnifier.Panel->size(), magnifier.size());
    const VirtualBuffer cross(8102, QStringLiteral("cross"));
    const VirtualBuffer& table = *desk.Surface().TableBuffer();
    const int mw = magnifier.Panel->width(), mh = magnifier.Panel->height();
    const int tw = table.width, th = table.height;
    for (const QPoint p : {QPoint(tw / 2, th / 2), QPoint(2, 3), QPoint(tw - 2, th - 1), QPoint(tw / 3, 1),
                           QPoint(0, th / 2), QPoint(tw - 30, 40), QPoint(57, th - 33)}) {
      desk.Move(desk.top, p);
      const QImage shown = magnifier.Panel->grab().toImage();
      const QPoint source(std::clamp(p.x() - mw / 4, 0, tw - mw / 2), std::clamp(p.y() - mh / 4, 0, th - mh / 2));
      const QRect crossBox = QRect(2 * (p - source) - QPoint(cross.width / 2, cross.height / 2),
                                   QSize(cross.width, cross.height)).adjusted(-2, -2, 2, 2);
      int compared = 0;
      for (int y = 0; y < mh; ++y)
        for (int x = 0; x < mw; ++x) {
          if (crossBox.contains(x, y)) continue;
          const std::uint32_t want = table.Row(source.y() + y / 2)[source.x() + x / 2] & 0xFFFFFF;
          if ((shown.pixel(x, y) & 0xFFFFFF) != want)
            QFAIL(qPrintable(QStringLiteral("pointer %1,%2: magnifier pixel %3,%4").arg(p.x()).arg(p.y()).arg(x).arg(y)));
          ++compared;
        }
      QVERIFY(compared > mw * mh / 2);
    }
  }

  // Without a saved place the magnifier opens on the table, below whatever lies above the
  // table top (a menu bar); over the magnifier the pointer is hidden, as the picture shows it.
  void MagnifierOpensOnTheTableAndHidesThePointer() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    ProgSettings& s = *Settings();
    s.MagnifierLeft = s.MagnifierTop = s.MagnifierWidth = s.MagnifierHeight = -1;
    TMagForm magnifier(&desk.window, desk.top);
    magnifier.show();
    QVERIFY(QTest::qWaitForWindowExposed(&magnifier));
    const QRect table(desk.top->mapToGlobal(QPoint(0, 0)), desk.top->size());
    QVERIFY(table.contains(magnifier.geometry().topLeft()));
    QCOMPARE(magnifier.Panel->cursor().shape(), Qt::BlankCursor);
    QCOMPARE(desk.top->cursor().shape(), Qt::ArrowCursor);
  }

  // For a piece at each of the four turns, each arrow of the hint window finds the neighbour
  // lying that way on the screen, and the hint's cross then marks that neighbour.
  void HintFindsNeighbourOnScreen() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    PuzzleChip* piece = nullptr;
    for (int i = 0; i < desk.Chips().Count() && !piece; ++i)
      if (desk.Chips().At(i)->EdgeClass() == 9 && desk.GripOf(desk.Chips().At(i))) piece = desk.Chips().At(i);
    QVERIFY(piece);
    const std::pair<XPButton* THintFrm::*, QPoint> arrows[] = {
        {&THintFrm::TopBtn, {0, -1}}, {&THintFrm::LeftBtn, {-1, 0}}, {&THintFrm::RightBtn, {1, 0}}, {&THintFrm::BottomBtn, {0, 1}}};
    for (int rotation : {0, 90, 180, 270}) {
      TurnTo(desk, piece, rotation);
      for (const auto& [button, direction] : arrows) {
        PuzzleChip* expected = piece->Neighbour(SideFacing(rotation, direction));
        QVERIFY(expected);
        THintFrm ask(&desk.window, piece);
        ask.show();
        QVERIFY((ask.*button)->isEnabled());
        QTest::mouseClick(ask.*button, Qt::LeftButton);
        QCOMPARE(ask.result(), int(QDialog::Accepted));
        QCOMPARE(ask.Result(), expected);
        if (!desk.Chips().Contains(expected)) continue;
        QVERIFY(desk.Surface().ShowChipHint(expected));
        const QPoint mark = desk.Surface().HintPoint();
        QVERIFY(QRect(expected->TableX(), expected->TableY(), expected->Mask().TableWidth(),
                      expected->Mask().TableHeight()).contains(mark));
        QCOMPARE(desk.Surface().TableBuffer()->Row(mark.y())[mark.x()] & 0xFFFFFF, HintColour);
        desk.Surface().HideHint();
      }
    }
  }

  // Wherever on the table the player asks, the pop-up opens on the table top: below the
  // piece, above it near the bottom, and never above the table (over the menus and the
  // title bar) when neither way has room.
  void HintOpensOnTheTable() {
    TableDesk desk(QSize(400, 200));
    QVERIFY(desk.Load(360, 270, 120));
    PuzzleChip* piece = desk.Chips().At(0);
    const QRect table(desk.top->mapToGlobal(QPoint(0, 0)), desk.top->size());
    // Pointer rows in the middle have room for the 74-pixel pop-up neither below nor above.
    QVERIFY(2 * (piece->Mask().TableHeight() + 74) > table.height());
    for (int y = 0; y < table.height(); y += 7)
      for (int x : {0, table.width() / 2, table.width() - 1}) {
        QCursor::setPos(table.topLeft() + QPoint(x, y));
        THintFrm ask(&desk.window, piece);
        QVERIFY2(table.contains(ask.geometry()),
                 qPrintable(QStringLiteral("pointer %1,%2: pop-up at %3,%4").arg(x).arg(y).arg(ask.x()).arg(ask.y())));
        if (y + piece->Mask().TableHeight() + ask.height() <= table.height())
          QCOMPARE(ask.y(), table.top() + y + piece->Mask().TableHeight());
      }
  }

  // A corner piece joined on one more side has one way left: the window answers with that
  // neighbour without showing; joined all round it answers "cancelled".
  void HintWithOneSideLeftAnswersAtOnce() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    PuzzleChip* corner = nullptr;
    for (int i = 0; i < desk.Chips().Count(); ++i)
      if (desk.Chips().At(i)->EdgeClass() == 1) corner = desk.Chips().At(i);
    QVERIFY(corner);
    corner->JoinSide(corner->Neighbour(ChipSide::Right));
    {
      THintFrm ask(&desk.window, corner);
      QCOMPARE(ask.ShowModal(), int(QDialog::Accepted));
      QVERIFY(!ask.isVisible());
      QCOMPARE(ask.Result(), corner->Neighbour(ChipSide::Down));
    }
    corner->JoinSide(corner->Neighbour(ChipSide::Down));
    THintFrm ask(&desk.window, corner);
    QCOMPARE(ask.ShowModal(), int(QDialog::Rejected));
    QVERIFY(!ask.Result());
  }

  // A saved magnifier rectangle, wherever it lies, comes back whole on the nearest screen's
  // work area with its size within the limits; one that lies on a screen stays as it was. A
  // magnifier saved far off the screens opens on the screen.
  void MagnifierPlacedOnScreens() {
    const QList<QList<QRect>> layouts{{QRect(0, 0, 1280, 1000)},
                                      {QRect(0, 0, 1280, 1000), QRect(1280, -200, 1920, 1040)}};
    const QSize least(TMagForm::MinWidth, TMagForm::MinHeight), most(1000, 800);
    QRandomGenerator random(7);
    for (const QList<QRect>& screens : layouts)
      for (int i = 0; i < 3000; ++i) {
        const QRect saved(random.bounded(-5000, 8000), random.bounded(-5000, 5000), random.bounded(1, 3000),
                          random.bounded(1, 3000));
        const QRect placed = TMagForm::PlaceOnScreens(saved, screens, least, most);
        QVERIFY(std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(placed); }));
        QVERIFY(placed.width() >= least.width() && placed.height() >= least.height());
        QVERIFY(placed.width() <= most.width() && placed.height() <= most.height());
        const bool fits = saved.width() >= least.width() && saved.height() >= least.height() &&
                          saved.width() <= most.width() && saved.height() <= most.height();
        if (fits && std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(saved); }))
          QCOMPARE(placed, saved);
      }

    ProgSettings& s = *Settings();
    s.MagnifierLeft = 9000;
    s.MagnifierTop = 7000;
    s.MagnifierWidth = 300;
    s.MagnifierHeight = 200;
    TMagForm magnifier(nullptr, nullptr);
    s.MagnifierLeft = s.MagnifierTop = s.MagnifierWidth = s.MagnifierHeight = -1;
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(magnifier.geometry()));
    QCOMPARE(magnifier.size(), QSize(300, 200));
  }
};

TV_QTEST_MAIN(TableWindowsQTest)
#include "TableWindowsQTest.moc"
