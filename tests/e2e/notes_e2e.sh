#!/usr/bin/env bash
# The SDK's example program, Notes (a plain Win32 program in C), used as a
# user would under the skin: its skinned File menu opened with Alt+F and
# with the mouse, a command run from the keys, its own owner-drawn items
# drawn by itself, its status bar following.
#   notes_e2e.sh WINE_STATE_DIR notes.exe uiprobe.exe SKIN_FILE WORK_DIR
set -euo pipefail
state=$1 program=$2 probe=$3 skin=$4 work=$5
source "$(dirname "$0")/gallery_driver.sh"
title=Notes
rm -rf "$work" && mkdir -p "$work"
"$wine_env" start "$state"
DISPLAY=$(cat "$state/display")
export DISPLAY
"$wine_env" exec "$state" "$program" --skin "$skin" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
probe rect "$title" 20000 >/dev/null || fail "no Notes window"
sleep 1
probe skinned "$title" || fail "Notes is not skinned"

# Alt+F opens the skinned File menu; Escape twice closes it.
xdotool key alt+f
read -r left top right bottom <<<"$(probe popup "$title" 5000)" || true
[ -n "${left:-}" ] || fail "Alt+F opened no menu"
xdotool key Escape
sleep 0.3
xdotool key Escape
sleep 0.5
if probe popup "$title" 0 >/dev/null; then fail "Escape left the File menu open"; fi

# The mouse on the bar opens it too.
read -r x y <<<"$(probe menuband "$title")"
xdotool mousemove "$x" "$y" click 1
read -r left top right bottom <<<"$(probe popup "$title" 5000)" || true
[ -n "${left:-}" ] || fail "a click on the bar opened no menu"
xdotool key Escape
sleep 0.5

# Edit opened from the keys shows the program's own colour items as the
# program draws them (its red swatch); Up from the first item wraps to the
# last, Blue, and Enter runs it: the program's status bar says so.
xdotool key alt+e
read -r left top right bottom <<<"$(probe popup "$title" 5000)" || true
[ -n "${left:-}" ] || fail "Alt+E opened no menu"
sleep 0.5
import -window root "$work/edit-menu.png"
red=$(convert "$work/edit-menu.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
  -fill black +opaque "rgb(200,40,40)" -fill white -opaque "rgb(200,40,40)" -format "%[fx:round(mean*w*h)]" info:)
[ "$red" -gt 50 ] || fail "the program's own red item is not drawn by the program ($red red pixels)"
xdotool key Up
sleep 0.2
xdotool key Return
probe until "$title" msctls_statusbar32 0 text eq "Blue" 5000 \
  || fail "the status bar says \"$(probe value "$title" msctls_statusbar32 0 text)\" after choosing Blue"

# Alt+F, X (Exit) ends the program.
xdotool key alt+f
sleep 0.5
xdotool key x
probe gone "$title" 10000 || fail "Exit from the skinned File menu did not end Notes"
wait $app || true
echo "e2e notes: ok"
