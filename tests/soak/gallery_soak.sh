#!/usr/bin/env bash
# The skin gallery under long use: started under Wine in Xvfb and driven by a
# seeded random sequence of real X input (clicks on the controls of each
# page, page changes, caption buttons, menus opened and closed by mouse and
# keys, keys, resizes by the border, drags by the caption, the MDI demo's
# children made and closed, the open dialog and the About box opened and
# closed), with a skin switch among the Skin menu's items every few
# steps. Every N steps it records what the gallery holds (uiprobe stats) and
# the Wine process's resident memory. At the end it puts the starting skin
# back and checks that the framework's live counts and the skinner counts are
# those seen after the first switch to that skin, that no error report was
# shown, and that the gallery still answers a query and a click.
#   gallery_soak.sh [--seed N] [--seconds S] [--every N]
#                   WINE_STATE_DIR Gallery.exe uiprobe.exe WORK_DIR
# The same seed gives the same sequence of steps (replay with --seed and
# --seconds as printed).
set -euo pipefail
seed=${SOAK_SEED:-$(($(date +%s) % 32768))} seconds=60 every=5
while [ $# -gt 0 ] && [[ $1 == --* ]]; do
  case "$1" in
    --seed) seed=$2 ;;
    --seconds) seconds=$2 ;;
    --every) every=$2 ;;
    *) echo "unknown option $1"; exit 2 ;;
  esac
  shift 2
done
state=$1 program=$2 probe=$3 work=$4
source "$(dirname "$0")/../e2e/gallery_driver.sh"
prepare_gallery
start_probe_server
log="$work/counts.log"
demo="MDI Demo"
screen_width=1024 screen_height=768
# A skin switch every this many steps (a step takes one to three seconds).
switch_every=3

# r: a random number below $1. Set, not printed: a command substitution
# would draw from a copy of the generator and repeat the same number.
rand() { r=$((RANDOM % $1)); }

"$wine_env" exec "$state" "$work/Gallery.exe" 2>"$work/gallery.stderr" &
app=$!
trap 'kill $app $probe_server 2>/dev/null || true' EXIT
probe find "$title" TPageControl 0 20000 >/dev/null || fail "no gallery window"
sleep 1

# --- what the gallery holds ----------------------------------------------

# The value of NAME in a stats line.
count_of() { tr ' ' '\n' <<<"$1" | sed -n "s/^$2=//p"; }
# Resident memory of the Wine process that runs the gallery, in kB.
linux_rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$app/status" 2>/dev/null || echo 0; }
peak_working_set=0 peak_pagefile=0 peak_rss=0
record_counts() {
  local line rss value
  line=$(probe stats "$title" 5000) || true
  [ -n "$line" ] || fail "the gallery did not answer the stats query at step $step"
  rss=$(linux_rss)
  echo "step=$step skin=$skin $line linux.rssKB=$rss" >>"$log"
  value=$(count_of "$line" process.workingSetKB)
  [ "$value" -le "$peak_working_set" ] || peak_working_set=$value
  value=$(count_of "$line" process.pagefileKB)
  [ "$value" -le "$peak_pagefile" ] || peak_pagefile=$value
  [ "$rss" -le "$peak_rss" ] || peak_rss=$rss
  last_counts=$line
}
# The counts that must come back: the framework's handles (no dot in the
# name) and the skinners ("skin.").
owned_counts() { tr ' ' '\n' <<<"$1" | grep -v '^process\.' | tr '\n' ' '; }

# --- the state between steps ---------------------------------------------

errors=()
# Any dialog box of the gallery's process left open after a step is an
# error report (the steps close the boxes they open themselves).
check_no_dialogs() {
  local boxes
  boxes=$(probe dialogs "$title" 2000) || true
  if [ -n "$boxes" ]; then
    errors+=("step $step ($action): $boxes")
    fail "a dialog box is showing after step $step ($action): $boxes"
  fi
}
# Popup menus closed, the window neither minimised nor maximised.
settle() {
  local tries
  for tries in 1 2 3; do
    probe popup "$title" 0 >/dev/null || break
    xdotool key Escape
    sleep 0.3
  done
  if probe iconic "$title" 0; then probe restore "$title" >/dev/null; sleep 0.5; fi
  if probe zoomed "$title" 0; then
    probe restore "$title" >/dev/null
    sleep 0.5
  fi
}
# Keys reach the gallery once it is the active window: a click on its caption.
activate_gallery() {
  local x y
  read -r x y <<<"$(caption_point)"
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
}

# --- the steps -----------------------------------------------------------

pages=(Buttons Lists Text Ranges)
page=0
# The controls of each page: window class and how many of it there are.
controls_Buttons=(TButton:2 TBitBtn:1 TCheckBox:3 TRadioButton:3 TPanel:3 TGroupBox:3)
controls_Lists=(TListBox:1 TLeftScrollListBox:1 TMemo:1 TListView:1 TScrollBar:2)
controls_Text=(TEdit:2 TSpinEdit:1 TComboBox:2 TDateTimePicker:1 TTabSet:1)
controls_Ranges=(TTrackBar:2 TUpDown:1 TEdit:1)

choose_page() {
  local tab=$1 al at ar ab
  read -r al at ar ab <<<"$(value_of TPageControl 0 "tabrect$tab")" || true
  [ -n "${ab:-}" ] || return 0
  xdotool mousemove $(((al + ar) / 2)) $(((at + ab) / 2)) click 1
  # A click straight after a drag may be taken as its end: a second one,
  # as a user would.
  if ! probe until "$title" TPageControl 0 tabsel eq "$tab" 3000; then
    xdotool click 1
    probe until "$title" TPageControl 0 tabsel eq "$tab" 3000 ||
      fail "the ${pages[$tab]} tab was not chosen ($(probe threadstate "$title" 2000))"
  fi
  page=$tab
}

click_control() {
  local name="controls_${pages[$page]}[@]" list entry class count l t rr b
  list=("${!name}")
  rand ${#list[@]}
  entry=${list[$r]}
  class=${entry%%:*} count=${entry##*:}
  rand "$count"
  action="click $class $r"
  read -r l t rr b <<<"$(find_control "$class" "$r")" || true
  [ -n "${b:-}" ] && [ $((rr - l)) -gt 4 ] && [ $((b - t)) -gt 4 ] || return 0
  local x y
  rand $((rr - l - 4)); x=$((l + 2 + r))
  rand $((b - t - 4)); y=$((t + 2 + r))
  xdotool mousemove "$x" "$y" click 1
  sleep 0.4
  case "$class" in
    TComboBox | TDateTimePicker)
      # An open drop-down list or calendar: an item chosen, or Escape.
      rand 2
      if [ "$r" = 0 ] && probe find - ComboLBox 0 0 >/dev/null; then
        read -r l t rr b <<<"$(probe find - ComboLBox 0 0)"
        xdotool mousemove $(((l + rr) / 2)) $((t + 8)) click 1
      else
        xdotool key Escape
      fi
      sleep 0.3
      ;;
  esac
}

press_keys() {
  local keys=(Tab shift+Tab Left Right Up Down space) n i
  activate_gallery
  rand 4; n=$((r + 1))
  action="keys"
  for ((i = 0; i < n; ++i)); do
    rand ${#keys[@]}
    action+=" ${keys[$r]}"
    xdotool key "${keys[$r]}"
    sleep 0.15
  done
  # An arrow key on the tab strip changes the page: read which one is shown.
  local shown
  shown=$(value_of TPageControl 0 tabsel) || true
  [[ $shown =~ ^[0-3]$ ]] && page=$shown
  return 0
}

menu_by_mouse() {
  local x y
  read -r x y <<<"$(probe menuband "$title" 2000)" || true
  [ -n "${y:-}" ] || return 0
  rand 120; x=$((x + r))
  action="menu by mouse at +$r"
  xdotool mousemove "$x" "$y" click 1
  probe popup "$title" 3000 >/dev/null || true
  rand 3
  if [ "$r" = 0 ]; then
    # Along the bar to the next menu.
    xdotool mousemove $((x + 40)) "$y"
    sleep 0.4
  fi
  xdotool key Escape
  sleep 0.3
  xdotool key Escape
  sleep 0.3
}

menu_by_keys() {
  local menus=(f s w h) downs i
  activate_gallery
  rand ${#menus[@]}
  action="menu alt+${menus[$r]}"
  xdotool key "alt+${menus[$r]}"
  sleep 0.4
  rand 4; downs=$r
  for ((i = 0; i < downs; ++i)); do
    xdotool key Down
    sleep 0.15
  done
  rand 2
  if [ "$r" = 0 ]; then
    xdotool key Right
    sleep 0.3
  fi
  xdotool key Escape
  sleep 0.3
  xdotool key Escape
  sleep 0.3
}

context_menu() {
  local left top right bottom
  [ "$page" = 0 ] || choose_page 0
  read -r left top right bottom <<<"$(probe rect "$title")"
  action="context menu"
  xdotool mousemove $((left + 300)) $((top + 330)) click 3
  probe popup "$title" 3000 >/dev/null || true
  xdotool key Escape
  sleep 0.3
}

caption_buttons() {
  local x y
  rand 2
  if [ "$r" = 0 ]; then
    action="minimise and restore"
    read -r x y <<<"$(probe minbox "$title" 2000)" || true
    [ -n "${y:-}" ] || return 0
    xdotool mousemove "$x" "$y" click 1
    probe iconic "$title" 3000 || fail "the minimise box did not minimise the gallery"
    sleep 0.3
    probe restore "$title" >/dev/null
  else
    action="maximise and restore"
    read -r x y <<<"$(probe maxbox "$title" 2000)" || true
    [ -n "${y:-}" ] || return 0
    xdotool mousemove "$x" "$y" click 1
    probe zoomed "$title" 3000 || fail "the maximise box did not maximise the gallery"
    sleep 0.5
    read -r x y <<<"$(probe maxbox "$title" 2000)" || true
    [ -n "${y:-}" ] || fail "the maximised gallery has no restore box"
    xdotool mousemove "$x" "$y" click 1
  fi
  sleep 0.5
}

resize_by_border() {
  local left top right bottom width height
  read -r left top right bottom <<<"$(probe rect "$title")"
  rand 340; width=$((560 + r))
  rand 280; height=$((420 + r))
  [ $((left + width)) -le $screen_width ] || width=$((screen_width - left))
  [ $((top + height)) -le $screen_height ] || height=$((screen_height - top))
  action="resize to ${width}x$height"
  # The lower right corner, just inside the frame.
  drag $((right - 2)) $((bottom - 2)) $((left + width - 2)) $((top + height - 2))
}

# The window dragged by its caption from LEFT,TOP to NEWLEFT,NEWTOP.
drag_to() {
  local left=$1 top=$2 x y
  read -r x y <<<"$(caption_point)"
  drag "$x" "$y" $((x + $3 - left)) $((y + $4 - top))
}
drag_by_caption() {
  local left top right bottom nx ny
  read -r left top right bottom <<<"$(probe rect "$title")"
  rand $((screen_width - (right - left) + 1)); nx=$r
  rand $((screen_height - (bottom - top) + 1)); ny=$r
  action="drag to $nx,$ny"
  drag_to "$left" "$top" "$nx" "$ny"
}

# The skin in force: one of the Skin menu's items, in its order.
skin=default
switches=0
switch_skin() {
  local names=(default dark flat meridian meridian_dark none)
  rand ${#names[@]}
  activate_gallery
  action="skin ${names[$r]}"
  choose_skin "$r"
  skin=${names[$r]}
  switches=$((switches + 1))
  if [ "$skin" = none ]; then
    if probe skinned "$title"; then fail "still skinned after choosing No Skin"; fi
  else
    probe skinned "$title" || fail "not skinned after choosing the $skin skin"
  fi
}

# Item ITEM (from 1) of a window's menu: the first bar item clicked, Right
# moves along the bar, Down along the menu, Enter chooses. A menu opened
# by Right starts with its first item selected, and so does a skinned
# bar's menu opened by a click; the system's opened by a click does not.
menu_pick() {
  local window=$1 rights=$2 item=$3 x y i downs
  read -r x y <<<"$(probe menuband "$window" 2000)" || true
  [ -n "${y:-}" ] || fail "no menu bar on $window"
  downs=$((item - 1))
  [ "$rights" -gt 0 ] || probe skinned "$window" || downs=$item
  xdotool mousemove "$x" "$y" click 1
  probe popup "$window" 3000 >/dev/null || fail "clicking the menu bar of $window opened no menu"
  for ((i = 0; i < rights; ++i)); do
    xdotool key Right
    sleep 0.3
  done
  for ((i = 0; i < downs; ++i)); do
    xdotool key Down
    sleep 0.15
  done
  xdotool key Return
  sleep 0.4
}

# Window > MDI Demo..., a few children made (File > New Child), maybe tiled
# or cascaded (Window, past the child's Edit menu), then each closed (File >
# Close Child) and the demo closed by its close box.
children_made=0
mdi_episode() {
  local n i x y
  menu_pick "$title" 2 1
  probe rect "$demo" 5000 >/dev/null || fail "no MDI demo window"
  sleep 0.5
  rand 3; n=$((r + 1))
  action="MDI demo with $n children"
  for ((i = 0; i < n; ++i)); do
    menu_pick "$demo" 0 1
    children_made=$((children_made + 1))
    probe rect "$demo>Document $children_made" 3000 >/dev/null || fail "File > New Child made no Document $children_made"
    sleep 0.3
  done
  rand 3
  case "$r" in
    0) menu_pick "$demo" 2 1; action+=", tiled" ;;
    1) menu_pick "$demo" 2 2; action+=", cascaded" ;;
  esac
  sleep 0.3
  for ((i = 0; i < n; ++i)); do
    menu_pick "$demo" 0 2
  done
  for ((i = children_made - n + 1; i <= children_made; ++i)); do
    probe gone "$demo>Document $i" 3000 || fail "File > Close Child left Document $i open"
  done
  read -r x y <<<"$(probe closebox "$demo" 2000)" || true
  [ -n "${y:-}" ] || fail "the MDI demo has no close box"
  xdotool mousemove "$x" "$y" click 1
  probe gone "$demo" 3000 || fail "the MDI demo's close box did not close it"
  sleep 0.3
}

open_dialog() {
  activate_gallery
  action="open dialog"
  xdotool key ctrl+o
  probe rect "Open Skin File" 5000 >/dev/null || fail "no open dialog"
  sleep 0.5
  xdotool key Escape
  probe gone "Open Skin File" 3000 || fail "Escape did not close the open dialog"
}

about_box() {
  local boxes i
  action="about box"
  menu_pick "$title" 3 1
  for ((i = 0; i < 40; ++i)); do
    boxes=$(probe dialogs "$title") || true
    [ -z "$boxes" ] || break
    sleep 0.25
  done
  [[ $boxes == "Skin Gallery|Skin Gallery "* ]] || fail "Help > About showed \"$boxes\""
  xdotool key Return
  sleep 0.5
}

# One random step other than a skin switch; the weights favour input on
# the controls.
random_step() {
  rand 20
  case "$r" in
    0 | 1 | 2 | 3 | 4 | 5) click_control ;;
    6 | 7)
      rand 4
      action="page ${pages[$r]}"
      choose_page "$r"
      ;;
    8 | 9) press_keys ;;
    10) menu_by_mouse ;;
    11) menu_by_keys ;;
    12) context_menu ;;
    13) caption_buttons ;;
    14) resize_by_border ;;
    15) drag_by_caption ;;
    16) mdi_episode ;;
    17) open_dialog ;;
    18) about_box ;;
    19) click_control ;;
  esac
}

# --- the run -------------------------------------------------------------

RANDOM=$seed
step=0 action=start
echo "soak: seed $seed, $seconds seconds, counts every $every steps" | tee "$log"

# The state the counts are compared in, reached the same way at the start
# and at the end: the default skin chosen from the Skin menu, every page
# shown once (controls and their skinners make some things when they first
# paint and keep them as long as they live), the Buttons page, and the MDI
# demo shown and closed under that skin (it is made on first use and then
# kept hidden; a hidden window gets its skin again when it is next shown).
# The combo boxes' lists and the date picker's calendar dropped down and
# closed without a skin: the system makes some of their windows on first
# use and keeps them, and the next skin gives them skinners of their own.
drop_down_once() {
  local control left top right bottom
  choose_page 2
  for control in "TComboBox 0" "TComboBox 1" "TDateTimePicker 0"; do
    read -r left top right bottom <<<"$(find_control $control)" || true
    [ -n "${bottom:-}" ] || continue
    xdotool mousemove $((right - 8)) $(((top + bottom) / 2)) click 1
    sleep 0.5
    xdotool key Escape
    sleep 0.3
  done
  choose_page 0
}

start_size=
reach_counted_state() {
  local tab warm left top right bottom width height
  settle
  # The size it started with (a narrow window shows the tab strips' arrows,
  # which have skinners of their own).
  read -r left top right bottom <<<"$(probe rect "$title")"
  if [ -z "$start_size" ]; then
    start_size="$((right - left)) $((bottom - top))"
  else
    read -r width height <<<"$start_size"
    [ $((left + width)) -le $screen_width ] && [ $((top + height)) -le $screen_height ] \
      || drag_to "$left" "$top" 0 0
    read -r left top right bottom <<<"$(probe rect "$title")"
    drag $((right - 2)) $((bottom - 2)) $((left + width - 2)) $((top + height - 2))
  fi
  # Under the dark and the flat skin and without one, every page shown: what controls
  # make when they first paint is kept as long as they live, so it is made
  # on the way to both counts alike. The same way from here on.
  for warm in 1 2 3; do
    activate_gallery
    choose_skin "$warm"
    switches=$((switches + 1))
    for tab in 1 2 3 0; do
      choose_page "$tab"
      sleep 0.5
    done
    [ "$warm" != 3 ] || drop_down_once
  done
  activate_gallery
  choose_skin 0
  switches=$((switches + 1))
  skin=default
  probe skinned "$title" || fail "not skinned after choosing the default skin"
  for tab in 1 2 3 0; do
    choose_page "$tab"
    sleep 0.5
  done
  # The context menu's system menus are made when it first pops up.
  context_menu
  settle
  mdi_episode
  check_no_dialogs
  sleep 1
  record_counts
  # Which skinners there are, to name the one a count lost or gained.
  last_skinners=$(probe skinners "$title" 5000 | tr ' ' '\n' | sort) || true
}

# The MDI demo is made on first use and then kept: made before the way to
# the counts starts, as it is there at the end.
mdi_episode
reach_counted_state
start_counts=$last_counts start_skinners=$last_skinners

deadline=$((SECONDS + seconds))
while [ $SECONDS -lt $deadline ]; do
  step=$((step + 1))
  action=
  if [ $((step % switch_every)) = 0 ]; then
    switch_skin
  else
    random_step
  fi
  kill -0 $app 2>/dev/null || fail "the gallery ended during step $step ($action)"
  settle
  check_no_dialogs
  [ $((step % every)) != 0 ] || record_counts
  echo "step $step: $action" >>"$log"
done

action=end
reach_counted_state
end_counts=$last_counts end_skinners=$last_skinners

echo "soak: seed $seed, $step steps, $switches skin switches in $seconds seconds"
echo "counts at start: $start_counts"
echo "counts at end:   $end_counts"
echo "peak memory: working set ${peak_working_set} kB, pagefile ${peak_pagefile} kB, Linux RSS ${peak_rss} kB"
[ "$(owned_counts "$start_counts")" = "$(owned_counts "$end_counts")" ] \
  || fail "the live counts did not come back (seed $seed): $(diff <(owned_counts "$start_counts" | tr ' ' '\n') \
    <(owned_counts "$end_counts" | tr ' ' '\n') | grep '^[<>]' | tr '\n' ' ');\
 skinners: $(diff <(echo "$start_skinners") <(echo "$end_skinners") | grep '^[<>]' | tr '\n' ' ')"
[ ${#errors[@]} = 0 ] || fail "error reports: ${errors[*]}"

# Still answering: the query, and a real click that changes a check box.
probe skinned "$title" || fail "the gallery does not answer the skin query"
before=checked
probe checked "$title" "Unchecked" 2000 || before=unchecked
read -r x y <<<"$(probe control "$title" "Unchecked")"
xdotool mousemove "$x" "$y" click 1
sleep 0.5
after=checked
probe checked "$title" "Unchecked" 2000 || after=unchecked
[ "$before" != "$after" ] || fail "a click on the check box did not change it (seed $seed)"

probe close "$title" || fail "no window to close"
probe gone "$title" 10000 || fail "the gallery did not close"
wait $app || true
echo "soak gallery: ok (seed $seed)"
