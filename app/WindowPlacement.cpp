#include "WindowPlacement.h"

#include <algorithm>

QRect WindowPlacement::PlaceInside(const QRect& saved, const QRect& available) {
  if (available.isEmpty()) return saved;
  const int w = std::clamp(saved.width(), 1, available.width());
  const int h = std::clamp(saved.height(), 1, available.height());
  const int x = std::clamp(saved.x(), available.left(), available.left() + available.width() - w);
  const int y = std::clamp(saved.y(), available.top(), available.top() + available.height() - h);
  return QRect(x, y, w, h);
}
