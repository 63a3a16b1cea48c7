#!/usr/bin/env bash
# Starts the skin gallery under Wine in Xvfb and uses it as a user would,
# with real keys and mouse (xdotool): switches its skin, opens its menus,
# scrolls its lists, drags its track bars, types into its edits and opens a
# skin file through the system's open dialog, runs the MDI demo, checking the controls' state
# (read through uiprobe) and the screen's pixels after each step.
#   gallery_e2e.sh ctrl_tab|switch_skins|context_menu|menu_bar|rtl_menu_keys|mdi_demo|mdi_keys|skinned_start|lists|ranges|text|open_skin|watch
#                  WINE_STATE_DIR Gallery.exe uiprobe.exe WORK_DIR
# The lists scenario compares the list view's header with the default
# skin's header picture, found in the folder GALLERY_SKIN_PICTURES names.
set -euo pipefail
scenario=$1 state=$2 program=$3 probe=$4 work=$5
source "$(dirname "$0")/gallery_driver.sh"
prepare_gallery

# Window > MDI Demo... from the keyboard opens the skinned frame.
demo="MDI Demo"
open_mdi_demo() {
  xdotool key alt+w
  sleep 0.5
  xdotool key Return
  probe rect "$demo" 10000 >/dev/null || fail "no MDI demo window"
  sleep 1
  probe skinned "$demo" || fail "the MDI demo frame is not skinned"
}
# A point of the raised panel on the Buttons page, above its caption.
panel_point() {
  local x y
  read -r x y <<<"$(probe control "$title" "A raised panel")"
  echo "$x $((y - 30))"
}
# Exits with a failure unless two screenshots differ inside a rectangle
# (windowless labels are checked by the pixels they show).
region_changed() {
  local before=$1 after=$2 left=$3 top=$4 width=$5 height=$6 what=$7 diff
  diff=$(compare -metric AE -crop "${width}x${height}+${left}+${top}" "$before" "$after" null: 2>&1 || true)
  [ "${diff%% *}" != 0 ] || fail "$what did not change"
}
# "FIRST LAST": the rows of a scroll-bar thumb, the run of a screenshot's
# column between FROM and TO (the track) whose colours differ from the
# track's colour at TO's end.
thumb_rows() {
  local shot=$1 x=$2 from=$3 to=$4
  convert "$shot" -crop "1x$((to - from))+$x+$from" +repage -depth 8 txt:- | awk -v from="$from" -v last=$((to - from - 1)) '
    NR > 1 { split($1, at, "[,:]"); colour[at[2]] = $2 }
    END {
      first = -1
      for (i = 0; i <= last; ++i)
        if (colour[i] != colour[last]) { if (first < 0) first = i; end = i }
      if (first >= 0) print from + first, from + end
    }'
}
page=Buttons
case "$scenario" in
  lists) page=Lists ;;
  ranges) page=Ranges ;;
  text | open_skin | rtl_menu_keys) page=Text ;;
esac
args=(--page "$page")
[ "$scenario" = rtl_menu_keys ] && args+=(--rtl)
if [ "$scenario" = watch ]; then
  # A skin folder of the author's: the default skin's definition and pictures.
  cp -r "$GALLERY_SKIN_PICTURES" "$work/watched"
  args+=(--watch "Z:${work//\//\\}\\watched")
fi
"$wine_env" exec "$state" "$work/Gallery.exe" "${args[@]}" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

probe find "$title" TPageControl 0 20000 >/dev/null || fail "no gallery window"
sleep 1
probe skinned "$title" || fail "the gallery does not start skinned"

case "$scenario" in
  ctrl_tab)
    # The very first key after the start, with nothing focused yet, reaches
    # the page control: Ctrl+Tab shows the next page, Ctrl+Shift+Tab the
    # one before.
    xdotool key ctrl+Tab
    probe until "$title" TPageControl 0 tabsel eq 1 5000 \
      || fail "the first Ctrl+Tab left the page at $(probe value "$title" TPageControl 0 tabsel)"
    import -window root "$work/ctrl-tab.png"
    xdotool key ctrl+shift+Tab
    probe until "$title" TPageControl 0 tabsel eq 0 5000 || fail "Ctrl+Shift+Tab did not go back to the first page"
    ;;
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

    choose_skin 5  # Default, Dark, Flat, Meridian, Meridian Dark, No Skin
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
  rtl_menu_keys)
    # Laid out right to left: Alt+F opens File under its item at the bar's
    # right end, and Left moves on to the next item (Skin), further left.
    read -r left top right bottom <<<"$(probe rect "$title")"
    xdotool mousemove $(((left + right) / 2)) $((bottom - 12)) click 1
    sleep 0.5
    xdotool key alt+f
    read -r fleft ftop fright fbottom <<<"$(probe popup "$title" 5000)" || true
    [ -n "${fleft:-}" ] || fail "Alt+F opened no menu"
    [ "$fright" -gt $(((left + right) / 2)) ] && [ "$fright" -le "$right" ] \
      || fail "File opened at $fleft..$fright, not at the right of $left..$right"
    import -window root "$work/file-menu.png"
    xdotool key Left
    sleep 0.5
    read -r sleft stop sright sbottom <<<"$(probe popup "$title" 5000)" || true
    [ -n "${sleft:-}" ] && [ "$sright" -lt "$fright" ] || fail "Left did not open the next item's menu (${sleft:-none}..${sright:-})"
    import -window root "$work/skin-menu.png"
    xdotool key Escape
    sleep 0.5
    if probe popup "$title" 0 >/dev/null; then xdotool key Escape; sleep 0.5; fi
    if probe popup "$title" 0 >/dev/null; then fail "Escape left a menu open"; fi
    ;;
  mdi_demo)
    open_mdi_demo

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
  mdi_keys)
    # The MDI demo's frame without a child, its skinned bar from the keys
    # alone (the keyboard focus is in the MDI client, no framework control).
    # Alt+F opens File with its first entry selected, as the system's bar
    # does; Down and Up move in it; Enter chooses New Child.
    open_mdi_demo
    xdotool key alt+f
    read -r fleft ftop fright fbottom <<<"$(probe popup "$demo" 5000)" || true
    [ -n "${fleft:-}" ] || fail "Alt+F opened no menu on the MDI demo without a child"
    import -window root "$work/alt-f.png"
    for key in Down Up Return; do
      xdotool key "$key"
      sleep 0.3
    done
    probe rect "$demo>Document 1" 5000 >/dev/null || fail "Alt+F, Down, Up, Enter made no Document 1"
    sleep 0.5
    probe skinned "$demo>Document 1" || fail "Document 1 is not skinned"

    # F10 alone selects File; Right moves to the child's Edit, Down opens it
    # right of where File's opened.
    xdotool key F10
    sleep 0.5
    xdotool key Right
    sleep 0.3
    xdotool key Down
    read -r eleft etop eright ebottom <<<"$(probe popup "$demo" 5000)" || true
    [ -n "${eleft:-}" ] || fail "F10, Right, Down opened no menu"
    [ "$eleft" -gt "$fleft" ] || fail "F10, Right, Down opened a menu at $eleft, not right of File's ($fleft)"
    import -window root "$work/f10-right-down.png"
    xdotool key Escape
    sleep 0.5
    if probe popup "$demo" 0 >/dev/null; then fail "Escape left the Edit menu open"; fi
    probe close "$demo" || true
    ;;
  lists)
    # The 200-item list box: its skinned thumb dragged down by half the
    # track; the list's top index follows, and the skin draws the thumb
    # where the pointer left it.
    read -r bl bt br bb arrow <<<"$(value_of TListBox 0 vbar)"
    [ -n "${arrow:-}" ] || fail "the list box has no vertical scroll bar"
    x=$(((bl + br) / 2))
    track=$((bb - bt - 2 * arrow))
    import -window root "$work/lists-before.png"
    read -r tt tb <<<"$(thumb_rows "$work/lists-before.png" "$x" $((bt + arrow)) $((bb - arrow)))"
    [ -n "${tb:-}" ] || fail "no thumb drawn in the list box's bar"
    [ "$tt" -le $((bt + arrow + 1)) ] || fail "the thumb of the list at its top is drawn at $tt, not after the arrow"
    drag "$x" $(((tt + tb) / 2)) "$x" $(((tt + tb) / 2 + track / 2))
    probe until "$title" TListBox 0 topindex gt 0 5000 || fail "dragging the list box's thumb did not scroll it"
    sleep 0.5
    import -window root "$work/lists-dragged.png"
    read -r tt2 tb2 <<<"$(thumb_rows "$work/lists-dragged.png" "$x" $((bt + arrow)) $((bb - arrow)))"
    moved=$((tt2 - tt))
    [ $((moved - track / 2)) -le 2 ] && [ $((track / 2 - moved)) -le 2 ] \
      || fail "the skinned thumb moved $moved pixels, the pointer $((track / 2))"
    # The thumb's free travel (the track less the thumb) spans the top
    # indexes from the first to the last full page.
    last_top=$((200 - (bb - bt) / $(value_of TListBox 0 itemheight)))
    expected=$(((track / 2) * last_top / (track - (tb - tt + 1))))
    top=$(value_of TListBox 0 topindex)
    [ $((top - expected)) -le 2 ] && [ $((expected - top)) -le 2 ] \
      || fail "the list's top index is $top after dragging its thumb half the track, not about $expected"

    # Its down arrow scrolls one line.
    xdotool mousemove "$x" $((bb - arrow / 2)) click 1
    probe until "$title" TListBox 0 topindex eq $((top + 1)) 5000 \
      || fail "the down arrow took the top index from $top to $(value_of TListBox 0 topindex)"

    # The horizontal stand-alone scroll bar: its thumb (at the start, just
    # after the left arrow) dragged right; the label below it shows the
    # position.
    read -r sl st sr sb <<<"$(find_control TScrollBar 0)"
    height=$((sb - st))
    import -window root "$work/lists-bar-before.png"
    drag $((sl + height + 4)) $(((st + sb) / 2)) $((sl + height + 104)) $(((st + sb) / 2))
    probe until "$title" TScrollBar 0 scrollpos gt 20 5000 \
      || fail "dragging the scroll bar's thumb left it at $(value_of TScrollBar 0 scrollpos)"
    sleep 0.5
    import -window root "$work/lists-bar-dragged.png"
    region_changed "$work/lists-bar-before.png" "$work/lists-bar-dragged.png" "$sl" $((st + 24)) 200 13 \
      "the scroll bar's label"
    # The pointer rests on the thumb, where the system would light the bar
    # up in its own look: the skin's left arrow is still there.
    diff=$(compare -metric AE -crop "${height}x${height}+${sl}+${st}" "$work/lists-bar-before.png" \
      "$work/lists-bar-dragged.png" null: 2>&1 || true)
    [ "${diff%% *}" = 0 ] || fail "the scroll bar's left arrow is no longer the skin's after the drag"

    # The list view's header is drawn from the skin's header picture: a
    # point of its second item, right of the caption, has one of the
    # colours of the picture's first frame (its middle column).
    read -r hl ht hr hb <<<"$(find_control SysHeader32 0)"
    [ -n "${hb:-}" ] || fail "the list view has no header"
    header=$(pixel "$work/lists-bar-dragged.png" $((hl + 135)) $(((ht + hb) / 2)))
    picture="${GALLERY_SKIN_PICTURES:?}/header.bmp"
    colours=$(for ((row = 0; row < $(identify -format %h "$picture"); ++row)); do
      pixel "$picture" 25 "$row"
      echo
    done | sort -u)
    grep -qx "$header" <<<"$colours" || fail "the header at $((hl + 135)),$(((ht + hb) / 2)) is $header, not the skin's"
    ;;
  ranges)
    # The horizontal track bar's thumb dragged right; its label follows.
    read -r tl tt tr tb <<<"$(value_of TTrackBar 0 thumbrect)"
    [ -n "${tb:-}" ] || fail "no track bar thumb"
    read -r bl bt br bb <<<"$(find_control TTrackBar 0)"
    import -window root "$work/ranges-before.png"
    x=$(((tl + tr) / 2)) y=$(((tt + tb) / 2))
    drag "$x" "$y" $((x + 100)) "$y"
    probe until "$title" TTrackBar 0 trackpos gt 20 5000 \
      || fail "dragging the track bar's thumb left it at $(value_of TTrackBar 0 trackpos)"
    sleep 0.5
    import -window root "$work/ranges-dragged.png"
    region_changed "$work/ranges-before.png" "$work/ranges-dragged.png" $((bl + 8)) $((bt + 48)) 200 13 \
      "the track bar's label"

    # The up-down's upper half raises the number in its edit by one.
    number=$(value_of TEdit 0 text)
    read -r ul ut ur ub <<<"$(find_control TUpDown 0)"
    xdotool mousemove $(((ul + ur) / 2)) $((ut + (ub - ut) / 4)) click 1
    probe until "$title" TEdit 0 text eq $((number + 1)) 5000 \
      || fail "the up arrow took the edit from $number to $(value_of TEdit 0 text)"
    import -window root "$work/ranges-updown.png"
    ;;
  text)
    # Typing into the skinned edit replaces its text.
    read -r el et er eb <<<"$(find_control TEdit 0)"
    xdotool mousemove $(((el + er) / 2)) $(((et + eb) / 2)) click 1
    sleep 0.3
    xdotool key End shift+Home
    xdotool type --delay 50 "Skinned 42"
    probe until "$title" TEdit 0 text eq "Skinned 42" 5000 \
      || fail "the edit reads \"$(value_of TEdit 0 text)\" after typing"

    # The drop-down list combo box opened by its button; a click on its
    # fifth item chooses it.
    read -r cl ct cr cb <<<"$(find_control TComboBox 1)"
    xdotool mousemove $((cr - 8)) $(((ct + cb) / 2)) click 1
    probe until "$title" TComboBox 1 dropped eq 1 5000 || fail "the combo box did not open"
    read -r ll lt lr lb <<<"$(probe find - ComboLBox 0)"
    [ -n "${lb:-}" ] || fail "no drop-down list"
    import -window root "$work/text-combo-open.png"
    item=$(probe value - ComboLBox 0 itemheight)
    xdotool mousemove $(((ll + lr) / 2)) $((lt + 1 + item * 4 + item / 2)) click 1
    probe until "$title" TComboBox 1 combosel eq 4 5000 \
      || fail "the combo box chose item $(value_of TComboBox 1 combosel), not the fifth"
    [ "$(value_of TComboBox 1 text)" = May ] || fail "the combo box shows \"$(value_of TComboBox 1 text)\""

    # The "Lists" tab shows the Lists page.
    read -r al at ar ab <<<"$(value_of TPageControl 0 tabrect1)"
    [ -n "${ab:-}" ] || fail "no tab rectangle"
    xdotool mousemove $(((al + ar) / 2)) $(((at + ab) / 2)) click 1
    probe until "$title" TPageControl 0 tabsel eq 1 5000 || fail "the Lists tab was not chosen"
    find_control TListBox 0 >/dev/null || fail "the Lists page's list box is not shown"
    if probe find "$title" TEdit 0 0 >/dev/null; then fail "the Text page's edit is still shown"; fi
    ;;
  open_skin)
    # File > Open Skin File... opens the system's open dialog, skinned; the
    # dark skin's path typed into it and Enter put the dark skin on. (The
    # Text page has no control whose mnemonic is F, as the Buttons page has.)
    read -r el et er eb <<<"$(find_control TEdit 0)"
    xdotool mousemove $(((el + er) / 2)) $(((et + eb) / 2)) click 1
    sleep 0.5
    read -r sl st sr sb <<<"$(find_control TStatusBar 0)"
    sx=$((sr - 20)) sy=$(((st + sb) / 2))
    import -window root "$work/default.png"
    status_before=$(pixel "$work/default.png" "$sx" "$sy")
    xdotool key alt+f
    sleep 0.5
    xdotool key Return
    dialog="Open Skin File"
    probe rect "$dialog" 10000 >/dev/null || fail "no open dialog"
    sleep 1
    probe skinned "$dialog" || fail "the open dialog is not skinned"
    import -window root "$work/open-dialog.png"
    xdotool type --delay 30 "Z:${work//\//\\}\\dark.skin"
    sleep 0.3
    xdotool key Return
    probe gone "$dialog" 10000 || fail "the open dialog did not close"
    probe until "$title" TStatusBar 0 text eq "Skin: Nightfall" 5000 \
      || fail "the status bar says \"$(value_of TStatusBar 0 text)\" after opening the dark skin"
    sleep 1
    probe skinned "$title" || fail "not skinned after opening the dark skin"
    import -window root "$work/dark.png"
    # The dark skin's status bar is dark where the default skin's is light.
    status_after=$(pixel "$work/dark.png" "$sx" "$sy")
    [ "$(brightness "$status_before")" -gt 600 ] || fail "the default skin's status bar at $sx,$sy is not light: $status_before"
    [ "$(brightness "$status_after")" -lt 300 ] || fail "the gallery is not drawn with the dark skin: its status bar at $sx,$sy is $status_after"
    ;;
  watch)
    # Live reload: a colour changed in the watched folder shows within two
    # seconds; a broken definition keeps the look and names its line in the
    # status bar; mended, the look follows again and the note goes.
    definition="$work/watched/skin.ini"
    read -r px py <<<"$(panel_point)"
    set_face() { sed -i "s/^ButtonFace=.*/ButtonFace=$1/" "$definition"; }
    # Polls the panel's pixel for two seconds; its colour once it is WANTED.
    wait_for_face() {
      local wanted=$1 start now
      start=$(date +%s%N)
      while :; do
        import -window root "$work/watch.png"
        [ "$(pixel "$work/watch.png" "$px" "$py")" = "$wanted" ] && break
        now=$(date +%s%N)
        [ $(((now - start) / 1000000)) -lt 2000 ] || fail "the panel at $px,$py shows $(pixel "$work/watch.png" "$px" "$py"), not $wanted, two seconds after the change"
        sleep 0.1
      done
      echo "watch: $wanted after $((($(date +%s%N) - start) / 1000000)) ms"
    }
    set_face "200 40 40"
    wait_for_face "200 40 40"
    set_face grey
    line=$(grep -n '^ButtonFace=' "$definition" | head -1 | cut -d: -f1)
    problem="skin.ini:$line: error: ButtonFace = \"grey\" is not a colour: write three numbers from 0 to 255 (red green blue)"
    probe until "$title" TStatusBar 0 text eq "Not reloaded: $problem" 2000 \
      || fail "the status bar says \"$(value_of TStatusBar 0 text)\" after the definition broke"
    import -window root "$work/broken.png"
    [ "$(pixel "$work/broken.png" "$px" "$py")" = "200 40 40" ] || fail "the look did not stay while the definition is broken"
    set_face "40 40 200"
    wait_for_face "40 40 200"
    probe until "$title" TStatusBar 0 text eq "Skin: Daylight" 2000 \
      || fail "the status bar says \"$(value_of TStatusBar 0 text)\" after the definition was mended"
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
