#!/usr/bin/env bash
# skinrun end to end under Wine, on programs that were not built with the
# engine: a plain program of our own (guest_host.exe) and Wine's notepad,
# regedit, winefile, wordpad and winecfg, as a user runs them.
#   skinrun_e2e.sh SCENARIO WINE_STATE_DIR BIN_DIR uiprobe.exe SKINS_DIR WORK_DIR [LAUNCHER]
# BIN_DIR holds skinrun.exe, skinrun64.exe, skinengine.dll, guest_host.exe
# and fault-test/ (the engine with its test-only failure switch, beside a
# copy of the tree's launcher named skinrun.exe); LAUNCHER
# is the one of the tree's bitness (skinrun.exe unless given), whose engine
# DLL and programs lie beside it.
set -euo pipefail
scenario=$1 state=$2 bin=$3 probe_exe=$4 skins=$5 work=$6 launcher_name=${7:-skinrun.exe}
launcher="$bin/$launcher_name"
if [ "$launcher_name" = skinrun.exe ]; then
  other_launcher=skinrun64.exe other_bits=64
else
  other_launcher=skinrun.exe other_bits=32
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine_env="$root/scripts/wine-env"

# The most light pixels a program's window may show under the dark skin
# (scripts/look-census), one per program. winefile fills each item of its
# owner-drawn panes from the icon to the end of the name with RGB(255, 255,
# 255) and writes it in black, whatever the system's or the list's colours:
# the program's own drawing, which the engine leaves alone (about 18 % of its
# window with the test's folders shown).
declare -A census_limit=([notepad]=15 [regedit]=15 [winefile]=20 [wordpad]=15 [winecfg]=15)

rm -rf "$work" && mkdir -p "$work"
"$wine_env" start "$state"
DISPLAY=$(cat "$state/display")
export DISPLAY

# Whatever a scenario started goes when it ends, passed or failed.
started_images=()
cleanup() {
  local image
  for image in "${started_images[@]}"; do
    "$wine_env" exec "$state" taskkill /f /im "$image" >/dev/null 2>&1 || true
  done
}
trap cleanup EXIT

probe() { "$wine_env" exec "$state" "$probe_exe" "$@" 2>>"$work/probe.stderr" | tr -d '\r'; }
# On the standard error: a failure inside a command substitution is shown
# too, not taken as its value.
fail() {
  echo "FAIL: $*" >&2
  import -window root "$work/failure.png" 2>/dev/null || true
  exit 1
}
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# skinrun in the background: its exit code, standard output and error go
# to the work folder under NAME.
start_skinrun() {
  local name=$1 launcher=$2 arg
  shift 2
  for arg in "$@"; do
    case "$arg" in *.exe) started_images+=("$(basename "${arg//\\//}")") ;; esac
  done
  ( set +e; "$wine_env" exec "$state" "$launcher" "$@" >"$work/$name.out" 2>"$work/$name.err"
    echo $? >"$work/$name.code" ) &
}
# Waits for a background skinrun to end; prints its exit code.
skinrun_code() {
  local name=$1
  for _ in $(seq 300); do
    [ -s "$work/$name.code" ] && { cat "$work/$name.code"; return 0; }
    sleep 0.1
  done
  fail "skinrun ($name) did not end"
}
# The launcher's own lines on the standard error (Wine may add its own).
launcher_lines() { grep -a '^skinrun: ' "$work/$1.err" | tr -d '\r' || true; }
light_share() {
  local title=$1 shot=$2 left top right bottom
  read -r left top right bottom <<<"$(probe rect "$title")"
  import -window root "$work/$shot.full.png"
  convert "$work/$shot.full.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$work/$shot.png"
  python3 "$root/scripts/look-census" --skin "$root/skins/dark/skin.ini" --system "$state/prefix/user.reg" \
    "$work/$shot.png" | awk 'NR == 2 { print $3 }'
}
check_census() {
  local program=$1 title=$2 share
  share=$(light_share "$title" "$program-dark")
  echo "census $program: $share % light under the dark skin (limit ${census_limit[$program]} %)"
  awk -v s="$share" -v l="${census_limit[$program]}" 'BEGIN { exit !(s <= l) }' ||
    fail "$program shows $share % light pixels under the dark skin (at most ${census_limit[$program]} %)"
}
# Alt+F (or the program's own key for its first menu) opens the skinned
# menu; Escape twice leaves it.
check_file_menu() {
  local title=$1 key=${2:-alt+f} left top right bottom
  # Active first, from a click on its caption.
  read -r left top right bottom <<<"$(probe rect "$title")"
  xdotool mousemove $(((left + right) / 2)) $((top + 10)) click 1
  sleep 0.5
  xdotool key "$key"
  probe popup - 5000 >/dev/null || fail "$key opened no menu in $title"
  probe popupskinned - 2000 || fail "the File menu of $title is not skinned"
  import -window root "$work/file-menu.png"
  xdotool key Escape
  sleep 0.3
  xdotool key Escape
  sleep 0.5
}
# A common dialog opened with KEYS (none: opened already) shows up skinned
# under TITLE and goes with Escape.
check_common_dialog() {
  local keys=$1 title=$2
  # shellcheck disable=SC2086
  [ -z "$keys" ] || xdotool key $keys
  probe rect "$title" 10000 >/dev/null || fail "\"$title\" did not open"
  sleep 0.5
  probe skinned "$title" || fail "the dialog \"$title\" is not skinned"
  import -window root "$work/dialog.png"
  xdotool key Escape
  probe gone "$title" 10000 || fail "Escape left \"$title\" open"
}
wine_program() {
  local program=$1 title=$2 image=${3:-$1.exe}
  start_skinrun "$program" "$launcher" --skin "$(winpath "$skins/dark.skin")" "$image"
  probe rect "$title" 30000 >/dev/null || fail "no \"$title\" window"
  sleep 1
  probe skinned "$title" || fail "$program did not start skinned"
}
end_program() {
  local name=$1 title=$2 want=${3:-0} code
  probe close "$title" >/dev/null || fail "\"$title\" could not be asked to close"
  code=$(skinrun_code "$name")
  [ "$code" = "$want" ] || fail "skinrun returned $code for $name, which ended with $want"
  [ -z "$(launcher_lines "$name")" ] || fail "skinrun reported: $(launcher_lines "$name")"
}

case "$scenario" in
  guest_host)
    # Arguments with blanks, quotes and letters beyond ASCII reach the
    # program as typed, in the working folder skinrun was started in; both
    # of its GUI threads are skinned; its exit code is skinrun's.
    cd "$work"
    export GUEST_HOST_REPORT
    GUEST_HOST_REPORT=$(winpath "$work/report.txt")
    args=("a  b" 'c"d' 'e\"f\' "äö中" "")
    start_skinrun host "$launcher" --skin "$(winpath "$skins/dark.skin")" "$bin/guest_host.exe" \
      --exit-code 7 --thread "${args[@]}"
    probe rect "Guest Host" 30000 >/dev/null || fail "no Guest Host window"
    probe rect "Guest Host Thread" 10000 >/dev/null || fail "no window of the second thread"
    sleep 1
    probe skinned "Guest Host" || fail "the main window is not skinned"
    probe skinned "Guest Host Thread" || fail "the second thread's window is not skinned"
    mapfile -t seen < <(tr -d '\r' <"$work/report.txt")
    [ "${seen[1]}" = "$(winpath "$work")" ] || fail "the program ran in \"${seen[1]}\""
    expected=(--exit-code 7 --thread "${args[@]}")
    for i in "${!expected[@]}"; do
      [ "${seen[$((i + 2))]-<none>}" = "${expected[$i]}" ] ||
        fail "argument $((i + 1)) arrived as \"${seen[$((i + 2))]-<none>}\", not \"${expected[$i]}\" (${seen[0]})"
    done
    # A sizeable window keeps the size its program gave it.
    read -r left top right bottom <<<"$(probe rect "Guest Host")"
    [ $((right - left))x$((bottom - top)) = 340x240 ] ||
      fail "the skinned window is $((right - left))x$((bottom - top)), not the 340x240 the program made"
    check_file_menu "Guest Host"
    # The second thread ends with its window; the program goes on skinned.
    probe close "Guest Host Thread" >/dev/null
    probe gone "Guest Host Thread" 10000 || fail "the second thread's window stayed"
    sleep 0.5
    probe skinned "Guest Host" || fail "the main window lost its skin when the other thread ended"
    end_program host "Guest Host" 7
    ;;

  failures)
    # Each failure is one line, and the program still runs where it can.
    start_skinrun usage "$launcher"
    [ "$(skinrun_code usage)" = 125 ] || fail "no program named: exit code $(cat "$work/usage.code")"
    [ "$(launcher_lines usage | wc -l)" = 1 ] || fail "no program named: $(launcher_lines usage)"
    start_skinrun missing "$launcher" no-such-program.exe
    [ "$(skinrun_code missing)" = 127 ] || fail "a missing program: exit code $(cat "$work/missing.code")"
    launcher_lines missing | grep -q 'was not found' || fail "a missing program: $(launcher_lines missing)"

    start_skinrun noskin "$launcher" --skin "$(winpath "$work/no-such.skin")" "$bin/guest_host.exe" \
      --exit-code 3
    probe rect "Guest Host" 30000 >/dev/null || fail "without its skin the program did not start"
    if probe skinned "Guest Host"; then fail "a skin that cannot be read was worn"; fi
    probe close "Guest Host" >/dev/null
    [ "$(skinrun_code noskin)" = 3 ] || fail "without its skin: exit code $(cat "$work/noskin.code")"
    [ "$(launcher_lines noskin | wc -l)" = 1 ] && launcher_lines noskin | grep -q 'cannot be read' ||
      fail "a skin that cannot be read: $(launcher_lines noskin)"

    printf 'not a skin' >"$work/junk.skin"
    start_skinrun junk "$launcher" --skin "$(winpath "$work/junk.skin")" "$bin/guest_host.exe" --exit-code 4
    probe rect "Guest Host" 30000 >/dev/null || fail "with a damaged skin the program did not start"
    sleep 1
    if probe skinned "Guest Host"; then fail "a damaged skin was worn"; fi
    probe close "Guest Host" >/dev/null
    [ "$(skinrun_code junk)" = 4 ] || fail "with a damaged skin: exit code $(cat "$work/junk.code")"
    [ "$(launcher_lines junk | wc -l)" = 1 ] && launcher_lines junk | grep -q 'was not loaded' ||
      fail "a damaged skin: $(launcher_lines junk)"

    mkdir -p "$work/lonely"
    cp "$launcher" "$work/lonely/"
    start_skinrun lonely "$work/lonely/$launcher_name" "$bin/guest_host.exe" --exit-code 5
    probe rect "Guest Host" 30000 >/dev/null || fail "without the engine the program did not start"
    if probe skinned "Guest Host"; then fail "skinned without an engine"; fi
    probe close "Guest Host" >/dev/null
    [ "$(skinrun_code lonely)" = 5 ] || fail "without the engine: exit code $(cat "$work/lonely.code")"
    [ "$(launcher_lines lonely | wc -l)" = 1 ] && launcher_lines lonely | grep -q 'cannot be loaded' ||
      fail "without the engine: $(launcher_lines lonely)"

    # No --skin: the skin named in SKINENGINE_SKIN, else the one the DLL
    # carries. The dark skin leaves far fewer light pixels than the default.
    SKINENGINE_SKIN=$(winpath "$skins/dark.skin") start_skinrun fromenv "$launcher" "$bin/guest_host.exe"
    probe rect "Guest Host" 30000 >/dev/null && sleep 1
    probe skinned "Guest Host" || fail "SKINENGINE_SKIN: not skinned"
    dark=$(light_share "Guest Host" env-dark)
    end_program fromenv "Guest Host"
    start_skinrun builtin "$launcher" "$bin/guest_host.exe"
    probe rect "Guest Host" 30000 >/dev/null && sleep 1
    probe skinned "Guest Host" || fail "the default skin inside the DLL was not worn"
    default=$(light_share "Guest Host" builtin-default)
    end_program builtin "Guest Host"
    echo "light pixels: $dark % under SKINENGINE_SKIN (dark), $default % under the DLL's own (default)"
    awk -v d="$dark" -v b="$default" 'BEGIN { exit !(d + 20 < b) }' ||
      fail "SKINENGINE_SKIN was not the skin worn ($dark % against $default %)"
    ;;

  bitness)
    # A program of the other bitness (the other launcher) given to the
    # launcher: one line naming the launcher to use, and nothing started.
    start_skinrun mismatch "$launcher" "$bin/$other_launcher" --help
    [ "$(skinrun_code mismatch)" = 126 ] || fail "a $other_bits-bit program: exit code $(cat "$work/mismatch.code")"
    [ "$(launcher_lines mismatch | wc -l)" = 1 ] &&
      launcher_lines mismatch | grep -q "$other_bits-bit program.*$other_launcher" ||
      fail "a $other_bits-bit program: $(launcher_lines mismatch)"
    [ ! -s "$work/mismatch.out" ] || fail "the $other_bits-bit program was started: $(cat "$work/mismatch.out")"
    ;;

  faults)
    # A failure forced inside the engine (its test-only switch): the program
    # goes on, its window drawn by the system again, the failure reported once.
    for fault in frame-paint:access control-paint:access hook:cxx; do
      name=${fault//[:-]/_}
      SKINENGINE_TEST_FAULT=$fault start_skinrun "$name" "$bin/fault-test/skinrun.exe" \
        --skin "$(winpath "$skins/dark.skin")" "$bin/guest_host.exe" --exit-code 9
      probe rect "Guest Host" 30000 >/dev/null || fail "$fault: the program did not start"
      sleep 1.5
      if probe skinned "Guest Host"; then fail "$fault: the window was not given back"; fi
      probe closebox "Guest Host" >/dev/null || fail "$fault: the system's frame is not back"
      import -window root "$work/$name.png"
      [ "$(launcher_lines "$name" | wc -l)" = 1 ] || fail "$fault: reported $(launcher_lines "$name" | wc -l) times"
      launcher_lines "$name" | grep -q 'gave it back to the system' || fail "$fault: $(launcher_lines "$name")"
      probe close "Guest Host" >/dev/null
      [ "$(skinrun_code "$name")" = 9 ] || fail "$fault: exit code $(cat "$work/$name.code")"
      echo "$fault: $(launcher_lines "$name")"
    done
    ;;

  notepad)
    wine_program notepad "Untitled - Notepad"
    check_census notepad "Untitled - Notepad"
    check_file_menu "Untitled - Notepad"
    check_common_dialog ctrl+o Open
    end_program notepad "Untitled - Notepad"
    ;;

  notepad_size)
    # Notepad keeps its window's size from run to run (it saves it at exit);
    # skinned runs leave it as unskinned ones do.
    saved() {
      "$wine_env" exec "$state" reg query 'HKCU\Software\Microsoft\Notepad' 2>/dev/null | tr -d '\r' |
        awk '/iWindowPosDX|iWindowPosDY/ { printf "%s ", $3 }'
    }
    run_notepad() {
      local launcher=$1
      shift
      start_skinrun "size$launcher" "$@" notepad.exe
      probe rect "Untitled - Notepad" 30000 >/dev/null || fail "no notepad"
      sleep 1
      end_program "size$launcher" "Untitled - Notepad"
    }
    "$wine_env" exec "$state" reg delete 'HKCU\Software\Microsoft\Notepad' /f >/dev/null 2>&1 || true
    run_notepad 1 "$launcher" --skin "$(winpath "$skins/dark.skin")"
    first=$(saved)
    run_notepad 2 "$launcher" --skin "$(winpath "$skins/dark.skin")"
    second=$(saved)
    run_notepad 3 "$launcher" --skin "$(winpath "$skins/dark.skin")"
    third=$(saved)
    echo "notepad's saved size: $first/ $second/ $third"
    [ -n "$first" ] && [ "$first" = "$second" ] && [ "$second" = "$third" ] ||
      fail "notepad's saved size changed from run to run: $first/ $second/ $third"
    ;;

  regedit)
    wine_program regedit "Registry Editor"
    check_census regedit "Registry Editor"
    # Its first menu is Registry; Registry > Import: the open dialog.
    check_file_menu "Registry Editor" alt+r
    xdotool key alt+r
    sleep 0.5
    check_common_dialog i "Import Registry File"
    end_program regedit "Registry Editor"
    ;;

  winefile)
    # An MDI frame, its child maximised: "Wine File Manager - [folder]".
    wine_program winefile "Wine File Manager"
    check_census winefile "Wine File Manager"
    check_file_menu "Wine File Manager"
    # Options > Font: the font dialog.
    xdotool key alt+o
    sleep 0.5
    check_common_dialog f Font
    end_program winefile "Wine File Manager"
    ;;

  wordpad)
    # Named by its full path, blanks and all: it is on no search path.
    wine_program wordpad "Document - Wine Wordpad" 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
    check_census wordpad "Document - Wine Wordpad"
    check_file_menu "Document - Wine Wordpad"
    check_common_dialog ctrl+o Open
    end_program wordpad "Document - Wine Wordpad"
    ;;

  winecfg)
    # A property sheet with no menu bar: its pages, and a common dialog from
    # the Applications page ("Add application...").
    wine_program winecfg "Wine configuration"
    check_census winecfg "Wine configuration"
    read -r x y <<<"$(probe control "Wine configuration" "Add application...")"
    xdotool mousemove "$x" "$y" click 1
    check_common_dialog "" "Select an executable file"
    end_program winecfg "Wine configuration"
    ;;

  *)
    fail "no scenario $scenario"
    ;;
esac
echo "e2e skinrun $scenario: ok"
