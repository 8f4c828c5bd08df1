// Where a key's release goes: only to the window its press went to. A press swallowed while
// the game is busy (a load) went nowhere, so its release after the load goes nowhere either.

#include "KeyRouting.h"
#include "QtTestMain.h"

#include "Yelk/HourGlass.h"

#include <QKeyEvent>
#include <QWidget>

namespace {
class KeyWindow : public QWidget {
public:
  QList<int> releases;
  QList<int> presses;

protected:
  void keyPressEvent(QKeyEvent* event) override { presses << event->key(); }
  void keyReleaseEvent(QKeyEvent* event) override { releases << event->key(); }
};
}  // namespace

class KeyRoutingQTest : public QObject {
  Q_OBJECT

private slots:
  void ReleaseFollowsItsPressAlsoAcrossABusyTime() {
    KeyRouting routing;
    KeyWindow main, other;
    main.show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QTest::keyPress(&main, Qt::Key_Down);
    QTest::keyRelease(&main, Qt::Key_Down);
    QCOMPARE(main.releases, QList<int>{Qt::Key_Down});

    // Pressed in one window, let go in another: the release is dropped.
    QTest::keyPress(&other, Qt::Key_Up);
    QTest::keyRelease(&main, Qt::Key_Up);
    QCOMPARE(main.releases, QList<int>{Qt::Key_Down});

    // Pressed while busy (swallowed), let go after: the release acts on nothing, also in the
    // window the key went to last time. The busy state began after the router: it comes
    // first among the filters, yet the router still sees the press.
    main.releases.clear();
    main.presses.clear();
    HourGlass::HG().Set();
    QTest::keyPress(&main, Qt::Key_Down);
    HourGlass::HG().Reset();
    QVERIFY(main.presses.isEmpty());
    QTest::keyRelease(&main, Qt::Key_Down);
    QVERIFY(main.releases.isEmpty());

    // A busy time suspended by a box and resumed puts the swallowing filter in front again.
    HourGlass::HG().Set();
    HourGlass::HG().Disable();
    HourGlass::HG().Enable();
    QTest::keyPress(&main, Qt::Key_Down);
    HourGlass::HG().Reset();
    QTest::keyRelease(&main, Qt::Key_Down);
    QVERIFY(main.releases.isEmpty());

    // After the busy time a fresh press and release reach the window again.
    QTest::keyPress(&main, Qt::Key_Down);
    QTest::keyRelease(&main, Qt::Key_Down);
    QCOMPARE(main.releases, QList<int>{Qt::Key_Down});
  }
};

TV_QTEST_MAIN(KeyRoutingQTest)
#include "KeyRoutingQTest.moc"
