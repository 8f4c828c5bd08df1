#include "PreviewNumbers.h"

#include "Yelk/MulDiv.h"

namespace PreviewNumbers {

// The scroll box keeps a 10-pixel margin around the panels and 10 pixels between two.
constexpr int Margin = 10;

std::optional<QSize> Hundredths(const Sheet& sheet) {
  if (sheet.width <= 0 || sheet.height <= 0 || sheet.dpiX <= 0 || sheet.dpiY <= 0) return std::nullopt;
  const QSize size(MulDiv(sheet.width, 100, sheet.dpiX), MulDiv(sheet.height, 100, sheet.dpiY));
  if (size.width() <= 0 || size.height() <= 0) return std::nullopt;
  return size;
}

namespace {

bool HasRoom(QSize box) { return box.width() > 2 * Margin && box.height() > 2 * Margin; }

Layout WithSecond(Layout layout, bool twoPages) {
  if (twoPages) layout.second = layout.first.translated(layout.first.width() + Margin, 0);
  return layout;
}

}  // namespace

std::optional<Layout> Fit(const Sheet& sheet, QSize box, int screenDpiX, bool twoPages) {
  const std::optional<QSize> page = Hundredths(sheet);
  if (!page || !HasRoom(box) || screenDpiX <= 0) return std::nullopt;
  const int bw = box.width(), bh = box.height();
  const int pageRatio = MulDiv(page->width(), 1000, page->height());
  const int boxRatio = twoPages ? MulDiv((bw - 15) / 2, 1000, bh - 20) : MulDiv(bw - 20, 1000, bh - 20);
  QRect panel;
  if (boxRatio > pageRatio) {
    const int height = bh - 20;
    const int width = MulDiv(height, page->width(), page->height());
    panel = QRect(twoPages ? (bw - 2 * width - 10) / 2 : (bw - width) / 2, Margin, width, height);
  } else {
    const int width = twoPages ? (bw - 30) / 2 : bw - 20;
    const int height = MulDiv(width, page->height(), page->width());
    panel = QRect(Margin, (bh - height) / 2, width, height);
  }
  if (panel.width() <= 0 || panel.height() <= 0) return std::nullopt;
  Layout layout;
  layout.first = panel;
  layout.magnification = MulDiv(MulDiv(panel.width(), 100, screenDpiX), 100, page->width());
  return WithSecond(layout, twoPages);
}

std::optional<Layout> Magnified(const Sheet& sheet, QSize box, QSize screenDpi, int percent, bool twoPages) {
  const std::optional<QSize> page = Hundredths(sheet);
  if (!page || !HasRoom(box) || percent <= 0) return std::nullopt;
  const int width = MulDiv(MulDiv(page->width(), percent, 100), screenDpi.width(), 100);
  const int height = MulDiv(MulDiv(page->height(), percent, 100), screenDpi.height(), 100);
  if (width <= 0 || height <= 0) return std::nullopt;
  const int needed = twoPages ? 2 * width + 30 : width + 20;
  Layout layout;
  layout.magnification = percent;
  int left = Margin, top = Margin;
  if (needed <= box.width())
    left = (box.width() - needed) / 2;
  else
    layout.scroll.setWidth(needed);
  if (height + 20 <= box.height())
    top = (box.height() - height) / 2;
  else
    layout.scroll.setHeight(height + 20);
  layout.first = QRect(left, top, width, height);
  return WithSecond(layout, twoPages);
}

int ZoomIn(int current, int fit) {
  if (current != fit) return 100;
  const int halfway = fit + (100 - fit) / 2;
  // A fit of 99 has no halfway step: 100 % is the next one.
  return halfway == current ? 100 : halfway;
}

int ZoomOut(int current, int fit) { return current == 100 ? fit + (100 - fit) / 2 : 0; }

Paging GoFirst(Paging paging) {
  if (paging.current > paging.first) paging.current = paging.first;
  return paging;
}

Paging GoPrevious(Paging paging) {
  if (paging.current > paging.first) --paging.current;
  return paging;
}

Paging GoNext(Paging paging) {
  if (paging.twoPages ? paging.last - 1 > paging.current : paging.current < paging.last) ++paging.current;
  return paging;
}

Paging GoLast(Paging paging) {
  if (!paging.twoPages && paging.current < paging.last) paging.current = paging.last;
  if (paging.twoPages && paging.last - 1 > paging.current) paging.current = paging.last - 1;
  return paging;
}

Paging SwitchLayout(Paging paging, bool twoPages) {
  paging.twoPages = twoPages;
  // Two pages end with the last one, shown beside the one before it.
  if (twoPages && paging.current == paging.last) --paging.current;
  return paging;
}

Paging GoTo(Paging paging, int page) {
  if (page == paging.current) return paging;
  paging.current = paging.twoPages && page == paging.last ? page - 1 : page;
  return paging;
}

Enabling Enabled(const Paging& paging, int magnification, int fit) {
  Enabling on;
  const bool further = paging.twoPages ? paging.last - 1 > paging.current : paging.current < paging.last;
  on.first = paging.current != paging.first;
  on.previous = paging.current > paging.first;
  on.next = on.last = further;
  on.magnify = magnification < 100;
  on.demagnify = magnification > fit;
  on.layout = paging.last - paging.first >= 1;
  on.goTo = paging.last - paging.first >= (paging.twoPages ? 2 : 1);
  return on;
}

QString PageLabel(const Paging& paging) {
  if (paging.twoPages) return QStringLiteral("  Pages %1 && %2").arg(paging.current).arg(paging.current + 1);
  return QStringLiteral("  Page %1  ").arg(paging.current);
}

}  // namespace PreviewNumbers
