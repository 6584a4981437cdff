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
# with xclip, and that picture must scan to the same text.
# Exits 77 (skipped) when Xvfb, xdotool, ImageMagick, zbarimg or xclip is missing.
set -euo pipefail

gui=$1
keep=${2:-}
for tool in xvfb-run xdotool xmodmap import convert zbarimg xclip; do
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
export XDG_RUNTIME_DIR=$work

content='qrsmith 端到端 test 二维码'
"$gui" >"$work/gui.log" 2>&1 &
pid=$!
xdotool search --sync --onlyvisible --name '^qrsmith' >/dev/null

# Without a window manager the window sits at (50, 50) with no frame: the
# content box is at (16, 496) and the Generate button at (8, 635) inside it.
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
xdotool mousemove $((left + 8 + 32)) $((top + 635 + 12)) click 1

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
  convert "$work/screen.png" -crop 472x667+$left+$top +repage "$keep"
fi
if [ "$decoded" != "$content" ]; then
  echo "gui_end_to_end: typed '$content', the preview reads '$decoded'" >&2
  cat "$work/gui.log" >&2
  exit 1
fi
echo "gui_end_to_end: the preview reads '$decoded'"

# Copy: the button at (249, 634), 88 x 24; the clipboard offers the picture as PNG.
xdotool mousemove $((left + 249 + 44)) $((top + 634 + 12)) click 1
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
