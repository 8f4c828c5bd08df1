#pragma once
// Input through the X server, as from the player's own keyboard and mouse, and what a key
// could change on the table.

#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PuzzleChip.h"
#include "table/ChipSelection.h"
#include "table/TableSurface.h"

#include <QGuiApplication>
#include <QProcess>
#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>
#include <tuple>
#include <vector>

// What a key could change on the table: each piece's place and turn in the pile's order, and
// where the carried pieces hang and how far they are turned (applied to them when laid down).
struct TableState {
  std::vector<std::tuple<const PuzzleChip*, int, int, int>> pile;
  std::optional<std::tuple<QPoint, QPoint, int>> carried;
  bool operator==(const TableState&) const = default;
};

inline TableState StateOf(TableSurface& surface) {
  TableState state;
  ChipList& pieces = surface.GetChipList();
  for (int i = 0; i < pieces.Count(); ++i) {
    const PuzzleChip* piece = pieces.At(i);
    state.pile.emplace_back(piece, piece->TableX(), piece->TableY(), piece->Mask().Rotation());
  }
  if (const ChipSelection* carried = surface.Selection())
    state.carried.emplace(carried->Position(), carried->Grab(), carried->Rotation());
  return state;
}

// Input through the X server, as from the player's own keyboard and mouse.
inline bool Xdo(const QStringList& args) { return QProcess::execute(QStringLiteral("xdotool"), args) == 0; }

// The same while the game runs its event loop: it takes each key as it comes, between the
// window manager's answers, as it takes a player's.
inline void XdoMeanwhile(QProcess& xdo, const QStringList& args) { xdo.start(QStringLiteral("xdotool"), args); }

// A key held past the repeat delay sends the window its own presses, as on every desktop;
// off, each press the test makes is the only one.
inline void SetKeyRepeat(bool on) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11->connection();
  const uint32_t mode = on ? XCB_AUTO_REPEAT_MODE_ON : XCB_AUTO_REPEAT_MODE_OFF;
  xcb_change_keyboard_control(connection, XCB_KB_AUTO_REPEAT_MODE, &mode);
  xcb_flush(connection);
}

inline void StopKeyRepeat() { SetKeyRepeat(false); }

// The X server gives the window the keyboard: a key pressed now reaches it.
inline bool HasKeyboard(const QWidget& window) {
  xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
  xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
  const bool has = focus && focus->focus == xcb_window_t(window.winId());
  std::free(focus);
  return has;
}

