#pragma once
// The one place that decides where a key goes. Qt hands a key's press to the window that is
// active when it is pressed and its release to the window active when it is let go; a pop-up,
// dialog or tool window that takes a press and closes on it would leave the release to the
// main window, which acts on some releases (the arrow keys restack and turn pieces). Here a
// release, and a held key's repeats, reach only the window that had its press; any other is
// dropped.

#include <QObject>
#include <QPointer>

#include <map>

class QKeyEvent;

class KeyRouting : public QObject {
  Q_OBJECT
public:
  // Watches every key of the application while it lives.
  explicit KeyRouting(QObject* parent = nullptr);
  ~KeyRouting() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The window an event's receiver lies in; null for a receiver outside any window.
  static QObject* WindowOf(QObject* receiver);
  // An event of a key whose press went to another window (or nowhere) goes no further.
  static bool Drop(QEvent* event, bool wentHere);
  bool IsRepeat(const QKeyEvent& key) const;

  // Per key, the window its last press went to (a shortcut's check comes first and counts).
  std::map<int, QPointer<QObject>> pressedIn_;
  // Per key, the time of its last release.
  std::map<int, quint64> releasedAt_;
};
