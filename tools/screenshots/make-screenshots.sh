#!/usr/bin/env bash
# Takes the pictures in docs/screenshots: the main window on each of its tabs, a
# picture imported as an icon, the rotation paused by "-pause", the exit question,
# and (when the native icon server is built) the download window and its question.
# Runs the x86_64 build under Wine on a private Xvfb display.
#   tools/screenshots/make-screenshots.sh [--build DIR] [--native DIR] [--out DIR] [--prefix DIR]
# Defaults: build/x86_64 (with ivshot.exe), build/native (icon server), docs/screenshots,
# and the Wine prefix $IV_WINEPREFIX, else build/screenshots-wineprefix. A prefix of the
# script's own (the default or --prefix) has its Wine processes ended at exit.
# With IV_SHOT_DISPLAY set, the display in DISPLAY is used instead of a private one.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$repo/build/x86_64
native=$repo/build/native
out=$repo/docs/screenshots
prefix=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --native) native=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--native DIR] [--out DIR] [--prefix DIR]" >&2; exit 2 ;;
  esac
done
build=$(cd "$build" && pwd)
ivshot=$build/tools/screenshots/ivshot.exe
for f in "$build/bin/iconvane.exe" "$ivshot"; do
  [ -f "$f" ] || { echo "make-screenshots: $f is missing: build $build first" >&2; exit 1; }
done
command -v import >/dev/null || { echo "make-screenshots: ImageMagick's import is missing" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

own_prefix=0
if [ -n "$prefix" ] || [ -z "${IV_WINEPREFIX:-}" ]; then
  # Wine wants an absolute prefix.
  export IV_WINEPREFIX=$(realpath -m "${prefix:-$repo/build/screenshots-wineprefix}")
  own_prefix=1
fi
. "$repo/tools/wine/wine-env.sh"

work=$(mktemp -d)
pids=()        # Windows processes (ivshot ids)
server_pid=""
cleanup() {
  set +e
  for p in "${pids[@]}"; do wine "$ivshot" kill "$p" >/dev/null 2>&1 || true; done
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  # Wine's helpers in a prefix of our own would lose their display next.
  [ "$own_prefix" = 1 ] && wineserver -k 2>/dev/null
  iv_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${IV_SHOT_DISPLAY:-}" ]; then
  iv_start_xvfb
fi
iv_wine_prepare

shot() {  # shot NAME GEOMETRY
  # Wine hands a painted window to the X server once the program is idle again;
  # there is nothing to wait on from outside, so give it a moment.
  sleep 0.3
  import -window root -crop "$2" +repage "$out/$1.png"
  echo "$out/$1.png ($2)"
}
drive() {
  # Through a file, not a pipe: a program ivshot starts keeps Wine's copy of its
  # output open, and a pipe would never end.
  wine "$ivshot" "$@" >"$work/drive.out"
  tr -d '\r' <"$work/drive.out"
}

# A scratch copy of the program folder, so the pictures never depend on (or leave
# anything in) the build's own folder.
folder=$work/Iconvane
mkdir -p "$folder"
find "$build/bin" -maxdepth 1 -type f ! -name 'aimsim*' -exec cp {} "$folder/" \;

server_url=""
sample=$native/tools/iconserver/sample
if [ -x "$native/tools/iconserver/iconserver" ] && [ -d "$sample" ]; then
  # A library to browse: the sample site's icons but one category, left to download.
  cp -r "$sample" "$folder/Icon Library"
  rm -rf "$folder/Icon Library/Sports"
  # The server's category list, as an update would have written it.
  for d in "$sample"/*/; do printf '%s\r\n' "$(basename "$d")"; done >"$folder/Categories.dat"
  # Icons come slowly, so the download window is still there for its picture.
  "$native/tools/iconserver/iconserver" --root "$sample" --port 0 --fail 'slow:/icons/*' \
    >"$work/server.out" 2>&1 &
  server_pid=$!
  for _ in $(seq 100); do
    server_url=$(sed -n 's/^listening on //p' "$work/server.out" | head -n1)
    [ -n "$server_url" ] && break
    sleep 0.1
  done
fi

# Fresh settings with a short rotation list; the server when there is one.
key='HKEY_CURRENT_USER\SOFTWARE\Dravolt Software\Iconvane for AIM'
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[-%s]\r\n\r\n' "$key"
  printf '[%s\\Icons]\r\n"Count"="2"\r\n"1"="Funny Cats\\\\cat-orange.gif"\r\n"2"="Smileys\\\\smile-yellow.gif"\r\n\r\n' "$key"
  if [ -n "$server_url" ]; then
    printf '[%s\\Options]\r\n"IconServer"="%s"\r\n' "$key" "$server_url"
  fi
} >"$work/settings.reg"
wine regedit /S "$(winepath -w "$work/settings.reg")" >/dev/null 2>&1

exe=$(winepath -w "$folder/iconvane.exe")
main=$(drive start "$exe")
pids+=("$main")
g=$(drive main "$main"); shot main-welcome "$g"
g=$(drive tab "$main" 1); shot main-icon-settings "$g"
g=$(drive tab "$main" 2); shot main-icon-manager "$g"

if [ -n "$server_url" ]; then
  link=$(drive start "$exe" "icvan:AddList?list=$server_url/list.php?dir=Sports")
  pids+=("$link")
  g=$(drive wait "$link" frmDL); shot download "$g"
  g=$(drive wait "$link" frmMsgBox); shot download-question "$g"
  drive kill "$link"
else
  echo "make-screenshots: no icon server in $native: no download pictures" >&2
fi

# A picture of one's own made into an icon (ImageMagick draws it).
convert -size 640x480 gradient:'#ffb347-#6a3093' -fill '#fff3b0' -draw 'circle 320,300 320,200' \
  -fill '#2d1b4e' -draw 'rectangle 0,400 640,480' "$folder/Sunset.jpg"
g=$(drive import "$main" "$(winepath -w "$folder/Sunset.jpg")" "My Pictures"); shot import-pictures "$g"
drive ok "$main" >/dev/null

# "-pause" from a second copy, as a shortcut would run it; it ends once the running
# copy has taken the command, and the Icon Settings tab then says so.
wine "$folder/iconvane.exe" -pause >/dev/null 2>&1
g=$(drive tab "$main" 1); shot main-paused "$g"
# The buddy icon pictures below need the rotation running again.
wine "$folder/iconvane.exe" -resume >/dev/null 2>&1

g=$(drive close "$main"); shot exit-question "$g"

# A buddy icon changed by the rotation, seen in the AIM simulator's window: AIM starts
# with the rotation's first icon, then Iconvane starts with the rotation due and
# applies the next one through AIM's Preferences.
sim=$build/bin/aimsim.exe
if [ -f "$sim" ] && [ -f "$folder/Icon Library/Smileys/smile-yellow.gif" ]; then
  drive kill "$main"
  aim=$work/aim
  mkdir -p "$aim/AIM Data/testuser"
  cp "$folder/Icon Library/Funny Cats/cat-orange.gif" "$aim/AIM Data/testuser/picture.id"
  aim_pid=$(drive start "$(winepath -w "$sim")" --no-register --data "$(winepath -w "$aim/AIM Data")" \
    --log "$(winepath -w "$aim/aimsim.log")")
  pids+=("$aim_pid")
  g=$(drive wait "$aim_pid" AimSimBuddyList); shot aim-icon-before "$g"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[%s\\Options]\r\n"Rotate"="5"\r\n"Minutes"="2"\r\n' "$key"
    printf '"Time"="2000-01-01 00:00:00"\r\n"Last Index"="0"\r\n'
  } >"$work/due.reg"
  wine regedit /S "$(winepath -w "$work/due.reg")" >/dev/null 2>&1
  main=$(drive start "$exe")
  pids+=("$main")
  # The apply runs through AIM's dialogs on a loaded machine: allow it two minutes.
  for _ in $(seq 1200); do
    grep -q '^icon-set ' "$aim/aimsim.log" 2>/dev/null && break
    sleep 0.1
  done
  grep -q '^icon-set ' "$aim/aimsim.log" 2>/dev/null \
    || { echo "make-screenshots: the rotation did not change the simulator's buddy icon" >&2; exit 1; }
  g=$(drive wait "$aim_pid" AimSimBuddyList); shot aim-icon-after "$g"
else
  echo "make-screenshots: no AIM simulator or sample icons: no buddy icon pictures" >&2
fi
