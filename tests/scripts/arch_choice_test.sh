#!/usr/bin/env bash
# The Windows build the test and run commands look for is the one the build
# made: the choice is taken after setup, when Wine's 32-bit loader may just
# have been installed, and never from the state before it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

loader_installed=0
can_run_32bit() { [ "$loader_installed" = 1 ]; }
run_setup() { loader_installed=1; }
built_for=
run_build() { decide_win_arch; built_for=$WIN_ARCH; }

ensure_built
if [ "$WIN_ARCH" != win32 ] || [ "$built_for" != win32 ] || [ "$WIN_BUILD" != "$BUILD/win32" ]; then
  echo "FAIL: setup installed the 32-bit loader; build made $built_for, the caller looks in $WIN_BUILD" >&2
  exit 1
fi

loader_installed=0
run_setup() { :; }
ensure_built
if [ "$WIN_ARCH" != win64 ] || [ "$built_for" != win64 ]; then
  echo "FAIL: without the 32-bit loader the caller chose $WIN_ARCH, the build $built_for" >&2
  exit 1
fi
echo "ok: the test and run commands use the build made after setup"
