#!/usr/bin/env bash
# shots.sh BUILD OUT — screenshots of the small windows, the three option pages, the box
# cover in both faces and scales (with and without a cover of its own), and the game's main
# window with a sample sponsor, each under Xvfb with openbox (frames, tool windows and
# stay-on-top need a window manager). BUILD is a build folder with small_windows,
# tessavinelume and SponsorQTest built; OUT receives the PNGs.
set -euo pipefail
build=$(realpath "$1"); out=$(realpath -m "$2"); mkdir -p "$out"
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/tools/bootstrap.sh"
tv_install_missing openbox xvfb xauth xdotool imagemagick
tools="$build/tools/small_windows"
game="$build/app"
# The sample sponsor beside both programs; it goes again at the end.
TV_SPONSOR_SAMPLE="$tools" QT_QPA_PLATFORM=offscreen "$build/tests/app/SponsorQTest" iniRules >/dev/null
cp "$tools/Spnsr.dat" "$game/Spnsr.dat"
trap 'rm -f "$tools/Spnsr.dat" "$game/Spnsr.dat"' EXIT
export SHOT_OUT=$out SHOT_TOOLS=$tools SHOT_GAME=$game SHOT_PICTURE=$src/samples/sample.jpg
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  unset QT_QPA_PLATFORM
  openbox & wm=$!
  sleep 1
  shoot() {  # name, wait, command...
    local name=$1 wait=$2; shift 2
    "$@" & local pid=$!
    sleep "$wait"
    /usr/bin/import -window root "$SHOT_OUT/$name.png"
    kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true
  }
  for w in about sysinfo f11 noteopts options0 options1 options2; do
    shoot "$w" 2 "$SHOT_TOOLS/small_windows" "$w"
  done
  for w in cover-hover cover-tool cover-full own-hover own-tool own-full; do
    shoot "$w" 3 "$SHOT_TOOLS/small_windows" "$w" "$SHOT_PICTURE"
  done
  home=$(mktemp -d)
  HOME=$home XDG_CONFIG_HOME=$home/.config shoot main-sponsor 4 "$SHOT_GAME/tessavinelume"
  rm -rf "$home"
  kill $wm 2>/dev/null || true'
echo "screenshots in $out"
