#!/bin/sh
# Runs the download benchmark against the local icon site with its curl floor
# measured in the same run:
#   run-bench.sh SERVER SITE_ROOT BENCH.exe
# SERVER is the native iconserver, SITE_ROOT its 300-icon site (sample-bulk).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
[ $# -eq 3 ] || { echo "usage: $0 SERVER SITE_ROOT BENCH.exe" >&2; exit 2; }
exec "$repo/tools/iconserver/with-iconserver.sh" "$1" "$2" sh -c '
  list="$IV_ICON_SERVER/list.php?dir=Bulk.Icons"
  # The floor: the list and its 300 icons, one curl over one kept-alive connection
  # (the median of three runs).
  "$0/tools/iconserver/bench-curl.sh" --reuse --with-list --list "$list"
  IV_CURL_MS=$(for run in 1 2 3; do
    "$0/tools/iconserver/bench-curl.sh" --reuse --with-list --ms --list "$list"
  done | sort -n | sed -n 2p)
  export IV_CURL_MS
  "$0/tools/wine/winerun" "$1"
' "$repo" "$3"
