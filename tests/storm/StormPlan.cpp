#include "StormPlan.h"

#include <utility>

namespace {
// How often each act comes, out of the sum: mostly the table, keys and the windows on it.
constexpr std::pair<Act, int> Weights[] = {
    {Act::Click, 16},     {Act::DoubleClick, 3}, {Act::RightClick, 4},  {Act::MiddleClick, 4},
    {Act::Drag, 10},      {Act::Carry, 6},       {Act::Wheel, 4},       {Act::Key, 18},
    {Act::KeyBurst, 6},   {Act::Buttons, 12},     {Act::Menu, 5},        {Act::Note, 3},
    {Act::Resize, 2},     {Act::StateBurst, 2},  {Act::LoadCancel, 2},  {Act::Save, 3},
    {Act::CloseWindow, 3}, {Act::DeleteSource, 1},
};

constexpr int TotalWeight() {
  int total = 0;
  for (const auto& [act, weight] : Weights) total += weight;
  return total;
}
}  // namespace

StormEvent StormPlan::Next() {
  StormEvent event;
  // Every step draws the same count of numbers, whatever it turns out to be.
  int ticket = int(Draw() % TotalWeight());
  for (const auto& [act, weight] : Weights) {
    if (ticket < weight) {
      event.act = act;
      break;
    }
    ticket -= weight;
  }
  for (std::uint32_t& r : event.r) r = Draw();
  // A third of the steps follow at once: the game meets input it has not handled yet.
  const std::uint32_t pause = Draw();
  const int band = int(pause % 100);
  event.pauseMs = band < 35 ? 0 : band < 80 ? 30 + int((pause >> 8) % 270) : 300 + int((pause >> 8) % 900);
  return event;
}

// F9 (the box cover) twice: the cover's buttons and the windows it opens are met often.
const std::array<const char*, 40>& StormPlan::Keys() {
  static const std::array<const char*, 40> keys = {
      "Left",   "Right",  "Up",     "Down",   "F2",          "F3",           "F4",          "F5",
      "F6",     "F7",     "F8",     "F9",     "F10",         "F11",          "F12",         "Escape",
      "Return", "ctrl+s", "ctrl+o", "ctrl+b", "ctrl+m",      "ctrl+p",       "Prior",       "Next",
      "Home",   "End",    "Tab",    "space",  "F1",          "ctrl+F1",      "shift+Tab",   "alt+y",
      "alt+n",  "y",      "n",      "Delete", "ctrl+shift+m", "ctrl+shift+e", "F9",         "Return"};
  return keys;
}

QString StormPlan::Name(Act act) {
  static const char* const names[] = {"click",  "double-click", "right-click", "middle-click", "drag",
                                      "carry",  "wheel",        "key",         "keys",         "buttons",
                                      "menu",   "note",         "resize",      "state burst",  "load and Esc",
                                      "save",   "close window", "delete source"};
  return QString::fromLatin1(names[int(act)]);
}
