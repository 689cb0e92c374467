#!/usr/bin/env bash
# Full screen on the real engine, as a person uses it with xdotool on the current
# (Xvfb) display: F11 shows the page alone over the whole screen (every edge of the
# screen is the page's colour) and F11 again gives the frame back where it was, the
# page drawn exactly as before; a click that puts an element of the page in full
# screen fills the whole screen with that element, and Esc, or the page's own
# exitFullscreen(), gives everything back with the page at its normal size and as
# sharp as before (the same pixels). A form field with an entry sent once offers
# and fills nothing on Down. Pictures of every step: tam_ekran_oturumu_chromium_NN_step.png.
#   KORVA_ENGINE=chromium tests/tam_ekran_oturumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=chromium
oturum_adi=tam_ekran_oturumu_chromium
source "$source/tests/ortak/oturum.sh"
[[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"

# The page: sea green, with rows of 1-pixel black and white lines (a page drawn
# magnified or blurred changes them) and a red box in the middle that goes full
# screen on a click and leaves it on the next.
readonly YESIL='#2E8B57' KIRMIZI='#C03030'
sayfa="$build/$oturum_adi.html"
cat >"$sayfa" <<EOF
<!DOCTYPE html><html><head><title>Tam Ekran Sayfasi</title><style>
html,body{margin:0;height:100%;background:$YESIL}
#cizgiler{position:absolute;left:40px;top:40px;width:300px;height:60px;
  background:repeating-linear-gradient(#000 0 1px,#fff 1px 2px)}
#kutu{position:absolute;left:400px;top:200px;width:400px;height:300px;background:$KIRMIZI}
</style></head><body><div id="cizgiler"></div><div id="kutu"></div><script>
document.getElementById('kutu').onclick = function () {
  if (document.fullscreenElement) document.exitFullscreen(); else this.requestFullscreen();
};
</script></body></html>
EOF

readonly EKRAN_GENISLIK=1920 EKRAN_YUKSEKLIK=1080

# Pixels of an area of the last picture within a few percent of a colour (the
# engine's frames are JPEG).
renkli_piksel() {
    local sayi
    sayi=$(convert "$goruntu" -crop "$2" +repage -fuzz 6% -fill black +opaque "$1" -fill white -opaque "$1" \
             -format '%[fx:mean*w*h]' info:)
    printf '%.0f' "$sayi"
}

# Fails unless the whole screen's edges (4-pixel bands) and its middle are this colour.
ekran_tamamen() {
    local alan sayi
    for alan in "${EKRAN_GENISLIK}x4+0+0" "${EKRAN_GENISLIK}x4+0+$((EKRAN_YUKSEKLIK - 4))" \
                "4x${EKRAN_YUKSEKLIK}+0+0" "4x${EKRAN_YUKSEKLIK}+$((EKRAN_GENISLIK - 4))+0" \
                "200x200+$((EKRAN_GENISLIK / 2 - 100))+$((EKRAN_YUKSEKLIK / 2 - 100))"; do
        sayi=$(renkli_piksel "$1" "$alan")
        local w=${alan%%x*} rest=${alan#*x}
        local h=${rest%%+*}
        (( sayi == w * h )) || return 1
    done
    return 0
}

# Takes pictures until the screen is all this colour (at most about 10 s).
ekran_tamamen_bekle() {
    for _ in $(seq 1 20); do
        ekran "$1"
        ekran_tamamen "$2" && return 0
        adim=$((adim - 1))
        sleep 0.5
    done
    ekran "$1"
    hata "the screen is not all $2 in step $adim"
}

# The page area of the last picture, as a digest of its pixels.
sayfa_ozeti() {
    alan_ozeti "$goruntu" "${SAYFA_GENISLIK}x${SAYFA_YUKSEKLIK}+$((istemci_x + SAYFA_X))+$((istemci_y + SAYFA_Y))"
}

# Takes pictures until the page area shows exactly the pixels it showed first (at
# most about 10 s): the page at its normal size and sharp.
sayfa_ayni_bekle() {
    local olan=""
    for _ in $(seq 1 20); do
        ekran "$1"
        olan=$(sayfa_ozeti)
        [[ "$olan" == "$sayfa_ilk" ]] && return 0
        adim=$((adim - 1))
        sleep 0.5
    done
    ekran "$1"
    hata "the page area in step $adim differs from the page as first drawn"
}

pencere_yeri() {
    xdotool getwindowgeometry "$pencere" | tr -d '\n'
}

korva_baslat
kartlar_cizili baslangic

# 1. The page, as drawn in the frame.
tikla $ADRES_X $ADRES_Y
yaz "file://$sayfa"
tus Return
ad_bekle "Tam Ekran Sayfasi - Korva"
sleep 1
ekran sayfa
yer_ilk=$(pencere_yeri)
sayfa_ilk=$(sayfa_ozeti)
(( $(renkli_piksel "$YESIL" "${SAYFA_GENISLIK}x${SAYFA_YUKSEKLIK}+$((istemci_x + SAYFA_X))+$((istemci_y + SAYFA_Y))") > 200000 )) ||
    hata "the page is not drawn in step $adim"

# 2. F11: the page alone over the whole screen; F11 again: the frame as it was.
tus F11
ekran_tamamen_bekle f11 "$YESIL"
tus F11
sayfa_ayni_bekle f11_geri
[[ "$(pencere_yeri)" == "$yer_ilk" ]] || hata "the window is at '$(pencere_yeri)' after F11 twice, was '$yer_ilk'"

# 3. The box's full screen fills the screen with it; Esc gives the frame and the
#    page back as they were.
tikla $((SAYFA_X + 600)) $((SAYFA_Y + 350))
ekran_tamamen_bekle kutu_tam_ekran "$KIRMIZI"
tus Escape
sayfa_ayni_bekle esc_geri
[[ "$(pencere_yeri)" == "$yer_ilk" ]] || hata "the window is at '$(pencere_yeri)' after Esc, was '$yer_ilk'"

# 4. The same, left by the page itself (a click on the box in full screen).
tikla $((SAYFA_X + 600)) $((SAYFA_Y + 350))
ekran_tamamen_bekle kutu_yine "$KIRMIZI"
xdotool mousemove $((EKRAN_GENISLIK / 2)) $((EKRAN_YUKSEKLIK / 2)) click 1
sayfa_ayni_bekle sayfa_cikti

# 5. A field with an entry sent once: Down then Enter sends it empty, as nothing
#    was offered or filled.
adres_yaz() {
    tikla $ADRES_X $ADRES_Y
    tus End shift+Home BackSpace
    yaz "$KORVA_TEST_SUNUCU$1"
    tus Return
}
adres_yaz /odak
ad_bekle "Odak Sayfasi - Korva"
sleep 0.5
yaz "odakta"
tus Return
ad_bekle "Arama: odakta - Korva"
adres_yaz /odak
ad_bekle "Odak Sayfasi - Korva"
sleep 0.5
tus Down
sleep 0.5
tus Return
ad_bekle "Arama: - Korva"
ekran form_bos

korva_kapat
echo "$oturum_adi: passed ($adim pictures)"
