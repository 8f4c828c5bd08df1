#include "MidiDensity.h"

#include <algorithm>

namespace {
const char* const Names[] = {"notes", "controller messages", "system-exclusive messages", "resets"};
constexpr int MomentBounds[] = {MidiDensity::MomentNotes, 0, MidiDensity::MomentExclusives, MidiDensity::MomentResets};
constexpr int SecondBounds[] = {MidiDensity::SecondNotes, MidiDensity::SecondControls, MidiDensity::SecondExclusives,
                                MidiDensity::SecondResets};
}  // namespace

// The moments between the last one and this one leave the second behind them.
void MidiDensity::MoveTo(qint64 moment) {
  const qint64 steps = moment_ < 0 ? MomentsPerSecond : std::min<qint64>(moment - moment_, MomentsPerSecond);
  for (qint64 step = 1; step <= steps; ++step) {
    Counts& gone = recent_[std::size_t((moment_ + step) % MomentsPerSecond)];
    for (int kind = 0; kind < Kinds; ++kind) second_[kind] -= gone[kind];
    gone = {};
  }
  moment_ = moment;
  now_ = {};
  controls_ = {};
}

bool MidiDensity::Count(Kind kind, int channel) {
  ++now_[kind];
  ++recent_[std::size_t(moment_ % MomentsPerSecond)][kind];
  ++second_[kind];
  if (kind == Control && ++controls_[std::size_t(channel & 15)] > MomentControlsPerChannel) {
    problem_ = QStringLiteral("it sends more than %1 controller messages to one channel at one moment")
                   .arg(MomentControlsPerChannel);
  } else if (kind != Control && now_[kind] > MomentBounds[kind]) {
    problem_ = QStringLiteral("it holds more than %1 %2 at one moment").arg(MomentBounds[kind]).arg(QLatin1String(Names[kind]));
  } else if (second_[kind] > SecondBounds[kind]) {
    problem_ = QStringLiteral("it holds more than %1 %2 in one second").arg(SecondBounds[kind]).arg(QLatin1String(Names[kind]));
  }
  return problem_.isEmpty();
}

bool MidiDensity::Add(qint64 micros, Kind kind, int channel) {
  if (!problem_.isEmpty()) return false;
  const qint64 moment = std::max<qint64>(micros, 0) / MomentMicroseconds;
  if (moment != moment_) MoveTo(moment);
  if (kind == Reset && !Count(Exclusive, channel)) return false;
  return Count(kind, channel);
}
