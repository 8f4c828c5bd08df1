#include "table/TipBar.h"

#include "controls/Artwork.h"
#include "controls/XPButton.h"
#include "table/JITTManager.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {
const QColor BarColour(0xFF, 0xFF, 0xE1);
const QColor EdgeColour(0xB8, 0xB8, 0x90);
constexpr int TextLeft = 8;
constexpr int ButtonPitch = 18;
constexpr int SmallestPoint = 7;
}  // namespace

TipBar::TipBar(QWidget* tableArea) : QWidget(tableArea) {
  setObjectName(QStringLiteral("TipPnl"));
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, BarColour);
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);
  TipText = new QLabel(this);
  TipText->setObjectName(QStringLiteral("TipText"));
  TipText->setTextFormat(Qt::RichText);
  TipText->setTextInteractionFlags(Qt::NoTextInteraction);
  TipText->setFocusPolicy(Qt::NoFocus);
  TipText->setAlignment(Qt::AlignCenter);
  BackTipBtn = MakeButton<&JITTManager::BackTipBtnClick>(
      "BackTipBtn", QStringLiteral("back"), QStringLiteral("Previous Tip"));
  FwdTipBtn = MakeButton<&JITTManager::FwdTipBtnClick>(
      "FwdTipBtn", QStringLiteral("forward"), QStringLiteral("Next Tip"));
  StayBtn = MakeButton<&JITTManager::StayBtnClick>(
      "StayBtn", QStringLiteral("stay"), QStringLiteral("Stay Put"));
  TipDetailsBtn = MakeButton<&JITTManager::TipDetailsBtnClick>(
      "TipDetailsBtn", QStringLiteral("details"), QStringLiteral("More Details"));
  CloseTipBtn = MakeButton<&JITTManager::CloseTipBtnClick>(
      "CloseTipBtn", QStringLiteral("close"), QStringLiteral("Close Tip"));
  TipTimer = new QTimer(this);
  TipTimer->setObjectName(QStringLiteral("TipTimer"));
  TipTimer->setInterval(JITTManager::DismissMs);
  TipTimer->setSingleShot(true);
  connect(TipTimer, &QTimer::timeout, this, [this] {
    if (manager) manager->DismissTimerTimer();
  });
  tableArea->installEventFilter(this);
  hide();
  PlaceBar(JITTManager::SlideStartTop);
}

TipBar::~TipBar() {
  if (manager) manager->SetView(nullptr);
}

// The handler is a template argument: a member pointer captured by the lambda would be
// copied at run time, and the compiler cannot see that copy as initialised.
template <void (JITTManager::*Click)()>
XPButton* TipBar::MakeButton(const char* name, const QString& image, const QString& hint) {
  auto* button = new XPButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setFixedSize(ButtonSize, ButtonSize);
  button->setIconSize({12, 12});
  button->SetImages(Artwork::Icon(QStringLiteral("images/12/") + image));
  button->setToolTip(hint);
  button->SetBringToTop(true);
  connect(button, &XPButton::clicked, this, [this] {
    if (manager) (manager->*Click)();
  });
  return button;
}

void TipBar::Attach(JITTManager* newManager) {
  manager = newManager;
  if (!manager) {
    TipTimer->stop();
    hide();
  }
}

void TipBar::Refresh() {
  if (!manager || !manager->BarVisible()) {
    hide();
    return;
  }
  SetTipText(manager->Text());
  BackTipBtn->setEnabled(manager->BackEnabled());
  FwdTipBtn->setEnabled(manager->FwdEnabled());
  TipDetailsBtn->setEnabled(manager->DetailsEnabled());
  StayBtn->SetDown(manager->StayDown());
  PlaceBar(manager->Top());
  if (isHidden()) {
    show();
    raise();
  }
}

void TipBar::SetDismissTimer(bool running) {
  if (running)
    TipTimer->start();
  else
    TipTimer->stop();
}

void TipBar::SetTipText(const QString& text) {
  if (text == shownText) return;
  shownText = text;
  ShowFitted();
}

namespace {
int TextWidth(const QFont& font, const QString& tip) {
  QFont bold = font;
  bold.setBold(true);
  return QFontMetrics(bold).horizontalAdvance(QStringLiteral("Tip:")) +
         QFontMetrics(font).horizontalAdvance(QStringLiteral("  ") + tip);
}
}  // namespace

// "Tip:" bold, two blanks, and the tip as plain text: its own blanks kept, nothing in it
// taken for markup. A long tip on a narrow table is drawn smaller, and only below the
// smallest size does its end give way.
void TipBar::ShowFitted() {
  QFont font = this->font();
  const int room = TipText->width();
  for (int point = font.pointSize(); point > SmallestPoint; --point) {
    if (TextWidth(font, shownText) <= room) break;
    font.setPointSize(point - 1);
  }
  QString tip = shownText;
  const int over = TextWidth(font, tip) - room;
  if (over > 0) {
    const QFontMetrics metrics(font);
    tip = metrics.elidedText(tip, Qt::ElideRight, metrics.horizontalAdvance(tip) - over);
  }
  TipText->setFont(font);
  TipText->setText(QStringLiteral("<p style=\"white-space:pre\"><b>Tip:</b>  ") +
                   tip.toHtmlEscaped() + QStringLiteral("</p>"));
}

void TipBar::PlaceChildren() {
  int x = width() - 5 * ButtonPitch;
  for (XPButton* button : {BackTipBtn, FwdTipBtn, StayBtn, TipDetailsBtn, CloseTipBtn}) {
    button->move(x, (BarHeight - ButtonSize) / 2);
    x += ButtonPitch;
  }
  TipText->setGeometry(TextLeft, 0, std::max(0, width() - 5 * ButtonPitch - TextLeft - 4), BarHeight);
  if (!shownText.isEmpty()) ShowFitted();
}

// Across the table area's whole width; the children are placed at once, also while the bar
// is hidden and gets no resize events.
void TipBar::PlaceBar(int top) {
  const int oldWidth = width();
  setGeometry(0, top, parentWidget()->width(), BarHeight);
  if (width() != oldWidth || !placed) PlaceChildren();
  placed = true;
}

bool TipBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) PlaceBar(y());
  return QWidget::eventFilter(watched, event);
}

void TipBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(EdgeColour);
  painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
