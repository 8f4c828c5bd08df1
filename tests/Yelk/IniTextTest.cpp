// The INI text reader: a sponsor's file of any size up to its cap reads in one pass, and
// the first value of a key counts, whatever the case of the names.

#include "Yelk/IniText.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(IniTextTest, NamesIgnoreCaseAndTheFirstValueOfAKeyCounts) {
  const IniText ini(QByteArrayLiteral("\xEF\xBB\xBF" "top=0\n"
                                      "[Branding]\n key = first \n; comment=x\nKEY=second\n"
                                      "[other]\nkey=elsewhere\n[ BRANDING ]\nlate=1\nkey=third\n"));
  EXPECT_EQ(ini.ReadString("branding", "Key"), QStringLiteral("first"));
  EXPECT_EQ(ini.ReadString("Other", "key"), QStringLiteral("elsewhere"));
  EXPECT_EQ(ini.ReadInteger("branding", "late", -1), 1);
  EXPECT_EQ(ini.ReadInteger(QString(), "top", -1), 0);
  EXPECT_FALSE(ini.HasKey("branding", "comment"));
  EXPECT_FALSE(ini.HasKey("nowhere", "key"));
  EXPECT_EQ(ini.ReadString("other", "missing", "fallback"), QStringLiteral("fallback"));
}

// 16 MB of distinct keys took hours when each line searched the ones before it.
TEST(IniTextTest, SixteenMegabytesOfKeysReadInOnePass) {
  QByteArray text("[Sponsor]\n");
  for (int i = 0; text.size() < (16 << 20) - 64; ++i) text += "key" + QByteArray::number(i) + "=value " + QByteArray::number(i) + '\n';
  const auto start = std::chrono::steady_clock::now();
  const IniText ini(text);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(ini.ReadString("sponsor", "key0"), QStringLiteral("value 0"));
  EXPECT_EQ(ini.ReadString("sponsor", "key700000"), QStringLiteral("value 700000"));
  // Linear reading takes well under a second; the sanitizer build a few times that.
  EXPECT_LT(took, std::chrono::seconds(10));
}
