#!/bin/sh
# Makes a delay-load import library from a MinGW import library: the DLL is then
# loaded on the first call into it instead of at start-up. Data the import library
# defines itself (GUIDs) is carried over as it is.
#   delaylib.sh NM AR DLLTOOL IMPORT-LIB DLL-NAME OUTPUT x86_64|i686
set -eu
nm=$1 ar=$2 dlltool=$3 implib=$4 dll=$5 out=$6 arch=$7
def=$out.def
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  if [ "$arch" = i686 ]; then
    # __imp__Name@N: the def takes Name@N; -k imports it by its plain name.
    "$nm" "$implib" | awk '$2 == "I" && $3 ~ /^__imp__/ { sub(/^__imp__/, "", $3); print $3 }' | sort -u
  else
    "$nm" "$implib" | awk '$2 == "I" && $3 ~ /^__imp_/ { sub(/^__imp_/, "", $3); print $3 }' | sort -u
  fi
} >"$def"
rm -f "$out"
if [ "$arch" = i686 ]; then
  "$dlltool" -k --input-def "$def" --output-delaylib "$out" --dllname "$dll"
else
  "$dlltool" --input-def "$def" --output-delaylib "$out" --dllname "$dll"
fi
members=$("$nm" -A --defined-only "$implib" 2>/dev/null | awk '$2 ~ /^[RDB]$/ { n = split($1, p, ":"); print p[n - 1] }' | sort -u)
if [ -n "$members" ]; then
  tmp=$(mktemp -d)
  (cd "$tmp" && "$ar" x "$implib" $members)
  (cd "$tmp" && "$ar" rs "$out" $members)
  rm -rf "$tmp"
fi
