# What the gallery's drivers share (sourced by gallery_e2e.sh and the soak):
# the gallery copied beside its skins into a work folder and Wine started,
# the probe, and real input as a user gives it. The sourcing script sets
# `state` (the Wine state folder), `program` (Gallery.exe), `probe` (the path
# of uiprobe.exe) and `work` (the work folder) before calling
# prepare_gallery.
driver_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_env="$driver_dir/../../scripts/wine-env"
title="Skin Gallery"

# The gallery as a user has it: the program, which carries the default
# skin inside it, and the other skins of its Skin menu beside it.
prepare_gallery() {
  rm -rf "$work" && mkdir -p "$work"
  local bin
  bin=$(dirname "$program")
  cp "$program" "$bin/dark.skin" "$bin/flat.skin" "$bin/meridian.skin" "$bin/meridian_dark.skin" "$work/"
  "$wine_env" start "$state"
  DISPLAY=$(cat "$state/display")
  export DISPLAY
}

# Each question starts uiprobe under Wine, unless start_probe_server has
# started one that answers them all (a long run asks thousands).
probe() {
  if [ -n "${probe_in:-}" ]; then
    local IFS=$'\t' line
    printf '%s\n' "$*" >&"$probe_in"
    while IFS= read -r line <&"$probe_out"; do
      if [[ $line == "=> "* ]]; then return "${line#=> }"; fi
      printf '%s\n' "$line"
    done
    fail "uiprobe serve ended"
  fi
  # What Wine or the probe says goes to the work folder, for a failure
  # that comes from the probe rather than the gallery.
  "$wine_env" exec "$state" "$probe" "$@" 2>>"$work/probe.stderr" | tr -d '\r'
}
# Fifos rather than a coprocess, so that every subshell can ask too.
start_probe_server() {
  rm -f "$work/probe.in" "$work/probe.out"
  mkfifo "$work/probe.in" "$work/probe.out"
  "$wine_env" exec "$state" "$probe" serve <"$work/probe.in" >"$work/probe.out" 2>/dev/null &
  probe_server=$!
  exec {probe_in}>"$work/probe.in" {probe_out}<"$work/probe.out"
}
fail() {
  echo "FAIL: $*"
  import -window root "$work/failure.png" 2>/dev/null || true
  exit 1
}
# "R G B" of one screen pixel in a screenshot.
pixel() {
  local at="p{$2,$3}"
  convert "$1" -format "%[fx:round(255*$at.r)] %[fx:round(255*$at.g)] %[fx:round(255*$at.b)]" info:
}
# Sum of the three channels.
brightness() {
  local r g b
  read -r r g b <<<"$1"
  echo $((r + g + b))
}
# A point inside the caption band, clear of the icon, the text and the
# buttons: two thirds of the way along, ten pixels down.
caption_point() {
  local left top right bottom
  read -r left top right bottom <<<"$(probe rect "$title")"
  echo "$((left + (right - left) * 2 / 3)) $((top + 10))"
}
# Alt+S opens the Skin menu with its first entry selected; each Down moves
# one entry on; Enter chooses.
choose_skin() {
  local downs=$1 i
  xdotool key alt+s
  sleep 0.5
  for ((i = 0; i < downs; ++i)); do
    xdotool key Down
    sleep 0.2
  done
  xdotool key Return
  # The skin engine carries the request out from its 250 ms action timer.
  sleep 1.5
}
# The left mouse button pressed at one point, moved to another in steps, as
# a hand drags, and released there.
drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 steps=8 i
  xdotool mousemove "$x0" "$y0"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  for ((i = 1; i <= steps; ++i)); do
    xdotool mousemove $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
    sleep 0.1
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}
# The gallery's control of a window class by its index on the page shown.
find_control() { probe find "$title" "$1" "$2"; }
value_of() { probe value "$title" "$1" "$2" "$3"; }
