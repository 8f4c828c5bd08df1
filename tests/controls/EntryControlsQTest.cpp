// Number box limits, the choose box's item numbers and focus hand-over, and the image
// buttons' down and toggled states.

#include "QtTestMain.h"
#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "controls/FloatButton.h"
#include "controls/NumberBox.h"
#include "controls/XPButton.h"

#include <QAction>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
void Type(NumberBox& box, const QString& text) {
  box.selectAll();
  QTest::keyClick(&box, Qt::Key_Delete);
  QTest::keyClicks(&box, text);
}
}  // namespace

class EntryControlsQTest : public QObject {
  Q_OBJECT
private slots:
  void numberBoxKeepsTypedValuesWithinItsLimits() {
    NumberBox box;
    box.SetMin(10);
    box.SetMax(90);
    box.SetValue(55);
    box.show();
    Type(box, "200");
    QCOMPARE(box.Value(), 90);  // read before the edit is finished, as a dialog's OK does
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.value(), 90);
    QCOMPARE(box.text(), QString("90"));
    Type(box, "3");
    QCOMPARE(box.Value(), 10);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.value(), 10);
    box.SetValue(500);
    QCOMPARE(box.Value(), 90);
    box.SetMax(40);
    box.SetValue(55);
    QCOMPARE(box.Value(), 40);
  }

  void chooseBoxItemsCarryTheirNumbersAndBadIndexesGiveZero() {
    ChooseBox box;
    QCOMPARE(box.ItemObject(box.currentIndex()), 0);  // an empty box: "entry 0 when none is selected"
    box.AddItem("No minimum", 0);
    box.AddItem("48", 95);
    box.AddItem("108", 63);
    QCOMPARE(box.ItemObject(1), 95);
    QCOMPARE(box.ItemObject(2), 63);
    const int lines = TMsgLog::Lines().size();
    QCOMPARE(box.ItemObject(3), 0);
    QCOMPARE(box.ItemObject(-1), 0);
    QCOMPARE(TMsgLog::Lines().size(), lines + 2);
    QVERIFY(TMsgLog::Lines().last().contains("bad index"));
  }

  void chooseBoxPassesFocusOnEnter() {
    QWidget window;
    auto* box = new ChooseBox(&window);
    auto* list = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(list);
    box->AddItem("48", 95);
    box->PassFocusTo(list);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(list->hasFocus());
  }

  void xpButtonDownStateBelongsToItsOwner() {
    QAction action;
    int runs = 0;
    connect(&action, &QAction::triggered, this, [&] { ++runs; });
    XPButton button;
    button.SetAction(&action);
    button.show();
    button.SetDown(true);
    QVERIFY(button.Down());
    QCOMPARE(runs, 0);  // setting the state runs nothing
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(runs, 1);
    QVERIFY(button.Down());  // a click leaves it to the owner
    button.SetDown(false);
    QVERIFY(!button.Down());
    action.setEnabled(false);
    QVERIFY(!button.isEnabled());
  }

  void floatButtonTogglesOnlyWhenToggleable() {
    FloatButton plain, toggle;
    toggle.SetToggleable(true);
    plain.show();
    toggle.show();
    QTest::mouseClick(&plain, Qt::LeftButton);
    QTest::mouseClick(&toggle, Qt::LeftButton);
    QVERIFY(!plain.IsToggled());
    QVERIFY(toggle.IsToggled());
    QTest::mouseClick(&toggle, Qt::LeftButton);
    QVERIFY(!toggle.IsToggled());
  }
};

TV_QTEST_MAIN(EntryControlsQTest)
#include "EntryControlsQTest.moc"
