# Music heard through a private PulseAudio null sink, recorded with parec: a stored list of tones in
# Repeat All, and the Custom Music dialog driven with the real mouse and keyboard (On/Off and the
# built-in loop, a row click, Remove, Add Music, Escape) and the list it stores.
source "$ROOT/scripts/pulse-env.sh"
screen 1024x768
check "a private PulseAudio" start_pulse
HEARD=$E2E_OUT/heard.raw
PAREC_PID=
trap 'app_kill; [ -n "$PAREC_PID" ] && kill "$PAREC_PID" 2>/dev/null; stop_pulse; [ -n "${OWN_XVFB:-}" ] && { wine_stop; stop_xvfb; }' EXIT
parec -d capture.monitor --format=s16le --rate=22050 --channels=1 --latency-msec=20 >"$HEARD" &
PAREC_PID=$!

# sound SECONDS: "RMS FREQUENCY" of the last SECONDS of the recording (sox's rough frequency).
sound() {
  local bytes=$(awk -v s="$1" 'BEGIN{printf "%d", int(s * 22050) * 2}')
  tail -c "$bytes" "$HEARD" | sox -t raw -r 22050 -e signed -b 16 -c 1 - -n stat 2>&1 |
    awk '/RMS +amplitude/{r=$3} /Rough +frequency/{f=$3} END{printf "%.4f %d\n", r, f}'
}
# is KIND [HZ]: what the last half second sounds like: "loop" (the built-in music, low and
# mixed), "tone HZ" (within 10 % of sox's rough estimate), "quiet".
is() {
  local r f; read -r r f <<<"$(sound 0.4)"
  case $1 in
    loop) awk -v r="$r" -v f="$f" 'BEGIN{exit !(r > 0.004 && f < 1500)}' ;;
    tone) awk -v r="$r" -v f="$f" -v h="$2" 'BEGIN{exit !(r > 0.02 && f > h * 0.9 && f < h * 1.1)}' ;;
    quiet) awk -v r="$r" 'BEGIN{exit !(r < 0.002)}' ;;
  esac
}
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN{printf "%.2f", b - a}'; }
# hear SECONDS KIND [HZ]: waits until the recording sounds so; prints the seconds it took.
hear() {
  local limit=$1 t0; t0=$(now); shift
  while :; do
    if is "$@"; then echo "heard $* after $(since "$t0") s"; return 0; fi
    awk -v e="$(since "$t0")" -v l="$limit" 'BEGIN{exit !(e > l)}' && { echo "not heard: $* ($(sound 0.4))"; return 1; }
    sleep 0.05
  done
}
work_files() { find "$WINDIR" -maxdepth 1 \( -iname '*.ad' -o -iname '*.wav' \) | wc -l; }

# Two tones for the user's list, in a folder of the Wine C: drive.
music=$WINEPREFIX/drive_c/nerith-music
mkdir -p "$music"
sox -n -r 22050 -c 1 -b 16 "$music/tone_a.wav" synth 2.5 sine 2500 vol 0.5
sox -n -r 22050 -c 1 -b 16 "$music/tone_b.wav" synth 2.5 sine 4000 vol 0.5

# 1. A stored list with own music on: the first tone plays instead, then Repeat All the second,
# then, past a file that is not there, the first again.
write_ini "[Aquarium Settings]" "BACKGROUND=1" "[Custom Settings]" "RandomMusic=0" "CycMusic=1" \
  "RepeatMusic=0" "OwnMusic=1" "MusicSum=3" 'MusicList0=C:\nerith-music\tone_a.wav' \
  'MusicList1=C:\nerith-music\tone_b.wav' 'MusicList2=C:\nerith-music\missing.wav'
check "starts with own music" app_start
check "the first listed tone plays" hear 40 tone 2500
check "Repeat All goes on to the second" hear 6 tone 4000
check "past the missing third file round to the first" hear 6 tone 2500

# 2. The dialog from the menu's "  Custom Music" (entry 5).
title="Custom Music - 3D Nerith Fish Screensaver 1.0"
menu_entry 5 300 150
check "the dialog shows" wait_for 3 shown "$title"
read -r _ dx dy dw dh <<<"$(winctl window "$title")"
echo "dialog at $dx $dy size $dw x $dh"
check "centred" test $(( (dx + dw / 2 - 512) ** 2 + (dy + dh / 2 - 384) ** 2 )) -lt 100
d=$(shot dialog-playing)
item() { winctl window "$title" "$1"; }
read -r _ lx ly lw lh <<<"$(item 1016)"
# The playing row is drawn green: look for green pixels in the list.
# greens FILE [CONVERT OPTIONS]: the list's green pixels white, everything else black.
greens() { local f=$1; shift; convert "$f" -crop "${lw}x${lh}+${lx}+${ly}" +repage -fuzz 10% -fill black \
  +opaque "rgb(0,255,0)" -fill white -opaque "rgb(0,255,0)" "$@" info:; }
green=$(greens "$d" -format "%[fx:int(mean*w*h+0.5)]")
echo "green pixels in the list: $green"
check "the playing row is green" test "$green" -gt 200
check "Add Music is locked while playing" test "$(item 1017 | cut -d' ' -f1)" = 0

# On/Off off: the tone stops and the built-in loop is back within a tick.
read -r ox oy <<<"$(centre "$title" 1011)"
xdotool mousemove "$ox" "$oy" click 1
check "On/Off off brings the loop back" hear 1.5 loop
check "the editing buttons unlock" test "$(item 1017 | cut -d' ' -f1)" = 1

# A click on the second row opens it without playing; Remove takes it out.
row_h=$(greens "$d" -trim -format "%h")
echo "row height $row_h"
first_green_y=$(greens "$d" -trim -format "%Y" | tr -d '+')
# The header is taller than one row and shorter than two: a green row starting below two row
# heights is row 1.
playing_row=$(( first_green_y >= 2 * row_h ? 1 : 0 ))
row0_y=$((ly + first_green_y + row_h / 2 - playing_row * row_h))
xdotool mousemove $((lx + 60)) $((row0_y)) click 1
sleep 0.5
xdotool mousemove $(centre "$title" 1018) click 1
sleep 0.5
shot dialog-removed >/dev/null
check "still the built-in loop" hear 1 loop

# Add Music through the system's open dialog: the file name typed, Enter.
xdotool mousemove $(centre "$title" 1017) click 1
check "the open dialog shows" wait_for 5 shown Open
shot open-dialog >/dev/null
sleep 0.5
xdotool type --delay 20 'C:\nerith-music\tone_a.wav'
xdotool key Return
wait_for 3 hidden Open
shot dialog-added >/dev/null

# Twenty times on and off: the first row (tone_b now) plays, then the loop each time.
# The list is now tone_b, missing.wav, tone_a.
restarts=0
for k in $(seq 20); do
  # Two clicks a few pixels apart, so that no pair of them makes a double click.
  xdotool mousemove $((ox - 6)) "$oy" click 1
  hear 3 tone 4000 >/dev/null || echo "switch $k: no tone ($(sound 0.4))"
  xdotool mousemove $((ox + 6)) "$oy" click 1
  if hear 1.5 loop >/dev/null; then restarts=$((restarts + 1)); else echo "switch $k: no loop"; fi
done
echo "the loop came back $restarts times of 20"
check "the loop starts on each of 20 switches" test $restarts = 20
check "no work file is left after 20 switches" test "$(work_files)" = 0

# Escape hides the dialog and stores the list.
xdotool mousemove $((dx + 30)) $((dy + 10)) click 1
xdotool key Escape
check "Escape hides the dialog" wait_for 3 hidden "$title"
ini=$(tr -d '\r' <"$WINDIR/PondelSet.ini")
echo "$ini" | sed -n '/Custom Settings/,$p'
check "the list is stored" grep -qxF 'MusicSum=3' <<<"$ini"
check "row 0 is the kept tone" grep -qxF 'MusicList0=C:\nerith-music\tone_b.wav' <<<"$ini"
check "row 1 is the missing file" grep -qxF 'MusicList1=C:\nerith-music\missing.wav' <<<"$ini"
check "row 2 is the added tone" grep -qxF 'MusicList2=C:\nerith-music\tone_a.wav' <<<"$ini"
check "own music is stored off" grep -qxF 'OwnMusic=0' <<<"$ini"
check "the mode is stored" grep -qxF 'CycMusic=1' <<<"$ini"
check "the loop plays on while the dialog is hidden" hear 1 loop
app_end

# 3. Stored lists of N files that are not there, a gap (an entry missing), then a tone, in Repeat
# All: the tone plays at start-up and again after "Stop" and "Play", and hiding the dialog keeps
# every entry. Measured with none and with a thousand missing files: the list's share of start-up
# (from the scene to the music dialog) and the time from the "Play" click to the tone.
figures=()
for n in 0 1000; do
  lines=("[Aquarium Settings]" "BACKGROUND=1" "[Custom Settings]" "CycMusic=1" "OwnMusic=1" "MusicSum=$((n + 2))")
  for ((i = 0; i < n; i++)); do lines+=("MusicList$i=C:\\nerith-music\\gone$i.wav"); done
  write_ini "${lines[@]}" "MusicList$((n + 1))=C:\\nerith-music\\tone_b.wav"
  check "starts with $n missing files and a gap before the tone" app_start
  check "the tone after them plays" hear 40 tone 4000
  check "frames come" wait_frames 20
  list_ms=$(awk -v a="$(mark scene_ready)" -v b="$(mark music_dialog)" 'BEGIN{printf "%.0f", b - a}')
  menu_entry 5 300 150
  check "the dialog shows" wait_for 3 shown "$title"
  xdotool mousemove $(centre "$title" 1022) click 1
  check "Stop silences it" hear 3 quiet
  t0=$(now)
  xdotool mousemove $(centre "$title" 1021) click 1
  check "Play plays it again" hear 20 tone 4000
  figures+=("$n missing files: list at start-up $list_ms ms, Play to tone $(since "$t0") s")
  shot list-$n >/dev/null
  xdotool key Escape
  check "Escape hides the dialog" wait_for 3 hidden "$title"
  ini=$(tr -d '\r' <"$WINDIR/PondelSet.ini")
  check "every entry is kept" grep -qxF "MusicSum=$((n + 2))" <<<"$ini"
  check "the gap stays a gap" test -z "$(grep -E "^MusicList$n=." <<<"$ini")"
  check "the tone after it is kept" grep -qxF "MusicList$((n + 1))=C:\\nerith-music\\tone_b.wav" <<<"$ini"
  app_end
done
printf 'measured: %s\n' "${figures[@]}"
