// The storm's view of a real X server with a window manager, on a window of this program: it
// finds the window by the process and where it lies, a ping comes back only once the main
// thread has handled events (the heartbeat), and the window manager's close reaches it.

#include "StormScreen.h"

#include "QtTestMain.h"

#include <QCloseEvent>
#include <QMenu>
#include <QWidget>
#include <QtTest>

#include <algorithm>
#include <unistd.h>

namespace {
class Closable : public QWidget {
public:
  int closes = 0;

protected:
  void closeEvent(QCloseEvent* event) override {
    ++closes;
    event->ignore();
  }
};

const GameWindow* Find(const std::vector<GameWindow>& windows, WId id) {
  const auto found = std::find_if(windows.begin(), windows.end(), [id](const GameWindow& w) { return w.id == id; });
  return found == windows.end() ? nullptr : &*found;
}
}  // namespace

class StormScreenRealXQTest : public QObject {
  Q_OBJECT
private slots:
  void findsTheWindowPingsItAndClosesIt() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    StormScreen screen;
    QVERIFY(screen.IsConnected());
    Closable window;
    window.setWindowTitle(QStringLiteral("Storm target"));
    window.setGeometry(100, 120, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(Find(screen.Windows(getpid()), window.winId()));
    const GameWindow found = *Find(screen.Windows(getpid()), window.winId());
    QCOMPARE(found.title, QStringLiteral("Storm target"));
    QVERIFY(!found.popup);
    QCOMPARE(found.rect.size(), window.size());
    QCOMPARE(found.rect.topLeft(), window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(screen.Windows(getpid() + 1).empty() || !Find(screen.Windows(getpid() + 1), window.winId()));

    // Not answered while this thread handles no events; answered once it does.
    const std::uint32_t before = screen.Answered();
    screen.Ping(window.winId(), before + 1);
    QCOMPARE(screen.Answered(), before);
    QTRY_COMPARE(screen.Answered(), before + 1);

    screen.Close(window.winId());
    QTRY_COMPARE(window.closes, 1);

    // A menu lies on the root, outside the window manager's list: a pop-up of this process.
    QMenu menu;
    menu.addAction(QStringLiteral("One"));
    menu.popup(QPoint(200, 200));
    QTRY_VERIFY(Find(screen.Windows(getpid()), menu.winId()) && Find(screen.Windows(getpid()), menu.winId())->popup);
  }
};

TV_QTEST_MAIN(StormScreenRealXQTest)
#include "StormScreenRealXQTest.moc"
