#include "TF11Dlg.h"

#include "Yelk/Prompt.h"
#include "controls/Artwork.h"
#include "controls/XPCheckBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TF11Dlg::TF11Dlg(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("F11Dlg"));
  setWindowTitle(QStringLiteral("Tessavinelume Jigsaw Puzzles"));
  auto* Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(Artwork::Pixmap(QStringLiteral("images/48/f11")));
  Image1->setFixedSize(48, 48);
  auto* Label1 = new QLabel(QStringLiteral("Use the "), this);
  auto* Label2 = new QLabel(QStringLiteral("F11"), this);
  QFont bold = Label2->font();
  bold.setBold(true);
  Label2->setFont(bold);
  auto* Label3 = new QLabel(QStringLiteral("key to redisplay the control panel."), this);
  auto* Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  NoShowChkBox = new XPCheckBox(QStringLiteral("&Do not show this message again"), this);
  NoShowChkBox->setObjectName(QStringLiteral("NoShowChkBox"));
  Button1 = new QPushButton(QStringLiteral("Ok"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  // Ok ends like Esc: the caller reads the box either way.
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

  auto* text = new QHBoxLayout;
  text->setSpacing(0);
  for (QLabel* l : {Label1, Label2}) text->addWidget(l);
  text->addSpacing(4);
  text->addWidget(Label3);
  text->addStretch();
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(NoShowChkBox);
  bottom->addStretch();
  bottom->addWidget(Button1);
  auto* grid = new QGridLayout(this);
  grid->addWidget(Image1, 0, 0);
  grid->addLayout(text, 0, 1);
  grid->addWidget(Bevel1, 1, 0, 1, 2);
  grid->addLayout(bottom, 2, 0, 1, 2);
  resize(329, 133);
}

bool TF11Dlg::NoShow() const { return NoShowChkBox->isChecked(); }

bool TF11Dlg::Remind(QWidget* owner) {
  if (Prompt::IsScripted())
    return Prompt::ShowApp(QStringLiteral("Use the F11 key to redisplay the control panel.\n\n"
                                          "Do not show this message again?"),
                           Prompt::Information, Prompt::Yes | Prompt::No, Prompt::No) == Prompt::Yes;
  TF11Dlg reminder(owner);
  reminder.exec();
  return reminder.NoShow();
}
