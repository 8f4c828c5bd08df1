#pragma once
// A flat image button (23 x 23 unless sized otherwise) that lights when the mouse is over
// it and can stay down. Its picture is one icon whose normal, active and disabled looks
// stand for the normal, hot and disabled image lists. Bound to an action, it runs the
// action, takes its picture, hint and enabled state, and keeps its own down state.

#include <QPointer>
#include <QToolButton>

class QAction;

class XPButton : public QToolButton {
  Q_OBJECT
public:
  explicit XPButton(QWidget* parent = nullptr);

  void SetAction(QAction* action);
  QAction* Action() const { return action; }
  void SetImages(const QIcon& images);

  // Down stays until the owner sets it again; a click does not change it, and setting
  // it runs nothing.
  bool Down() const { return down; }
  void SetDown(bool on);
  // Keeps the button above its siblings (the tip bar's buttons over the tip's text).
  bool BringToTop() const { return bringToTop; }
  void SetBringToTop(bool on);

  QSize sizeHint() const override { return {23, 23}; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void TakeFromAction();

  QPointer<QAction> action;
  bool down = false;
  bool bringToTop = false;
};
