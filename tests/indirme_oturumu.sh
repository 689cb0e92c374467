#!/usr/bin/env bash
# Closing Korva while a download runs, as a person does, with xdotool on the current
# (Xvfb) display: a large file comes slowly, Ctrl+J shows it in the Downloads panel,
# Alt+F4 closes Korva; nothing is left under the file's name in the Downloads folder
# (KORVA_INDIRME_KLASORU, a folder of this session's own), the profile keeps the
# download as cancelled, and the next Korva lists it. With the real engine the file
# comes from the loopback server, and the engine's private profile, which held the
# partial file, is gone with the engine. Pictures of every step are saved in the
# build folder as indirme_oturumu[_chromium]_NN_step.png.
#   [KORVA_ENGINE=standin|chromium] tests/indirme_oturumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-standin}
oturum_adi=indirme_oturumu
[[ "$motor" == chromium ]] && oturum_adi=indirme_oturumu_chromium
source "$source/tests/ortak/oturum.sh"

profil="$build/$oturum_adi.profil"
indirilenler="$build/$oturum_adi.indirilenler"
rm -rf "$profil" "$indirilenler"
mkdir -p "$profil" "$indirilenler"
export KORVA_PROFIL="$(winepath -w "$profil")"
export KORVA_INDIRME_KLASORU="$(winepath -w "$indirilenler")"

sorgu="ad=buyuk.bin&boyut=40000000&hiz=400000"
if [[ "$motor" == chromium ]]; then
    [[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"
    adres="$KORVA_TEST_SUNUCU/dosya?$sorgu"
else
    adres="http://indirme.standin/buyuk.bin?$sorgu"
fi

# 1. The download starts and runs: the panel shows it.
korva_baslat
tus ctrl+l
sleep 0.3
yaz "$adres"
tus Return
sleep 3
tus ctrl+j
sleep 0.7
ekran indiriliyor
[[ -z "$(ls -A "$indirilenler")" ]] || hata "a file is in the Downloads folder before the download completed: $(ls -A "$indirilenler")"
if [[ "$motor" == chromium ]]; then
    kismi=$(find "$WINEPREFIX"/drive_c/users/*/AppData/Local/[Kk]orva/WebView2/chromium_*/indirmeler -type f -size +1k 2>/dev/null | head -n 1)
    [[ -n "$kismi" ]] || hata "no partial file in the engine's private folder: the download is not running"
    surecler=$(motor_surecleri)
fi

# 2. Alt+F4 while it runs.
korva_kapat
[[ -z "$(ls -A "$indirilenler")" ]] || hata "closing left a file in the Downloads folder: $(ls -A "$indirilenler")"
grep -q '"buyuk.bin"' "$profil/indirmeler.json" 2>/dev/null || hata "the download is not kept in the profile"
grep -q '"iptal"' "$profil/indirmeler.json" || hata "the download is not kept as cancelled: $(cat "$profil/indirmeler.json")"
if [[ "$motor" == chromium ]]; then
    surecler_bitsin $surecler
    [[ ! -e "$kismi" ]] || hata "the partial file outlived the engine: $kismi"
fi

# 3. The next Korva lists it.
korva_baslat
tus ctrl+j
sleep 0.7
ekran yeniden
[[ "$(panel_alani "$goruntu")" != "" ]] || hata "no picture of the panel"
korva_kapat
echo "$oturum_adi: $adim steps passed; screenshots in $build"
