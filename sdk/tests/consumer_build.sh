#!/usr/bin/env bash
# Installs the skin engine from a Windows build and builds against the
# installed package, as a third party would: the example program, and the
# C check against the 1.0.0 header (a program built then, on today's DLL).
#   consumer_build.sh BUILD_DIR EXAMPLE_SOURCE TOOLCHAIN_FILE OUT_DIR COMPAT_SOURCE
set -euo pipefail
build=$1 source=$2 toolchain=$3 out=$4 compat=$5
rm -rf "$out"
cmake --install "$build" --prefix "$out/install" >"$out.install.log" 2>&1 || { cat "$out.install.log"; exit 1; }
# The library names are the package's own.
for lib in libskinengine.a libskinengine_manager.a libskinengine_gui.a libskinengine_core.a; do
  test -f "$out/install/lib/$lib" || { echo "not installed: lib/$lib"; exit 1; }
done
if ls "$out/install/lib" | grep -qvE '^(libskinengine(_[a-z]+)?\.a|libskinengine\.dll\.a|cmake)$'; then
  echo "installed under a name not of the package's own:"; ls "$out/install/lib"; exit 1
fi
cmake -S "$source" -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_PREFIX_PATH="$out/install"
cmake --build "$out/build"
test -f "$out/build/notes.exe" && test -f "$out/build/notes_dll.exe" && test -f "$out/build/skinengine.dll"
cmake -S "$compat" -B "$out/compat" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_PREFIX_PATH="$out/install"
cmake --build "$out/compat"
test -f "$out/compat/c_check_1_0_0.exe"
