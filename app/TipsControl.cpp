#include "TipsControl.h"

#include "settings/ProgSettings.h"

namespace {
class NoTips : public TipsControl {
public:
  bool TipsEnabled() const override { return Settings()->TipsEnabled; }
  void SetTipsEnabled(bool) override {}
  void ResetTips() override {}
};
}  // namespace

TipsControl& TipsControl::Get() {
  static NoTips none;
  TipsControl* current = Current();
  return current ? *current : none;
}
