#!/usr/bin/env bash
# Runs every test: the host unit tests (plain and sanitized), the Win32 tests under Wine and the
# end-to-end tests of the whole program under Wine + Xvfb. `scripts/test.sh host|wine` runs a part;
# `scripts/test.sh e2e [NAME...]` runs only end-to-end scripts (all, or tests/e2e/test_NAME.sh).
# Ends with the line "N passed, N failed".
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
what=${1:-all}
[ $# -gt 0 ] && shift
only=("$@")
passed=0
failed=0
failures=()

record() {  # record NAME STATUS
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "PASS $1"
  else failed=$((failed + 1)); failures+=("$1"); echo "FAIL $1"; fi
}

# A GoogleTest binary counts as one suite per test case it ran.
run_gtest() {  # run_gtest NAME COMMAND...
  local name=$1; shift
  local log="$ROOT/build/test-logs/$name.log"
  mkdir -p "$ROOT/build/test-logs"
  "$@" >"$log" 2>&1
  local status=$?
  local ok bad
  ok=$(grep -c '^\[       OK \]' "$log")
  bad=$(grep -c '^\[  FAILED  \] .*\..* (' "$log")
  passed=$((passed + ok)); failed=$((failed + bad))
  if [ $status -ne 0 ] || [ "$bad" -ne 0 ] || [ "$ok" -eq 0 ]; then
    [ "$bad" -eq 0 ] && failed=$((failed + 1))
    failures+=("$name")
    echo "FAIL $name ($ok passed, $bad failed, exit $status) — log: $log"
    grep -E '^\[  FAILED  \]|Failure|ERROR|Sanitizer' "$log" | head -40
  else
    echo "PASS $name ($ok tests)"
  fi
}

if [ "$what" = all ] || [ "$what" = host ]; then
  run_gtest host_tests build/host/host_tests
  run_gtest host_tests_asan env ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 build/host/host_tests_asan
  # Our picture loader against the real SOIL, with and without texture compression in the driver.
  run_gtest soil_compare build/host/soil_compare_tests
  run_gtest soil_compare_uncompressed env MESA_EXTENSION_OVERRIDE=-GL_EXT_texture_compression_s3tc \
    build/host/soil_compare_tests
  # A short bounded run of the BMP fuzzer from its seeds.
  (cd build/host && ctest -R bmp_fuzz_smoke --output-on-failure) >build/test-logs/bmp_fuzz_smoke.log 2>&1
  record bmp_fuzz_smoke $?
fi

if [ "$what" = all ] || [ "$what" = wine ] || [ "$what" = e2e ]; then
  source scripts/wine-env.sh
  export NERITH_TEST_ROOT=$ROOT/build/e2e
  mkdir -p "$NERITH_TEST_ROOT"
  # Sound plays into a file: HOME points at a scratch folder with its own .asoundrc.
  export HOME=$NERITH_TEST_ROOT/home
  mkdir -p "$HOME"
  printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' "$NERITH_TEST_ROOT/alsa_out.raw" >"$HOME/.asoundrc"
  export WINEPREFIX=$ROOT/build/wineprefix-test
  start_xvfb 1024x768 || exit 1
  trap 'wine_stop; stop_xvfb' EXIT
  wine_prefix_ready
  wine_window_manager no
  if [ "$what" != e2e ]; then
    NERITH_ART_DIR=$(winepath -w "$ROOT/build/host/art" 2>/dev/null) \
      run_gtest win_tests wine build/win/win_tests.exe
    wine_stop
  fi
  for t in tests/e2e/test_*.sh; do
    [ -e "$t" ] || continue
    if [ ${#only[@]} -gt 0 ]; then
      n=$(basename "$t" .sh); n=${n#test_}
      [[ " ${only[*]} " == *" $n "* ]] || continue
    fi
    name=e2e_$(basename "$t" .sh)
    log="$ROOT/build/test-logs/$name.log"
    ( E2E_NAME=$name; source tests/e2e/lib.sh; source "$t" ) >"$log" 2>&1
    status=$?
    record "$name" $status
    [ $status -ne 0 ] && tail -20 "$log"
    wine_stop
  done
fi

echo
[ ${#failures[@]} -gt 0 ] && echo "failed: ${failures[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
