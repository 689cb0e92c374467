#!/usr/bin/env bash
# Works Korva as a person would: starts korva.exe under Wine on the current (Xvfb)
# display, clicks, types and presses keys with xdotool, and checks what a person
# sees: the window's name after each step, the page area, the side panel's area
# of the screen, the last line printed and the exit code. A screenshot of every
# step is saved in the build folder as kullanici_oturumu[_chromium]_NN_step.png.
#   [KORVA_ENGINE=standin|chromium] tests/kullanici_oturumu.sh BUILD-DIR SOURCE-DIR
#
# With the stand-in engine (the default) the page is a local file. With the real
# engine (KORVA_ENGINE=chromium, inside tests/ortak/sayfa_sunucusu.py, which
# serves the pages named in it) the session browses the loopback server: the
# start page's cards in the dark theme, a typed address, a link clicked in the
# page, a field of the page typed into and submitted, Back and Forward; and once
# Korva has closed, no engine process of the session is left.
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-standin}
oturum_adi=kullanici_oturumu
[[ "$motor" == chromium ]] && oturum_adi=kullanici_oturumu_chromium
source "$source/tests/ortak/oturum.sh"

# 1. Start: the first tab shows the start page.
korva_baslat
if [[ "$motor" == chromium ]]; then
    kartlar_cizili baslangic
else
    sleep 1
    ekran baslangic
fi
sayfa_cizili

# 2. New tab: a second start page, selected.
tikla $YENI_SEKME_X $YENI_SEKME_Y
ad_bekle "Hizli Erisim - Korva"
sleep 1
ekran yeni_sekme

# 3. Type a page's address into the entry and press Enter.
if [[ "$motor" == chromium ]]; then
    [[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"
    adres="$KORVA_TEST_SUNUCU/"
    ilk_ad="Ana Sayfa - Korva"
else
    sayfa="$build/kullanici_deneme.html"
    printf '%s' "<!DOCTYPE html><html><head><title>Deneme Sayfasi</title></head><body><p>Deneme</p></body></html>" >"$sayfa"
    adres="file:///$(winepath -w "$sayfa" | tr '\\' '/')"
    ilk_ad="Deneme Sayfasi - Korva"
fi
tikla $ADRES_X $ADRES_Y
tus End shift+Home BackSpace
yaz "$adres"
tus Return
ad_bekle "$ilk_ad"
sleep 0.5
ekran yazilan_adres
sayfa_cizili

if [[ "$motor" == chromium ]]; then
    # The page's link covers its top left 400 by 200 pixels.
    tikla $((SAYFA_X + 200)) $((SAYFA_Y + 100))
    ad_bekle "Ikinci Sayfa - Korva"
    sleep 0.5
    ekran baglanti

    tikla $GERI_X $GERI_Y
    ad_bekle "Ana Sayfa - Korva"
    tikla $ILERI_X $ILERI_Y
    ad_bekle "Ikinci Sayfa - Korva"
    sleep 0.5
    ekran ileri
    tikla $GERI_X $GERI_Y
    ad_bekle "Ana Sayfa - Korva"

    # The page's field, 40 pixels high, starts 260 pixels down; Enter submits it.
    tikla $((SAYFA_X + 200)) $((SAYFA_Y + 280))
    yaz "merhaba"
    tus Return
    ad_bekle "Arama: merhaba - Korva"
    sleep 0.5
    ekran form
    sayfa_cizili
    # The first tab, the start page, is the one to close below.
    kapanan=0
else
    # 4. Back: the start page again.
    tikla $GERI_X $GERI_Y
    ad_bekle "Hizli Erisim - Korva"
    sleep 0.5
    ekran geri
    sayfa_cizili
    kapanan=1
fi

# 5. Close a start-page tab with its close mark: the second place in the strip empties.
sekme_alani=$(ikinci_sekme_alani "$goruntu")
tikla "$(kapatma_isareti_x $kapanan)" $SEKME_Y
sleep 0.5
ekran sekme_kapatildi
[[ "$(ikinci_sekme_alani "$goruntu")" != "$sekme_alani" ]] || hata "the tab did not close"
kill -0 "$korva" 2>/dev/null || hata "Korva ended when a tab was closed"

# 6. Shortcuts from the keyboard alone: Ctrl+T opens a tab, Ctrl+L puts the keyboard
# in the address entry with its text selected, so typing replaces it; Ctrl+W closes
# the tab again and the tab before it shows once more.
onceki_ad=$(xdotool getwindowname "$pencere")
tek_sekme=$(ikinci_sekme_alani "$goruntu")
tus ctrl+t
ad_bekle "Hizli Erisim - Korva"
sleep 1
ekran ctrl_t
[[ "$(ikinci_sekme_alani "$goruntu")" != "$tek_sekme" ]] || hata "Ctrl+T opened no tab"
tus ctrl+l
yaz "$adres"
tus Return
ad_bekle "$ilk_ad"
sleep 0.5
ekran ctrl_l
sayfa_cizili
tus ctrl+w
ad_bekle "$onceki_ad"
sleep 0.5
ekran ctrl_w
[[ "$(ikinci_sekme_alani "$goruntu")" == "$tek_sekme" ]] || hata "Ctrl+W did not close the tab"
once=$(panel_alani "$goruntu")

# 7. Open and close the Bookmarks panel: its area changes, then looks as before.
tikla $YER_IMI_X $YER_IMI_Y
ekran panel_acik
acik=$(panel_alani "$goruntu")
tikla $YER_IMI_X $YER_IMI_Y
ekran panel_kapali
sonra=$(panel_alani "$goruntu")
[[ -n "$once" && "$once" != "$acik" ]] || hata "the Bookmarks panel did not show"
[[ "$once" == "$sonra" ]] || hata "the Bookmarks panel did not close"

# 8. Alt+F4: Korva says goodbye and exits with 0, and its engine goes with it.
surecler=""
if [[ "$motor" == chromium ]]; then
    surecler=$(motor_surecleri)
    [[ -n "$surecler" ]] || hata "no engine process of this session found"
fi
korva_kapat
[[ -n "$surecler" ]] && surecler_bitsin $surecler
echo "$oturum_adi: $adim steps passed; screenshots in $build"
