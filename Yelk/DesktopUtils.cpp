#include "DesktopUtils.h"

#include "EventLoopWatch.h"
#include "Prompt.h"
#include "TMsgLog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QUrl>
#include <QUrlQuery>
#include <QWidget>
#include <QWindow>

int GetColorDepth(const QPaintDevice* device) {
  if (device) return device->depth();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->depth() : 0;
}

void StayOnTop(QWidget* form, bool on) {
  if (!form || form->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  const Qt::WindowFlags flags = form->windowFlags() ^ Qt::WindowStaysOnTopHint;
  QWindow* window = form->windowHandle();
  if (!window) {
    form->setWindowFlags(flags);
    return;
  }
  // QWidget::setWindowFlags would hide and re-create a shown window; tell the existing
  // window instead so that it stays where it is.
  form->overrideWindowFlags(flags);
  window->setFlags(flags);
}

bool MessagesAreQueued(bool /*inputOnly*/) { return EventLoopWatch::LoopIsOverdue(); }

namespace {
QUrl WithReferrer(QUrl url, bool addReferrer, const QString& linkParm) {
  if (!addReferrer && linkParm.isEmpty()) return url;
  QUrlQuery query(url);
  if (addReferrer) {
    const QString program = QCoreApplication::applicationName() + QLatin1Char(' ') +
                            QCoreApplication::applicationVersion();
    query.addQueryItem(QStringLiteral("referrer"), program.trimmed());
  }
  if (!linkParm.isEmpty()) query.addQueryItem(QStringLiteral("link"), linkParm);
  url.setQuery(query);
  return url;
}

// A full address as it is; a bare one such as "www.example.org" becomes a web address.
QUrl ParseAddress(const QString& address) {
  QUrl url(address);
  if (url.isValid() && !url.scheme().isEmpty()) return url;
  if (address.contains(QStringLiteral("://"))) return QUrl();
  return QUrl::fromUserInput(address);
}

bool OpenOne(const QString& address, bool addReferrer, const QString& linkParm) {
  const QUrl url = ParseAddress(address.trimmed());
  if (!url.isValid()) return false;
  return QDesktopServices::openUrl(WithReferrer(url, addReferrer, linkParm));
}
}  // namespace

bool OpenURL(const QString& url, bool addReferrer, const QString& linkParm,
             const QString& fallbackUrl) {
  if (OpenOne(url, addReferrer, linkParm)) return true;
  if (!fallbackUrl.isEmpty() && OpenOne(fallbackUrl, addReferrer, linkParm)) return true;
  TMsgLog::Add(QStringLiteral("OpenURL - could not open ") + url);
  Prompt::ShowApp(QStringLiteral("The web page could not be opened:\n") + url +
                      QStringLiteral("\n\nPlease check that a web browser is installed."),
                  Prompt::Stop);
  return false;
}
