#pragma once
// A caption that acts as a button or, with a link set, as a web link opened in the
// browser. It shows its normal, over and down looks as the mouse moves over and presses it.

#include "LabelFont.h"

#include <QWidget>

class LabelButton : public QWidget {
  Q_OBJECT
public:
  explicit LabelButton(QWidget* parent = nullptr);

  void SetCaption(const QString& caption);
  QString Caption() const { return caption; }
  void SetLink(const QString& url);
  QString Link() const { return link; }

  LabelFont& NormalFont() { return normalFont; }
  LabelFont& OverFont() { return overFont; }
  LabelFont& DownFont() { return downFont; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

signals:
  void clicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  void LooksChanged();
  const LabelFont& CurrentLook() const;

  QString caption;
  QString link;
  LabelFont normalFont;
  LabelFont overFont;
  LabelFont downFont;
  bool over = false;
  bool down = false;
};
