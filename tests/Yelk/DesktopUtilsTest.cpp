#include "Yelk/DesktopUtils.h"
#include "Yelk/EventLoopWatch.h"
#include "Yelk/Prompt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

TEST(DesktopUtilsTest, MessagesCountAsQueuedOnceTheLoopHasWaited50ms) {
  qint64 now = 1000;
  EventLoopWatch::SetClock([&now] { return now; });
  QCoreApplication::processEvents();
  MessagesAreQueued(false);  // starts watching
  QCoreApplication::processEvents();
  now += 49;
  EXPECT_FALSE(MessagesAreQueued(true));
  now += 1;
  EXPECT_TRUE(MessagesAreQueued(true));
  EXPECT_TRUE(MessagesAreQueued(false));
  // Processing the queue counts as the loop running.
  QCoreApplication::processEvents();
  EXPECT_FALSE(MessagesAreQueued(true));
  EventLoopWatch::SetClock({});
}

TEST(DesktopUtilsTest, StayOnTopKeepsTheFormInPlace) {
  QWidget form;
  form.setGeometry(120, 80, 300, 200);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QRect before = form.geometry();
  StayOnTop(&form, true);
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.geometry(), before);
  StayOnTop(&form, false);
  EXPECT_FALSE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(form.isVisible());
}

namespace {
class BrowserDouble : public QObject {
  Q_OBJECT
public:
  BrowserDouble() {
    for (const char* scheme : {"http", "https"})
      QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~BrowserDouble() override {
    for (const char* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
  }
  QList<QUrl> opened;

public slots:
  void Open(const QUrl& url) { opened.append(url); }
};
}  // namespace

TEST(DesktopUtilsTest, OpenUrlAddsTheReferrerOnlyWhenAsked) {
  BrowserDouble browser;
  Prompt::Double prompts;
  EXPECT_TRUE(OpenURL("https://example.org/page.html?x=1"));
  EXPECT_TRUE(OpenURL("https://example.org/dl.html", true, "about", ""));
  EXPECT_TRUE(OpenURL("www.example.org", false, "", ""));
  ASSERT_EQ(browser.opened.size(), 3);
  EXPECT_EQ(browser.opened[0], QUrl("https://example.org/page.html?x=1"));
  EXPECT_TRUE(QUrlQuery(browser.opened[1]).hasQueryItem("referrer"));
  EXPECT_EQ(QUrlQuery(browser.opened[1]).queryItemValue("link"), "about");
  EXPECT_EQ(browser.opened[2].host(), "www.example.org");
  EXPECT_TRUE(prompts.Shown().isEmpty());
}

TEST(DesktopUtilsTest, OpenUrlTriesTheFallbackThenTellsThePlayer) {
  BrowserDouble browser;
  Prompt::Double prompts;
  EXPECT_TRUE(OpenURL("http://[broken", false, "", "https://example.org/"));
  ASSERT_EQ(browser.opened.size(), 1);
  EXPECT_EQ(browser.opened[0], QUrl("https://example.org/"));
  EXPECT_TRUE(prompts.Shown().isEmpty());

  EXPECT_FALSE(OpenURL("http://[broken", false, "", ""));
  EXPECT_FALSE(OpenURL("", false, "", ""));
  ASSERT_EQ(prompts.Shown().size(), 2);
  EXPECT_TRUE(prompts.Shown()[0].text.contains("http://[broken"));
  EXPECT_EQ(browser.opened.size(), 1);
}

#include "DesktopUtilsTest.moc"
