// The open and create dialog over a folder of pictures, still puzzles and saved games: what
// each tab lists, previews and offers, what OK hands over and what Cancel leaves alone, and
// deleting.

#include "DialogView.h"
#include "QtTestMain.h"
#include "TPuzzleDialog2.h"
// The fixture writers of the puzzle tests, built into this program too.
#include "../puzzle/JigsawFileBuilder.h"
#include "../puzzle/PuzzleFixtures.cpp"

#include "Yelk/Prompt.h"
#include "controls/ChooseBox.h"
#include "controls/Glyph.h"
#include "controls/IconListBox.h"
#include "controls/LabelButton.h"
#include "controls/WhatsThis.h"
#include "platform/HelpWindow.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PieceCounts.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QToolButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QWhatsThis>
#include <QtTest>
#include <climits>

namespace {
struct Listed {
  QString name;
  QString path;
};

// The rows of the list, each with the path the dialog opens for it (read back through the
// preview's puzzle, so a list out of step with its paths shows).
QList<Listed> Rows(TPuzzleDialog2& dialog) {
  QList<Listed> rows;
  auto* list = Control<IconListBox>(dialog, "PuzzleListBox");
  for (int row = 0; row < list->count(); ++row) {
    list->setCurrentRow(row);
    rows.append({list->item(row)->text(), dialog.GetPuzzle() ? dialog.GetPuzzle()->GetPath() : QString()});
  }
  return rows;
}

int RowOf(TPuzzleDialog2& dialog, const QString& path) {
  const QList<Listed> rows = Rows(dialog);
  for (qsizetype i = 0; i < rows.size(); ++i)
    if (rows[i].path == path) return int(i);
  return -1;
}

void Select(TPuzzleDialog2& dialog, const QString& path) {
  const int row = RowOf(dialog, path);
  QVERIFY2(row >= 0, qPrintable(path));
  Control<IconListBox>(dialog, "PuzzleListBox")->setCurrentRow(row);
}

QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

void Shoot(QWidget& dialog, const QString& name) {
  const QString folder = qEnvironmentVariable("TV_DIALOG_SHOTS");
  if (!folder.isEmpty()) dialog.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Every count offered is one the die gives for the picture, at a size the cut accepts, and
// every such count is offered.
void CheckOfferedCounts(ChooseBox* box, QSize picture) {
  bool overflow = false;
  QStringList expected;
  for (const PieceCountChoice& choice : ListPieceCounts(picture.width(), picture.height(), 0, &overflow, QString(), INT_MAX))
    if (choice.cellSize >= MinPieceSize() && choice.cellSize <= std::min(picture.width(), picture.height()))
      expected << choice.text;
  QVERIFY(!expected.isEmpty());
  QCOMPARE(Items(box), expected);
  for (int i = 0; i < box->count(); ++i)
    QCOMPARE(box->itemText(i), QString::number(PieceCount(picture.width(), picture.height(), box->ItemObject(i))));
}
}  // namespace

class PuzzleDialogQTest : public QObject {
  Q_OBJECT
  QString begin, saved, lakeJpg, lakeBmp, tiny, hills, game, game2;

private slots:
  void initTestCase() {
    begin = DialogFolder(QStringLiteral("begin"));
    saved = DialogFolder(QStringLiteral("saved"));
    lakeJpg = DialogPicture(begin, QStringLiteral("Lake.jpg"), 300, 200);
    lakeBmp = DialogPicture(begin, QStringLiteral("lake.BMP"), 300, 200);
    tiny = DialogPicture(begin, QStringLiteral("Tiny.JPEG"), 20, 40);
    DialogPicture(begin, QStringLiteral("Swirl.jpg"), 64, 64, true);
    TestEnvironment::WriteFile(begin + QStringLiteral("notes.txt"), "not a puzzle");
    StillPuzzleContent still;
    const QString source = DialogPicture(saved, QStringLiteral("hills source.bmp"), 260, 180);
    QVERIFY(still.ReadPicture(source));
    still.hintLimit = 8;
    still.allowUpright = false;
    hills = begin + QStringLiteral("Hills.JIG");
    QVERIFY(JigsawFile::SaveStillPuzzle(hills, still));
    QFile::remove(source);
    game = saved + QStringLiteral("Game.saw");
    game2 = saved + QStringLiteral("GAME2.SAW");
    for (const QString& path : {game, game2, begin + QStringLiteral("Begun.saw")})
      QVERIFY(TestEnvironment::WriteFile(path, JigsawFixtures::Game().bytes));
    DialogPicture(saved, QStringLiteral("Stray.jpg"), 100, 100);

    ProgSettings& settings = *Settings();
    settings.ShowFileExts = false;
    settings.ShowMorePuzzles = false;
    settings.PuzzlePieceSize = 40;
    settings.NumberOfHintsAllowed = 16;
    settings.NewPuzzleFolders = {begin};
    settings.SavedPuzzleFolders = {saved};
    settings.RecentPuzzles.clear();
  }

  // Begin tab: both files of one base name are listed, each opening its own file; only
  // puzzles and pictures of any case of extension; each preview shows its facts and the
  // counts the die allows; OK hands over an unprepared puzzle with the chosen size and hints.
  void beginTabListsPreviewsAndHandsOver() {
    RecordedTips tips;
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QCOMPARE(tips.shown, QList<int>{6});
    QWhatsThis::enterWhatsThisMode();
    QWhatsThis::leaveWhatsThisMode();
    QCOMPARE(tips.used, QList<int>{6});
    QVERIFY(!Control<QPushButton>(dialog, "MoreBtn")->isVisible());
    const QList<Listed> rows = Rows(dialog);
    QStringList names, paths;
    for (const Listed& row : rows) names << row.name, paths << row.path;
    QCOMPARE(names.size(), 4);
    QCOMPARE(names[0], QStringLiteral("Hills"));
    QCOMPARE(names[1].toLower(), QStringLiteral("lake"));
    QCOMPARE(names[2].toLower(), QStringLiteral("lake"));
    QCOMPARE(names[3], QStringLiteral("Tiny"));
    paths.sort();
    QStringList expected{hills, lakeBmp, lakeJpg, tiny};
    expected.sort();
    QCOMPARE(paths, expected);
    for (const Listed& row : rows)
      QCOMPARE(row.name, QFileInfo(row.path).completeBaseName());

    auto* pieces = Control<ChooseBox>(dialog, "NumPiecesBox");
    auto* hints = Control<QComboBox>(dialog, "NumHintsBox");
    auto* open = Control<QPushButton>(dialog, "OpenBtn");
    auto* note = Control<QLabel>(dialog, "BoxCoverLbl");
    auto* preview = Control<QLabel>(dialog, "PreviewImg");
    Select(dialog, tiny);
    QCOMPARE(note->text(), QStringLiteral("(The image is too small to be a puzzle)"));
    QVERIFY(!open->isEnabled());
    QCOMPARE(pieces->count(), 0);

    Select(dialog, hills);
    QCOMPARE(Control<QLabel>(dialog, "TypeLbl")->text(), QStringLiteral("Still image jigsaw puzzle"));
    QCOMPARE(Control<QLabel>(dialog, "SizeLbl")->text(), QStringLiteral("260x180 pixels"));
    QCOMPARE(Items(hints), QStringList({"None", "1", "2", "4", "8"}));
    QCOMPARE(hints->currentText(), QStringLiteral("8"));
    QVERIFY(!Control<QCheckBox>(dialog, "UprightChkBox")->isEnabled());
    CheckOfferedCounts(pieces, {260, 180});

    Select(dialog, lakeJpg);
    QCOMPARE(Control<LabelButton>(dialog, "FileLbl")->Caption(), QStringLiteral("Lake"));
    QCOMPARE(Control<QLabel>(dialog, "TypeLbl")->text(), QStringLiteral("JPEG image"));
    QCOMPARE(Control<QLabel>(dialog, "SizeLbl")->text(), QStringLiteral("300x200 pixels"));
    // The preview is decoded on a thread of its own and shows when it is ready.
    QTRY_VERIFY(preview->isVisible() && !preview->pixmap().isNull());
    QVERIFY(preview->width() <= 185 && preview->height() <= 185);
    QVERIFY(note->isHidden());
    QCOMPARE(Items(hints), QStringList({"None", "1", "2", "4", "8", "16", "32", "64", "128", "Unlimited"}));
    QCOMPARE(hints->currentText(), QStringLiteral("16"));
    CheckOfferedCounts(pieces, {300, 200});
    // The preselected count is the largest whose pieces are still at least the preferred size.
    const int chosen = pieces->currentIndex();
    QVERIFY(pieces->ItemObject(chosen) >= 40);
    QVERIFY(chosen == pieces->count() - 1 || pieces->ItemObject(chosen + 1) < 40);
    QVERIFY(open->isEnabled());
    Shoot(dialog, QStringLiteral("begin"));

    // The sample piece shows while the pieces box has the focus.
    dialog.activateWindow();
    pieces->setFocus();
    QTRY_VERIFY(note->text().contains(QLatin1String("typical puzzle piece")));
    Shoot(dialog, QStringLiteral("piece"));
    Control<IconListBox>(dialog, "PuzzleListBox")->setFocus();
    QTRY_VERIFY(note->isHidden());

    pieces->setCurrentIndex(1);
    hints->setCurrentIndex(hints->findText(QStringLiteral("4")));
    const int size = pieces->ItemObject(1);
    open->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    std::unique_ptr<Puzzle> chosenPuzzle = dialog.TakePuzzle();
    QVERIFY(chosenPuzzle);
    QCOMPARE(chosenPuzzle->GetPath(), lakeJpg);
    QCOMPARE(chosenPuzzle->GetPieceSize(), size);
    QCOMPARE(chosenPuzzle->GetHintLimit(), 4);
    QVERIFY(!chosenPuzzle->IsStarted() && !chosenPuzzle->GetBevel());
    QCOMPARE(Settings()->NumberOfHintsAllowed, 4);
  }

  // Continue tab: only saved games, with their facts; OK keeps the game's own piece size.
  // Cancel leaves the game being played as it was.
  void continueTabShowsFactsAndCancelLeavesTheGame() {
    Puzzle played(lakeBmp);
    PuzzleTestAccess::Start(played, 24);
    played.SetPieceSize(50);
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(1);
      const QList<Listed> rows = Rows(dialog);
      QCOMPARE(rows.size(), 2);
      QCOMPARE(rows[0].path, game);
      QCOMPARE(rows[1].path, game2);
      QVERIFY(!Control<ChooseBox>(dialog, "NumPiecesBox")->isVisible());
      QVERIFY(!Control<QComboBox>(dialog, "NumHintsBox")->isVisible());
      Select(dialog, game);
      const Puzzle reference(game);
      QCOMPARE(Control<QLabel>(dialog, "SavedNumPiecesLbl")->text(),
               QStringLiteral("Number of pieces: %1").arg(reference.GetPieceCount()));
      QCOMPARE(Control<QLabel>(dialog, "PercentCompleteLbl")->text(),
               QStringLiteral("Percent complete: %1%").arg(reference.GetPercentComplete()));
      QCOMPARE(Control<QLabel>(dialog, "ElapsedTimeLbl")->text(),
               QStringLiteral("Elapsed time: ") + reference.FormatElapsed(true));
      QVERIFY(Control<QLabel>(dialog, "PreviewWarningLbl")->isVisible());
      QVERIFY(Control<QPushButton>(dialog, "OpenBtn")->isEnabled());
      Shoot(dialog, QStringLiteral("continue"));
      Control<QPushButton>(dialog, "CancelBtn")->click();
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(Puzzle::Current(), &played);
    QCOMPARE(played.GetPath(), lakeBmp);
    QCOMPARE(played.GetPieceSize(), 50);
    QVERIFY(QFile::exists(game));

    TPuzzleDialog2 dialog(nullptr, game2);
    dialog.show();
    Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(1);
    Select(dialog, game2);
    Control<QPushButton>(dialog, "OpenBtn")->click();
    std::unique_ptr<Puzzle> resumed = dialog.TakePuzzle();
    QVERIFY(resumed);
    QCOMPARE(resumed->GetPieceSize(), resumed->GetJigsawFile()->PieceSize());
  }

  // The clipboard picture becomes a temporary bitmap that goes with its puzzle.
  void clipboardPictureIsPreviewed() {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QGuiApplication::clipboard()->setImage(image);
    QStringList temporaries;
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QToolButton>(dialog, "PasteBtn")->click();
      QCOMPARE(Control<QLabel>(dialog, "FilePfxLbl")->text(), QStringLiteral("Clipboard Image"));
      QVERIFY(dialog.GetPuzzle());
      const QString temporary = dialog.GetPuzzle()->GetPath();
      QVERIFY(temporary.endsWith(QLatin1String(".bmp")));
      temporaries << temporary;
      QCOMPARE(Control<QLabel>(dialog, "SizeLbl")->text(), QStringLiteral("120x90 pixels"));
      // The facts are laid out whole: no label is narrower than its text.
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
      for (const char* name : {"FilePfxLbl", "TypePfxLbl", "SizePfxLbl", "TypeLbl", "SizeLbl"}) {
        auto* label = Control<QLabel>(dialog, name);
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                 qPrintable(QStringLiteral("%1 \"%2\" in %3 pixels").arg(QLatin1String(name), label->text()).arg(label->width())));
      }
      QVERIFY(Control<QPushButton>(dialog, "OpenBtn")->isEnabled());
      QVERIFY(!Control<IconListBox>(dialog, "PuzzleListBox")->isEnabled());
      // A clipboard picture too small to cut is not opened either.
      QGuiApplication::clipboard()->setImage(image.copy(0, 0, 20, 90));
      Control<QToolButton>(dialog, "PasteBtn")->click();
      Control<QToolButton>(dialog, "PasteBtn")->click();
      QCOMPARE(Control<QLabel>(dialog, "SizeLbl")->text(), QStringLiteral("20x90 pixels"));
      QVERIFY(!Control<QPushButton>(dialog, "OpenBtn")->isEnabled());
      QVERIFY(!QFile::exists(temporaries[0]));
      temporaries << dialog.GetPuzzle()->GetPath();
      QVERIFY(QFile::exists(temporaries[1]));
    }
    QVERIFY(!QFile::exists(temporaries[1]));
  }

  // Nothing the cut cannot take is handed over: an unreadable puzzle cannot be opened and a
  // size is still found when no count is chosen. The folder box keeps six folders, the most
  // recent on top.
  void nothingUncuttableIsHandedOver() {
    const QString folder = DialogFolder(QStringLiteral("odd"));
    const QString broken = folder + QStringLiteral("Broken.jig");
    QVERIFY(TestEnvironment::WriteFile(broken, QByteArray(JigsawFile::Signature) + "\x05\x01garbage"));
    const QString wide = DialogPicture(folder, QStringLiteral("Wide.jpg"), 2000, 30);
    ProgSettings& settings = *Settings();
    settings.NewPuzzleFolders = {folder};
    for (int i = 1; i <= 6; ++i) settings.NewPuzzleFolders << DialogFolder(QStringLiteral("more%1").arg(i));
    settings.CreatePuzzleFolders = {folder};
    settings.PuzzlePieceSize = 500;
    settings.LastNewPieces = -1;
    settings.UpsideRightCreate = true;
    settings.AllowPreview = false;
    Prompt::Double prompts;
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      auto* folders = Control<QComboBox>(dialog, "PuzzleDirBox");
      QCOMPARE(folders->count(), 6);
      QCOMPARE(folders->itemText(0), QDir::cleanPath(folder));
      Select(dialog, broken);
      QVERIFY(dialog.GetPuzzle() && !dialog.GetPuzzle()->IsValid());
      QVERIFY(!Control<QPushButton>(dialog, "OpenBtn")->isEnabled());
      Select(dialog, wide);
      Control<ChooseBox>(dialog, "NumPiecesBox")->setCurrentIndex(-1);
      Control<QPushButton>(dialog, "OpenBtn")->click();
      std::unique_ptr<Puzzle> chosen = dialog.TakePuzzle();
      QVERIFY(chosen);
      QCOMPARE(chosen->GetPieceSize(), 30);
    }

    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
    QCOMPARE(Rows(dialog).size(), 1);
    Select(dialog, wide);
    auto* pieces = Control<ChooseBox>(dialog, "NumPiecesBox");
    QCOMPARE(pieces->itemText(0), QStringLiteral("No minimum"));
    QCOMPARE(pieces->currentIndex(), 0);
    QVERIFY(Control<QCheckBox>(dialog, "UprightChkBox")->isChecked());
    QVERIFY(!Control<QCheckBox>(dialog, "PreviewChkBox")->isChecked());
    QCOMPARE(Control<QLabel>(dialog, "BoxCoverLbl")->text(), QStringLiteral("(Box cover image not provided)"));
    Shoot(dialog, QStringLiteral("create"));
  }

  // Deleting asks first, deletes outright only with Shift, and never touches the files of
  // the game being played.
  void deletingAsksFirstAndSparesTheGameBeingPlayed() {
    const QString folder = DialogFolder(QStringLiteral("trash"));
    const QString a = DialogPicture(folder, QStringLiteral("A.jpg"), 100, 100);
    const QString b = DialogPicture(folder, QStringLiteral("B.bmp"), 100, 100);
    DialogPicture(folder, QStringLiteral("C.jpg"), 100, 100);
    Settings()->NewPuzzleFolders = {folder};
    Settings()->RecentPuzzles = {b, a};
    Puzzle played(a);
    PuzzleTestAccess::Start(played, 4);
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    Prompt::Double prompts;
    auto* recycle = Control<QAction>(dialog, "RecycleAtn");
    auto* remove = Control<QAction>(dialog, "DeleteAtn");

    Select(dialog, a);
    remove->trigger();
    QCOMPARE(prompts.Shown().size(), 1);
    QVERIFY(prompts.Shown()[0].text.contains(QLatin1String("being played")));
    QVERIFY(QFile::exists(a));

    Select(dialog, b);
    prompts.Clear();
    prompts.Answer(Prompt::No);
    remove->trigger();
    QCOMPARE(prompts.Shown().size(), 1);
    QVERIFY(prompts.Shown()[0].text.contains(QLatin1String("Permanently")));
    QVERIFY(QFile::exists(b));
    prompts.Clear();
    prompts.Answer(Prompt::No);
    recycle->trigger();
    QVERIFY(prompts.Shown()[0].text.contains(QLatin1String("trash")));
    QVERIFY(QFile::exists(b));

    prompts.Clear();
    prompts.Answer(Prompt::Yes);
    remove->trigger();
    QVERIFY(!QFile::exists(b));
    QCOMPARE(Settings()->RecentPuzzles, QStringList{a});
    QCOMPARE(Rows(dialog).size(), 2);
    QCOMPARE(RowOf(dialog, b), -1);
  }

  // The upright box shows unticked while a selection forbids it, but only the player changes
  // the stored wish: it comes back with the next allowing selection and survives Cancel.
  void uprightWishChangesOnlyByThePlayer() {
    ProgSettings& settings = *Settings();
    settings.NewPuzzleFolders = {begin};
    settings.UpsideRight = true;
    const auto walk = [&](bool wish) {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      auto* upright = Control<QCheckBox>(dialog, "UprightChkBox");
      for (const QString& path : {hills, lakeJpg, tiny, lakeBmp, hills}) {
        Select(dialog, path);
        const bool allowed = path != hills && path != tiny;
        QVERIFY2(upright->isEnabled() == allowed, qPrintable(path));
        QVERIFY2(upright->isChecked() == (allowed && wish), qPrintable(path));
      }
      Control<QPushButton>(dialog, "CancelBtn")->click();
    };
    walk(true);
    QVERIFY(settings.UpsideRight);
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Select(dialog, lakeJpg);
      Control<QCheckBox>(dialog, "UprightChkBox")->click();
      Select(dialog, hills);
      Control<QPushButton>(dialog, "CancelBtn")->click();
    }
    QVERIFY(!settings.UpsideRight);
    walk(false);
    QVERIFY(!settings.UpsideRight);

    // The Create tab's own wish, across a picture too small to cut and a change of tab.
    const QString folder = DialogFolder(QStringLiteral("upright-create"));
    const QString small = DialogPicture(folder, QStringLiteral("Small.jpg"), 20, 40);
    const QString fine = DialogPicture(folder, QStringLiteral("Fine.jpg"), 200, 160);
    settings.CreatePuzzleFolders = {folder};
    settings.UpsideRightCreate = true;
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      auto* tabs = Control<QTabBar>(dialog, "TabControl1");
      tabs->setCurrentIndex(2);
      Select(dialog, small);
      tabs->setCurrentIndex(0);
      tabs->setCurrentIndex(2);
      Select(dialog, small);
      QVERIFY(!Control<QCheckBox>(dialog, "UprightChkBox")->isChecked());
      Control<QPushButton>(dialog, "CancelBtn")->click();
    }
    QVERIFY(settings.UpsideRightCreate);
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
    Select(dialog, fine);
    QVERIFY(Control<QCheckBox>(dialog, "UprightChkBox")->isChecked());
  }

  // A remembered folder that is absent for a while (an unplugged stick) is not offered but
  // keeps its place through opening, choosing and cancelling, and is offered again once back.
  void absentFoldersKeepTheirPlace() {
    QStringList kept;
    for (const char* name : {"kept-a", "kept-stick", "kept-c"})
      kept << QDir::cleanPath(DialogFolder(QLatin1String(name)));
    const QString away = kept[1] + QStringLiteral("-away");
    QVERIFY(QDir().rename(kept[1], away));
    ProgSettings& settings = *Settings();
    settings.NewPuzzleFolders = kept;
    settings.InitialDir.clear();
    settings.RecentPuzzles.clear();
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      auto* folders = Control<QComboBox>(dialog, "PuzzleDirBox");
      QCOMPARE(Items(folders), QStringList({kept[0], kept[2]}));
      folders->setCurrentIndex(1);
      emit folders->activated(1);
      QCOMPARE(Items(folders), QStringList({kept[2], kept[0]}));
      Control<QPushButton>(dialog, "CancelBtn")->click();
    }
    QCOMPARE(settings.NewPuzzleFolders, QStringList({kept[2], kept[0], kept[1]}));
    QVERIFY(QDir().rename(away, kept[1]));
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      QCOMPARE(Items(Control<QComboBox>(dialog, "PuzzleDirBox")), QStringList({kept[2], kept[0], kept[1]}));
    }
    // Six are kept in all, present or not: a new one pushes out the oldest.
    QStringList six{kept[0], kept[0] + QStringLiteral("-gone1")};
    for (int i = 2; i < 6; ++i) six << QDir::cleanPath(DialogFolder(QStringLiteral("kept-more%1").arg(i)));
    six << kept[0] + QStringLiteral("-gone2");
    settings.NewPuzzleFolders = six.mid(1);
    settings.InitialDir = kept[2];
    {
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QPushButton>(dialog, "CancelBtn")->click();
    }
    QCOMPARE(settings.NewPuzzleFolders, QStringList({kept[2]}) + six.mid(1, 5));
    settings.NewPuzzleFolders = {begin};
  }

  // Every Create-tab control: its caption, its help topic, and when it can be used, for each
  // kind of selection: none, a picture, one too small to cut, the clipboard picture.
  void createTabControlsByKindOfSelection() {
    const QString empty = DialogFolder(QStringLiteral("create-none"));
    const QString folder = DialogFolder(QStringLiteral("create-kinds"));
    const QString wide = DialogPicture(folder, QStringLiteral("Wide.jpg"), 300, 200);
    const QString small = DialogPicture(folder, QStringLiteral("Small.jpg"), 20, 40);
    QImage clip(150, 110, QImage::Format_RGB32);
    clip.fill(Qt::darkYellow);
    QGuiApplication::clipboard()->setImage(clip);
    ProgSettings& settings = *Settings();
    settings.AllowPreview = true;
    enum Kind { None, Image, Small, Clipboard, Kinds };
    struct Row {
      const char* name;
      const char* caption;  // null: none of its own
      int help;
      bool enabled[Kinds];
    };
    const Row rows[] = {
        {"PuzzleDirLbl", "Image &folder", 0, {true, true, true, true}},
        {"PuzzleDirBox", nullptr, 580, {true, true, true, false}},
        {"BrowseBtn", nullptr, 640, {true, true, true, false}},
        {"PasteBtn", nullptr, 800, {true, true, true, true}},
        {"PuzzleListLbl", "&Images:", 0, {true, true, true, true}},
        {"PuzzleListBox", nullptr, 600, {true, true, true, false}},
        {"NumPiecesLbl", "Minimum pi&eces:", 0, {false, true, false, true}},
        {"NumPiecesBox", nullptr, 450, {false, true, false, true}},
        {"UprightChkBox", "&Allow all pieces right side up", 460, {false, true, false, true}},
        {"PreviewChkBox", "Include bo&x cover", 370, {false, true, false, true}},
        {"PreviewBtn", "Choose Alternate Box Cover Image...", 380, {false, true, false, true}},
        {"LightBevelBox", "&Default to light bevel", 0, {false, true, false, true}},
        {"NumHintsLbl", "Number of hints a&llowed:", 0, {false, true, false, true}},
        {"NumHintsBox", nullptr, 0, {false, true, false, true}},
        {"InfoBtn", "Add a Note...", 350, {false, true, false, true}},
        {"MusicBtn", "Add Music or Sound...", 810, {false, true, false, true}},
        {"OpenBtn", "Save...", 0, {false, true, false, true}},
    };
    for (int kind = None; kind < Kinds; ++kind) {
      settings.CreatePuzzleFolders = {kind == None ? empty : folder};
      TPuzzleDialog2 dialog(nullptr);
      dialog.show();
      Control<QTabBar>(dialog, "TabControl1")->setCurrentIndex(2);
      if (kind == Image) Select(dialog, wide);
      if (kind == Small) Select(dialog, small);
      if (kind == Clipboard) Control<QToolButton>(dialog, "PasteBtn")->click();
      for (const Row& row : rows) {
        auto* control = Control<QWidget>(dialog, row.name);
        const QString where = QStringLiteral("%1 in kind %2").arg(QLatin1String(row.name)).arg(kind);
        QVERIFY2(control->isVisible(), qPrintable(where));
        QVERIFY2(control->isEnabled() == row.enabled[kind], qPrintable(where));
        QVERIFY2(WhatsThis::HelpContext(control) == row.help, qPrintable(where));
        if (!row.caption) continue;
        const QString caption = qobject_cast<QLabel*>(control) ? qobject_cast<QLabel*>(control)->text()
                                                                : qobject_cast<QAbstractButton*>(control)->text();
        QCOMPARE(caption, QLatin1String(row.caption));
      }
      if (kind != Image) continue;
      // The chosen hint limit stays through the box cover's changes; another picture unticks
      // the light bevel.
      auto* hints = Control<QComboBox>(dialog, "NumHintsBox");
      hints->setCurrentIndex(hints->findText(QStringLiteral("4")));
      auto* cover = Control<QCheckBox>(dialog, "PreviewChkBox");
      cover->click();
      QVERIFY(!Control<QPushButton>(dialog, "PreviewBtn")->isEnabled());
      QCOMPARE(hints->currentText(), QStringLiteral("4"));
      cover->click();
      QVERIFY(Control<QPushButton>(dialog, "PreviewBtn")->isEnabled());
      QCOMPARE(hints->currentText(), QStringLiteral("4"));
      QCOMPARE(dialog.GatheredContent().hintLimit, 4);
      auto* bevel = Control<QCheckBox>(dialog, "LightBevelBox");
      bevel->click();
      QVERIFY(dialog.GatheredContent().lightBevel);
      Select(dialog, small);
      Select(dialog, wide);
      QVERIFY(!bevel->isChecked());
    }
  }

  // No two controls shown together answer the same Alt key, on any tab.
  void mnemonicsAreUniqueOnEveryTab() {
    Settings()->ShowMorePuzzles = true;
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    auto* tabs = Control<QTabBar>(dialog, "TabControl1");
    for (int tab = 0; tab < tabs->count(); ++tab) {
      tabs->setCurrentIndex(tab);
      QMap<QKeySequence, QString> owners;
      const auto claim = [&](const QString& owner, const QString& text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty()) return;
        QVERIFY2(!owners.contains(key), qPrintable(QStringLiteral("tab %1: %2 and %3 share %4")
                                                       .arg(tab).arg(owners.value(key), owner, key.toString())));
        owners.insert(key, owner);
      };
      for (int i = 0; i < tabs->count(); ++i) claim(QStringLiteral("tab %1").arg(i), tabs->tabText(i));
      for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) claim(w->objectName(), label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) claim(w->objectName(), button->text());
      }
      QVERIFY(owners.size() >= 6);
    }
    Settings()->ShowMorePuzzles = false;
  }

  // The window keeps its size and its controls their places on every tab; the file facts make
  // room for the line that says the cover differs.
  void layoutStaysPut() {
    const QString folder = DialogFolder(QStringLiteral("layout"));
    const QString plain = DialogPicture(folder, QStringLiteral("Plain.jpg"), 240, 180);
    StillPuzzleContent covered;
    QVERIFY(covered.ReadPicture(plain));
    QVERIFY(covered.ReadCover(DialogPicture(DialogFolder(QStringLiteral("layout-cover")), QStringLiteral("Cover.jpg"), 90, 60)));
    const QString jig = folder + QStringLiteral("Covered.jig");
    QVERIFY(JigsawFile::SaveStillPuzzle(jig, covered));
    Settings()->NewPuzzleFolders = {folder};
    Settings()->CreatePuzzleFolders = {folder};
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QSize size = dialog.size();
    // The size the window was drawn for, or a little more where this platform's fonts need it.
    QVERIFY2(size.width() >= 609 && size.width() <= 630 && size.height() == 375,
             qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
    const auto place = [&](const char* name) {
      QWidget* w = Control<QWidget>(dialog, name);
      return QRect(w->mapTo(&dialog, QPoint()), w->size());
    };
    const char* shared[] = {"PuzzleDirBox", "PuzzleListBox", "Bevel2", "OpenBtn", "HelpBtn"};
    QList<QRect> first;
    for (const char* name : shared) first << place(name);
    const QRect pieces = place("NumPiecesBox");
    auto* tabs = Control<QTabBar>(dialog, "TabControl1");
    for (int tab : {1, 2, 0}) {
      tabs->setCurrentIndex(tab);
      QTRY_COMPARE(dialog.size(), size);
      for (int i = 0; i < first.size(); ++i) QTRY_COMPARE(place(shared[i]), first[i]);
      if (tab != 1) QTRY_COMPARE(place("NumPiecesBox"), pieces);
    }
    // Laid out by posted requests, which are handled here.
    const auto settled = [&](const char* name) {
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
      return place(name);
    };
    Select(dialog, plain);
    const int facts = settled("FileLbl").top();
    Select(dialog, jig);
    QVERIFY(Control<QLabel>(dialog, "PreviewWarningLbl")->isVisible());
    QCOMPARE(settled("FileLbl").top(), facts + 4);
    Settings()->NewPuzzleFolders = {begin};
  }

  // The list is as wide as its names ask: names alike at the start show whole, and names
  // too long for any list still read apart.
  void listShowsNamesApart() {
    const QString folder = DialogFolder(QStringLiteral("names"));
    const QString longStart(60, QLatin1Char('w'));
    for (const QString& name : {QStringLiteral("Evening Lake"), QStringLiteral("Evening Lake Puzzle"),
                                QStringLiteral("Evening Lake Animated"), longStart + QStringLiteral(" one"),
                                longStart + QStringLiteral(" two")})
      DialogPicture(folder, name + QStringLiteral(".jpg"), 120, 90);
    Settings()->NewPuzzleFolders = {folder};
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    auto* list = Control<IconListBox>(dialog, "PuzzleListBox");
    QCOMPARE(list->count(), 5);
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) {
      const QString name = list->item(row)->text();
      shown << list->ShownText(row);
      if (!name.startsWith(longStart)) QCOMPARE(shown.last(), name);
    }
    shown.removeDuplicates();
    QCOMPARE(shown.size(), 5);
    Settings()->NewPuzzleFolders = {begin};
  }

  // Without a picture on the clipboard the box says how to get one, and its Help button opens
  // that topic while the box stands.
  void noClipboardPictureOffersHelp() {
    QGuiApplication::clipboard()->clear();
    Prompt::Double prompts;
    HelpWindow::Instance()->close();
    TPuzzleDialog2 dialog(nullptr);
    dialog.show();
    prompts.Answer(Prompt::Help);
    prompts.Answer(Prompt::Ok);
    Control<QToolButton>(dialog, "PasteBtn")->click();
    QCOMPARE(prompts.Shown().size(), 2);
    QCOMPARE(prompts.Shown()[0].text, QStringLiteral("There is currently no image on the clipboard.\n\n"
                                                     "Copy an image to the clipboard to use this feature.\n"));
    QCOMPARE(prompts.Shown()[0].buttons, Prompt::Buttons(Prompt::Ok | Prompt::Help));
    QVERIFY(HelpWindow::Instance()->isVisible());
    HelpWindow::Instance()->close();
    QVERIFY(!Control<QToolButton>(dialog, "PasteBtn")->isChecked());
  }
};

TV_QTEST_MAIN(PuzzleDialogQTest)
#include "PuzzleDialogQTest.moc"
