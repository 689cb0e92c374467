#!/usr/bin/env bash
# The browser's frame at a screen density of 144 dpi (150%): the program's tests of
# the frame's sizes run in a Wine whose system density is 144, then the density is
# put back to 96 whatever happened, so that the tests after this one see the prefix
# as it was.
set -uo pipefail
build=$1
source_dir=$2
umask 077
source "$source_dir/scripts/wine-env"
korva_wine_env "$build"
korva_wine_prefix

trap 'korva_wine_dpi 96' EXIT
korva_wine_dpi 144 || { echo "FAILED: the density could not be set"; exit 1; }

GTEST_FILTER='Tarayici.CerceveSistemYogunluguylaOlceklenir:Tarayici.YogunlukDegisinceCerceveOlceklenirGeriDonunceAyniOlur' \
KORVA_BEKLENEN_DPI=144 \
  "$source_dir/scripts/wine-exec" "$build/tests/korva_app_tests.exe"
