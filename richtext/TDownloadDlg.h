#pragma once
// Tells the player that a component the editor depends on is missing and offers a page
// about getting it. Cases: 0 the Word 97 converter, 1 the HTML converter, 2 the editor's
// library.

#include <QDialog>

class QLabel;
class QPushButton;

class TDownloadDlg : public QDialog {
  Q_OBJECT
public:
  TDownloadDlg(QWidget* owner, int which);

  QLabel *MessageLbl, *DownloadMsgLbl;
  QPushButton *DownloadBtn, *OKBtn;

  void DownloadBtnClick();
  void OKBtnClick();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void FillTexts();
  int case_;
  bool firstShow_ = true;
};
