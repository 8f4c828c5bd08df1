// The main window as a player meets it: which window a key acts in, the controls after each
// new puzzle, files handed over or dropped, the time of day from the start, help topics and
// menu states.

#include "ControlPanel.h"
#include "JigsawFileBuilder.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "QvpWriter.h"
#include "StartUp.h"
#include "TMainForm.h"
#include "TPuzzleDialog2.h"
#include "WhenModal.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/WhatsThis.h"
#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/SoundTrack.h"
#include "settings/ProgSettings.h"
#include "table/MiniSurface.h"
#include "table/THintFrm.h"
#include "table/TLoadBarForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWhatsThis>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace {
const QString Base = QStringLiteral("Tessavinelume Jigsaw Puzzles");

TPuzzleDialog2* OpenDialog() { return qobject_cast<TPuzzleDialog2*>(QApplication::activeModalWidget()); }

// Once an open dialog other than notThis shows, act on it (by default: press Open).
void WhenDialogShows(std::function<void(TPuzzleDialog2*)> act = {}, QPointer<TPuzzleDialog2> notThis = {}) {
  QTimer::singleShot(20, [act, notThis] {
    TPuzzleDialog2* dialog = OpenDialog();
    if (!dialog || dialog == notThis) return WhenDialogShows(act, notThis);
    if (act)
      act(dialog);
    else
      dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
  });
}

// The clipboard's picture is pasted and opened as a player would: once the dialog has the
// keyboard, with the fewest pieces chosen.
void PasteAndOpen(QPointer<TPuzzleDialog2> dialog, bool pasted = false) {
  QTimer::singleShot(20, [dialog, pasted] {
    if (!dialog) return;
    if (!dialog->isActiveWindow()) return PasteAndOpen(dialog, pasted);
    if (!pasted) {
      dialog->findChild<QToolButton*>(QStringLiteral("PasteBtn"))->click();
      return PasteAndOpen(dialog, true);
    }
    auto* pieces = dialog->findChild<QComboBox*>(QStringLiteral("NumPiecesBox"));
    if (pieces->count() == 0) return PasteAndOpen(dialog, true);
    pieces->setCurrentIndex(0);
    dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
  });
}

void Reject(TPuzzleDialog2* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); }

// A normal window of a fixed size with nothing of the last test left.
void FreshSettings() {
  ProgSettings& settings = *Settings();
  settings.Maximized = false;
  settings.XPosition = 10;
  settings.YPosition = 10;
  settings.Width = 770;
  settings.Height = 420;
  settings.PuzzlePieceSize = 40;
  settings.ShowWelcome = false;
  settings.EnableBackgroundSound = true;
  settings.ShowTodClock = false;
  settings.ShowFileExts = false;
  settings.RecentPuzzles.clear();
  settings.InitialDir.clear();
  settings.ModalPromptUp = false;
}

// The window started with the puzzle at path opened through the dialog.
std::unique_ptr<TMainForm> StartWith(const QString& path) {
  auto form = std::make_unique<TMainForm>();
  WhenDialogShows();
  form->Start({path});
  if (!QTest::qWaitForWindowExposed(form.get())) return nullptr;
  QElapsedTimer waited;
  waited.start();
  while ((!Puzzle::Current() || Puzzle::Current()->GetPath() != path) && waited.elapsed() < 20000)
    QTest::qWait(20);
  return Puzzle::Current() ? std::move(form) : nullptr;
}

QString StillPuzzle(const QString& name, bool withMusic) {
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(name + QStringLiteral(".bmp"), 360, 240));
  if (withMusic) {
    content.music = JigsawFixtures::TinyWave(4000);
    content.musicIsMidi = false;
  }
  const QString path = PuzzleFixtures::ScratchPath(name + QStringLiteral(".jig"));
  return JigsawFile::SaveStillPuzzle(path, content) ? path : QString();
}

QString AnimatedPuzzle(const QString& name, bool withTrack) {
  QvpWriter writer(320, 240);
  writer.AddClip(32, 24, 3);
  if (withTrack) writer.AddTrack(1, true, JigsawFixtures::TinyWave(4000));
  const QString path = PuzzleFixtures::ScratchPath(name + QStringLiteral(".qvp"));
  return writer.Write(path) ? path : QString();
}

// A point where the piece lies on top, in the table top's coordinates.
std::optional<QPoint> TopOf(ChipList& pieces, PuzzleChip* piece) {
  for (int y = piece->TableY(); y < piece->TableY() + piece->Mask().TableHeight(); y += 2)
    for (int x = piece->TableX(); x < piece->TableX() + piece->Mask().TableWidth(); x += 2)
      if (pieces.HitTest(x, y) == piece) return QPoint(x, y);
  return std::nullopt;
}

std::vector<const PuzzleChip*> Order(ChipList& pieces) {
  std::vector<const PuzzleChip*> order;
  for (int i = 0; i < pieces.Count(); ++i) order.push_back(pieces.At(i));
  return order;
}

std::vector<const PuzzleChip*> Without(std::vector<const PuzzleChip*> order, const PuzzleChip* piece) {
  order.erase(std::remove(order.begin(), order.end(), piece), order.end());
  return order;
}

std::map<const PuzzleChip*, int> Turns(ChipList& pieces) {
  std::map<const PuzzleChip*, int> turns;
  for (int i = 0; i < pieces.Count(); ++i) turns[pieces.At(i)] = pieces.At(i)->Mask().Rotation();
  return turns;
}
}  // namespace

class PlayerStartQTest : public QObject {
  Q_OBJECT
private slots:
  // The loading window's pauses between stages are for the player's eye only.
  void initTestCase() { TLoadBarForm::SetWaiter([](int) {}); }
  void cleanupTestCase() { TLoadBarForm::SetWaiter({}); }
  void init() { FreshSettings(); }

  // The hint pop-up takes Left or Down and closes; the key's release then reaches the main
  // window, which must not turn the piece under the pointer nor send the marked neighbour to
  // the bottom of the pile. The pop-up opens from the command and from F3.
  void keysTakenByTheHintPopUpNeverActOnTheTable() {
    auto form = StartWith(PuzzleFixtures::WritePicture(QStringLiteral("keys.bmp"), 480, 320));
    QVERIFY(form);
    ChipList& pieces = form->Table()->Surface().GetChipList();
    Prompt::Double prompts;
    for (int key : {Qt::Key_Left, Qt::Key_Down}) {
      form->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(form.get()));
      PuzzleChip* piece = nullptr;
      std::optional<QPoint> grip;
      for (int i = 0; i < pieces.Count() && !grip; ++i)
        if (THintFrm::NeighbourOnScreen(*pieces.At(i), key) && !pieces.At(i)->Group()) {
          piece = pieces.At(i);
          grip = TopOf(pieces, piece);
        }
      QVERIFY(grip);
      QCursor::setPos(form->Table()->mapToGlobal(*grip));
      PuzzleChip* neighbour = THintFrm::NeighbourOnScreen(*piece, key);
      const auto turns = Turns(pieces);
      const std::vector<const PuzzleChip*> order = Order(pieces);
      bool answered = false, closedByKey = false;
      QTimer poll;
      poll.setInterval(10);
      connect(&poll, &QTimer::timeout, [&] {
        auto* hint = qobject_cast<THintFrm*>(QApplication::activeModalWidget());
        // The player presses the key once the pop-up has the keyboard.
        if (!hint || !hint->isActiveWindow() || answered) return;
        answered = true;
        QTest::keyPress(hint, Qt::Key(key));
        closedByKey = !hint->isVisible();
        if (!closedByKey) hint->reject();
        // The pop-up has gone; the player lets go of the key over the table.
        QTest::keyRelease(form.get(), Qt::Key(key));
      });
      poll.start();
      // As the table's menu leaves them: the arrow keys' commands wait for a carried piece.
      form->TablePopupPopup();
      if (key == Qt::Key_Left)
        form->HintAtnExecute();
      else
        QTest::keyClick(form.get(), Qt::Key_F3);
      QString told;
      for (const auto& shown : prompts.Shown()) told += shown.text;
      QTRY_VERIFY2(answered, qPrintable(QString::number(key) + told));
      poll.stop();
      QVERIFY(closedByKey);
      QCoreApplication::processEvents();
      QVERIFY(Turns(pieces) == turns);
      // The hint may bring the neighbour to the top; nothing else of the pile moves.
      const std::vector<const PuzzleChip*> now = Order(pieces);
      QVERIFY(Without(now, neighbour) == Without(order, neighbour));
      const auto at = std::find(now.begin(), now.end(), neighbour) - now.begin();
      QVERIFY(at == 0 || at == std::find(order.begin(), order.end(), neighbour) - order.begin());
    }
  }

  // Whatever the last puzzle was doing, a new one plays: the button offers Pause, the Pause
  // item is not ticked, Play and Pause follow whether music can play, the background-sound
  // switch follows whether there is a track, and that switch starts the music again.
  void newPuzzlePutsEveryControlInItsState() {
    struct Kind {
      const char* name;
      QString path;
      bool track, canPlay;
    };
    const QList<Kind> kinds = {
        {"picture", PuzzleFixtures::WritePicture(QStringLiteral("plain picture.bmp"), 360, 240), false, false},
        {"still with music", StillPuzzle(QStringLiteral("tuneful"), true), true, true},
        {"still", StillPuzzle(QStringLiteral("quiet"), false), false, false},
        {"animated with music", AnimatedPuzzle(QStringLiteral("lively"), true), true, true},
        {"animated", AnimatedPuzzle(QStringLiteral("silent"), false), false, true},
    };
    const QString first = AnimatedPuzzle(QStringLiteral("first"), true);
    auto form = StartWith(first);
    QVERIFY(form);
    MainActions& atn = form->Actions();
    for (const Kind& kind : kinds) {
      for (bool wasPaused : {false, true}) {
        const QString row = QStringLiteral("%1, %2").arg(QLatin1String(kind.name), wasPaused ? "paused" : "playing");
        if (Puzzle::Current()->GetPath() != first) {
          WhenDialogShows();
          form->OpenDroppedFile(first);
          QTRY_VERIFY2(Puzzle::Current() && Puzzle::Current()->GetPath() == first, qPrintable(row));
        }
        if (wasPaused) {
          form->PauseAtnExecute();
          QCOMPARE(form->ToolPnl()->PlayBtn->defaultAction(), atn.PlayAtn);
        }
        WhenDialogShows();
        form->OpenDroppedFile(kind.path);
        QTRY_VERIFY2(Puzzle::Current() && Puzzle::Current()->GetPath() == kind.path, qPrintable(row));
        QVERIFY2(form->ToolPnl()->PlayBtn->defaultAction() == atn.PauseAtn, qPrintable(row));
        QVERIFY2(!atn.PauseAtn->isChecked(), qPrintable(row));
        QVERIFY2(atn.PauseAtn->isEnabled() == kind.canPlay && atn.PlayAtn->isEnabled() == kind.canPlay, qPrintable(row));
        QVERIFY2(atn.BkgdSndEnabledAtn->isEnabled() == kind.track, qPrintable(row));
        QVERIFY2(!atn.SaveAtn->isEnabled(), qPrintable(row));
        QCOMPARE(form->windowTitle(), Base + QStringLiteral(" - ") + QFileInfo(kind.path).completeBaseName());
        if (kind.track) {
          SoundTrack* track = SoundTrack::Current();
          QVERIFY2(track, qPrintable(row));
          atn.BkgdSndEnabledAtn->trigger();
          QVERIFY2(!track->IsPlaying(), qPrintable(row));
          atn.BkgdSndEnabledAtn->trigger();
          QVERIFY2(track->IsPlaying(), qPrintable(row));
        }
      }
    }
    form->close();
  }

  // A puzzle made from the clipboard is named so in the title and never enters the recent
  // list (its file goes with it). With the time of day on, the panel shows it from the start.
  void clipboardPuzzleAndTimeOfDay() {
    QImage picture(360, 240, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QGuiApplication::clipboard()->setImage(picture);
    auto form = std::make_unique<TMainForm>();
    WhenDialogShows([](TPuzzleDialog2* dialog) { PasteAndOpen(dialog); });
    form->Start({});
    QTRY_VERIFY2_WITH_TIMEOUT(Puzzle::Current() != nullptr, qPrintable(TMsgLog::Lines().join('\n')), 20000);
    QVERIFY(Puzzle::Current()->IsFromClipboard());
    QCOMPARE(form->windowTitle(), Base + QStringLiteral(" - Clipboard Image"));
    QVERIFY(!Settings()->RecentPuzzles.contains(Puzzle::Current()->GetPath()));
    QVERIFY(Settings()->RecentPuzzles.isEmpty());
    form->close();
    form.reset();

    Settings()->ShowTodClock = true;
    const QString before = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat).toLower();
    TMainForm clock;
    const QString after = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat).toLower();
    const QString shown = clock.ToolPnl()->TimeStatus->text();
    QVERIFY2(shown == before || shown == after, qPrintable(shown));
  }

  // A second copy naming only a folder opens the dialog there; with the dialog up it gives
  // way and comes back on that folder. A relative folder is taken from where the second copy
  // was started.
  void handOverOfAFolderOpensTheDialogThere() {
    QVERIFY(QDir().mkpath(PuzzleFixtures::ScratchPath(QStringLiteral("handed"))));
    const QString folder = QFileInfo(PuzzleFixtures::WritePicture(QStringLiteral("handed/one.bmp"), 360, 240)).absolutePath();
    const QStringList handed = StartUp::AbsoluteArguments(
        {QStringLiteral("game"), QStringLiteral("/i:handed"), QStringLiteral("/s=../saves")}, QFileInfo(folder).absolutePath());
    QCOMPARE(handed.mid(1), QStringList({QStringLiteral("/i:") + folder,
                                         QStringLiteral("/s=") + QDir::cleanPath(folder + QStringLiteral("/../../saves"))}));
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    QString shownFolder;
    WhenDialogShows([&](TPuzzleDialog2* dialog) {
      shownFolder = dialog->findChild<QComboBox*>(QStringLiteral("PuzzleDirBox"))->currentText();
      Reject(dialog);
    });
    form.WMCopyData(handed.mid(0, 2));
    QTRY_COMPARE(shownFolder, folder);
    QTRY_VERIFY(!OpenDialog());

    // The dialog is up when the folder comes: it closes and opens again there.
    shownFolder.clear();
    WhenDialogShows([&](TPuzzleDialog2* first) {
      WhenDialogShows(
          [&](TPuzzleDialog2* again) {
            shownFolder = again->findChild<QComboBox*>(QStringLiteral("PuzzleDirBox"))->currentText();
            Reject(again);
          },
          first);
      form.WMCopyData(handed.mid(0, 2));
    });
    form.OpenAtnExecute();
    QTRY_COMPARE(shownFolder, folder);
    form.close();
  }

  // A file dropped while the dialog asks a question of its own waits for the answer; a
  // cancelled save question forgets the dropped game, so the next Open shows the dialog; a
  // file of no puzzle kind named at the start is reported, not dropped silently.
  void droppedAndNamedFilesAreNeverLostOrSilent() {
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("dropped.bmp"), 360, 240);
    auto form = StartWith(PuzzleFixtures::WritePicture(QStringLiteral("current.bmp"), 360, 240));
    QVERIFY(form);
    bool stayed = false;
    WhenDialogShows([&](TPuzzleDialog2* dialog) {
      Settings()->ModalPromptUp = true;  // as while the dialog asks for the disc
      form->OpenDroppedFile(picture);
      QTimer::singleShot(300, [&, dialog = QPointer<TPuzzleDialog2>(dialog)] {
        stayed = dialog && dialog->isVisible();
        WhenDialogShows({}, dialog);
        Settings()->ModalPromptUp = false;
      });
    });
    form->OpenAtnExecute();
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current()->GetPath() == picture, 20000);
    QVERIFY(stayed);

    Puzzle::Current()->SetChanged();
    Prompt::Double prompts;
    prompts.Answer(Prompt::Cancel);
    form->OpenDroppedFile(PuzzleFixtures::ScratchPath(QStringLiteral("game.saw")));
    QTRY_COMPARE(prompts.Shown().size(), 1);
    QTRY_VERIFY(form->PendingPath().isEmpty());
    prompts.Answer(Prompt::No);
    bool dialogShown = false;
    WhenDialogShows([&](TPuzzleDialog2* dialog) {
      dialogShown = true;
      Reject(dialog);
    });
    form->OpenAtnExecute();
    QTRY_VERIFY(dialogShown);
    Puzzle::Current()->ClearChanged();
    form->close();
    form.reset();

    const QString notes = PuzzleFixtures::ScratchPath(QStringLiteral("notes.txt"));
    QVERIFY(TestEnvironment::WriteFile(notes, "words"));
    prompts.Clear();
    TMainForm named;
    named.Start({notes});
    QTRY_VERIFY(!prompts.Shown().isEmpty());
    QCOMPARE(prompts.Shown().first().text, QStringLiteral("File \"") + notes + QStringLiteral("\" uses an unsupported file type."));
    QVERIFY(named.PendingPath().isEmpty());
    named.close();
  }

  // What's This on a mini names the mini table, not the panel around it; the line under the
  // sponsor's item shows only with it; the bevel submenus wait for a puzzle; the dialog
  // carries its own "?" (many window managers draw none) and Enter presses Open there.
  void helpTopicsMenusAndTheDialogsButtons() {
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    const auto minis = form.findChildren<MiniSurface*>();
    QCOMPARE(minis.size(), 4);
    for (const MiniSurface* mini : minis) QCOMPARE(WhatsThis::ContextFor(mini), 200);
    QCOMPARE(WhatsThis::ContextFor(form.ToolPnl()), 770);
    QVERIFY(!form.Actions().SponserAtn->isVisible());
    QVERIFY(!form.Actions().SponserSeparator->isVisible());
    QList<QMenu*> bevels;
    for (QMenu* menu : form.findChildren<QMenu*>())
      if (menu->title() == QStringLiteral("&Puzzle Bevel")) bevels << menu;
    QCOMPARE(bevels.size(), 2);
    form.MenuRefresh();
    for (QMenu* bevel : bevels) QVERIFY(!bevel->isEnabled());

    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("enter.bmp"), 360, 240);
    bool explored = false;
    WhenDialogShows([&](TPuzzleDialog2* dialog) {
      auto* whatsThis = dialog->findChild<QToolButton*>(QStringLiteral("WhatsThisBtn"));
      whatsThis->click();
      explored = QWhatsThis::inWhatsThisMode();
      QWhatsThis::leaveWhatsThisMode();
      // The player's focus passes over the other buttons and comes back to the list.
      for (const char* name : {"CancelBtn", "HelpBtn"}) dialog->findChild<QPushButton*>(QLatin1String(name))->setFocus();
      auto* list = dialog->findChild<QWidget*>(QStringLiteral("PuzzleListBox"));
      list->setFocus();
      QTest::keyClick(list, Qt::Key_Return);
    });
    form.OpenDroppedFile(picture);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current()->GetPath() == picture, 20000);
    QVERIFY(explored);
    form.MenuRefresh();
    for (QMenu* bevel : bevels) QVERIFY(bevel->isEnabled());
    form.close();
  }
};

TV_QTEST_MAIN(PlayerStartQTest)
#include "PlayerStartQTest.moc"
