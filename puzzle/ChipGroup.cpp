#include "ChipGroup.h"

#include "CentreFractions.h"
#include "ChipRecord.h"
#include "Yelk/TMsgLog.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

ChipGroup* head = nullptr;
int groupCount = 0;
int nextId = 1;

// The smallest id no group holds.
int SmallestUnusedId() {
  std::vector<bool> used(ChipGroup::MaxId + 1);
  for (ChipGroup* group = head; group; group = group->Next()) used[std::size_t(group->Id())] = true;
  int id = 1;
  while (id <= ChipGroup::MaxId && used[std::size_t(id)]) ++id;
  return std::min(id, ChipGroup::MaxId);
}

int Rounded(double value) { return int(std::trunc(value + 0.5)); }

}  // namespace

ChipGroup::ChipGroup() : id_(TakeId()) { Link(); }

ChipGroup::ChipGroup(const ChipGroupRecord& record, int tableWidth, int tableHeight)
    : centreX_(record.centreX), centreY_(record.centreY), id_(record.id) {
  // A centre read from a file that is no fraction of the table is taken as the middle, so
  // the group lands on the table and the next save writes a sound value.
  double cx = record.centreX, cy = record.centreY;
  MendCentreFractions(cx, cy);
  centreX_ = float(cx);
  centreY_ = float(cy);
  if (id_ < 1) id_ = TakeId();
  // A u16 id never passes the top, so the next id stays within it too.
  nextId = std::max(nextId, id_ + 1);
  const int w = record.width, h = record.height;
  left_ = std::min(std::max(Rounded(tableWidth * double(centreX_) - w * 0.5), 1), tableWidth - w);
  top_ = std::min(std::max(Rounded(tableHeight * double(centreY_) - h * 0.5), 1), tableHeight - h);
  right_ = left_ + w - 1;
  bottom_ = top_ + h - 1;
  Link();
}

int ChipGroup::TakeId() {
  if (nextId > MaxId) return SmallestUnusedId();
  return nextId++;
}

void ChipGroup::Link() {
  next_ = head;
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

QSize ChipGroup::MaxExtent() {
  QSize extent(0, 0);
  for (ChipGroup* g = head; g; g = g->next_)
    extent = extent.expandedTo(QSize(g->right_ - g->left_ + 1, g->bottom_ - g->top_ + 1));
  return extent;
}

void ChipGroup::SetBounds(int tableWidth, int tableHeight, bool storeCentre, int left, int top,
                          int right, int bottom) {
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
  if (!storeCentre || tableWidth < 1 || tableHeight < 1) return;
  centreX_ = float((left + (right - left + 1) * 0.5) / tableWidth);
  centreY_ = float((top + (bottom - top + 1) * 0.5) / tableHeight);
}

void ChipGroup::WriteRecord(QIODevice& stream) const {
  ChipGroupRecord record;
  record.centreX = centreX_;
  record.centreY = centreY_;
  record.width = std::uint16_t(right_ - left_ + 1);
  record.height = std::uint16_t(bottom_ - top_ + 1);
  record.id = std::uint16_t(id_);
  WriteRecordBytes(stream, ChipGroupRecord::Type, record.Bytes());
}

void ChipGroup::WriteAllRecords(QIODevice& stream) {
  for (ChipGroup* g = head; g; g = g->next_) g->WriteRecord(stream);
}
