#pragma once
// Plays one step of the storm on the screen as the player's mouse and keyboard would, through
// xdotool, or through the window manager for sizes and window states. Where it lands follows
// from the step's numbers and the game's windows as they are; what it did is told back in a
// line for the storm's log.

#include "StormPlan.h"
#include "StormScreen.h"

#include <QStringList>

#include <functional>
#include <vector>

class StormHands {
public:
  // pause(ms) waits as the storm waits, watching the game meanwhile; deleteSource removes the
  // puzzle file and tells which it was.
  StormHands(StormScreen& screen, std::function<void(int)> pause, std::function<QString()> deleteSource)
      : screen(screen), pause(std::move(pause)), deleteSource(std::move(deleteSource)) {}

  QString Play(const StormEvent& event, const std::vector<GameWindow>& windows);

  // The window a step aims at: usually the main window, else the top one or any one.
  static const GameWindow& Target(const StormEvent& event, int slot, const std::vector<GameWindow>& windows);
  // A point inside the window from two of the step's fractions.
  static QPoint PointIn(const GameWindow& window, const StormEvent& event, int xSlot, int ySlot);
  // Dialogs that browse the file system get keys only, so that nothing is opened or saved
  // outside the storm's own folder.
  static bool KeysOnly(const GameWindow& window);
  // The main window among the game's windows (not empty).
  static const GameWindow& MainWindow(const std::vector<GameWindow>& windows);
  // Runs xdotool with the arguments; false when it failed or took over 10 s.
  static bool Xdo(const QStringList& arguments);

private:
  QString Mouse(const StormEvent& event, const std::vector<GameWindow>& windows);
  QString Drag(const StormEvent& event, const GameWindow& window, bool carry);
  QString Buttons(const StormEvent& event, const std::vector<GameWindow>& windows);
  QString Keys(const StormEvent& event);
  QString Menu(const StormEvent& event);
  QString WindowManager(const StormEvent& event, const std::vector<GameWindow>& windows);
  QString LoadOrSave(const StormEvent& event, const GameWindow& main);
  QString DialogKey(const StormEvent& event);

  StormScreen& screen;
  std::function<void(int)> pause;
  std::function<QString()> deleteSource;
};
