#include "HelpWindow.h"

#include "HelpDocument.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow* HelpWindow::Instance() {
  static QPointer<HelpWindow> window;
  if (!window) window = new HelpWindow;
  return window;
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  const QString app = QGuiApplication::applicationDisplayName();
  setWindowTitle(app.isEmpty() ? tr("Help") : app + tr(" Help"));
  resize(560, 620);
  browser = new QTextBrowser(this);
  browser->setOpenExternalLinks(true);
  browser->setHtml(HelpDocument::Bundled().Html());
  auto* contents = new QPushButton(tr("&Contents"), this);
  auto* back = new QPushButton(tr("&Back"), this);
  auto* forward = new QPushButton(tr("&Forward"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, [this] { ShowTopic("Contents"); });
  connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
  connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser);
}

void HelpWindow::ShowTopic(const QString& topic) {
  browser->scrollToAnchor(topic);
  show();
  raise();
  activateWindow();
}
