#include "TNoteOptsFrm.h"

#include "controls/WhatsThis.h"
#include "controls/XPCheckBox.h"
#include "platform/HelpViewer.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int HiddenHelp = 1230;
constexpr int PopupHelp = 1231;
}

TNoteOptsFrm::TNoteOptsFrm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("NoteOptsFrm"));
  setWindowTitle(QStringLiteral("Puzzle Note Options"));
  auto* Panel1 = new QFrame(this);
  Panel1->setFrameShape(QFrame::StyledPanel);
  HiddenChkBox = new XPCheckBox(QStringLiteral("Hide the note until the puzzle is completed"), Panel1);
  HiddenChkBox->setObjectName(QStringLiteral("HiddenChkBox"));
  WhatsThis::SetHelpContext(HiddenChkBox, HiddenHelp);
  PopupChkBox = new XPCheckBox(
      QStringLiteral("Automatically display the note when the puzzle is completed"), Panel1);
  PopupChkBox->setObjectName(QStringLiteral("PopupChkBox"));
  WhatsThis::SetHelpContext(PopupChkBox, PopupHelp);
  auto* boxes = new QVBoxLayout(Panel1);
  boxes->addWidget(HiddenChkBox);
  boxes->addWidget(PopupChkBox);
  Button1 = new QPushButton(QStringLiteral("Ok"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button3 = new QPushButton(QStringLiteral("Help"), this);
  Button3->setObjectName(QStringLiteral("Button3"));
  Button3->setShortcut(Qt::Key_F1);
  connect(HiddenChkBox, &QCheckBox::clicked, this, &TNoteOptsFrm::ChangeChkBoxClick);
  connect(PopupChkBox, &QCheckBox::clicked, this, &TNoteOptsFrm::ChangeChkBoxClick);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button3, &QPushButton::clicked, this, &TNoteOptsFrm::HelpAtnExecute);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {Button1, Button2, Button3}) buttons->addWidget(b);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Panel1);
  column->addLayout(buttons);
  resize(377, 165);
}

void TNoteOptsFrm::HelpAtnExecute() { HelpViewer::ShowTopic(QStringLiteral("AddingaPuzzleNote")); }
