#include "TPuzzleDialog2.h"

#include "MakerAddresses.h"
#include "PreviewDecoder.h"
#include "Yelk/DesktopUtils.h"
#include "Yelk/ERegistry.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "controls/IconListBox.h"
#include "controls/WhatsThis.h"
#include "platform/HelpWindow.h"
#include "platform/Screens.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/PieceSizeChoice.h"
#include "puzzle/Puzzle.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <exception>

namespace {
// What the shared controls say and which help topics they name on each tab.
struct TabLook {
  const char* folderLabel;
  const char* listLabel;
  const char* piecesLabel;
  const char* openCaption;
  const char* uprightCaption;
  const char* infoCaption;
  int uprightHelp, piecesHelp, pasteHelp;
  int folderHelp, listHelp, spinnerHelp, browseHelp, infoHelp;
};

constexpr TabLook tabLooks[] = {
    {"&Puzzle or image folder:", "P&uzzles and images:", "&Number of pieces:", "Open",
     "&Turn all pieces right side up", "N&ote...", 390, 340, 790, 290, 310, 320, 300, 0},
    {"Saved &puzzle folder:", "&Saved puzzles:", "", "Open", "", "N&ote...", 0, 0, 0, 570, 590, 650,
     630, 0},
    {"Image &folder", "&Images:", "Minimum pi&eces:", "Save...", "&Allow all pieces right side up",
     "Add a Note...", 460, 450, 800, 580, 600, 0, 640, 350},
};

QStringList& FoldersOf(ProgSettings& settings, PuzzleTab tab) {
  if (tab == PuzzleTab::Begin) return settings.NewPuzzleFolders;
  if (tab == PuzzleTab::Continue) return settings.SavedPuzzleFolders;
  return settings.CreatePuzzleFolders;
}

// The bare mailbox of a "mailto:" address.
QString MailboxOf(const QString& address) {
  QString box = address;
  if (box.startsWith(QLatin1String("mailto:"))) box.remove(0, 7);
  return box.section(QLatin1Char('?'), 0, 0);
}
}  // namespace

TPuzzleDialog2::TPuzzleDialog2(QWidget* owner, const QString& preselectedPath)
    : QDialog(owner), settings(Settings()), preview(std::make_unique<PreviewDecoder>(this)),
      preselected(preselectedPath) {
  setObjectName(QStringLiteral("TPuzzleDialog2"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  BuildControls();
  MakeGlyphs();
  settings->QvpOnly = false;
  MoreBtn->setVisible(settings->ShowMorePuzzles);
  MoreBtn->setToolTip(QStringLiteral("More puzzles on ") + MakerAddresses::PuzzlesPage());

  connect(TabControl1, &QTabBar::currentChanged, this, &TPuzzleDialog2::TabControl1Change);
  connect(PuzzleDirBox, &QComboBox::activated, this, [this] { PuzzleDirBoxChange(true); });
  connect(BrowseBtn, &QToolButton::clicked, this, &TPuzzleDialog2::BrowseBtnClick);
  connect(PasteBtn, &QToolButton::clicked, this, &TPuzzleDialog2::PasteBtnClick);
  connect(PuzzleListBox, &QListWidget::currentRowChanged, this, &TPuzzleDialog2::PuzzleListBoxSelChange);
  connect(PuzzleListBox, &QListWidget::itemDoubleClicked, this, &TPuzzleDialog2::PuzzleListBoxDblClick);
  connect(SpinUpBtn, &QToolButton::clicked, this, [this] { SpinnerClick(-1); });
  connect(SpinDownBtn, &QToolButton::clicked, this, [this] { SpinnerClick(1); });
  connect(QvpOnlyBtn, &QToolButton::clicked, this, &TPuzzleDialog2::QvpOnlyBtnClick);
  connect(DeleteBtn, &QToolButton::clicked, this, [this] {
    (QApplication::keyboardModifiers() & Qt::ShiftModifier ? DeleteAtn : RecycleAtn)->trigger();
  });
  connect(RecycleAtn, &QAction::triggered, this, &TPuzzleDialog2::RecycleAtnExecute);
  connect(DeleteAtn, &QAction::triggered, this, &TPuzzleDialog2::DeleteAtnExecute);
  connect(InfoBtn, &QPushButton::clicked, this,
          [this] { (Tab() == PuzzleTab::Create ? NoteAtn : InfoAtn)->trigger(); });
  connect(InfoAtn, &QAction::triggered, this, &TPuzzleDialog2::InfoBtnClick);
  connect(NoteAtn, &QAction::triggered, this, &TPuzzleDialog2::NoteBtnClick);
  connect(MusicBtn, &QPushButton::clicked, this, &TPuzzleDialog2::MusicBtnClick);
  connect(PreviewBtn, &QPushButton::clicked, this, &TPuzzleDialog2::PreviewBtnClick);
  connect(PreviewChkBox, &QCheckBox::clicked, this, &TPuzzleDialog2::PreviewChkBoxClick);
  connect(UprightChkBox, &QCheckBox::clicked, this, [this](bool on) { uprightWanted = on; });
  connect(NumPiecesBox, &QComboBox::currentIndexChanged, this, [this] {
    if (NumPiecesBox->hasFocus()) ShowPieceSizePreview();
  });
  connect(qApp, &QApplication::focusChanged, this, &TPuzzleDialog2::FocusMoved);
  connect(qApp, &QGuiApplication::applicationStateChanged, this, &TPuzzleDialog2::ApplicationStateChanged);
  connect(OpenBtn, &QPushButton::clicked, this, &TPuzzleDialog2::OpenBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TPuzzleDialog2::HelpBtnClick);
  connect(HelpAtn, &QAction::triggered, this, &TPuzzleDialog2::HelpBtnClick);
  connect(MoreBtn, &QPushButton::clicked, this, &TPuzzleDialog2::MoreBtnClick);

  ClipboardHasImage();
  TipDisplay::Show(6);
  FormCreate();
  // Centred on the screen, not on the main window: at start-up the window manager may not
  // yet have given that window its final size.
  const QRect area = Screens::AvailableNear(owner ? owner->frameGeometry() : QRect());
  move(area.center() - rect().center());
}

TPuzzleDialog2::~TPuzzleDialog2() {
  disconnect(qApp, nullptr, this, nullptr);
  puzzle.reset();
}

int TPuzzleDialog2::exec() {
  if (createFailed) {
    setResult(Rejected);
    return Rejected;
  }
  return QDialog::exec();
}

std::unique_ptr<Puzzle> TPuzzleDialog2::TakePuzzle() { return std::move(puzzle); }

PuzzleTab TPuzzleDialog2::Tab() const { return PuzzleTab(TabControl1->currentIndex()); }

void TPuzzleDialog2::FormCreate() {
  // A game left unfinished last time is offered once per run.
  static bool unfinishedOffered = false;
  const QString recent = settings->RecentPuzzles.value(0);
  if (!unfinishedOffered && settings->InitialDir.isEmpty() && preselected.isEmpty() &&
      recent.size() > 4 && recent.endsWith(QLatin1String(".saw"), Qt::CaseInsensitive) &&
      settings->PrevSaveUnfinished) {
    preselected = recent;
    const QSignalBlocker quiet(TabControl1);
    TabControl1->setCurrentIndex(int(PuzzleTab::Continue));
  }
  unfinishedOffered = true;
  shownTab = Tab();
  try {
    SetUpTab();
  } catch (const std::exception& e) {
    FormCreateFailed(QString::fromLocal8Bit(e.what()));
  }
}

// The recent list is erased so that the next start does not fail the same way; the game
// goes on and this run's settings are still saved at exit.
void TPuzzleDialog2::FormCreateFailed(const QString& message) {
  const int row = PuzzleListBox->currentRow();
  QString text = message + QStringLiteral("\n\nFormCreate Abend.\n\n");
  text += row >= 0 && row < files.Count() ? files.At(row).path : preselected;
  if (clipboardMode) text += QStringLiteral("\n Clipboard Mode");
  text += QStringLiteral("\n\nIf this error persists please report it to ") +
          MailboxOf(MakerAddresses::SupportAddress(Prompt::AppCaption())) + QStringLiteral(".\n");
  TMsgLog::Add(text);
  settings->RecentPuzzles.clear();
  ERegistry().WriteStringList(QStringLiteral("Recent puzzles"), {}, QStringLiteral("Item"));
  Prompt::Show(text, QStringLiteral("Error"), Prompt::Stop);
  createFailed = true;
}

void TPuzzleDialog2::SetUpTab() {
  const PuzzleTab tab = Tab();
  TMsgLog::Add(QStringLiteral("Open dlg tab %1").arg(int(tab)));
  SetClipboardMode(false);
  ShowTabControls();
  QStringList extra;
  if (tab != PuzzleTab::Create) {
    extra << settings->InitialDir;
    if (!preselected.isEmpty()) extra << QFileInfo(preselected).absolutePath();
  }
  FillFolderBox(FoldersOf(*settings, tab), extra);
  restorePieces = true;
  if (tab == PuzzleTab::Begin) discPrompt = true;
  PuzzleDirBoxChange(false);
  ChooseListIndex();
  UpdateSelection();
}

void TPuzzleDialog2::ShowTabControls() {
  const PuzzleTab tab = Tab();
  const TabLook& look = tabLooks[int(tab)];
  const bool begin = tab == PuzzleTab::Begin, saved = tab == PuzzleTab::Continue;
  ShowTabWidgets(tab);
  PuzzleDirLbl->setText(QLatin1String(look.folderLabel));
  PuzzleListLbl->setText(QLatin1String(look.listLabel));
  NumPiecesLbl->setText(QLatin1String(look.piecesLabel));
  NumPiecesLbl->setEnabled(!saved);
  OpenBtn->setText(QLatin1String(look.openCaption));
  UprightChkBox->setText(QLatin1String(look.uprightCaption));
  uprightWanted = begin ? settings->UpsideRight : settings->UpsideRightCreate;
  UprightChkBox->setChecked(uprightWanted);
  InfoBtn->setText(QLatin1String(look.infoCaption));
  EdgesChkBox->setChecked(settings->IsolateEdges);
  PreviewChkBox->setChecked(settings->AllowPreview);
  LightBevelBox->setChecked(false);
  QvpOnlyBtn->setChecked(settings->QvpOnly);
  animatedOnly = settings->QvpOnly;
  if (!saved)
    for (QLabel* label : {SavedNumPiecesLbl, PercentCompleteLbl, PlayDateLbl, ElapsedTimeLbl}) label->clear();
  WhatsThis::SetHelpContext(UprightChkBox, look.uprightHelp);
  WhatsThis::SetHelpContext(NumPiecesBox, look.piecesHelp);
  WhatsThis::SetHelpContext(PasteBtn, look.pasteHelp);
  WhatsThis::SetHelpContext(PuzzleDirBox, look.folderHelp);
  WhatsThis::SetHelpContext(PuzzleListBox, look.listHelp);
  if (look.spinnerHelp) WhatsThis::SetHelpContext(Spinner, look.spinnerHelp);
  WhatsThis::SetHelpContext(BrowseBtn, look.browseHelp);
  WhatsThis::SetHelpContext(InfoBtn, look.infoHelp);
}

// The controls leaving go first: holding the controls of two tabs at once, the window would
// grow for them and keep that size.
void TPuzzleDialog2::ShowTabWidgets(PuzzleTab tab) {
  const bool begin = tab == PuzzleTab::Begin, create = tab == PuzzleTab::Create;
  const bool saved = tab == PuzzleTab::Continue;
  const std::pair<QWidget*, bool> shown[] = {
      {UprightChkBox, !saved},     {EdgesChkBox, begin},     {NumPiecesBox, !saved},
      {PreviewChkBox, create},     {PreviewBtn, create},     {LightBevelBox, create},
      {MusicBtn, create},          {QvpOnlyBtn, begin},      {NumHintsBox, !saved},
      {NumHintsLbl, !saved},       {SavedNumPiecesLbl, saved}, {PercentCompleteLbl, saved},
      {PlayDateLbl, saved},        {ElapsedTimeLbl, saved},  {PasteBtn, !saved}};
  for (bool pass : {false, true})
    for (const auto& [widget, visible] : shown)
      if (visible == pass) widget->setVisible(visible);
}

void TPuzzleDialog2::TabControl1Change(int) {
  SaveTabSettings(shownTab);
  shownTab = Tab();
  PuzzleDirBox->clear();
  SetUpTab();
}

void TPuzzleDialog2::SaveTabSettings(PuzzleTab tab) {
  FoldersOf(*settings, tab) = folderList;
  if (tab != PuzzleTab::Create) settings->InitialDir.clear();
  if (tab == PuzzleTab::Begin) {
    settings->LastNewPieces = NumPiecesBox->currentIndex();
    settings->QvpOnly = QvpOnlyBtn->isChecked();
    settings->UpsideRight = uprightWanted;
    settings->IsolateEdges = EdgesChkBox->isChecked();
    if (hintsEditable) settings->NumberOfHintsAllowed = GetHintsAllowed();
  } else if (tab == PuzzleTab::Create) {
    settings->LastCreatePieces = NumPiecesBox->currentIndex();
    settings->UpsideRightCreate = uprightWanted;
    settings->AllowPreview = PreviewChkBox->isChecked();
  }
}

void TPuzzleDialog2::OpenBtnClick() {
  if (!OpenBtn->isEnabled()) return;
  if (Tab() == PuzzleTab::Create) {
    if (!SaveStillPuzzle()) return;
    // A written still puzzle is not played from here: the main window gets no puzzle.
    puzzle.reset();
    accept();
    return;
  }
  if (!puzzle) return;
  puzzle->SetHintCounts(GetHintsAllowed(), 0);
  accept();
}

void TPuzzleDialog2::done(int result) {
  StopPreview();
  if (result == Accepted && puzzle) {
    RemovePuzzleFromList(puzzle.get());
    const int index = NumPiecesBox->currentIndex();
    const int chosen = index >= 0 && Tab() != PuzzleTab::Continue ? NumPiecesBox->ItemObject(index) : 0;
    const JigsawFileReader* file = puzzle->GetJigsawFile();
    const int savedSize = file && file->IsSavedGame() ? file->PieceSize() : 0;
    puzzle->SetPieceSize(PieceSizeChoice::FinalSize(chosen, savedSize, settings->PuzzlePieceSize,
                                                    puzzle->GetImageSize()));
  }
  if (!createFailed) SaveTabSettings(Tab());
  TMsgLog::Add(QStringLiteral("Open dlg close"));
  QDialog::done(result);
}

// The title bar's help button starts what's-this mode.
bool TPuzzleDialog2::event(QEvent* e) {
  if (e->type() == QEvent::EnterWhatsThisMode) {
    WhatsThis::Begin();
    TipDisplay::MarkUsed(6);
    return true;
  }
  return QDialog::event(e);
}


void TPuzzleDialog2::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (firstShow) PuzzleListBox->setFocus();
  firstShow = false;
}

// Only a return from another program counts: the dialog's own windows (the note, the file
// choosers) come and go without touching the selection and what was gathered for it.
void TPuzzleDialog2::ApplicationStateChanged(Qt::ApplicationState state) {
  if (state != Qt::ApplicationActive) {
    applicationLeft = true;
  } else if (applicationLeft) {
    applicationLeft = false;
    FormActivate();
  }
}

// The other program may have put another picture on the clipboard, or emptied it; the same
// picture keeps the selection as it is.
void TPuzzleDialog2::FormActivate() {
  if (!clipboardMode) return;
  if (!ClipboardHasImage()) SetClipboardMode(false);
  else if (ClipboardPicture() == clipboardImage) return;
  UpdateSelection();
}

void TPuzzleDialog2::MoreBtnClick() { OpenURL(MakerAddresses::PuzzlesPage()); }

void TPuzzleDialog2::HelpBtnClick() {
  HelpWindow::Instance()->ShowTopic(QString::number(31 + int(Tab())));
}
