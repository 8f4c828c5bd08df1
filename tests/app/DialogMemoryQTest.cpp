// The open dialog remembers the file chosen on each tab and shows it again when it reopens;
// the last file of a list can be reached, opened and remembered like any other.

#include "DialogView.h"
#include "QtTestMain.h"
// The fixture writers of the puzzle tests, built into this program too.
#include "../puzzle/JigsawFileBuilder.h"
#include "../puzzle/PuzzleFixtures.cpp"

#include "Yelk/Prompt.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

namespace {
IconListBox* List(TPuzzleDialog2& dialog) { return Control<IconListBox>(dialog, "PuzzleListBox"); }

void ShowTab(TPuzzleDialog2& dialog, int tab) {
  Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(tab);
}

// Open, and the path of the puzzle handed over; empty when none was.
QString Opened(TPuzzleDialog2& dialog) {
  Control<QPushButton>(dialog, "OpenBtn")->click();
  const std::unique_ptr<Puzzle> puzzle = dialog.TakePuzzle();
  return dialog.result() == QDialog::Accepted && puzzle ? puzzle->GetPath() : QString();
}

void Key(TPuzzleDialog2& dialog, Qt::Key key) { QTest::keyClick(List(dialog), key); }

void Cancel(TPuzzleDialog2& dialog) { Control<QPushButton>(dialog, "CancelBtn")->click(); }
}  // namespace

class DialogMemoryQTest : public QObject {
  Q_OBJECT
  QString pictures, games;
  QString apple, birch, cedar, dune, elm;
  QString first, second, third;

  static void Remember(int begin, int saved, int create) {
    ProgSettings& settings = *Settings();
    settings.LastNewIndex = begin;
    settings.LastSavedIndex = saved;
    settings.LastCreateIndex = create;
  }

private slots:
  // Five pictures, sorted by name without regard to case, each of its own size so that the
  // facts tell which one was loaded; three saved games.
  void initTestCase() {
    pictures = DialogFolder(QStringLiteral("pictures"));
    apple = DialogPicture(pictures, QStringLiteral("Apple.jpg"), 200, 150);
    birch = DialogPicture(pictures, QStringLiteral("birch.bmp"), 210, 150);
    cedar = DialogPicture(pictures, QStringLiteral("Cedar.jpg"), 220, 160);
    dune = DialogPicture(pictures, QStringLiteral("dune.jpg"), 230, 170);
    elm = DialogPicture(pictures, QStringLiteral("Elm.bmp"), 240, 180);
    games = DialogFolder(QStringLiteral("games"));
    first = games + QStringLiteral("First.saw");
    second = games + QStringLiteral("second.saw");
    third = games + QStringLiteral("Third.saw");
    for (const QString& path : {first, second, third})
      QVERIFY(TestEnvironment::WriteFile(path, JigsawFixtures::Game().bytes));
    ProgSettings& settings = *Settings();
    settings.ShowFileExts = false;
    settings.ShowMorePuzzles = false;
    settings.PrevSaveUnfinished = false;
    settings.RecentPuzzles.clear();
    settings.InitialDir.clear();
    settings.NewPuzzleFolders = {pictures};
    settings.SavedPuzzleFolders = {games};
    settings.CreatePuzzleFolders = {pictures};
  }

  void init() { Remember(0, 0, 0); }

  // Each tab keeps its own file, whether it was reached by keys, by the arrows or by a
  // change of tab, and whether the dialog ended with Cancel or with Open.
  void reopeningShowsTheFileLastChosenOnEachTab() {
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 0, row 0 Apple, file Apple 200x150 pixels, "
                                            "open on, up off, down on"));
      Key(dialog, Qt::Key_Down);
      Key(dialog, Qt::Key_Down);
      Key(dialog, Qt::Key_Down);
      ShowTab(dialog, 1);
      Control<QToolButton>(dialog, "SpinDownBtn")->click();
      ShowTab(dialog, 2);
      Key(dialog, Qt::Key_Down);
      Key(dialog, Qt::Key_Down);
      Cancel(dialog);
    }
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 3, row 3 dune, file dune 230x170 pixels, "
                                          "open on, up on, down on"));
    ShowTab(dialog, 1);
    QCOMPARE(Seen(dialog), QStringLiteral("tab 1, highlighted 1, row 1 second, file second 48x36 pixels, "
                                          "open on, up on, down on"));
    ShowTab(dialog, 2);
    QCOMPARE(Seen(dialog), QStringLiteral("tab 2, highlighted 2, row 2 Cedar, file Cedar 220x160 pixels, "
                                          "open on, up on, down on"));
    ShowTab(dialog, 0);
    QCOMPARE(Seen(dialog).left(31), QStringLiteral("tab 0, highlighted 3, row 3 dun"));
    Control<QToolButton>(dialog, "SpinUpBtn")->click();
    Control<QToolButton>(dialog, "SpinUpBtn")->click();
    QCOMPARE(Opened(dialog), birch);

    TPuzzleDialog2 again(nullptr);
    again.show();
    QCOMPARE(Seen(again), QStringLiteral("tab 0, highlighted 1, row 1 birch, file birch 210x150 pixels, "
                                         "open on, up on, down on"));
  }

  // The file the main window names wins over the remembered one, the last of the list too;
  // the file shown last is the one remembered for the next opening.
  void aNamedFileWinsOverTheRememberedOne() {
    Remember(1, 0, 0);
    TPuzzleDialog2 named(nullptr, elm);
    named.show();
    QCOMPARE(Seen(named), QStringLiteral("tab 0, highlighted 4, row 4 Elm, file Elm 240x180 pixels, "
                                         "open on, up on, down off"));
    QCOMPARE(named.GetPuzzle()->GetPath(), elm);
    // The name is for the first list only: another tab shows its own remembered file.
    ShowTab(named, 1);
    QCOMPARE(Seen(named), QStringLiteral("tab 1, highlighted 0, row 0 First, file First 48x36 pixels, "
                                         "open on, up off, down on"));
    QCOMPARE(Control<QComboBox>(named, "PuzzleDirBox")->currentText(), games.chopped(1));
    ShowTab(named, 0);
    QCOMPARE(Seen(named).mid(7, 25), QStringLiteral("highlighted 4, row 4 Elm,"));
    Cancel(named);
    TPuzzleDialog2 dialog(nullptr, apple);
    dialog.show();
    QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 0, row 0 Apple, file Apple 200x150 pixels, "
                                          "open on, up off, down on"));
    Key(dialog, Qt::Key_End);
    Cancel(dialog);
    TPuzzleDialog2 plain(nullptr);
    plain.show();
    QCOMPARE(Seen(plain).mid(7, 25), QStringLiteral("highlighted 4, row 4 Elm,"));
  }

  // The last file: End, Down past it, the down arrow past it; it shows its own facts, it
  // opens by the button and by a double click, and it is remembered.
  void theLastFileIsReachedOpenedAndRemembered() {
    const QString last =
        QStringLiteral("highlighted 4, row 4 Elm, file Elm 240x180 pixels, open on, up on, down off");
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      List(dialog)->setFocus();
      Key(dialog, Qt::Key_End);
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, ") + last);
      Key(dialog, Qt::Key_Down);
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, ") + last);
      Key(dialog, Qt::Key_Up);
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 3, row 3 dune, file dune 230x170 pixels, "
                                            "open on, up on, down on"));
      auto* down = Control<QToolButton>(dialog, "SpinDownBtn");
      down->click();
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, ") + last);
      down->click();
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, ") + last);
      Control<QPushButton>(dialog, "OpenBtn")->click();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      std::unique_ptr<Puzzle> opened = dialog.TakePuzzle();
      QVERIFY(opened);
      QCOMPARE(opened->GetPath(), elm);
      QCOMPARE(opened->GetImageSize(), QSize(240, 180));
    }
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QCOMPARE(Seen(dialog), QStringLiteral("tab 0, ") + last);
    // A double click on the last row opens it too.
    Remember(0, 0, 0);
    TPuzzleDialog2 clicked(nullptr);
    clicked.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clicked));
    IconListBox* list = List(clicked);
    const QPoint where = list->visualItemRect(list->item(4)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(clicked.result(), int(QDialog::Accepted));
    QVERIFY(clicked.GetPuzzle());
    QCOMPARE(clicked.GetPuzzle()->GetPath(), elm);
  }

  // The last saved game and the last picture of the Create tab, likewise.
  void theLastEntryOfTheOtherTabs() {
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      ShowTab(dialog, 1);
      Key(dialog, Qt::Key_End);
      QCOMPARE(Seen(dialog), QStringLiteral("tab 1, highlighted 2, row 2 Third, file Third 48x36 pixels, "
                                            "open on, up on, down off"));
      ShowTab(dialog, 2);
      Key(dialog, Qt::Key_End);
      QCOMPARE(Seen(dialog), QStringLiteral("tab 2, highlighted 4, row 4 Elm, file Elm 240x180 pixels, "
                                            "open on, up on, down off"));
      QCOMPARE(dialog.GatheredContent().picture, dialog.GetPuzzle()->SourcePicture().bytes);
      QCOMPARE(dialog.GetPuzzle()->GetPath(), elm);
      ShowTab(dialog, 1);
      QCOMPARE(Opened(dialog), third);
    }
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    ShowTab(dialog, 1);
    QCOMPARE(Seen(dialog).mid(7, 27), QStringLiteral("highlighted 2, row 2 Third,"));
    ShowTab(dialog, 2);
    QCOMPARE(Seen(dialog).mid(7, 25), QStringLiteral("highlighted 4, row 4 Elm,"));
  }

  // A remembered place past the end of a list that has since shrunk shows the list's new
  // last file; a list of one file has no arrows to use.
  void aRememberedPlacePastTheEndShowsTheNewLast() {
    const QString folder = DialogFolder(QStringLiteral("shrinking"));
    QStringList paths;
    for (const char* name : {"One.jpg", "Two.jpg", "Three.jpg"})
      paths << DialogPicture(folder, QLatin1String(name), 100 + int(paths.size()) * 10, 100);
    Settings()->NewPuzzleFolders = {folder};
    Remember(2, 0, 0);
    QVERIFY(QFile::remove(paths[1]));  // "Two", the last by name
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 1, row 1 Three, file Three 120x100 pixels, "
                                            "open on, up on, down off"));
    }
    Remember(7, 0, 0);
    QVERIFY(QFile::remove(paths[2]));
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 0, row 0 One, file One 100x100 pixels, "
                                          "open on, up off, down off"));
    QVERIFY(!Control<QWidget>(dialog, "Spinner")->isEnabled());
    Key(dialog, Qt::Key_End);
    Key(dialog, Qt::Key_Down);
    QCOMPARE(Seen(dialog).mid(7, 24), QStringLiteral("highlighted 0, row 0 One"));
    Settings()->NewPuzzleFolders = {pictures};
  }

  // Deleting the last file leaves no facts of it behind: the list starts again at its top.
  void deletingTheLastFile() {
    const QString folder = DialogFolder(QStringLiteral("deleting"));
    const QString keep = DialogPicture(folder, QStringLiteral("Keep.jpg"), 150, 100);
    const QString gone = DialogPicture(folder, QStringLiteral("Last.jpg"), 160, 100);
    Settings()->NewPuzzleFolders = {folder};
    Settings()->RecentPuzzles = {gone, keep};
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    Key(dialog, Qt::Key_End);
    QCOMPARE(Seen(dialog).mid(7, 26), QStringLiteral("highlighted 1, row 1 Last,"));
    Prompt::Double prompts;
    prompts.Answer(Prompt::Yes);
    Control<QAction>(dialog, "DeleteAtn")->trigger();
    QVERIFY(!QFile::exists(gone));
    QCOMPARE(Settings()->RecentPuzzles, QStringList{keep});
    QCOMPARE(List(dialog)->count(), 1);
    QCOMPARE(Seen(dialog), QStringLiteral("tab 0, highlighted 0, row 0 Keep, file Keep 150x100 pixels, "
                                          "open on, up off, down off"));
    Settings()->NewPuzzleFolders = {pictures};
  }

  // In a list longer than its box, the remembered last file is scrolled into sight.
  void theRememberedLastFileOfALongListIsInSight() {
    const QString folder = DialogFolder(QStringLiteral("long"));
    for (int i = 0; i < 40; ++i)
      DialogPicture(folder, QStringLiteral("Picture %1.jpg").arg(i, 2, 10, QLatin1Char('0')), 64, 64);
    Settings()->NewPuzzleFolders = {folder};
    Remember(39, 0, 0);
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    IconListBox* list = List(dialog);
    QCOMPARE(list->currentRow(), 39);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Picture 39"));
    QVERIFY(list->verticalScrollBar()->maximum() > 0);
    QTRY_VERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(39))));
    Settings()->NewPuzzleFolders = {pictures};
  }
};

TV_QTEST_MAIN(DialogMemoryQTest)
#include "DialogMemoryQTest.moc"
