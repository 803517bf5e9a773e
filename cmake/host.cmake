# Native build: the portable core as a library, its unit tests, benchmarks and the host tools.
find_package(PkgConfig REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa glu)

set(STB_INCLUDE_DIR /usr/include/stb)
# The picture decoders include stb_image_guarded.h from here (cmake/StbImage.cmake).
include(${CMAKE_SOURCE_DIR}/cmake/StbImage.cmake)
set(STB_GUARDED_DIR ${CMAKE_BINARY_DIR}/stb)
nerith_guarded_stb_image(${STB_INCLUDE_DIR} ${STB_GUARDED_DIR})

function(nerith_core_library name)
  add_library(${name} STATIC ${CORE_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${STB_INCLUDE_DIR} ${STB_GUARDED_DIR})
  target_link_libraries(${name} PUBLIC PkgConfig::OSMESA)
endfunction()

nerith_core_library(nerith_core)

# The same core, and the same tests, under AddressSanitizer and UndefinedBehaviorSanitizer.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
nerith_core_library(nerith_core_asan)
target_compile_options(nerith_core_asan PRIVATE ${SANITIZE})
target_link_options(nerith_core_asan PUBLIC ${SANITIZE})

# `make test` runs the tests against the sanitized core only (every memory and undefined-behaviour
# check on in the code under test; the test files themselves are compiled plainly, which more than
# halves the build); the plain build is there for quick runs by hand
# (cmake --build build/host --target host_tests) and is not built by default.
file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
foreach(variant IN ITEMS "" "_asan")
  if(variant STREQUAL "")
    add_executable(host_tests EXCLUDE_FROM_ALL ${HOST_TEST_SOURCES})
  else()
    add_executable(host_tests${variant} ${HOST_TEST_SOURCES})
  endif()
  target_include_directories(host_tests${variant} PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
  target_link_libraries(host_tests${variant} PRIVATE nerith_core${variant} GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(host_tests${variant} PRIVATE NERITH_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             NERITH_ART_DIR="${CMAKE_BINARY_DIR}/art")
  target_precompile_headers(host_tests${variant} PRIVATE <gtest/gtest.h> <vector> <string> <cstdint>)
endforeach()

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(BENCH_SOURCES)
  add_executable(host_bench EXCLUDE_FROM_ALL ${BENCH_SOURCES})
  target_link_libraries(host_bench PRIVATE nerith_core benchmark::benchmark Threads::Threads)
  # The photos of the picture benchmarks are made by the bigphoto tool (tools/bigphoto).
  target_compile_definitions(host_bench PRIVATE NERITH_BIGPHOTO="$<TARGET_FILE:bigphoto>")
  add_dependencies(host_bench bigphoto)
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
      target_link_libraries(${tool} PRIVATE nerith_core Threads::Threads)
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

# ---- Texture loaders: the SOIL comparison and the BMP fuzzer -------------------------------
# Our SOIL_load_OGL_texture against the real libSOIL (Debian libsoil1). The test opens the
# library with dlopen, so its exported SOIL_load_OGL_texture never meets ours at link time, and
# exports glXGetProcAddressARB for it. It runs twice: with Mesa's S3TC (both store DXT) and
# without it (both upload uncompressed and must match exactly).
find_file(REAL_SOIL_LIBRARY NAMES libSOIL.so.1 libSOIL.so PATHS /usr/lib /usr/lib/x86_64-linux-gnu NO_DEFAULT_PATH)
if(REAL_SOIL_LIBRARY)
  add_executable(soil_compare_tests ${CMAKE_SOURCE_DIR}/tests/soil/SoilCompareTest.cpp)
  target_include_directories(soil_compare_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
  target_link_libraries(soil_compare_tests PRIVATE nerith_core GTest::gtest GTest::gtest_main ${CMAKE_DL_LIBS})
  target_compile_definitions(soil_compare_tests PRIVATE NERITH_REAL_SOIL="${REAL_SOIL_LIBRARY}")
  set_target_properties(soil_compare_tests PROPERTIES ENABLE_EXPORTS ON)
  add_test(NAME soil_compare COMMAND soil_compare_tests)
  add_test(NAME soil_compare_uncompressed COMMAND soil_compare_tests)
  set_tests_properties(soil_compare_uncompressed PROPERTIES
                       ENVIRONMENT "MESA_EXTENSION_OVERRIDE=-GL_EXT_texture_compression_s3tc")
endif()

# libFuzzer needs clang, which the host build does not use: `make fuzz` (target bmp_fuzz_run)
# builds the target with clang++ and runs it for two minutes; the test bmp_fuzz_smoke builds it
# if needed and makes a short bounded run from the seed files. New inputs go to build/host/fuzz.
find_program(FUZZ_CLANGXX NAMES clang++ clang++-14)
if(FUZZ_CLANGXX)
  set(BMP_FUZZ ${CMAKE_BINARY_DIR}/fuzz/bmp_fuzz)
  set(BMP_FUZZ_SEEDS ${CMAKE_SOURCE_DIR}/tests/fuzz/bmp_seeds)
  add_custom_command(OUTPUT ${BMP_FUZZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz/corpus ${CMAKE_BINARY_DIR}/fuzz/smoke
    COMMAND ${FUZZ_CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
            -I${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/assets/Bmp.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/BmpFuzz.cpp
            -o ${BMP_FUZZ}
    DEPENDS ${CMAKE_SOURCE_DIR}/src/assets/Bmp.cpp ${CMAKE_SOURCE_DIR}/src/assets/Bmp.h
            ${CMAKE_SOURCE_DIR}/tests/fuzz/BmpFuzz.cpp
    COMMENT "Building the BMP fuzzer with clang")
  add_custom_target(bmp_fuzz DEPENDS ${BMP_FUZZ})
  add_custom_target(bmp_fuzz_run
    COMMAND ${BMP_FUZZ} -max_total_time=120 -max_len=4096 ${CMAKE_BINARY_DIR}/fuzz/corpus ${BMP_FUZZ_SEEDS}
    DEPENDS bmp_fuzz USES_TERMINAL)
  add_test(NAME bmp_fuzz_smoke
    COMMAND sh -c "${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target bmp_fuzz >/dev/null && \
                   ${BMP_FUZZ} -runs=20000 -seed=1 -max_len=4096 ${CMAKE_BINARY_DIR}/fuzz/smoke ${BMP_FUZZ_SEEDS}")
endif()

# The fuzzer of the user's picture route (checked decoding and the changes before the upload):
# `cmake --build build/host --target picture_fuzz_run` builds it with clang and runs it for ten
# minutes; the seeds include the inputs that once broke the decoders.
if(FUZZ_CLANGXX)
  set(PICTURE_FUZZ ${CMAKE_BINARY_DIR}/fuzz/picture_fuzz)
  add_custom_command(OUTPUT ${PICTURE_FUZZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz/picture_corpus
    COMMAND ${FUZZ_CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize=nonnull-attribute
            -fno-sanitize-recover=all -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/tests/fuzz/picture_ignore.txt
            -I${CMAKE_SOURCE_DIR}/src -I${STB_INCLUDE_DIR} -I${STB_GUARDED_DIR}
            ${CMAKE_SOURCE_DIR}/src/assets/SoilLoader.cpp ${CMAKE_SOURCE_DIR}/src/assets/PictureDecoder.cpp
            ${CMAKE_SOURCE_DIR}/src/assets/FileBytes.cpp
            ${CMAKE_SOURCE_DIR}/tests/fuzz/PictureFuzz.cpp -lOSMesa -lGLU -o ${PICTURE_FUZZ}
    DEPENDS ${CMAKE_SOURCE_DIR}/src/assets/SoilLoader.cpp ${CMAKE_SOURCE_DIR}/src/assets/SoilLoader.h
            ${CMAKE_SOURCE_DIR}/src/assets/PictureDecoder.cpp ${CMAKE_SOURCE_DIR}/src/assets/PictureDecoder.h
            ${CMAKE_SOURCE_DIR}/tests/fuzz/PictureFuzz.cpp ${CMAKE_SOURCE_DIR}/tests/host/MipmapCheck.h
            ${STB_GUARDED_DIR}/stb_image_guarded.h ${CMAKE_SOURCE_DIR}/tests/fuzz/picture_ignore.txt
    COMMENT "Building the picture fuzzer with clang")
  add_custom_target(picture_fuzz DEPENDS ${PICTURE_FUZZ})
  add_custom_target(picture_fuzz_run
    COMMAND ${PICTURE_FUZZ} -max_total_time=600 -max_len=8192 -rss_limit_mb=2048
            ${CMAKE_BINARY_DIR}/fuzz/picture_corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/picture_seeds
    DEPENDS picture_fuzz USES_TERMINAL)
endif()
