#pragma once
// The "Go to Page" dialog of the print preview: a page number within the previewed range.

#include <QDialog>

class NumberBox;

class TGoToPageFrm : public QDialog {
  Q_OBJECT
public:
  explicit TGoToPageFrm(QWidget* parent = nullptr);

  NumberBox* NumberBox1 = nullptr;
};
