#include "TColorChooser.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int Margin = 5, Cell = 18, Gap = 3, Columns = 4, SpecialHeight = 24;
}

const std::array<TColor, 16> TColorChooser::Colors{clBlack,  clMaroon, clGreen, clOlive, clNavy,    clPurple,
                                                   clTeal,   clGray,   clSilver, clRed,  clLime,    clYellow,
                                                   clBlue,   clFuchsia, clAqua,  clWhite};

TColorChooser::TColorChooser(QWidget* owner) : SimpleForm(owner) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void TColorChooser::SetChosenColor(TColor colour) {
  chosen = colour;
  current = CellOf(colour);
  update();
}

void TColorChooser::SetSpecialColor(TColor colour) {
  specialColor = colour;
  current = CellOf(chosen);
  update();
}

void TColorChooser::SetSpecialLabel(const QString& label) {
  specialLabel = label;
  updateGeometry();
  adjustSize();
  update();
}

QSize TColorChooser::sizeHint() const {
  int width = 2 * Margin + Columns * Cell + (Columns - 1) * Gap;
  int height = width;
  if (HasSpecial()) {
    width = qMax(width, 2 * Margin + 14 + 16 + fontMetrics().horizontalAdvance(specialLabel));
    height += SpecialHeight + Gap;
  }
  return {width, height};
}

QRect TColorChooser::CellRect(int cell) const {
  if (cell == Special) return {Margin, Margin + Columns * (Cell + Gap), width() - 2 * Margin, SpecialHeight};
  const int gridWidth = Columns * Cell + (Columns - 1) * Gap;
  const int left = (width() - gridWidth) / 2;
  return {left + (cell % Columns) * (Cell + Gap), Margin + (cell / Columns) * (Cell + Gap), Cell, Cell};
}

int TColorChooser::CellAt(QPoint pos) const {
  for (int cell = 0; cell <= Special; ++cell) {
    if (cell == Special && !HasSpecial()) break;
    if (CellRect(cell).adjusted(-1, -1, 1, 1).contains(pos)) return cell;
  }
  return -1;
}

int TColorChooser::CellOf(TColor colour) const {
  if (HasSpecial() && colour == specialColor) return Special;
  for (int i = 0; i < int(Colors.size()); ++i)
    if (Colors[i] == colour) return i;
  return -1;
}

void TColorChooser::PaintSwatch(QPainter& p, const QRect& r, TColor colour) const {
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.setBrush(ClassColor::ToQColor(colour));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(QColor(255, 255, 255, 160));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(1, 1, -2, -2));
}

void TColorChooser::paintEvent(QPaintEvent* event) {
  SimpleForm::paintEvent(event);
  QPainter p(this);
  const QColor highlight = palette().color(QPalette::Highlight);
  for (int cell = 0; cell <= Special; ++cell) {
    if (cell == Special && !HasSpecial()) break;
    const QRect r = CellRect(cell);
    if (cell == hot || cell == current) {
      p.setPen(QPen(cell == hot ? highlight : palette().color(QPalette::WindowText), 1));
      p.setBrush(cell == hot ? highlight.lighter(170) : Qt::NoBrush);
      p.drawRect(r.adjusted(-2, -2, 1, 1));
    }
    if (cell != Special) {
      PaintSwatch(p, r, Colors[cell]);
      continue;
    }
    PaintSwatch(p, QRect(r.left() + 5, r.center().y() - 7, 14, 14), specialColor);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r.adjusted(26, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, specialLabel);
  }
}

void TColorChooser::mouseMoveEvent(QMouseEvent* event) {
  const int cell = CellAt(event->position().toPoint());
  if (cell != hot) {
    hot = cell;
    update();
  }
}

void TColorChooser::mouseReleaseEvent(QMouseEvent* event) {
  const int cell = CellAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && cell >= 0) Choose(cell);
}

void TColorChooser::MoveHot(int dx, int dy) {
  if (hot < 0) {
    hot = current >= 0 ? current : 0;
  } else if (hot == Special) {
    if (dy < 0) hot = Columns * (Columns - 1);
  } else {
    const int column = hot % Columns, row = hot / Columns;
    if (dy > 0 && row == Columns - 1)
      hot = HasSpecial() ? Special : hot;
    else
      hot = qBound(0, row + dy, Columns - 1) * Columns + qBound(0, column + dx, Columns - 1);
  }
  update();
}

void TColorChooser::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: MoveHot(-1, 0); break;
    case Qt::Key_Right: MoveHot(1, 0); break;
    case Qt::Key_Up: MoveHot(0, -1); break;
    case Qt::Key_Down: MoveHot(0, 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (hot >= 0) Choose(hot);
      break;
    default: SimpleForm::keyPressEvent(event); return;  // Esc closes the pop-up
  }
}

void TColorChooser::Choose(int cell) {
  chosen = cell == Special ? specialColor : Colors[cell];
  reported = true;
  hide();
  emit OnColorSelect();
}

void TColorChooser::showEvent(QShowEvent* event) {
  reported = false;
  hot = current;
  SimpleForm::showEvent(event);
  setFocus(Qt::PopupFocusReason);
}

void TColorChooser::hideEvent(QHideEvent* event) {
  SimpleForm::hideEvent(event);
  Report();
}

void TColorChooser::Report() {
  // Closed by a click outside or Esc: nothing was chosen.
  if (reported) return;
  reported = true;
  chosen = clNone;
  emit OnColorSelect();
}
