# Build helpers shared by every subsystem folder.

set(IV_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

if(WIN32)
  # A static runtime keeps the program folder free of MinGW DLLs.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The 32-bit build is what AIM users run, down to Windows XP SP3: its headers then
    # declare no later call and size structures (NONCLIENTMETRICS, NOTIFYICONDATA) as XP expects.
    add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501)
    # Linked into every 32-bit module that ships: see the file.
    set(IV_XP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../src/base/win/xp_tick_count.cpp)
  else()
    add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
    set(IV_XP_SOURCES "")
  endif()
  add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
  # A program that mostly waits in the tray: fewer code pages in memory matter more than
  # the last cycles. (Not --gc-sections: with it, std::thread of the static thread
  # library failed with "No such process".)
  set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
  set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
  add_compile_options(-Wall -Wextra -Wno-cast-function-type -Wno-unused-parameter)
else()
  add_compile_options(-Wall -Wextra)
  if(NOT IV_NO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# Test tools are never shipped and run only where the tests run: in their folder the
# headers may declare calls newer than the 32-bit program's oldest Windows.
macro(iv_test_tool_windows)
  get_directory_property(iv_defs COMPILE_DEFINITIONS)
  list(FILTER iv_defs EXCLUDE REGEX "^(_WIN32_WINNT|WINVER)=")
  set_directory_properties(PROPERTIES COMPILE_DEFINITIONS "${iv_defs};_WIN32_WINNT=0x0601;WINVER=0x0601")
endmacro()

# Portable core library of one subsystem: never includes <windows.h>.
function(iv_core name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${IV_ROOT}/src)
endfunction()

# Win32 layer of one subsystem: only in cross builds.
function(iv_win name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${IV_ROOT}/src)
  endif()
endfunction()

# GoogleTest: Debian's packaged library natively, its sources for the cross builds.
if(NOT TARGET GTest::gtest_main)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

option(IV_BUILD_TESTS "Build the tests" ON)

# Native unit tests of a portable core: iv_native_test(name SOURCES ... LIBS ...)
function(iv_native_test name)
  if(WIN32 OR NOT IV_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS native TIMEOUT 300)
endfunction()

# Tests of the Win32 layer, run under Wine: iv_wine_test(name SOURCES ... LIBS ...)
set(IV_WINE_RUN ${IV_ROOT}/tools/wine/winerun)
function(iv_wine_test name)
  if(NOT WIN32 OR NOT IV_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${IV_WINE_RUN} $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "IV_BIN=${CMAKE_BINARY_DIR}/bin")
endfunction()

# Benchmarks print figures; `cmake --build B --target bench` builds and runs them all.
# iv_bench(name SOURCES ... LIBS ... [WINE])
if(NOT TARGET bench)
  add_custom_target(bench)
endif()
function(iv_bench name)
  cmake_parse_arguments(B "WINE" "" "SOURCES;LIBS;ARGS" ${ARGN})
  if(B_WINE AND NOT WIN32)
    return()
  endif()
  add_executable(${name} EXCLUDE_FROM_ALL ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  if(WIN32)
    set(run ${IV_WINE_RUN} $<TARGET_FILE:${name}> ${B_ARGS})
  else()
    set(run $<TARGET_FILE:${name}> ${B_ARGS})
  endif()
  add_custom_target(run_${name} COMMAND ${CMAKE_COMMAND} -E env IV_BIN=${CMAKE_BINARY_DIR}/bin ${run}
    DEPENDS ${name} USES_TERMINAL)
  add_dependencies(bench run_${name})
endfunction()
