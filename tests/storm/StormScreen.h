#pragma once
// The storm's own connection to the X server: the game's windows where they lie, the window
// manager's switches (size, maximise, full screen, close), and the heartbeat — the window
// manager's _NET_WM_PING, which Qt answers from the game's main thread while it handles events.

#include <QRect>
#include <QString>

#include <cstdint>
#include <sys/types.h>
#include <vector>
#include <xcb/xcb.h>

struct GameWindow {
  xcb_window_t id = 0;
  QRect rect;          // the window's inside, on the screen
  QString title;
  bool popup = false;  // a menu or tooltip: not managed by the window manager
};

class StormScreen {
public:
  StormScreen();  // the display of $DISPLAY
  ~StormScreen();
  StormScreen(const StormScreen&) = delete;
  StormScreen& operator=(const StormScreen&) = delete;

  bool IsConnected() const { return connection && !xcb_connection_has_error(connection); }
  QSize ScreenSize() const { return screenSize; }

  // The windows of that process: the managed ones from the bottom of the stack to its top,
  // then its pop-ups.
  std::vector<GameWindow> Windows(pid_t pid);

  // Sends ping number `number` to the window; Answered() then tells the highest number that
  // came back, once the events that arrived were read.
  void Ping(xcb_window_t window, std::uint32_t number);
  std::uint32_t Answered();

  void Close(xcb_window_t window);
  void ToggleMaximised(xcb_window_t window);
  void ToggleFullScreen(xcb_window_t window);
  void Resize(xcb_window_t window, int width, int height);

private:
  xcb_atom_t Atom(const char* name);
  QString Title(xcb_window_t window);
  std::uint32_t Cardinal(xcb_window_t window, xcb_atom_t property);
  std::vector<xcb_window_t> WindowList(xcb_window_t owner, xcb_atom_t property);
  bool Describe(xcb_window_t window, GameWindow& out);
  void ToggleState(xcb_window_t window, xcb_atom_t first, xcb_atom_t second);
  void Send(xcb_window_t to, xcb_window_t window, xcb_atom_t type, const std::uint32_t (&data)[5], std::uint32_t mask);

  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
  QSize screenSize;
  std::uint32_t answered = 0;
  xcb_atom_t stacking = 0, wmPid = 0, netName = 0, utf8 = 0, protocols = 0, deleteWindow = 0, ping = 0,
             state = 0, maxVert = 0, maxHorz = 0, fullScreen = 0;
};
