#pragma once
// The reminder shown when both the menu and the control panel are hidden: F11 brings the
// panel back. The caller stores the state of its "do not show again" box however the
// reminder was closed.

#include <QDialog>

class XPCheckBox;
class QPushButton;

class TF11Dlg : public QDialog {
  Q_OBJECT
public:
  explicit TF11Dlg(QWidget* owner);
  bool NoShow() const;

  // Shows the reminder modally; true when its box was ticked. While a scripted double
  // answers the prompts (tests), it is a question box instead, Yes standing for the box.
  static bool Remind(QWidget* owner);

  XPCheckBox* NoShowChkBox;
  QPushButton* Button1;
};
