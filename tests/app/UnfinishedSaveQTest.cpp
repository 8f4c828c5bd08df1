// A game saved unfinished is offered again when the game next starts: the first opening of
// the dialog shows the Continue tab with that game selected, once per run. A completed
// save, a folder or a file named at the start leave the dialog as it would be otherwise.
// The next start is a process of its own, as the offer is made once per run; it reads the
// settings this run left in the store and prints what each opening of the dialog shows.

#include "CommandLine.h"
#include "DialogView.h"
#include "ModalAnswers.h"
#include "TMainForm.h"
#include "TestEnvironment.h"

#include "Yelk/Prompt.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QProcess>
#include <QTextStream>
#include <QTimer>
#include <QtTest>

#include <climits>
#include <memory>

namespace {
constexpr char nextStartOption[] = "--next-start";

// The next start: the command line given, then the dialog opened and cancelled twice, as
// the main window opens it (with the file named, then with none).
int NextStart(int argc, char** argv) {
  QApplication app(argc, argv);
  Prompt::Double prompts;
  QStringList arguments;
  for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const QString named = ParseCommandLine(arguments, *Settings());
  QTextStream out(stdout);
  for (const QString& path : {named, QString()}) {
    TPuzzleDialog2 dialog(nullptr, path);
    dialog.show();
    out << Seen(dialog) << '\n';
    dialog.reject();
  }
  return 0;
}
}  // namespace

class UnfinishedSaveQTest : public QObject {
  Q_OBJECT
  QString pictures, games, meadow, zinnia, unfinished, completed;
  std::unique_ptr<ModalAnswers> answers;

  // What each opening of the dialog shows at the next start with these arguments.
  static QStringList NextStartShows(const QStringList& arguments = {}) {
    QProcess next;
    next.start(QCoreApplication::applicationFilePath(),
               QStringList{QLatin1String(nextStartOption)} + arguments);
    if (!next.waitForFinished(60000)) {
      next.kill();
      next.waitForFinished();
      return {QStringLiteral("the next start did not end")};
    }
    if (next.exitStatus() != QProcess::NormalExit || next.exitCode() != 0)
      return {QStringLiteral("the next start failed: ") +
              QString::fromLocal8Bit(next.readAllStandardError())};
    return QString::fromLocal8Bit(next.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

  // The Open command in this run: what the dialog shows before the player cancels it.
  static QString SeenOnOpen(TMainForm& form) {
    QString seen;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<TPuzzleDialog2*>(QApplication::activeModalWidget());
      if (!dialog || !seen.isEmpty()) return;
      seen = Seen(*dialog);
      dialog->reject();
    });
    poll.start();
    form.Actions().OpenAtn->trigger();
    return seen;
  }

  // A game of the meadow begun from the dialog, joined as far as `joins` goes (all: to the
  // end), saved under `path` and the window closed, which stores the settings.
  void PlayAndSave(const QString& path, int joins) {
    answers = std::make_unique<ModalAnswers>();
    answers->savePath = path;
    answers->boxAnswer = QMessageBox::Yes;  // replacing a game saved before
    TMainForm form;
    form.Start({meadow});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    Puzzle* puzzle = Puzzle::Current();
    QCOMPARE(puzzle->GetPath(), meadow);
    const int total = puzzle->GetPieceCount();
    QVERIFY(total >= 4);
    for (int i = 0; i < joins && puzzle->GetJoins() + 1 < total; ++i) puzzle->AddJoin();
    puzzle->SetChanged();
    QVERIFY(form.SavePuzzle(true));
    QVERIFY(QFileInfo(path).isFile());
    answers.reset();
    // In the same run the dialog no longer offers the game: it shows the file begun.
    QCOMPARE(SeenOnOpen(form), QStringLiteral("tab 0, highlighted 0, row 0 Meadow, file Meadow "
                                              "240x160 pixels, open on, up off, down on"));
    QVERIFY(form.close());
  }

private slots:
  void initTestCase() {
    pictures = DialogFolder(QStringLiteral("pictures"));
    games = DialogFolder(QStringLiteral("games"));
    meadow = DialogPicture(pictures, QStringLiteral("Meadow.jpg"), 240, 160);
    zinnia = DialogPicture(pictures, QStringLiteral("Zinnia.jpg"), 200, 200);
    unfinished = games + QStringLiteral("Meadow half.saw");
    completed = games + QStringLiteral("Meadow done.saw");
    ModalAnswers::PlaySettings();
    ProgSettings& settings = *Settings();
    settings.ShowFileExts = false;
    settings.ShowMorePuzzles = false;
    settings.SuppressApplause = true;
    settings.NewPuzzleFolders = {pictures};
    settings.SavedPuzzleFolders.clear();
    settings.RecentPuzzles.clear();
  }

  // Saved half done: the next start's first opening shows the Continue tab with that game
  // selected among the others in its folder, and its second the Begin tab; a start naming a
  // folder or a file shows those instead, and the offer is gone for that run.
  void anUnfinishedGameIsOfferedAtTheNextStart() {
    // Two other saved games around it, so that the row shows which one is selected.
    PlayAndSave(games + QStringLiteral("Aster.saw"), 1);
    PlayAndSave(games + QStringLiteral("Nettle.saw"), 1);
    PlayAndSave(unfinished, 2);
    const QString begin = QStringLiteral("tab 0, highlighted 0, row 0 Meadow, file Meadow 240x160 pixels, "
                                         "open on, up off, down on");
    QCOMPARE(NextStartShows(),
             QStringList({QStringLiteral("tab 1, highlighted 1, row 1 Meadow half, file Meadow half "
                                         "240x160 pixels, open on, up on, down on"),
                          begin}));
    QCOMPARE(NextStartShows({QStringLiteral("/i:") + pictures.chopped(1)}), QStringList({begin, begin}));
    // The file named is remembered for the second opening too.
    QCOMPARE(NextStartShows({zinnia}), QStringList(2, QStringLiteral("tab 0, highlighted 1, row 1 Zinnia, "
                                                                     "file Zinnia 200x200 pixels, open on, "
                                                                     "up on, down off")));
    // Offered again at the start after those, as nothing was saved in between.
    QCOMPARE(NextStartShows().value(0).left(34), QStringLiteral("tab 1, highlighted 1, row 1 Meadow"));
  }

  // Saved complete: the next start shows the Begin tab, though an unfinished game is still
  // the most recent file of the list.
  void aCompletedGameIsNotOffered() {
    PlayAndSave(completed, INT_MAX);
    QCOMPARE(Settings()->RecentPuzzles.value(0), unfinished);
    const QString begin = QStringLiteral("tab 0, highlighted 0, row 0 Meadow, file Meadow 240x160 pixels, "
                                         "open on, up off, down on");
    QCOMPARE(NextStartShows(), QStringList({begin, begin}));
    // Saving an unfinished game again brings the offer back.
    PlayAndSave(unfinished, 3);
    QCOMPARE(NextStartShows().value(0).left(39), QStringLiteral("tab 1, highlighted 2, row 2 Meadow half"));
  }
};

int main(int argc, char** argv) {
  if (argc > 1 && qstrcmp(argv[1], nextStartOption) == 0) return NextStart(argc, argv);
  TestEnvironment::Prepare();
  QApplication app(argc, argv);
  Prompt::Double prompts;
  UnfinishedSaveQTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "UnfinishedSaveQTest.moc"
