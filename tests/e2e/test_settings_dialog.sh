# The Aquarium Settings dialog over the running tank: command 1040 from outside opens it, the
# Bubble Count slider moved with the real mouse and keyboard reaches PondelSet.ini and the scene
# at once, and closing it leaves the tank running.
screen 1024x768
ini=$WINDIR/PondelSet.ini
title="Aquarium Settings - 3D Nerith Fish Screensaver 1.0"
mapfile -t fish < <(roster 0)
write_ini "[Aquarium Settings]" "QIPAONUM=100" "${fish[@]}"
app_up 40

key() { tr -d '\r' <"$ini" | awk -F= -v k="$1" '$1==k {print $2}'; }
# until_key KEY VALUE: polls the settings file for up to 3 s.
key_is() { [ "$(key "$1")" = "$2" ]; }
until_key() { wait_for 3 key_is "$@"; }

winctl command 1040
check "command 1040 opens the dialog" wait_for 5 shown "$title"
read -r _ dl dt dw dh <<<"$(winctl window "$title")"
dr=$((dl + dw)); db=$((dt + dh))
echo "dialog at $dl $dt $dr $db"
opened_at=$(frames)
check "the tank keeps rendering behind it" wait_frames $((opened_at + 60)) 10
check "the first save writes the phase in its own format" until_key "LOCKFORE ROT" "0.000000"
shot dialog >/dev/null

# The Bubble Count slider: drag its thumb (in the middle at 100) to the bottom: 200, no bubbles.
drag_down "$title" 1009
check "the slider follows the mouse to 200" test "$(winctl pos "$title" 1009)" = 200
check "QIPAONUM 200 reaches the file" until_key QIPAONUM 200
sleep 1.5
none=$(shot no-bubbles)

# Then the keyboard: Home takes the focused slider to 0, every bubble.
xdotool key Home
check "QIPAONUM 0 reaches the file" until_key QIPAONUM 0
at=$(frames)
check "frames come while the column rises" wait_frames $((at + 150)) 60

# The column rises from the floor through the middle of the tank, behind the dialog: below and
# above it the bubbles are in plain sight.
below="$(( dr - dl ))x$(( 768 - db - 4 ))+$dl+$(( db + 4 ))"; above="$(( dr - dl ))x$(( dt - 4 ))+$dl+0"
bubbles() { echo $(( $(bright "$1" "$below") + $(bright "$1" "$above") )); }
n0=$(bubbles "$none"); n1=0
for i in 1 2 3; do
  n=$(bubbles "$(shot "full-column-$i")"); [ "$n" -gt "$n1" ] && n1=$n
  sleep 0.3
done
echo "bright pixels beside the dialog: $n0 at 200, $n1 at 0"
check "no bubbles at 200" test "$n0" -lt 30
check "a full column at 0" test "$n1" -gt $(( n0 + 100 ))

# Escape closes it without a last save; the state is already in the file.
xdotool key Escape
check "Escape closes the dialog" wait_for 5 hidden "$title"
after=$(frames)
check "the tank keeps running after it" wait_frames $((after + 60)) 10
check "the file keeps the last state" test "$(key QIPAONUM)" = 0
app_end "the program ends normally"
