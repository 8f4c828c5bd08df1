#pragma once
// A lowered panel with a centred caption that tells when the mouse comes over it and
// when it leaves (the main window's box-cover frame).

#include <QFrame>

class OstrevPanel : public QFrame {
  Q_OBJECT
public:
  explicit OstrevPanel(QWidget* parent = nullptr);

  void SetCaption(const QString& caption);
  QString Caption() const { return caption; }

signals:
  void OnMouseEnter();
  void OnMouseExit();

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  QString caption;
};
