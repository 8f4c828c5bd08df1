// Where a key's release and repeats go: only to the window its press went to. A press
// swallowed while the game is busy (a load) went nowhere, so its release and repeats after the
// load go nowhere either.

#include "KeyRouting.h"
#include "QtTestMain.h"

#include "Yelk/HourGlass.h"

#include <QApplication>
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

    // Held past the busy time, its repeats go nowhere either: each a release and a press at
    // one moment, marked as a repeat or (seen apart under load) not.
    HourGlass::HG().Set();
    QTest::keyPress(&main, Qt::Key_Down);
    HourGlass::HG().Reset();
    for (const bool marked : {true, false}) {
      for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_Down, Qt::NoModifier, QString(), marked);
        repeat.setTimestamp(marked ? 500 : 600);
        QApplication::sendEvent(&main, &repeat);
      }
    }
    QTest::keyRelease(&main, Qt::Key_Down);
    QVERIFY(main.presses.isEmpty() && main.releases.isEmpty());

    // After the busy time a fresh press and release reach the window again.
    QTest::keyPress(&main, Qt::Key_Down);
    QTest::keyRelease(&main, Qt::Key_Down);
    QCOMPARE(main.releases, QList<int>{Qt::Key_Down});
  }
};

TV_QTEST_MAIN(KeyRoutingQTest)
#include "KeyRoutingQTest.moc"
