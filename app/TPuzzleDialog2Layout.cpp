// The dialog's controls and their places.
#include "TPuzzleDialog2.h"

#include "controls/Artwork.h"
#include "controls/ChooseBox.h"
#include "controls/IconListBox.h"
#include "controls/LabelButton.h"
#include "controls/WhatsThis.h"
#include "puzzle/HintChoices.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The preview and the file facts sit in a rounded frame of the shadow colour.
class PreviewFrame : public QWidget {
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7.5, 7.5);
  }
};

template <typename T>
T* Named(T* control, const char* name) {
  control->setObjectName(QLatin1String(name));
  return control;
}

QToolButton* ToolButton(const char* name, const char* icon, const QString& tip) {
  auto* button = Named(new QToolButton, name);
  button->setIcon(Artwork::Icon(QLatin1String(icon)));
  button->setToolTip(tip);
  button->setAutoRaise(true);
  return button;
}
}  // namespace

void TPuzzleDialog2::BuildControls() {
  setWindowTitle(QStringLiteral("Open/Create a Jigsaw Puzzle"));
  TabControl1 = Named(new QTabBar, "TabControl1");
  const QString pad(6, QLatin1Char(' '));
  for (const char* caption : {"&Begin a new puzzle", "&Continue a saved puzzle", "C&reate a puzzle"})
    TabControl1->addTab(pad + QLatin1String(caption) + pad);
  TabControl1->setDrawBase(true);

  auto* body = new QFrame;
  body->setFrameShape(QFrame::StyledPanel);
  auto* columns = new QHBoxLayout(body);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->setSpacing(6);
  columns->addWidget(BuildFilePane(), 1);
  columns->addWidget(BuildOptionsPane(), 0);
  columns->addWidget(BuildPreviewPane(), 0);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->setSpacing(0);
  auto* top = new QHBoxLayout;
  top->addWidget(TabControl1);
  top->addStretch();
  top->addWidget(BuildWhatsThisButton());
  outer->addLayout(top);
  outer->addWidget(body, 1);
  outer->addSpacing(6);
  outer->addWidget(BuildButtonRow());
  // Only a button that already lies in the dialog becomes its default (Enter presses it).
  OpenBtn->setDefault(true);
  BuildActions();
  resize(609, 375);
}

QWidget* TPuzzleDialog2::BuildFilePane() {
  auto* pane = new QWidget;
  auto* grid = new QGridLayout(pane);
  grid->setContentsMargins(0, 0, 0, 0);
  PuzzleDirLbl = Named(new QLabel, "PuzzleDirLbl");
  PuzzleDirBox = Named(new QComboBox, "PuzzleDirBox");
  PuzzleDirBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  PuzzleDirBox->setMinimumContentsLength(4);
  PuzzleDirLbl->setBuddy(PuzzleDirBox);
  BrowseBtn = ToolButton("BrowseBtn", "images/16/browse", QStringLiteral("Browse for a folder"));
  PasteBtn = ToolButton("PasteBtn", "glyphs/PASTE", QStringLiteral("Use the picture on the clipboard"));
  PasteBtn->setCheckable(true);
  // Hidden on one tab, it keeps its place so that the folder box does not change width.
  QSizePolicy keep = PasteBtn->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  PasteBtn->setSizePolicy(keep);
  PuzzleListLbl = Named(new QLabel, "PuzzleListLbl");
  PuzzleListBox = Named(new IconListBox, "PuzzleListBox");
  PuzzleListBox->SetItemHeight(14);
  PuzzleListBox->SetUseIcons(true);
  PuzzleListLbl->setBuddy(PuzzleListBox);
  Spinner = Named(new QWidget, "Spinner");
  auto* spin = new QVBoxLayout(Spinner);
  spin->setContentsMargins(0, 0, 0, 0);
  SpinUpBtn = ToolButton("SpinUpBtn", "images/16/arrow-up", QStringLiteral("Previous"));
  SpinDownBtn = ToolButton("SpinDownBtn", "images/16/arrow-down", QStringLiteral("Next"));
  spin->addWidget(SpinUpBtn);
  spin->addWidget(SpinDownBtn);
  spin->addStretch();
  DeleteBtn = ToolButton("DeleteBtn", "images/16/delete", QStringLiteral("Delete the selected file (Del)"));
  QvpOnlyBtn = ToolButton("QvpOnlyBtn", "images/16/animatedonly", QStringLiteral("List animated puzzles only"));
  QvpOnlyBtn->setCheckable(true);
  auto* tools = new QVBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(Spinner), static_cast<QWidget*>(DeleteBtn),
                     static_cast<QWidget*>(QvpOnlyBtn)})
    tools->addWidget(w);
  tools->addStretch();

  grid->addWidget(PuzzleDirLbl, 0, 0, 1, 3);
  grid->addWidget(PuzzleDirBox, 1, 0);
  grid->addWidget(BrowseBtn, 1, 1);
  grid->addWidget(PasteBtn, 1, 2);
  grid->addWidget(PuzzleListLbl, 2, 0, 1, 3);
  grid->addWidget(PuzzleListBox, 3, 0, 1, 2);
  grid->addLayout(tools, 3, 2);
  grid->setRowStretch(3, 1);
  return pane;
}

QWidget* TPuzzleDialog2::BuildOptionsPane() {
  auto* pane = new QWidget;
  auto* column = new QVBoxLayout(pane);
  column->setContentsMargins(0, 0, 0, 0);
  NumPiecesLbl = Named(new QLabel, "NumPiecesLbl");
  NumPiecesBox = Named(new ChooseBox, "NumPiecesBox");
  NumPiecesBox->PassFocusTo(PuzzleListBox);
  NumPiecesLbl->setBuddy(NumPiecesBox);
  UprightChkBox = Named(new QCheckBox, "UprightChkBox");
  EdgesChkBox = Named(new QCheckBox(QStringLiteral("&Isolate edge pieces")), "EdgesChkBox");
  PreviewChkBox = Named(new QCheckBox(QStringLiteral("Include bo&x cover")), "PreviewChkBox");
  PreviewBtn = Named(new QPushButton(QStringLiteral("Choose Alternate Box Cover Image...")), "PreviewBtn");
  LightBevelBox = Named(new QCheckBox(QStringLiteral("&Default to light bevel")), "LightBevelBox");
  // Alt+H belongs to Help.
  NumHintsLbl = Named(new QLabel(QStringLiteral("Number of hints a&llowed:")), "NumHintsLbl");
  NumHintsBox = Named(new QComboBox, "NumHintsBox");
  NumHintsBox->addItems(HintChoices::AllItems());
  NumHintsLbl->setBuddy(NumHintsBox);
  SavedNumPiecesLbl = Named(new QLabel, "SavedNumPiecesLbl");
  PercentCompleteLbl = Named(new QLabel, "PercentCompleteLbl");
  PlayDateLbl = Named(new QLabel, "PlayDateLbl");
  ElapsedTimeLbl = Named(new QLabel, "ElapsedTimeLbl");
  for (QLabel* label : {SavedNumPiecesLbl, PercentCompleteLbl, PlayDateLbl, ElapsedTimeLbl})
    label->setWordWrap(true);
  MusicBtn = Named(new QPushButton(Artwork::Icon(QStringLiteral("images/16/music")), QStringLiteral("Add Music or Sound...")), "MusicBtn");
  InfoBtn = Named(new QPushButton(Artwork::Icon(QStringLiteral("images/16/note")), QString()), "InfoBtn");
  WhatsThis::SetHelpContext(PreviewChkBox, 370);
  WhatsThis::SetHelpContext(PreviewBtn, 380);
  WhatsThis::SetHelpContext(MusicBtn, 810);
  for (QWidget* w : std::initializer_list<QWidget*>{
           NumPiecesLbl, NumPiecesBox, UprightChkBox, EdgesChkBox, PreviewChkBox, PreviewBtn,
           LightBevelBox, NumHintsLbl, NumHintsBox, SavedNumPiecesLbl, PercentCompleteLbl,
           PlayDateLbl, ElapsedTimeLbl})
    column->addWidget(w);
  column->addStretch();
  column->addWidget(MusicBtn);
  column->addWidget(InfoBtn);
  // As wide as the widest tab needs, so that nothing moves when the tab changes.
  int widest = 0;
  for (QWidget* w : {static_cast<QWidget*>(PreviewBtn), static_cast<QWidget*>(MusicBtn)})
    widest = std::max(widest, w->sizeHint().width());
  for (const char* caption : {"&Allow all pieces right side up", "&Turn all pieces right side up"})
    widest = std::max(widest, UprightChkBox->fontMetrics().horizontalAdvance(QLatin1String(caption)) + 24);
  pane->setFixedWidth(widest);
  return pane;
}

QWidget* TPuzzleDialog2::BuildPreviewPane() {
  auto* pane = Named(new PreviewFrame, "Bevel2");
  pane->setFixedWidth(previewBox + 16);
  auto* column = new QVBoxLayout(pane);
  column->setContentsMargins(8, 8, 8, 6);
  column->setSpacing(2);
  auto* box = new QWidget;
  box->setFixedSize(previewBox, previewBox);
  PreviewImg = Named(new QLabel(box), "PreviewImg");
  LoadingLbl = Named(new QLabel(QStringLiteral("Loading..."), box), "LoadingLbl");
  LoadingLbl->setGeometry(0, 0, previewBox, previewBox);
  LoadingLbl->setAlignment(Qt::AlignCenter);
  LoadingLbl->setWordWrap(true);
  LoadingLbl->hide();
  // The notes stand in the preview box, below the sample piece, which takes half of it at most.
  BoxCoverLbl = Named(new QLabel(box), "BoxCoverLbl");
  BoxCoverLbl->setGeometry(0, previewBox * 3 / 4 - 20, previewBox, 40);
  BoxCoverLbl->setAlignment(Qt::AlignCenter);
  BoxCoverLbl->setWordWrap(true);
  PreviewWarningLbl = Named(new QLabel(QStringLiteral("( Box cover image differs from actual puzzle )")), "PreviewWarningLbl");
  PreviewWarningLbl->setWordWrap(true);
  PreviewWarningLbl->hide();
  FactsBox = new QWidget;
  auto* facts = new QGridLayout(FactsBox);
  facts->setContentsMargins(0, 0, 0, 4);
  facts->setVerticalSpacing(0);
  FilePfxLbl = Named(new QLabel(QStringLiteral("File:")), "FilePfxLbl");
  FileLbl = Named(new LabelButton, "FileLbl");
  TypePfxLbl = Named(new QLabel(QStringLiteral("Type:")), "TypePfxLbl");
  TypeLbl = Named(new QLabel, "TypeLbl");
  SizePfxLbl = Named(new QLabel(QStringLiteral("Size:")), "SizePfxLbl");
  SizeLbl = Named(new QLabel, "SizeLbl");
  // The prefix reads "Clipboard Image" with no file name beside it: it may take the whole
  // row, without widening the column of the short prefixes. The name lies over its end.
  facts->addWidget(FilePfxLbl, 0, 0, 1, 2);
  facts->addWidget(FileLbl, 0, 1, Qt::AlignLeft);
  facts->addWidget(TypePfxLbl, 1, 0);
  facts->addWidget(TypeLbl, 1, 1);
  facts->addWidget(SizePfxLbl, 2, 0);
  facts->addWidget(SizeLbl, 2, 1);
  facts->setColumnStretch(1, 1);
  column->addWidget(box, 0, Qt::AlignHCenter);
  column->addStretch();
  column->addWidget(PreviewWarningLbl);
  column->addWidget(FactsBox);
  return pane;
}

// Many window managers draw no help button in the title bar: the dialog carries its own
// "?" in its upper right corner, where the tip says it is.
QToolButton* TPuzzleDialog2::BuildWhatsThisButton() {
  auto* button = Named(new QToolButton, "WhatsThisBtn");
  button->setText(QStringLiteral("?"));
  button->setToolTip(QStringLiteral("\"What's This?\""));
  button->setShortcut(QKeySequence(QStringLiteral("Shift+F1")));
  button->setAutoRaise(true);
  connect(button, &QToolButton::clicked, this, [this] {
    QEvent enter(QEvent::EnterWhatsThisMode);
    QCoreApplication::sendEvent(this, &enter);
  });
  return button;
}

QWidget* TPuzzleDialog2::BuildButtonRow() {
  auto* row = new QWidget;
  auto* buttons = new QHBoxLayout(row);
  buttons->setContentsMargins(0, 0, 0, 0);
  MoreBtn = Named(new QPushButton(QStringLiteral("&More Puzzles...")), "MoreBtn");
  OpenBtn = Named(new QPushButton(QStringLiteral("Open")), "OpenBtn");
  CancelBtn = Named(new QPushButton(QStringLiteral("Cancel")), "CancelBtn");
  HelpBtn = Named(new QPushButton(QStringLiteral("&Help")), "HelpBtn");
  buttons->addWidget(MoreBtn);
  buttons->addStretch();
  for (QPushButton* b : {OpenBtn, CancelBtn, HelpBtn}) buttons->addWidget(b);
  return row;
}

void TPuzzleDialog2::BuildActions() {
  const auto action = [this](const char* name, const QKeySequence& key) {
    auto* atn = Named(new QAction(this), name);
    if (!key.isEmpty()) atn->setShortcut(key);
    atn->setShortcutContext(Qt::WindowShortcut);
    addAction(atn);
    return atn;
  };
  RecycleAtn = action("RecycleAtn", QKeySequence(Qt::Key_Delete));
  DeleteAtn = action("DeleteAtn", QKeySequence(Qt::SHIFT | Qt::Key_Delete));
  InfoAtn = action("InfoAtn", {});
  NoteAtn = action("NoteAtn", {});
  HelpAtn = action("HelpAtn", QKeySequence(Qt::Key_F1));
  WhatsThis::SetHelpContext(MoreBtn, 610);
}

void TPuzzleDialog2::MakeGlyphs() {
  const Glyph::ImageList images{Artwork::Pixmap(QStringLiteral("images/16/picture")),
                                Artwork::Pixmap(QStringLiteral("images/16/animated")),
                                Artwork::Pixmap(QStringLiteral("images/16/savedgame"))};
  Glyph::ImageList disabled;
  for (const QPixmap& image : images) disabled.append(Artwork::DisabledLook(image));
  pictureGlyph = std::make_unique<Glyph>(images, disabled, 0);
  animatedGlyph = std::make_unique<Glyph>(images, disabled, 1);
  savedGlyph = std::make_unique<Glyph>(images, disabled, 2);
}
