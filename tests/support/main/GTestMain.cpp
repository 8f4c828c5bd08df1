// The main of every GoogleTest program: headless, private settings, no modal boxes.

#include "TestEnvironment.h"
#include "Yelk/Prompt.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  TestEnvironment::Prepare();
  QApplication app(argc, argv);
  Prompt::Double prompts;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
