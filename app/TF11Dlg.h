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

  XPCheckBox* NoShowChkBox;
  QPushButton* Button1;
};
