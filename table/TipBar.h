#pragma once
// The tip bar: a one-line panel across the top of the table area that shows the tips
// manager's tip and slides as the manager says. It never takes the keyboard focus from the
// table. The main window owns it; the manager may go before it or after it.

#include "table/JITTServices.h"

#include <QWidget>

class QLabel;
class QTimer;
class XPButton;

class TipBar : public QWidget, public JITTView {
  Q_OBJECT
public:
  static constexpr int BarHeight = 20;
  static constexpr int ButtonSize = 16;

  // Lies over tableArea, across its whole width, hidden until a tip comes.
  explicit TipBar(QWidget* tableArea);
  ~TipBar() override;

  // JITTView.
  void Attach(JITTManager* manager) override;
  void Refresh() override;
  void SetDismissTimer(bool running) override;

  QLabel* TipText;
  XPButton* BackTipBtn;
  XPButton* FwdTipBtn;
  XPButton* StayBtn;
  XPButton* TipDetailsBtn;
  XPButton* CloseTipBtn;
  QTimer* TipTimer;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  template <void (JITTManager::*Click)()>
  XPButton* MakeButton(const char* name, const QString& image, const QString& hint);
  void PlaceBar(int top);
  void PlaceChildren();
  void SetTipText(const QString& text);
  void ShowFitted();

  JITTManager* manager = nullptr;
  QString shownText;
  bool placed = false;
};
