// The preview, the facts and the choices that follow the selected file.
#include "TPuzzleDialog2.h"

#include "PreviewDecoder.h"
#include "PuzzleNote.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TempFiles.h"
#include "controls/ChooseBox.h"
#include "controls/IconListBox.h"
#include "controls/LabelButton.h"
#include "puzzle/EdgePreview.h"
#include "puzzle/HintChoices.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/PieceSizeChoice.h"
#include "puzzle/Puzzle.h"
#include "puzzle/SelectionFacts.h"
#include "richtext/RichEdit20.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QToolButton>

namespace {
// The pieces-box entry the sample piece was last drawn for.
int lastDrawnPieceIndex = -1;

// The sample piece's pure red background shows as transparent.
QImage KeyedOut(const QImage& piece) {
  QImage keyed = piece.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = qRgb(255, 0, 0);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((row[x] | 0xFF000000u) == key) row[x] = 0;
  }
  return keyed;
}

bool Within(const QWidget* widget, const QWidget* ancestor) {
  for (; widget; widget = widget->parentWidget())
    if (widget == ancestor) return true;
  return false;
}
}  // namespace

void TPuzzleDialog2::UpdateSelection() {
  noteStream.clear();
  musicBytes.clear();
  chosenCover = {};
  noteHiddenUntilSolved = noteShownWhenSolved = false;
  LoadSelection();
  FillPieceCounts();
  EnableForSelection();
  const int row = PuzzleListBox->currentRow();
  const PuzzleTab tab = Tab();
  if (tab == PuzzleTab::Begin) settings->LastNewIndex = std::max(row, 0);
  if (tab == PuzzleTab::Continue) ShowSavedGameFacts(puzzle && row >= 0);
  if (tab == PuzzleTab::Create) {
    settings->LastCreateIndex = std::max(row, 0);
    LightBevelBox->setChecked(false);
  }
}

void TPuzzleDialog2::EnableForSelection() {
  const int row = PuzzleListBox->currentRow();
  const bool selected = puzzle && row >= 0 && !tooSmall;
  const bool usable = selected || clipboardMode;
  Spinner->setEnabled(!clipboardMode && files.Count() > 1 && row >= 0);
  SpinUpBtn->setEnabled(row > 0);
  SpinDownBtn->setEnabled(row >= 0 && row < files.Count() - 1);
  const bool mayDelete = MayDelete();
  RecycleAtn->setEnabled(mayDelete);
  DeleteAtn->setEnabled(mayDelete);
  DeleteBtn->setEnabled(mayDelete);
  // An invalid puzzle is never prepared, so it cannot be opened either.
  OpenBtn->setEnabled(puzzle && puzzle->IsValid() && usable && !tooSmall);
  for (QWidget* w : std::initializer_list<QWidget*>{NumPiecesLbl, NumPiecesBox, EdgesChkBox,
                                                    PreviewChkBox, LightBevelBox, NumHintsLbl})
    w->setEnabled(usable);
  NumHintsBox->setEnabled(usable && NumHintsBox->count() > 1);
  const bool upright = (selected && SelectionFacts::UprightOffered(*puzzle)) || clipboardMode;
  UprightChkBox->setEnabled(upright);
  UprightChkBox->setChecked(upright && uprightWanted);
  PreviewBtn->setEnabled(usable && PreviewChkBox->isChecked());
  if (!selected) {
    const QSignalBlocker quiet(NumPiecesBox);
    NumPiecesBox->setCurrentIndex(-1);
  }
  NoteAtn->setEnabled(RichEdit20::RichEdit20LibraryPresent() && usable);
  MusicBtn->setEnabled(usable);
  InfoBtn->setEnabled((Tab() == PuzzleTab::Create ? NoteAtn : InfoAtn)->isEnabled());
  lastListIndex = row;
}

void TPuzzleDialog2::ShowSavedGameFacts(bool selected) {
  settings->LastSavedIndex = selected ? PuzzleListBox->currentRow() : 0;
  const QStringList lines = SelectionFacts::SavedGameLines(selected ? puzzle.get() : nullptr);
  const QList<QLabel*> labels{SavedNumPiecesLbl, PercentCompleteLbl, PlayDateLbl, ElapsedTimeLbl};
  for (qsizetype i = 0; i < labels.size(); ++i) {
    labels[i]->setText(lines[i]);
    labels[i]->setEnabled(selected);
  }
  ElapsedTimeLbl->setVisible(true);
}

void TPuzzleDialog2::LoadSelection() {
  QString source;
  bool fromClipboard = false;
  FilePfxLbl->setText(QStringLiteral("File:"));
  FileLbl->show();
  if (clipboardMode) {
    source = ClipboardSource();
    fromClipboard = !source.isEmpty();
    if (fromClipboard) {
      FilePfxLbl->setText(QStringLiteral("Clipboard Image"));
      FileLbl->hide();
    }
  } else if (const int row = PuzzleListBox->currentRow(); row >= 0 && row < files.Count()) {
    source = files.At(row).path;
  }
  piecePreviewShown = false;
  StopPreview();
  PreviewImg->hide();
  puzzle.reset();
  if (source.isEmpty()) {
    ClearFileFacts();
  } else {
    TMsgLog::Add(QStringLiteral("Open dlg pzl path: ") + source);
    puzzle = std::make_unique<Puzzle>(source, fromClipboard);
    if (Tab() != PuzzleTab::Create || PreviewChkBox->isChecked()) {
      ShowThumbnail();
      InfoAtn->setEnabled(RichEdit20::RichEdit20LibraryPresent() && puzzle->GetNoteStream());
    }
    ShowFileFacts();
  }
  FillHintsBox();
  UpdatePreviewNotes();
}

// The clipboard picture as a 24-bit bitmap file that the puzzle deletes when it goes.
QString TPuzzleDialog2::ClipboardSource() {
  const QImage image = ClipboardPicture();
  clipboardImage = image;
  if (image.isNull()) return {};
  const QString temp = CreateTempFile();
  QString path = temp;
  path.replace(path.size() - 3, 3, QStringLiteral("bmp"));
  QString failure;
  if (temp.isEmpty() || QFileInfo(path).suffix().compare(QLatin1String("bmp"), Qt::CaseInsensitive) != 0 ||
      !QFile::rename(temp, path)) {
    failure = QStringLiteral("no temporary file");
  } else {
    QImageWriter writer(path, "bmp");
    if (!writer.write(image)) failure = writer.errorString();
  }
  if (failure.isEmpty()) return path;
  QFile::remove(temp);
  QFile::remove(path);
  Prompt::ShowApp(QStringLiteral("The image on the clipboard can not be imported.\n"
                                 "One possible reason is the image is too large."), Prompt::Stop);
  TMsgLog::Add(QStringLiteral("Clipboard image save failure:\n") + failure);
  return {};
}

// A change of the box cover redraws the preview only: the puzzle, its piece counts and the
// chosen hint limit stay.
void TPuzzleDialog2::RefreshCover() {
  piecePreviewShown = false;
  StopPreview();
  PreviewImg->hide();
  if (puzzle && PreviewChkBox->isChecked()) ShowThumbnail();
  UpdatePreviewNotes();
}

// The picture is decoded away from the dialog, which stays with the player meanwhile.
void TPuzzleDialog2::ShowThumbnail() {
  StopPreview();
  if (!puzzle) return;
  // The chosen cover is shown from the bytes that go into the puzzle.
  Puzzle::PictureBytes source = chosenCover.bytes.isEmpty() ? puzzle->ThumbnailBytes() : chosenCover;
  if (source.bytes.isEmpty()) {
    // Nothing to decode, or an animated puzzle's picture, which it holds decoded.
    const QImage thumbnail = puzzle->MakeThumbnail(previewBox);
    if (!thumbnail.isNull()) SetPreviewPicture(QPixmap::fromImage(thumbnail));
    return;
  }
  LoadingLbl->setText(QStringLiteral("Loading..."));
  LoadingLbl->show();
  preview->Start(std::move(source), previewBox,
                 [this](const QImage& thumbnail, const QString& refusal) { ShowPreviewResult(thumbnail, refusal); });
}

void TPuzzleDialog2::ShowPreviewResult(const QImage& thumbnail, const QString& refusal) {
  if (!thumbnail.isNull()) {
    LoadingLbl->hide();
    SetPreviewPicture(QPixmap::fromImage(thumbnail));
    return;
  }
  // The preview says why it stays empty.
  const QString text = QStringLiteral("(The image can not be shown)");
  LoadingLbl->setText(refusal.isEmpty() ? text : text + QLatin1Char('\n') + refusal);
}

void TPuzzleDialog2::StopPreview() {
  preview->Cancel();
  LoadingLbl->hide();
}

void TPuzzleDialog2::SetPreviewPicture(const QPixmap& picture) {
  PreviewImg->setPixmap(picture);
  PreviewImg->resize(picture.size() / picture.devicePixelRatio());
  PreviewImg->move((previewBox - PreviewImg->width()) / 2, (previewBox - PreviewImg->height()) / 2);
  PreviewImg->setVisible(!picture.isNull());
}

void TPuzzleDialog2::ShowFileFacts() {
  FileLbl->SetCaption(puzzle->GetDisplayName());
  TypeLbl->setText(puzzle->GetTypeName());
  SizeLbl->setText(SelectionFacts::SizeText(*puzzle));
  for (QLabel* label : {FilePfxLbl, TypePfxLbl, SizePfxLbl}) label->setEnabled(true);
}

void TPuzzleDialog2::ClearFileFacts() {
  FileLbl->SetCaption(QString());
  TypeLbl->clear();
  SizeLbl->clear();
  for (QLabel* label : {FilePfxLbl, TypePfxLbl, SizePfxLbl}) label->setEnabled(false);
  InfoAtn->setEnabled(false);
}

void TPuzzleDialog2::UpdatePreviewNotes() {
  tooSmall = puzzle && SelectionFacts::TooSmall(puzzle->GetImageSize());
  if (piecePreviewShown) return;
  const bool create = Tab() == PuzzleTab::Create;
  const bool noCover = puzzle && (!puzzle->IsPreviewAllowed() || (create && !PreviewChkBox->isChecked()));
  if (tooSmall) BoxCoverLbl->setText(QStringLiteral("(The image is too small to be a puzzle)"));
  else if (noCover) BoxCoverLbl->setText(QStringLiteral("(Box cover image not provided)"));
  BoxCoverLbl->setVisible(tooSmall || noCover);
  const bool differs = create ? !chosenCover.bytes.isEmpty() : puzzle && puzzle->HasBoxCover();
  PreviewWarningLbl->setVisible(differs);
  // The facts move down a little to make room for that line.
  FactsBox->layout()->setContentsMargins(0, 0, 0, differs ? 0 : 4);
}

// Stands in for polling at idle time: while the pieces box has the focus the preview shows
// a sample piece of the chosen size, and the thumbnail comes back when the focus leaves.
void TPuzzleDialog2::FocusMoved() {
  if (!isVisible()) return;
  if (Within(QApplication::focusWidget(), NumPiecesBox)) {
    ShowPieceSizePreview();
  } else if (piecePreviewShown) {
    piecePreviewShown = false;
    PreviewImg->hide();
    if (Tab() != PuzzleTab::Create || PreviewChkBox->isChecked()) ShowThumbnail();
    UpdatePreviewNotes();
  }
}

void TPuzzleDialog2::ShowPieceSizePreview() {
  const int index = NumPiecesBox->currentIndex();
  if (index < 0) return;
  int size = NumPiecesBox->ItemObject(index);
  if (size == 0 && NumPiecesBox->count() > 1) size = NumPiecesBox->ItemObject(1);
  if (size <= 0 || (index == lastDrawnPieceIndex && piecePreviewShown)) return;
  if (Tab() == PuzzleTab::Begin) settings->PuzzlePieceSize = size;
  StopPreview();
  int percent = 100;
  const int half = previewBox / 2;
  if (size > half) {
    percent = half * 100 / size;
    size = half;
  }
  SetPreviewPicture(QPixmap::fromImage(KeyedOut(DrawEdgePreview(size))));
  piecePreviewShown = true;
  BoxCoverLbl->setText(percent == 100 ? QStringLiteral("Size of a typical puzzle piece")
                                      : QStringLiteral("%1% of a typical puzzle piece's size").arg(percent));
  BoxCoverLbl->show();
  lastDrawnPieceIndex = index;
}

void TPuzzleDialog2::FillPieceCounts() {
  const PuzzleTab tab = Tab();
  const QSignalBlocker quiet(NumPiecesBox);
  // A saved game keeps its own size: no count of another tab's file may stay behind.
  NumPiecesBox->clear();
  if (puzzle && !tooSmall && tab != PuzzleTab::Continue) {
    const bool create = tab == PuzzleTab::Create;
    const QList<PieceCountChoice> choices = PieceSizeChoice::Offered(
        puzzle->GetImageSize(), puzzle->GetSavedPieceCount(), create ? QStringLiteral("No minimum") : QString());
    for (const PieceCountChoice& choice : choices) NumPiecesBox->AddItem(choice.text, choice.cellSize);
    if (!choices.isEmpty()) {
      int index = 0;
      if (!create)
        index = restorePieces && settings->LastNewPieces != -1
                    ? std::min(settings->LastNewPieces, int(choices.size()) - 1)
                    : PieceSizeChoice::PreferredIndex(choices, settings->PuzzlePieceSize);
      NumPiecesBox->setCurrentIndex(index);
    }
  }
  restorePieces = false;
}

void TPuzzleDialog2::FillHintsBox() {
  const PuzzleTab tab = Tab();
  NumHintsBox->setVisible(tab != PuzzleTab::Continue);
  NumHintsLbl->setVisible(tab != PuzzleTab::Continue);
  if (tab == PuzzleTab::Continue) return;
  const JigsawFileReader* file = puzzle ? puzzle->GetJigsawFile() : nullptr;
  HintChoices::Offer offer = HintChoices::ForNewPuzzle(file ? file->HintLimit() : -1,
                                                      settings->NumberOfHintsAllowed);
  if (tab == PuzzleTab::Create) offer = HintChoices::ForNewPuzzle(-1, -1);
  const QSignalBlocker quiet(NumHintsBox);
  NumHintsBox->clear();
  NumHintsBox->addItems(offer.items);
  NumHintsBox->setCurrentIndex(offer.index);
  NumHintsBox->setEnabled(offer.enabled);
  hintsEditable = offer.editable;
}

int TPuzzleDialog2::GetHintsAllowed() const {
  const int index = NumHintsBox->currentIndex();
  return index < 0 ? -1 : HintChoices::ValueOf(NumHintsBox->itemText(index));
}

void TPuzzleDialog2::InfoBtnClick() {
  if (puzzle) ShowPuzzleNote(this, *puzzle);
}
