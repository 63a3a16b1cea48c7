#!/usr/bin/env bash
# Starts the skin gallery under Wine in Xvfb and switches its skin from the
# keyboard, as a user would (xdotool), checking the screen's pixels and the
# window's answer to the skin's query after each step. Only keys reach the
# menus, so the script works whether the menu bar is the system's or skinned.
#   gallery_e2e.sh switch_skins|context_menu|menu_bar|mdi_demo|skinned_start WINE_STATE_DIR Gallery.exe uiprobe.exe WORK_DIR
set -euo pipefail
scenario=$1 state=$2 program=$3 probe=$4 work=$5
here=$(cd "$(dirname "$0")" && pwd)
wine_env="$here/../../scripts/wine-env"
title="Skin Gallery"

# The gallery finds its two skins beside itself.
rm -rf "$work" && mkdir -p "$work"
bin=$(dirname "$program")
cp "$program" "$bin/default.skin" "$bin/dark.skin" "$work/"
"$wine_env" start "$state"
DISPLAY=$(cat "$state/display")
export DISPLAY

probe() { "$wine_env" exec "$state" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
fail() {
  echo "FAIL: $*"
  import -window root "$work/failure.png" 2>/dev/null || true
  exit 1
}
# "R G B" of one screen pixel in a screenshot.
pixel() {
  convert "$1" -format "%[pixel:p{$2,$3}]" info: | tr -dc '0-9,' | tr ',' ' '
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
# A point of the raised panel on the Buttons page, above its caption.
panel_point() {
  local x y
  read -r x y <<<"$(probe control "$title" "A raised panel")"
  echo "$x $((y - 30))"
}
# Alt+S opens the Skin menu with its first entry selected; each Down moves
# one entry on; Enter chooses.
choose_skin() {
  local downs=$1
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

"$wine_env" exec "$state" "$work/Gallery.exe" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

probe control "$title" "Push me" 20000 >/dev/null || fail "no gallery window"
sleep 1
probe skinned "$title" || fail "the gallery does not start skinned"

case "$scenario" in
  switch_skins)
    # Keyboard focus into the gallery: a click on its push button.
    read -r x y <<<"$(probe control "$title" "Push me")"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.5
    read -r cx cy <<<"$(caption_point)"
    read -r px py <<<"$(panel_point)"
    import -window root "$work/default.png"
    caption_before=$(pixel "$work/default.png" "$cx" "$cy")
    panel_before=$(pixel "$work/default.png" "$px" "$py")

    choose_skin 1  # Default, Dark
    probe skinned "$title" || fail "not skinned after choosing Dark"
    read -r cx cy <<<"$(caption_point)"
    import -window root "$work/dark.png"
    caption_after=$(pixel "$work/dark.png" "$cx" "$cy")
    panel_after=$(pixel "$work/dark.png" "$px" "$py")
    [ "$caption_before" != "$caption_after" ] || fail "the caption at $cx,$cy kept its colour ($caption_before)"
    # The dark skin's panels are dark where the default skin's are light.
    [ "$(brightness "$panel_before")" -gt 600 ] || fail "the default skin's panel at $px,$py is not light: $panel_before"
    [ "$(brightness "$panel_after")" -lt 300 ] || fail "the dark skin's panel at $px,$py is not dark: $panel_after"

    choose_skin 2  # Default, Dark, No Skin
    if probe skinned "$title"; then fail "still skinned after choosing No Skin"; fi
    import -window root "$work/none.png"

    choose_skin 0  # Default: skinned again
    probe skinned "$title" || fail "not skinned after choosing Default again"
    read -r cx cy <<<"$(caption_point)"
    import -window root "$work/default-again.png"
    [ "$(pixel "$work/default-again.png" "$cx" "$cy")" = "$caption_before" ] \
      || fail "the default skin's caption does not come back at $cx,$cy"
    ;;
  context_menu)
    # A right click on the Buttons page, below its labels, opens the page's
    # context menu there; Escape closes it.
    read -r left top right bottom <<<"$(probe rect "$title")"
    x=$((left + 300)) y=$((top + 330))
    xdotool mousemove "$x" "$y" click 3
    read -r mleft mtop mright mbottom <<<"$(probe popup "$title" 5000)" || true
    [ -n "${mleft:-}" ] || fail "no context menu after a right click at $x,$y"
    [ "$mleft" -ge "$((x - 2))" ] && [ "$mtop" -ge "$((y - 2))" ] || fail "the menu opened at $mleft,$mtop, not at $x,$y"
    import -window root "$work/context.png"
    xdotool key Escape
    sleep 0.5
    if probe popup "$title" 0 >/dev/null; then fail "Escape left the context menu open"; fi
    ;;
  menu_bar)
    # The skinned bar with the real mouse: a click on "File" opens its menu;
    # moving right along the bar opens the next item's ("Skin") in its place.
    read -r x y <<<"$(probe menuband "$title")"
    [ -n "${y:-}" ] || fail "no menu bar found by hit testing"
    xdotool mousemove "$x" "$y" click 1
    read -r fleft ftop fright fbottom <<<"$(probe popup "$title" 5000)" || true
    [ -n "${fleft:-}" ] || fail "clicking File at $x,$y opened no menu"
    [ "$ftop" -ge "$y" ] || fail "the File menu opened above the bar ($ftop)"
    import -window root "$work/file-menu.png"
    moved=
    for ((dx = 8; dx <= 160; dx += 8)); do
      xdotool mousemove $((x + dx)) "$y"
      sleep 0.3
      read -r sleft stop sright sbottom <<<"$(probe popup "$title" 0)" || true
      if [ -n "${sleft:-}" ] && [ "$sleft" -gt "$fleft" ]; then moved=$dx; break; fi
    done
    [ -n "$moved" ] || fail "moving along the bar opened no other menu"
    import -window root "$work/skin-menu.png"
    xdotool key Escape
    sleep 0.5
    if probe popup "$title" 0 >/dev/null; then xdotool key Escape; sleep 0.5; fi
    if probe popup "$title" 0 >/dev/null; then fail "Escape left a menu open"; fi

    # Under the dark skin a right click on the Buttons page opens the
    # context menu drawn with the skin: dark where the system's is light.
    read -r bx by <<<"$(probe control "$title" "Push me")"
    xdotool mousemove "$bx" "$by" click 1
    sleep 0.5
    choose_skin 1
    probe skinned "$title" || fail "not skinned after choosing Dark"
    read -r left top right bottom <<<"$(probe rect "$title")"
    xdotool mousemove $((left + 300)) $((top + 330)) click 3
    read -r mleft mtop mright mbottom <<<"$(probe popup "$title" 5000)" || true
    [ -n "${mleft:-}" ] || fail "no context menu"
    sleep 0.5
    import -window root "$work/context-dark.png"
    inside=$(pixel "$work/context-dark.png" $((mright - 8)) $(((mtop + mbottom) / 2)))
    [ "$(brightness "$inside")" -lt 300 ] || fail "the context menu is not drawn with the dark skin: $inside"
    xdotool key Escape
    sleep 0.5
    ;;
  mdi_demo)
    # Window > MDI Demo... from the keyboard opens the skinned frame.
    demo="MDI Demo"
    xdotool key alt+w
    sleep 0.5
    xdotool key Return
    probe rect "$demo" 10000 >/dev/null || fail "no MDI demo window"
    sleep 1
    probe skinned "$demo" || fail "the MDI demo frame is not skinned"

    # Three children through File > New Child, with the mouse on the bar.
    for n in 1 2 3; do
      read -r x y <<<"$(probe menuband "$demo")"
      [ -n "${y:-}" ] || fail "no menu bar on the MDI demo"
      xdotool mousemove "$x" "$y" click 1
      read -r fleft ftop fright fbottom <<<"$(probe popup "$demo" 5000)" || true
      [ -n "${fleft:-}" ] || fail "clicking File at $x,$y opened no menu"
      xdotool mousemove $((fleft + 30)) $((ftop + 10)) click 1
      probe rect "$demo>Document $n" 5000 >/dev/null || fail "File > New Child made no Document $n"
      sleep 0.5
      probe skinned "$demo>Document $n" || fail "Document $n is not skinned"
    done
    import -window root "$work/three-children.png"

    # Maximise the active child by its skinned caption button.
    read -r x y <<<"$(probe maxbox "$demo>Document 3")" || true
    [ -n "${y:-}" ] || fail "Document 3 has no maximise box"
    read -r bx by <<<"$(probe menuband "$demo")"
    read -r left top right bottom <<<"$(probe rect "$demo")"
    import -window root "$work/before-maximise.png"
    xdotool mousemove "$x" "$y" click 1
    probe zoomed "$demo>Document 3" 5000 || fail "the maximise box did not maximise Document 3"
    sleep 1
    xdotool mousemove $((left + 10)) $((bottom - 10))
    sleep 0.5
    import -window root "$work/maximised.png"
    # The bar's buttons: the rightmost pixel of the bar's middle row that
    # changed when the child was maximised is the close button's.
    width=$((right - left))
    row() { convert "$1" -crop "${width}x1+${left}+${by}" txt:- | tail -n +2 | awk '{print $3}'; }
    changed=$(paste <(row "$work/before-maximise.png") <(row "$work/maximised.png") \
      | awk '$1 != $2 { last = NR - 1 } END { if (last != "") print last }')
    [ -n "$changed" ] || fail "no MDI buttons appeared in the bar of the MDI demo"
    [ "$changed" -gt $((width / 2)) ] || fail "the bar changed at $changed, not at its right end"
    xdotool mousemove $((left + changed - 5)) "$by" click 1
    probe gone "$demo>Document 3" 5000 || fail "the bar's close button did not close Document 3"
    sleep 1
    import -window root "$work/closed-maximised.png"

    # Window > Tile with the mouse: along the bar to the third menu.
    read -r x y <<<"$(probe menuband "$demo")"
    xdotool mousemove "$x" "$y" click 1
    lefts=()
    read -r pleft ptop pright pbottom <<<"$(probe popup "$demo" 5000)" || true
    [ -n "${pleft:-}" ] || fail "clicking File opened no menu"
    lefts+=("$pleft")
    for ((dx = 8; dx <= 240 && ${#lefts[@]} < 3; dx += 8)); do
      xdotool mousemove $((x + dx)) "$y"
      sleep 0.3
      read -r pleft ptop pright pbottom <<<"$(probe popup "$demo" 0)" || true
      if [ -n "${pleft:-}" ] && [ "$pleft" -gt "${lefts[-1]}" ]; then lefts+=("$pleft"); fi
    done
    [ "${#lefts[@]}" -eq 3 ] || fail "the bar does not show File, Edit and Window (${#lefts[@]} menus found)"
    xdotool mousemove $((pleft + 30)) $((ptop + 10)) click 1
    sleep 1
    read -r l1 t1 r1 b1 <<<"$(probe rect "$demo>Document 1")"
    read -r l2 t2 r2 b2 <<<"$(probe rect "$demo>Document 2")"
    # Tiled: side by side or one above the other, never overlapping.
    if [ "$r1" -gt "$l2" ] && [ "$r2" -gt "$l1" ] && [ "$b1" -gt "$t2" ] && [ "$b2" -gt "$t1" ]; then
      fail "Documents 1 and 2 overlap after Tile ($l1 $t1 $r1 $b1 / $l2 $t2 $r2 $b2)"
    fi
    probe skinned "$demo" || fail "the frame lost its skin"
    probe skinned "$demo>Document 1" || fail "Document 1 lost its skin"
    probe skinned "$demo>Document 2" || fail "Document 2 lost its skin"
    import -window root "$work/tiled.png"
    probe close "$demo" || true
    ;;
  skinned_start)
    # Any Windows version: the gallery wears its skin (the dialog's own rule
    # for version 6 is not the gallery's).
    import -window root "$work/skinned.png"
    ;;
  *) echo "unknown scenario $scenario"; exit 2 ;;
esac

# Asked to close (as Alt+F4 would), the program ends.
probe close "$title" || fail "no window to close"
probe gone "$title" 10000 || fail "the gallery did not close"
wait $app || true
echo "e2e gallery $scenario: ok"
