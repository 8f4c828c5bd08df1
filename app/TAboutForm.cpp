#include "TAboutForm.h"

#include "MakerAddresses.h"
#include "Sponser.h"

#include "Yelk/TSwerrForm.h"
#include "controls/Artwork.h"
#include "controls/LabelButton.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* Picture(QWidget* parent, int number, const QString& name) {
  auto* image = new QLabel(parent);
  image->setObjectName(QStringLiteral("Image%1").arg(number));
  image->setPixmap(Artwork::Pixmap(name));
  image->setAlignment(Qt::AlignCenter);
  return image;
}

LabelButton* Link(QWidget* parent, const char* name, const QString& caption, const QString& url) {
  auto* link = new LabelButton(parent);
  link->setObjectName(QLatin1String(name));
  link->SetCaption(caption);
  link->SetLink(url);
  return link;
}
}  // namespace

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About"));
  setWindowFlag(Qt::Tool, true);
  auto* AboutPnl = new QWidget(this);
  AboutPnl->setObjectName(QStringLiteral("AboutPnl"));
  AboutPnl->setAutoFillBackground(true);
  QPalette white = AboutPnl->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, QColor(0x1c, 0x4f, 0x9c));
  AboutPnl->setPalette(white);

  VersionLbl = new QLabel(QStringLiteral("Version ") + TSwerrForm::AppVersionStr, AboutPnl);
  VersionLbl->setObjectName(QStringLiteral("VersionLbl"));
  VersionLbl->setAlignment(Qt::AlignCenter);
  VersionChkLbl = Link(AboutPnl, "VersionChkLbl", QStringLiteral("Check for latest version"),
                       TSwerrForm::VersionUrl);
  const Sponser* sponsor = Sponser::Current();
  if (sponsor && sponsor->HasLink())
    HomeLbl = Link(AboutPnl, "HomeLbl",
                   QStringLiteral("Visit ") + QString(sponsor->Name).replace(QLatin1Char('&'), QStringLiteral("&&")),
                   sponsor->URL);
  else
    HomeLbl = Link(AboutPnl, "HomeLbl", MakerAddresses::HomePage(), MakerAddresses::HomePage());
  CloseBtn = new QPushButton(QStringLiteral("Close"), AboutPnl);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
  CloseBtn->setDefault(true);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* pictures = new QGridLayout;
  // The banner is the first picture; five small ones show what the game offers.
  const char* names[] = {"pieces", "minis", "magnifier", "boxcover", "note"};
  for (int i = 0; i < 5; ++i)
    pictures->addWidget(
        Picture(AboutPnl, i + 2, QStringLiteral("images/about/") + QLatin1String(names[i])), 0, i);
  auto* column = new QVBoxLayout(AboutPnl);
  column->addWidget(Picture(AboutPnl, 1, QStringLiteral("images/banner")));
  column->addWidget(VersionLbl);
  column->addWidget(VersionChkLbl, 0, Qt::AlignHCenter);
  column->addLayout(pictures);
  column->addWidget(HomeLbl, 0, Qt::AlignHCenter);
  column->addStretch();
  column->addWidget(CloseBtn, 0, Qt::AlignHCenter);
  auto* fill = new QVBoxLayout(this);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(AboutPnl);
  resize(426, 371);
}
