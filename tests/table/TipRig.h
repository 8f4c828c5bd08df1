#pragma once
// A tips manager's surroundings for tests: a clock the test sets, the tip settings, a store
// in memory, a beat the test gives by hand, and a help window that records what it opened.

#include "table/JITTManager.h"

#include <QStringList>
#include <map>
#include <memory>
#include <set>

struct TipRig {
  std::int64_t now = 0;
  JITTOptions options;
  std::map<QString, QByteArray> values;
  int writes = 0;
  bool ticking = false;
  int stops = 0;
  std::set<int> helpTopics{120, 710, 720, 730};
  QStringList helpOpened;

  // With registry set, the lists go to the program's settings file instead of memory.
  JITTServices Services(bool registry = false);
  std::unique_ptr<JITTManager> Make(JITTView* view = nullptr, bool registry = false) {
    return std::make_unique<JITTManager>(Services(registry), view);
  }
  // Beats until the slide ends; the number of beats given.
  static int SlideToEnd(JITTManager& manager, int limit = 100);
};
