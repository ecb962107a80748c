# Lists what ships from the program folder, at build time, so a file added there is
# installed (and uninstalled) without touching the installer script.
#   cmake -DBIN=<program folder> -DFILES=<out.nsh> -DUNFILES=<out.nsh> -P list-files.cmake
# Only plain files of the folder itself ship: sub-folders such as "Icon Library"
# and the program's scratch files are what a test run or run.sh left behind.
cmake_minimum_required(VERSION 3.20)

foreach(var BIN FILES UNFILES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "list-files.cmake: ${var} is not set")
  endif()
endforeach()

if(NOT EXISTS "${BIN}/iconvane.exe")
  message(FATAL_ERROR "list-files.cmake: ${BIN}/iconvane.exe is missing")
endif()

file(GLOB entries LIST_DIRECTORIES false RELATIVE "${BIN}" "${BIN}/*")
list(SORT entries)
set(files "")
set(unfiles "")
foreach(name IN LISTS entries)
  string(TOLOWER "${name}" lower)
  if(lower MATCHES "^aimsim.*\\.exe$"            # stand-in messenger for tests
     OR lower MATCHES "test|bench"               # test and benchmark leftovers
     OR lower MATCHES "\\.(a|lib|exp|pdb|ilk|log|tmp)$"
     OR lower MATCHES "^\\."
     OR lower STREQUAL "categories.dat" OR lower STREQUAL "tmp.gif"
     OR lower STREQUAL "uninstall.exe")
    continue()
  endif()
  if(name MATCHES "[\"`']")
    message(FATAL_ERROR "list-files.cmake: cannot quote the file name ${name}")
  endif()
  string(REPLACE "$" "$$" escaped "${name}")
  string(REPLACE "$" "$$" source "${BIN}/${name}")
  # Size and time make the list change whenever a shipped file does.
  file(SIZE "${BIN}/${name}" size)
  file(TIMESTAMP "${BIN}/${name}" stamp "%Y%m%d%H%M%S" UTC)
  string(APPEND files "File \"${source}\" ; ${size} ${stamp}\n")
  string(APPEND unfiles "Delete \"$INSTDIR\\${escaped}\"\n")
endforeach()

# Rewritten only when the list changes, so makensis reruns only when needed.
file(CONFIGURE OUTPUT "${FILES}" CONTENT "@files@" @ONLY)
file(CONFIGURE OUTPUT "${UNFILES}" CONTENT "@unfiles@" @ONLY)
