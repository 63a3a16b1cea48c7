# Shared by the project's scripts: where things are built and which Windows
# build this machine can run under Wine.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

# Wine runs 32-bit programs only where the kernel executes 32-bit ELF binaries
# (Wine's 32-bit loader is one). Where it cannot, the same sources are built for
# x86-64 and run by the 64-bit loader.
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
}

# Decided once the packages are in place: before setup has installed Wine's
# 32-bit loader, every machine looks like one that cannot run it.
decide_win_arch() {
  if can_run_32bit; then
    WIN_ARCH=win32
  else
    WIN_ARCH=win64
  fi
  WIN_BUILD="$BUILD/$WIN_ARCH"
}

run_setup() { "$ROOT/scripts/setup"; }
run_build() { "$ROOT/scripts/build" "$@"; }

ensure_built() {
  run_setup
  decide_win_arch
  run_build "$@"
}
