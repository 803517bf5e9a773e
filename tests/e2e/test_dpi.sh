# The screen at 150 % (144 DPI), in a Wine prefix of its own, with the real mouse: the fifth entry
# of the larger menu opens Fish Settings, a click in a scaled cell and Add put one fish of that
# species in PondelSet.ini, and the picture fills the dialog that grew with its font.
screen 1280x1024
# The DPI belongs to the prefix and is read when Wine starts: a prefix of its own, set once.
export WINEPREFIX=$ROOT/build/wineprefix-dpi144
if ! grep -q '"LogPixels"=dword:00000090' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine_prefix_ready
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  wine_window_manager no
fi
WINDIR=$(wine_windir)
LOG=$WINDIR/NerithScr-instrument.log
ini=$WINDIR/PondelSet.ini
mapfile -t fish < <(roster 0)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
app_up 20

fish_key() { tr -d '\r' <"$ini" | awk -F= -v k="Fish$1" '$1==k {print $2}'; }
fish_sum() { tr -d '\r' <"$ini" | awk -F= '$1 ~ /^Fish[0-9]+$/ {s += $2} END {print s + 0}'; }
file_has() { [ "$(fish_key "$1")" = "$2" ]; }

# "  Add/Delete Fish" is the fifth entry: at 150 % the rows are 72 pixels high, not 48.
menu_x=900; menu_y=100
xdotool mousemove $menu_x $menu_y click 3
sleep 0.5
xdotool mousemove $((menu_x + 120)) $((menu_y + 3 + 4 * 72 + 36))
sleep 0.3
shot menu >/dev/null
xdotool click 1
title="Fish Settings - 3D Nerith Fish Screensaver 1.0"
check "the fifth entry of the larger menu opens the dialog" wait_for 5 shown "$title"
read -r cx cy cw ch <<<"$(winctl client "$title")"
echo "client area at $cx,$cy, ${cw}x$ch"
# About half as large again as the 501 x 518 of 100 % (the font need not keep the proportions).
check "the dialog grew with its font" test "$cw" -ge 720 -a "$cw" -le 800 -a "$ch" -ge 700 -a "$ch" -le 800

# Species 7, row 1 and column 2: its cell spans 303..453 x 138..273 of the client area at 150 %
# (at 100 % that point would be species 13).
xdotool mousemove $((cx + 378)) $((cy + 205)) click 1
sleep 0.3
xdotool mousemove $(centre "$title" 1007) click 1
check "the click and the Add button put one fish of species 7 in the file" wait_for 2 file_has 7 1
check "and no other" test "$(fish_sum)" = 1
xdotool mousemove $((cx + cw + 50)) $((cy + 100))  # off the dialog: no hover on the shot
sleep 0.5
img=$(shot dialog)

# The last cell (species 19, 603..753 x 408..543) shows its fish, the selected one the inverting
# ellipse, and the far corner the picture's pale blue, not the grey dialog face.
cell() { echo "120x100+$((cx + $1))+$((cy + $2))"; }
convert "$img" -crop "$(cell 618 425)" +repage "$E2E_OUT/cell19.png"
check "the last cell shows its fish" test "$(colours "$E2E_OUT/cell19.png")" -gt 8
sel=$(mean "$img" "$(cell 318 155)"); other=$(mean "$img" "$(cell 18 155)")
echo "mean brightness: selected cell $sel, species 5 $other"
check "the selected cell is drawn inverted" test "$sel" -lt $((other - 40))
read -r r g b <<<"$(pixel "$img" $((cx + cw - 20)) $((cy + ch - 80)))"
echo "ground near the far corner: $r $g $b"
check "the picture's ground reaches the far corner" test $((b - r)) -ge 8

xdotool key Escape
check "Escape closes the dialog" wait_for 3 hidden "$title"
app_end "the program ends normally"
