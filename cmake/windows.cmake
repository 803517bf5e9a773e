# The Windows program, cross-compiled with mingw-w64, and the tests that run it under Wine.
set(ART_DIR "" CACHE PATH "Folder with the generated, scrambled art (the host build's art folder)")
if(NOT ART_DIR)
  message(FATAL_ERROR "ART_DIR must name the generated art folder")
endif()

set(WIN_LIBS opengl32 glu32 winmm vfw32 comctl32 comdlg32 shell32 advapi32 gdi32 user32 kernel32)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
set(ENTRY_SOURCE ${CMAKE_SOURCE_DIR}/src/app/WinMain.cpp)

list(REMOVE_ITEM WIN_SOURCES ${ENTRY_SOURCE})

# The sources that use the instrumentation probes are built twice, once with the probes live;
# everything else once, into a common library.
set(PROBED_SOURCES)
foreach(f ${WIN_SOURCES})
  file(STRINGS ${f} probed REGEX "#include \"Instrument.h\"")
  if(probed)
    list(APPEND PROBED_SOURCES ${f})
  endif()
endforeach()
list(REMOVE_ITEM WIN_SOURCES ${PROBED_SOURCES})

set(WIN_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
include(${CMAKE_SOURCE_DIR}/cmake/StbImage.cmake)
nerith_guarded_stb_image(/usr/include/stb ${CMAKE_BINARY_DIR}/stb)
add_library(nerith_win_common STATIC ${CORE_SOURCES} ${WIN_SOURCES})
target_include_directories(nerith_win_common PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res /usr/include/stb
                           ${CMAKE_BINARY_DIR}/stb)
target_compile_definitions(nerith_win_common PUBLIC ${WIN_DEFINITIONS})
target_link_libraries(nerith_win_common PUBLIC ${WIN_LIBS})

# Everything but the entry point, shared by the program and the Win32 tests.
function(nerith_win_library name)
  add_library(${name} STATIC ${PROBED_SOURCES})
  target_compile_definitions(${name} PUBLIC ${ARGN})
  target_link_libraries(${name} PUBLIC nerith_win_common)
endfunction()

nerith_win_library(nerith_win)
# The instrumented variant writes a frame log next to the settings file, for the end-to-end tests.
nerith_win_library(nerith_win_instr NERITH_INSTRUMENT=1)

# The build number of the version information: the commit count, looked at on every build.
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(BUILD_NUMBER_H ${GENERATED_DIR}/BuildNumber.h)
file(MAKE_DIRECTORY ${GENERATED_DIR})
add_custom_target(build_number
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUT=${BUILD_NUMBER_H} -P ${CMAKE_SOURCE_DIR}/cmake/BuildNumber.cmake
  BYPRODUCTS ${BUILD_NUMBER_H})

set(RC_FILE ${CMAKE_SOURCE_DIR}/res/NerithScr.rc)
file(GLOB ART_FILES ${ART_DIR}/*)
set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS
  "${ART_FILES};${BUILD_NUMBER_H};${CMAKE_SOURCE_DIR}/res/NerithScr.manifest")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --include-dir=${ART_DIR} --include-dir=${CMAKE_SOURCE_DIR}/res --include-dir=${GENERATED_DIR} -c 65001")

foreach(variant IN ITEMS "" "_instr")
  set(exe NerithScr${variant})
  add_executable(${exe} WIN32 ${ENTRY_SOURCE} ${RC_FILE})
  target_link_libraries(${exe} PRIVATE nerith_win${variant})
  target_link_options(${exe} PRIVATE ${STATIC_RUNTIME})
  add_dependencies(${exe} build_number)
  # The same program under the name Windows gives screen savers.
  add_custom_command(TARGET ${exe} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${exe}> $<TARGET_FILE_DIR:${exe}>/${exe}.scr)
endforeach()

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${RC_FILE})
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine)
target_link_libraries(win_tests PRIVATE nerith_win gtest gtest_main version)
target_precompile_headers(win_tests PRIVATE <windows.h> <gtest/gtest.h> <vector> <string>)
target_link_options(win_tests PRIVATE ${STATIC_RUNTIME})
add_dependencies(win_tests build_number)

# The end-to-end tests' helper that inspects and closes the program's window from outside.
add_executable(winctl ${CMAKE_SOURCE_DIR}/tests/winctl/winctl.cpp)
target_link_options(winctl PRIVATE ${STATIC_RUNTIME})
