#!/bin/sh
# Regenerates resources/skin/vrin.skn from the pictures and settings that
# resources/skin/index.txt names, through the native build's `skin` target.
# Usage: tools/skintool/pack-skin.sh [BUILD_DIR]   (default: build/native)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-"$root/build/native"}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
fi
cmake --build "$build" -j2 --target skin
