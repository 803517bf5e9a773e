# Hostile, broken and unusable settings, one start of the real program each: the tank appears and
# keeps rendering, every line of the user's file we have no business rewriting stays byte for
# byte, and at most one message shows (exactly one where the defaults cannot be saved). Then saves
# from a dialog that cannot be made.
screen 1024x768
ini=$WINDIR/PondelSet.ini
AQUARIUM_KEYS=("Show Water" "Show Light" "Show Terra" "FRONT GUDING" "FRONTCOLOR" "FRONT MANJIANBIAN"
  "FRONT COLOR1" "FRONT COLOR2" "FRONT AUTOJIANBIAN" "CHECK LOCKFORE" "LOCKFORE ROT" "BACK GUDING"
  "BACKCOLOR" "BACK MANJIANBIAN" "BACK COLOR1" "BACK COLOR2" "BACK AUTOJIANBIAN" "CHECK LOCKBACK"
  "LOCKBACK ROT" "YINLIANG" "QIPAONUM" "BACKGROUND" "FOGNONGDU" "LIGHTQIANGDU" "CHECK VIEWS"
  "VIEWSLEFTRIGHT" "VIEWSNEARFAR")
# Keys rewritten on every start; the two replaced when out of range; all of ours; none.
FORCED='Show Water|Show Light|Show Terra|BACK GUDING|BACKCOLOR|BACK AUTOJIANBIAN'
RANGED='FOGNONGDU|LIGHTQIANGDU'
OURS="$(IFS='|'; echo "${AQUARIUM_KEYS[*]}")|Fish[0-9]+"
NONE='^$'
media=$WINEPREFIX/drive_c/faults
mkdir -p "$media"

# every_key VALUE: both numeric sections with every key set to VALUE.
every_key() {
  local k lines=("[Aquarium Settings]")
  for k in "${AQUARIUM_KEYS[@]}"; do lines+=("$k=$1"); done
  lines+=("[Fish Number]")
  for k in $(seq 0 19); do lines+=("Fish$k=$1"); done
  write_ini "${lines[@]}"
}
# A sane file with these extra lines after it.
sane_plus() { mapfile -t fish < <(roster 3); write_ini "[Aquarium Settings]" "QIPAONUM=100" "${fish[@]}" "$@"; }

prep_random_bytes() { python3 -c 'import random,sys; r=random.Random(15); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(8192)))' >"$ini"; }
# A 1 MB value the program reads, and a 1 MB line it has no business with.
prep_long_lines() {
  write_ini "[Aquarium Settings]" "QIPAONUM=$(head -c 1048576 /dev/zero | tr '\0' '7')" \
    "[Custom Images]" "ImageList0=C:\\$(head -c 1048576 /dev/zero | tr '\0' 'a').jpg"
}
prep_int_min() { every_key -2147483648; }
prep_int_max() { every_key 2147483647; }
prep_nan() { every_key nan; }
prep_empty() { every_key ""; }
# Counts of 100000 fish, pieces of music and pictures, with nothing behind them.
prep_counts_100000() {
  local k fish=("[Fish Number]")
  for k in $(seq 0 19); do fish+=("Fish$k=100000"); done
  write_ini "[Aquarium Settings]" "QIPAONUM=100" "${fish[@]}" "[Custom Settings]" "OwnMusic=1" \
    "MusicSum=100000" "[Custom Images]" "OwnImage=1" "ImageSum=100000"
}
# Stored media that is missing, unreadable (a folder in the file's place) or not media at all.
prep_bad_media() {
  mkdir -p "$media/folder.wav" "$media/folder.jpg"
  printf 'not music\r\n' >"$media/notes.mp3"
  printf 'not a picture\r\n' >"$media/notes.jpg"
  sane_plus "[Custom Settings]" "OwnMusic=1" "MusicSum=3" "MusicList0=C:\\faults\\missing.wav" \
    "MusicList1=C:\\faults\\folder.wav" "MusicList2=C:\\faults\\notes.mp3" \
    "[Custom Images]" "OwnImage=1" "ImageSum=3" "ImageList0=C:\\faults\\missing.jpg" \
    "ImageList1=C:\\faults\\folder.jpg" "ImageList2=C:\\faults\\notes.jpg"
}
# The read-only attribute, then a file that cannot be written at all (immutable even for root).
prep_read_only_ini() { sane_plus; chmod 444 "$ini"; }
prep_unwritable_ini() { sane_plus; chattr +i "$ini"; }
# A Windows directory that takes no new file nor change: the program keeps its settings and work
# files in the per-user folder instead (the instrument log is made beforehand, to count frames).
prep_unwritable_windir() {
  sane_plus
  : >"$LOG"
  chattr +i "$ini" "$WINDIR"
}

# expect WHAT COMMAND...: like check, but the remaining cases still run; the test fails at the end.
failures=()
expect() { local what=$1; shift; if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures+=("$what"); return 1; fi; }

userdir=
undo_locks() {
  chattr -i "$WINDIR" "$ini" 2>/dev/null; chmod 644 "$ini" 2>/dev/null
  if [ -n "$userdir" ]; then umount "$userdir" 2>/dev/null; rm -rf "$userdir"; userdir=; fi
  unset NERITH_PER_USER; true
}
trap 'undo_locks; app_kill; [ -n "${OWN_XVFB:-}" ] && { wine_stop; stop_xvfb; }' EXIT

# kept_in A B: every line of A is in B, unchanged and in the same order (B may have more).
kept_in() { ! diff -a "$1" "$2" | grep -aq '^<'; }

# run_case NAME OWNED MESSAGES: one start of the instrumented program on the prepared file.
run_case() {
  local name=$1 owned=$2 wanted=$3 messages=0 seen="" d i f1
  echo "== $name"
  cp "$ini" "$E2E_OUT/$name.before"
  # Not app_start: a message box may come before the frame.
  rm -f "$LOG" 2>/dev/null
  wine "$ROOT/build/win/NerithScr_instr.exe" >"$E2E_OUT/$name.out" 2>&1 &
  APP_PID=$!
  # Until the first frame; now and then, and once more after, any message box is counted and answered.
  local up=0 t0=$SECONDS n=0
  while [ $((SECONDS - t0)) -lt 60 ]; do
    n=$((n + 1))
    [ "$(frames)" -ge 1 ] 2>/dev/null && [ "$(winctl count)" = 1 ] && { up=1; break; }
    if [ $((n % 10)) = 0 ]; then
      while read -r d _; do
        [ -n "$d" ] || continue
        [[ " $seen " == *" $d "* ]] || { seen="$seen $d"; messages=$((messages + 1)); }
        xdotool key Return
      done < <(winctl dialogs)
    fi
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  expect "$name: the tank appears" test $up = 1
  echo "$name: first frame after $((SECONDS - t0)) s"
  expect "$name: frames come" wait_frames 10 30
  f1=$(frames)
  expect "$name: and keep coming" wait_frames $((f1 + 60)) 30
  d=$(winctl dialogs)
  [ -n "$d" ] && messages=$((messages + $(wc -l <<<"$d"))) && echo "open at the end: $d"
  echo "$name: $messages message(s)$([ -s "$E2E_OUT/$name.out" ] && echo ", output: $(head -c 200 "$E2E_OUT/$name.out")")"
  expect "$name: ${wanted:-at most one} message(s)" test $messages -le 1 -a $messages -ge "${wanted:-0}"
  shot "$name" >/dev/null
  winctl close
  app_wait 20
  expect "$name: ends with status 0" test "$APP_STATUS" = 0
  app_kill
  grep -avE "^($owned)=" "$E2E_OUT/$name.before" >"$E2E_OUT/$name.kept"
  grep -avE "^($owned)=" "$ini" >"$E2E_OUT/$name.after"
  expect "$name: the user's lines are kept" kept_in "$E2E_OUT/$name.kept" "$E2E_OUT/$name.after" ||
    diff -a <(head -c 3000 "$E2E_OUT/$name.kept") <(head -c 3000 "$E2E_OUT/$name.after") | head -20
  undo_locks
}

# NAME|keys the program may rewrite|messages wanted|how the file is prepared. Present values are
# read, never rewritten (but for the forced and out-of-range keys).
cases=(
  "random_bytes|$NONE|1|prep_random_bytes"
  "long_lines|${OURS/|QIPAONUM/}||prep_long_lines"
  "int_min|$FORCED|$RANGED||prep_int_min"
  "int_max|$FORCED|$RANGED||prep_int_max"
  "nan|$FORCED||prep_nan"
  "empty|$OURS||prep_empty"
  "counts_100000|${OURS/|Fish[0-9]+/}||prep_counts_100000"
  "bad_media|$OURS||prep_bad_media"
  "read_only_ini|$NONE|1|prep_read_only_ini"
  "unwritable_ini|$NONE|1|prep_unwritable_ini"
  "unwritable_windir|$NONE||prep_unwritable_windir"
)
fresh() {
  undo_locks
  rm -f "$ini"
  find "$WINEPREFIX/drive_c/users" -maxdepth 4 -type d -name NerithScr -exec rm -rf {} + 2>/dev/null
}
for row in "${cases[@]}"; do
  name=${row%%|*}; prep=${row##*|}; rest=${row#*|}; rest=${rest%|*}; owned=${rest%|*}; wanted=${rest##*|}
  [ -n "${FAULTS:-}" ] && [[ " $FAULTS " != *" $name "* ]] && continue
  fresh
  "$prep"
  run_case "$name" "$owned" "$wanted"
done

# Saves from a dialog that cannot be made: a file the program filled in at a first start is made
# unwritable; the program starts without a word, and "R" in Fish Settings puts a new roster into
# the tank and tries to save it: one message says why it cannot, the next save says nothing, the
# fish stay (also when the dialog reads the roster back), and the file keeps every byte.
# NAME|what makes the file unwritable|what runs once the tank is up|what the message says.
save_nul() { printf '; notes\0\r\n' >>"$used_ini"; }
save_read_only() { chmod 444 "$used_ini"; }
# The per-user folder on a small disk of its own, filled up once the program runs.
save_full_disk() {
  userdir=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*/AppData/Local' | head -1)/NerithScr
  mkdir -p "$userdir" && mount -t tmpfs -o size=24m nerith-full "$userdir" || return 1
  cp "$used_ini" "$userdir/PondelSet.ini"
  used_ini=$userdir/PondelSet.ini
  export NERITH_PER_USER=1
}
fill_disk() { dd if=/dev/zero of="$userdir/filler" bs=1M >/dev/null 2>&1; df -h "$userdir" | tail -1; }
saves=(
  "save_nul_byte|save_nul||not text"
  "save_read_only|save_read_only||read-only"
  "save_full_disk|save_full_disk|fill_disk|not enough room"
)
fish_title="Fish Settings - 3D Nerith Fish Screensaver 1.0"
message_up() { winctl dialogs | grep -q ' NerithScr$'; }
# Fish light up beside the dialog (the wall is black, there are no bubbles).
fish_up() {
  local x y w h; read -r _ x y w h <<<"$(winctl window "$fish_title")"
  local beside="${x}x768+0+0"; [ $((1024 - x - w)) -gt "$x" ] && beside="$((1024 - x - w))x768+$((x + w))+0"
  [ "$(lit "$(shot "$name-fish")" "$beside")" -gt 300 ]
}
open_fish() { menu_entry 4 && wait_for 5 shown "$fish_title"; }  # "  Add/Delete Fish"
for row in "${saves[@]}"; do
  IFS='|' read -r name prep arm told <<<"$row"
  [ -n "${FAULTS:-}" ] && [[ " $FAULTS " != *" $name "* ]] && continue
  echo "== $name"
  fresh
  mapfile -t fish < <(roster 0)
  write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
  used_ini=$ini
  app_start && wait_frames 5 && winctl close && app_wait 20  # the file filled in
  "$prep"
  cp "$used_ini" "$E2E_OUT/$name.before"
  app_start && wait_frames 20 30
  expect "$name: a quiet start" test -z "$(winctl dialogs)"
  [ -n "$arm" ] && "$arm"
  open_fish && xdotool key r
  expect "$name: one message says why" wait_for 5 eval 'winctl messages | grep -q "PondelSet.ini.*$told"'
  shot "$name-message" >/dev/null
  xdotool key Return
  expect "$name: the new roster swims" wait_for 5 fish_up
  xdotool key r
  sleep 1.5
  expect "$name: the next save says nothing" eval '! message_up'
  xdotool key Escape
  wait_for 5 eval '! shown "$fish_title"' && open_fish
  sleep 1.5  # the dialog has read the roster back and saved it
  # Polled: the fish may all be out of sight beside the dialog at any one moment.
  expect "$name: the roster stays when the dialog is opened again" wait_for 5 fish_up
  xdotool key Escape
  winctl close
  app_wait 20
  expect "$name: the file keeps every byte" cmp "$E2E_OUT/$name.before" "$used_ini"
done
undo_locks
[ ${#failures[@]} -eq 0 ] || fail "${#failures[@]} fault check(s): ${failures[*]}"
