// On a real X server with a window manager, a first start as a new player makes it: fresh
// settings, no file named, the program beside its Puzzle Box. The open dialog is up and has
// the keyboard, it lists the puzzles that came with the game with the first one selected,
// and Enter opens that one. This program is built
// beside the game, so that the game's folder is its own.

#include "QtTestMain.h"
#include "TMainForm.h"
#include "TPuzzleDialog2.h"

#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class FirstStartRealXQTest : public QObject {
  Q_OBJECT
private slots:
  void firstStartOffersThePuzzleBoxAndEnterOpensTheFirst() {
    const QDir box(QCoreApplication::applicationDirPath() + QStringLiteral("/Puzzle Box"));
    QStringList names = box.entryList(QDir::Files, QDir::Name);
    QCOMPARE(names.size(), 3);
    for (QString& name : names) name = QFileInfo(name).completeBaseName();
    names.sort(Qt::CaseInsensitive);
    Settings()->ShowFileExts = false;
    QVERIFY(Settings()->NewPuzzleFolders.isEmpty());

    // The dialog runs its own loop: it is looked at from a timer, once it has the keyboard.
    QStringList listed;
    int row = -1;
    bool focused = false, openable = false;
    QTimer look;
    look.setInterval(20);
    QElapsedTimer waited;
    waited.start();
    connect(&look, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<TPuzzleDialog2*>(QApplication::activeModalWidget());
      auto* list = dialog ? dialog->findChild<QListWidget*>(QStringLiteral("PuzzleListBox")) : nullptr;
      if (!list) return;
      focused = dialog->isActiveWindow() && QApplication::focusWidget() == list;
      if (!focused && waited.elapsed() < 10000) return;
      look.stop();
      for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
      row = list->currentRow();
      openable = dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->isEnabled();
      QTest::keyClick(list, Qt::Key_Return);
      if (dialog->isVisible()) dialog->reject();
    });
    look.start();
    TMainForm form;
    form.Start({});
    QTRY_VERIFY_WITH_TIMEOUT(!look.isActive(), 15000);
    QVERIFY(focused);
    QCOMPARE(listed, names);
    QCOMPARE(row, 0);
    QVERIFY(openable);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 30000);
    QCOMPARE(form.windowTitle(), QStringLiteral("Tessavinelume Jigsaw Puzzles - ") + names.first());
    QCOMPARE(Puzzle::Current()->GetPath(), box.filePath(names.first() + QStringLiteral(".jpg")));
    form.close();
  }
};

TV_QTEST_MAIN(FirstStartRealXQTest)
#include "FirstStartRealXQTest.moc"
