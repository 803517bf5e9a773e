# The fish: several different species swim, and they move. (An empty roster: test_fish_dialog.sh.)
screen 1024x768
# A black wall, no picture, no bubbles: only the fish are lit.
mapfile -t fish < <(roster 12)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
app_up 100 "starts with twelve fish"
a=$(shot fish-a)
wait_frames $(( $(frames) + 30 )) >/dev/null
b=$(shot fish-b)
echo "lit pixels: $(lit "$a") and $(lit "$b"), distinct colours: $(colours "$a"), changed: $(differ "$a" "$b")"
check "fish are drawn" test "$(lit "$a")" -gt 3000
check "many colours: several species" test "$(colours "$a")" -ge 12
check "the fish move" test "$(differ "$a" "$b")" -gt 2000
app_end

