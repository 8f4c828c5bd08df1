#!/usr/bin/env bash
# shots.sh BUILD OUT — plays the game under Xvfb with openbox (the hint window, the box cover
# and the magnifier are tool windows that need a window manager) and saves screenshots: each
# menu of the menu bar, the Options pop-up upwards and downwards, the table's pop-up over a
# piece, the hint window and its marker, box cover, magnifier, full screen, the F11 reminder
# and the bare window, help contents and What's This. BUILD has tessavinelume built.
set -euo pipefail
build=$(realpath "$1"); out=$(realpath -m "$2"); mkdir -p "$out"
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/tools/bootstrap.sh"
tv_install_missing openbox xvfb xauth xdotool imagemagick
export SHOT_OUT=$out SHOT_GAME=$build/app/tessavinelume SHOT_PICTURE=$src/samples/sample.jpg
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  unset QT_QPA_PLATFORM
  shot() { sleep "${2:-0.8}"; /usr/bin/import -window root "$SHOT_OUT/$1.png"; }
  k() { xdotool key --clearmodifiers "$@"; sleep 0.5; }
  home=$(mktemp -d)
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
  openbox & wm=$!
  sleep 1
  "$SHOT_GAME" "$SHOT_PICTURE" & game=$!
  sleep 4
  # The open dialog: its Open button.
  eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name "Open/Create" | head -1)")"
  xdotool mousemove $((X + WIDTH - 225)) $((Y + HEIGHT - 43)) click 1
  sleep 8
  win=$(xdotool search --onlyvisible --name "^Tessavinelume Jigsaw Puzzles" | head -1)
  xdotool windowactivate "$win"; sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  k alt+f; shot menu-file; k Escape
  k alt+o; shot menu-options; k p; shot menu-options-bevel; k Escape; k Escape
  k alt+h; shot menu-help; k Escape
  # The Options button: the second of the four big buttons at the panel'"'"'s right end.
  bx=$((X + WIDTH - 8 - 3*34 + 17))
  xdotool mousemove $bx $((Y + HEIGHT - 41)) click 1; shot popup-upwards; k Escape
  k alt+o; k a; k t; sleep 1
  xdotool mousemove $bx $((Y + 45)) click 1; shot popup-downwards; k Escape
  k alt+o; k a; k b; sleep 1
  # Pieces lie all over the table: the first point over one serves.
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)); sleep 0.3
  xdotool click 3; shot table-popup; k Escape
  k F3; shot hint; k Escape
  k F9; shot boxcover; k F9
  k ctrl+m; shot magnifier; k ctrl+m
  k F12; shot fullscreen 1.5; k F12; sleep 1
  k F10; shot menu-hidden
  k F11; shot f11-reminder; k Return; shot bare
  k F11; k F10; shot both-back
  k F1; shot help-contents 1.5; k Escape
  xdotool windowactivate "$win"; sleep 0.5
  k shift+F1; xdotool mousemove $bx $((Y + HEIGHT - 41)) click 1; shot whats-this 1.5
  kill $game 2>/dev/null || true; wait $game 2>/dev/null || true
  kill $wm 2>/dev/null || true
  rm -rf "$home"'
echo "screenshots in $out"
