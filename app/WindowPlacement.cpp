#include "WindowPlacement.h"

#include "platform/Screens.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {
// Watches a window's events until one finds it ready, then runs what waited, outside the
// event, and the watch ends. One per window: a later watch replaces it.
class FirstEventWatch : public QObject {
public:
  static inline const QString Name = QStringLiteral("FirstEventWatch");

  FirstEventWatch(QWidget& window, std::function<bool()> ready, std::function<void()> then)
      : QObject(&window), window_(window), ready_(std::move(ready)), then_(std::move(then)) {
    setObjectName(Name);
    window.installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent*) override {
    if (watched != &window_ || !ready_()) return false;
    window_.removeEventFilter(this);
    setObjectName(QString());
    QMetaObject::invokeMethod(this, [this] {
      then_();
      deleteLater();
    }, Qt::QueuedConnection);
    return false;
  }

private:
  QWidget& window_;
  std::function<bool()> ready_;
  std::function<void()> then_;
};

// The place asked for and reached in the normal state, framed: the window manager draws the
// frame without telling the window (its client does not move), and a window that starts
// maximised comes to its place only at the first restore.
bool FramedAt(const QWidget& window, const QRect& asked) {
  // The whole rectangle: on the way back from maximised the place may come before the size.
  return window.windowState() == Qt::WindowNoState && window.geometry() == asked &&
         !WindowPlacement::FrameOf(window).isNull();
}
}  // namespace

void WindowPlacement::AtFirstEventWhen(QWidget& window, std::function<bool()> ready, std::function<void()> then) {
  delete window.findChild<QObject*>(FirstEventWatch::Name, Qt::FindDirectChildrenOnly);
  new FirstEventWatch(window, std::move(ready), std::move(then));
}

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
  // As the window's limits have made it; checked once, when it stands framed there.
  const QRect asked = window.geometry();
  QWidget* const at = &window;
  AtFirstEventWhen(window, [at, asked] { return FramedAt(*at, asked); }, [at, asked] {
    const QRect now = at->geometry();
    const QRect inside = PlaceClientInside(now, FrameOf(*at), Screens::AvailableNear(at->frameGeometry()));
    if (FramedAt(*at, asked) && inside != now) at->setGeometry(inside);
  });
}
