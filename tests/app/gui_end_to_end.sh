#!/usr/bin/env bash
# The real program under a virtual X display: type a content (Chinese
# characters included) into the content box, press Generate with the mouse,
# take a screenshot and read the preview area back with zbarimg. The decoded
# text must be exactly what was typed.
#
#   gui_end_to_end.sh QRSMITH_GUI [SCREENSHOT.png]
#
# With a second argument the main window's picture is also kept there.
# Then it presses Copy and reads the clipboard back as another program would,
# with xclip, and that picture must scan to the same text. The scan label
# under the symbol must be green. Save, typing x.svg under the PNG filter,
# must write SVG that rsvg-convert renders to the same text; typing f0 where
# f0.svg exists (SVG being the form last saved) must ask before replacing it. A large centre icon at level L
# must turn the scan label red.
# Exits 77 (skipped) when Xvfb, xdotool, ImageMagick, zbarimg, xclip or
# rsvg-convert is missing.
set -euo pipefail

gui=$1
keep=${2:-}
for tool in xvfb-run xdotool xmodmap import convert zbarimg xclip rsvg-convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "gui_end_to_end: $tool is not installed; skipped" >&2
    exit 77
  fi
done

if [ -z "${QRSMITH_E2E_INNER:-}" ]; then
  export QRSMITH_E2E_INNER=1
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
  exec xvfb-run -a -s "-screen 0 640x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work HOME=$work

content='qrsmith 端到端 test 二维码'
"$gui" >"$work/gui.log" 2>&1 &
pid=$!
xdotool search --sync --onlyvisible --name '^qrsmith' >/dev/null

# Without a window manager the window sits at (50, 50) with no frame: the
# content box is at (16, 496) and the Generate button at (8, 665) inside it.
left=50 top=50
# xdotool types a character that the keyboard map lacks by remapping a key
# for a moment; a slow program (a sanitized build) then reads the key after
# the map changed back and loses the character. So every character of the
# content outside ASCII gets a key of its own first.
spare=($(xmodmap -pke | awk 'NF == 3 { print $2 }'))
n=0
while IFS= read -r ch; do
  code=$(printf '%s' "$ch" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n')
  if [ $((16#$code)) -gt 127 ]; then
    xmodmap -e "keycode ${spare[$n]} = U$(printf '%04X' $((16#$code)))"
    n=$((n + 1))
  fi
done < <(printf '%s' "$content" | grep -o . | sort -u)
sleep 0.2

xdotool mousemove $((left + 16 + 100)) $((top + 496 + 40)) click 1
sleep 0.5
xdotool type --delay 40 "$content"
sleep 0.5
xdotool mousemove $((left + 8 + 32)) $((top + 665 + 12)) click 1

# A sanitized build may take a while to generate and paint: look a few times.
decoded=
for attempt in 1 2 3 4 5; do
  sleep 1
  import -window root "$work/screen.png"
  # The preview area: 450 x 450 at (11, 8) inside the window.
  convert "$work/screen.png" -crop 450x450+$((left + 11))+$((top + 8)) +repage "$work/preview.png"
  decoded=$(zbarimg --quiet --raw "$work/preview.png" || true)
  [ "$decoded" = "$content" ] && break
done
if [ -n "$keep" ]; then
  convert "$work/screen.png" -crop 472x697+$left+$top +repage "$keep"
fi
if [ "$decoded" != "$content" ]; then
  echo "gui_end_to_end: typed '$content', the preview reads '$decoded'" >&2
  cat "$work/gui.log" >&2
  exit 1
fi
echo "gui_end_to_end: the preview reads '$decoded'"

# Copy: the button at (261, 664), 110 x 24; the clipboard offers the picture as PNG.
xdotool mousemove $((left + 261 + 55)) $((top + 664 + 12)) click 1
copied=
for attempt in 1 2 3 4 5; do
  sleep 1
  xclip -selection clipboard -t image/png -o >"$work/clipboard.png" 2>/dev/null || true
  copied=$(zbarimg --quiet --raw "$work/clipboard.png" 2>/dev/null || true)
  [ "$copied" = "$content" ] && break
done
if [ "$copied" != "$content" ]; then
  echo "gui_end_to_end: the clipboard reads '$copied'" >&2
  cat "$work/gui.log" >&2
  exit 1
fi
echo "gui_end_to_end: the clipboard reads '$copied'"

# The scan label: 434 x 36 right below the symbol, which the preview draws as
# large as fits: in the bottom 60 pixels of the preview area. The share of
# those pixels in the colour $1 (the label text's), on the latest screenshot;
# the symbol's dark modules there are whitened first.
label_share() {
  convert "$work/screen.png" -crop 434x60+$((left + 11 + 8))+$((top + 8 + 390)) +repage \
    -fuzz 20% -fill white -opaque black -fill black -opaque "$1" -fill white +opaque black \
    -format '%[fx:1-mean]' info:
}
green='#008000' red='#C00000'
expect_label() {  # the colour the label must show, and the one it must not
  local shown
  for attempt in 1 2 3 4 5; do
    import -window root "$work/screen.png"
    shown=$(awk -v a="$(label_share "$1")" -v b="$(label_share "$2")" \
      'BEGIN { print (a > 0.002 && b < 0.0005) ? "yes" : "no" }')
    [ "$shown" = yes ] && return 0
    sleep 1
  done
  echo "gui_end_to_end: the scan label does not show $1 (shares $(label_share "$1"), $(label_share "$2"))" >&2
  exit 1
}
expect_label "$green" "$red"
echo "gui_end_to_end: the scan label is green"

# Save (Ctrl+S): the file dialog opens with its name box focused; $1 is typed there.
save_as() {
  xdotool mousemove $((left + 236)) $((top + 200)) click 1  # the preview area: window focus
  xdotool key ctrl+s
  # The dialog is the program's second visible window; a sanitized build on a
  # busy machine may take a few seconds to show it.
  for attempt in $(seq 40); do
    [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.5
  done
  sleep 1.5
  xdotool type --delay 20 "$1"
  xdotool key Return
}
find_window() {  # the id of a visible window named $1, for up to 30 seconds
  # Searched again and again: a search fails when a window it looks at closes.
  local id
  for attempt in $(seq 60); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  return 1
}
wait_for() {  # a file, for up to 5 seconds
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    [ -s "$1" ] && return 0
    sleep 0.5
  done
  return 1
}
save_as "$work/x.svg"
if ! wait_for "$work/x.svg" || ! grep -q '<svg' "$work/x.svg"; then
  echo "gui_end_to_end: x.svg typed under the PNG filter is not SVG" >&2
  exit 1
fi
rsvg-convert -w 500 -b white -o "$work/x-svg.png" "$work/x.svg"
rendered=$(zbarimg --quiet --raw "$work/x-svg.png" || true)
if [ "$rendered" != "$content" ]; then
  echo "gui_end_to_end: the saved SVG renders as '$rendered'" >&2
  exit 1
fi
echo "gui_end_to_end: x.svg is SVG and renders as '$rendered'"

# The dialog now preselects the form last saved, SVG: f0 names f0.svg.
printf 'old' >"$work/f0.svg"
save_as "$work/f0"
if ! question=$(find_window '^确认保存$'); then
  echo "gui_end_to_end: saving f0 over f0.svg asked nothing" >&2
  exit 1
fi
[ "$(cat "$work/f0.svg")" = old ] || { echo "gui_end_to_end: f0.svg replaced before the answer" >&2; exit 1; }
xdotool windowfocus --sync "$question" key Return
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  grep -q '<svg' "$work/f0.svg" && break
  sleep 0.5
done
if ! grep -q '<svg' "$work/f0.svg"; then
  echo "gui_end_to_end: f0.svg was not replaced after OK" >&2
  exit 1
fi
echo "gui_end_to_end: saving f0 asked about f0.svg, then replaced it"

# A 96-pixel icon at level L: the page 高级 (Ctrl+Tab three times from the
# first), its icon path box at (120, 518), 256 x 20.
convert -size 96x96 xc:'#2040C0' "$work/icon.png"
xdotool mousemove $((left + 16 + 100)) $((top + 496 + 40)) click 1
xdotool key ctrl+Tab ctrl+Tab ctrl+Tab
sleep 0.5
xdotool mousemove $((left + 120 + 128)) $((top + 518 + 10)) click 1
xdotool type --delay 20 "$work/icon.png"
xdotool mousemove $((left + 8 + 32)) $((top + 665 + 12)) click 1
expect_label "$red" "$green"
echo "gui_end_to_end: with a 96-pixel icon at level L the scan label is red"
