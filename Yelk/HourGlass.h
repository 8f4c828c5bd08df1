#pragma once
// The process-wide busy state: a nested count whose first level shows the busy cursor over
// the whole application and swallows mouse, wheel and key input; Esc instead asks the
// abort register to stop the long work. Modal boxes suspend it while they wait.

#include <QObject>

class HourGlass : public QObject {
  Q_OBJECT
public:
  static HourGlass& HG();

  void Set();
  // Leaves one level; at level 0 it is logged and ignored.
  void Reset();
  // Suspend and resume the cursor and the input filter; nested, the count is kept.
  void Disable();
  void Enable();

  int Level() const { return level; }
  bool IsFiltering() const { return filtering; }

  // Keeps one level for its lifetime, also when the work throws.
  class Scope {
  public:
    Scope() { HG().Set(); }
    ~Scope() { HG().Reset(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
  };

signals:
  // The input filter has just been put in front of the application's other filters: one that
  // must see keys before they are swallowed puts itself in front again.
  void FilterInstalled();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  HourGlass() = default;
  void Update();

  int level = 0;
  int disabled = 0;
  bool filtering = false;
};
