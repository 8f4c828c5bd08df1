#include "QtTestMain.h"
#include "TableDesk.h"

#include "settings/ProgSettings.h"

#include <QImage>

namespace {

// Where b lies once joined to a, both turned alike: b's first picture pixel lies where a's
// turn puts it.
QPoint JoinedPlace(const PuzzleChip& a, const PuzzleChip& b) {
  const ChipMask &ma = a.Mask(), &mb = b.Mask();
  const QPoint viaA = Turned(ma.Rotation(), mb.MinX() - ma.MinX(), mb.FirstRow() - ma.FirstRow(), ma.Width(), ma.Height());
  return QPoint(a.TableX(), a.TableY()) + viaA - Turned(mb.Rotation(), 0, 0, mb.Width(), mb.Height());
}

// Every mini's scales are its size over the table's, so that a point on a mini is a table point.
bool MinisFollowTable(TableDesk& desk) {
  const TableSurface& table = desk.Surface();
  for (auto& mini : desk.minis)
    if (table.GetWidth() <= 0 || mini->ZoomX() != double(mini->width()) / table.GetWidth() ||
        mini->ZoomY() != double(mini->height()) / table.GetHeight())
      return false;
  return true;
}

bool Joined(const PuzzleChip* a, const PuzzleChip* b) { return a->Group() && a->Group() == b->Group(); }

// A loose piece of the table that lies on top somewhere, and that point.
std::pair<PuzzleChip*, QPoint> LoosePiece(TableDesk& desk) {
  for (int i = 0; i < desk.Chips().Count(); ++i)
    if (PuzzleChip* piece = desk.Chips().At(i); !piece->Group())
      if (const auto grip = desk.GripOf(piece)) return {piece, *grip};
  return {nullptr, {}};
}

}  // namespace

class TableTopQTest : public QObject {
  Q_OBJECT

private slots:
  // A loose piece dragged to its neighbour's side joins it; the same drag ending a few snap
  // distances away does not. Over several pairs of neighbours lying on the table.
  void DragOntoNeighbourJoins() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    const int total = desk.PiecesAnywhere();
    const QRect table(0, 0, desk.Surface().GetWidth(), desk.Surface().GetHeight());
    const QPoint miss(3 * Settings()->SnapDistance, 3 * Settings()->SnapDistance);
    int pairs = 0;
    for (int i = 0; i < desk.Chips().Count() && pairs < 6; ++i) {
      PuzzleChip* a = desk.Chips().At(i);
      for (ChipSide side : {ChipSide::Right, ChipSide::Down}) {
        PuzzleChip* b = a->Neighbour(side);
        if (!b || a->Group() || b->Group() || !desk.Chips().Contains(b) || a->Mask().Rotation() != b->Mask().Rotation())
          continue;
        const QRect joined(JoinedPlace(*a, *b), QSize(b->Mask().TableWidth(), b->Mask().TableHeight()));
        const auto grip = desk.GripOf(b);
        if (!grip || !table.adjusted(20, 20, -20, -20).contains(joined)) continue;
        const QPoint shift = joined.topLeft() - QPoint(b->TableX(), b->TableY());
        desk.Drag(desk.top, *grip, desk.top, *grip + shift + miss);
        QVERIFY(!desk.Surface().Selection());
        QVERIFY(!Joined(a, b));
        const auto again = desk.GripOf(b);
        QVERIFY(again);
        desk.Drag(desk.top, *again, desk.top, *again + JoinedPlace(*a, *b) - QPoint(b->TableX(), b->TableY()));
        QVERIFY2(Joined(a, b), qPrintable(QStringLiteral("pieces %1 and %2").arg(a->Id()).arg(b->Id())));
        QCOMPARE(desk.PiecesAnywhere(), total);
        ++pairs;
        break;
      }
    }
    QVERIFY(pairs >= 3);
  }

  // A piece dragged onto an inactive mini lies there and no longer on the table; a click on
  // that mini brings its pieces onto the table and sends the table's to the mini that was
  // active, and a click there turns it all back. A mini dragged onto the table empties onto it.
  // Stepping through the minis wraps around at both ends. The minis' scales hold from the
  // first time the table is shown.
  void MiniTablesHoldAndSwitch() {
    TableDesk desk;
    QTRY_VERIFY(desk.Surface().TableBuffer() != nullptr);
    QVERIFY(MinisFollowTable(desk));
    QVERIFY(desk.Load(240, 180, 30));
    const int total = desk.PiecesAnywhere();
    MiniSurface& spare = desk.Mini(2);
    QVERIFY(desk.Mini(0).IsActive());
    QVERIFY(desk.Mini(0).Led().IsLit());
    QCOMPARE(spare.Chips().Count(), 0);
    const auto [piece, grip] = LoosePiece(desk);
    QVERIFY(piece);
    desk.Drag(desk.top, grip, &spare, spare.rect().center());
    QVERIFY(spare.Chips().Contains(piece));
    QVERIFY(!desk.Chips().Contains(piece));
    QCOMPARE(desk.PiecesAnywhere(), total);

    const int onTable = desk.Chips().Count();
    desk.Press(&spare, {10, 10});
    desk.Release(&spare, {10, 10});
    QVERIFY(spare.IsActive());
    QVERIFY(spare.Led().IsLit() && !desk.Mini(0).Led().IsLit());
    QCOMPARE(desk.Chips().Count(), 1);
    QVERIFY(desk.Chips().Contains(piece));
    QCOMPARE(desk.Mini(0).Chips().Count(), onTable);

    desk.Press(&desk.Mini(0), {10, 10});
    desk.Release(&desk.Mini(0), {10, 10});
    QVERIFY(desk.Mini(0).IsActive());
    QCOMPARE(desk.Chips().Count(), onTable);
    QVERIFY(spare.Chips().Contains(piece));
    QCOMPARE(desk.PiecesAnywhere(), total);

    // The inner pieces were put aside on the next mini at the start.
    MiniSurface& inner = desk.Mini(1);
    const int held = inner.Chips().Count();
    QVERIFY(held > 0);
    desk.Drag(&inner, {20, 20}, desk.top, {200, 150});
    QCOMPARE(inner.Chips().Count(), 0);
    QVERIFY(desk.Mini(0).IsActive());
    QCOMPARE(desk.Chips().Count(), onTable + held);
    QCOMPARE(desk.PiecesAnywhere(), total);

    for (int step = 1; step <= 4; ++step) {
      MiniSurface::SwitchToNext(desk.board);
      QVERIFY(desk.Mini(step % 4).IsActive());
    }
    MiniSurface::SwitchToPrevious(desk.board);
    QVERIFY(desk.Mini(3).IsActive());
    QCOMPARE(MiniSurface::FindMiniWithChip(desk.board, piece), &spare);
    QCOMPARE(desk.PiecesAnywhere(), total);
  }

  // A wheel-button trail crosses between the table and the minis. Started on the table, a
  // piece it lays on an inactive mini goes to the table point that mini shows under the
  // pointer (not to the table's edge); started on a mini, it goes on laying pieces once the
  // pointer is over the table.
  void ReleaseTrailCrossesBetweenTableAndMinis() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    const int total = desk.PiecesAnywhere();
    for (int i = 0; i < 4; ++i) {
      const auto [piece, grip] = LoosePiece(desk);
      QVERIFY(piece);
      desk.Press(desk.top, grip, Qt::MiddleButton);
      desk.Release(desk.top, grip, Qt::MiddleButton);
      QVERIFY(PuzzleChip::CapturedList().Contains(piece));
    }
    const QRect table(0, 0, desk.Surface().GetWidth(), desk.Surface().GetHeight());
    const auto emptyPoint = [&](QPoint from) {
      for (int y = from.y(); y < table.height() - 40; y += 7)
        for (int x = from.x(); x < table.width() - 40; x += 7)
          if (!desk.Chips().HitTest(x, y)) return QPoint(x, y);
      return QPoint(-1, -1);
    };
    // The table point a point of the mini stands for, worked out from the sizes alone.
    MiniSurface& spare = desk.Mini(2);
    const auto shownBy = [&](QPoint onMini) {
      return QPoint(onMini.x() * table.width() / spare.width(), onMini.y() * table.height() / spare.height());
    };
    const auto centre = [](const PuzzleChip* p) {
      return QPoint(p->TableX() + p->Mask().TableWidth() / 2, p->TableY() + p->Mask().TableHeight() / 2);
    };
    const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 4; };

    const QPoint start = emptyPoint({40, 40});
    QVERIFY(start.x() >= 0);
    ChipList& captured = PuzzleChip::CapturedList();
    PuzzleChip* first = captured.At(captured.Count() - 1);
    PuzzleChip* second = captured.At(captured.Count() - 2);
    desk.Press(desk.top, start, Qt::MiddleButton);
    QVERIFY(desk.Chips().Contains(first));
    const QPoint onMini(spare.width() / 2, spare.height() / 2);
    desk.Move(&spare, onMini);
    desk.Release(&spare, onMini, Qt::MiddleButton);
    QVERIFY(spare.Chips().Contains(second));
    QVERIFY2(near(centre(second), shownBy(onMini)),
             qPrintable(QStringLiteral("%1,%2").arg(centre(second).x()).arg(centre(second).y())));

    PuzzleChip* third = captured.At(captured.Count() - 1);
    PuzzleChip* fourth = captured.At(captured.Count() - 2);
    const QPoint onMiniToo(spare.width() / 3, spare.height() / 3);
    desk.Press(&spare, onMiniToo, Qt::MiddleButton);
    QVERIFY(spare.Chips().Contains(third));
    QVERIFY(near(centre(third), shownBy(onMiniToo)));
    const QPoint over = emptyPoint({table.width() / 2, table.height() / 2});
    QVERIFY(over.x() >= 0);
    desk.Move(desk.top, over - QPoint(20, 0));
    desk.Move(desk.top, over);
    desk.Release(desk.top, over, Qt::MiddleButton);
    QVERIFY(desk.Chips().Contains(fourth));
    QVERIFY(captured.IsEmpty());
    QCOMPARE(desk.PiecesAnywhere(), total);
  }

  // A resize while a piece is carried, dragged or hanging at the pointer after a click, lays
  // it down where it is: nothing is lost, every piece lies on the new table, and the pointer's
  // later moves and release do no harm.
  void ResizeWhileCarrying() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    const int total = desk.PiecesAnywhere();
    for (const QSize size : {QSize(620, 430), QSize(800, 560), QSize(700, 500)}) {
      const auto [piece, grip] = LoosePiece(desk);
      QVERIFY(piece);
      const bool hanging = size.width() == 700;
      desk.Press(desk.top, grip);
      if (hanging) {
        desk.Release(desk.top, grip);
        QCOMPARE(QWidget::mouseGrabber(), desk.top);
      } else {
        desk.Move(desk.top, grip + QPoint(20, 12));
      }
      QVERIFY(desk.Surface().Selection());
      const QSize before = desk.top->size();
      desk.window.resize(size);
      QTRY_VERIFY(desk.top->size() != before);
      QVERIFY(!desk.Surface().Selection());
      QCOMPARE(desk.Surface().GetWidth(), desk.top->width());
      QCOMPARE(desk.PiecesAnywhere(), total);
      QCOMPARE(OffTable(desk.Surface()), std::string());
      QVERIFY(MinisFollowTable(desk));
      QVERIFY(QWidget::mouseGrabber() == nullptr || !hanging);
      desk.Move(desk.top, grip + QPoint(40, 30));
      desk.Release(desk.top, grip + QPoint(40, 30));
      QVERIFY(!desk.Surface().Selection());
      QCOMPARE(desk.PiecesAnywhere(), total);
    }
  }

  // While resizes are held the window may pass through a smaller size and come back: the
  // table ends at the window's final size, also when that is the size it had before, with its
  // pieces where they lay and nothing captured. A resize during a load is held the same way.
  void HeldResizeReturningToTheStartKeepsTheStart() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    const QSize start = desk.top->size();
    const QSize windowStart = desk.window.size();
    std::vector<QPoint> places;
    for (int i = 0; i < desk.Chips().Count(); ++i)
      places.emplace_back(desk.Chips().At(i)->TableX(), desk.Chips().At(i)->TableY());
    desk.Surface().HoldResizes();
    desk.window.resize(windowStart - QSize(200, 150));
    QTRY_VERIFY(desk.top->size() != start);
    desk.window.resize(windowStart);
    QTRY_COMPARE(desk.top->size(), start);
    desk.Surface().ReleaseResizes();
    QCOMPARE(QSize(desk.Surface().GetWidth(), desk.Surface().GetHeight()), start);
    for (int i = 0; i < desk.Chips().Count(); ++i)
      QCOMPARE(QPoint(desk.Chips().At(i)->TableX(), desk.Chips().At(i)->TableY()), places[std::size_t(i)]);
    QVERIFY(PuzzleChip::CapturedList().IsEmpty());
    QVERIFY(MinisFollowTable(desk));

    // Resized while the next load runs (the loading window lets events through): the table
    // keeps its size until the load is over, then takes the window's.
    bool resizedDuringLoad = false;
    TLoadBarForm::SetWaiter([&](int) {
      if (resizedDuringLoad) return;
      resizedDuringLoad = true;
      desk.window.resize(windowStart + QSize(60, 40));
      QTRY_VERIFY(desk.top->size() != start);
      QCOMPARE(QSize(desk.Surface().GetWidth(), desk.Surface().GetHeight()), start);
    });
    QVERIFY(desk.Load(240, 180, 30));
    QVERIFY(resizedDuringLoad);
    QCOMPARE(QSize(desk.Surface().GetWidth(), desk.Surface().GetHeight()), desk.top->size());
    QVERIFY(!desk.Surface().HoldsResizes());
    QCOMPARE(OffTable(desk.Surface()), std::string());
  }

  // A window larger than the pixel map can index gets the largest table of its shape under
  // 2^24 pixels at its top-left, the table's colour beyond it, and a pointer there counts as
  // off the table.
  void TableCappedInHugeWindow() {
    TableDesk desk(QSize(4300, 4100));
    QTRY_VERIFY(desk.Surface().TableBuffer() != nullptr);
    const VirtualBuffer& table = *desk.Surface().TableBuffer();
    QVERIFY(std::int64_t(desk.top->width()) * desk.top->height() >= TableSurface::MaxTablePixels);
    QVERIFY(std::int64_t(table.width) * table.height < TableSurface::MaxTablePixels);
    QVERIFY(table.width < desk.top->width() && table.height < desk.top->height());
    desk.Move(desk.top, {table.width - 5, table.height - 5});
    QVERIFY(desk.top->IsCursorInside());
    desk.Move(desk.top, {table.width + 5, 5});
    QVERIFY(!desk.top->IsCursorInside());
    const QImage shown = desk.top->grab(QRect(table.width, table.height, 8, 8)).toImage();
    QCOMPARE(shown.pixel(4, 4) & 0xFFFFFFu, std::uint32_t(Settings()->BackgroundColor & 0xFFFFFF));
  }
};

TV_QTEST_MAIN(TableTopQTest)
#include "TableTopQTest.moc"
