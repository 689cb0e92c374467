#!/usr/bin/env bash
# Starts korva.exe as `./run --screenshot` does, on the display the tests run on:
# its window must appear and show the dark background, Alt+F4 must close it, the
# last line it prints must be the shutdown line and its exit code 0.
set -uo pipefail
build=$1
source_dir=$2
shot="$build/ekran_goruntusu.png"
rm -f "$shot"

output=$("$source_dir/scripts/korva-session" "$build" "$shot")
status=$?
echo "$output"
fail() { echo "FAILED: $*"; exit 1; }

[[ $status -eq 0 ]] || fail "exit code $status"
last=$(printf '%s\n' "$output" | tr -d '\r' | grep -v '^$' | tail -n 1)
[[ "$last" == "Korva kapatildi." ]] || fail "last line was '$last'"
[[ -s "$shot" ]] || fail "no screenshot"

# Pixels of the background colour #1E1E2E: the toolbar, the sidebar and the status
# bar alone have more than forty thousand of them; a missing window gives none.
dark=$(convert "$shot" -fill black +opaque '#1E1E2E' -fill white -opaque '#1E1E2E' \
        -format '%[fx:mean*w*h]' info:)
dark=$(printf '%.0f' "$dark")
echo "background pixels: $dark"
(( dark > 40000 )) || fail "the window's background is not on the screen"
echo "1 passed, 0 failed"
