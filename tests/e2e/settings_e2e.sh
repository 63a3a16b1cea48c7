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
  *) echo "unknown scenario $scenario"; exit 2 ;;
esac
echo "e2e $scenario: ok"
