#include "Yelk/Inline.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

// Without an X display Caps Lock is followed from its key presses. A press passes through
// the window and every widget that lets it through; it must toggle once.
TEST(InlineTest, CapsLockTogglesOncePerPressThroughNestedWidgets) {
  if (QGuiApplication::platformName() != "offscreen") GTEST_SKIP() << "reads the real keyboard";
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* inner = new QWidget(&form);
  layout->addWidget(inner);
  auto* edit = new QLineEdit(inner);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  edit->setFocus();

  const bool before = KeyIsToggled(VK_CAPITAL);
  QTest::keyClick(form.windowHandle(), Qt::Key_CapsLock);
  EXPECT_EQ(KeyIsToggled(VK_CAPITAL), !before);
  QTest::keyClick(form.windowHandle(), Qt::Key_CapsLock);
  EXPECT_EQ(KeyIsToggled(VK_CAPITAL), before);
  EXPECT_FALSE(KeyIsToggled(VK_SHIFT));
}
