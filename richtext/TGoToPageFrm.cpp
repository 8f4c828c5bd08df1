#include "TGoToPageFrm.h"

#include "controls/NumberBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TGoToPageFrm::TGoToPageFrm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("GoToPageFrm"));
  setWindowTitle(QStringLiteral("Go to Page"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(209, 113);
  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(8, 8, 193, 57);
  auto* label = new QLabel(QStringLiteral("Go to Page:"), this);
  label->setObjectName(QStringLiteral("Label1"));
  label->setGeometry(24, 25, 80, 22);
  NumberBox1 = new NumberBox(this);
  NumberBox1->setObjectName(QStringLiteral("NumberBox1"));
  NumberBox1->setGeometry(110, 24, 74, 24);
  NumberBox1->SetValue(1);
  label->setBuddy(NumberBox1);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OkBtn"));
  ok->setGeometry(38, 76, 75, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  cancel->setGeometry(121, 76, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  NumberBox1->setFocus();
}
