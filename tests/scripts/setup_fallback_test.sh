#!/usr/bin/env bash
# The setup script against a stub apt-get: a flaky index update, architectures
# whose versions disagree, a 32-bit set that cannot be installed at all.
set -euo pipefail
setup="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/setup"
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT

# dpkg-query: nothing is installed; dpkg: i386 is already added; sudo runs its command.
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query"
printf '#!/bin/sh\necho i386\n' >"$stubs/dpkg"
printf '#!/bin/sh\nexec "$@"\n' >"$stubs/sudo"
# apt-get: logs each call; $UPDATE_FAILS updates fail first; an install fails
# when it holds wine32:i386 and the scenario says so.
cat >"$stubs/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$APT_LOG"
if [ "$1" = update ]; then
  n=$(grep -c '^update' "$APT_LOG")
  [ "$n" -le "$UPDATE_FAILS" ] && exit 100
  exit 0
fi
case "$INSTALL" in
  ok) exit 0 ;;
  base-release) [[ "$*" == *" -t "* ]] && exit 0; [[ "$*" == *wine32:i386* ]] && { echo "held broken packages"; exit 100; }; exit 0 ;;
  no-32bit) [[ "$*" == *wine32:i386* ]] && { echo "held broken packages"; exit 100; }; exit 0 ;;
  never) echo "E: Unable to locate package"; exit 100 ;;
esac
STUB
chmod +x "$stubs"/*

fails=0
run() { # scenario name, update failures, install behaviour
  export APT_LOG="$stubs/$1.log" UPDATE_FAILS=$2 INSTALL=$3
  : >"$APT_LOG"
  set +e
  out=$(PATH="$stubs:$PATH" SETUP_RETRY_DELAY=0 bash "$setup" 2>&1)
  rc=$?
  set -e
}
expect() { # condition description
  if ! eval "$1"; then echo "FAIL ($scenario): $2"; echo "$out" | sed 's/^/  | /'; sed 's/^/  apt-get /' "$APT_LOG"; fails=1; fi
}

scenario=flaky-index; run $scenario 2 ok
expect '[ $rc = 0 ]' "setup failed"
expect '[ $(grep -c ^update "$APT_LOG") = 3 ]' "the index update was not retried until it worked"
expect '[[ "$out" == *"setup: done"* ]]' "no done line"

scenario=index-never-updates; run $scenario 9 ok
expect '[ $rc = 0 ]' "a failed index update stopped setup"
expect '[ $(grep -c ^update "$APT_LOG") = 3 ]' "not three tries"

scenario=versions-disagree; run $scenario 0 base-release
expect '[ $rc = 0 ]' "setup failed"
expect 'tail -1 "$APT_LOG" | grep -q -- "-t .*wine32:i386"' "not installed against the base release with the 32-bit set"

scenario=no-32bit; run $scenario 0 no-32bit
expect '[ $rc = 0 ]' "setup failed without the 32-bit set"
expect '! tail -1 "$APT_LOG" | grep -q wine32' "the last install still asked for wine32:i386"
expect 'tail -1 "$APT_LOG" | grep -q "wine64"' "the 64-bit set was not installed"
expect '[ $(echo "$out" | grep -c "64-bit programs") = 1 ]' "not said in one line"

scenario=nothing-installs; run $scenario 0 never
expect '[ $rc != 0 ]' "a failed install reported success"
expect '[[ "$out" == *"Unable to locate"* ]]' "apt's reason not shown"

[ $fails = 0 ] && echo "ok: setup retries, falls back to the base release, then to the 64-bit set"
exit $fails
