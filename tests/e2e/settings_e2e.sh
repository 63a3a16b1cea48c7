#!/usr/bin/env bash
# Starts the settings program under Wine in Xvfb and uses it with real mouse
# clicks (xdotool), then checks set.ini.
#   settings_e2e.sh save_flow|close_box WINE_STATE_DIR Project1.exe uiprobe.exe WORK_DIR
set -euo pipefail
scenario=$1 state=$2 program=$3 probe=$4 work=$5
here=$(cd "$(dirname "$0")" && pwd)
wine_env="$here/../../scripts/wine-env"

rm -rf "$work" && mkdir -p "$work"
cp "$program" "$work/Project1.exe"
"$wine_env" start "$state"
DISPLAY=$(cat "$state/display")
export DISPLAY

probe() { "$wine_env" exec "$state" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
click_at() {
  local x y
  read -r x y <<<"$1"
  [ -n "$x" ] && [ -n "$y" ] || { echo "FAIL: nothing to click"; exit 1; }
  xdotool mousemove "$x" "$y" click 1
  sleep 0.5
}
fail() {
  echo "FAIL: $*"
  import -window root "$work/failure.png" 2>/dev/null || true
  exit 1
}

# "Scan Program Files Only" starts checked, "Scan All Files" unchecked.
printf '[Set]\r\nRa1=2\r\nRa5=1\r\nCB4=0\r\n' >"$work/set.ini"
before=$(cat "$work/set.ini")
"$wine_env" exec "$state" "$work/Project1.exe" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

case "$scenario" in
  save_flow)
    click_at "$(probe control Settings 'Scan All Files' 20000)"
    click_at "$(probe control Settings Save)"
    click_at "$(probe control Notes OK)"
    probe gone Settings 10000 || fail "the dialog did not close after Save"
    wait $app || true
    ini=$(tr -d '\r' <"$work/set.ini")
    expected=$'[Set]\nRa1=2\nRa5=1\nCB4=1\nCB1=1\nCB2=1\nCB3=0\nCB5=1'
    [ "$ini" = "$expected" ] || fail "set.ini is"$'\n'"$ini"
    ;;
  close_box)
    click_at "$(probe control Settings 'Scan All Files' 20000)"
    click_at "$(probe closebox Settings)"
    probe gone Settings 10000 || fail "the close box did not close the dialog"
    wait $app || true
    [ "$(cat "$work/set.ini")" = "$before" ] || fail "set.ini changed"
    ;;
  skinned_frame)
    # Under winxp the dialog wears the skin: moved by its caption, minimised
    # and closed by the skinned buttons.
    probe control Settings Save 20000 >/dev/null || fail "no dialog"
    sleep 1
    probe skinned Settings || fail "the dialog is not skinned"
    import -window root "$work/skinned.png"
    read -r left top right bottom <<<"$(probe rect Settings)"
    xdotool mousemove $((left + 150)) $((top + 12)) mousedown 1
    sleep 0.3
    xdotool mousemove $((left + 180)) $((top + 32))
    sleep 0.3
    xdotool mousemove $((left + 210)) $((top + 52)) mouseup 1
    sleep 0.5
    read -r left2 top2 right2 bottom2 <<<"$(probe rect Settings)"
    # The window follows the pointer (Wine's move loop may count a motion
    # event twice under load, so only the direction and a minimum are checked).
    [ $((left2 - left)) -ge 60 ] && [ $((top2 - top)) -ge 40 ] || fail "dragged by $((left2 - left)) $((top2 - top))"
    [ "$((right2 - left2)) $((bottom2 - top2))" = "$((right - left)) $((bottom - top))" ] || fail "size changed"
    import -window root "$work/dragged.png"
    click_at "$(probe minbox Settings)"
    probe iconic Settings 5000 || fail "the minimise box did not minimise"
    import -window root "$work/minimised.png"
    probe restore Settings
    sleep 1
    probe skinned Settings || fail "not skinned after restoring"
    read -r left3 top3 right3 bottom3 <<<"$(probe rect Settings)"
    [ "$((right3 - left3)) $((bottom3 - top3))" = "$((right - left)) $((bottom - top))" ] || fail "restored to another size"
    import -window root "$work/restored.png"
    click_at "$(probe closebox Settings)"
    probe gone Settings 10000 || fail "the skinned close box did not close the dialog"
    wait $app || true
    ;;
  every_control)
    # The skinned dialog used as a user would: every option changed by a
    # click, then saved through the skinned confirmation box.
    for control in 'Clean found threats' 'Copy to Quarantine(Backup before Cleanving)' 'Always Ignore' \
                   'Logoff Windows' 'Scan Menory' 'Scan Registry' 'Scan Registry' 'Scan All Files' 'Advanced Heurist'; do
      click_at "$(probe control Settings "$control" 20000)"
    done
    probe skinned Settings || fail "the dialog is not skinned"
    import -window root "$work/changed.png"
    click_at "$(probe control Settings Save)"
    probe control Notes OK 10000 >/dev/null || fail "no confirmation box"
    sleep 0.5
    probe skinned Notes || fail "the confirmation box is not skinned"
    import -window root "$work/confirm.png"
    click_at "$(probe control Notes OK)"
    probe gone Settings 10000 || fail "the dialog did not close after Save"
    wait $app || true
    ini=$(tr -d '\r' <"$work/set.ini")
    expected=$'[Set]\nRa1=0\nRa5=3\nCB4=1\nCB1=0\nCB2=1\nCB3=0\nCB5=0'
    [ "$ini" = "$expected" ] || fail "set.ini is"$'\n'"$ini"
    ;;
  alt_key)
    # Alt tapped alone on the captionless skinned dialog must not start the
    # system's invisible keyboard menu: the next Space still reaches the
    # focused check box.
    click_at "$(probe control Settings 'Scan Menory' 20000)"
    probe skinned Settings || fail "the dialog is not skinned"
    if probe checked Settings 'Scan Menory'; then was=1; else was=0; fi
    xdotool key alt
    sleep 0.5
    xdotool key space
    sleep 0.5
    if probe checked Settings 'Scan Menory'; then now=1; else now=0; fi
    [ "$now" != "$was" ] || fail "Space after Alt did not toggle the check box"
    click_at "$(probe closebox Settings)"
    probe gone Settings 10000 || fail "the close box did not close the dialog"
    wait $app || true
    ;;
  system_frame)
    # Version 6 keeps the system's own frame.
    probe control Settings Save 20000 >/dev/null || fail "no dialog"
    sleep 1
    if probe skinned Settings; then fail "the dialog is skinned"; fi
    import -window root "$work/system.png"
    click_at "$(probe closebox Settings)"
    probe gone Settings 10000 || fail "the close box did not close the dialog"
    wait $app || true
    ;;
  *) echo "unknown scenario $scenario"; exit 2 ;;
esac
echo "e2e $scenario: ok"
