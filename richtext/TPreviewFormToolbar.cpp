// TPreviewForm's actions, toolbar and window size.
#include "TPreviewForm.h"

#include "controls/Artwork.h"
#include "controls/ButtonTag.h"
#include "controls/FloatButton.h"
#include "controls/LabelButton.h"
#include "controls/WallPaperPanel.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

using namespace PreviewNumbers;

namespace {

constexpr int ButtonTop = 4, TagTop = 38;

QAction* NewAction(QWidget* owner, const QString& name, const QString& hint, const QKeySequence& key) {
  auto* action = new QAction(hint, owner);
  action->setObjectName(name);
  action->setToolTip(hint);
  action->setShortcut(key);
  owner->addAction(action);
  return action;
}

}  // namespace

void TPreviewForm::BuildActions() {
  FirstAtn = NewAction(this, QStringLiteral("FirstAtn"), QStringLiteral("First Page"), Qt::Key_Home);
  PreviousPageAtn = NewAction(this, QStringLiteral("PreviousPageAtn"), QStringLiteral("Previous Page"), Qt::Key_PageUp);
  NextPageAtn = NewAction(this, QStringLiteral("NextPageAtn"), QStringLiteral("Next Page"), Qt::Key_PageDown);
  LastAtn = NewAction(this, QStringLiteral("LastAtn"), QStringLiteral("Last Page"), Qt::Key_End);
  MagnifyAtn = NewAction(this, QStringLiteral("MagnifyAtn"), QStringLiteral("Zoom In"), QKeySequence(Qt::CTRL | Qt::Key_I));
  DemagnifyAtn = NewAction(this, QStringLiteral("DemagnifyAtn"), QStringLiteral("Zoom Out"), QKeySequence(Qt::CTRL | Qt::Key_O));
  LayoutAtn = NewAction(this, QStringLiteral("LayoutAtn"), QStringLiteral("Double Page Layout"), QKeySequence(Qt::CTRL | Qt::Key_L));
  LayoutAtn->setCheckable(true);
  UpAtn = NewAction(this, QStringLiteral("UpAtn"), QString(), Qt::Key_Up);
  DownAtn = NewAction(this, QStringLiteral("DownAtn"), QString(), Qt::Key_Down);
  LeftAtn = NewAction(this, QStringLiteral("LeftAtn"), QString(), Qt::Key_Left);
  RightAtn = NewAction(this, QStringLiteral("RightAtn"), QString(), Qt::Key_Right);
  PrintAtn = NewAction(this, QStringLiteral("PrintAtn"), QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
  ExitAtn = NewAction(this, QStringLiteral("ExitAtn"), QStringLiteral("Close Print Preview"), Qt::Key_Escape);

  connect(FirstAtn, &QAction::triggered, this, [this] { ShowPaging(GoFirst(paging_)); });
  connect(PreviousPageAtn, &QAction::triggered, this, [this] { ShowPaging(GoPrevious(paging_)); });
  connect(NextPageAtn, &QAction::triggered, this, [this] { ShowPaging(GoNext(paging_)); });
  connect(LastAtn, &QAction::triggered, this, [this] { ShowPaging(GoLast(paging_)); });
  connect(MagnifyAtn, &QAction::triggered, this, [this] {
    SetMagnification(ZoomIn(magnification_, fit_));
    UpdateActions();
  });
  connect(DemagnifyAtn, &QAction::triggered, this, [this] {
    SetMagnification(ZoomOut(magnification_, fit_));
    UpdateActions();
  });
  connect(LayoutAtn, &QAction::toggled, this, &TPreviewForm::Layout);
  connect(UpAtn, &QAction::triggered, this, [this] { Scroll(Qt::Vertical, -1); });
  connect(DownAtn, &QAction::triggered, this, [this] { Scroll(Qt::Vertical, 1); });
  connect(LeftAtn, &QAction::triggered, this, [this] { Scroll(Qt::Horizontal, -1); });
  connect(RightAtn, &QAction::triggered, this, [this] { Scroll(Qt::Horizontal, 1); });
  connect(PrintAtn, &QAction::triggered, this, [this] {
    printRequest_ = true;
    accept();
  });
  connect(ExitAtn, &QAction::triggered, this, &QDialog::reject);
}

FloatButton* TPreviewForm::AddButton(QAction* action, const QString& picture, const QString& tag, int left) {
  // The picture belongs to the action: the button takes it again on every change.
  action->setIcon(Artwork::Icon(QStringLiteral("images/24/") + picture));
  auto* button = new FloatButton(toolbar_);
  button->setDefaultAction(action);
  button->setIconSize(QSize(24, 24));
  button->setGeometry(left, ButtonTop, 34, 34);
  auto* label = new ButtonTag(tag, toolbar_);
  label->setGeometry(left - 10, TagTop, 54, 16);
  label->SetButton(button);
  if (picture == QLatin1String("close")) exitTag_ = label;
  return button;
}

void TPreviewForm::BuildToolbar() {
  FirstPageBtn = AddButton(FirstAtn, QStringLiteral("first"), QStringLiteral("First"), 8);
  PrevPageBtn = AddButton(PreviousPageAtn, QStringLiteral("prev"), QStringLiteral("Prev"), 58);
  NextPageBtn = AddButton(NextPageAtn, QStringLiteral("next"), QStringLiteral("Next"), 108);
  LastPageBtn = AddButton(LastAtn, QStringLiteral("last"), QStringLiteral("Last"), 158);
  // The page number has room for "Pages 88 && 89" before the zoom buttons.
  MagnifyBtn = AddButton(MagnifyAtn, QStringLiteral("zoomin"), QStringLiteral("Zoom In"), 332);
  DemagnifyBtn = AddButton(DemagnifyAtn, QStringLiteral("zoomout"), QStringLiteral("Zoom Out"), 382);
  DoublePageBtn = AddButton(LayoutAtn, QStringLiteral("layout"), QStringLiteral("Layout"), 432);
  DoublePageBtn->SetToggleable(true);
  PrintBtn = AddButton(PrintAtn, QStringLiteral("print"), QStringLiteral("Print"), 482);
  ExitBtn = AddButton(ExitAtn, QStringLiteral("close"), QStringLiteral("Close"), 540);

  PageNumberBvl = new QFrame(toolbar_);
  PageNumberBvl->setObjectName(QStringLiteral("PageNumberBvl"));
  PageNumberBvl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PageNumberBvl->setAutoFillBackground(true);
  PageNumberBvl->move(212, 10);
  PageNumberBvl->installEventFilter(this);
  PageNumberLbl = new LabelButton(PageNumberBvl);
  PageNumberLbl->setObjectName(QStringLiteral("PageNumberLbl"));
  PageNumberLbl->setToolTip(QStringLiteral("Go to Page"));
  PageNumberLbl->SetCaption(QStringLiteral("  Page 1  "));
  PageNumberLbl->move(1, 1);
  connect(PageNumberLbl, &LabelButton::clicked, this, &TPreviewForm::GoToPage);
}

// Sized like the main window, or centred on the screen without one.
void TPreviewForm::Loaded() {
  const int minWidth = PageNumberBvl->geometry().right() + 1 + 3 * FirstPageBtn->x() + ExitBtn->width();
  setMinimumWidth(minWidth);
  if (QWidget* main = MainForm()) {
    setGeometry(QRect(main->geometry().topLeft(), QSize(std::max(minWidth, main->width()), main->height())));
    PageNumberLbl->NormalFont().SetName(main->font().family());
  } else {
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::max(minWidth, std::min(900, screen.width())), std::min(700, screen.height()));
    setGeometry(QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size));
  }
  OnSized();
  UpdatePageLabel();
}

void TPreviewForm::UpdatePageLabel() {
  PageNumberLbl->SetCaption(PageLabel(paging_));
  PageNumberLbl->resize(PageNumberLbl->sizeHint());
  PageNumberBvl->resize(PageNumberLbl->width() + 2, PageNumberLbl->height() + 2);
  LayoutToolbar();
}

void TPreviewForm::LayoutToolbar() {
  const int margin = navigation_ ? FirstPageBtn->x() : MagnifyBtn->x();
  const int edge = navigation_ ? PageNumberBvl->geometry().right() + 1 : DemagnifyBtn->geometry().right() + 1;
  const int left = std::max(edge + 2 * margin, toolbar_->width() - ExitBtn->width() - margin);
  ExitBtn->move(left, ButtonTop);
  exitTag_->move(left - 10, TagTop);
}
