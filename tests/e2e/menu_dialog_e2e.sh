#!/usr/bin/env bash
# A dialog-based program (menu_dialog.exe: a dialog box with a menu bar as
# its main window, Escape meaning Cancel) under the skin, with real keys:
# after Alt+F the first Escape closes the File menu and leaves File selected
# on the bar (Down opens it again), the second leaves the bar, and only the
# third reaches the dialog, which closes, as under the system's own bar.
#   menu_dialog_e2e.sh WINE_STATE_DIR menu_dialog.exe uiprobe.exe SKIN_FILE WORK_DIR
set -euo pipefail
state=$1 program=$2 probe=$3 skin=$4 work=$5
source "$(dirname "$0")/gallery_driver.sh"
title="Menu Dialog"
rm -rf "$work" && mkdir -p "$work"
"$wine_env" start "$state"
DISPLAY=$(cat "$state/display")
export DISPLAY
"$wine_env" exec "$state" "$program" "$skin" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
probe rect "$title" 20000 >/dev/null || fail "no dialog window"
sleep 1
probe skinned "$title" || fail "the dialog is not skinned"

open_file() {
  read -r left top right bottom <<<"$(probe popup "$title" 5000)" || true
  [ -n "${left:-}" ] || fail "$1 opened no menu"
}
closed() {
  sleep 0.5
  if probe popup "$title" 0 >/dev/null; then fail "$1 left the menu open"; fi
  probe rect "$title" 0 >/dev/null || fail "$1 closed the dialog"
}

xdotool key alt+f
open_file "Alt+F"
import -window root "$work/alt-f.png"
xdotool key Escape
closed "the first Escape"
import -window root "$work/escape-once.png"
# File is still selected on the bar: Down opens it again.
xdotool key Down
open_file "Down after one Escape"
xdotool key Escape
closed "Escape in the menu opened again"
xdotool key Escape
closed "the second Escape"
import -window root "$work/escape-twice.png"
# Out of the menu, Escape is the dialog's Cancel.
xdotool key Escape
probe gone "$title" 10000 || fail "Escape outside the menu did not reach the dialog"
wait $app || true
echo "e2e menu_dialog: ok"
