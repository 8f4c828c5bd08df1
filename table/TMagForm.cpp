#include "TMagForm.h"

#include "TableSurface.h"
#include "TableTop.h"
#include "imaging/VirtualBuffer.h"
#include "settings/ProgSettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr QSize DefaultSize(240, 206);
constexpr int FirstInset = 16;  // from the table top's corner, where it opens first

// How far a point lies from a rectangle (0 inside).
double Distance(const QRect& area, QPoint p) {
  const int dx = std::max({area.left() - p.x(), 0, p.x() - area.right()});
  const int dy = std::max({area.top() - p.y(), 0, p.y() - area.bottom()});
  return std::hypot(dx, dy);
}

}  // namespace

TMagForm::TMagForm(QWidget* owner, TableTop* target)
    : QWidget(owner, Qt::Tool), target_(target) {
  current_ = this;
  setObjectName(QStringLiteral("MagForm"));
  setWindowTitle(QStringLiteral("Magnifier"));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(QRgb(Settings()->BackgroundColor & 0xFFFFFF)));
  setPalette(colours);
  setAutoFillBackground(true);
  Panel = new FGPanel(this);
  Panel->setMouseTracking(true);
  Panel->installEventFilter(this);
  Panel->OnPaint = [this] { PaintPanel(); };
  setMinimumSize(MinWidth, MinHeight);
  if (owner) setMaximumSize(owner->window()->maximumSize());
  // Window managers that honour it resize in even steps.
  setSizeIncrement(2, 2);
  setBaseSize(0, 0);
  CloseAtn = new QAction(QStringLiteral("Close"), this);
  CloseAtn->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(CloseAtn, &QAction::triggered, this, [this] { CloseAtnExecute(); });
  addAction(CloseAtn);
  resize(DefaultSize);
  // The pointer is drawn as the cross-hair inside the picture: over the window it hides.
  setCursor(Qt::BlankCursor);
  // Without a saved place it opens on the table, not over the menus above it.
  if (!PlaceFromSettings() && target_) move(target_->mapToGlobal(QPoint(FirstInset, FirstInset)));
}

TMagForm::~TMagForm() {
  if (current_ == this) current_ = nullptr;
  if (TableSurface* surface = TableSurface::CurrentSurface()) surface->FreeMagnifier();
}

bool TMagForm::PlaceFromSettings() {
  const ProgSettings& s = *Settings();
  if (s.MagnifierLeft < 0 || s.MagnifierTop < 0 || s.MagnifierWidth < 1 || s.MagnifierHeight < 1) return false;
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  setGeometry(PlaceOnScreens(QRect(s.MagnifierLeft, s.MagnifierTop, s.MagnifierWidth, s.MagnifierHeight),
                             areas, minimumSize(), maximumSize()));
  return true;
}

QRect TMagForm::PlaceOnScreens(const QRect& saved, const QList<QRect>& areas, QSize minimum, QSize maximum) {
  QRect placed(saved.topLeft(), saved.size().expandedTo(minimum).boundedTo(maximum));
  const QRect* nearest = nullptr;
  double best = std::numeric_limits<double>::max();
  for (const QRect& area : areas) {
    const double d = Distance(area, placed.center());
    if (!area.isEmpty() && d < best) {
      best = d;
      nearest = &area;
    }
  }
  if (!nearest) return placed;
  placed.setSize(placed.size().boundedTo(nearest->size()).expandedTo(minimum));
  placed.moveLeft(std::clamp(placed.left(), nearest->left(), std::max(nearest->left(), nearest->right() + 1 - placed.width())));
  placed.moveTop(std::clamp(placed.top(), nearest->top(), std::max(nearest->top(), nearest->bottom() + 1 - placed.height())));
  return placed;
}

void TMagForm::CloseAtnExecute() { close(); }

void TMagForm::closeEvent(QCloseEvent* event) {
  if (TableSurface* surface = TableSurface::CurrentSurface()) surface->FreeMagnifier();
  QWidget::closeEvent(event);
}

// An odd side is made one pixel smaller; the table surface then draws at the new size.
void TMagForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if ((width() | height()) & 1) {
    resize(width() & ~1, height() & ~1);
    return;
  }
  Panel->setGeometry(rect());
  if (TableSurface* surface = TableSurface::CurrentSurface()) surface->SetMagnifier(width(), height(), this);
  Panel->update();
}

void TMagForm::Show(const VirtualBuffer& picture) { picture.Render(Panel); }

void TMagForm::PaintPanel() {
  TableSurface* surface = TableSurface::CurrentSurface();
  const VirtualBuffer* picture = surface ? surface->MagnifierBuffer() : nullptr;
  if (picture && surface->TableBuffer()) {
    surface->PaintMagnifier();
    return;
  }
  QPainter(Panel).fillRect(Panel->rect(), palette().window());
}

bool TMagForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Panel && ForwardMouse(event)) return true;
  return QWidget::eventFilter(watched, event);
}

// Pointer input goes to the table top at the pointer's place there; the wheel goes through
// the table top, which leaves it to the main window.
bool TMagForm::ForwardMouse(QEvent* event) {
  TableTop* target = target_.data();
  if (!target) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      target->MousePressed(mouse->button(), mouse->modifiers(), target->mapFromGlobal(mouse->globalPosition().toPoint()));
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      target->MouseReleased(mouse->button(), target->mapFromGlobal(mouse->globalPosition().toPoint()));
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      target->MouseMoved(target->mapFromGlobal(mouse->globalPosition().toPoint()));
      return true;
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      const QPointF global = wheel->globalPosition();
      QWheelEvent forwarded(target->mapFromGlobal(global), global, wheel->pixelDelta(), wheel->angleDelta(),
                            wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted());
      QCoreApplication::sendEvent(target, &forwarded);
      return true;
    }
    default: return false;
  }
}

void TMagForm::keyPressEvent(QKeyEvent* event) {
  if (target_) QCoreApplication::sendEvent(target_.data(), event);
}

void TMagForm::keyReleaseEvent(QKeyEvent* event) {
  if (target_) QCoreApplication::sendEvent(target_.data(), event);
}
