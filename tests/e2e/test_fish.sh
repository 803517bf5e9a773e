# The fish: several different species swim, and they move.
screen 1024x768
# A black wall, no picture, no bubbles: only the fish are lit.
mapfile -t fish < <(roster 12)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
check "starts with twelve fish" app_start
check "frames come" wait_frames 100
a=$(shot fish-a)
wait_frames $(( $(frames) + 30 )) >/dev/null
b=$(shot fish-b)
echo "lit pixels: $(lit "$a") and $(lit "$b"), distinct colours: $(colours "$a"), changed: $(differ "$a" "$b")"
check "fish are drawn" test "$(lit "$a")" -gt 3000
check "many colours: several species" test "$(colours "$a")" -ge 12
check "the fish move" test "$(differ "$a" "$b")" -gt 2000
winctl close
app_wait 20

# No fish at all: nothing but the black wall.
mapfile -t fish < <(roster 0)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
check "starts without fish" app_start
check "frames come" wait_frames 100
c=$(shot nofish)
echo "lit pixels without fish: $(lit "$c")"
check "an empty tank shows nothing" test "$(lit "$c")" -lt 50
winctl close
app_wait 20
