#!/bin/sh
# Fetches URLs one after another with curl and prints the time taken: the yardstick
# for the program's own downloads.
#
#   bench-curl.sh [--reuse] [--with-list] [--ms] --list LIST_URL   the icon URLs of an icon list
#   bench-curl.sh [--reuse] [--ms] --file FILE       one URL per line
#   bench-curl.sh [--reuse] [--ms] URL...
#
# By default every URL gets its own curl process and connection; --reuse fetches
# them all with one curl process over one kept-alive connection. --with-list (before
# --list) fetches the list itself first, as the program does; --ms prints only the
# total milliseconds.
set -eu

reuse=0
with_list=0
ms_only=0
urls=$(mktemp)
out=$(mktemp -d)
trap 'rm -rf "$urls" "$out"' EXIT

usage() {
  sed -n '4,13p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

while [ $# -gt 0 ]; do
  case $1 in
    --reuse) reuse=1 ;;
    --with-list) with_list=1 ;;
    --ms) ms_only=1 ;;
    --list)
      [ $# -ge 2 ] || usage
      [ $with_list -eq 0 ] || echo "$2" >>"$urls"
      # Line 1 is the "[Category]" line; every further line is one icon URL.
      curl -sSf "$2" | tail -n +2 | grep -v '^$' >>"$urls"
      shift ;;
    --file)
      [ $# -ge 2 ] || usage
      grep -v '^$' "$2" >>"$urls"
      shift ;;
    -*) usage ;;
    *) echo "$1" >>"$urls" ;;
  esac
  shift
done

count=$(wc -l <"$urls")
[ "$count" -gt 0 ] || usage

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

start=$(now_ms)
if [ $reuse -eq 1 ]; then
  set --
  i=0
  while IFS= read -r url; do
    i=$((i + 1))
    set -- "$@" "$url" -o "$out/$i"
  done <"$urls"
  curl -sSf "$@"
  how="one curl, connection reused"
else
  i=0
  while IFS= read -r url; do
    i=$((i + 1))
    curl -sSf -o "$out/$i" "$url"
  done <"$urls"
  how="one curl per URL"
fi
end=$(now_ms)

bytes=$(cat "$out"/* | wc -c)
total=$((end - start))
if [ $ms_only -eq 1 ]; then
  echo "$total"
  exit 0
fi
echo "fetched $count URLs ($bytes bytes) in $total ms, $(awk "BEGIN { printf \"%.2f\", $total / $count }") ms per URL ($how)"
