#!/usr/bin/env bash
# Configures and builds one flavour: native (portable core, tests, tools) or a Windows
# architecture (x86_64, i686). Usage: tools/build.sh native|x86_64|i686 [extra cmake args]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
flavour=$1
shift
case "$flavour" in
  native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  x86_64|i686) args=(-DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-$flavour.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  *) echo "usage: $0 native|x86_64|i686" >&2; exit 2 ;;
esac
cmake -S "$repo" -B "$repo/build/$flavour" -G Ninja "${args[@]}" "$@" >/dev/null
cmake --build "$repo/build/$flavour" -j"$(nproc)"
