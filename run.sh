#!/usr/bin/env bash
# Builds Iconvane and runs it under Wine with the local icon server and the AIM
# simulator, on your display or on a virtual one when there is none.
#   ./run.sh            AIM simulator 5.9
#   ./run.sh --aim46    the older AIM simulator (below 4.7)
# Everything started is stopped when Iconvane exits (or on Ctrl+C).
set -euo pipefail
repo=$(cd "$(dirname "$0")" && pwd)
cd "$repo"
sim=aimsim.exe
[ "${1:-}" = "--aim46" ] && sim=aimsim46.exe
tools/setup-deps.sh
tools/build.sh native -DIV_BUILD_TESTS=OFF
tools/build.sh x86_64 -DIV_BUILD_TESTS=OFF

export IV_WINEPREFIX=${IV_WINEPREFIX:-$repo/build/run-wineprefix}
. tools/wine/wine-env.sh
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  iv_stop_xvfb
}
trap cleanup EXIT INT TERM
if [ -z "${DISPLAY:-}" ]; then
  iv_start_xvfb
  echo "No display: running on virtual display $DISPLAY (screenshot: import -display $DISPLAY -window root shot.png)"
fi
iv_wine_prepare

server=build/native/tools/iconserver/iconserver
if [ -x "$server" ]; then
  out=$(mktemp)
  "$server" --root build/native/tools/iconserver/sample --port 0 >"$out" 2>&1 &
  pids+=($!)
  url=""
  for _ in $(seq 100); do
    url=$(sed -n 's/^listening on //p' "$out" | head -n1)
    [ -n "$url" ] && break
    sleep 0.1
  done
  echo "Icon server: $url"
  echo "To start a link the way a browser would, run in another terminal:"
  echo "  DISPLAY=$DISPLAY IV_WINEPREFIX=$WINEPREFIX tools/wine/winerun start 'icvan:AddList?list=$url/list.php?dir=Funny.Cats'"
  wine reg add 'HKCU\SOFTWARE\Dravolt Software\Iconvane for AIM\Options' /v IconServer /d "$url" /f >/dev/null 2>&1
fi

bin=build/x86_64/bin
if [ -f "$bin/$sim" ]; then
  wine "$bin/$sim" &
  pids+=($!)
  echo "AIM simulator: $sim"
fi
echo "Try first: in another terminal, run the \"start 'icvan:AddList...'\" line above and answer \"Yes\" to add its icons."
echo "Then, on \"Icon Manager\", pick an icon and press \"Use this Icon!\": the AIM simulator's window shows it."
echo "Or, on \"Icon Settings\", choose \"Every N Minutes\" with 1: the rotation changes the buddy icon each minute."
echo "Starting Iconvane (program folder: $bin)"
# In the background and waited for, so a TERM or Ctrl+C runs the clean-up at once.
wine "$bin/iconvane.exe" &
pids+=($!)
wait $! || true
