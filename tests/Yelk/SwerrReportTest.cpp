#include "Yelk/GameApplication.h"
#include "Yelk/Prompt.h"
#include "Yelk/SystemReport.h"
#include "Yelk/TExcMagic.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/TSwerrForm.h"

#include <gtest/gtest.h>
#include <stdexcept>

// Not inlined and not in an unnamed namespace, so that each has a named frame of its own.
[[gnu::noinline]] void ReportDieFailure() { TSwerrForm::GenSwerr(nullptr, "Die Failure.  80"); }

[[gnu::noinline]] void ThrowFromDeepInside() { throw std::runtime_error("bad piece index"); }

[[gnu::noinline]] bool WorkThatThrows() {
  ThrowFromDeepInside();
  return true;
}

namespace {
struct StackRecording {
  StackRecording() {
    TExcMagic::ClearRecorded();
    Excmagic::ExceptionHook->SetEnabled(true);
  }
  ~StackRecording() { Excmagic::ExceptionHook->SetEnabled(false); }
};
}  // namespace

TEST(SwerrReportTest, GenSwerrShowsMessageSystemCallStackAndLog) {
  Prompt::Double prompts;
  TMsgLog::Add("before the fault");
  ReportDieFailure();
  ASSERT_EQ(prompts.Shown().size(), 1);
  const Prompt::Record& shown = prompts.Shown().first();
  EXPECT_EQ(shown.icon, Prompt::Stop);
  EXPECT_TRUE(shown.text.contains("Die Failure.  80"));
  EXPECT_TRUE(shown.text.contains("Resources: not reported"));
  EXPECT_TRUE(shown.text.contains("before the fault"));
  const QString stack = shown.text.section("Call stack:\n", 1).section("\n\n", 0, 0);
  EXPECT_TRUE(stack.contains("ReportDieFailure")) << stack.toStdString();
  EXPECT_LE(stack.count('\n') + 1, TExcMagic::MaxFrames);
  EXPECT_TRUE(TMsgLog::Lines().last().endsWith("Software error: Die Failure.  80"));
}

TEST(SwerrReportTest, StackIsRecordedAtTheThrowOnlyWhileEnabled) {
  TExcMagic::ClearRecorded();
  try {
    ThrowFromDeepInside();
  } catch (const std::exception& e) {
    EXPECT_TRUE(TExcMagic::StackOf(&e).isEmpty());
  }

  StackRecording on;
  try {
    ThrowFromDeepInside();
  } catch (const std::exception& e) {
    const QStringList stack = TExcMagic::StackOf(&e);
    ASSERT_FALSE(stack.isEmpty());
    EXPECT_TRUE(stack.first().contains("ThrowFromDeepInside")) << stack.first().toStdString();
    EXPECT_LE(stack.size(), TExcMagic::MaxFrames);
  }
}

// What the application object does with an exception that escapes an event handler.
TEST(SwerrReportTest, EscapedExceptionReachesTheHandlerWithItsStack) {
  StackRecording on;
  QString message;
  QStringList stack;
  GameApplication::SetExceptionHandler([&](const QString& m, const QStringList& s) {
    message = m;
    stack = s;
  });
  EXPECT_FALSE(GameApplication::Guarded(WorkThatThrows));
  EXPECT_EQ(message, "bad piece index");
  EXPECT_TRUE(stack.join('\n').contains("WorkThatThrows")) << stack.join('\n').toStdString();

  EXPECT_FALSE(GameApplication::Guarded([]() -> bool { throw 42; }));
  EXPECT_EQ(message, "Unknown exception");
  GameApplication::SetExceptionHandler({});

  // The default shows the message, then the report.
  Prompt::Double prompts;
  GameApplication::Guarded(WorkThatThrows);
  ASSERT_EQ(prompts.Shown().size(), 2);
  EXPECT_EQ(prompts.Shown()[0].text, "bad piece index");
  EXPECT_TRUE(prompts.Shown()[1].text.contains("WorkThatThrows"));
}

TEST(SwerrReportTest, SystemLinesKeepTheirOrderAndSurviveOddKernelFiles) {
  QStringList lines;
  TSwerrForm::GetSystemInfo(lines, "extra");
  ASSERT_EQ(lines.size(), 12);
  EXPECT_TRUE(lines[0].startsWith("User: "));
  EXPECT_TRUE(lines[1].startsWith("Up time: "));
  EXPECT_EQ(lines[2], "Resources: not reported");
  EXPECT_TRUE(lines[10].startsWith("Memory: "));
  EXPECT_EQ(lines[11], "extra");

  EXPECT_EQ(SystemReport::UpTimeText("93784.52 1000.0\n"), "Up time: 1 days, 02:03:04");
  for (const char* odd : {"", "abc", "-5 1", "nan", "1e300"})
    EXPECT_EQ(SystemReport::UpTimeText(odd), "Up time: not reported") << odd;
  EXPECT_EQ(SystemReport::MemoryText("MemTotal:  2097152 kB\nMemAvailable: 1048576 kB\n"),
            "Memory: 2,048 MB total, 1,024 MB available");
  EXPECT_EQ(SystemReport::MemoryText("MemTotal: lots\n"), "Memory: not reported");
  EXPECT_EQ(SystemReport::MemoryText(QByteArray("\0\xff", 2)), "Memory: not reported");
}
