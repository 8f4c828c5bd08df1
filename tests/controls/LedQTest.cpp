// The snap indicator: it must flash at its rate, never spin on a zero rate, and mark
// its window's caption exactly when the setting says so.

#include "QtTestMain.h"
#include "controls/SmallLed.h"

#include <QTimer>

namespace {
const QString Title = "Tessavinelume Jigsaw Puzzles - Castle";

QTimer* FlashTimer(SmallLed& led) { return led.findChild<QTimer*>("flashTimer"); }
void Tick(SmallLed& led) { QMetaObject::invokeMethod(FlashTimer(led), "timeout"); }

// A shown window with a panel holding the LED, as the main window's control panel does.
struct Window {
  QWidget window;
  QWidget* panel;
  SmallLed* led;
  Window() : panel(new QWidget(&window)), led(new SmallLed(panel)) {
    window.setWindowTitle(Title);
    window.show();
  }
};
}  // namespace

class LedQTest : public QObject {
  Q_OBJECT
private slots:
  void flashesAtItsRateAndSettlesOnItsLitState() {
    SmallLed led;
    led.SetFlash(true);
    QCOMPARE(FlashTimer(led)->interval(), SmallLed::DefaultFlashRate);
    led.SetFlashRate(200);
    QVERIFY(FlashTimer(led)->isActive());
    QCOMPARE(FlashTimer(led)->interval(), 200);
    QVERIFY(led.ShowsLight());
    Tick(led);
    QVERIFY(!led.ShowsLight());
    Tick(led);
    QVERIFY(led.ShowsLight());
    Tick(led);
    led.SetLit(true);
    led.SetFlash(false);
    QVERIFY(!FlashTimer(led)->isActive());
    QVERIFY(led.ShowsLight());
    led.SetLit(false);
    QVERIFY(!led.ShowsLight());
  }

  void rateOfZeroOrLessShowsSteadyLightWithoutTimer() {
    for (int rate : {0, -5}) {
      SmallLed led;
      led.SetFlashRate(rate);
      led.SetFlash(true);
      QVERIFY(!FlashTimer(led)->isActive());
      QVERIFY(led.ShowsLight());
    }
  }

  void marksCaptionPerSetting() {
    Window w;
    w.led->SetLit(true);
    QCOMPARE(w.window.windowTitle(), Title);  // csNever is the default
    w.led->SetUseCaption(csAlways);
    QCOMPARE(w.window.windowTitle(), Title + SmallLed::CaptionMark);
    w.led->SetLit(false);
    QCOMPARE(w.window.windowTitle(), Title);

    w.led->SetUseCaption(csWhenInvisible);
    w.led->SetLit(true);
    QCOMPARE(w.window.windowTitle(), Title);
    w.panel->hide();  // the control panel is hidden
    QCOMPARE(w.window.windowTitle(), Title + SmallLed::CaptionMark);
    w.panel->show();
    QCOMPARE(w.window.windowTitle(), Title);
    w.led->hide();  // the LED follows the panel on its own
    QCOMPARE(w.window.windowTitle(), Title + SmallLed::CaptionMark);
  }

  void markFollowsFlashAndSurvivesANewCaption() {
    Window w;
    w.led->SetUseCaption(csAlways);
    w.led->SetFlashRate(200);
    w.led->SetFlash(true);
    QCOMPARE(w.window.windowTitle(), Title + SmallLed::CaptionMark);
    Tick(*w.led);
    QCOMPARE(w.window.windowTitle(), Title);
    Tick(*w.led);
    w.window.setWindowTitle("Tessavinelume Jigsaw Puzzles - Harbour");
    QCOMPARE(w.window.windowTitle(), "Tessavinelume Jigsaw Puzzles - Harbour" + SmallLed::CaptionMark);
    delete w.led;
    QCOMPARE(w.window.windowTitle(), QString("Tessavinelume Jigsaw Puzzles - Harbour"));
  }
};

TV_QTEST_MAIN(LedQTest)
#include "LedQTest.moc"
