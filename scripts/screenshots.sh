#!/usr/bin/env bash
# Makes the pictures of the user guide: starts Tonalvane on a virtual display (Xvfb) with a
# window manager (openbox), drives it with xdotool as a user would, and saves each window
# into docs/images/. Run it again whenever the look of a window changes, and commit the
# pictures. Uses build/tonalvane (built when missing); no MIDI device is opened.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in Xvfb openbox xdotool import; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "screenshots: $tool is missing; scripts/install-deps.sh installs it" >&2
    exit 1
  fi
done
if [ ! -x build/tonalvane ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build --target tonalvane
fi

images=docs/images
mkdir -p "$images"
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# A fresh user: no saved window places, the page cache in the work folder.
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache TONALVANE_MIDI_OUT=none
export QT_QPA_PLATFORM=xcb

# The scale the pictures show: the just major scale with its chromatic notes.
cat >"$work/just12.scl" <<'SCALE'
! just12.scl
!
Twelve-note just scale of 5-limit ratios
 12
!
 16/15
 9/8
 6/5
 5/4
 4/3
 45/32
 3/2
 8/5
 5/3
 9/5
 15/8
 2/1
SCALE

# The id of the window whose title matches, once it is there.
window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "screenshots: no window \"$1\"" >&2; exit 1; }
  echo "$id"
}
# Activates a window and types keys into it.
keys() {
  local id=$1
  shift
  xdotool windowactivate --sync "$id"
  sleep 0.3
  xdotool key --delay 150 "$@"
  sleep 0.8
}
shot() {
  sleep 0.5
  import -window "$1" -frame "$images/$2"
  echo "screenshots: $images/$2"
}

build/tonalvane "$work/just12.scl" >"$work/tonalvane.log" 2>&1 &
pids+=($!)

toolbox=$(window "Tonalvane Toolbox")
lattice=$(window "just12.scl")
xdotool windowsize --sync "$lattice" 760 620
xdotool windowmove --sync "$lattice" 300 20
shot "$toolbox" toolbox.png
shot "$lattice" lattice.png

keys "$lattice" alt+s p
shot "$lattice" lattice-planetary.png
keys "$lattice" alt+s v

keys "$lattice" alt+v t
table=$(window "Table")
shot "$table" table.png
xdotool windowclose "$table" || keys "$table" Escape

keys "$lattice" alt+e o
options=$(window "^Options$")
shot "$options" options.png
keys "$options" Escape

# File > New with a limit: the 9-odd-limit diamond, its neighbours joined by lines.
keys "$lattice" alt+f n
new=$(window "Create a new lattice")
xdotool windowactivate --sync "$new"
xdotool type --delay 40 "9"
keys "$new" alt+l Return
lattice=$(window "Untitled - Lattice")
shot "$lattice" lattice-lines.png

keys "$toolbox" Tab space
keyboard=$(window "Tonalvane Keyboard")
xdotool windowmove --sync "$keyboard" 300 160
shot "$keyboard" keyboard.png

# In Edit mode a key opens its script editor.
keys "$keyboard" a
editor=$(window "Script")
xdotool windowactivate --sync "$editor"
xdotool type --delay 40 "PLAY *73 1/1 5/4 3/2 1 SEC"
xdotool key Return
xdotool type --delay 40 "PLAY 4/3 5/3 2/1 500 MSEC REST 250 MSEC"
shot "$editor" editor.png

keys "$toolbox" Tab space
about=$(window "About Orlix")
shot "$about" about.png
keys "$about" Escape

echo "screenshots: done"
