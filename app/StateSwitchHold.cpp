#include "StateSwitchHold.h"

StateSwitchHold::StateSwitchHold(std::function<void()> hold, std::function<void()> release, QObject* parent)
    : QObject(parent), hold(std::move(hold)), release(std::move(release)) {
  quiet.setSingleShot(true);
  quiet.setInterval(QuietMillis);
  limit.setSingleShot(true);
  limit.setInterval(LimitMillis);
  connect(&quiet, &QTimer::timeout, this, &StateSwitchHold::QuietTimeOver);
  connect(&limit, &QTimer::timeout, this, &StateSwitchHold::End);
}

// Going with the window: the table goes too, nothing is released.
StateSwitchHold::~StateSwitchHold() = default;

void StateSwitchHold::Begin(std::function<bool()> isReached) {
  reached = std::move(isReached);
  if (!holding) {
    holding = true;
    hold();
  }
  quiet.start();
  limit.start();
}

void StateSwitchHold::Changed() {
  if (holding) quiet.start();
}

void StateSwitchHold::QuietTimeOver() {
  if (!reached || reached()) End();
}

// Runs from the timers or the owner's own calls, never inside a window event: the table's
// resize (and any message it gives) happens outside the switch.
void StateSwitchHold::End() {
  quiet.stop();
  limit.stop();
  if (!holding) return;
  holding = false;
  release();
}
