#!/usr/bin/env bash
# The address bar and the everyday commands on the real engine, as a person uses
# them with xdotool on the current (Xvfb) display, against the loopback server
# (tests/ortak/sayfa_sunucusu.py): typing at once after start-up, an address typed
# without its scheme, words searched with the search engine of the settings (the
# server's own /ara), the rest of an address typed before filled in, the menu from
# the keyboard, the page's source after Ctrl+U, the page printed to a PDF and saved
# as MHTML (KORVA_KAYIT_YOLU names the file instead of the save dialog). Pictures of every step are
# saved in the build folder as adres_oturumu_chromium_NN_step.png.
#   KORVA_ENGINE=chromium tests/adres_oturumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-chromium}
oturum_adi=adres_oturumu_chromium
source "$source/tests/ortak/oturum.sh"
[[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"
sunucu=${KORVA_TEST_SUNUCU%/}
semasiz=${sunucu#http://}

profil="$build/$oturum_adi.profil"
kayit="$build/$oturum_adi.kayit"
rm -rf "$profil" "$kayit"
mkdir -p "$profil"
printf '{"surum":1,"baslangic_sayfasi":"","yakinlik":100,"arama_motoru":"%s/ara?q=%%s"}' "$sunucu" >"$profil/ayarlar.json"
export KORVA_PROFIL="$(winepath -w "$profil")"
export KORVA_KAYIT_YOLU="$(winepath -w "$kayit")"

# Waits (at most 30 s) until the window's name starts with this text.
ad_basi_bekle() {
    local ad=""
    for _ in $(seq 1 300); do
        ad=$(xdotool getwindowname "$pencere" 2>/dev/null || true)
        [[ "$ad" == "$1"* ]] && return 0
        sleep 0.1
    done
    hata "window name is '$ad', expected it to start with '$1'"
}

# Waits (at most 30 s) until the file exists and its first bytes are these.
dosya_bekle() {
    for _ in $(seq 1 300); do
        [[ -s "$1" && "$(head -c ${#2} "$1")" == "$2" ]] && return 0
        sleep 0.1
    done
    hata "no file $1 beginning with '$2'"
}

# 1. The keyboard is in the address entry at start-up: an address without its
# scheme, typed at once, is a local server's and loads over http.
korva_baslat
yaz "$semasiz/ikinci.html"
tus Return
ad_bekle "Ikinci Sayfa - Korva"
ekran semasiz_adres

# 2. Words are searched with the engine of the settings.
tus ctrl+t
ad_bekle "Hizli Erisim - Korva"
yaz "hava durumu"
tus Return
ad_bekle "Arama: hava durumu - Korva"
ekran arama

# 3. The start of an address typed before: the rest is filled in, Enter opens it.
tus ctrl+t
ad_bekle "Hizli Erisim - Korva"
yaz "$semasiz/ik"
sleep 0.5
ekran tamamlama
tus Return
ad_bekle "Ikinci Sayfa - Korva"

# 4. The menu from the keyboard: F10, then Enter on its first item, New tab.
tus F10
sleep 0.5
ekran menu
tus Return
ad_bekle "Hizli Erisim - Korva"
tus ctrl+w
ad_bekle "Ikinci Sayfa - Korva"

# 5. The page's source in a tab of its own.
tus ctrl+u
ad_basi_bekle "view-source:"
ekran kaynak
tus ctrl+w
ad_bekle "Ikinci Sayfa - Korva"

# 6. Printed to a PDF, then saved as MHTML, each whole under the chosen name.
tus ctrl+p
dosya_bekle "$kayit" "%PDF-"
sleep 0.5
[[ "$(tail -c 32 "$kayit" | tr -d '\r\n ')" == *"%%EOF" ]] || hata "the PDF does not end with %%EOF"
rm -f "$kayit"
tus ctrl+s
dosya_bekle "$kayit" "From: <Saved by Blink>"
sleep 0.5
grep -q "Ikinci Sayfa" "$kayit" || hata "the MHTML file does not hold the page's title"
ls "$build"/$oturum_adi.kayit.yaziliyor-* >/dev/null 2>&1 && hata "a partial file was left beside the saved one"

korva_kapat
echo "$oturum_adi: $adim steps passed; screenshots in $build"
