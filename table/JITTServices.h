#pragma once
// What the tips manager takes from around it, so that its rules run in tests without a
// window, a timer thread, the settings file or the wall clock.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class JITTManager;

// The tip settings, read each time a tip is offered.
struct JITTOptions {
  bool advancedOnly = false;
  bool oneTipOnly = false;
  bool autoDismiss = true;
};

// Where the two lists of tip ids are kept between runs.
class JITTStore {
public:
  virtual ~JITTStore() = default;
  // Empty when the value is missing or not binary.
  virtual QByteArray Read(const QString& name) = 0;
  virtual void Write(const QString& name, const QByteArray& ids) = 0;
};

// The beat that moves the bar while it slides; each beat calls SlideStep on the main thread.
class JITTTicks {
public:
  virtual ~JITTTicks() = default;
  virtual void SetActive(bool on) = 0;
  virtual bool IsActive() const = 0;
  // No beat runs or is pending once this returns.
  virtual void Stop() {}
};

// The help window, by topic.
class JITTHelp {
public:
  virtual ~JITTHelp() = default;
  // False, and nothing opens, when the help has no such topic.
  virtual bool ShowContext(int context) = 0;
  virtual bool ShowTopic(const QString& topic) = 0;
};

// What shows the manager's state: the tip bar.
class JITTView {
public:
  virtual ~JITTView() = default;
  // The manager the view shows, null when it goes.
  virtual void Attach(JITTManager* manager) = 0;
  // Text, buttons or place changed.
  virtual void Refresh() = 0;
  // Starts or stops the dismiss timer; its end calls JITTManager::DismissTimerTimer.
  virtual void SetDismissTimer(bool running) = 0;
};

struct JITTServices {
  // Monotonic milliseconds.
  std::function<std::int64_t()> now;
  std::function<JITTOptions()> options;
  std::unique_ptr<JITTStore> store;
  std::unique_ptr<JITTTicks> ticks;
  std::unique_ptr<JITTHelp> help;

  // The program's own: the steady clock, the settings, the settings file, the shared frame
  // timer with its stepper thread, and the help window.
  static JITTServices ForProgram();
};
