#include "TDownloadDlg.h"

#include "platform/HelpViewer.h"

#include "Yelk/Prompt.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* CentredLabel(QWidget* parent, const QRect& place) {
  auto* label = new QLabel(parent);
  label->setGeometry(place);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TDownloadDlg::TDownloadDlg(QWidget* owner, int which) : QDialog(owner), case_(which) {
  setFixedSize(373, 221);
  QFont font = this->font();
  font.setPixelSize(13);
  setFont(font);
  setWindowTitle(Prompt::AppCaption());
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setGeometry(8, 8, 357, 161);
  MessageLbl = CentredLabel(this, QRect(26, 16, 321, 97));
  DownloadMsgLbl = CentredLabel(this, QRect(34, 120, 313, 41));
  DownloadBtn = new QPushButton(tr("Download"), this);
  DownloadBtn->setGeometry(57, 184, 97, 25);
  OKBtn = new QPushButton(tr("Dismiss"), this);
  OKBtn->setGeometry(209, 184, 97, 25);
  connect(DownloadBtn, &QPushButton::clicked, this, &TDownloadDlg::DownloadBtnClick);
  connect(OKBtn, &QPushButton::clicked, this, &TDownloadDlg::OKBtnClick);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TDownloadDlg::showEvent(QShowEvent* event) {
  if (firstShow_) FillTexts();
  firstShow_ = false;
  QDialog::showEvent(event);
}

void TDownloadDlg::FillTexts() {
  QString component;
  switch (case_) {
    case 0:
      component = QStringLiteral("Word 97 converter");
      MessageLbl->setText(tr("Documents created using Microsoft® Word 97 or Word 2000 can not be opened because a Word "
                             "97 converter file could not be found on your computer.  You will need to download and "
                             "install a Word 97 converter file from the Microsoft web site to open Word 97 and Word "
                             "2000 documents."));
      break;
    case 1:
      component = QStringLiteral("Internet Explorer");
      MessageLbl->setText(tr("HTML format is not supported because a HTML converter file could not be found on your "
                             "computer.  You will need to download and install Internet Explorer from the Microsoft® "
                             "web site to open and save documents in HTML format."));
      break;
    default:
      component = QStringLiteral("Word 97 Viewer");
      MessageLbl->setText(tr("This program requires the Microsoft® RICHED20.DLL library file which is not present on "
                             "your computer.  You need to download and install Microsoft® Word 97 Viewer from the "
                             "Microsoft web site to obtain the library file and use this program."));
      break;
  }
  DownloadMsgLbl->setText(tr("Click the \"Download\" button to download the Microsoft® ") + component +
                          tr(" now (Its free!)"));
}

void TDownloadDlg::DownloadBtnClick() {
  // The project has no download site: the help topics say what the component was for.
  if (case_ == 0) HelpViewer::ShowTopic(QStringLiteral("Word97Converter"));
  if (case_ == 2) HelpViewer::ShowTopic(QStringLiteral("Word97Viewer"));
  done(QDialog::Accepted);
}

void TDownloadDlg::OKBtnClick() { done(QDialog::Accepted); }
