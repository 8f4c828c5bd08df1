// The main window under a real X server and window manager: maximise, restore, full screen
// and the sizes the window manager may give.

#include "QtTestMain.h"
#include "TMainForm.h"

#include "settings/ProgSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

class MainWindowRealXQTest : public QObject {
  Q_OBJECT
private slots:
  // The first start is maximised: the window manager gives it the whole work area.
  void startsMaximisedOverTheWorkArea() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Settings()->Maximized = true;
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect area = form.screen()->availableGeometry();
    QTRY_VERIFY(form.isMaximized());
    QTRY_VERIFY2(form.frameGeometry().width() >= area.width() - 2,
                 qPrintable(QStringLiteral("%1 of %2").arg(form.frameGeometry().width()).arg(area.width())));
    form.close();
  }
};

TV_QTEST_MAIN(MainWindowRealXQTest)
#include "MainWindowRealXQTest.moc"
