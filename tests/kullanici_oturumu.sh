#!/usr/bin/env bash
# Works Korva as a person would: starts korva.exe under Wine on the current (Xvfb)
# display, clicks, types and presses keys with xdotool, and checks what a person
# sees: the window's name after each step, the side panel's area of the screen,
# the last line printed and the exit code. A screenshot of every step is saved in
# the build folder as kullanici_oturumu_NN_step.png.
#   tests/kullanici_oturumu.sh BUILD-DIR SOURCE-DIR
#
# Click positions are in the window's client area (1392 by 873 for a 1400 by 900
# window under Xvfb without a window manager). They follow from the box layout of
# the toolbar (buttons 36 wide, padding 2 or 4 around them, the address entry
# taking the rest), the 48-pixel sidebar and the 32-pixel rows. Depending on how
# Wine decorates the window, its X window is the client area alone or the whole
# window with a frame drawn by Wine; the client's offset is taken from its size.
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
source "$source/scripts/wine-env"
korva_wine_env "$build"
export WINEPATH="$(winepath -w "$build/standin" 2>/dev/null)"

readonly GERI_X=20 GERI_Y=16
readonly ADRES_X=700 ADRES_Y=16
readonly YENI_SEKME_X=1332 YENI_SEKME_Y=16
readonly YER_IMI_X=24 YER_IMI_Y=48
readonly ISTEMCI_GENISLIK=1392 ISTEMCI_YUKSEKLIK=873
# Start-page tabs ("Hizli Erisim  x") are 106 pixels wide in the stand-in's font,
# from 2 pixels into the tab strip, which begins right of the sidebar.
readonly SEKME_GENISLIGI=106 SEKME_Y=44
# The side panel's area once open: right of the sidebar, below the toolbar.
readonly PANEL_ALANI=200x200+80+120

cikti="$build/kullanici_oturumu.out"
sayfa="$build/kullanici_deneme.html"
printf '%s' "<!DOCTYPE html><html><head><title>Deneme Sayfasi</title></head><body><p>Deneme</p></body></html>" >"$sayfa"
adres="file:///$(winepath -w "$sayfa" | tr '\\' '/')"
rm -f "$build"/kullanici_oturumu_*.png

korva=""
pencere=""
adim=0

hata() {
    echo "kullanici_oturumu: $*" >&2
    [[ -n "$korva" ]] && kill "$korva" 2>/dev/null
    exit 1
}

# Saves the screen as the next step's picture; its path is left in $goruntu.
goruntu=""
ekran() {
    adim=$((adim + 1))
    goruntu="$build/$(printf 'kullanici_oturumu_%02d_%s.png' "$adim" "$1")"
    import -window root "$goruntu"
}

# Waits (at most 30 s) until the window has exactly this name.
ad_bekle() {
    local ad=""
    for _ in $(seq 1 300); do
        ad=$(xdotool getwindowname "$pencere" 2>/dev/null || true)
        [[ "$ad" == "$1" ]] && return 0
        sleep 0.1
    done
    hata "window name is '$ad', expected '$1'"
}

istemci_x=0
istemci_y=0
istemci_konumunu_bul() {
    local genislik yukseklik
    eval "$(xdotool getwindowgeometry --shell "$pencere" | grep -E '^(WIDTH|HEIGHT)=')"
    genislik=$WIDTH
    yukseklik=$HEIGHT
    istemci_x=$(((genislik - ISTEMCI_GENISLIK) / 2))
    istemci_y=$((yukseklik - ISTEMCI_YUKSEKLIK - istemci_x))
}

tikla() {
    xdotool mousemove --window "$pencere" $(($1 + istemci_x)) $(($2 + istemci_y)) click 1
    sleep 0.5
}

# The close mark of the start-page tab at a position: the right end of its item.
kapatma_isareti_x() {
    echo $((48 + 2 + ($1 + 1) * SEKME_GENISLIGI - 4))
}

# Digests of the pixels where the side panel shows when open, and of the second
# tab's place in the strip.
alan_ozeti() {
    convert "$1" -crop "$2" +repage -format '%#' info: 2>/dev/null
}
panel_alani() { alan_ozeti "$1" "$PANEL_ALANI"; }

# Fails unless the page area of the last picture holds drawn text: a page the
# engine drew but something painted over shows as plain white.
sayfa_cizili() {
    local yazi
    yazi=$(convert "$goruntu" -crop "500x300+$((istemci_x + 60))+$((istemci_y + 70))" +repage \
             -fill black +opaque white -fill white -opaque white -negate -format '%[fx:mean*w*h]' info:)
    yazi=$(printf '%.0f' "$yazi")
    (( yazi > 200 )) || hata "the page area shows no page after step $adim ($yazi drawn pixels)"
}
ikinci_sekme_alani() {
    alan_ozeti "$1" "$((SEKME_GENISLIGI - 8))x16+$((istemci_x + 48 + 2 + SEKME_GENISLIGI + 4))+$((istemci_y + SEKME_Y - 8))"
}

# 1. Start: the first tab shows the start page.
wine "$build/korva.exe" >"$cikti" 2>"$build/kullanici_oturumu.err" &
korva=$!
for _ in $(seq 1 300); do
    pencere=$(xdotool search --name '^Hizli Erisim - Korva$' 2>/dev/null | head -n 1 || true)
    [[ -n "$pencere" ]] && break
    kill -0 "$korva" 2>/dev/null || break
    sleep 0.1
done
[[ -n "$pencere" ]] || hata "no window named 'Hizli Erisim - Korva' appeared"
istemci_konumunu_bul
sleep 1
ekran baslangic
sayfa_cizili

# 2. New tab: a second start page, selected.
tikla $YENI_SEKME_X $YENI_SEKME_Y
ad_bekle "Hizli Erisim - Korva"
sleep 1
ekran yeni_sekme

# 3. Type a local page's address into the entry and press Enter.
tikla $ADRES_X $ADRES_Y
# Keys go through the X server's input path (XTEST) to the focused window, as a
# keyboard's would: events sent to a window directly carry their own modifier
# state, which the receiving side may not honour (a ':' then arrives as ';').
xdotool windowfocus --sync "$pencere" 2>/dev/null || true
xdotool key --delay 15 End shift+Home BackSpace
xdotool type --delay 15 "$adres"
xdotool key Return
ad_bekle "Deneme Sayfasi - Korva"
sleep 0.5
ekran deneme_sayfasi
sayfa_cizili

# 4. Back: the start page again.
tikla $GERI_X $GERI_Y
ad_bekle "Hizli Erisim - Korva"
sleep 0.5
ekran geri
sayfa_cizili

# 5. Close the new tab with its close mark: its place in the strip empties.
sekme_alani=$(ikinci_sekme_alani "$goruntu")
tikla "$(kapatma_isareti_x 1)" $SEKME_Y
sleep 0.5
ekran sekme_kapatildi
[[ "$(ikinci_sekme_alani "$goruntu")" != "$sekme_alani" ]] || hata "the new tab did not close"
kill -0 "$korva" 2>/dev/null || hata "Korva ended when a tab was closed"

# 6. Shortcuts from the keyboard alone: Ctrl+T opens a tab, Ctrl+L puts the keyboard
# in the address entry with its text selected, so typing replaces it; Ctrl+W closes
# the tab again.
xdotool windowfocus --sync "$pencere" 2>/dev/null || true
tek_sekme=$(ikinci_sekme_alani "$goruntu")
xdotool key ctrl+t
sleep 1
ekran ctrl_t
[[ "$(ikinci_sekme_alani "$goruntu")" != "$tek_sekme" ]] || hata "Ctrl+T opened no tab"
xdotool key ctrl+l
xdotool type --delay 15 "$adres"
xdotool key Return
ad_bekle "Deneme Sayfasi - Korva"
sleep 0.5
ekran ctrl_l
sayfa_cizili
xdotool key ctrl+w
ad_bekle "Hizli Erisim - Korva"
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

# 8. Alt+F4: Korva says goodbye and exits with 0.
xdotool windowfocus --sync "$pencere" 2>/dev/null || true
xdotool key alt+F4
wait "$korva"
kod=$?
korva=""
son=$(tr -d '\r' <"$cikti" | tail -n 1)
[[ "$son" == "Korva kapatildi." ]] || hata "last line printed is '$son'"
[[ $kod -eq 0 ]] || hata "exit code $kod"
echo "kullanici_oturumu: $adim steps passed; screenshots in $build"
