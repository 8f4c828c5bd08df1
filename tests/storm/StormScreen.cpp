#include "StormScreen.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
template <class Reply>
std::unique_ptr<Reply, decltype(&std::free)> Owned(Reply* reply) {
  return {reply, &std::free};
}

// Pings go out numbered from here, above any time stamp the window manager's own pings carry.
constexpr std::uint32_t PingBase = 0x5A000000;
}  // namespace

StormScreen::StormScreen() {
  int screenNumber = 0;
  connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection)) return;
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
  root = it.data->root;
  screenSize = QSize(it.data->width_in_pixels, it.data->height_in_pixels);
  stacking = Atom("_NET_CLIENT_LIST_STACKING");
  wmPid = Atom("_NET_WM_PID");
  netName = Atom("_NET_WM_NAME");
  utf8 = Atom("UTF8_STRING");
  protocols = Atom("WM_PROTOCOLS");
  deleteWindow = Atom("WM_DELETE_WINDOW");
  ping = Atom("_NET_WM_PING");
  state = Atom("_NET_WM_STATE");
  maxVert = Atom("_NET_WM_STATE_MAXIMIZED_VERT");
  maxHorz = Atom("_NET_WM_STATE_MAXIMIZED_HORZ");
  fullScreen = Atom("_NET_WM_STATE_FULLSCREEN");
  // A client answers a ping by sending it to the root window for the window manager, to the
  // clients that watch the root's structure (Qt) or redirect its substructure; the storm
  // watches the root's structure and sees the answers too.
  const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection);
}

StormScreen::~StormScreen() { xcb_disconnect(connection); }

xcb_atom_t StormScreen::Atom(const char* name) {
  auto reply = Owned(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::uint32_t StormScreen::Cardinal(xcb_window_t window, xcb_atom_t property) {
  auto reply = Owned(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr));
  if (!reply || xcb_get_property_value_length(reply.get()) < 4) return 0;
  return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

QString StormScreen::Title(xcb_window_t window) {
  for (auto [property, type] : {std::pair{netName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
    auto reply = Owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 256), nullptr));
    const int length = reply ? xcb_get_property_value_length(reply.get()) : 0;
    if (length > 0) return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
  }
  return {};
}

std::vector<xcb_window_t> StormScreen::WindowList(xcb_window_t owner, xcb_atom_t property) {
  auto reply = Owned(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, owner, property, XCB_ATOM_WINDOW, 0, 4096), nullptr));
  if (!reply) return {};
  const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
  return {windows, windows + xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_window_t))};
}

// False when the window went away meanwhile.
bool StormScreen::Describe(xcb_window_t window, GameWindow& out) {
  auto geometry = Owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
  auto at = Owned(xcb_translate_coordinates_reply(
      connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr));
  if (!geometry || !at) return false;
  out.id = window;
  out.rect = QRect(at->dst_x, at->dst_y, geometry->width, geometry->height);
  out.title = Title(window);
  return true;
}

std::vector<GameWindow> StormScreen::Windows(pid_t pid) {
  std::vector<GameWindow> found;
  if (!IsConnected()) return found;
  GameWindow window;
  for (xcb_window_t id : WindowList(root, stacking))
    if (Cardinal(id, wmPid) == std::uint32_t(pid) && Describe(id, window)) found.push_back(window);
  // Menus and tooltips lie directly on the root, outside the window manager's list.
  auto tree = Owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
  if (!tree) return found;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    auto attributes = Owned(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, children[i]), nullptr));
    if (!attributes || !attributes->override_redirect || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
    if (Cardinal(children[i], wmPid) != std::uint32_t(pid) || !Describe(children[i], window)) continue;
    window.popup = true;
    found.push_back(window);
    window.popup = false;
  }
  return found;
}

// With no mask the event goes to the client that made the window: the game.
void StormScreen::Send(xcb_window_t to, xcb_window_t window, xcb_atom_t type, const std::uint32_t (&data)[5],
                       std::uint32_t mask) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = type;
  std::memcpy(event.data.data32, data, sizeof data);
  xcb_send_event(connection, 0, to, mask, reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
}

void StormScreen::Ping(xcb_window_t window, std::uint32_t number) {
  Send(window, window, protocols, {ping, PingBase + number, window, 0, 0}, XCB_EVENT_MASK_NO_EVENT);
}

std::uint32_t StormScreen::Answered() {
  if (!IsConnected()) return answered;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
    if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
      const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
      const std::uint32_t stamp = message->data.data32[1];
      if (message->type == protocols && message->data.data32[0] == ping && stamp > PingBase && stamp - PingBase > answered)
        answered = stamp - PingBase;
    }
    std::free(event);
  }
  return answered;
}

void StormScreen::Close(xcb_window_t window) {
  Send(window, window, protocols, {deleteWindow, XCB_CURRENT_TIME, 0, 0, 0}, XCB_EVENT_MASK_NO_EVENT);
}

// 2: toggle; 1: asked for by an application. The window manager takes it from the root.
void StormScreen::ToggleState(xcb_window_t window, xcb_atom_t first, xcb_atom_t second) {
  Send(root, window, state, {2, first, second, 1, 0},
       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
}

void StormScreen::ToggleMaximised(xcb_window_t window) { ToggleState(window, maxVert, maxHorz); }

void StormScreen::ToggleFullScreen(xcb_window_t window) { ToggleState(window, fullScreen, XCB_ATOM_NONE); }

void StormScreen::Resize(xcb_window_t window, int width, int height) {
  const std::uint32_t size[] = {std::uint32_t(width), std::uint32_t(height)};
  xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
  xcb_flush(connection);
}
