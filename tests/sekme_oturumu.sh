#!/usr/bin/env bash
# The tab strip on the real engine, as a person uses it with xdotool on the current
# (Xvfb) display, against the loopback server (tests/ortak/sayfa_sunucusu.py):
# three links Ctrl+clicked in one page open their tabs after it in that order;
# Ctrl+Shift+T brings a closed one back to its place; twelve tabs share the strip,
# and the tabs at both of its ends are selected by clicking; a page whose title is
# 16 MB long still leaves " - Korva" at the end of the window's title; a page whose
# process dies shows Korva's error page with the address it had in the address
# entry. Pictures of every step are saved in the build folder as
# sekme_oturumu_chromium_NN_step.png.
#   KORVA_ENGINE=chromium tests/sekme_oturumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-chromium}
oturum_adi=sekme_oturumu_chromium
source "$source/tests/ortak/oturum.sh"
[[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"
sunucu=${KORVA_TEST_SUNUCU%/}
semasiz=${sunucu#http://}

# The strip is the client area's width less the sidebar's; its tabs share it, each
# at most 200 and at least 72 pixels wide, from 2 pixels into the strip.
readonly SERIT_GENISLIGI=$((ISTEMCI_GENISLIK - 48))
sekme_sayisi=1
sekme_genisligi() {
    local genislik=$(((SERIT_GENISLIGI - 4) / sekme_sayisi))
    ((genislik > 200)) && genislik=200
    ((genislik < 72)) && genislik=72
    echo $genislik
}
# A point on the title of the tab at a position, and on its close mark.
sekme_x() { echo $((48 + 2 + $1 * $(sekme_genisligi) + 20)); }
kapatma_x() { echo $((48 + 2 + ($1 + 1) * $(sekme_genisligi) - 12)); }
sekmeye_tikla() { tikla "$(sekme_x "$1")" $SEKME_Y; }

# A Ctrl+click in the page, as a person holds Ctrl and clicks.
ctrl_tikla() {
    xdotool mousemove --window "$pencere" $(($1 + istemci_x)) $(($2 + istemci_y))
    xdotool keydown ctrl click 1 keyup ctrl
    sleep 0.5
}

# The address entry's text, copied as a person does (Ctrl+L, Ctrl+C); empty when the
# entry is empty. Esc gives the keyboard back to the page.
adres_metni() {
    printf '' | xclip -selection clipboard
    tus ctrl+l ctrl+c
    sleep 0.3
    xclip -o -selection clipboard 2>/dev/null
    tus Escape
}

# 1. One page's links Ctrl+clicked, first to last: their tabs follow it in that order.
korva_baslat
yaz "$semasiz/baglantilar"
tus Return
ad_bekle "Baglantilar - Korva"
tus ctrl+t
ad_bekle "Hizli Erisim - Korva"
sekme_sayisi=2
sekmeye_tikla 0
ad_bekle "Baglantilar - Korva"
for y in 40 140 240; do
    ctrl_tikla $((SAYFA_X + 200)) $((SAYFA_Y + y))
    sekme_sayisi=$((sekme_sayisi + 1))
done
sleep 1
ad_bekle "Baglantilar - Korva"
ekran ctrl_tiklama
for k in 1 2 3; do
    sekmeye_tikla $k
    ad_bekle "Arama: $(echo bir iki uc | cut -d' ' -f$k) - Korva"
done
sekmeye_tikla 4
ad_bekle "Hizli Erisim - Korva"

# 2. The middle one closed by its close mark, then Ctrl+Shift+T: back in its place.
sekmeye_tikla 2
ad_bekle "Arama: iki - Korva"
tikla "$(kapatma_x 2)" $SEKME_Y
ad_bekle "Arama: uc - Korva"
tus ctrl+shift+t
ad_bekle "Arama: iki - Korva"
sekmeye_tikla 1
ad_bekle "Arama: bir - Korva"
sekmeye_tikla 3
ad_bekle "Arama: uc - Korva"
ekran geri_acilan

# 3. Twelve tabs: the first and the last are both in the strip and selected by a click.
while ((sekme_sayisi < 12)); do
    tus ctrl+t
    ad_bekle "Hizli Erisim - Korva"
    sekme_sayisi=$((sekme_sayisi + 1))
    yaz "$semasiz/ara?q=sekme$sekme_sayisi"
    tus Return
    ad_bekle "Arama: sekme$sekme_sayisi - Korva"
done
ekran on_iki_sekme
sekmeye_tikla 0
ad_bekle "Baglantilar - Korva"
sekmeye_tikla 11
ad_bekle "Arama: sekme12 - Korva"
ekran son_sekme

# 4. A 16 MB title: the window's title is the title's start, cut, then " - Korva".
tus ctrl+l
yaz "$semasiz/uzun-baslik"
tus Return
ad=""
for _ in $(seq 1 300); do
    ad=$(xdotool getwindowname "$pencere" 2>/dev/null || true)
    [[ "$ad" == "Uzun baslik "* ]] && break
    sleep 0.1
done
[[ "$ad" == "Uzun baslik aaaa"*"... - Korva" ]] || hata "window name is '${ad:0:200}'"
((${#ad} < 200)) || hata "the window name is ${#ad} characters long"
ekran uzun_baslik
# Korva still answers: the first tab, then back.
sekmeye_tikla 0
ad_bekle "Baglantilar - Korva"

# 5. The page's processes die: the error page, with the address it had in the entry.
surecler=$(motor_surecleri)
for pid in $(pgrep -f -- "--type=renderer" || true); do
    grep -qx "$pid" <<<"$surecler" && kill -9 "$pid"
done
ad_bekle "Sayfa coktu - Korva"
sleep 0.5
ekran cokme
metin=$(adres_metni)
[[ "$metin" == "$sunucu/baglantilar" ]] || hata "the address entry says '$metin' on the error page"

korva_kapat
echo "$oturum_adi: $adim steps passed; screenshots in $build"
