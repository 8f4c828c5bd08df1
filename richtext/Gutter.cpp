#include "Gutter.h"

#include "GutterLayout.h"
#include "RichEdit20.h"

#include "controls/FrugalPopupMenu.h"
#include "controls/GlyphManager.h"
#include "controls/TColorChooser.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include <map>

Gutter::Gutter(RichEdit20& editor, TColor colour, int width) : QWidget(&editor), editor_(editor), colour_(colour) {
  setObjectName(QStringLiteral("Gutter"));
  icons_.reserve(8);
  setFixedWidth(width);
  BuildMenu();
}

Gutter::~Gutter() {
  for (const Icon& icon : icons_) {
    GlyphManager::GM().Delete(icon.glyph);
    if (icon.multiple >= 0) GlyphManager::GM().Delete(icon.multiple);
  }
}

int Gutter::RegisterIcon(const QPixmap& icon, const QPixmap& multiple) {
  // Named per editor and record: the manager refuses a name it already holds.
  const QString suffix = QStringLiteral(" %1.%2").arg(editor_.GetId()).arg(icons_.size());
  Icon record;
  record.glyph = GlyphManager::GM().Add(icon, QStringLiteral("Gutter Icon") + suffix);
  if (!multiple.isNull()) record.multiple = GlyphManager::GM().Add(multiple, QStringLiteral("Gutter Multiple Icon") + suffix);
  record.positions = std::make_unique<IntArray>(QStringLiteral("Gutter Positions"));
  icons_.push_back(std::move(record));
  return static_cast<int>(icons_.size()) - 1;
}

void Gutter::UpdateIcon(int icon, std::unique_ptr<IntArray> positions) {
  if (icon < 0 || icon >= static_cast<int>(icons_.size()) || !positions) return;
  if (icons_[icon].positions->IsEqualTo(*positions)) return;
  icons_[icon].positions = std::move(positions);
  ++repaints_;
  update();
}

void Gutter::UpdatePosition() {
  const QRect client = editor_.ClientRect();
  setGeometry(client.left(), client.top(), width(), client.height());
}

void Gutter::SetColor(TColor colour) {
  colour_ = colour;
  update();
}

void Gutter::paintEvent(QPaintEvent*) {
  if (firstPaint_) {
    firstPaint_ = false;
    if (!editor_.GetGutterAutoColor()) colour_ = GutterColor;
  }
  QPainter painter(this);
  painter.fillRect(rect(), ClassColor::ToQColor(colour_));
  const int w = width();
  painter.setPen(colour_ == clBtnFace ? ClassColor::ToQColor(clBtnHighlight) : QColor(Qt::black));
  painter.drawLine(w - 1, 0, w - 1, height());
  painter.setPen(ClassColor::ToQColor(GutterLayout::Shade(colour_)));
  painter.drawLine(w - 2, 0, w - 2, height());
  PaintIcons(painter);
}

void Gutter::PaintIcons(QPainter& painter) {
  // For each line: which records have icons on it, and whether one has two.
  std::map<int, std::vector<int>> holders;
  std::map<int, bool> doubled;
  for (int r = 0; r < static_cast<int>(icons_.size()); ++r) {
    const IntArray& ys = *icons_[r].positions;
    for (int i = 0; i < ys.Size(); ++i) {
      std::vector<int>& records = holders[ys.Get(i)];
      if (!records.empty() && records.back() == r)
        doubled[ys.Get(i)] = true;
      else
        records.push_back(r);
    }
  }
  for (const auto& [y, records] : holders) {
    if (y >= height()) continue;
    const int n = static_cast<int>(records.size());
    for (int k = 0; k < n; ++k) {
      const Icon& icon = icons_[records[k]];
      const int glyph = doubled[y] && icon.multiple >= 0 ? icon.multiple : icon.glyph;
      GlyphManager::GM().Draw(GutterLayout::IconX(width(), n, k), y - 6, painter, glyph);
    }
  }
}

void Gutter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const int y = event->position().toPoint().y();
  const int position = editor_.CharPosFromPoint(QPoint(0, y));
  const int line = editor_.GetLineFromPos(position);
  const int next = editor_.GetLinePos(line + 1);
  const int end = next >= 0 ? next : editor_.GetLength() + 1;
  for (int at = end - 1; at >= position; --at) {
    const int id = editor_.GetBookmarkIdAt(at);
    if (id >= 0) return editor_.DeleteExternalBookmark(id);
  }
  editor_.SetExternalBookmark(position);
}

void Gutter::contextMenuEvent(QContextMenuEvent* event) {
  UpdateMenuItems();
  menu_->Popup(event->globalPos().x(), event->globalPos().y());
}
