# The Windows-only paths, forced under Wine through the instrumented build: the view rendering
# straight into its own window (as every Windows user gets it), and the per-user folder taken when
# the Windows directory accepts no new files.
screen 1024x768
mapfile -t fish < <(roster 4)

# Direct rendering: frames come without a GL error and the back buffer holds the scene.
write_ini "[Aquarium Settings]" "QIPAONUM=200" "${fish[@]}"
NERITH_DIRECT_GL=1 check "starts rendering directly" app_start
check "frames come" wait_frames 120
check "the direct path was taken" grep -q "^note render direct" <(tr -d '\r' <"$LOG")
read -r lit colours < <(tr -d '\r' <"$LOG" | awk '$1=="backbuffer" {print $2, $3}')
echo "back buffer: $lit per mille lit, $colours colours; gl_errors $(value gl_errors)"
check "no GL error" test "$(value gl_errors)" = 0
check "the back buffer holds a lit scene" test "${lit:-0}" -gt 500 -a "${colours:-0}" -ge 6
shot direct >/dev/null
winctl close
app_wait 20
check "ends with status 0" test "$APP_STATUS" = 0

# The per-user folder: the settings are copied there and kept there, the work files are made and
# removed there, and the Windows directory is left exactly as it was.
local_app=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*AppData/Local' | head -1)
check "the user's AppData\\Local exists" test -n "$local_app"
per_user=$local_app/NerithScr
rm -rf "$per_user"
mkdir -p "$per_user"
write_ini "[Aquarium Settings]" "QIPAONUM=150" "BACKGROUND=1" "${fish[@]}"
rm -f "$WINDIR"/*.ad "$WINDIR"/Particle1.bmp
# Stale work files in both folders: the one in the per-user folder is replaced and removed by the
# program, the one in the Windows directory must survive untouched.
head -c 5000 /dev/urandom >"$WINDIR/Particle1.ad"
head -c 5000 /dev/urandom >"$per_user/Particle1.ad"
(cd "$WINDIR" && sha1sum PondelSet.ini Particle1.ad) >"$E2E_OUT/windir.sha1"
NERITH_PER_USER=1 check "starts with the per-user folder" app_start
check "frames come" wait_frames 40
winctl close
app_wait 20
check "ends with status 0" test "$APP_STATUS" = 0
ini=$per_user/PondelSet.ini
tr -d '\r' <"$ini" >"$E2E_OUT/per_user.ini"
check "the user's settings came along" grep -qx "QIPAONUM=150" "$E2E_OUT/per_user.ini"
check "and the fish roster" grep -qx "Fish3=1" "$E2E_OUT/per_user.ini"
check "the defaults were written there" test "$(grep -c = "$E2E_OUT/per_user.ini")" -eq 47
check "the Windows directory is untouched" bash -c "cd '$WINDIR' && sha1sum -c --quiet '$E2E_OUT/windir.sha1'"
leftovers=$(cd "$per_user" && ls | grep -v '^PondelSet.ini$' | tr '\n' ' ')
check "the work files were made and removed there ($leftovers)" test -z "$leftovers"
rm -f "$WINDIR/Particle1.ad"

# A second start finds the per-user settings and changes nothing the user set.
NERITH_PER_USER=1 check "starts again" app_start
check "frames come again" wait_frames 20
winctl close
app_wait 20
check "the per-user settings are kept" grep -qx "QIPAONUM=150" <(tr -d '\r' <"$ini")
