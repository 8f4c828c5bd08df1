#pragma once
// A check box that paints its own XP-style box and caption.

#include "XPToggle.h"

#include <QCheckBox>

class XPCheckBox : public XPToggle<QCheckBox, false> {
public:
  using XPToggle::XPToggle;
};
