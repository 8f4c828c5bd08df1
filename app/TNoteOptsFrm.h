#pragma once
// The puzzle note's options: hidden until the puzzle is completed, shown by itself at
// completion. The note window sets and reads the boxes and whether they were changed.

#include <QDialog>

class XPCheckBox;
class QPushButton;

class TNoteOptsFrm : public QDialog {
  Q_OBJECT
public:
  explicit TNoteOptsFrm(QWidget* owner);

  void ChangeChkBoxClick() { changed = true; }
  void HelpAtnExecute();

  XPCheckBox *HiddenChkBox, *PopupChkBox;
  QPushButton *Button1, *Button2, *Button3;
  // A box was clicked since the window was made.
  bool changed = false;
};
