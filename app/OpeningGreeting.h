#pragma once
// What greets a puzzle that has just opened: the welcome page on the game's first run,
// otherwise the first just-in-time tip that fits the situation.

#include <functional>

class ProgSettings;

// What the main window knows about the puzzle and the screen at the moment it opened.
struct OpeningFacts {
  bool animated = false;
  int colourDepth = 32;  // bits per pixel
  bool miniHoldsPieces = false;
  bool controlPanelVisible = true;
  bool completeSavedGame = false;
  int today = 0;  // whole days since 30 December 1899, as "Next check date"
};

namespace OpeningGreeting {
constexpr int WelcomeShown = -1;
constexpr int NothingShown = -2;
constexpr int WelcomeTopic = 1100;

// Tips go through the current tips display. openWelcome opens the welcome page and answers
// whether it opened. Returns the tip shown, WelcomeShown or NothingShown.
int Greet(const OpeningFacts& facts, ProgSettings& settings,
          const std::function<bool()>& openWelcome);
}  // namespace OpeningGreeting
