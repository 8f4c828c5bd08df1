#pragma once
// The magnifier: a small tool window above the main window that shows the table around the
// pointer at twice its size with a cross-hair (the table surface draws the picture). Pointer
// and key input on it goes on to the table top at the pointer's true place, so the player
// keeps working through it. Its client area stays even in both directions, so that the
// picture is an exact enlargement.

#include "FGPanel.h"
#include "TableHost.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QAction;
class TableTop;

class TMagForm : public QWidget, public BufferView {
  Q_OBJECT
public:
  static constexpr int MinWidth = 112;
  static constexpr int MinHeight = 102;

  // Opens where the settings last left it, kept on a screen that exists now.
  TMagForm(QWidget* owner, TableTop* target);
  ~TMagForm() override;

  // The magnifier while one exists.
  static TMagForm* Current() { return current_; }

  // A saved window rectangle moved (and shrunk if need be) into the nearest of the screens'
  // work areas, its size kept within the limits.
  static QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& areas, QSize minimum, QSize maximum);

  void Show(const VirtualBuffer& picture) override;

  FGPanel* Panel;
  QAction* CloseAtn;

protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

private:
  void CloseAtnExecute();
  // False when no place was saved.
  bool PlaceFromSettings();
  void PaintPanel();
  bool ForwardMouse(QEvent* event);

  static inline TMagForm* current_ = nullptr;
  QPointer<TableTop> target_;
};
