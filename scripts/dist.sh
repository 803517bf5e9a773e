#!/usr/bin/env bash
# Packs what a Windows user needs into out/NerithScr-<version>.zip: the program, the same
# program as a screen saver (.scr) and the read-me with the install steps (Windows line ends).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WIN=$ROOT/build/win
version=$(sed -n 's/^#define NERITH_VERSION_TEXT "\(.*\)"$/\1/p' "$WIN/generated/BuildNumber.h")
name=NerithScr-$version
stage=$ROOT/build/dist/$name
rm -rf "$stage"
mkdir -p "$stage" "$ROOT/out"
cp "$WIN/NerithScr.exe" "$WIN/NerithScr.scr" "$stage/"
sed 's/$/\r/' "$ROOT/dist/ReadMe.txt" >"$stage/ReadMe.txt"
zip="$ROOT/out/$name.zip"
rm -f "$zip"
(cd "$ROOT/build/dist" && zip -q -X -r "$zip" "$name")
echo "$zip"
