#pragma once
// The system information window: the facts of the system an error report carries, to be
// copied and sent to the maker.

#include <QDialog>

class QPlainTextEdit;

class TSysInfoFrm : public QDialog {
  Q_OBJECT
public:
  explicit TSysInfoFrm(QWidget* owner);

  // The memo's whole text as text on the clipboard.
  void CopyAtnExecute();
  void ExitAtnExecute() { reject(); }

  QPlainTextEdit* Memo1;
};
