// The tips manager's services in the running program.

#include "table/JITTServices.h"

#include "Yelk/ERegistry.h"
#include "platform/HelpViewer.h"
#include "settings/ProgSettings.h"
#include "table/JITTSlideTicks.h"

#include <chrono>

namespace {

// The two lists as binary values under the game's own key.
class RegistryStore : public JITTStore {
public:
  QByteArray Read(const QString& name) override { return ERegistry().ReadBinary(QString(), name); }
  void Write(const QString& name, const QByteArray& ids) override {
    ERegistry registry;
    if (registry.WriteBinary(QString(), name, ids)) registry.Flush();
  }
};

class HelpWindowHelp : public JITTHelp {
public:
  bool ShowContext(int context) override { return HelpViewer::ShowContext(context); }
  bool ShowTopic(const QString& topic) override { return HelpViewer::ShowTopic(topic); }
};

}  // namespace

JITTServices JITTServices::ForProgram() {
  JITTServices services;
  services.now = [] {
    using namespace std::chrono;
    return std::int64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  };
  services.options = [] {
    const ProgSettings& settings = *Settings();
    return JITTOptions{settings.AdvancedTipsOnly, settings.OneTipOnly, settings.AutoDismissTips};
  };
  services.store = std::make_unique<RegistryStore>();
  services.ticks = std::make_unique<JITTSlideTicks>();
  services.help = std::make_unique<HelpWindowHelp>();
  return services;
}
