#!/usr/bin/env bash
# Runs make-screenshots.sh into a scratch folder and checks that every picture is
# there, shows a real window (not an empty patch of screen) and that each tab
# picture differs from the others. Exit 77 (skipped) without ImageMagick.
#   check-screenshots.sh --build DIR [--native DIR]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="" native=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --native) native=$2; shift 2 ;;
    *) echo "usage: $0 --build DIR [--native DIR]" >&2; exit 2 ;;
  esac
done
if ! command -v import >/dev/null || ! command -v identify >/dev/null; then
  # CI installs ImageMagick, so there its absence is a failure, not a skip.
  [ "${CI:-}" = true ] && { echo "FAIL: ImageMagick is not installed"; exit 1; }
  echo "ImageMagick is not installed: skipped"
  exit 77
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
args=(--build "$build" --out "$out" --prefix "$build/screenshots-wineprefix")
[ -n "$native" ] && args+=(--native "$native")
env -u DISPLAY "$here/make-screenshots.sh" "${args[@]}" || { echo "FAIL: make-screenshots.sh failed"; exit 1; }

expected=(main-welcome main-icon-settings main-icon-manager import-pictures main-paused exit-question)
[ -n "$native" ] && [ -x "$native/tools/iconserver/iconserver" ] && expected+=(download download-question)
failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
declare -A sig
for name in "${expected[@]}"; do
  f=$out/$name.png
  [ -s "$f" ] || { fail "$name.png missing or empty"; continue; }
  read -r fmt w h colours sig[$name] < <(identify -format '%m %w %h %k %#\n' "$f" 2>/dev/null) \
    || { fail "$name.png is not a picture"; continue; }
  [ "$fmt" = PNG ] || fail "$name.png is $fmt"
  [ "$w" -ge 100 ] && [ "$h" -ge 60 ] || fail "$name.png is only ${w}x${h}"
  # A cropped window has text and edges; a wrong rectangle is one flat colour.
  [ "$colours" -gt 16 ] || fail "$name.png has $colours colours"
done
for a in main-welcome main-icon-settings main-icon-manager; do
  for b in main-welcome main-icon-settings main-icon-manager; do
    [[ "$a" < "$b" ]] || continue
    [ -n "${sig[$a]:-}" ] && [ "${sig[$a]}" = "${sig[$b]:-}" ] && fail "$a.png and $b.png are the same picture"
  done
done
pictures=${#expected[@]}
echo "screenshots: $pictures pictures checked, $failed problems"
[ "$failed" -eq 0 ]
