#include "ChipGroup.h"

#include "Yelk/TMsgLog.h"

namespace {

ChipGroup* head = nullptr;
int groupCount = 0;
int nextId = 1;

}  // namespace

ChipGroup::ChipGroup() : next_(head), id_(nextId++) {
  head = this;
  ++groupCount;
}

ChipGroup::~ChipGroup() {
  ChipGroup** link = &head;
  while (*link && *link != this) link = &(*link)->next_;
  if (!*link) {
    TMsgLog::Add(QStringLiteral("Chip group not found"));
  } else {
    *link = next_;
    --groupCount;
  }
  if (!head) {
    nextId = 1;
    groupCount = 0;
  }
}

void ChipGroup::DeleteAll() {
  while (head) delete head;
}

ChipGroup* ChipGroup::Find(int id) {
  if (id < 1) return nullptr;
  for (ChipGroup* group = head; group; group = group->next_)
    if (group->id_ == id) return group;
  return nullptr;
}

ChipGroup* ChipGroup::First() { return head; }

int ChipGroup::Count() { return groupCount; }
