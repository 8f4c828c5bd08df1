#pragma once
// Every tip the game knows, by id. Ids are what the stored lists hold, so tips that nothing
// shows any more keep their place.

#include "table/JITT.h"

#include <memory>
#include <vector>

class JITTCatalogue {
public:
  JITTCatalogue();
  JITTCatalogue(const JITTCatalogue&) = delete;
  JITTCatalogue& operator=(const JITTCatalogue&) = delete;

  // Null when there is no tip with that id.
  JITT* FindTip(int id) const;
  void MakeAllAvailable();
  int Count() const { return int(tips.size()); }
  const JITT& At(int index) const { return *tips[size_t(index)]; }

private:
  void Add(int id, const char* text, unsigned flags, int helpContext);
  void SetPrerequisite(int tip, int prerequisite);

  std::vector<std::unique_ptr<JITT>> tips;
};
