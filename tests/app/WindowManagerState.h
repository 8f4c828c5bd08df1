#pragma once
// What the window manager itself says of a window (its _NET_WM_STATE), and requests to it as
// a pager or the title bar's buttons make them.

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

struct WmState {
  bool fullScreen = false;
  bool maximised = false;  // both ways
  bool skipPager = false;
};

inline xcb_connection_t* XConnection() {
  return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

inline xcb_atom_t XAtom(const char* name) {
  xcb_connection_t* c = XConnection();
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

inline WmState WindowManagerState(const QWidget& window) {
  xcb_connection_t* c = XConnection();
  WmState state;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, xcb_window_t(window.winId()), XAtom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64), nullptr);
  if (!reply) return state;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
  const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
  int maximised = 0;
  for (int i = 0; i < count; ++i) {
    state.fullScreen |= atoms[i] == XAtom("_NET_WM_STATE_FULLSCREEN");
    state.skipPager |= atoms[i] == XAtom("_NET_WM_STATE_SKIP_PAGER");
    maximised += atoms[i] == XAtom("_NET_WM_STATE_MAXIMIZED_VERT") || atoms[i] == XAtom("_NET_WM_STATE_MAXIMIZED_HORZ");
  }
  state.maximised = maximised == 2;
  std::free(reply);
  return state;
}

enum class WmAsk { Remove = 0, Add = 1, Toggle = 2 };

// As the player's own tools ask (source 2): the window manager decides.
inline void AskWindowManager(const QWidget& window, WmAsk ask, const char* first, const char* second = nullptr) {
  xcb_connection_t* c = XConnection();
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = xcb_window_t(window.winId());
  message.type = XAtom("_NET_WM_STATE");
  message.data.data32[0] = uint32_t(ask);
  message.data.data32[1] = XAtom(first);
  message.data.data32[2] = second ? XAtom(second) : xcb_atom_t(XCB_ATOM_NONE);
  message.data.data32[3] = 2;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(c);
}

inline void ToggleMaximisedByWindowManager(const QWidget& window) {
  AskWindowManager(window, WmAsk::Toggle, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
}

// The window manager handles its requests in order: once it has answered one sent now (a
// flag no one looks at, set and cleared), it has handled every request the game sent before.
inline bool WindowManagerCaughtUp(const QWidget& window) {
  for (const bool on : {true, false}) {
    AskWindowManager(window, on ? WmAsk::Add : WmAsk::Remove, "_NET_WM_STATE_SKIP_PAGER");
    if (!QTest::qWaitFor([&] { return WindowManagerState(window).skipPager == on; }, 10000)) return false;
  }
  return true;
}
