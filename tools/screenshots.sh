#!/usr/bin/env bash
# Makes the README's pictures in docs/images: the program on a virtual screen
# (Xvfb with the openbox window manager) with the sample terrain, its windows
# at fixed places through a kalvor.ini in a fresh KALVOR_HOME. Run it again
# after a change to the windows.
#
#   tools/screenshots.sh [BUILD_DIR]      (default: build)
#
# Needs the packages of `bash tools/install-deps.sh --screenshots`.
#
# Pictures:
#   docs/images/kalvor.png    main window, map with origin and selection,
#                             3D preview in "RWX Texture" mode
#   docs/images/composer.png  the main window's Composer tab with the sample composer
#   docs/images/real-place.png a synthetic 30 km elevation model (GeoTIFF,
#                             WGS 84, about 3 arc seconds) at its true size,
#                             on the map, with a selection around a summit
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program=$build/app/kalvor
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
for tool in Xvfb openbox xdotool xwininfo xsetroot import convert gdal_translate; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: bash tools/install-deps.sh --screenshots" >&2; exit 1; }
done

# The screen and the windows' places (client areas: left/top, width/height).
# The map opens at the largest zoom that fits the screen (2x for the sample)
# and grows to show the whole picture, so it gets the right-hand side.
screen_width=1400 screen_height=960
main_left=10 main_top=40
map_left=630 map_top=40 map_width=560 map_height=760
preview_left=10 preview_top=460 preview_width=598 preview_height=470
# On the map: the selection's centre and the origin, in terrain points from
# the picture's top-left corner (the sample terrain is 257 x 257 points),
# the zoom, and the selection's sides in metres.
selection_x=150 selection_y=110 selection_side=240
origin_x=120 origin_y=136 zoom=2
# The preview's viewer as typed into "teleport" (decametres south and east
# of the origin, metres up, heading), and Page Down taps with Ctrl.
viewer="34s 3e 50a 0" look_down_taps=28
# The 30 km raster: a summit in points from the picture's top-left corner.
summit_x=236 summit_y=154

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

home=$work/home
mkdir -p "$home"
cp -r samples/Settings samples/Textures "$home/"
cat >"$home/kalvor.ini" <<INI
[MainForm]
Left=$main_left
Top=$main_top
[Settings]
RenderMode=2
[Map]
Left=$map_left
Top=$map_top
Width=$map_width
Height=$map_height
[Renderer]
Left=$preview_left
Top=$preview_top
Width=$preview_width
Height=$preview_height
INI

display=99
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=:$display
Xvfb "$DISPLAY" -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
xsetroot -solid '#4a5866'
KALVOR_HOME=$home "$program" samples/valley.ter >"$work/program.log" 2>&1 &
pids+=($!)

# Waits for a visible window whose title matches, and prints its id.
window() {
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window '$1'" >&2
  exit 1
}
main=$(window '^Kalvor ')
map=$(window ' \(.*m\)$')
preview=$(window 'pitch')
sleep 2

# Where the map's picture starts in its window, and where the edits of the
# selection's sides are, counted from the window's bottom edge.
picture_left=24 picture_top=16
side_x_left=104 side_x_above_bottom=144 side_y_above_bottom=121
# Moves the pointer to X Y inside a window (its client area, without the
# window manager's frame).
point() {  # WINDOW X Y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3))
}
click_map() {  # BUTTON X Y: Ctrl + click on the map's picture at a terrain point
  point "$map" $((picture_left + zoom * $2 + zoom / 2)) $((picture_top + zoom * $3 + zoom / 2))
  xdotool keydown ctrl click "$1" keyup ctrl
  sleep 1
}
type_into() {  # X Y TEXT: replaces an edit's text and presses Enter
  point "$map" "$1" "$2"
  xdotool click 1
  xdotool key ctrl+a
  xdotool type "$3"
  xdotool key Return
  sleep 0.5
}
click_map 1 "$selection_x" "$selection_y"
click_map 3 "$origin_x" "$origin_y"
type_into "$side_x_left" $((map_height - side_x_above_bottom)) "$selection_side"
type_into "$side_x_left" $((map_height - side_y_above_bottom)) "$selection_side"
sleep 2

# The preview: teleported behind and above the origin, looking down over
# the valley to the lake, every object shown, no fog.
xdotool windowactivate --sync "$preview"
xdotool key ctrl+t
sleep 1
xdotool type "$viewer"
xdotool key Return
sleep 1
xdotool windowactivate --sync "$preview"
xdotool key --delay 60 --repeat "$look_down_taps" ctrl+Next
popup() {  # KEYS...: a right click in the preview, then keys in its menu
  point "$preview" $((preview_width / 2)) $((preview_height / 2))
  xdotool click 3
  sleep 0.5
  xdotool key --delay 100 "$@"
  sleep 0.5
}
popup Down Down Return                   # fog off
popup Down Down Down Down Right Down Down Down Down Down Down Down Down Down Down Down Return # rwx mode visibility: maximum, the twelfth
sleep 8

out=docs/images
mkdir -p "$out"
# Small files: 256 colours, no metadata.
save() {  # NAME GEOMETRY
  import -window root -crop "$2" +repage "$work/$1.png"
  convert "$work/$1.png" -strip -dither None -colors 256 "PNG8:$out/$1.png"
  echo "$out/$1.png: $(stat -c %s "$out/$1.png") bytes"
}
save kalvor "1200x945+0+0"  # the windows and a margin

# The Composer tab, brought to the front with the keyboard.
xdotool windowactivate --sync "$main"
point "$main" 40 45
xdotool click 1
xdotool key Right Right Right
sleep 1
# The window with the window manager's frame.
parent=$(xwininfo -tree -id "$main" | awk '/Parent window id:/{print $4}')
frame=$(xwininfo -id "$parent" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
  /Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h "+" x "+" y}')
save composer "$frame"

# A real place: kalvor-tergen's valley made a 30 km GeoTIFF of 401 x 401
# points near 36.6 degrees north, its -30 to 70 m made 0 to 1500 m. The
# program opens it at its true size; the selection goes around a summit,
# the origin on it.
"$build/tools/kalvor-tergen" "$work/valley.ter" --points 401 >/dev/null
gdal_translate -q -unscale -ot Float32 "$work/valley.ter" "$work/valley-metres.tif"
gdal_translate -q -scale -30 70 0 1500 -a_srs EPSG:4326 -a_ullr -119.0 36.75 -118.6667 36.4167 \
  "$work/valley-metres.tif" "$work/valley30km.tif"
kill "${pids[-1]}"
wait "${pids[-1]}" 2>/dev/null || true
KALVOR_HOME=$home "$program" "$work/valley30km.tif" >"$work/program.log" 2>&1 &
pids+=($!)
main=$(window '^Kalvor ')
map=$(window ' \(.*m\)$')
preview=$(window 'pitch')
sleep 3
zoom=1
click_map 1 "$summit_x" "$summit_y"
click_map 3 "$summit_x" "$summit_y"
type_into "$side_x_left" $((map_height - side_x_above_bottom)) 6000
type_into "$side_x_left" $((map_height - side_y_above_bottom)) 6000
sleep 1
save real-place "575x790+625+15"  # the map window
