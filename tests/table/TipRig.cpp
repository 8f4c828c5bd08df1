#include "TipRig.h"

namespace {

class MemoryStore : public JITTStore {
public:
  explicit MemoryStore(TipRig& rig) : rig(rig) {}
  QByteArray Read(const QString& name) override {
    auto it = rig.values.find(name);
    return it == rig.values.end() ? QByteArray() : it->second;
  }
  void Write(const QString& name, const QByteArray& ids) override {
    rig.values[name] = ids;
    ++rig.writes;
  }

private:
  TipRig& rig;
};

class HandTicks : public JITTTicks {
public:
  explicit HandTicks(TipRig& rig) : rig(rig) {}
  void SetActive(bool on) override { rig.ticking = on; }
  bool IsActive() const override { return rig.ticking; }
  void Stop() override {
    rig.ticking = false;
    ++rig.stops;
  }

private:
  TipRig& rig;
};

class RecordingHelp : public JITTHelp {
public:
  explicit RecordingHelp(TipRig& rig) : rig(rig) {}
  bool ShowContext(int context) override {
    if (!rig.helpTopics.count(context)) return false;
    rig.helpOpened << QString::number(context);
    return true;
  }
  bool ShowTopic(const QString& topic) override {
    rig.helpOpened << topic;
    return true;
  }

private:
  TipRig& rig;
};

}  // namespace

JITTServices TipRig::Services(bool registry) {
  JITTServices services;
  services.now = [this] { return now; };
  services.options = [this] { return options; };
  if (registry)
    services.store = std::move(JITTServices::ForProgram().store);
  else
    services.store = std::make_unique<MemoryStore>(*this);
  services.ticks = std::make_unique<HandTicks>(*this);
  services.help = std::make_unique<RecordingHelp>(*this);
  return services;
}

int TipRig::SlideToEnd(JITTManager& manager, int limit) {
  int beats = 0;
  while (manager.Sliding() && beats < limit) {
    manager.SlideStep();
    ++beats;
  }
  return beats;
}
