#!/bin/sh
# Imports 100 generated photos (1 to 5 MB) as buddy icons and does the same with
# ImageMagick's convert (one process a photo, as a user would run it: resize to fit
# 48 x 48 and write a GIF), on the same files, then prints both times and the ratio.
#   import_bench.sh IMPORT_BENCH_EXE [COUNT]
set -eu
exe=$1
count=${2:-100}
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../../tools/wine/winerun"
work=$(mktemp -d /tmp/iv-import-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/photos" "$work/ours" "$work/convert"

"$run" "$exe" make "Z:$work/photos" "$count"

ms() { date +%s%N | cut -b1-13; }

start=$(ms)
for f in "$work"/photos/*.jpg; do
  convert "$f" -resize 48x48 "$work/convert/$(basename "$f" .jpg).gif"
done
convert_ms=$(( $(ms) - start ))

start=$(ms)
ours=$("$run" "$exe" import "Z:$work/photos" "Z:$work/ours")
ours_total_ms=$(( $(ms) - start ))
echo "$ours"
ours_ms=$(echo "$ours" | sed -n 's/.*import_ms=\([0-9]*\).*/\1/p')

echo "convert_ms=$convert_ms (one convert process a photo)"
echo "ours_ms=$ours_ms (inside the program) ours_with_wine_start_ms=$ours_total_ms"
awk -v o="$ours_ms" -v c="$convert_ms" -v t="$ours_total_ms" 'BEGIN {
  printf "ratio_ours_to_convert=%.2f ratio_with_wine_start=%.2f (below 1 is faster than convert)\n", o / c, t / c }'
