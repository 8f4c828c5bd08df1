#pragma once
// The pop-up colour chooser: sixteen colours and, when it has a label, one special
// choice (such as "Auto Color"). Colours are TColor values. Whatever happens, the chooser
// reports once through OnColorSelect: the colour picked, or clNone when it was closed
// without a choice.

#include "ClassColor.h"
#include "SimpleForm.h"

#include <array>

class TColorChooser : public SimpleForm {
  Q_OBJECT
public:
  static const std::array<TColor, 16> Colors;

  explicit TColorChooser(QWidget* owner = nullptr);

  // Before showing: the colour marked as current. After OnColorSelect: the choice.
  TColor ChosenColor() const { return chosen; }
  void SetChosenColor(TColor colour);
  TColor SpecialColor() const { return specialColor; }
  void SetSpecialColor(TColor colour);
  QString SpecialLabel() const { return specialLabel; }
  void SetSpecialLabel(const QString& label);

  QSize sizeHint() const override;

signals:
  void OnColorSelect();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  static constexpr int Special = 16;
  bool HasSpecial() const { return !specialLabel.isEmpty(); }
  QRect CellRect(int cell) const;
  int CellAt(QPoint pos) const;
  int CellOf(TColor colour) const;
  void Choose(int cell);
  void Report();
  void PaintSwatch(QPainter& p, const QRect& r, TColor colour) const;
  void MoveHot(int dx, int dy);

  TColor chosen = clNone;
  TColor specialColor = clBtnFace;
  QString specialLabel;
  int current = -1;
  int hot = -1;
  bool reported = false;
};
