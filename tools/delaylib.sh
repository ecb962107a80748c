#!/bin/sh
# Makes a delay-load import library from a MinGW import library: the DLL is then
# loaded on the first call into it instead of at start-up.
#   delaylib.sh NM DLLTOOL IMPORT-LIB DLL-NAME OUTPUT x86_64|i686
set -eu
nm=$1 dlltool=$2 implib=$3 dll=$4 out=$5 arch=$6
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
if [ "$arch" = i686 ]; then
  "$dlltool" -k --input-def "$def" --output-delaylib "$out" --dllname "$dll"
else
  "$dlltool" --input-def "$def" --output-delaylib "$out" --dllname "$dll"
fi
