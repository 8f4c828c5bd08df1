#pragma once
// One MIDI track's events, read one at a time with running status, each checked to lie inside
// its track chunk. The tick of each event counts from the track's start, as the synthesiser
// counts it: in 32 bits.

#include <QString>
#include <QtGlobal>

class MidiTrackReader {
public:
  struct Event {
    int status = 0;     // with the running status applied
    int metaType = -1;  // of a meta event (status 0xFF)
    qint64 dataAt = 0;  // the data of a meta or system-exclusive event, after its length
    qint64 length = 0;
    bool Ends() const { return metaType == 0x2F; }
  };

  // The track's data lies in [begin, end) of data.
  MidiTrackReader(const unsigned char* data, qint64 begin, qint64 end) : data_(data), at_(begin), end_(end) {}

  // Reads the next event's delta time; empty, or what is wrong.
  QString ReadDelta();
  qint64 Tick() const { return tick_; }
  // Reads the event whose delta time was read last; empty, or what is wrong.
  QString ReadEvent(Event& event);

private:
  bool ReadQuantity(qint64& value);
  bool SkipData(Event& event);

  const unsigned char* data_;
  qint64 at_, end_;
  qint64 tick_ = 0;
  int running_ = 0;  // the running status, 0 for none
};
