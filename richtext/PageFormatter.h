#pragma once
// Lays a character range of a document into a page rectangle, whole lines at a time, with
// the target device (the printer) as the layout device, so that counting, printing and
// preview break lines and pages alike. The document is laid out once for a device and a
// width and kept until it is edited or either changes: pages are slices of its lines.

#include "RichEditDefs.h"

#include <QMetaObject>
#include <QPointer>
#include <QTextDocument>

#include <memory>
#include <vector>

class PageFormatter {
public:
  PageFormatter() = default;
  PageFormatter(const PageFormatter&) = delete;
  PageFormatter& operator=(const PageFormatter&) = delete;
  ~PageFormatter();

  // Fits the lines of range.chrg into range.rc (twips, from range.rcPage's origin), drawing
  // them on range.hdc when draw. A non-empty range always gives one line. Answers the first
  // position not fitted and sets range.rc.bottom to the bottom used.
  LONG Format(const QTextDocument& document, FORMATRANGE& range, bool draw);
  // Forgets the kept layout.
  void Clear();
  // True while a layout is kept.
  bool HasLayout() const { return copy_ != nullptr; }

private:
  struct Line {
    LONG start, end;
    double top, bottom;
    bool pageBreak;  // begins with a hard page break: never below another line
    int block, line;  // where the copy holds it
  };
  struct Key {
    const QPaintDevice* device = nullptr;
    int dpiX = 0, dpiY = 0;
    double width = 0;
    bool operator==(const Key&) const = default;
  };

  void Prepare(const QTextDocument& document, const Key& key);
  void CollectLines();
  size_t FirstLine(LONG position) const;
  void Draw(QPainter& painter, size_t first, size_t last, const QPointF& at, const QPaintDevice* device) const;

  QPointer<const QTextDocument> source_;
  QMetaObject::Connection watch_;
  std::unique_ptr<QTextDocument> copy_;
  Key key_;
  std::vector<Line> lines_;
};
