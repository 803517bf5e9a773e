# The scenery: the background picture through the water, and the bubbles, whose light is compared
# with a tank without them. (Other screen sizes: test_screens.sh.)
screen 1024x768
mapfile -t fish < <(roster 0)
write_ini "[Aquarium Settings]" "QIPAONUM=200" "${fish[@]}"
app_up 100 "starts without bubbles" 60
plain=$(shot plain)
app_end
write_ini "[Aquarium Settings]" "QIPAONUM=0" "${fish[@]}"
app_up 100 "starts with all bubbles" 60
a=$(shot bubbles)
wait_frames $(( $(frames) + 30 )) >/dev/null
b=$(shot bubbles2)
read -r tr tg tb <<<"$(pixel "$a" 512 96)"
# The floor: the mean of the bottom strip (sand, rocks, plants; the bubbles are a small part).
read -r sr sg sb <<<"$(convert "$a" -gravity south -crop 100%x8%+0+0 +repage \
    -format "%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]" info:)"
echo "water $tr $tg $tb, floor $sr $sg $sb"
check "water above is blue" test "$tb" -gt "$tr" -a "$tb" -gt 120
check "the sandy floor below is warm" test "$sr" -gt "$sb"
band="256x768+384+0"
echo "bright pixels in the middle band: $(bright "$plain" "$band") without bubbles, $(bright "$a" "$band") with"
check "bubbles add light" test "$(bright "$a" "$band")" -gt $(( $(bright "$plain" "$band") + 100 ))
check "the water moves" test "$(differ "$a" "$b")" -gt 5000
app_end
