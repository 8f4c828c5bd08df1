// The main window's commands: every action with its caption, key, menus, enabling and
// effect, reached through its QAction and its key with the menu bar shown and hidden; the
// hint's branches; the pop-ups, toggles, recent items, colours and the hidden notice.

#include "BoxCoverControl.h"
#include "ControlPanel.h"
#include "CustomColors.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "RecentPuzzles.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"

#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "controls/ChooseBox.h"
#include "controls/WhatsThis.h"
#include "imaging/VirtualBuffer.h"
#include "platform/CurrentPrinter.h"
#include "platform/HelpWindow.h"
#include "platform/ProgramStarter.h"
#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "table/MiniSurface.h"
#include "table/THintFrm.h"
#include "table/TMagForm.h"
#include "table/TableMini.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QWhatsThis>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

namespace {
using Expect = std::function<bool(const QString& before, const QString& after)>;

Expect Becomes(const QString& value) {
  return [value](const QString&, const QString& after) { return after == value; };
}
Expect Changes() {
  return [](const QString& before, const QString& after) { return before != after; };
}

struct Row {
  const char* name;
  QString caption;
  QKeySequence key;
  QString menus;  // the roots that show it, sorted, joined by ","
  bool enabledWithout;
  bool enabledWith;
  std::function<QString()> observe;  // null: no effect seen through the doubles
  Expect expect;
  std::function<void()> reset = [] {};
  std::function<void()> done = [] {};
  Expect keyWhileDisabled = nullptr;  // the key still acts although the item is greyed
};

// Answers every modal window: records its class and closes it (or lets a policy act).
class ModalCatcher {
public:
  ModalCatcher() {
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || modal == handled) return;
      handled = modal;
      last = QString::fromLatin1(modal->metaObject()->className());
      if (policy && policy(modal)) return;
      QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    });
    timer.start();
  }
  QTimer timer;
  QString last;
  QPointer<QWidget> handled;
  std::function<bool(QWidget*)> policy;  // true: it dealt with the window
};

class UrlRecorder : public QObject {
  Q_OBJECT
public slots:
  void Open(const QUrl& url) { last = url.toString(); }

public:
  QString last;
};

// The roots of the menus that hold each action: the main menu's titles and the pop-ups.
void CollectMenus(QMenu* menu, const QString& root, std::map<QAction*, QStringList>& out) {
  for (QAction* action : menu->actions()) {
    if (action->menu())
      CollectMenus(action->menu(), root, out);
    else if (!out[action].contains(root))
      out[action] << root;
  }
}

QString Stripped(QString title) { return title.remove(QLatin1Char('&')); }

QString PieceOrder(ChipList& pieces) {
  QString order;
  for (int i = 0; i < pieces.Count(); ++i)
    order += QStringLiteral("%1@%2,%3;").arg(quintptr(pieces.At(i))).arg(pieces.At(i)->TableX()).arg(pieces.At(i)->TableY());
  return order;
}
}  // namespace

class MainCommandsQTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> form;
  std::unique_ptr<RecordedTips> tips;
  std::unique_ptr<ModalCatcher> modals;
  std::unique_ptr<Prompt::Double> prompts;
  std::unique_ptr<ProgramStarter::Double> starter;
  UrlRecorder urls;

  MainActions& Atn() { return form->Actions(); }

  QString LastPrompt() const { return prompts->Shown().isEmpty() ? QString() : prompts->Shown().last().text; }
  QString Tips() const {
    QStringList shown, used;
    for (int n : tips->shown) shown << QString::number(n);
    for (int n : tips->used) used << QString::number(n);
    return QStringLiteral("shown:") + shown.join(',') + QStringLiteral(" used:") + used.join(',');
  }

  void SetMenuShown(bool shown) {
    if (Settings()->ShowMainMenu != shown) Atn().ToggleMenuAtn->trigger();
    if (!Settings()->ControlPanelVisible) Atn().ToggleCtrlPnlAtn->trigger();
    QCOMPARE(form->menuBar()->isVisible(), shown);
  }

  void ClearDoubles() {
    modals->last.clear();
    prompts->Clear();
    starter->Clear();
    urls.last.clear();
    tips->shown.clear();
    tips->used.clear();
  }

  // Waits until the expectation holds (an open dialog comes through the event loop).
  static bool Eventually(const Expect& expect, const QString& before, const std::function<QString()>& observe) {
    for (int i = 0; i < 100; ++i) {
      if (expect(before, observe())) return true;
      QTest::qWait(20);
    }
    return false;
  }

  void ActivateForm() {
    form->activateWindow();
    form->raise();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
  }

  QList<Row> Rows();
  void CheckRow(const Row& row, const std::map<QAction*, QStringList>& menus, bool withPuzzle);

private slots:
  void initTestCase();
  void everyActionFromEachPlace();
  void hintBranches();
  void popUpsTogglesRecentItemsColoursAndNotice();
  void cleanupTestCase();
};

void MainCommandsQTest::initTestCase() {
  ProgSettings& settings = *Settings();
  settings.Maximized = false;
  settings.Width = 770;
  settings.Height = 400;
  settings.PuzzlePieceSize = 40;
  settings.ShowMainMenu = true;
  settings.AlignControlPanelToBottom = true;
  settings.HideF11Message = false;
  settings.UpsideRight = false;
  settings.AutoSaveInterval = 0;
  settings.RecentPuzzles.clear();
  auto pdf = std::make_unique<QPrinter>();
  pdf->setOutputFormat(QPrinter::PdfFormat);
  pdf->setOutputFileName(PuzzleFixtures::ScratchPath(QStringLiteral("print.pdf")));
  CurrentPrinter::Install(std::move(pdf));
  prompts = std::make_unique<Prompt::Double>();
  starter = std::make_unique<ProgramStarter::Double>();
  starter->onPath = {QStringLiteral("pavucontrol")};
  for (const char* scheme : {"http", "https"}) QDesktopServices::setUrlHandler(scheme, &urls, "Open");
  modals = std::make_unique<ModalCatcher>();
  form = std::make_unique<TMainForm>();
  tips = std::make_unique<RecordedTips>();
  form->Start({});
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void MainCommandsQTest::cleanupTestCase() {
  form->close();
  form.reset();
  tips.reset();
  modals.reset();
  for (const char* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
}

QList<Row> MainCommandsQTest::Rows() {
  ProgSettings& s = *Settings();
  auto setting = [](std::function<QString()> get) { return get; };
  auto modal = [this] { return modals->last; };
  auto prompt = [this] { return LastPrompt(); };
  auto url = [this] { return urls.last; };
  auto tipsSeen = [this] { return Tips(); };
  auto mini = [this] {
    TableMini* active = form->Table()->Surface().ActiveMini();
    return active ? QString::number(active->Index()) : QString();
  };
  auto pieces = [this] { return PieceOrder(form->Table()->Surface().GetChipList()); };
  auto bevel = [] {
    const Puzzle* p = Puzzle::Current();
    return QStringLiteral("%1%2").arg(p->IsBevelOn()).arg(p->IsBevelOn() && p->IsBevelLight());
  };
  auto switchTo = [this](int index) {
    return [this, index] { form->Table()->Surface().SwitchToMini(index); };
  };
  const QString mainOptions = QStringLiteral("Options,OptionsPopup");
  const QString mainHelp = QStringLiteral("Help,HelpPopup");
  const auto rotatedByKey = Becomes(QStringLiteral("shown: used:2,24"));
  const auto closeMagnifier = [] {
    if (TMagForm::Current()) TMagForm::Current()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  return {
      {"OpenAtn", "&Open/Create Puzzle...", QKeySequence("Ctrl+O"), "File", true, true, modal,
       Becomes("TPuzzleDialog2"), [this] { prompts->Answer(Prompt::No); }},
      {"SaveAtn", "&Save", QKeySequence("Ctrl+S"), "File", false, false, nullptr, nullptr},
      {"SaveAsAtn", "Save &As...", QKeySequence("Ctrl+Shift+S"), "File", false, true, modal, Becomes("QFileDialog")},
      {"PrintAtn", "&Print...", {}, "File", false, true, modal, Becomes("QPrintDialog")},
      {"ExitAtn", "E&xit", {}, "File", true, true, nullptr, nullptr},
      {"PlayAtn", "&Play", {}, "", false, false, nullptr, nullptr},
      {"PauseAtn", "&Pause", QKeySequence("Ctrl+P"), "Actions", false, false, nullptr, nullptr},
      {"BoxCoverAtn", "Show &Box Cover Image", QKeySequence(Qt::Key_F9), "Actions", false, true,
       [this] { return QString::number(form->BoxCover()->Window() && form->BoxCover()->Window()->isVisible()); },
       Becomes("1"), [this] { if (form->BoxCover()->Window()) form->BoxCover()->Window()->hide(); },
       [this] { if (form->BoxCover()->Window()) form->BoxCover()->Window()->hide(); }},
      {"MagnifierAtn", "Show &Magnifier", QKeySequence("Ctrl+M"), "Actions", false, true,
       [] { return QString::number(TMagForm::Current() && TMagForm::Current()->isVisible()); }, Becomes("1"),
       closeMagnifier, closeMagnifier},
      {"FullScreenAtn", "&Full Screen Mode", QKeySequence(Qt::Key_F12), "Actions", true, true,
       setting([&s] { return QString::number(s.FullScreenActive); }), Becomes("1"),
       [this] { form->SetFullScreen(false); }, [this] { form->SetFullScreen(false); }},
      {"ScatterAtn", "&Scatter to Border", QKeySequence("Ctrl+B"), "Actions", false, true, pieces, Changes()},
      {"NextMiniAtn", "&Next Table", QKeySequence(Qt::Key_PageDown), "Actions,TablePopup", false, true, mini,
       Becomes("1"), switchTo(0), switchTo(0)},
      {"PrevMiniAtn", "&Previous Table", QKeySequence(Qt::Key_PageUp), "Actions,TablePopup", false, true, mini,
       Becomes("3"), switchTo(0), switchTo(0)},
      {"FirstMiniAtn", "&First Table", QKeySequence(Qt::Key_Home), "Actions,TablePopup", false, true, mini,
       Becomes("0"), switchTo(2), switchTo(0)},
      {"LastTableAtn", "&Last Table", QKeySequence(Qt::Key_End), "Actions,TablePopup", false, true, mini,
       Becomes("3"), switchTo(1), switchTo(0)},
      {"NoteAtn", "About the &Puzzle", {}, "Actions,Help,HelpPopup,TablePopup", false, false, nullptr, nullptr},
      // Nothing is carried: the items are grey, and the keys turn nothing but show the
      // player knows the keys.
      {"RotateLeftAtn", "Rotate &Left    (Rotate mouse wheel)", QKeySequence(Qt::Key_Left), "TablePopup", false,
       false, tipsSeen, nullptr, [] {}, [] {}, rotatedByKey},
      {"RotateRightAtn", "Rotate &Right  (Rotate mouse wheel)", QKeySequence(Qt::Key_Right), "TablePopup", false,
       false, tipsSeen, nullptr, [] {}, [] {}, rotatedByKey},
      {"HintAtn", "&Hint", QKeySequence(Qt::Key_F3), "TablePopup", false, false, prompt, nullptr, [] {}, [] {},
       Becomes("Move the mouse over a puzzle piece to use the hint feature.\n\nHints remaining: Unlimited")},
      {"HoldAtn", "&Capture          (Press mouse wheel)", {}, "TablePopup", false, false, nullptr, nullptr},
      {"ReleaseAtn", "R&elease         (Press mouse wheel)", {}, "TablePopup", false, false, nullptr, nullptr},
      {"BackAtn", "&Send to Back", {}, "TablePopup", false, true, nullptr, nullptr},
      {"ToggleMenuAtn", "Show Main &Menu", QKeySequence(Qt::Key_F10), mainOptions, true, true,
       setting([&s] { return QString::number(s.ShowMainMenu); }), Changes()},
      {"ToggleCtrlPnlAtn", "Show &Control Panel", QKeySequence(Qt::Key_F11), mainOptions, true, true,
       setting([&s] { return QString::number(s.ControlPanelVisible); }), Changes()},
      {"SoundEffectsAtn", "Enable Sound &Effects", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.SoundEffects); }), Changes()},
      {"BkgdSndEnabledAtn", "Enable &Background Sound", {}, mainOptions, false, false, nullptr, nullptr},
      {"ShowHintsAtn", "Show B&utton Hints", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.ShowHints); }), Changes()},
      {"ColorAtn", "&Choose Color...", {}, mainOptions, true, true, modal, Becomes("QColorDialog")},
      {"DefColorAtn", "&Use Default Color", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.BackgroundColor, 16); }), Becomes("7599b9"),
       [&s] { s.BackgroundColor = 0x123456; }},
      {"BevelNormalAtn", "&Normal", {}, mainOptions, false, true, bevel, Becomes("10"),
       [] { Puzzle::Current()->SetBevelOn(false); }},
      {"BevelLightAtn", "&Light", {}, mainOptions, false, true, bevel, Becomes("11"),
       [] { Puzzle::Current()->SetBevelOn(false); }},
      {"BevelOffAtn", "&Off", {}, mainOptions, false, true, bevel, Becomes("00"),
       [] { Puzzle::Current()->SetBevelOn(true); }},
      {"BevelNormalDefAtn", "&Normal", {}, mainOptions, true, true,
       setting([&s] { return QStringLiteral("%1%2").arg(s.DefaultToLightBevel).arg(s.DefaultToBevelOff); }),
       Becomes("00"), [&s] { s.DefaultToBevelOff = true; }},
      {"BevelLightDefAtn", "&Light", {}, mainOptions, true, true,
       setting([&s] { return QStringLiteral("%1%2").arg(s.DefaultToLightBevel).arg(s.DefaultToBevelOff); }),
       Becomes("10")},
      {"BevelOffDefAtn", "&Off", {}, mainOptions, true, true,
       setting([&s] { return QStringLiteral("%1%2").arg(s.DefaultToLightBevel).arg(s.DefaultToBevelOff); }),
       Becomes("01")},
      {"AutoRemoveBevelAtn", "&Auto Hide Bevel at Finish", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AutoRemoveBevel); }), Changes()},
      {"VolumeAtn", "System &Volume...", QKeySequence("Ctrl+V"), mainOptions, true, true,
       [this] { return starter->Calls().isEmpty() ? QString() : starter->Calls().last().program; },
       Becomes("/bin/pavucontrol")},
      {"AlignCtrlPnlTopAtn", "&Top Edge", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AlignControlPanelToBottom); }), Becomes("0"),
       [this] { Atn().AlignCtrlPnlBotAtn->trigger(); }},
      {"AlignCtrlPnlBotAtn", "&Bottom Edge", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AlignControlPanelToBottom); }), Becomes("1"),
       [this] { Atn().AlignCtrlPnlTopAtn->trigger(); }},
      {"AutoSaveOffAtn", "&Off", {}, mainOptions, true, true, setting([&s] { return QString::number(s.AutoSaveInterval); }),
       Becomes("0"), [this] { form->AutoSaveAtnExecute(5); }},
      {"AutoSave_1_Atn", "Every &Minute", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AutoSaveInterval); }), Becomes("1")},
      {"AutoSave_5_Atn", "Every &5 Minutes", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AutoSaveInterval); }), Becomes("5")},
      {"AutoSave_10_Atn", "Every &10 Minutes", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AutoSaveInterval); }), Becomes("10")},
      {"AutoSave_20_Atn", "Every &20 Minutes", {}, mainOptions, true, true,
       setting([&s] { return QString::number(s.AutoSaveInterval); }), Becomes("20"),
       [this] { form->AutoSaveAtnExecute(0); }, [this] { form->AutoSaveAtnExecute(0); }},
      {"AdvancedAtn", "Advanced &Options...", {}, mainOptions, true, true, modal, Becomes("TAdvancedOptsFrm")},
      {"HelpContentsAtn", "&Contents", QKeySequence(Qt::Key_F1), mainHelp, true, true,
       [] { return QString::number(HelpWindow::Instance()->isVisible()); }, Becomes("1"),
       [] { HelpWindow::Instance()->hide(); }, [] { HelpWindow::Instance()->hide(); }},
      {"HelpWhatsMenuAtn", "&What's This", QKeySequence("Shift+F1"), mainHelp, true, true,
       [] { return QString::number(QWhatsThis::inWhatsThisMode()); }, Becomes("1"),
       [] { QWhatsThis::leaveWhatsThisMode(); }, [] { QWhatsThis::leaveWhatsThisMode(); }},
      {"HelpWhatsBtnAtn", "&What's This", {}, "", true, true,
       [] { return QString::number(QWhatsThis::inWhatsThisMode()); }, Becomes("1"),
       [] { QWhatsThis::leaveWhatsThisMode(); }, [] { QWhatsThis::leaveWhatsThisMode(); }},
      {"HelpLastTipAtn", "Show Previous &Tip", QKeySequence("Ctrl+F1"), mainHelp, true, true, nullptr, nullptr},
      {"WebVersionAtn", "Check for Latest &Version", {}, mainHelp, true, true, url,
       Becomes("https://www.example.org/tessavinelume/version.html")},
      {"WebSiteAtn", "&Tessavinelume Web Site", {}, mainHelp, true, true, url,
       Becomes("https://www.example.org/tessavinelume/")},
      {"WebSupportAtn", "&Support", {}, mainHelp, true, true, url,
       Becomes("https://www.example.org/tessavinelume/support.html")},
      {"SponserAtn", "V&isit", {}, mainHelp, false, false, nullptr, nullptr},
      {"SysInfoAtn", "S&ystem Information", {}, mainHelp, true, true, modal, Becomes("TSysInfoFrm")},
      {"AboutAtn", "&About", {}, mainHelp, true, true, modal, Becomes("TAboutForm")},
      {"OptionsAtn", "Options", {}, "", true, true, [this] { return QString::number(form->OptionsMenu()->isVisible()); },
       Becomes("1"), [this] { form->OptionsMenu()->hide(); }, [this] { form->OptionsMenu()->hide(); }},
      {"HelpPopupAtn", "Help", {}, "", true, true, [this] { return QString::number(form->HelpMenu()->isVisible()); },
       Becomes("1"), [this] { form->HelpMenu()->hide(); }, [this] { form->HelpMenu()->hide(); }},
      {"ErrLogAtn", "", QKeySequence("Ctrl+Shift+E"), "", true, true, prompt, Becomes("No error log is present.")},
      {"ShowMsgLog", "", QKeySequence("Ctrl+Shift+M"), "", true, true,
       [] {
         bool shown = false;
         for (QWidget* w : QApplication::topLevelWidgets())
           shown |= w->isVisible() && QString::fromLatin1(w->metaObject()->className()) == "TMsgLogForm";
         return QString::number(shown);
       },
       Becomes("1"), [] {},
       [] {
         for (QWidget* w : QApplication::topLevelWidgets())
           if (QString::fromLatin1(w->metaObject()->className()) == "TMsgLogForm") w->hide();
       }},
      {"CopyAtn", "", QKeySequence("Ctrl+Shift+C"), "", true, true, nullptr, nullptr},
      {"Test", "", QKeySequence("Ctrl+Shift+T"), "", true, true, nullptr, nullptr},
  };
}

void MainCommandsQTest::CheckRow(const Row& row, const std::map<QAction*, QStringList>& menus, bool withPuzzle) {
  auto* action = form->findChild<QAction*>(QLatin1String(row.name));
  QVERIFY2(action, row.name);
  QCOMPARE(action->text(), row.caption);
  QCOMPARE(action->shortcut(), row.key);
  QVERIFY2(form->actions().contains(action), row.name);  // its key works without the menu
  QStringList roots = menus.count(action) ? menus.at(action) : QStringList();
  roots.sort();
  QCOMPARE(roots.join(','), row.menus);
  for (QMenu* menu : {form->OptionsMenu(), form->HelpMenu(), form->TableMenu()}) emit menu->aboutToShow();
  form->TablePopupPopup();
  QCOMPARE(action->isEnabled(), withPuzzle ? row.enabledWith : row.enabledWithout);
  if (!withPuzzle || !row.observe) return;
  // A greyed item's key acts only where the window runs the command on the key's release.
  const int ways = row.key.isEmpty() ? 1 : 3;
  for (int way = 0; way < ways; ++way) {
    SetMenuShown(way != 2);
    ActivateForm();
    ClearDoubles();
    row.reset();
    QCoreApplication::processEvents();
    const QString before = row.observe();
    const bool enabled = action->isEnabled();
    if (way == 0)
      action->trigger();
    else
      QTest::keySequence(form.get(), row.key);
    const Expect expect = enabled ? row.expect : way == 0 || !row.keyWhileDisabled ? Becomes(before) : row.keyWhileDisabled;
    QVERIFY2(Eventually(expect, before, row.observe),
             qPrintable(QStringLiteral("%1 way %2: %3 -> %4").arg(row.name).arg(way).arg(before, row.observe())));
    row.done();
  }
  SetMenuShown(true);
}

void MainCommandsQTest::everyActionFromEachPlace() {
  std::map<QAction*, QStringList> menus;
  for (QAction* top : form->menuBar()->actions()) CollectMenus(top->menu(), Stripped(top->text()), menus);
  CollectMenus(form->OptionsMenu(), QStringLiteral("OptionsPopup"), menus);
  CollectMenus(form->HelpMenu(), QStringLiteral("HelpPopup"), menus);
  CollectMenus(form->TableMenu(), QStringLiteral("TablePopup"), menus);
  const QList<Row> rows = Rows();
  QSet<QAction*> covered;
  for (const Row& row : rows) {
    CheckRow(row, menus, false);
    if (QTest::currentTestFailed()) return;
    covered << form->findChild<QAction*>(QLatin1String(row.name));
  }
  // Every action the window offers is in the table.
  for (QAction* action : Atn().All()) QVERIFY2(covered.contains(action), qPrintable(action->objectName()));

  // The hidden notice: five presses in a window that shows something, then one in the bare
  // window; a bare press before that does nothing.
  for (int i = 0; i < 4; ++i) Atn().CopyAtn->trigger();
  SetMenuShown(false);
  Atn().ToggleCtrlPnlAtn->trigger();
  Atn().CopyAtn->trigger();
  QVERIFY(!VirtualBuffer::TestBuffer() || VirtualBuffer::TestBuffer()->width != 500);
  SetMenuShown(true);
  Atn().CopyAtn->trigger();
  SetMenuShown(false);
  Atn().ToggleCtrlPnlAtn->trigger();
  Atn().CopyAtn->trigger();
  QVERIFY(VirtualBuffer::TestBuffer() && VirtualBuffer::TestBuffer()->width == 500);
  SetMenuShown(true);

  modals->policy = [](QWidget* modal) {
    auto* pieces = modal->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"));
    if (!pieces) return false;
    modal->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    return true;
  };
  form->WMCopyData({QStringLiteral("game"), PuzzleFixtures::WritePicture(QStringLiteral("commands.bmp"), 480, 320)});
  QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
  QTRY_VERIFY(form->Table()->Surface().GetChipList().Count() > 4);
  modals->policy = nullptr;
  QCursor::setPos(form->mapToGlobal(QPoint(-50, -50)));  // over no piece
  for (const Row& row : rows) {
    CheckRow(row, menus, true);
    if (QTest::currentTestFailed()) return;
  }
}

void MainCommandsQTest::hintBranches() {
  Puzzle* puzzle = Puzzle::Current();
  QVERIFY(puzzle);
  TableSurface& surface = form->Table()->Surface();
  ChipList& pieces = surface.GetChipList();
  QVERIFY(pieces.Count() > 4);
  auto hint = [this] {
    prompts->Clear();
    form->HintAtnExecute();
    return LastPrompt();
  };
  // Nobody over a piece: the hints remaining, limited or not.
  QCursor::setPos(form->mapToGlobal(QPoint(-50, -50)));
  QCOMPARE(puzzle->GetHintLimit(), -1);
  QCOMPARE(hint(), QStringLiteral("Move the mouse over a puzzle piece to use the hint feature.\n\nHints remaining: Unlimited"));
  puzzle->SetHintCounts(3, 0);
  QCOMPARE(hint(), QStringLiteral("Move the mouse over a puzzle piece to use the hint feature.\n\nHints remaining:  3"));

  // A resize lays the pieces out afresh: the table follows the window before the pointer
  // is put over a piece.
  auto settle = [] {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents();
    }
  };
  auto marksOnMinis = [this] {
    int shown = 0;
    for (const MiniSurface* mini : form->findChildren<MiniSurface*>()) shown += mini->HintMarkerShown();
    return shown;
  };
  // A piece under the pointer whose open side in a screen direction leads to a neighbour
  // on this table (or on another); the pointer goes there and the hint window is answered
  // with that direction.
  auto pointAtPair = [&](bool neighbourHere) {
    settle();
    for (int i = 0; i < pieces.Count(); ++i) {
      const PuzzleChip* p = pieces.At(i);
      const QPoint centre(p->TableX() + p->Mask().TableWidth() / 2, p->TableY() + p->Mask().TableHeight() / 2);
      PuzzleChip* hit = pieces.HitTest(centre.x(), centre.y());
      if (!hit) continue;
      for (int key : {int(Qt::Key_Up), int(Qt::Key_Left), int(Qt::Key_Right), int(Qt::Key_Down)}) {
        PuzzleChip* neighbour = THintFrm::NeighbourOnScreen(*hit, key);
        if (!THintFrm::SideOpenOnScreen(*hit, key) || !neighbour || pieces.Contains(neighbour) != neighbourHere)
          continue;
        QCursor::setPos(form->Table()->mapToGlobal(centre));
        modals->policy = [key](QWidget* modal) {
          auto* ask = qobject_cast<THintFrm*>(modal);
          if (!ask) return false;
          QAction* direction = key == Qt::Key_Up     ? ask->TopAtn
                               : key == Qt::Key_Left  ? ask->LeftAtn
                               : key == Qt::Key_Right ? ask->RightAtn
                                                      : ask->BottomAtn;
          // A closed side fails the check at once instead of leaving the window open.
          if (direction->isEnabled())
            QMetaObject::invokeMethod(direction, "trigger", Qt::QueuedConnection);
          else
            QMetaObject::invokeMethod(ask, "reject", Qt::QueuedConnection);
          return true;
        };
        return true;
      }
    }
    return false;
  };
  QVERIFY(pointAtPair(true));
  form->TablePopupPopup();
  QVERIFY(Atn().HintAtn->isEnabled());
  QCOMPARE(Atn().HintAtn->text(), QStringLiteral("&Hint  (3)"));
  QCOMPARE(hint(), QString());
  QCOMPARE(puzzle->GetHintsUsed(), 1);
  form->TablePopupPopup();
  QCOMPARE(Atn().HintAtn->text(), QStringLiteral("&Hint  (2)"));
  // A second hint while the cross still shows is not shown, and uses nothing. (The marked
  // neighbour came to the front, perhaps under the pointer: point afresh.)
  QVERIFY(pointAtPair(true));
  QCOMPARE(hint(), QString());
  QCOMPARE(puzzle->GetHintsUsed(), 1);
  // Nor is one whose neighbour lies on a mini table: no mark there would outlive the cross.
  QVERIFY(pointAtPair(false));
  QCOMPARE(hint(), QString());
  QCOMPARE(puzzle->GetHintsUsed(), 1);
  QCOMPARE(marksOnMinis(), 0);
  form->Table()->Surface().HideHint();
  // The edge pieces lie apart from the others: a neighbour on a mini table is marked there,
  // but only while the control panel shows the mini tables.
  Atn().ToggleCtrlPnlAtn->trigger();
  QVERIFY(pointAtPair(false));
  QCOMPARE(hint(), QStringLiteral("The indicated neighboring puzzle piece is located on another table."));
  QCOMPARE(puzzle->GetHintsUsed(), 1);
  Atn().ToggleCtrlPnlAtn->trigger();
  QVERIFY(pointAtPair(false));
  QCOMPARE(hint(), QString());
  QCOMPARE(puzzle->GetHintsUsed(), 2);
  QCOMPARE(marksOnMinis(), 1);
  modals->policy = nullptr;

  // No hints left: the three wordings.
  puzzle->SetHintCounts(3, 3);
  QCOMPARE(hint(), QStringLiteral("This puzzle's 3 allowed hints have already been used."));
  form->TablePopupPopup();
  QVERIFY(!Atn().HintAtn->isEnabled());
  puzzle->SetHintCounts(1, 3);
  QCOMPARE(hint(), QStringLiteral("This puzzle's one allowed hint has already been used."));
  puzzle->SetHintCounts(0, 3);
  QCOMPARE(hint(), QStringLiteral("No hints are allowed for this puzzle."));
  form->TablePopupPopup();
  QCOMPARE(Atn().HintAtn->text(), QStringLiteral("&Hint"));
  QVERIFY(!Atn().HintAtn->isEnabled());
}

void MainCommandsQTest::popUpsTogglesRecentItemsColoursAndNotice() {
  // The Options pop-up meets the panel's top edge from above, or hangs below the button.
  for (bool bottom : {true, false}) {
    (bottom ? Atn().AlignCtrlPnlBotAtn : Atn().AlignCtrlPnlTopAtn)->trigger();
    QCoreApplication::processEvents();
    Atn().OptionsAtn->trigger();
    QMenu* menu = form->OptionsMenu();
    QTRY_VERIFY(menu->isVisible());
    const int panelTop = form->ToolPnl()->mapToGlobal(QPoint(0, 0)).y();
    const QRect button(form->ToolPnl()->OptionsBtn->mapToGlobal(QPoint(0, 0)), form->ToolPnl()->OptionsBtn->size());
    if (bottom)
      QCOMPARE(menu->geometry().bottom() + 1, panelTop);
    else
      QCOMPARE(menu->geometry().top(), button.bottom() + 1);
    // Qt keeps the menu on the screen.
    const int screenRight = form->screen()->geometry().right() + 1;
    QCOMPARE(menu->geometry().left(), std::min(button.left() + button.width() / 2, screenRight - menu->width()));
    menu->hide();
  }
  Atn().AlignCtrlPnlBotAtn->trigger();

  // Bevel checks follow the puzzle.
  for (QAction* bevel : {Atn().BevelOffAtn, Atn().BevelLightAtn, Atn().BevelNormalAtn}) {
    bevel->trigger();
    emit form->OptionsMenu()->aboutToShow();
    for (QAction* other : {Atn().BevelOffAtn, Atn().BevelLightAtn, Atn().BevelNormalAtn})
      QCOMPARE(other->isChecked(), other == bevel);
  }

  // The F11 reminder each time both are hidden, in either order, until its box is ticked;
  // the busy level is back where it was after every toggle.
  auto reminders = [this] {
    int count = 0;
    for (const Prompt::Record& r : prompts->Shown()) count += r.text.startsWith(QLatin1String("Use the F11 key"));
    return count;
  };
  Settings()->HideF11Message = false;
  const int level = HourGlass::HG().Level();
  prompts->Clear();
  for (int round = 0; round < 2; ++round) {
    QAction* first = round ? Atn().ToggleCtrlPnlAtn : Atn().ToggleMenuAtn;
    QAction* second = round ? Atn().ToggleMenuAtn : Atn().ToggleCtrlPnlAtn;
    first->trigger();
    QCOMPARE(HourGlass::HG().Level(), level);
    QCOMPARE(reminders(), round);
    second->trigger();
    QCOMPARE(HourGlass::HG().Level(), level);
    QCOMPARE(reminders(), round + 1);
    first->trigger();
    second->trigger();
    QCOMPARE(HourGlass::HG().Level(), level);
  }
  prompts->Answer(Prompt::Yes);
  Atn().ToggleMenuAtn->trigger();
  Atn().ToggleCtrlPnlAtn->trigger();
  QVERIFY(Settings()->HideF11Message);
  Atn().ToggleMenuAtn->trigger();
  Atn().ToggleCtrlPnlAtn->trigger();
  Atn().ToggleCtrlPnlAtn->trigger();
  Atn().ToggleMenuAtn->trigger();
  QCOMPARE(reminders(), 3);
  QCOMPARE(HourGlass::HG().Level(), level);
  Atn().ToggleMenuAtn->trigger();
  Atn().ToggleCtrlPnlAtn->trigger();
  QVERIFY(Settings()->ShowMainMenu && Settings()->ControlPanelVisible);

  // Recent items: at most four, the name with or without its extension, "&" shown as
  // itself; a click opens the path the item showed even after the list changed.
  QCOMPARE(RecentCaption(1, QStringLiteral("/p/Cats & Dogs.jig"), true), QStringLiteral("&1  Cats && Dogs.jig"));
  QCOMPARE(RecentCaption(4, QStringLiteral("/p/Cats & Dogs.jig"), false), QStringLiteral("&4  Cats && Dogs"));
  QCOMPARE(RecentCaption(2, QStringLiteral("C:\\old\\tree.bmp"), false), QStringLiteral("&2  tree"));
  Settings()->ShowFileExts = false;
  Settings()->RecentPuzzles = {"/r/a.jig", "/r/b & c.bmp", "/r/c.jpg", "/r/d.jig", "/r/e.jig", "/r/f.jig"};
  QMenu* file = Atn().FileMenu();
  // A second refresh replaces the items, never adds to them.
  for (int refresh = 0; refresh < 2; ++refresh) {
    form->MenuRefresh();
    QStringList captions;
    for (QAction* item : file->actions())
      if (item->property("recentPath").isValid()) captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(captions, QStringList({"-", "&1  a", "&2  b && c", "&3  c", "&4  d"}));
    QCOMPARE(file->actions().last(), Atn().ExitAtn);
  }
  QAction* second = nullptr;
  for (QAction* item : file->actions())
    if (item->text().startsWith(QLatin1String("&2"))) second = item;
  QVERIFY(second);
  Settings()->RecentPuzzles.prepend(QStringLiteral("/r/new.jig"));
  // A box is up: the open waits with the path it was given.
  Settings()->ModalPromptUp = true;
  second->trigger();
  QCOMPARE(form->PendingPath(), QStringLiteral("/r/b & c.bmp"));
  Settings()->ModalPromptUp = false;
  QTRY_VERIFY(form->PendingPath().isEmpty());

  // Custom colours: lines in, the dialog's slots, lines out; garbled lines are skipped.
  const QStringList lines = {"ColorA=0000FF", "ColorB=00FF00", "ColorC=FF0000", "ColorD=12AB9c", "ColorE=12345",
                             "ColorF=GG0000", "ColorZ=000000", "Junk", "ColorP=808080"};
  const CustomColors::Slots parsed = CustomColors::Parse(lines);
  QCOMPARE(parsed[0], std::optional<QColor>(QColor(255, 0, 0)));
  QCOMPARE(parsed[1], std::optional<QColor>(QColor(0, 255, 0)));
  QCOMPARE(parsed[2], std::optional<QColor>(QColor(0, 0, 255)));
  QCOMPARE(parsed[3], std::optional<QColor>(QColor(0x9c, 0xab, 0x12)));
  QVERIFY(!parsed[4] && !parsed[5]);
  QCOMPARE(parsed[15], std::optional<QColor>(QColor(0x80, 0x80, 0x80)));
  QCOMPARE(CustomColors::Parse(CustomColors::Format(parsed))[3], parsed[3]);
  Settings()->CustomColors = lines;
  bool customLoaded = false;
  modals->policy = [&customLoaded](QWidget* modal) {
    auto* dialog = qobject_cast<QColorDialog*>(modal);
    if (!dialog) return false;
    customLoaded = QColorDialog::customColor(3) == QColor(0x9c, 0xab, 0x12);
    QColorDialog::setCustomColor(4, QColor(1, 2, 3));
    dialog->setCurrentColor(QColor(0x20, 0x40, 0x60));
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    return true;
  };
  Atn().ColorAtn->trigger();
  modals->policy = nullptr;
  QVERIFY(customLoaded);
  QCOMPARE(Settings()->BackgroundColor, 0x204060);
  QCOMPARE(Settings()->CustomColors.size(), 16);
  QCOMPARE(Settings()->CustomColors[3], QStringLiteral("ColorD=12AB9C"));
  QCOMPARE(Settings()->CustomColors[4], QStringLiteral("ColorE=030201"));

  // The magnifier's place is kept as it closes.
  Atn().MagnifierAtn->trigger();
  QVERIFY(TMagForm::Current());
  TMagForm::Current()->setGeometry(QRect(30, 40, 200, 150));
  const QRect placed = TMagForm::Current()->geometry();
  TMagForm::Current()->close();
  QCOMPARE(QRect(Settings()->MagnifierLeft, Settings()->MagnifierTop, Settings()->MagnifierWidth,
                 Settings()->MagnifierHeight), placed);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  // Button hints off swallows tool tips everywhere.
  for (bool on : {false, true}) {
    Settings()->ShowHints = on;
    QToolTip::hideText();
    QWidget* button = form->ToolPnl()->OptionsBtn;
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &tip);
    QCOMPARE(QToolTip::text().isEmpty(), !on);
  }
  QToolTip::hideText();
}

TV_QTEST_MAIN(MainCommandsQTest)
#include "MainCommandsQTest.moc"
