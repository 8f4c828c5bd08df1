#include "QtTestMain.h"
#include "Yelk/AbortRegister.h"
#include "Yelk/HourGlass.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QWidget>
#include <stdexcept>

class HourGlassQTest : public QObject {
  Q_OBJECT

private:
  QWidget window;
  QPushButton* button = nullptr;
  QLineEdit* edit = nullptr;
  QAction* shortcut = nullptr;
  QAction* cancel = nullptr;  // Esc as a window's shortcut must still reach the abort

private slots:
  void initTestCase() {
    auto* layout = new QVBoxLayout(&window);
    button = new QPushButton("Open");
    edit = new QLineEdit;
    layout->addWidget(button);
    layout->addWidget(edit);
    shortcut = new QAction(&window);
    shortcut->setShortcut(Qt::CTRL | Qt::Key_O);
    window.addAction(shortcut);
    cancel = new QAction(&window);
    cancel->setShortcut(Qt::Key_Escape);
    window.addAction(cancel);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    edit->setFocus();
  }

  void init() { edit->clear(); }

  void busyStateSwallowsInputAndEscAbortsOnce() {
    QSignalSpy clicks(button, &QPushButton::clicked);
    QSignalSpy triggered(shortcut, &QAction::triggered);
    QSignalSpy cancelled(cancel, &QAction::triggered);
    bool aborted = false;
    int abortEvents = 0;
    AbortRegister::AR().Register(&aborted);
    AbortRegister::AR().Register(this, [&](QObject*) { ++abortEvents; });
    {
      HourGlass::Scope busy;
      QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
      QTest::mouseClick(button, Qt::LeftButton);
      QTest::keyClicks(edit, "abc");
      QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier);
      QCOMPARE(clicks.count(), 0);
      QCOMPARE(edit->text(), QString());
      QCOMPARE(triggered.count(), 0);
      QVERIFY(!aborted);

      QTest::keyClick(edit, Qt::Key_Escape);
      QVERIFY(aborted);
      QCOMPARE(abortEvents, 1);
      QCOMPARE(cancelled.count(), 0);
    }
    AbortRegister::AR().Deregister(&aborted);
    AbortRegister::AR().Deregister(this);

    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(edit->text(), QString("abc"));
    QCOMPARE(triggered.count(), 1);
  }

  // A box shown while busy must take the player's answer.
  void suspendedBusyStateLetsInputThrough() {
    HourGlass::Scope busy;
    HourGlass::HG().Disable();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QTest::keyClicks(edit, "ok");
    QCOMPARE(edit->text(), QString("ok"));
    HourGlass::HG().Enable();
    QTest::keyClicks(edit, "x");
    QCOMPARE(edit->text(), QString("ok"));
  }

  void levelsNestAndStayPairedWhenWorkThrows() {
    try {
      HourGlass::Scope outer;
      HourGlass::Scope inner;
      QCOMPARE(HourGlass::HG().Level(), 2);
      throw std::runtime_error("work failed");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(HourGlass::HG().Level(), 0);
    QVERIFY(!HourGlass::HG().IsFiltering());
    HourGlass::HG().Reset();  // unpaired: ignored
    QCOMPARE(HourGlass::HG().Level(), 0);
    QTest::keyClicks(edit, "y");
    QCOMPARE(edit->text(), QString("y"));
  }
};

TV_QTEST_MAIN(HourGlassQTest)
#include "HourGlassQTest.moc"
