#pragma once
// A box or modal window of ours belongs to its caller alone (an object on the caller's
// stack), never to the window it opens over: that window may be deleted while the box is
// open (the box cover, the magnifier, the help and message log windows delete themselves
// as they close, and Qt deletes a window's children with it). The window below is only
// its transient parent: the window manager keeps the box above it and Qt centres the box
// on it; when that window goes, the link is merely forgotten.

class QWidget;

class OverWindow {
public:
  // Sets window, which has no parent, above the top-level window of over (nothing when
  // over is null or not yet shown).
  static void Place(QWidget* window, const QWidget* over);
};
