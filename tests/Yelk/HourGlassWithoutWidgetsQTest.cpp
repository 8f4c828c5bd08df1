// Tools that write puzzle files run without widgets: the busy state must then keep its count
// and leave the cursor and the input alone, without treating the application as a widgets one.
#include "Yelk/HourGlass.h"

#include <QGuiApplication>
#include <QTest>

class HourGlassWithoutWidgetsQTest : public QObject {
  Q_OBJECT

private slots:
  void busyWithoutWidgetsFiltersNothing() {
    {
      HourGlass::Scope busy;
      QCOMPARE(HourGlass::HG().Level(), 1);
      QVERIFY(!HourGlass::HG().IsFiltering());
      QVERIFY(!QGuiApplication::overrideCursor());
    }
    QCOMPARE(HourGlass::HG().Level(), 0);
    QVERIFY(!HourGlass::HG().IsFiltering());
  }
};

QTEST_GUILESS_MAIN(HourGlassWithoutWidgetsQTest)
#include "HourGlassWithoutWidgetsQTest.moc"
