#!/usr/bin/env bash
# Installs the skin engine from a Windows build and builds the example
# program against the installed package, as a third party would:
#   consumer_build.sh BUILD_DIR EXAMPLE_SOURCE TOOLCHAIN_FILE OUT_DIR
set -euo pipefail
build=$1 source=$2 toolchain=$3 out=$4
rm -rf "$out"
cmake --install "$build" --prefix "$out/install" >"$out.install.log" 2>&1 || { cat "$out.install.log"; exit 1; }
cmake -S "$source" -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_PREFIX_PATH="$out/install"
cmake --build "$out/build"
test -f "$out/build/notes.exe" && test -f "$out/build/notes_dll.exe" && test -f "$out/build/skinengine.dll"
