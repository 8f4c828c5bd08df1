#include "TPreviewForm.h"

#include "PreviewPage.h"
#include "PreviewRenderer.h"
#include "TGoToPageFrm.h"
#include "Yelk/IdlerClient.h"
#include "Yelk/IdlerServer.h"
#include "controls/ButtonTag.h"
#include "controls/ClassColor.h"
#include "controls/FloatButton.h"
#include "controls/LabelButton.h"
#include "controls/NumberBox.h"
#include "controls/WallPaperPanel.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

using namespace PreviewNumbers;

TPreviewForm::TPreviewForm(QWidget* owner, int firstPage, int lastPage) : QDialog(owner) {
  setObjectName(QStringLiteral("PreviewForm"));
  setWindowTitle(QStringLiteral("Print Preview"));
  paging_ = Paging{firstPage, lastPage, firstPage, false};
  QPalette workSpace = palette();
  workSpace.setColor(QPalette::Window, ClassColor::ToQColor(clAppWorkSpace));
  setPalette(workSpace);
  setAutoFillBackground(true);
  toolbar_ = new WallPaperPanel(this);
  toolbar_->setObjectName(QStringLiteral("Toolbar"));
  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox_->setFrameShape(QFrame::NoFrame);
  scrollBox_->setBackgroundRole(QPalette::Window);
  scrollBox_->setFocusPolicy(Qt::NoFocus);
  sheets_ = new QWidget;
  sheets_->setAutoFillBackground(false);
  scrollBox_->setWidget(sheets_);
  for (QScrollBar* bar : {scrollBox_->horizontalScrollBar(), scrollBox_->verticalScrollBar()}) {
    bar->setSingleStep(8);
    bar->setTracking(true);  // the sheets follow the thumb while it is dragged
  }
  BuildActions();
  BuildToolbar();
  idleClient_ = std::make_unique<IdlerClient>([this] {
    UpdateActions();
    return true;
  }, QStringLiteral("Print Preview"));
  IdlerServer::IS().BindIdlerServer();
  IdlerServer::IS().RegisterIdlerClient(idleClient_.get());
  ButtonTag::Refresh();
  Loaded();
}

TPreviewForm::~TPreviewForm() { idleClient_.reset(); }

QWidget* TPreviewForm::MainForm() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow*>(widget)) return widget;
  return nullptr;
}

void TPreviewForm::SetRenderer(PreviewRenderer* renderer, bool showNavigation) {
  if (renderer) {
    renderer_ = renderer;
    firstPanel_ = NewPanel();
    firstPanel_->SetCurrentPage(paging_.current);
    paging_.last = std::min(paging_.last, renderer->GetPageCount());
    UpdatePageLabel();
  }
  navigation_ = showNavigation;
  if (!showNavigation) {
    for (QWidget* widget : std::initializer_list<QWidget*>{FirstPageBtn, PrevPageBtn, NextPageBtn, LastPageBtn,
                                                          DoublePageBtn, PageNumberBvl})
      widget->hide();
    MagnifyBtn->move(8, MagnifyBtn->y());
    DemagnifyBtn->move(MagnifyBtn->width() + 16, DemagnifyBtn->y());
    ButtonTag::Refresh();
    LayoutToolbar();
  }
  FitToWindow();
  UpdateActions();
}

PreviewPage* TPreviewForm::NewPanel() {
  auto* panel = new PreviewPage(sheets_);
  panel->SetRenderer(renderer_);
  panel->show();
  return panel;
}

QSize TPreviewForm::Box() const { return scrollBox_->size(); }

void TPreviewForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  OnSized();
}

void TPreviewForm::OnSized() {
  toolbar_->setGeometry(0, 0, width(), 57);
  scrollBox_->setGeometry(0, 57, width(), std::max(0, height() - 57));
  FitToWindow();
  LayoutToolbar();
}

void TPreviewForm::FitToWindow() {
  if (!firstPanel_) return;
  const std::optional<PreviewNumbers::Layout> layout =
      Fit(PreviewPage::PrinterSheet(), Box(), firstPanel_->logicalDpiX(), TwoPages());
  Place(layout);
  if (!layout) return;
  fit_ = magnification_ = layout->magnification;
  if (magnification_ > 100) SetMagnification(100);
}

void TPreviewForm::SetMagnification(int percent) {
  if (percent == magnification_ || !firstPanel_) return;
  magnification_ = percent;
  if (percent == 0) return FitToWindow();
  const QSize dpi(firstPanel_->logicalDpiX(), firstPanel_->logicalDpiY());
  Place(Magnified(PreviewPage::PrinterSheet(), Box(), dpi, percent, TwoPages()));
}

void TPreviewForm::Place(const std::optional<PreviewNumbers::Layout>& layout) {
  for (PreviewPage* panel : {firstPanel_, secondPanel_})
    if (panel) panel->SetBlank(!layout);
  if (!layout) return;
  // A direction without a scroll range fills the box beside the other direction's bar.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const QSize box = Box();
  const int width = layout->scroll.width() > 0 ? layout->scroll.width() : box.width() - (layout->scroll.height() > 0 ? bar : 0);
  const int height = layout->scroll.height() > 0 ? layout->scroll.height() : box.height() - (layout->scroll.width() > 0 ? bar : 0);
  sheets_->resize(std::max(width, 1), std::max(height, 1));
  firstPanel_->setGeometry(layout->first);
  if (secondPanel_) secondPanel_->setGeometry(layout->second);
  scrollBox_->horizontalScrollBar()->setValue(0);
  scrollBox_->verticalScrollBar()->setValue(0);
}

void TPreviewForm::UpdateActions() {
  const Enabling on = Enabled(paging_, magnification_, fit_);
  DemagnifyAtn->setEnabled(on.demagnify);
  FirstAtn->setEnabled(on.first);
  LastAtn->setEnabled(on.last);
  NextPageAtn->setEnabled(on.next);
  LayoutAtn->setEnabled(on.layout);
  MagnifyAtn->setEnabled(on.magnify);
  PreviousPageAtn->setEnabled(on.previous);
}

void TPreviewForm::ShowPaging(const Paging& paging) {
  paging_ = paging;
  if (firstPanel_) firstPanel_->SetCurrentPage(paging_.current);
  if (secondPanel_) secondPanel_->SetCurrentPage(paging_.current + 1);
  UpdatePageLabel();
  UpdateActions();
}

void TPreviewForm::Layout(bool twoPages) {
  if (!firstPanel_ || twoPages == TwoPages()) return;
  if (twoPages) {
    secondPanel_ = NewPanel();
  } else {
    delete secondPanel_;
    secondPanel_ = nullptr;
  }
  LayoutAtn->setToolTip(twoPages ? QStringLiteral("Single Page Layout") : QStringLiteral("Double Page Layout"));
  ShowPaging(SwitchLayout(paging_, twoPages));
  FitToWindow();
  UpdateActions();
}

void TPreviewForm::GoToPage() {
  if (!Enabled(paging_, magnification_, fit_).goTo) return;
  TGoToPageFrm dialog(this);
  dialog.NumberBox1->SetMin(paging_.first);
  dialog.NumberBox1->SetMax(paging_.last);
  dialog.NumberBox1->SetValue(paging_.current);
  // Under the page number, centred on it.
  const QPoint corner = PageNumberBvl->mapToGlobal(QPoint(0, 0));
  dialog.move(corner.x() + PageNumberBvl->width() / 2 - dialog.width() / 2, corner.y() + PageNumberBvl->height() + 10);
  const int result = RunGoToPage ? RunGoToPage(dialog) : dialog.exec();
  if (result == QDialog::Accepted) ShowPaging(GoTo(paging_, dialog.NumberBox1->Value()));
}

void TPreviewForm::Scroll(Qt::Orientation orientation, int steps) {
  QScrollBar* bar = orientation == Qt::Horizontal ? scrollBox_->horizontalScrollBar() : scrollBox_->verticalScrollBar();
  bar->setValue(bar->value() + steps * bar->singleStep());
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PageNumberBvl && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    GoToPage();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
