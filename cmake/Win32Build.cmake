# The Windows build, included by the top CMakeLists.txt when cross-compiling with
# cmake/mingw-w64-x86_64.cmake: the Win32 platform layer (pxwin32), the game executable
# laid out in build-win32/game/, and the unit tests as Windows console programs that CTest
# runs under Wine (cmake/wine-run.sh). The assets come from the Linux build's tools.

set(SF_WIN32_DATA_DIR ${CMAKE_SOURCE_DIR}/build/game CACHE PATH
    "Folder holding the Shardfall.pxa made by the Linux build")

# Win32 headers: no min/max macros, the narrow (A) interfaces, Windows 7 and later.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The platform layer: every .cpp of platform/win32 but the process entry.
file(GLOB win32_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
list(FILTER win32_srcs EXCLUDE REGEX "/main\\.cpp$")
add_library(pxwin32 STATIC ${win32_srcs})
target_link_libraries(pxwin32 PUBLIC pxengine dsound dxguid winmm gdi32 user32 shell32 advapi32 ole32)

set(win32_game_dir ${CMAKE_BINARY_DIR}/game)
add_executable(Shardfall WIN32 ${CMAKE_SOURCE_DIR}/platform/win32/main.cpp)
target_link_libraries(Shardfall PRIVATE sfgame pxwin32 pxengine)
set_target_properties(Shardfall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${win32_game_dir})

# The data beside the executable: the Linux build's archive, the about page that lies loose
# beside it (the web-page button hands a real file to the shell) and the tuning file.
add_custom_target(win32_data ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${win32_game_dir}/Shardfall
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/content/config.cfg ${win32_game_dir}/config.cfg
  COMMAND ${CMAKE_COMMAND} -DSRC=${SF_WIN32_DATA_DIR}/Shardfall.pxa -DDST=${win32_game_dir}/Shardfall.pxa
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfPresent.cmake
  COMMAND ${CMAKE_COMMAND} -DSRC=${SF_WIN32_DATA_DIR}/Shardfall/about.html
          -DDST=${win32_game_dir}/Shardfall/about.html -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfPresent.cmake
  VERBATIM)

include(${CMAKE_SOURCE_DIR}/cmake/Win32Package.cmake)

include(CTest)
if(NOT BUILD_TESTING)
  return()
endif()

# GoogleTest from Debian's source package, built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(SF_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
add_subdirectory(${SF_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The content tests read the game in both forms: the game folder above, packed, and the
# Linux build's loose tree, copied beside it.
set(SF_WIN32_LOOSE_DIR ${CMAKE_SOURCE_DIR}/build/game-loose CACHE PATH
    "The loose game tree made by the Linux build")
if(EXISTS ${SF_WIN32_LOOSE_DIR})
  add_custom_target(win32_loose_data ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/game-loose
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${SF_WIN32_LOOSE_DIR} ${CMAKE_BINARY_DIR}/game-loose
    VERBATIM)
endif()

# Every test source runs here unless it, or a shared test header it includes, needs another
# platform layer or a program of the Linux build (sfsim, pxapack, assetgen); a folder with
# no such source left is not built, nor is e2e (the Linux game on an X display of its own).
# tests/support/HostFileManager.h picks the host's file manager, so it is not held against
# the tests that include it.
set(SF_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix the tests run in")
set(CMAKE_CROSSCOMPILING_EMULATOR /bin/sh ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${SF_WINE_PREFIX})

# Sets `out` to TRUE when `file` or a test header it reaches needs the Linux build.
function(sf_needs_linux out file)
  set(pending ${file})
  set(seen)
  set(result FALSE)
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT EXISTS ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    if(current STREQUAL "${CMAKE_SOURCE_DIR}/tests/support/HostFileManager.h")
      continue()
    endif()
    file(STRINGS ${current} foreign REGEX "platform/(posix|sdl|openal)/|/tools/")
    if(foreign)
      set(result TRUE)
      break()
    endif()
    file(STRINGS ${current} includes REGEX "#include \"tests/[^\"]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE ".*#include \"(tests/[^\"]+)\".*" "\\1" header "${line}")
      list(APPEND pending ${CMAKE_SOURCE_DIR}/${header})
    endforeach()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# One precompiled GoogleTest header shared by every test program, as in the Linux build.
add_library(sf_test_pch OBJECT ${CMAKE_SOURCE_DIR}/tests/TestPch.cpp)
target_link_libraries(sf_test_pch PRIVATE pxengine gtest)
target_compile_definitions(sf_test_pch PRIVATE
  SF_SOURCE_DIR="${CMAKE_SOURCE_DIR}" SF_BINARY_DIR="${CMAKE_BINARY_DIR}")
target_precompile_headers(sf_test_pch PRIVATE <gtest/gtest.h> <string> <vector> <memory> <algorithm>)
target_compile_options(sf_test_pch PRIVATE ${SF_TEST_OPTIMIZE})

file(GLOB test_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*)
foreach(dir ${test_dirs})
  if(NOT IS_DIRECTORY ${dir})
    continue()
  endif()
  get_filename_component(name ${dir} NAME)
  if(name STREQUAL "e2e")
    continue()
  endif()
  file(GLOB_RECURSE all_srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(srcs)
  set(left_out)
  foreach(src ${all_srcs})
    sf_needs_linux(linux_only ${src})
    if(linux_only)
      get_filename_component(src_name ${src} NAME)
      list(APPEND left_out ${src_name})
    else()
      list(APPEND srcs ${src})
    endif()
  endforeach()
  if(left_out)
    list(JOIN left_out ", " left_out_text)
    message(STATUS "Windows build: not run here, needing the Linux platform or tools: tests/${name}/ ${left_out_text}")
  endif()
  if(NOT srcs)
    continue()
  endif()
  add_executable(test_${name} ${srcs})
  target_compile_options(test_${name} PRIVATE ${SF_TEST_OPTIMIZE})
  target_link_libraries(test_${name} PRIVATE sfgame pxwin32 pxengine gtest gtest_main)
  target_compile_definitions(test_${name} PRIVATE
    SF_SOURCE_DIR="${CMAKE_SOURCE_DIR}" SF_BINARY_DIR="${CMAKE_BINARY_DIR}")
  target_precompile_headers(test_${name} REUSE_FROM sf_test_pch)
  add_test(NAME test_${name} COMMAND test_${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endforeach()
