// The tip bar over a table area: its slide, its buttons over a history, the focus it never
// takes, and its end while the real frame timer still beats.

#include "QtTestMain.h"
#include "TipRig.h"

#include "controls/XPButton.h"
#include "table/JITTSlideTicks.h"
#include "table/TipBar.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A window whose table area holds a focusable table and the bar.
struct BarDesk {
  explicit BarDesk(int width = 640) {
    window.resize(width, 300);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    area = new QWidget(&window);
    layout->addWidget(area);
    auto* fill = new QVBoxLayout(area);
    fill->setContentsMargins(0, 0, 0, 0);
    table = new QWidget(area);
    table->setFocusPolicy(Qt::StrongFocus);
    fill->addWidget(table);
    bar = new TipBar(area);
    window.show();
    table->setFocus();
  }
  void Make() { manager = rig.Make(bar); }
  // The bar's top after each beat until the slide ends; a hidden bar reads as 1.
  std::vector<int> Beats() {
    std::vector<int> tops;
    while (manager->Sliding() && tops.size() < 50) {
      manager->SlideStep();
      tops.push_back(bar->isVisible() ? bar->y() : 1);
    }
    return tops;
  }

  TipRig rig;
  QWidget window;
  QWidget* area;
  QWidget* table;
  TipBar* bar;
  std::unique_ptr<JITTManager> manager;
};

void Click(XPButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

}  // namespace

class TipBarQTest : public QObject {
  Q_OBJECT
private slots:
  void slidesInAndOutAndTurnsRoundWhenClosedEarly();
  void dismissAndStayPut();
  void buttonsWalkTheHistoryAndOpenHelp();
  void restartAndShowLastTip();
  void liesAcrossTheTableWithoutTakingFocus();
  void endsSafelyWhileTheFrameTimerBeats();
};

void TipBarQTest::slidesInAndOutAndTurnsRoundWhenClosedEarly() {
  BarDesk desk;
  desk.Make();
  QVERIFY(!desk.bar->isVisible());
  QVERIFY(TipDisplay::Show(11));
  QVERIFY(desk.bar->isVisible());
  QCOMPARE(desk.bar->y(), -17);
  QCOMPARE(desk.Beats(), (std::vector<int>{-14, -11, -8, -5, -2, 0}));
  QVERIFY(desk.manager->OnScreen());
  desk.manager->SlideStep();  // a late beat moves nothing
  QCOMPARE(desk.bar->y(), 0);
  Click(desk.bar->CloseTipBtn);
  QCOMPARE(desk.Beats(), (std::vector<int>{-3, -6, -9, -12, -15, -18, -21, 1}));
  QVERIFY(!desk.bar->isVisible());
  QVERIFY(!desk.bar->TipTimer->isActive());

  // Closed while it comes down, it goes back up from where it is.
  QVERIFY(TipDisplay::Show(12));
  desk.manager->SlideStep();
  desk.manager->SlideStep();
  QCOMPARE(desk.bar->y(), -11);
  Click(desk.bar->CloseTipBtn);
  QCOMPARE(desk.Beats(), (std::vector<int>{-14, -17, -20, 1}));
  QVERIFY(!desk.bar->isVisible());
}

void TipBarQTest::dismissAndStayPut() {
  BarDesk desk;
  desk.Make();
  QVERIFY(TipDisplay::Show(0));
  QVERIFY(desk.bar->TipTimer->isActive());
  QCOMPARE(desk.bar->TipTimer->interval(), 20000);
  QVERIFY(!desk.bar->StayBtn->Down());
  desk.Beats();
  QVERIFY(QMetaObject::invokeMethod(desk.bar->TipTimer, "timeout"));
  QVERIFY(desk.manager->Sliding());
  desk.Beats();
  QVERIFY(!desk.bar->isVisible());

  // Stay Put down: the timer's end leaves the bar; letting it up closes it.
  QVERIFY(TipDisplay::Show(2));
  desk.Beats();
  Click(desk.bar->StayBtn);
  QVERIFY(desk.bar->StayBtn->Down());
  QVERIFY(QMetaObject::invokeMethod(desk.bar->TipTimer, "timeout"));
  QVERIFY(!desk.bar->TipTimer->isActive());
  QVERIFY(!desk.manager->Sliding());
  QCOMPARE(desk.bar->y(), 0);
  Click(desk.bar->StayBtn);
  QVERIFY(!desk.bar->StayBtn->Down());
  desk.Beats();
  QVERIFY(!desk.bar->isVisible());

  // Without auto dismiss the bar comes down staying put, and no timer runs.
  desk.rig.options.autoDismiss = false;
  QVERIFY(TipDisplay::Show(24) == false);  // spacing
  desk.rig.now += JITTManager::SpacingMs;
  QVERIFY(TipDisplay::Show(24));
  QVERIFY(desk.bar->StayBtn->Down());
  QVERIFY(!desk.bar->TipTimer->isActive());
  desk.Beats();
  QVERIFY(desk.bar->isVisible());
}

void TipBarQTest::buttonsWalkTheHistoryAndOpenHelp() {
  BarDesk desk(1000);  // room for the whole of every tip
  desk.rig.helpTopics.erase(730);  // a topic the help lacks
  desk.Make();
  for (int id : {5, 11, 0}) QVERIFY(TipDisplay::Show(id));
  desk.Beats();
  struct Look {
    int tip;
    bool back, fwd;
  };
  auto expect = [&](const Look& look) {
    QCOMPARE(desk.manager->Text(), desk.manager->Catalogue().FindTip(look.tip)->Text());
    QVERIFY(desk.bar->TipText->text().contains(
        desk.manager->Catalogue().FindTip(look.tip)->Text().toHtmlEscaped()));
    QCOMPARE(desk.bar->BackTipBtn->isEnabled(), look.back);
    QCOMPARE(desk.bar->FwdTipBtn->isEnabled(), look.fwd);
    QCOMPARE(desk.bar->TipDetailsBtn->isEnabled(),
             desk.manager->Catalogue().FindTip(look.tip)->HelpContext() != JITT::NoHelp);
  };
  expect({0, true, false});
  QVERIFY(desk.bar->TipText->text().startsWith(QStringLiteral("<p style=\"white-space:pre\"><b>Tip:</b>  ")));
  QCOMPARE(desk.bar->TipText->textInteractionFlags(), Qt::NoTextInteraction);
  Click(desk.bar->TipDetailsBtn);
  Click(desk.bar->FwdTipBtn);  // nothing newer
  expect({0, true, false});
  Click(desk.bar->BackTipBtn);
  expect({11, true, true});
  QVERIFY(desk.bar->StayBtn->Down());
  Click(desk.bar->TipDetailsBtn);
  Click(desk.bar->BackTipBtn);
  expect({5, false, true});
  QVERIFY(desk.bar->TipText->text().contains(QStringLiteral("&quot;What&#x27;s This&quot;")) ||
          desk.bar->TipText->text().contains(QStringLiteral("&quot;What's This&quot;")));
  Click(desk.bar->BackTipBtn);  // nothing older
  expect({5, false, true});
  Click(desk.bar->FwdTipBtn);
  expect({11, true, true});
  Click(desk.bar->FwdTipBtn);
  expect({0, true, false});
  QCOMPARE(desk.rig.helpOpened, (QStringList{"120", "Contents"}));
}

void TipBarQTest::restartAndShowLastTip() {
  BarDesk desk;
  desk.Make();
  desk.manager->ShowLastTip();  // nothing shown yet
  QVERIFY(!desk.bar->isVisible());
  for (int id : {11, 12}) QVERIFY(TipDisplay::Show(id));
  desk.Beats();
  Click(desk.bar->BackTipBtn);
  desk.manager->ShowLastTip();  // the bar is down: the older tip stays
  QCOMPARE(desk.manager->Text(), desk.manager->Catalogue().FindTip(11)->Text());
  Click(desk.bar->CloseTipBtn);
  desk.Beats();
  desk.manager->ShowLastTip();
  QVERIFY(desk.bar->isVisible());
  QCOMPARE(desk.manager->Text(), desk.manager->Catalogue().FindTip(12)->Text());
  QVERIFY(desk.bar->StayBtn->Down());
  desk.Beats();

  // Restarting the tips while the bar is down sends it away; no button reaches the emptied
  // history on its way out.
  desk.manager->ResetTips();
  QVERIFY(desk.manager->Sliding());
  const QString text = desk.manager->Text();
  for (XPButton* button : {desk.bar->BackTipBtn, desk.bar->FwdTipBtn, desk.bar->TipDetailsBtn}) {
    QVERIFY(!button->isEnabled());
    desk.manager->BackTipBtnClick();
    desk.manager->FwdTipBtnClick();
    desk.manager->TipDetailsBtnClick();
  }
  QCOMPARE(desk.manager->Text(), text);
  QVERIFY(desk.rig.helpOpened.isEmpty());
  desk.Beats();
  QVERIFY(!desk.bar->isVisible());
  desk.manager->ShowLastTip();
  QVERIFY(!desk.bar->isVisible());
  QVERIFY(TipDisplay::Show(11));
}

void TipBarQTest::liesAcrossTheTableWithoutTakingFocus() {
  BarDesk desk(762);
  desk.Make();
  QVERIFY(QTest::qWaitForWindowExposed(&desk.window));
  desk.window.activateWindow();
  desk.table->setFocus();
  QVERIFY(TipDisplay::Show(12));  // the longest tip
  desk.Beats();
  QCOMPARE(desk.bar->geometry(), QRect(0, 0, desk.area->width(), TipBar::BarHeight));
  QCOMPARE(desk.bar->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xE1));
  QCOMPARE(desk.bar->CloseTipBtn->size(), QSize(16, 16));
  // The text, smaller when it must be and cut short only on a very narrow table, stays
  // within its room, left of the buttons.
  for (int width : {762, 500}) {
    desk.window.resize(width, 300);
    QTRY_COMPARE(desk.bar->width(), desk.area->width());
    QVERIFY(desk.bar->CloseTipBtn->geometry().right() < desk.bar->width());
    QVERIFY(desk.bar->TipText->geometry().right() < desk.bar->BackTipBtn->x());
    QVERIFY2(desk.bar->TipText->sizeHint().width() <= desk.bar->TipText->width(),
             qPrintable(QString::number(desk.bar->TipText->sizeHint().width())));
    QCOMPARE(desk.bar->TipText->text().contains(QChar(0x2026)), width == 500);
  }
  for (QWidget* part : std::initializer_list<QWidget*>{desk.bar, desk.bar->TipText, desk.bar->BackTipBtn,
                                                       desk.bar->StayBtn, desk.bar->CloseTipBtn}) {
    QCOMPARE(part->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(part, Qt::LeftButton, {}, QPoint(2, 2));
  }
  QCOMPARE(desk.window.focusWidget(), desk.table);
}

// The real beat: the frame timer wakes the stepper thread, whose steps run on this thread.
// The manager and the bar are made and freed fifty times with beats in flight, in both
// orders.
void TipBarQTest::endsSafelyWhileTheFrameTimerBeats() {
  for (int round = 0; round < 50; ++round) {
    auto desk = std::make_unique<BarDesk>();
    JITTServices services = desk->rig.Services();
    services.ticks = std::make_unique<JITTSlideTicks>();
    desk->manager = std::make_unique<JITTManager>(std::move(services), desk->bar);
    QVERIFY(TipDisplay::Show(round % 2 ? 0 : 2));
    if (round == 0) {
      QTRY_VERIFY_WITH_TIMEOUT(desk->manager->OnScreen(), 5000);
      QCOMPARE(desk->bar->y(), 0);
      QCOMPARE(Framer::Count(), 0);  // a bar at rest keeps no timer running
      desk->manager->CloseTipBtnClick();
    }
    QTest::qWait(round % 5 * 15);
    if (round % 2) {
      delete desk->bar;
      desk->manager.reset();
    } else {
      desk->manager.reset();
      QVERIFY(!desk->bar->isVisible());
    }
    QCOMPARE(JITTManager::Global(), nullptr);
    QCOMPARE(TipDisplay::Current(), nullptr);
  }
  QCOMPARE(Framer::Count(), 0);
}

TV_QTEST_MAIN(TipBarQTest)
#include "TipBarQTest.moc"
