#!/usr/bin/env bash
# Builds everything (native, x86_64, i686) and runs every test: the portable core's
# unit tests natively with sanitizers, then the Windows tests under Wine.
set -euo pipefail
repo=$(cd "$(dirname "$0")" && pwd)
cd "$repo"
tools/setup-deps.sh

# Tests on whatever an earlier run cached: run.sh builds the same folders without them.
tools/build.sh native -DIV_BUILD_TESTS=ON
tools/build.sh x86_64 -DIV_BUILD_TESTS=ON
# The 32-bit build is what users run; it cannot run here, so its tests are not built.
# The native test program_folder_i686 checks its folder against this one and Windows XP.
tools/build.sh i686 -DIV_BUILD_TESTS=OFF

# A run that finds no tests has tested nothing: that is a failure, not a pass.
status=0
ctest --test-dir build/native --no-tests=error --output-on-failure || status=1

. tools/wine/wine-env.sh
cleanup() {
  wineserver -k 2>/dev/null || true
  iv_stop_xvfb
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || iv_start_xvfb
iv_wine_prepare
ctest --test-dir build/x86_64 -L wine --no-tests=error --output-on-failure || status=1

echo
echo "Program folders: build/x86_64/bin and build/i686/bin"
exit $status
