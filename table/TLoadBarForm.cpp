#include "TLoadBarForm.h"

#include "controls/Artwork.h"
#include "Yelk/AbortRegister.h"
#include "Yelk/TMsgLog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int FirstStage = 2;
constexpr int LastStage = 5;
constexpr int StageWait = 250;  // ms: long enough to see each stage
constexpr int IdleImage = 5;    // idle images follow the active ones at this distance

const char* const StageCaptions[] = {
    "Creating puzzle piece patterns...",
    "Creating puzzle pieces...",
    "Positioning puzzle pieces...",
    "Loading video content...",
};
const char* const StageImageNames[] = {"die", "cut", "position", "load"};

int liveForms = 0;

std::function<void(int)>& Waiter() {
  static std::function<void(int)> waiter;
  return waiter;
}

QToolButton* StageButton(QWidget* parent, const QString& name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setIconSize(QSize(24, 24));
  button->setFocusPolicy(Qt::NoFocus);
  button->setEnabled(false);
  return button;
}

}  // namespace

TLoadBarForm::TLoadBarForm(QWidget* ownerWidget)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      owner(ownerWidget ? ownerWidget->window() : nullptr) {
  ++liveForms;
  if (owner) {
    winId();
    windowHandle()->setTransientParent(owner->windowHandle());
  }
  setObjectName(QStringLiteral("LoadBarForm"));
  setFixedSize(281, 98);
  setFocusPolicy(Qt::StrongFocus);
  LoadImages();
  BuildPanels();
  ShowStageIcons(0);
}

TLoadBarForm::~TLoadBarForm() {
  // The end of a load closes the window, which keeps the last stage visible a moment.
  if (isVisible()) close();
  // Also when the window was never closed (the load threw): an Esc must not write here later.
  ReleaseCancelFlag();
  --liveForms;
}

bool TLoadBarForm::LoadIsRunning() { return liveForms > 0; }

void TLoadBarForm::SetWaiter(std::function<void(int)> waiter) { Waiter() = std::move(waiter); }

// The window stays alive meanwhile and Esc ends the pause at once (a cancelled load does not
// pause at all): events are let through until the time is over, a timer waking the wait then.
void TLoadBarForm::Pause(int milliseconds) {
  const std::function<void(int)>& waiter = Waiter();
  if (waiter) {
    waiter(milliseconds);
    return;
  }
  QElapsedTimer clock;
  clock.start();
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  while (!cancelled) {
    const qint64 left = milliseconds - clock.elapsed();
    if (left <= 0) break;
    wake.start(int(left));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void TLoadBarForm::LoadImages() {
  ProgressImages = QList<QPixmap>(LastStage * 2);
  for (int i = 0; i <= LastStage - FirstStage; ++i) {
    const QString name = QStringLiteral("images/24/") + StageImageNames[i];
    ProgressImages[i + 1] = Artwork::Pixmap(name);
    ProgressImages[i + 1 + IdleImage] = Artwork::Pixmap(name + QStringLiteral("-idle"));
  }
}

void TLoadBarForm::BuildPanels() {
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Panel1->setStyleSheet(QStringLiteral("#Panel1 { border: 1px solid #6a6a6a; }"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(Panel1);

  Panel2 = new QFrame(Panel1);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* around = new QVBoxLayout(Panel1);
  around->setContentsMargins(2, 2, 2, 2);
  around->addWidget(Panel2);

  BuildToolBar();
  ProgressLbl = new QLabel(Panel2);
  ProgressLbl->setObjectName(QStringLiteral("ProgressLbl"));
  ProgressLbl->setAlignment(Qt::AlignCenter);
  LoadBar = new QProgressBar(Panel2);
  LoadBar->setObjectName(QStringLiteral("LoadBar"));
  LoadBar->setRange(0, 100);
  LoadBar->setValue(0);
  LoadBar->setTextVisible(false);
  LoadBar->setFixedHeight(12);
  Label1 = new QLabel(QStringLiteral("Press 'Esc' to cancel"), Panel2);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignCenter);
  QFont small(QStringLiteral("Arial"));
  small.setPointSizeF(7);
  Label1->setFont(small);
  QPalette grey = Label1->palette();
  grey.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  Label1->setPalette(grey);

  auto* inner = new QVBoxLayout(Panel2);
  inner->setContentsMargins(8, 2, 8, 3);
  inner->setSpacing(2);
  inner->addWidget(ToolBar1, 0, Qt::AlignHCenter);
  inner->addWidget(ProgressLbl);
  inner->addWidget(LoadBar);
  inner->addWidget(Label1);
}

void TLoadBarForm::BuildToolBar() {
  ToolBar1 = new QWidget(Panel2);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setEnabled(false);
  DieBtn = StageButton(ToolBar1, QStringLiteral("DieBtn"));
  CutBtn = StageButton(ToolBar1, QStringLiteral("CutBtn"));
  CutBtn->setToolTip(QStringLiteral("Cutting the puzzle into pieces..."));
  PositionBtn = StageButton(ToolBar1, QStringLiteral("PositionBtn"));
  LoadBtn = StageButton(ToolBar1, QStringLiteral("LoadBtn"));
  auto* row = new QHBoxLayout(ToolBar1);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  for (QToolButton* button : {DieBtn, CutBtn, PositionBtn, LoadBtn}) row->addWidget(button);
}

// active: the index of the lit stage's button (0 to 3), or -1 for none.
void TLoadBarForm::ShowStageIcons(int active) {
  QToolButton* const buttons[] = {DieBtn, CutBtn, PositionBtn, LoadBtn};
  for (int i = 0; i < 4; ++i) {
    const QPixmap& image = ProgressImages[i == active ? i + 1 : i + 1 + IdleImage];
    // The buttons are disabled: the chosen image is their disabled look too.
    QIcon icon(image);
    icon.addPixmap(image, QIcon::Disabled);
    buttons[i]->setIcon(icon);
  }
}

void TLoadBarForm::SetQvp(bool on) {
  qvp = on;
  LoadBtn->setVisible(on);
}

void TLoadBarForm::CancelCheck() {
  if (!registered) {
    AbortRegister::AR().Register(&cancelled);
    registered = true;
  }
  QCoreApplication::processEvents();
  if (cancelled)
    TMsgLog::Add(
        QStringLiteral("Load Bar Cancel, stage=%1, barPos=%2").arg(stage).arg(BarPosition()));
}

void TLoadBarForm::SetStage(int newStage) {
  if (newStage < FirstStage || newStage > LastStage) {
    TMsgLog::Add(QStringLiteral("Load Bar - no stage %1").arg(newStage));
    return;
  }
  CancelCheck();
  if (stage != 0) Pause(StageWait);
  ShowStageIcons(newStage - FirstStage);
  ProgressLbl->setText(QString::fromLatin1(StageCaptions[newStage - FirstStage]));
  LoadBar->setValue(0);
  stage = newStage;
  repaint();
  CancelCheck();
}

int TLoadBarForm::BarPosition() { return stage == 0 ? 0 : LoadBar->value(); }

void TLoadBarForm::SetBarPosition(int position) {
  CancelCheck();
  if (stage == 0) return;
  LoadBar->setValue(std::clamp(position, 0, 100));
  LoadBar->repaint();
}

void TLoadBarForm::ReleaseCancelFlag() {
  if (!registered) return;
  AbortRegister::AR().Deregister(&cancelled);
  registered = false;
}

bool TLoadBarForm::LastCancelCheck() {
  CancelCheck();
  if (cancelled) return true;
  ReleaseCancelFlag();
  Label1->setText(QString());
  Label1->repaint();
  return false;
}

void TLoadBarForm::closeEvent(QCloseEvent* event) {
  Pause(StageWait);
  ReleaseCancelFlag();
  QWidget::closeEvent(event);
}

void TLoadBarForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (owner && owner->isVisible()) {
    move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
  } else if (const QScreen* shown = screen()) {
    const QRect area = shown->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  // The main window is disabled during a load: Esc must reach this window.
  activateWindow();
  setFocus(Qt::ActiveWindowFocusReason);
}

// Before the busy cursor takes the keyboard, Esc pressed here cancels the load.
void TLoadBarForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    AbortRegister::AR().Abort();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}
