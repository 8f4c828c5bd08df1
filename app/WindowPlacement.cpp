#include "WindowPlacement.h"

#include "platform/Screens.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>

namespace {
// Watches a window that was placed before it had a frame. The window manager draws the frame
// without telling the window (its client does not move), and a window that starts maximised
// comes to its place only at the first restore: the first event that finds the window framed
// at the place asked for has the place checked once, outside the event, and the watch ends.
class FrameCheck : public QObject {
public:
  static inline const QString Name = QStringLiteral("FrameCheck");

  FrameCheck(QWidget& window, const QRect& asked) : QObject(&window), window_(window), asked_(asked) {
    setObjectName(Name);
    window.installEventFilter(this);
  }
  void Ask(const QRect& asked) { asked_ = asked; }

protected:
  bool eventFilter(QObject* watched, QEvent*) override {
    if (watched != &window_ || !AtPlace()) return false;
    window_.removeEventFilter(this);
    QMetaObject::invokeMethod(this, [this] {
      const QRect client = window_.geometry();
      const QRect placed = WindowPlacement::PlaceClientInside(client, WindowPlacement::FrameOf(window_),
                                                              Screens::AvailableNear(window_.frameGeometry()));
      if (AtPlace() && placed != client) window_.setGeometry(placed);
      deleteLater();
    }, Qt::QueuedConnection);
    return false;
  }

private:
  bool AtPlace() const {
    // The whole rectangle: on the way back from maximised the place may come before the size.
    return window_.windowState() == Qt::WindowNoState && window_.geometry() == asked_ &&
           !WindowPlacement::FrameOf(window_).isNull();
  }

  QWidget& window_;
  QRect asked_;
};
}  // namespace

QRect WindowPlacement::PlaceInside(const QRect& saved, const QRect& available) {
  if (available.isEmpty()) return saved;
  const int w = std::clamp(saved.width(), 1, available.width());
  const int h = std::clamp(saved.height(), 1, available.height());
  const int x = std::clamp(saved.x(), available.left(), available.left() + available.width() - w);
  const int y = std::clamp(saved.y(), available.top(), available.top() + available.height() - h);
  return QRect(x, y, w, h);
}

QRect WindowPlacement::PlaceClientInside(const QRect& client, const QMargins& frame, const QRect& available) {
  if (available.isEmpty()) return client;
  return PlaceInside(client.marginsAdded(frame), available).marginsRemoved(frame);
}

QMargins WindowPlacement::FrameOf(const QWidget& window) {
  const QRect outer = window.frameGeometry(), inner = window.geometry();
  return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                  outer.bottom() - inner.bottom());
}

void WindowPlacement::PlaceWindow(QWidget& window, const QRect& client) {
  const QMargins frame = FrameOf(window);
  const QRect placed = PlaceClientInside(client, frame, Screens::AvailableNear(client.marginsAdded(frame)));
  window.setGeometry(placed);
  if (!frame.isNull()) return;
  // As the window's limits have made it.
  const QRect asked = window.geometry();
  if (auto* check = dynamic_cast<FrameCheck*>(window.findChild<QObject*>(FrameCheck::Name, Qt::FindDirectChildrenOnly)))
    check->Ask(asked);
  else
    new FrameCheck(window, asked);
}
