// The main window's menus: the refresh before any menu opens, the recent puzzles in "&File",
// the pop-ups' placement and their items' states.

#include "BoxCoverControl.h"
#include "ControlPanel.h"
#include "RecentPuzzles.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"

#include "platform/CurrentPrinter.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/SoundTrack.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace {
constexpr int MaxRecentItems = 4;
constexpr int RotateTip = 2;
const char* const RecentPathProperty = "recentPath";

// Music the background-sound switch acts on: a still puzzle's track that was not refused, or
// an animated puzzle's background track (read while it loads).
bool HasSoundTrack(const Puzzle* puzzle) {
  if (!puzzle) return false;
  if (const JigsawFileReader* file = puzzle->GetJigsawFile()) return file->HasSoundTrack();
  return puzzle->GetAnimatedFile() && SoundTrack::Current();
}
}  // namespace

void TMainForm::WireMenus() {
  for (QAction* top : MainMenu1->actions())
    if (QMenu* menu = top->menu()) connect(menu, &QMenu::aboutToShow, this, &TMainForm::MenuRefresh);
  for (QMenu* popup : {OptionsPopup, HelpPopup})
    connect(popup, &QMenu::aboutToShow, this, &TMainForm::MenuRefresh);
  connect(TablePopup, &QMenu::aboutToShow, this, [this] {
    MenuRefresh();
    TablePopupPopup();
  });
}

bool TMainForm::CanPlayBackgroundSound() const {
  const Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return false;
  if (puzzle->GetAnimatedFile()) return true;
  const JigsawFileReader* file = puzzle->GetJigsawFile();
  return file && file->HasSoundTrack() && Settings()->EnableBackgroundSound;
}

void TMainForm::MenuRefresh() {
  const bool canPlay = CanPlayBackgroundSound();
  atn.PauseAtn->setEnabled(canPlay);
  atn.PlayAtn->setEnabled(canPlay);
  atn.PauseAtn->setChecked(canPlay && toolPnl->PlayBtn->defaultAction() == atn.PlayAtn);
  const Puzzle* puzzle = Puzzle::Current();
  atn.BkgdSndEnabledAtn->setEnabled(HasSoundTrack(puzzle));
  atn.BoxCoverAtn->setEnabled(puzzle && puzzle->IsPreviewAllowed());
  const TBoxCoverFrm* cover = boxCover->Window();
  atn.BoxCoverAtn->setChecked(cover && cover->HasToolbar() && cover->isVisible());
  atn.MagnifierAtn->setChecked(magnifier && magnifier->isVisible());
  atn.FullScreenAtn->setChecked(Settings()->FullScreenActive);
  UpdatePrintAtn();
  RebuildRecentItems();
  OptionsPopupPopup();
}

// Each item keeps the path it shows: the list may change while the menu is open.
void TMainForm::RebuildRecentItems() {
  QMenu* file = atn.FileMenu();
  for (QAction* item : file->actions())
    if (item->property(RecentPathProperty).isValid()) delete item;
  const QStringList& recent = Settings()->RecentPuzzles;
  if (recent.isEmpty()) return;
  const QList<QAction*> items = file->actions();
  QAction* before = nullptr;  // the separator above Exit
  for (QAction* item : items)
    if (item->isSeparator()) before = item;
  auto* separator = new QAction(file);
  separator->setSeparator(true);
  separator->setProperty(RecentPathProperty, QString());
  file->insertAction(before, separator);
  for (int i = 0; i < recent.size() && i < MaxRecentItems; ++i) {
    const QString path = recent[i];
    auto* item = new QAction(RecentCaption(i + 1, path, Settings()->ShowFileExts), file);
    item->setProperty(RecentPathProperty, path);
    connect(item, &QAction::triggered, this, [this, path] { OpenRecentClick(path); });
    file->insertAction(before, item);
  }
}

void TMainForm::OptionsPopupPopup() {
  const Puzzle* puzzle = Puzzle::Current();
  for (QAction* bevel : {atn.BevelNormalAtn, atn.BevelLightAtn, atn.BevelOffAtn}) {
    bevel->setChecked(false);
    bevel->setEnabled(puzzle != nullptr);
  }
  for (QMenu* menu : atn.BevelMenus()) menu->setEnabled(puzzle != nullptr);
  if (!puzzle) return;
  QAction* current = !puzzle->IsBevelOn()    ? atn.BevelOffAtn
                     : puzzle->IsBevelLight() ? atn.BevelLightAtn
                                              : atn.BevelNormalAtn;
  current->setChecked(true);
}

void TMainForm::TablePopupPopup() {
  UpdateTableActions();
  if (Puzzle::Current() && !atn.RotateLeftAtn->isEnabled() && !Settings()->UpsideRight && PieceUnderMouse())
    TipDisplay::Show(RotateTip);
}

void TMainForm::UpdateTableActions() {
  const Puzzle* puzzle = Puzzle::Current();
  const bool held = Table()->Surface().Selection() != nullptr;
  atn.RotateLeftAtn->setEnabled(puzzle && held);
  atn.RotateRightAtn->setEnabled(puzzle && held);
  atn.HoldAtn->setEnabled(puzzle && held);
  atn.ReleaseAtn->setEnabled(puzzle && !held && PuzzleChip::CapturedList().Count() > 0);
  atn.BackAtn->setEnabled(puzzle != nullptr);
  UpdateHintAtn();
}

// One rule for the menu item and the key: a piece to ask about, an unfinished puzzle and a
// hint left. The caption counts the hints left when they are limited.
void TMainForm::UpdateHintAtn() {
  const Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) {
    atn.HintAtn->setText(QStringLiteral("&Hint"));
    atn.HintAtn->setEnabled(false);
    return;
  }
  const int allowed = puzzle->GetHintLimit();
  const int left = allowed - puzzle->GetHintsUsed();
  atn.HintAtn->setText(allowed <= 0 ? QStringLiteral("&Hint") : QStringLiteral("&Hint  (%1)").arg(left));
  const bool piece = Table()->Surface().Selection() != nullptr || PieceUnderMouse() != nullptr;
  atn.HintAtn->setEnabled(allowed != 0 && (allowed < 0 || left > 0) && piece &&
                          puzzle->GetPercentComplete() < 100);
}

// Centred on the button; above the panel at the bottom, below the button at the top.
void TMainForm::ShowMenuAt(QMenu* menu, QWidget* button) {
  menu->ensurePolished();
  const QPoint buttonTop = button->mapToGlobal(QPoint(0, 0));
  const int x = buttonTop.x() + button->width() / 2;
  const bool top = !Settings()->AlignControlPanelToBottom;
  const int y = top ? buttonTop.y() + button->height()
                    : toolPnl->mapToGlobal(QPoint(0, 0)).y() - menu->sizeHint().height();
  menu->popup(QPoint(x, y));
}

// A puzzle that hides its picture prints once it is complete.
void TMainForm::UpdatePrintAtn() {
  const Puzzle* puzzle = Puzzle::Current();
  atn.PrintAtn->setEnabled(puzzle && CurrentPrinter::Available() &&
                           (puzzle->IsPreviewAllowed() || puzzle->GetPercentComplete() >= 100));
}

// The commands that act on the puzzle follow whether there is one and what it allows.
void TMainForm::UpdatePuzzleActions() {
  const Puzzle* puzzle = Puzzle::Current();
  UpdatePrintAtn();
  atn.NoteAtn->setEnabled(puzzle && puzzle->GetNoteStream());
  atn.BkgdSndEnabledAtn->setEnabled(HasSoundTrack(puzzle));
  const bool canPlay = CanPlayBackgroundSound();
  atn.PlayAtn->setEnabled(canPlay);
  atn.PauseAtn->setEnabled(canPlay);
  if (!puzzle) toolPnl->PlayBtn->setDefaultAction(atn.PauseAtn);
  OptionsPopupPopup();
  UpdateTableActions();
  // Left and Right stay live for the key: they turn what is carried when there is something.
  atn.RotateLeftAtn->setEnabled(puzzle != nullptr);
  atn.RotateRightAtn->setEnabled(puzzle != nullptr);
}
