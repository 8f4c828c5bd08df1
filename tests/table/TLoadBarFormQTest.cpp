#include "QtTestMain.h"
#include "table/TLoadBarForm.h"
#include "Yelk/AbortRegister.h"
#include "Yelk/TMsgLog.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

class TLoadBarFormQTest : public QObject {
  Q_OBJECT

  QList<int> waits;

private slots:
  void init() {
    waits.clear();
    TLoadBarForm::SetWaiter([this](int ms) { waits.append(ms); });
  }
  void cleanup() { TLoadBarForm::SetWaiter({}); }

  // Each stage lights its icon, shows its caption and restarts the bar; every stage after
  // the first keeps the previous one visible for 250 ms, and so does closing.
  void StagesStepThrough() {
    TLoadBarForm form;
    form.show();
    const QStringList captions = {"Creating puzzle piece patterns...", "Creating puzzle pieces...",
                                  "Positioning puzzle pieces...", "Loading video content..."};
    QToolButton* const buttons[] = {form.DieBtn, form.CutBtn, form.PositionBtn, form.LoadBtn};
    for (int stage = 2; stage <= 5; ++stage) {
      form.SetBarPosition(70);
      form.SetStage(stage);
      QCOMPARE(form.ProgressLbl->text(), captions[stage - 2]);
      QCOMPARE(form.BarPosition(), 0);
      const QImage lit = form.ProgressImages[stage - 1].toImage();
      for (int i = 0; i < 4; ++i) {
        const QImage shown = buttons[i]->icon().pixmap(24, 24, QIcon::Disabled).toImage();
        QCOMPARE(shown == lit, i == stage - 2);
      }
    }
    QCOMPARE(waits, QList<int>({250, 250, 250}));
    form.close();
    QCOMPARE(waits.size(), 4);
    QVERIFY(TLoadBarForm::LoadIsRunning());
  }

  // The bar does not move before a stage is shown, and stays within 0..100 (the cutting
  // steps add up to 101).
  void BarStaysInRange() {
    TLoadBarForm form;
    form.SetBarPosition(40);
    QCOMPARE(form.BarPosition(), 0);
    QCOMPARE(form.LoadBar->value(), 0);
    form.SetStage(2);
    form.AdvanceBar(60);
    form.AdvanceBar(41);
    QCOMPARE(form.BarPosition(), 100);
    form.SetBarPosition(-3);
    QCOMPARE(form.BarPosition(), 0);
  }

  // Esc in the window cancels; the next setter logs the stage and bar position.
  void EscapeCancels() {
    TLoadBarForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.SetStage(3);
    form.SetBarPosition(40);
    QVERIFY(!form.IsCancelled());
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(form.IsCancelled());
    form.SetBarPosition(41);
    QVERIFY(TMsgLog::GetLogAsString().contains("Load Bar Cancel, stage=3, barPos=40"));
  }

  // A window destroyed without being closed (a load that threw) leaves no flag behind for
  // the next Esc to write into.
  void DestroyedWithoutCloseDeregisters() {
    bool other = false;
    AbortRegister::AR().Register(&other);
    {
      auto* form = new TLoadBarForm;
      form->SetStage(2);
      delete form;
    }
    AbortRegister::AR().Abort();  // under the address sanitizer, a stale flag is caught here
    QVERIFY(other);
    AbortRegister::AR().Deregister(&other);
    QVERIFY(!TLoadBarForm::LoadIsRunning());
  }

  // The end of a load deletes the shown window: it closes first, keeping its last stage in
  // view for the closing pause; a window never shown has nothing to keep in view.
  void DeletedWhileShownClosesWithItsPause() {
    auto* form = new TLoadBarForm;
    form->show();
    form->SetStage(4);
    waits.clear();
    delete form;
    QCOMPARE(waits, QList<int>{250});
    waits.clear();
    delete new TLoadBarForm;
    QVERIFY(waits.isEmpty());
  }

  // The pauses between stages and at closing let the program go on (a queued call runs,
  // the window repaints) and end at once on Esc; a cancelled load pauses no more.
  void PausesLetEventsThroughAndEndOnEsc() {
    TLoadBarForm::SetWaiter({});
    TLoadBarForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.SetStage(2);
    bool ran = false;
    QTimer::singleShot(0, &form, [&] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    form.SetStage(3);
    QVERIFY(ran);
    QVERIFY(clock.elapsed() >= 240);
    // Esc a moment into the pause.
    QTimer::singleShot(30, &form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    clock.restart();
    form.SetStage(4);
    QVERIFY(form.IsCancelled());
    QVERIFY2(clock.elapsed() < 240, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(form.GetStage(), 4);
    clock.restart();
    form.SetStage(5);
    QVERIFY2(clock.elapsed() < 240, qPrintable(QString::number(clock.elapsed())));
  }

  // Once everything is loaded Esc counts one last time; after that the window no longer
  // offers it and an Esc changes nothing.
  void LastCancelCheckEndsTheOffer() {
    {
      TLoadBarForm form;
      form.show();
      QVERIFY(QTest::qWaitForWindowActive(&form));
      form.SetStage(5);
      form.SetBarPosition(100);
      QCOMPARE(form.Label1->text(), QStringLiteral("Press 'Esc' to cancel"));
      QTimer::singleShot(0, &form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
      QVERIFY(form.LastCancelCheck());
      QVERIFY(TMsgLog::GetLogAsString().contains("Load Bar Cancel, stage=5, barPos=100"));
    }
    TLoadBarForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.SetStage(5);
    QVERIFY(!form.LastCancelCheck());
    QVERIFY(form.Label1->text().isEmpty());
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.IsCancelled());
  }

  // Without the video stage the three remaining icons stay centred.
  void ThreeIconsCentred() {
    TLoadBarForm form;
    form.SetQvp(false);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.LoadBtn->isVisible());
    const int left = form.DieBtn->mapTo(form.Panel2, QPoint(0, 0)).x();
    const int right =
        form.Panel2->width() -
        form.PositionBtn->mapTo(form.Panel2, QPoint(form.PositionBtn->width(), 0)).x();
    QVERIFY2(qAbs(left - right) <= 2, qPrintable(QString("%1 vs %2").arg(left).arg(right)));
  }
};

TV_QTEST_MAIN(TLoadBarFormQTest)
#include "TLoadBarFormQTest.moc"
