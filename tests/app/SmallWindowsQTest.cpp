// The small windows: the advanced options over the table of their controls and settings
// (load, factory defaults, what OK writes and Cancel keeps), typed numbers, clearing the
// history and the tips; the F11 reminder, system information and the note options.

#include "QtTestMain.h"
#include "TAdvancedOptsFrm.h"
#include "TF11Dlg.h"
#include "TMainForm.h"
#include "TNoteOptsFrm.h"
#include "SnapLed.h"
#include "TSysInfoFrm.h"
#include "TipsControl.h"

#include "Yelk/Prompt.h"
#include "Yelk/SystemReport.h"
#include "Yelk/SystemUtils.h"
#include "controls/NumberBox.h"
#include "controls/XPCheckBox.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {
int Same(int v) { return v; }

// Flags are bools: handled through a copy so no bool is written as an int.
struct Store {
  std::function<int(const ProgSettings&)> get;
  std::function<void(ProgSettings&, int)> set;
};

struct Row {
  const char* control;
  Store store;
  QList<int> stored;
  std::function<int(int)> shown, written;
  int factory;
};

#define BOOLSTORE(f) Store{[](const ProgSettings& s) { return int(s.f); }, [](ProgSettings& s, int v) { s.f = v != 0; }}
#define INTSTORE(f) Store{[](const ProgSettings& s) { return int(s.f); }, [](ProgSettings& s, int v) { s.f = decltype(s.f)(v); }}

QList<Row> Rows() {
  const auto flag = [](const char* control, Store store, bool factory) {
    return Row{control, store, {0, 1}, Same, Same, factory ? 1 : 0};
  };
  return {
      flag("FileExtsChkBox", BOOLSTORE(ShowFileExts), ShowFileExts()),
      flag("SnapEnableChkBox", BOOLSTORE(EnableSnapIndicator), true),
      Row{"SnapChkBox", INTSTORE(SnapLedInTitle), {1, 2},
          [](int v) { return v == 1 ? 1 : 0; }, [](int c) { return c ? 1 : 2; }, 0},
      flag("VolChkBox", BOOLSTORE(AdvancedVolumeControl), false),
      flag("SecsChkBox", BOOLSTORE(ShowSeconds), false),
      flag("ApplauseChkBox", BOOLSTORE(SuppressApplause), false),
      Row{"SnapBox", INTSTORE(SnapDistance), {1, 12, 25}, Same, Same, 5},
      Row{"SizeBox", INTSTORE(MaxTablePercentage), {10, 40, 90}, Same, Same, 55},
      flag("RefreshChkBox", BOOLSTORE(ContinuousRefresh), false),
      flag("RememberChkBox", BOOLSTORE(UsePreviousSaveFolder), false),
      Row{"screen size", INTSTORE(FullScreenSize), {0, 1, 2}, Same, Same, 0},
      flag("DisplayChkBox", BOOLSTORE(AllowDisplayChange), true),
      flag("StartChkBox", BOOLSTORE(FullScreenStart), false),
      flag("EnableTipsChkBox", BOOLSTORE(TipsEnabled), true),
      flag("AdvancedTipsChkBox", BOOLSTORE(AdvancedTipsOnly), false),
      flag("OneTipChkBox", BOOLSTORE(OneTipOnly), false),
      flag("DismissTipsChkBox", BOOLSTORE(AutoDismissTips), true),
  };
}

const char* Radios[] = {"NoChangeBtn", "LargeBtn", "ExtraLargeBtn"};

int ControlValue(QWidget& form, const Row& row) {
  if (QString(QLatin1String(row.control)) == QLatin1String("screen size")) {
    for (int i = 0; i < 3; ++i)
      if (form.findChild<QRadioButton*>(QLatin1String(Radios[i]))->isChecked()) return i;
    return -1;
  }
  if (auto* box = form.findChild<NumberBox*>(QLatin1String(row.control))) return box->Value();
  return form.findChild<XPCheckBox*>(QLatin1String(row.control))->isChecked() ? 1 : 0;
}

void SetControl(QWidget& form, const Row& row, int value) {
  if (QString(QLatin1String(row.control)) == QLatin1String("screen size"))
    form.findChild<QRadioButton*>(QLatin1String(Radios[value]))->setChecked(true);
  else if (auto* box = form.findChild<NumberBox*>(QLatin1String(row.control)))
    box->SetValue(value);
  else
    form.findChild<XPCheckBox*>(QLatin1String(row.control))->setChecked(value != 0);
}

// Every value the window may write, and the lists.
QList<int> Snapshot(const ProgSettings& s) {
  QList<int> values;
  for (const Row& row : Rows()) values << row.store.get(s);
  for (const QStringList* list : {&s.NewPuzzleFolders, &s.SavedPuzzleFolders, &s.CreatePuzzleFolders, &s.RecentPuzzles})
    values << int(qHash(list->join(QLatin1Char('|'))));
  return values;
}

void Reset() {
  ProgSettings& s = *Settings();
  s = ProgSettings();
  s.SnapLedInTitle = csWhenInvisible;
  s.NewPuzzleFolders = {QStringLiteral("/n1"), QStringLiteral("/n2")};
  s.SavedPuzzleFolders = {QStringLiteral("/s1")};
  s.CreatePuzzleFolders = {QStringLiteral("/c1")};
  s.RecentPuzzles = {QStringLiteral("/a.saw"), QStringLiteral("/b.jig")};
}

class FakeTips : public TipsControl {
public:
  FakeTips() { SetCurrent(this); }
  bool TipsEnabled() const override { return enabled; }
  void SetTipsEnabled(bool on) override { enabled = on; ++enabledCalls; }
  void ResetTips() override { ++resets; }
  bool enabled = true;
  int enabledCalls = 0, resets = 0;
};

template <typename T>
T* Child(QWidget& w, const char* name) {
  T* c = w.findChild<T*>(QLatin1String(name));
  if (!c) qFatal("no %s", name);
  return c;
}
}  // namespace

class SmallWindowsQTest : public QObject {
  Q_OBJECT
private slots:
  // Each row: every stored value loads into its control; the other control value written
  // by OK lands in its own setting only; Factory Defaults shows the default, and Cancel
  // after it writes nothing.
  void advancedOptionsTable() {
    for (const Row& row : Rows()) {
      for (int stored : row.stored) {
        const QString where = QStringLiteral("%1 stored %2").arg(QLatin1String(row.control)).arg(stored);
        Reset();
        row.store.set(*Settings(), stored);
        const QList<int> before = Snapshot(*Settings());
        {
          TAdvancedOptsFrm form(nullptr);
          QVERIFY2(ControlValue(form, row) == row.shown(stored), qPrintable(where));
          Child<QPushButton>(form, "FactoryBtn")->click();
          QVERIFY2(ControlValue(form, row) == row.factory, qPrintable(where));
          Child<QPushButton>(form, "Button2")->click();
          QCOMPARE(form.result(), int(QDialog::Rejected));
        }
        QVERIFY2(Snapshot(*Settings()) == before, qPrintable(where + QStringLiteral(": Cancel wrote")));
        TAdvancedOptsFrm form(nullptr);
        const int other = row.shown(row.stored.last() == stored ? row.stored.first() : row.stored.last());
        SetControl(form, row, other);
        Child<QPushButton>(form, "Button1")->click();
        const QList<int> after = Snapshot(*Settings());
        QVERIFY2(row.store.get(*Settings()) == row.written(other), qPrintable(where));
        int changed = 0;
        for (int i = 0; i < after.size(); ++i) changed += after[i] != before[i];
        QVERIFY2(changed == 1, qPrintable(where + QStringLiteral(": OK changed %1 values").arg(changed)));
      }
    }
  }

  // Real keys in the snap distance box: below and above the range go to the bounds, an
  // emptied box keeps the stored value.
  void typedSnapDistance() {
    const QList<QPair<QString, int>> cases = {{"0", 1}, {"99", 25}, {"7", 7}, {"", 9}};
    for (const auto& [typed, stored] : cases) {
      Reset();
      Settings()->SnapDistance = 9;
      TAdvancedOptsFrm form(nullptr);
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      auto* box = Child<NumberBox>(form, "SnapBox");
      box->setFocus();
      box->selectAll();
      QTest::keyClick(box, Qt::Key_Backspace);
      QTest::keyClicks(box, typed);
      QTest::mouseClick(Child<QPushButton>(form, "Button1"), Qt::LeftButton);
      QVERIFY2(Settings()->SnapDistance == stored, qPrintable(typed + QStringLiteral(" stored %1").arg(Settings()->SnapDistance)));
    }
  }

  // Clear History acts only on OK; Esc after it, or after Factory Defaults, writes nothing.
  void historyAndCancel() {
    for (const char* button : {"HistoryBtn", "FactoryBtn"}) {
      Reset();
      const QList<int> before = Snapshot(*Settings());
      TAdvancedOptsFrm form(nullptr);
      form.show();
      Child<QPushButton>(form, button)->click();
      QTest::keyClick(&form, Qt::Key_Escape);
      QCOMPARE(form.result(), int(QDialog::Rejected));
      QVERIFY(Snapshot(*Settings()) == before);
    }
    Reset();
    TAdvancedOptsFrm form(nullptr);
    Child<QPushButton>(form, "HistoryBtn")->click();
    Child<QPushButton>(form, "Button1")->click();
    const QStringList folder{TAdvancedOptsFrm::DefaultPuzzleFolder()};
    QVERIFY(folder[0].endsWith(QLatin1String("/Puzzle Box/")) && !folder[0].contains(QLatin1String("//")));
    QVERIFY(Settings()->RecentPuzzles.isEmpty());
    QCOMPARE(Settings()->NewPuzzleFolders, folder);
    QCOMPARE(Settings()->SavedPuzzleFolders, folder);
    QCOMPARE(Settings()->CreatePuzzleFolders, folder);
  }

  // Unticking "Enable tips" greys the other four; Restart tips with OK resets the tips, and
  // the manager follows the enabled box.
  void tipsPage() {
    Reset();
    FakeTips tips;
    TAdvancedOptsFrm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* enable = Child<XPCheckBox>(form, "EnableTipsChkBox");
    const char* others[] = {"AdvancedTipsChkBox", "OneTipChkBox", "DismissTipsChkBox", "RestartTipsChkBox"};
    for (bool on : {false, true}) {
      enable->click();
      QCOMPARE(enable->isChecked(), on);
      for (const char* name : others) QCOMPARE(Child<XPCheckBox>(form, name)->isEnabled(), on);
    }
    Child<XPCheckBox>(form, "RestartTipsChkBox")->click();
    enable->click();
    Child<QPushButton>(form, "Button1")->click();
    QCOMPARE(tips.resets, 1);
    QCOMPARE(tips.enabledCalls, 1);
    QVERIFY(!tips.enabled);
    QVERIFY(!Settings()->TipsEnabled);
  }

  // The reminder reports its box whether Esc or Ok closed it.
  void f11ReminderReportsItsBox() {
    for (bool tick : {false, true})
      for (bool esc : {false, true}) {
        TF11Dlg dlg(nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (tick) QTest::mouseClick(dlg.NoShowChkBox, Qt::LeftButton);
        if (esc)
          QTest::keyClick(&dlg, Qt::Key_Escape);
        else
          QTest::mouseClick(dlg.Button1, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.NoShow(), tick);
      }
  }

  // The main window reminds of F11 each time menu and panel are both hidden, in either
  // order, until the box is ticked.
  void f11ReminderFromTheMainWindow() {
    Reset();
    Prompt::Double prompts;
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    MainActions& atn = form.Actions();
    auto reminders = [&] {
      return int(std::count_if(prompts.Shown().begin(), prompts.Shown().end(),
                               [](const Prompt::Record& r) { return r.text.startsWith(QLatin1String("Use the F11 key")); }));
    };
    const QList<QList<QAction*>> orders = {{atn.ToggleMenuAtn, atn.ToggleCtrlPnlAtn}, {atn.ToggleCtrlPnlAtn, atn.ToggleMenuAtn}};
    // Unticked twice, then ticked: after that no more reminders.
    const QList<int> counts = {1, 2, 3, 3, 3, 3};
    for (int step = 0; step < counts.size(); ++step) {
      const QList<QAction*>& order = orders[step % 2];
      {
        prompts.Answer(step == 2 ? Prompt::Yes : Prompt::No);
        order[0]->trigger();
        QCOMPARE(reminders(), step == 0 ? 0 : counts[step - 1]);
        order[1]->trigger();
        QCOMPARE(reminders(), counts[step]);
        atn.ToggleMenuAtn->trigger();
        atn.ToggleCtrlPnlAtn->trigger();
        QVERIFY(Settings()->ShowMainMenu && Settings()->ControlPanelVisible);
      }
    }
    QVERIFY(Settings()->HideF11Message);
  }

  // Ticking the snap indicator works without a restart: the panel's LED is the one the
  // pieces light, also when the game started with the indicator off.
  void snapIndicatorTakesEffectAtOnce() {
    Reset();
    Settings()->EnableSnapIndicator = false;
    Prompt::Double prompts;
    TMainForm form;
    form.show();
    QTimer::singleShot(0, [] {
      auto* options = qobject_cast<TAdvancedOptsFrm*>(QApplication::activeModalWidget());
      QVERIFY(options);
      options->findChild<XPCheckBox*>(QStringLiteral("SnapEnableChkBox"))->click();
      options->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    form.Actions().AdvancedAtn->trigger();
    QVERIFY(Settings()->EnableSnapIndicator);
    SnapLed* led = form.findChild<SnapLed*>();
    QVERIFY(led);
    QCOMPARE(SnapIndicator::Current(), static_cast<SnapIndicator*>(led));
  }

  // Copy: the memo's text, without the resources line, three empty lines at the end.
  void systemInformationCopy() {
    TSysInfoFrm info(nullptr);
    QApplication::clipboard()->clear();
    info.CopyAtnExecute();
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied, info.Memo1->toPlainText());
    QVERIFY(!copied.contains(QLatin1String("Resources")));
    QVERIFY(copied.endsWith(QLatin1String("\n\n\n\n")) && !copied.endsWith(QLatin1String("\n\n\n\n\n")));
    QCOMPARE(copied.count(QLatin1Char('\n')), SystemReport::Lines().size() - 1 + 3);
    QVERIFY(info.Memo1->isReadOnly() && !info.Memo1->textCursor().hasSelection());
  }

  // The note options: changed only by a click on a box; Esc is Cancel.
  void noteOptions() {
    TNoteOptsFrm opts(nullptr);
    opts.HiddenChkBox->setChecked(true);
    QVERIFY(!opts.changed);
    opts.show();
    QVERIFY(QTest::qWaitForWindowExposed(&opts));
    QTest::mouseClick(opts.PopupChkBox, Qt::LeftButton);
    QVERIFY(opts.changed && opts.PopupChkBox->isChecked());
    QTest::keyClick(&opts, Qt::Key_Escape);
    QCOMPARE(opts.result(), int(QDialog::Rejected));
  }
};

TV_QTEST_MAIN(SmallWindowsQTest)
#include "SmallWindowsQTest.moc"
