#pragma once
// The seeded stream of what a player does: each step an act with its random numbers and the
// pause after it, drawn from the seed alone, so that a seed always gives the same steps. Where
// a step lands (which window, which point) is settled when it is played, from the numbers.

#include <QString>

#include <array>
#include <cstdint>
#include <random>

enum class Act {
  Click,         // left button at a point of a window
  DoubleClick,
  RightClick,    // the table's menu, or whatever lies there
  MiddleClick,   // captures or releases pieces
  Drag,          // left button down, a few moves with the wheel turned on the way, up
  Carry,         // picked up with a click, carried with the wheel turned, laid down
  Wheel,
  Key,           // one key or chord
  KeyBurst,      // two to four keys without a pause
  Buttons,       // one or two clicks in the strip of buttons along a window's bottom
  Menu,          // a main-menu title, a few steps down, then Enter or Esc
  Note,          // the note window through the Actions menu
  Resize,        // the main window to another size
  StateBurst,    // maximise and full-screen switches without a pause
  LoadCancel,    // the open dialog, Enter, then Esc while the puzzle loads
  Save,          // Ctrl+S, then Enter for a save dialog's proposed name
  CloseWindow,   // the window manager's close on a window of the game
  DeleteSource,  // the puzzle file the game was started on goes away
};

struct StormEvent {
  Act act = Act::Click;
  std::array<std::uint32_t, 5> r{};  // the numbers that say where and which
  int pauseMs = 0;                   // before the next step

  // r[i] as a fraction in [0, 1).
  double Fraction(int i) const { return r[i] / 4294967296.0; }
  // r[i] as a choice among n (n > 0).
  int Pick(int i, int n) const { return int(r[i] % std::uint32_t(n)); }
};

class StormPlan {
public:
  explicit StormPlan(std::uint64_t seed) : random(seed) {}
  StormEvent Next();

  // The keys and chords a step may press, in xdotool's names.
  static const std::array<const char*, 40>& Keys();
  static QString Name(Act act);

private:
  std::uint32_t Draw() { return std::uint32_t(random() >> 32); }
  std::mt19937_64 random;  // its sequence is fixed by the standard: seeds replay anywhere
};
