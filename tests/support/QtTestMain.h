#pragma once
// The main of a Qt Test program: headless, private settings, no modal boxes.

#include "TestEnvironment.h"
#include "Yelk/Prompt.h"

#include <QApplication>
#include <QTest>

#define TV_QTEST_MAIN(TestObject)             \
  int main(int argc, char** argv) {           \
    TestEnvironment::Prepare();               \
    QApplication app(argc, argv);             \
    Prompt::Double prompts;                   \
    TestObject test;                          \
    return QTest::qExec(&test, argc, argv);   \
  }
