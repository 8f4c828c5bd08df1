#include "SmallLed.h"

#include "Artwork.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

const QString SmallLed::CaptionMark = QStringLiteral(" \u25CF");

SmallLed::SmallLed(QWidget* parent, LedColor color) : QWidget(parent), ledColor(color) {
  flashTimer = new QTimer(this);
  flashTimer->setObjectName("flashTimer");
  connect(flashTimer, &QTimer::timeout, this, &SmallLed::FlashTick);
  resize(sizeHint());
  WatchWindow();
}

SmallLed::~SmallLed() {
  if (watchedWindow) watchedWindow->removeEventFilter(this);
  if (markedWindow) SetMark(markedWindow, false);
}

void SmallLed::SetLedColor(LedColor color) {
  ledColor = color;
  update();
}

void SmallLed::SetFlashRate(int ms) {
  flashRate = ms;
  Update();
}

void SmallLed::SetUseCaption(CaptionSetting setting) {
  useCaption = setting;
  UpdateCaption();
}

void SmallLed::SetLit(bool on) {
  lit = on;
  Update();
}

void SmallLed::SetFlash(bool on) {
  if (on && !flashing) brightPhase = true;
  flashing = on;
  Update();
}

bool SmallLed::ShowsLight() const {
  if (flashing) return flashRate <= 0 || brightPhase;
  return lit;
}

void SmallLed::FlashTick() {
  brightPhase = !brightPhase;
  update();
  UpdateCaption();
}

void SmallLed::Update() {
  // A rate of 0 would fire on every pass of the event loop: such a LED shows steadily.
  if (flashing && flashRate > 0) {
    if (!flashTimer->isActive() || flashTimer->interval() != flashRate) flashTimer->start(flashRate);
  } else {
    flashTimer->stop();
    brightPhase = true;
  }
  update();
  UpdateCaption();
}

bool SmallLed::WantsMark() const {
  if (!ShowsLight()) return false;
  if (useCaption == csAlways) return true;
  return useCaption == csWhenInvisible && !isVisibleTo(window());
}

void SmallLed::UpdateCaption() {
  QWidget* w = window();
  if (markedWindow && markedWindow != w) SetMark(markedWindow, false);
  if (w != this) SetMark(w, WantsMark());
}

void SmallLed::SetMark(QWidget* w, bool on) {
  const QString title = w->windowTitle();
  const bool has = title.endsWith(CaptionMark);
  settingCaption = true;
  if (on && !has) w->setWindowTitle(title + CaptionMark);
  if (!on && has) w->setWindowTitle(title.chopped(CaptionMark.size()));
  settingCaption = false;
  markedWindow = on ? w : nullptr;
}

void SmallLed::WatchWindow() {
  QWidget* w = window();
  if (w == watchedWindow) return;
  if (watchedWindow) watchedWindow->removeEventFilter(this);
  watchedWindow = w != this ? w : nullptr;
  if (watchedWindow) watchedWindow->installEventFilter(this);
}

bool SmallLed::eventFilter(QObject* watched, QEvent* event) {
  // The window sets a new caption (a puzzle was opened): put the mark back on its end.
  if (event->type() == QEvent::WindowTitleChange && watched == watchedWindow && !settingCaption)
    UpdateCaption();
  return QWidget::eventFilter(watched, event);
}

bool SmallLed::event(QEvent* event) {
  const bool done = QWidget::event(event);
  switch (event->type()) {
    case QEvent::ParentChange:
      WatchWindow();
      UpdateCaption();
      break;
    case QEvent::Show:
    case QEvent::Hide:
      UpdateCaption();
      break;
    default:
      break;
  }
  return done;
}

void SmallLed::paintEvent(QPaintEvent*) {
  const QString name = QString("leds/%1-%2").arg(ledColor == lcGreen ? "green" : "yellow",
                                                 ShowsLight() ? "lit" : "unlit");
  const QPixmap picture = Artwork::Pixmap(name);
  const int side = qMin(width(), height());
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawPixmap(QRect((width() - side) / 2, (height() - side) / 2, side, side), picture);
}

void SmallLed::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QWidget::mouseReleaseEvent(event);
}
