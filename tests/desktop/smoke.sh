#!/usr/bin/env bash
# Drives the real editor on a virtual X server the way an operator does, only through the X server
# (xdotool clicks at window-relative points, key presses, typing): a picture through the picture
# file dialog, keyed by a click on it, cut through its menu and the cut panel, a text through the
# text window in a second tab, exported through the export dialog, the window closed, the editor
# started again and the file imported through the import dialog; an editor killed in the middle of
# work and its work restored at the next start. Then it checks the exported file
# with brisklane-cli and the screen at a few pixels. Every start shows the window icon and writes
# nothing on stderr; one with Latin fonts only speaks English and says why in one line.
#   tests/desktop/smoke.sh              the test build's editor (build/test, as scripts/test.sh builds it)
#   tests/desktop/smoke.sh --installed  /usr/bin/brisklane and /usr/bin/brisklane-cli
# Every step's screenshot stays in build/desktop-smoke/ (the path is printed).
# The points below are measured on the main window at its default size, scale 1, 96 dpi, Chinese.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
app=$root/build/test/app/brisklane
cli=$root/build/test/cli/brisklane-cli
if [[ ${1:-} == --installed ]]; then
  app=/usr/bin/brisklane
  cli=/usr/bin/brisklane-cli
fi
for f in "$app" "$cli"; do
  [[ -x $f ]] || {
    echo "smoke: $f is missing (build it, or install it for --installed)" >&2
    exit 2
  }
done
"$root/scripts/setup.sh" xvfb xdotool openbox python3 x11-utils >/dev/null

out=$root/build/desktop-smoke
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  shot failed || true
  echo "smoke: FAILED: $*" >&2
  echo "smoke: screenshots in $out" >&2
  exit 1
}

display=90
while [[ -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1600x1000x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do
  [[ -e /tmp/.X11-unix/X$display ]] && break
  sleep 0.1
done
[[ -e /tmp/.X11-unix/X$display ]] || fail "Xvfb did not start on $DISPLAY"
# A home of its own: no settings, recent folders or drafts from an earlier run. The editor keeps
# settings.ini in XDG_CONFIG_HOME (no portable marker beside the copy in the work folder).
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config LC_ALL=C
if [[ $app != /usr/bin/* ]]; then
  mkdir -p "$work/bin"
  cp "$app" "$work/bin/brisklane"
  app=$work/bin/brisklane
fi
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The editor's own diagnostics stay off by themselves; the platform plugin's notices about the bare
# X server are no concern here.
export QT_LOGGING_RULES="qt.qpa.*=false"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
# A window manager gives focus and activation, and closes the text window on Alt+F4.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
# Ready once it has named what it supports; on a busy machine the desktop comes a little earlier
# than the list that says the active window can be asked for.
for _ in $(seq 100); do
  xdotool get_desktop >/dev/null 2>&1 && xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW && break
  sleep 0.1
done

step=0
shot() {
  step=$((step + 1))
  import -window root "$out/$(printf %02d "$step")-$1.png"
}
# The window $2 alone, for people to look at (docs/screenshots comes from these).
window_shot() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$2")"
  origin "$2"
  import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$out/window-$1.png"
}
# The id of the visible window whose name starts with $1 (bash compares, as xdotool's regular
# expressions do not take the Chinese names), waiting up to 10 s.
window() {
  local w name
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      name=$(xdotool getwindowname "$w" 2>/dev/null) || continue
      if [[ $name == "$1"* ]]; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}
gone() {
  for _ in $(seq 100); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    grep -qx "$1" <<<"$(xdotool search --onlyvisible --name . 2>/dev/null)" || return 0
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; }
focus() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"; }
# The screen position of window $1's top-left corner, as the clicks translate it (xdotool's
# getwindowgeometry adds the window manager's frame once too often); the pointer is left there.
origin() {
  xdotool mousemove --window "$1" 0 0
  eval "$(xdotool getmouselocation --shell)"
}
# The colour (RRGGBB) at a point of window $1 on the screen now.
pixel_at() {
  local x y X Y
  origin "$1"
  x=$((X + $2)) y=$((Y + $3))
  import -window root -crop "1x1+$x+$y" -depth 8 -format '%[hex:p{0,0}]' info:- 2>/dev/null | cut -c1-6
}
# Waits up to 10 s for that point to show colour $4.
wait_pixel() {
  local c=""
  for _ in $(seq 50); do
    c=$(pixel_at "$1" "$2" "$3")
    [[ $c == "$4" ]] && return 0
    sleep 0.2
  done
  fail "${5:-pixel} at $2,$3 is $c, not $4"
}
# The text window's send button: the rightmost orange (its arrow) in the toolbar row, whose
# combo boxes take the width their fonts need.
send_button() {
  local X Y WIDTH
  eval "$(xdotool getwindowgeometry --shell "$1")"
  origin "$1"
  import -window root -crop "${WIDTH}x36+$X+$Y" -depth 8 txt:- | python3 -c '
import re, sys
found = None
for line in sys.stdin:
    m = re.match(r"(\d+),(\d+): .*#([0-9A-Fa-f]{6})", line)
    if m:
        r, g, b = (int(m[3][i:i + 2], 16) for i in (0, 2, 4))
        if r > 200 and 60 < g < 170 and b < 90 and (found is None or int(m[1]) > found[0]):
            found = (int(m[1]), int(m[2]))
if found:
    print(found[0] - 4, found[1])'
}
type_path() {
  xdotool type --delay 5 "$1"
  xdotool key Return
}

red=C81E28 blue=1E3CC8
picture=$work/pic.png
convert -size 80x120 "xc:#$red" -size 80x120 "xc:#$blue" +append +repage "PNG24:$picture"
exported=$work/smoke.pic
started=$SECONDS

# Toolbar, tab bar, property panel and preview, relative to the main window.
project_btn=(46 35) import_btn=(108 35) export_btn=(170 35) picture_btn=(246 35) text_btn=(309 35)
overview_btn=(371 35)
first_tab=(30 86) plus_tab=(94 86) keying_box=(645 134)
# The preview shows the screen's top-left corner at (1, 103) at 100 %: the picture's left (red)
# half and right (blue) half.
on_red=(40 160) on_blue=(120 160) away=(700 580)

(cd "$work" && exec "$app" --lang zh) >"$out/editor1.log" 2>&1 &
pids+=($!)
main=$(window "Brisklane ") || fail "the main window did not show"
focus "$main"
shot start
# Read whole before looking: grep -q would stop reading early, and under pipefail the icon data
# xprop still writes would then fail the pipe.
icon=$(xprop -id "$main" _NET_WM_ICON)
[[ $icon == *"Icon ("* ]] || fail "the main window has no icon (_NET_WM_ICON)"

click "$main" "${picture_btn[@]}"
dialog=$(window "打开文件") || fail "no picture dialog"
focus "$dialog"
shot picture-dialog
type_path "$picture"
gone "$dialog" || fail "the picture dialog stayed open"
wait_pixel "$main" "${on_red[@]}" "$red" "the added picture"
shot picture-added
# Over the picture the colour tip shows; it never takes the activation from the window (the next
# Ctrl+Z would be lost).
xdotool mousemove --window "$main" "${on_blue[@]}"
sleep 0.5
shot colour-tip
[[ $(xdotool getactivewindow) == "$main" ]] || fail "the colour tip took the activation"

# Keying on, then a click on the red half picks red: it becomes the fill colour, black. The press
# picks; then the colour tip that follows the pointer goes off the points looked at.
click "$main" "${keying_box[@]}"
click "$main" "${on_red[@]}"
sleep 0.1
xdotool mousemove --window "$main" "${away[@]}"
wait_pixel "$main" "${on_red[@]}" 000000 "the keyed picture"
shot keyed

# The item's menu: 截取 (first entry) opens the cut panel; Escape cancels it.
click "$main" "${on_blue[@]}" 3
sleep 0.3
xdotool key Down Return
cut=$(window "选择OSD显示区域") || fail "no cut panel"
focus "$cut"
xdotool key Escape
gone "$cut" || fail "Escape did not close the cut panel"
# Opened again, moving the window's left and top edges to 20,10 keeps its right and bottom ones
# (100, 100): 80x90.
click "$main" "${on_blue[@]}" 3
sleep 0.3
xdotool key Down Return
cut=$(window "选择OSD显示区域") || fail "no cut panel"
focus "$cut"
click "$cut" 175 577
xdotool key ctrl+a && xdotool type 20
click "$cut" 365 577
xdotool key ctrl+a && xdotool type 10
xdotool key Tab
sleep 0.3
shot cut-panel
window_shot cut-panel "$cut"
click "$cut" 722 687
gone "$cut" || fail "the cut panel stayed open"
# The second entry, OSD截取开关, switches the cut on.
click "$main" "${on_blue[@]}" 3
sleep 0.3
xdotool key Down Down Return
sleep 0.3
shot cut-on

click "$main" "${plus_tab[@]}"
sleep 0.3
# The new tab's key panel is its own: keying off, full ranges (OSD1 keeps its red key).
shot new-tab-panel
click "$main" "${text_btn[@]}"
text=$(window "文本设置") || fail "no text window"
focus "$text"
click "$text" 200 150
xdotool type --delay 10 'Smoke 42'
shot text-window
window_shot text-window "$text"
at=$(send_button "$text") || fail "no send button"
# shellcheck disable=SC2086 # x and y
click "$text" $at
# The text item: its background is the inverse of the text's (2, 2, 2).
wait_pixel "$main" 3 105 FDFDFD "the text item"
shot text-sent
focus "$text"
xdotool key alt+F4
gone "$text" || fail "the text window stayed open"
shot main-window
click "$main" "${first_tab[@]}"
sleep 0.3
window_shot main-window "$main"
click "$main" 110 86
sleep 0.3

click "$main" "${overview_btn[@]}"
sleep 0.5
shot overview
window_shot overview "$main"
click "$main" "${overview_btn[@]}"
sleep 0.3

click "$main" "${export_btn[@]}"
dialog=$(window "导出文件") || fail "no export dialog"
focus "$dialog"
shot export-dialog
type_path "$exported"
gone "$dialog" || fail "the export dialog stayed open"
for _ in $(seq 50); do [[ -s $exported ]] && break; sleep 0.1; done
[[ -s $exported ]] || fail "nothing exported"

# Exported: closing asks nothing.
focus "$main"
xdotool key Escape
gone "$main" || fail "the main window did not close"
wait "${pids[2]}" || fail "the editor exited with $?"

(cd "$work" && exec "$app" --lang zh) >"$out/editor2.log" 2>&1 &
pids+=($!)
main=$(window "Brisklane ") || fail "the main window did not show again"
focus "$main"
click "$main" "${import_btn[@]}"
dialog=$(window "导入文件") || fail "no import dialog"
focus "$dialog"
type_path "$exported"
gone "$dialog" || fail "the import dialog stayed open"
sleep 0.3
click "$main" "${first_tab[@]}"
# The import ends on the last tab; the first one shows the picture's cut window (80x90 from 20,10)
# at the item's place: its keyed part black, then blue.
wait_pixel "$main" 30 150 000000 "the imported keyed part"
wait_pixel "$main" 70 150 "$blue" "the imported blue part"
shot imported

# The left edge at mid-height, over the preview: a drag there resizes the window and leaves the
# editor taking clicks (it once left a rubber band over the window that swallowed every click).
eval "$(xdotool getwindowgeometry --shell "$main")"
before_width=$WIDTH
origin "$main"
edge_x=$((X + 1)) mid_y=$((Y + HEIGHT / 2))
xdotool mousemove "$edge_x" "$mid_y" mousedown 1 sleep 0.3 mousemove "$((edge_x - 20))" "$mid_y" \
  sleep 0.3 mousemove "$((edge_x - 40))" "$mid_y" sleep 0.3 mouseup 1
sleep 0.5
shot left-edge-dragged
eval "$(xdotool getwindowgeometry --shell "$main")"
echo "smoke: the left-edge drag made the window $before_width -> $WIDTH pixels wide"
click "$main" "${picture_btn[@]}"
dialog=$(window "打开文件") || fail "the editor takes no click after a drag at its left edge"
focus "$dialog"
xdotool key Escape
gone "$dialog" || fail "the picture dialog stayed open after the left-edge drag"

focus "$main"
xdotool key Escape
gone "$main" || fail "the main window did not close after the import"
echo "smoke: drove the editor in $((SECONDS - started)) s"
for log in "$out/editor1.log" "$out/editor2.log"; do
  [[ ! -s $log ]] || fail "the editor wrote on stderr or stdout: $(head -3 "$log")"
done

# Killed in the middle of work: the next start offers the work back, and restoring it shows it.
(cd "$work" && exec "$app" --lang zh) >"$out/editor-killed.log" 2>&1 &
killed=$!
pids+=("$killed")
main=$(window "Brisklane ") || fail "the main window did not show for the kill"
focus "$main"
click "$main" "${picture_btn[@]}"
dialog=$(window "打开文件") || fail "no picture dialog before the kill"
focus "$dialog"
type_path "$picture"
gone "$dialog" || fail "the picture dialog stayed open before the kill"
wait_pixel "$main" "${on_red[@]}" "$red" "the picture before the kill"
# The recovery copy is written within a second of the change.
sleep 1.5
kill -KILL "$killed"
gone "$main" || fail "the killed editor's window stayed"
(cd "$work" && exec "$app" --lang zh) >"$out/editor-restarted.log" 2>&1 &
pids+=($!)
question=$(window "提示") || fail "the start after the kill did not offer the lost work"
shot recovery-question
window_shot recovery-question "$question"
focus "$question"
# 恢复 is the first button; the one the keyboard starts on is 以后再说, which loses nothing.
click "$question" 70 87
gone "$question" || fail "the recovery question stayed open"
main=$(window "Brisklane ") || fail "the main window did not show after the kill"
wait_pixel "$main" "${on_red[@]}" "$red" "the restored picture"
shot restored
# The project menu on the toolbar, as the operator opens it.
click "$main" "${project_btn[@]}"
sleep 0.5
shot project-menu
xdotool key Escape
kill -KILL "${pids[-1]}"
gone "$main" || fail "the restored editor's window stayed"
[[ ! -s $out/editor-restarted.log ]] || fail "the restarted editor wrote: $(head -3 "$out/editor-restarted.log")"
# What the second kill left is not offered to the next start.
find "$HOME" -name 'work-*.brisklane*' -delete

# A machine with Latin fonts only (Debian's default locale, C.UTF-8, asks for Chinese): the window
# speaks English, and one line says why.
cat >"$work/latin-fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>$work/font-cache</cachedir></fontconfig>
EOF
(cd "$work" && LC_ALL=C.UTF-8 FONTCONFIG_FILE=$work/latin-fonts.conf exec "$app") >"$out/editor3.log" 2>&1 &
pids+=($!)
main=$(window "Brisklane ") || fail "the main window did not show with Latin fonts only"
focus "$main"
click "$main" "${import_btn[@]}"
dialog=$(window "Import Files") || fail "with Latin fonts only the window does not speak English"
shot latin-fonts-only
focus "$dialog"
xdotool key Escape
gone "$dialog" || fail "the import dialog stayed open"
focus "$main"
xdotool key Escape
gone "$main" || fail "the main window did not close with Latin fonts only"
[[ $(wc -l <"$out/editor3.log") == 1 ]] && grep -q "cannot show Chinese" "$out/editor3.log" ||
  fail "not one line on why the window speaks English: $(cat "$out/editor3.log")"

# The file: a keyed, cut picture and the text.
"$cli" info --json "$exported" >"$out/info.json" || fail "info refused the file"
python3 - "$out/info.json" <<'EOF' || fail "info --json: $(cat "$out/info.json")"
import json, sys
records = json.load(open(sys.argv[1]))[0]["records"]
assert len(records) == 2, records
pic, text = records
assert pic["kind"] == "picture" and (pic["width"], pic["height"]) == (160, 120), pic
assert pic["cut"] == [20, 10, 80, 90] and pic["cutOn"] is True, pic
assert pic["fillOn"] is True and pic["fill"] == "#000000", pic
assert text["kind"] == "text" and text["text"] == "Smoke 42", text
EOF
"$cli" extract "$exported" -o "$work/x" >/dev/null || fail "extract refused the file"
# The picked red became the fill colour, black; the cut window is that part of it.
convert "$picture" -fill black -opaque "#$red" "PNG24:$work/keyed.png"
convert "$work/keyed.png" -crop 80x90+20+10 +repage "PNG24:$work/cut.png"
same() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]; }
same "$work/keyed.png" "$work/x/000.png" || fail "the exported picture's pixels are not the keyed picture's"
same "$work/cut.png" "$work/x/000-cut.png" || fail "the exported cut window is not the keyed picture's 80x90 at 20,10"
echo "smoke: passed ($((SECONDS - started)) s); screenshots in $out"
