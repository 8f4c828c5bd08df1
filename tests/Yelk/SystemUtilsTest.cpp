#include "Yelk/SystemUtils.h"

#include <QLocale>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

TEST(SystemUtilsTest, StringWithCommasGroupsThreeDigitsKeepingTheSign) {
  EXPECT_EQ(StringWithCommas(999), "999");
  EXPECT_EQ(StringWithCommas(1000), "1,000");
  EXPECT_EQ(StringWithCommas(-123456), "-123,456");
  EXPECT_EQ(StringWithCommas(std::numeric_limits<std::int64_t>::min()),
            "-9,223,372,036,854,775,808");
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::German));
  EXPECT_EQ(StringWithCommas(1234567), "1,234,567");
  QLocale::setDefault(previous);
}
