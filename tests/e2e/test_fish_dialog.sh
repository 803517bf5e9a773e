# The Fish Settings dialog with real mouse and keys: the menu opens it over the swimming tank,
# a click selects a species, A and the Add button add, C clears; each change reaches
# PondelSet.ini and the tank within a second; Escape closes it and the program runs on.
screen 1024x768
# A black wall, no picture, no bubbles: only the fish are lit. No fish to begin with.
mapfile -t fish < <(roster 0)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
ini=$WINDIR/PondelSet.ini
check "starts" app_start
check "frames come" wait_frames 40

fish_key() { tr -d '\r' <"$ini" | awk -F= -v k="Fish$1" '$1==k {print $2}'; }
fish_sum() { tr -d '\r' <"$ini" | awk -F= '$1 ~ /^Fish[0-9]+$/ {s += $2} END {print s + 0}'; }
# Conditions for wait_for, read afresh on every poll.
file_has() { [ "$(fish_key "$1")" = "$2" ]; }
file_total() { [ "$(fish_sum)" = "$1" ]; }
frames_above() { [ "$(frames)" -gt "$1" ]; }
# The tank right of the dialog, where only fish can light pixels.
tank="500x768+524+0"
tank_lit() { lit "$(shot "$1")" "$tank"; }

# "  Add/Delete Fish" is the fifth entry of the menu (rows of 48 pixels).
menu_x=700; menu_y=150
xdotool mousemove $menu_x $menu_y click 3
sleep 0.5
xdotool mousemove $((menu_x + 80)) $((menu_y + 3 + 4 * 48 + 24)) click 1
dialog_window() { xdotool search --name "^Fish Settings - 3D Nerith Fish Screensaver 1.0\$" 2>/dev/null | head -1; }
dialog_open() { [ -n "$(dialog_window)" ]; }
check "the menu entry opens the dialog" wait_for 5 dialog_open
eval "$(xdotool getwindowgeometry --shell "$(dialog_window)")"  # X Y WIDTH HEIGHT, frame included
echo "dialog window at $X,$Y size ${WIDTH}x$HEIGHT"
# The client area: a 3-pixel frame left and below, the caption above.
cx=$((X + 3)); cy=$((Y + HEIGHT - 3 - 518))
f0=$(frames)
check "the tank keeps swimming behind the dialog" wait_for 15 frames_above "$f0"
echo "frames went from $f0 to $(frames) in $WAITED ms with the dialog open"
# The frame clock is the waitable timer's thread, not a window timer.
clock=$(tr -d '\r' <"$LOG" | awk '$1=="tick" {print $NF}')
check "the frame clock runs on a waitable timer ($clock)" test "$clock" = high_resolution -o "$clock" = system_1ms
check "no fish yet" test "$(tank_lit empty)" -lt 50

# Species 7: row 1, column 2 of the 100 x 90 cells.
xdotool mousemove $((cx + 250)) $((cy + 135)) click 1
sleep 0.3
t0=$(now_ms)
xdotool key --delay 30 a a a a a a a a a a a
check "A adds fish of the selected species to the file within a second" wait_for 1 file_has 7 11
echo "the file had them $WAITED ms after the last A key"
tank_has_fish() { [ "$(tank_lit added)" -gt 300 ]; }
check "the tank shows the new fish" wait_for 5 tank_has_fish
echo "from the first A key to fish in the tank: $(( $(now_ms) - t0 )) ms (polled with screenshots)"
# The Add button with the mouse: 41 x 23 pixels at (182, 486) of the client area.
xdotool mousemove $((cx + 202)) $((cy + 497)) click 1
check "the Add button adds one more" wait_for 1 file_has 7 12
check "only species 7" file_total 12
shot dialog

# C clears (shifted: either case works).
t0=$(now_ms)
xdotool key C
check "C clears the file within a second" wait_for 1 file_total 0
echo "the file was cleared $WAITED ms after the C key"
tank_empty() { [ "$(tank_lit emptied)" -lt 50 ]; }
check "the tank is empty again" wait_for 5 tank_empty
echo "from the C key to an empty tank: $(( $(now_ms) - t0 )) ms (polled with screenshots)"
shot cleared

# Escape closes the dialog; the program runs on.
xdotool key Escape
check "Escape closes the dialog" wait_for 3 eval "! dialog_open"
f1=$(frames)
check "the program keeps running" kill -0 "$APP_PID"
check "and keeps drawing" wait_for 15 frames_above "$f1"
check "the file keeps the cleared roster" test "$(fish_sum)" = 0
winctl close
app_wait 20
