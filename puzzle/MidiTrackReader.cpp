#include "MidiTrackReader.h"

#include <limits>

// A variable-length quantity of at most four bytes, all inside the track.
bool MidiTrackReader::ReadQuantity(qint64& value) {
  value = 0;
  for (int i = 0; i < 4 && at_ < end_; ++i) {
    const unsigned char byte = data_[at_++];
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

QString MidiTrackReader::ReadDelta() {
  if (at_ >= end_) return QStringLiteral("a track has no End-of-Track event");
  qint64 delta = 0;
  if (!ReadQuantity(delta) || at_ >= end_) return QStringLiteral("an event runs past its track");
  tick_ += delta;
  // Past this the synthesiser's tick count wraps, and every later event would play at once.
  if (tick_ > std::numeric_limits<qint32>::max()) return QStringLiteral("a track lasts longer than the synthesiser counts");
  return {};
}

// A meta event's or system-exclusive event's length and data, all inside the track.
bool MidiTrackReader::SkipData(Event& event) {
  if (!ReadQuantity(event.length) || event.length > end_ - at_) return false;
  event.dataAt = at_;
  at_ += event.length;
  return true;
}

QString MidiTrackReader::ReadEvent(Event& event) {
  event = Event{};
  int status = data_[at_];
  if (status & 0x80)
    ++at_;
  else if (running_ == 0)
    return QStringLiteral("an event has no status");
  else
    status = running_;
  event.status = status;
  if (status == 0xFF) {
    if (at_ >= end_) return QStringLiteral("a meta event is cut short");
    event.metaType = data_[at_++];
    if (!SkipData(event)) return QStringLiteral("a meta event runs past its track");
    running_ = 0;
    if (event.Ends() && event.length != 0) return QStringLiteral("an End-of-Track event has a length");
  } else if (status == 0xF0 || status == 0xF7) {
    if (!SkipData(event)) return QStringLiteral("a system-exclusive event runs past its track");
    running_ = 0;
  } else if (status > 0xF0) {
    return QStringLiteral("a track holds a system message");
  } else {
    // Program change and channel pressure carry one data byte, the others two.
    const qint64 size = (status & 0xE0) == 0xC0 ? 1 : 2;
    if (size > end_ - at_) return QStringLiteral("a channel event runs past its track");
    at_ += size;
    running_ = status;
  }
  return {};
}
