#!/usr/bin/env bash
# A site's permission request as a person meets it, with xdotool on the current
# (Xvfb) display and the real engine: a page of the loopback server asks to send
# notifications; Korva's prompt under the address bar asks, "Izin ver" is clicked
# and the page hears "granted". The answer is kept in the profile (izinler.json):
# after Korva is closed and started again, the same page hears "granted" at once,
# with no prompt to answer. Settings lists the answer and forgets it; the page is
# then asked again, and Esc refuses without remembering. A picture of every step is saved in the build folder
# as izin_oturumu_chromium_NN_step.png.
#   KORVA_ENGINE=chromium tests/izin_oturumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-chromium}
oturum_adi=izin_oturumu_chromium
source "$source/tests/ortak/oturum.sh"
[[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"

profil="$build/$oturum_adi.profil"
rm -rf "$profil"
mkdir -p "$profil"
export KORVA_PROFIL="$(winepath -w "$profil")"
sayfa="$KORVA_TEST_SUNUCU/izin"

# The prompt: 640 by 34 at the page's top right corner, 8 pixels inside; its
# buttons from the right: the close mark (30 wide), "Engelle" and "Izin ver" (80
# wide each), 2 pixels of room on either side of each.
readonly IZIN_VER_X=1224 IZIN_VER_Y=91
# Settings: the sidebar's last button; the panel's last row holds "Secileni unut"
# and "Tumunu unut", sharing its width.
readonly AYARLAR_X=24 AYARLAR_Y=833
readonly TUMUNU_UNUT_X=380 TUMUNU_UNUT_Y=824

# The profile's permissions file holds no answer.
izinler_bos() {
    python3 -c 'import json,sys; sys.exit(0 if json.load(open(sys.argv[1]))["izinler"] == [] else 1)' \
        "$profil/izinler.json"
}

sayfayi_ac() {
    tus ctrl+l
    sleep 0.3
    yaz "$1"
    tus Return
}

# 1. The page asks; it waits while the prompt shows, and hears "granted" once
# "Izin ver" is clicked.
korva_baslat
sayfayi_ac "$sayfa"
ad_bekle "Izin bekleniyor - Korva"
sleep 1
ekran istem
ad=$(xdotool getwindowname "$pencere")
[[ "$ad" == "Izin bekleniyor - Korva" ]] || hata "the page did not wait for the answer: '$ad'"
tikla $IZIN_VER_X $IZIN_VER_Y
ad_bekle "Bildirim: granted - Korva"
ekran izin_verildi

# 2. Kept: closed and started again, the same page hears "granted" at once.
korva_kapat
python3 - "$profil/izinler.json" "$KORVA_TEST_SUNUCU" <<'PY' || hata "the answer is not kept: $(cat "$profil/izinler.json" 2>/dev/null)"
import json, sys
kayitlar = json.load(open(sys.argv[1]))["izinler"]
assert [(k["kaynak"], k["tur"], k["karar"]) for k in kayitlar] == [(sys.argv[2], "bildirim", "izin")], kayitlar
PY
korva_baslat
sayfayi_ac "$sayfa"
ad_bekle "Bildirim: granted - Korva"
sleep 0.5
ekran hatirlandi

# 3. Settings lists the answer; "Tumunu unut" forgets it, so the page is asked
# again; Esc refuses once, and nothing is remembered of it.
tikla $AYARLAR_X $AYARLAR_Y
sleep 1
ekran ayarlar
tikla $TUMUNU_UNUT_X $TUMUNU_UNUT_Y
sleep 0.5
ekran unutuldu
korva_kapat
izinler_bos || hata "the answer was not forgotten: $(cat "$profil/izinler.json")"
korva_baslat
sayfayi_ac "$sayfa"
ad_bekle "Izin bekleniyor - Korva"
sleep 1
ekran yeniden_istem
tus Escape
ad_bekle "Bildirim: denied - Korva"
korva_kapat
izinler_bos || hata "a refusal with Esc was remembered: $(cat "$profil/izinler.json")"
echo "$oturum_adi: $adim steps passed; screenshots in $build"
