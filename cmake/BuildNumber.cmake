# Writes OUT, the header with the build number: the number of commits of the checkout (0 outside
# a git checkout). The file is only rewritten when the number changes, so a build without a new
# commit recompiles nothing.
execute_process(COMMAND git -C "${SOURCE_DIR}" rev-list --count HEAD
                OUTPUT_VARIABLE build OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
if(NOT status EQUAL 0 OR NOT build MATCHES "^[0-9]+$")
  set(build 0)
endif()
file(WRITE "${OUT}.new" "#define NERITH_BUILD ${build}\n#define NERITH_VERSION_TEXT \"1.0.${build}.0\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.new" "${OUT}")
file(REMOVE "${OUT}.new")
