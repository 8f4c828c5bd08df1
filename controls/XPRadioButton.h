#pragma once
// A radio button that paints its own XP-style circle and caption.

#include "XPToggle.h"

#include <QRadioButton>

class XPRadioButton : public XPToggle<QRadioButton, true> {
public:
  using XPToggle::XPToggle;
};
