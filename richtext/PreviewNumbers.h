#pragma once
// The print preview's numbers: where the page panels go and how large they are, the zoom
// steps, paging, which actions are enabled and the page label. The window only applies them.

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace PreviewNumbers {

// The printer's sheet in its device units and its resolution.
struct Sheet {
  int width = 0, height = 0, dpiX = 0, dpiY = 0;
};

// The panels in the scroll box: the second one is empty in single layout. scroll is the
// content size the box scrolls over, 0 in a direction that needs no scrolling.
struct Layout {
  QRect first, second;
  int magnification = 0;
  QSize scroll{0, 0};
};

// The sheet in hundredths of an inch; none when the printer reports no size.
std::optional<QSize> Hundredths(const Sheet& sheet);
// The largest panels that fit the box; none when the box has no room (20 pixels or less in
// either direction) or the printer reports no size, so the panels stay as they are.
std::optional<Layout> Fit(const Sheet& sheet, QSize box, int screenDpiX, bool twoPages);
// Panels at a magnification in percent, centred while they fit, scrolled when they do not.
std::optional<Layout> Magnified(const Sheet& sheet, QSize box, QSize screenDpi, int percent, bool twoPages);

// Zoom In: the fit goes halfway to 100 %, anything else to 100 %.
int ZoomIn(int current, int fit);
// Zoom Out: 100 % goes halfway to the fit, anything else to the fit (answered as 0).
int ZoomOut(int current, int fit);

// The range shown and the first panel's page; the second panel shows current + 1.
struct Paging {
  int first = 1, last = 1, current = 1;
  bool twoPages = false;
  bool operator==(const Paging&) const = default;
};

Paging GoFirst(Paging paging);
Paging GoPrevious(Paging paging);
Paging GoNext(Paging paging);
Paging GoLast(Paging paging);
Paging SwitchLayout(Paging paging, bool twoPages);
Paging GoTo(Paging paging, int page);

struct Enabling {
  bool first = false, previous = false, next = false, last = false;
  bool magnify = false, demagnify = false, layout = false, goTo = false;
  bool operator==(const Enabling&) const = default;
};
Enabling Enabled(const Paging& paging, int magnification, int fit);

// "  Page 3  " or "  Pages 4 && 5" ("&&" shows as one ampersand).
QString PageLabel(const Paging& paging);

}  // namespace PreviewNumbers
