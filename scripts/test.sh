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
timings=()  # "NAME SECONDS" of each part, printed at the end
START=$SECONDS
mkdir -p "$ROOT/build/test-logs"

record() {  # record NAME STATUS [SECONDS]
  timings+=("$1 ${3:-?}")
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "PASS $1 (${3:-?} s)"
  else failed=$((failed + 1)); failures+=("$1"); echo "FAIL $1 (${3:-?} s)"; fi
}

# A GoogleTest binary counts as one suite per test case it ran.
run_gtest() {  # run_gtest NAME COMMAND...
  local name=$1; shift
  local log="$ROOT/build/test-logs/$name.log"
  mkdir -p "$ROOT/build/test-logs"
  local t0=$SECONDS
  "$@" >"$log" 2>&1
  local status=$?
  timings+=("$name $((SECONDS - t0))")
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
    echo "PASS $name ($ok tests, $((SECONDS - t0)) s)"
  fi
}

wine_wanted=0
{ [ "$what" = all ] || [ "$what" = wine ] || [ "$what" = e2e ]; } && wine_wanted=1
# The Wine prefix and server start in the background while the host tests run.
if [ $wine_wanted = 1 ]; then
  source scripts/wine-env.sh
  export NERITH_TEST_ROOT=$ROOT/build/e2e
  mkdir -p "$NERITH_TEST_ROOT"
  # Sound plays into a file: HOME points at a scratch folder with its own .asoundrc.
  export HOME=$NERITH_TEST_ROOT/home
  mkdir -p "$HOME"
  printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' "$NERITH_TEST_ROOT/alsa_out.raw" >"$HOME/.asoundrc"
  export WINEPREFIX=$ROOT/build/wineprefix-test
  wine_t0=$SECONDS
  start_xvfb 1024x768 || exit 1
  trap 'wine_stop; stop_xvfb' EXIT
  (
    wine_prefix_ready
    grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null || wine_window_manager no
    # One Wine server for the whole run, kept alive between the tests (it would end three seconds
    # after its last program and take its start-up with it).
    wineserver -p
    wine cmd /c exit 0 >/dev/null 2>&1
  ) &
  wine_boot=$!
fi

if [ "$what" = all ] || [ "$what" = host ]; then
  run_gtest host_tests_asan env ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 build/host/host_tests_asan
  # Our picture loader against the real SOIL, with and without texture compression in the driver.
  run_gtest soil_compare build/host/soil_compare_tests
  run_gtest soil_compare_uncompressed env MESA_EXTENSION_OVERRIDE=-GL_EXT_texture_compression_s3tc \
    build/host/soil_compare_tests
  # A short bounded run of the BMP fuzzer from its seeds.
  t0=$SECONDS
  (cd build/host && ctest -R bmp_fuzz_smoke --output-on-failure) >build/test-logs/bmp_fuzz_smoke.log 2>&1
  record bmp_fuzz_smoke $? $((SECONDS - t0))
fi

if [ $wine_wanted = 1 ]; then
  wait $wine_boot || { echo "FAIL the Wine prefix"; exit 1; }
  timings+=("wine_start $((SECONDS - wine_t0))")
  # The end-to-end tests share this screen (and the server on it) when they ask for its size.
  export E2E_SCREEN=1024x768 E2E_DISPLAY=$DISPLAY
  if [ "$what" != e2e ]; then
    NERITH_ART_DIR=$(winepath -w "$ROOT/build/host/art" 2>/dev/null) \
      run_gtest win_tests wine build/win/win_tests.exe
  fi
  # The long runs (tests/e2e/long_*.sh) run only when named.
  scripts=(tests/e2e/test_*.sh)
  [ ${#only[@]} -gt 0 ] && scripts+=(tests/e2e/long_*.sh)
  for t in "${scripts[@]}"; do
    [ -e "$t" ] || continue
    if [ ${#only[@]} -gt 0 ]; then
      n=$(basename "$t" .sh); n=${n#test_}
      [[ " ${only[*]} " == *" $n "* ]] || continue
    fi
    name=e2e_$(basename "$t" .sh)
    log="$ROOT/build/test-logs/$name.log"
    t0=$SECONDS
    ( E2E_NAME=$name; source tests/e2e/lib.sh; source "$t" ) >"$log" 2>&1
    status=$?
    record "$name" $status $((SECONDS - t0))
    [ $status -ne 0 ] && tail -20 "$log"
    # A test that switched screens took the server with it; one that left a window behind
    # does not hand it to the next.
    if [ "$(wine "$ROOT/build/win/winctl.exe" count 2>/dev/null | tr -d '\r')" != 0 ]; then wine_stop; fi
    wineserver -p
  done
fi

echo
echo "time: $(printf '%s s, ' "${timings[@]}")total $((SECONDS - START)) s"
echo
[ ${#failures[@]} -gt 0 ] && echo "failed: ${failures[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
