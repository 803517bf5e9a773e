# Native build: the portable core as a library, its unit tests, benchmarks and the host tools.
find_package(PkgConfig REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa glu)

set(STB_INCLUDE_DIR /usr/include/stb)

function(nerith_core_library name)
  add_library(${name} STATIC ${CORE_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${STB_INCLUDE_DIR})
  target_link_libraries(${name} PUBLIC PkgConfig::OSMESA)
endfunction()

nerith_core_library(nerith_core)

# The same core, and the same tests, under AddressSanitizer and UndefinedBehaviorSanitizer.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
nerith_core_library(nerith_core_asan)
target_compile_options(nerith_core_asan PUBLIC ${SANITIZE})
target_link_options(nerith_core_asan PUBLIC ${SANITIZE})

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
foreach(variant IN ITEMS "" "_asan")
  add_executable(host_tests${variant} ${HOST_TEST_SOURCES})
  target_include_directories(host_tests${variant} PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
  target_link_libraries(host_tests${variant} PRIVATE nerith_core${variant} GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(host_tests${variant} PRIVATE NERITH_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             NERITH_ART_DIR="${CMAKE_BINARY_DIR}/art")
endforeach()

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(BENCH_SOURCES)
  add_executable(host_bench ${BENCH_SOURCES})
  target_link_libraries(host_bench PRIVATE nerith_core benchmark::benchmark Threads::Threads)
endif()

# Host tools (art generator and scrambler): each folder under tools/ with .cpp files is one program.
file(GLOB TOOL_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir ${TOOL_DIRS})
  if(IS_DIRECTORY ${dir})
    get_filename_component(tool ${dir} NAME)
    file(GLOB tool_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(tool_sources)
      add_executable(${tool} ${tool_sources})
      target_include_directories(${tool} PRIVATE ${CMAKE_SOURCE_DIR}/src ${dir})
      target_link_libraries(${tool} PRIVATE nerith_core)
    endif()
  endif()
endforeach()

# The generated art: written by the art tool into build/host/art, packed by the Windows build.
if(TARGET artgen)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/art/stamp
    COMMAND artgen ${CMAKE_BINARY_DIR}/art
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/art/stamp
    DEPENDS artgen
    COMMENT "Generating the built-in art")
  add_custom_target(art ALL DEPENDS ${CMAKE_BINARY_DIR}/art/stamp)
endif()

enable_testing()
add_test(NAME host_tests COMMAND host_tests)
add_test(NAME host_tests_asan COMMAND host_tests_asan)
