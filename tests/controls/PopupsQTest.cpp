// The pop-ups: the colour chooser must always report once (clNone when dismissed), a
// pop-up must stay on the screen, and context help must find the topic of the control
// clicked (or of the panel it sits on).

#include "QtTestMain.h"
#include "controls/TColorChooser.h"
#include "controls/WhatsThis.h"
#include "platform/HelpPopup.h"
#include "platform/HelpViewer.h"
#include "platform/HelpWindow.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QWhatsThis>

class PopupsQTest : public QObject {
  Q_OBJECT
private slots:
  void dismissedChooserReportsNoColourOncePerShowing() {
    TColorChooser chooser;
    QSignalSpy reports(&chooser, &TColorChooser::OnColorSelect);
    for (int showing = 1; showing <= 2; ++showing) {
      chooser.SetChosenColor(clRed);
      chooser.Show();
      QTest::keyClick(&chooser, Qt::Key_Escape);
      QVERIFY(!chooser.isVisible());
      QCOMPARE(reports.size(), showing);
      QCOMPARE(chooser.ChosenColor(), clNone);
    }
  }

  void chooserReportsThePickedColourOnce() {
    TColorChooser chooser;
    QSignalSpy reports(&chooser, &TColorChooser::OnColorSelect);
    chooser.SetChosenColor(clRed);
    chooser.Show();
    QTest::keyClick(&chooser, Qt::Key_Right);  // from red to lime
    QTest::keyClick(&chooser, Qt::Key_Return);
    QCOMPARE(reports.size(), 1);
    QCOMPARE(chooser.ChosenColor(), clLime);
    QVERIFY(!chooser.isVisible());
  }

  void specialChoiceGivesTheSpecialColour() {
    TColorChooser chooser;
    QSignalSpy reports(&chooser, &TColorChooser::OnColorSelect);
    chooser.SetSpecialLabel("Auto Color");
    chooser.SetSpecialColor(clBtnFace);
    chooser.SetChosenColor(clBtnFace);  // the gutter's colour is the special one
    chooser.Show();
    QTest::mouseClick(&chooser, Qt::LeftButton, {}, QPoint(chooser.width() / 2, chooser.height() - 12));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(chooser.ChosenColor(), clBtnFace);
  }

  void popupStaysInsideTheScreen() {
    const QRect screen(0, 0, 800, 600);
    QCOMPARE(SimpleForm::PlaceInside(screen, {100, 100}, {90, 120}), QPoint(100, 100));
    QCOMPARE(SimpleForm::PlaceInside(screen, {790, 590}, {90, 120}), QPoint(710, 480));
    QCOMPARE(SimpleForm::PlaceInside(QRect(100, 50, 800, 600), {0, 0}, {90, 120}), QPoint(100, 50));
  }

  void controlsTakeTheHelpContextOfTheirNearestPanel() {
    QWidget window;
    auto* panel = new QWidget(&window);
    auto* led = new QLabel(panel);
    auto* own = new QPushButton(panel);
    WhatsThis::SetHelpContext(panel, 770);
    WhatsThis::SetHelpContext(own, 210);
    QCOMPARE(WhatsThis::ContextFor(led), 770);
    QCOMPARE(WhatsThis::ContextFor(own), 210);
    QCOMPARE(WhatsThis::ContextFor(&window), 0);
    QVERIFY(HelpViewer::PopupText(210).contains("Snap indicator"));
    QCOMPARE(HelpViewer::PopupText(99999), QString("No Help topic is associated with this item."));
  }

  void clickInWhatsThisModeShowsTheTopicAndEndsTheMode() {
    QWidget window;
    auto* led = new QLabel("LED", &window);
    WhatsThis::SetHelpContext(led, 180);
    window.show();
    WhatsThis::Begin();
    QVERIFY(WhatsThis::Active());
    QHelpEvent click(QEvent::WhatsThis, QPoint(2, 2), led->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(led, &click);
    QVERIFY(click.isAccepted());
    QVERIFY(!WhatsThis::Active());
    auto* popup = qobject_cast<HelpPopup*>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QVERIFY(popup->findChild<QLabel*>("helpText")->text().contains("Performance indicator"));
    popup->close();
  }

  void helpWindowOpensOnlyAtTopicsItHas() {
    QVERIFY(HelpViewer::ShowTopic("Contents"));
    QVERIFY(HelpViewer::ShowContext(1100));
    QVERIFY(HelpViewer::ShowTopic("AdvancedOptions"));
    QVERIFY(!HelpViewer::ShowTopic("NoSuchTopic"));
    HelpWindow::Instance()->close();
  }
};

TV_QTEST_MAIN(PopupsQTest)
#include "PopupsQTest.moc"
