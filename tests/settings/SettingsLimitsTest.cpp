// The ends of the stored values' ranges, each kept when just inside and replaced by its
// default when just outside, and the spellings of a stored boolean.

#include "Yelk/ERegistry.h"
#include "TestEnvironment.h"
#include "settings/ProgSettings.h"

#include <gtest/gtest.h>

namespace {

// The settings as loaded from a store holding only line.
void LoadFrom(const QByteArray& line, ProgSettings& settings) {
  ASSERT_TRUE(TestEnvironment::WriteFile(ERegistry::FilePath(ERegistry::CurrentUser), "[General]\n" + line + "\n"));
  ASSERT_TRUE(settings.Load(QString()));
}

}  // namespace

TEST(SettingsLimits, EachRangeKeepsItsEndsAndRefusesJustPastThem) {
  const struct {
    const char* line;
    int ProgSettings::*field;
    int expected;
  } cases[] = {
      {"Snap%20distance=0", &ProgSettings::SnapDistance, 5},
      {"Snap%20distance=1", &ProgSettings::SnapDistance, 1},
      {"Snap%20distance=25", &ProgSettings::SnapDistance, 25},
      {"Snap%20distance=26", &ProgSettings::SnapDistance, 5},
      {"Max%20table%20percentage=9", &ProgSettings::MaxTablePercentage, 55},
      {"Max%20table%20percentage=10", &ProgSettings::MaxTablePercentage, 10},
      {"Max%20table%20percentage=90", &ProgSettings::MaxTablePercentage, 90},
      {"Max%20table%20percentage=91", &ProgSettings::MaxTablePercentage, 55},
      {"Puzzle%20piece%20size=13", &ProgSettings::PuzzlePieceSize, 13},
      {"Full%20screen%20size=2", &ProgSettings::FullScreenSize, 2},
  };
  for (const auto& c : cases) {
    ProgSettings settings;
    LoadFrom(c.line, settings);
    EXPECT_EQ(settings.*c.field, c.expected) << c.line;
  }
}

TEST(SettingsLimits, AStoredBooleanReadsAsWrittenInEitherSpelling) {
  for (const char* text : {"1", "true", "True", " 1 "}) {
    ProgSettings settings;
    LoadFrom(QByteArray("Upside%20right=") + text, settings);
    EXPECT_TRUE(settings.UpsideRight) << text;
    LoadFrom(QByteArray("Isolate%20edges=") + text, settings);
    EXPECT_TRUE(settings.IsolateEdges) << text;
  }
}
