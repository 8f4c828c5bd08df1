#pragma once
// The control panel's snap indicator: the green LED the piece selection lights and flashes.

#include "controls/SmallLed.h"
#include "table/SnapIndicator.h"

class SnapLed : public SmallLed, public SnapIndicator {
  Q_OBJECT
public:
  explicit SnapLed(QWidget* parent) : SmallLed(parent, lcGreen) {}
  void SetLit(bool lit) override { SmallLed::SetLit(lit); }
  void SetFlash(bool flash) override { SmallLed::SetFlash(flash); }
};
