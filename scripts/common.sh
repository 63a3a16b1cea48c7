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

# Configures a build folder once (later builds reuse it).
configure() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    mkdir -p "$(dirname "$dir")"
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      "$@" >"$dir.configure.log" 2>&1 \
      || { cat "$dir.configure.log"; return 1; }
  fi
}

# The libFuzzer targets of the portable core (clang, with ASan and UBSan).
# The skins the build packs, by archive name; the gallery finds all but the
# default one beside itself.
SHIPPED_SKINS=(default dark flat meridian meridian_dark)
FUZZ_TARGETS=(lzh_decode lzh_forms skin_reader skin_definition bitmap_header frame_layout)
build_fuzzers() {
  configure "$BUILD/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DENABLE_FUZZERS=ON
  cmake --build "$BUILD/fuzz" --target "${FUZZ_TARGETS[@]/%/_fuzzer}" bitmap_seeds
}
