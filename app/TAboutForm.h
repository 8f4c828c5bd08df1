#pragma once
// The about box: the version, a link to the latest version, and the home link, which goes to
// the sponsor when the copy is branded and to the maker otherwise.

#include <QDialog>

class LabelButton;
class QLabel;
class QPushButton;

class TAboutForm : public QDialog {
  Q_OBJECT
public:
  explicit TAboutForm(QWidget* owner);

  QLabel* VersionLbl;
  LabelButton *VersionChkLbl, *HomeLbl;
  QPushButton* CloseBtn;
};
