// The folder box, the file list, the clipboard mode and deleting.
#include "TPuzzleDialog2.h"

#include "Yelk/FileFinder.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "controls/IconListBox.h"
#include "platform/DiscFolder.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QAbstractItemView>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

namespace {
constexpr int maxFolders = 6;
constexpr int NoClipboardImageHelp = 820;

int& ListIndexOf(ProgSettings& settings, PuzzleTab tab) {
  if (tab == PuzzleTab::Begin) return settings.LastNewIndex;
  if (tab == PuzzleTab::Continue) return settings.LastSavedIndex;
  return settings.LastCreateIndex;
}

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
}  // namespace

void TPuzzleDialog2::FillFolderBox(const QStringList& folders, const QStringList& extra) {
  folderList.clear();
  for (qsizetype i = folders.size() - 1; i >= 0; --i) RememberFolder(folders[i]);
  for (const QString& folder : extra) RememberFolder(folder);
  ShowPresentFolders();
}

void TPuzzleDialog2::AddFolder(const QString& folder) {
  RememberFolder(folder);
  ShowPresentFolders();
}

// A folder that is absent keeps its place: only the six-folder limit drops one.
void TPuzzleDialog2::RememberFolder(QString folder) {
  if (folder.isEmpty()) return;
  if (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
  folderList.removeAll(folder);
  folderList.prepend(folder);
  while (folderList.size() > maxFolders) folderList.removeLast();
}

void TPuzzleDialog2::ShowPresentFolders() {
  const QSignalBlocker quiet(PuzzleDirBox);
  PuzzleDirBox->clear();
  for (const QString& folder : folderList)
    if (QFileInfo(folder).isDir()) PuzzleDirBox->addItem(folder);
  PuzzleDirBox->setCurrentIndex(PuzzleDirBox->count() > 0 ? 0 : -1);
  PuzzleDirBox->setToolTip(PuzzleDirBox->currentText());
  // The drop-down is as wide as the longest folder it holds.
  int widest = PuzzleDirBox->width();
  for (int i = 0; i < PuzzleDirBox->count(); ++i)
    widest = std::max(widest, PuzzleDirBox->fontMetrics().horizontalAdvance(PuzzleDirBox->itemText(i)) + 10);
  PuzzleDirBox->view()->setMinimumWidth(widest);
}

void TPuzzleDialog2::PuzzleDirBoxChange(bool forced) {
  int selected = PuzzleDirBox->currentIndex();
  if (!FolderIsReady(PuzzleDirBox->currentText()) && PuzzleDirBox->count() > 1) {
    if (selected == 0) forced = true;
    selected = selected == 0 ? 1 : 0;
    const QSignalBlocker quiet(PuzzleDirBox);
    PuzzleDirBox->setCurrentIndex(selected);
  }
  const QString folder = PuzzleDirBox->currentText();
  PuzzleDirBox->setToolTip(folder);
  TMsgLog::Add(QStringLiteral("Open dlg dir chg: ") + folder);
  animatedFound = false;
  const QStringList patterns =
      folder.isEmpty() ? QStringList()
                       : PuzzleFileList::Patterns(Tab(), WithSlash(folder), animatedOnly, &animatedFound);
  FillPuzzleList(patterns);
  if (Tab() == PuzzleTab::Begin) {
    QvpOnlyBtn->setEnabled(animatedFound);
    if (!animatedFound) QvpOnlyBtn->setChecked(false);
    animatedOnly = QvpOnlyBtn->isChecked();
  }
  {
    const QSignalBlocker quiet(PuzzleListBox);
    PuzzleListBox->setCurrentRow(files.Count() > 0 ? 0 : -1);
  }
  lastListIndex = -2;
  if (forced) {
    AddFolder(folder);
    UpdateSelection();
  }
}

bool TPuzzleDialog2::FolderHasPuzzles(const QString& folder) const {
  QStringList patterns{folder + QStringLiteral("*.qvp")};
  if (!animatedOnly)
    for (const char* pattern : {"*.jig", "*.jpg", "*.jpeg", "*.bmp"})
      patterns << folder + QLatin1String(pattern);
  return !FileFinder(patterns).GetNextFileName().isEmpty();
}

bool TPuzzleDialog2::FolderIsReady(const QString& folder) {
  if (folder.isEmpty()) return false;
  if (!discPrompt || !IsOnOpticalDisc(folder)) return true;
  const QString text =
      QStringLiteral("If you would like to play a jigsaw puzzle from the Tessavinelume CD please insert the "
                     "CD into the computer now and click \"Retry\".\n\nOtherwise, click \"Cancel\" to continue.");
  while (!FolderHasPuzzles(WithSlash(folder))) {
    settings->ModalPromptUp = true;
    const Prompt::Button answer =
        Prompt::ShowApp(text, Prompt::Question, Prompt::Retry | Prompt::Cancel, Prompt::Retry);
    settings->ModalPromptUp = false;
    if (answer != Prompt::Retry) return false;
  }
  return true;
}

void TPuzzleDialog2::FillPuzzleList(const QStringList& patterns) {
  files.Fill(patterns, settings->ShowFileExts);
  const QSignalBlocker quiet(PuzzleListBox);
  PuzzleListBox->clear();
  for (int i = 0; i < files.Count(); ++i) {
    const PuzzleFileList::Entry& entry = files.At(i);
    const Glyph* glyph = entry.kind == PuzzleFileList::SavedGame  ? savedGlyph.get()
                         : entry.kind == PuzzleFileList::Animated ? animatedGlyph.get()
                                                                  : pictureGlyph.get();
    PuzzleListBox->AddItem(entry.name, glyph);
  }
}

void TPuzzleDialog2::ChooseListIndex() {
  int index = -1;
  if (files.Count() > 0) {
    if (!preselected.isEmpty()) index = files.IndexOfPath(preselected);
    else index = std::min(ListIndexOf(*settings, Tab()), files.Count() - 1);
  }
  preselected.clear();
  const QSignalBlocker quiet(PuzzleListBox);
  PuzzleListBox->setCurrentRow(index);
}

void TPuzzleDialog2::BrowseBtnClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Select Folder"),
                                                           PuzzleDirBox->currentText());
  if (folder.isEmpty()) return;
  AddFolder(folder);
  PuzzleDirBoxChange(false);
  UpdateSelection();
}

void TPuzzleDialog2::PuzzleListBoxSelChange() {
  if (PuzzleListBox->currentRow() != lastListIndex) UpdateSelection();
}

void TPuzzleDialog2::PuzzleListBoxDblClick() {
  if (OpenBtn->isEnabled()) OpenBtnClick();
}

void TPuzzleDialog2::SpinnerClick(int step) {
  const int row = PuzzleListBox->currentRow() + step;
  if (row >= 0 && row < files.Count()) PuzzleListBox->setCurrentRow(row);
}

void TPuzzleDialog2::QvpOnlyBtnClick() {
  animatedOnly = QvpOnlyBtn->isChecked();
  PuzzleDirBoxChange(false);
  UpdateSelection();
}

void TPuzzleDialog2::RecycleAtnExecute() { DeleteSelected(false); }
void TPuzzleDialog2::DeleteAtnExecute() { DeleteSelected(true); }

bool TPuzzleDialog2::MayDelete() const {
  return PuzzleListBox->currentRow() >= 0 && !clipboardMode &&
         !IsOnOpticalDisc(PuzzleDirBox->currentText());
}

// Asks first; the files of the game being played are never deleted, as every save of that
// game reads its picture from them.
void TPuzzleDialog2::DeleteSelected(bool outright) {
  const int row = PuzzleListBox->currentRow();
  if (!MayDelete() || row >= files.Count()) return;
  const QString path = files.At(row).path;
  const QString name = QFileInfo(path).fileName();
  if (PuzzleFileList::UsedByGame(Puzzle::Current(), path)) {
    Prompt::ShowApp(QStringLiteral("\"%1\" belongs to the puzzle being played and cannot be deleted.")
                        .arg(name), Prompt::Information);
    return;
  }
  const QString question =
      outright ? QStringLiteral("Permanently delete \"%1\"?\n\nIt cannot be brought back.")
               : QStringLiteral("Move \"%1\" to the trash?");
  if (Prompt::ShowApp(question.arg(name), Prompt::Question, Prompt::Yes | Prompt::No,
                      outright ? Prompt::No : Prompt::Yes) != Prompt::Yes) {
    PuzzleListBox->setFocus();
    return;
  }
  if (outright) QFile::remove(path);
  else QFile::moveToTrash(path);
  if (QFileInfo::exists(path)) {
    PuzzleListBox->setFocus();
    return;
  }
  settings->RecentPuzzles.removeAll(path);
  PuzzleDirBoxChange(true);
}

bool TPuzzleDialog2::ClipboardHasImage() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasImage();
}

QImage TPuzzleDialog2::ClipboardPicture() {
  const QImage image = QGuiApplication::clipboard()->image();
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB888);
}

void TPuzzleDialog2::PasteBtnClick() {
  if (ClipboardHasImage()) {
    SetClipboardMode(!clipboardMode);
  } else {
    SetClipboardMode(false);
    Prompt::ShowWithHelp(QStringLiteral("There is currently no image on the clipboard.\n\n"
                                        "Copy an image to the clipboard to use this feature.\n"),
                         Prompt::AppCaption(), Prompt::Information, Prompt::Ok, NoClipboardImageHelp);
  }
  UpdateSelection();
}

void TPuzzleDialog2::SetClipboardMode(bool on) {
  clipboardMode = on;
  if (!on) clipboardImage = QImage();
  PasteBtn->setChecked(on);
  for (QWidget* w : std::initializer_list<QWidget*>{BrowseBtn, PuzzleDirBox, PuzzleListBox, Spinner})
    w->setEnabled(!on);
  QvpOnlyBtn->setEnabled(!on && animatedFound);
}
