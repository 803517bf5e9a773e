# First start: the settings file appears with every key and its default, the built-in art leaves
# no work file behind, and the back wall shows what the settings file asks for.
screen 1024x768
ini=$WINDIR/PondelSet.ini
rm -f "$ini" "$WINDIR"/*.ad "$WINDIR"/BackGround0.bmp "$WINDIR"/fish*.bmp "$WINDIR"/Particle1.bmp "$WINDIR"/Music.wav
app_up 20 "starts without a settings file"
check "settings file written" test -f "$ini"
tr -d '\r' <"$ini" >"$E2E_OUT/first.ini"
cat "$E2E_OUT/first.ini"
# Each default value is checked by the unit tests; here: the real program wrote every key.
check "default BACK COLOR1" grep -qxF "BACK COLOR1=65280" "$E2E_OUT/first.ini"
check "27 aquarium keys" test "$(sed -n '/^\[Aquarium Settings\]/,/^\[/p' "$E2E_OUT/first.ini" | grep -c =)" -eq 27
check "20 fish keys of 0 or 1" test "$(grep -cE '^Fish([0-9]|1[0-9])=[01]$' "$E2E_OUT/first.ini")" -eq 20
# (The instrumented build's own snapshot, NerithScr-frame.bmp, is no work file.)
leftovers=$(cd "$WINDIR" && ls *.ad *.bmp *.wav 2>/dev/null | grep -v '^NerithScr-' | tr '\n' ' ')
check "no work file left behind ($leftovers)" test -z "$leftovers"
app_end

# A two-colour gradient on the back wall: red at the top, blue at the bottom, no picture.
sed -i 's/^BACK MANJIANBIAN=.*/BACK MANJIANBIAN=1/; s/^BACK COLOR1=.*/BACK COLOR1=255/; s/^BACK COLOR2=.*/BACK COLOR2=16711680/; s/^BACKGROUND=.*/BACKGROUND=1/' "$ini"
sed -i 's/^QIPAONUM=.*/QIPAONUM=200/; s/^Fish\([0-9]*\)=.*/Fish\1=0/' "$ini"
app_up 30 "starts with a gradient"
f=$(shot gradient)
top=$(pixel "$f" 512 10); bottom=$(pixel "$f" 512 757)
echo "top $top, bottom $bottom"
read -r tr tg tb <<<"$top"; read -r br bg bb <<<"$bottom"
check "top of the wall is red" test "$tr" -gt 150 -a "$tb" -lt 100
check "bottom of the wall is blue" test "$bb" -gt 150 -a "$br" -lt 100
app_end
check "the settings file keeps the gradient" grep -q "^BACK MANJIANBIAN=1" "$ini"
