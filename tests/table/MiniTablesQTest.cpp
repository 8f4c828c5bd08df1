// Mini tables beyond the plain switch: pieces let out through a mini whose shape is not the
// table's (each axis by its own scale), a drag of the active mini that must change nothing,
// where a click ends and a drag begins, and the hint cross drawn on a mini and taken off
// again pixel for pixel.

#include "QtTestMain.h"
#include "TableDesk.h"

#include "settings/ProgSettings.h"

#include <QScreen>

namespace {

constexpr QRgb HintColour = 0xFFE784;

QPoint Middle(const PuzzleChip& p) {
  return {p.TableX() + p.Mask().TableWidth() / 2, p.TableY() + p.Mask().TableHeight() / 2};
}

// The table point under a mini point, axis by axis, to the nearest pixel.
QPoint OnTable(TableDesk& desk, const MiniSurface& mini, QPoint at) {
  return {int(std::floor(double(at.x()) * desk.Surface().GetWidth() / mini.width() + 0.5)),
          int(std::floor(double(at.y()) * desk.Surface().GetHeight() / mini.height() + 0.5))};
}

// Where every piece lies, in the table's order.
QList<QPoint> Places(TableDesk& desk) {
  QList<QPoint> out;
  for (int i = 0; i < desk.Chips().Count(); ++i) out << QPoint(desk.Chips().At(i)->TableX(), desk.Chips().At(i)->TableY());
  return out;
}

// What the screen shows of a widget: its window's backing store, not a fresh paint.
QImage OnScreen(TableDesk& desk, QWidget& widget) {
  const QPoint at = widget.mapTo(&desk.window, QPoint(0, 0));
  return desk.window.screen()->grabWindow(desk.window.winId(), at.x(), at.y(), widget.width(), widget.height()).toImage();
}

void Capture(TableDesk& desk, PuzzleChip* piece) {
  const std::optional<QPoint> grip = desk.GripOf(piece);
  QVERIFY(grip);
  QCursor::setPos(desk.top->mapToGlobal(*grip));  // off the minis: a press there would let one out
  desk.Surface().MouseDown(TableSurface::MiddleButton, grip->x(), grip->y());
  desk.Surface().MouseUp(TableSurface::MiddleButton, grip->x(), grip->y());
  QVERIFY(PuzzleChip::CapturedList().Contains(piece));
}

}  // namespace

class MiniTablesQTest : public QObject {
  Q_OBJECT

private slots:
  void init() {
    Settings()->IsolateEdges = false;
    Settings()->DragBetweenMinis = true;
  }

  // Captured pieces come out on the table where the wheel button presses, and then moves,
  // on the active mini; x and y each scaled by their own side's ratio.
  void ReleasesThroughAMiniOfAnotherShape() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    MiniSurface& mini = desk.Mini(0);
    QVERIFY(mini.IsActive());
    const double sx = double(mini.width()) / desk.Surface().GetWidth(), sy = double(mini.height()) / desk.Surface().GetHeight();
    QVERIFY2(std::abs(sx - sy) > 0.1 * sx, "the mini has the table's shape");
    PuzzleChip* first = desk.Chips().At(desk.Chips().Count() - 1);
    PuzzleChip* second = desk.Chips().At(desk.Chips().Count() - 2);
    Capture(desk, second);
    Capture(desk, first);
    // The last captured comes out first, centred under the press.
    const QPoint press(20, 60), move(100, 15);
    desk.Press(&mini, press, Qt::MiddleButton);
    QCOMPARE(Middle(*first), OnTable(desk, mini, press));
    QCOMPARE(PuzzleChip::CapturedList().Count(), 1);
    // Far enough along the trail, the next one.
    for (int step = 1; step <= 4; ++step) {
      const QPoint at = press + (move - press) * step / 4;
      QMouseEvent moved(QEvent::MouseMove, at, mini.mapToGlobal(at), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
      QCursor::setPos(mini.mapToGlobal(at));
      QApplication::sendEvent(&mini, &moved);
    }
    QVERIFY(PuzzleChip::CapturedList().IsEmpty());
    desk.Release(&mini, move, Qt::MiddleButton);
    const QPoint out = Middle(*second);
    bool alongTrail = false;
    for (int step = 1; step <= 4; ++step) alongTrail |= out == OnTable(desk, mini, press + (move - press) * step / 4);
    QVERIFY2(alongTrail, qPrintable(QStringLiteral("%1,%2").arg(out.x()).arg(out.y())));
    QVERIFY(desk.Chips().Contains(first) && desk.Chips().Contains(second));
  }

  // The active mini shows this table: dragging it onto the table moves nothing anywhere.
  // Six pixels make a drag; five are a click, which switches an inactive mini in.
  void DragOfTheActiveMiniAndTheClickBoundary() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    const int total = desk.PiecesAnywhere();
    const QList<QPoint> before = Places(desk);
    QList<int> held;
    for (auto& mini : desk.minis) held << mini->Chips().Count();
    desk.Drag(&desk.Mini(0), {30, 30}, desk.top, {200, 150});
    QVERIFY(desk.Mini(0).IsActive());
    QCOMPARE(Places(desk), before);
    for (int i = 0; i < 4; ++i) QCOMPARE(desk.Mini(i).Chips().Count(), held[i]);
    QCOMPARE(desk.PiecesAnywhere(), total);

    MiniSurface& spare = desk.Mini(2);
    desk.Press(&spare, {10, 10});
    desk.Move(&spare, {16, 10});
    desk.Release(&spare, {16, 10});
    QVERIFY(!spare.IsActive());
    QCOMPARE(Places(desk), before);
    desk.Press(&spare, {10, 10});
    desk.Move(&spare, {15, 10});
    desk.Release(&spare, {15, 10});
    QVERIFY(spare.IsActive());
    QCOMPARE(desk.PiecesAnywhere(), total);
  }

  // The cross marks the piece's place on its mini, across the whole mini; hidden, the mini
  // looks exactly as before on the screen at once.
  void HintCrossOnAMiniComesAndGoes() {
    TableDesk desk;
    QVERIFY(desk.Load(240, 180, 30));
    MiniSurface& spare = desk.Mini(2);
    PuzzleChip* piece = nullptr;
    for (int i = 0; i < desk.Chips().Count() && !piece; ++i)
      if (!desk.Chips().At(i)->Group() && desk.GripOf(desk.Chips().At(i))) piece = desk.Chips().At(i);
    QVERIFY(piece);
    desk.Drag(desk.top, *desk.GripOf(piece), &spare, spare.rect().center());
    QVERIFY(spare.Chips().Contains(piece));
    QCoreApplication::processEvents();
    const QImage before = OnScreen(desk, spare);
    const int w = spare.width(), h = spare.height();
    const QPoint mark(int(std::floor((w - 1) * piece->CentreX() + 0.5)), int(std::floor((h - 1) * piece->CentreY() + 0.5)));
    // Its column on the table top's axis comes back (here left of the table top).
    QCOMPARE(spare.ShowHintMarker(piece), desk.top->mapFromGlobal(spare.mapToGlobal(mark)).x());
    const QImage shown = OnScreen(desk, spare);
    for (int x = 0; x < w; ++x) QCOMPARE(shown.pixel(x, mark.y()) & 0xFFFFFF, HintColour);
    for (int y = 0; y < h; ++y) QCOMPARE(shown.pixel(mark.x(), y) & 0xFFFFFF, HintColour);
    // A second cross is not drawn while one shows.
    QCOMPARE(spare.ShowHintMarker(piece), -1);
    spare.HideHintMarker();
    QCOMPARE(OnScreen(desk, spare), before);
  }
};

TV_QTEST_MAIN(MiniTablesQTest)
#include "MiniTablesQTest.moc"
