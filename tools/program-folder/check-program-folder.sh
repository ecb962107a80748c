#!/usr/bin/env bash
# Checks the 32-bit program folder, which cannot run on these machines, against the
# 64-bit one and against Windows XP SP3, the oldest Windows the program supports:
#   - both folders hold the same files;
#   - every program and DLL of the 32-bit folder is an i386 GUI program or DLL whose
#     subsystem version XP accepts (5.1 at most);
#   - the hook DLL exports, undecorated, every name the program looks up in it;
#   - the program and the hook DLL import only functions that XP SP3 exports by name
#     (the list beside this script); anything newer must be looked up at run time.
# Usage: check-program-folder.sh I686_BIN X86_64_BIN
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
i686=${1:?usage: $0 I686_BIN X86_64_BIN}
x64=${2:?usage: $0 I686_BIN X86_64_BIN}
objdump=i686-w64-mingw32-objdump
allowed="$here/xp-sp3-imports.txt"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for d in "$i686" "$x64"; do
  [ -f "$d/iconvane.exe" ] || { echo "FAIL: $d holds no iconvane.exe (build it: tools/build.sh i686 / x86_64)"; exit 1; }
done
command -v "$objdump" >/dev/null || { echo "FAIL: $objdump missing (Debian package mingw-w64)"; exit 1; }

# Plain files only, less what a run writes beside the program (./run.sh uses the x86_64
# folder): sub-folders, tmp.gif, Categories.dat, logs and moved-aside hooks.
list() {
  find "$1" -maxdepth 1 -type f ! -name tmp.gif ! -name Categories.dat ! -name '*.log' ! -name '*.old' \
    -printf '%f\n' | sort
}
if ! diff <(list "$i686") <(list "$x64") >/dev/null; then
  fail "the folders differ (< i686, > x86_64):"
  diff <(list "$i686") <(list "$x64") | grep '^[<>]'
fi

shipped=()
while read -r name; do
  lower=${name,,}
  case "$lower" in *.exe|*.dll) ;; *) continue ;; esac
  file="$i686/$name"
  header=$("$objdump" -p "$file" 2>/dev/null) || { fail "$name is not a PE file"; continue; }
  grep -q 'file format pei-i386' <<<"$header" || fail "$name is not an i386 file"
  grep -Eq '^Magic[[:space:]]+010b' <<<"$header" || fail "$name is not PE32"
  is_dll=$(awk '/^Characteristics/{on=1; next} on && /^$/{exit} on && $1=="DLL"{print "yes"}' <<<"$header")
  case "$lower" in
    *.dll) [ "$is_dll" = yes ] || fail "$name is not marked as a DLL" ;;
    *.exe)
      [ "$is_dll" != yes ] || fail "$name is marked as a DLL"
      # A console program would open a console window beside the tray icon.
      grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' <<<"$header" || fail "$name is not a Windows GUI program" ;;
  esac
  major=$(awk '/^MajorSubsystemVersion/{print $2}' <<<"$header")
  minor=$(awk '/^MinorSubsystemVersion/{print $2}' <<<"$header")
  [ $((major * 100 + minor)) -le 501 ] || fail "$name needs subsystem version $major.$minor; XP runs 5.1 at most"
  # The stand-in messenger for the tests is not shipped (the installer leaves it out).
  case "$lower" in aimsim*.exe) ;; *) shipped+=("$name") ;; esac
done < <(list "$i686")

# Imports by name: "DLL function" pairs; imports by ordinal are reported as such.
imports() {
  "$objdump" -p "$1" | awk '
    /^The Import Tables/ { on = 1; next }
    on && /^The Export Tables|^PE File Base Relocations/ { exit }
    on && /DLL Name:/ { dll = toupper($3); next }
    on && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_?@$]/ { print dll, $3; next }
    on && /^\t[0-9a-f]+\t +<none>/ { print dll, "ordinal:" $NF }'
}
allow=$(grep -v '^#' "$allowed" | awk 'NF == 2 { print toupper($1), $2 }' | sort -u)
for name in "${shipped[@]}"; do
  bad=$(comm -23 <(imports "$i686/$name" | sort -u) <(echo "$allow"))
  [ -z "$bad" ] || fail "$name imports what Windows XP SP3 does not export by name:"$'\n'"$bad"
done

# The names the program passes to GetProcAddress for the hook DLL.
wanted=$(sed -n 's/^inline constexpr char k[A-Za-z]*Name\[\] = "\([A-Za-z0-9_]*\)";.*/\1/p' "$repo/src/aim/hook/ivhook.h")
[ -n "$wanted" ] || fail "no exported names found in src/aim/hook/ivhook.h"
exported=$("$objdump" -p "$i686/ivhook.dll" | awk '/^\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^$/{exit} on {print $NF}')
for n in $wanted; do
  grep -qx "$n" <<<"$exported" || fail "ivhook.dll does not export $n undecorated"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures problem(s) in $i686"
  exit 1
fi
echo "ok: $i686 matches $x64; ${#shipped[@]} shipped modules import only what Windows XP SP3 exports by name"
