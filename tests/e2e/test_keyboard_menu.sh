# The popup menu without a mouse: Shift+F10 and the menu key open it (at the cursor when the cursor
# is over the view, else centred on the view), the arrows move the highlight, Enter chooses and
# Escape closes, all with real key events. In the screen saver a key still only ends it.
screen 1024x768
mapfile -t fish < <(roster 3)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
app_up 40

menus_are() { [ "$(winctl menus)" = "$1" ]; }
Strip="219 216 209"; Field="249 248 247"; Tint="177 185 207"
# row_colour FILE LEFT TOP N: the caption field's colour in entry N of a menu whose top-left is there.
row_colour() { pixel "$1" $(($2 + 100)) $(($3 + 3 + $4 * 48 + 10)); }

# ---- Shift+F10 with the cursor over the tank: the menu opens at the cursor -------------------------
x=300; y=150
xdotool mousemove $x $y
xdotool key shift+F10
check "Shift+F10 opens the menu" wait_for 3 menus_are 1
sleep 0.5
m=$(shot shift-f10)
check "at the cursor" test "$(pixel "$m" $((x + 12)) $((y + 3 + 2)))" = "$Strip"
check "with nothing highlighted yet" test "$(row_colour "$m" $x $y 0)" = "$Field"
xdotool key Down
sleep 0.5
d1=$(shot down-1)
check "Down highlights the first entry" test "$(row_colour "$d1" $x $y 0)" = "$Tint"
xdotool key Down
sleep 0.5
d2=$(shot down-2)
check "Down again moves the highlight to the second" \
  test "$(row_colour "$d2" $x $y 1)" = "$Tint" -a "$(row_colour "$d2" $x $y 0)" = "$Field"
xdotool key Up Up
sleep 0.5
check "Up wraps round to Exit" test "$(row_colour "$(shot up-2)" $x $y 7)" = "$Tint"
xdotool key Escape
check "Escape closes it" wait_for 3 menus_are 0
check "and chooses nothing: the program runs on" kill -0 "$APP_PID"

# ---- The menu key, six times Down and Enter: "  Custom Music" ---------------------------------------
title="Custom Music - 3D Nerith Fish Screensaver 1.0"
xdotool key Menu
check "the menu key opens the menu" wait_for 3 menus_are 1
xdotool key Down Down Down Down Down Down Return
check "Enter on the sixth entry opens Custom Music" wait_for 5 shown "$title"
check "and closes the menu" menus_are 0

# ---- Down, Enter: "  Feed Fish" is the mode again, and a click feeds -------------------------------
xdotool mousemove 60 700 click 1  # gives the view the keyboard back (the music mode drops nothing)
xdotool mousemove 700 300
xdotool key Menu
check "the menu opens again" wait_for 3 menus_are 1
xdotool key Down Return
check "Enter closes it" wait_for 3 menus_are 0
check "no pellet while in the music mode" test "$(count_of pellet_drops)" = 0
xdotool click 1
dropped() { [ "$(count_of pellet_drops)" = 1 ]; }
check "after Feed Fish chosen with the keys a click drops a pellet" wait_for 5 dropped

# ---- The cursor away from the view: the menu opens centred on the view ----------------------------
winctl show restore  # from maximised to the frame's normal place, smaller than the screen
read -r _ vx vy vw vh < <(winctl info | grep '^view ')
echo "view at $vx $vy size $vw x $vh"
check "the view no longer covers the screen" test "$vx" -gt 0 -a "$vy" -gt 0
xdotool mousemove 1 1
sleep 0.3
xdotool key Menu
check "opens with the cursor off the view" wait_for 3 menus_are 1
sleep 0.5
c=$(shot centred)
# Eight rows of 48 and the border: about 146 x 390, centred on the view's centre.
cx=$((vx + vw / 2)); cy=$((vy + vh / 2))
check "centred on the view" test "$(pixel "$c" $((cx - 60)) $((cy - 170)))" = "$Strip" \
  -a "$(pixel "$c" $((cx + 40)) $((cy + 170)))" = "$Field" -a "$(pixel "$c" $((cx - 60)) $((cy - 210)))" != "$Strip"
xdotool key Escape
check "Escape closes it" wait_for 3 menus_are 0

app_end "ends"

# ---- The screen saver: the menu key ends it like any key ------------------------------------------
rm -f "$LOG"
wine "$ROOT/build/win/NerithScr_instr.exe" /s >"$E2E_OUT/saver.out" 2>&1 &
APP_PID=$!
check "the saver runs" wait_frames 20 60
xdotool key Menu
app_wait 20
check "the menu key ends the saver with status 0" test "$APP_STATUS" = 0
