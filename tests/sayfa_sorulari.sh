#!/usr/bin/env bash
# What a page asks the user, on the real engine: a <select> list, confirm(),
# prompt(), a page that shows alert after alert, and a file input. Korva runs under
# Wine on the current (Xvfb) display and browses the loopback pages of
# tests/ortak/sayfa_sunucusu.py; xdotool clicks and types as a person does, and
# what the page saw comes back in its title. Screenshots of the steps are saved in
# the build folder as sayfa_sorulari_chromium_NN_step.png.
#   KORVA_ENGINE=chromium tests/ortak/sayfa_sunucusu.py tests/sayfa_sorulari.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=chromium
oturum_adi=sayfa_sorulari_chromium
source "$source/tests/ortak/oturum.sh"
[[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"

# A visible window named exactly so (at most 30 s); its id is left in $bulunan.
bulunan=""
pencere_bekle() {
    bulunan=""
    for _ in $(seq 1 300); do
        bulunan=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [[ -n "$bulunan" ]] && return 0
        sleep 0.1
    done
    hata "no window named '$1' showed after step $adim"
}

# Waits (at most 10 s) until that window is gone.
pencere_gitsin() {
    for _ in $(seq 1 100); do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        xdotool search --onlyvisible --name ".*" 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    hata "window $1 is still there after step $adim"
}

# Keys as the keyboard gives them, to whichever window has the keyboard (a dialog).
bas() { xdotool key --delay 30 "$@"; }

git_adres() {
    tikla $ADRES_X $ADRES_Y
    tus End shift+Home BackSpace
    yaz "$KORVA_TEST_SUNUCU$1"
    tus Return
    ad_bekle "$2 - Korva"
    sleep 0.5
}

# The page's areas: 400 by 100 pixels one below another, 20 apart.
alana_tikla() { tikla $((SAYFA_X + 200)) $((SAYFA_Y + 50 + $1 * 120)); }

korva_baslat

# 1. A <select> opened with the mouse shows its five options below it; a click on
# the third chooses it, and the page hears one input and one change event.
git_adres /secim "Secim Sayfasi"
tikla $((SAYFA_X + 170)) $((SAYFA_Y + 40))
pencere_bekle Secenekler
liste=$bulunan
ekran secim_listesi
eval "$(xdotool getwindowgeometry --shell "$liste" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
# The click was in the control, at most 40 pixels above its bottom edge.
tiklanan_y=$((istemci_y + SAYFA_Y + 40))
(( Y > tiklanan_y && Y <= tiklanan_y + 60 )) || hata "the list is at y $Y, not below the control (clicked at $tiklanan_y)"
satir=$(( (HEIGHT - 2) / 5 ))
xdotool mousemove $((X + 30)) $((Y + 1 + 2 * satir + satir / 2)) click 1
ad_bekle "Secim: Uc girdi 1 - Korva"
pencere_gitsin "$liste"
# Esc leaves the list, and the control, as they were.
tikla $((SAYFA_X + 170)) $((SAYFA_Y + 40))
pencere_bekle Secenekler
bas Escape
pencere_gitsin "$bulunan"
sleep 0.5
[[ "$(xdotool getwindowname "$pencere")" == "Secim: Uc girdi 1 - Korva" ]] || hata "Esc changed the list"
# From the keyboard: Alt+Down opens it on the option chosen, Down and Enter take the next.
tus alt+Down
pencere_bekle Secenekler
bas Down Return
ad_bekle "Secim: Dort girdi 2 - Korva"

# 2. A page that asks before it is left (it must have been touched, as the engine
# asks only then), left by a new address and by closing its tab: Kal (Stay, Esc) keeps
# it, Ayril (Leave, Enter) goes on, to the new page or to the tab before.
adresi_degistir() {
    tikla $ADRES_X $ADRES_Y
    tus End shift+Home BackSpace
    yaz "$KORVA_TEST_SUNUCU/secim"
    tus Return
}
sekmeyi_kapat() { tus ctrl+w; }
for ayrilis in adresi_degistir sekmeyi_kapat; do
    if [[ $ayrilis == sekmeyi_kapat ]]; then
        sleep 0.5   # the keyboard comes back from the closed dialog
        tus ctrl+t
        ad_bekle "Hizli Erisim - Korva"
    fi
    git_adres /ayrilma Ayrilma
    tikla $((SAYFA_X + 200)) $((SAYFA_Y + 200))
    for cevap in Escape Return; do
        $ayrilis
        pencere_bekle "$KORVA_TEST_SUNUCU"
        [[ $cevap == Escape ]] && ekran "ayrilma_$ayrilis"
        bas $cevap
        pencere_gitsin "$bulunan"
        if [[ $cevap == Escape ]]; then
            sleep 1
            [[ "$(xdotool getwindowname "$pencere")" == "Ayrilma - Korva" ]] || hata "Stay did not keep the page ($ayrilis)"
        fi
    done
    ad_bekle "Secim Sayfasi - Korva"
done

# 3. Eight alerts in a row: the first two are plain, the third offers to stop the
# page's dialogs (a taller dialog); once stopped, the loop ends with no more shown.
git_adres /sorular Sorular
alana_tikla 2
onceki=""
for sira in 1 2 3; do
    for _ in $(seq 1 100); do
        pencere_bekle "$KORVA_TEST_SUNUCU"
        [[ "$bulunan" != "$onceki" ]] && break
        sleep 0.1
    done
    [[ "$bulunan" != "$onceki" ]] || hata "alert $sira did not show"
    onceki=$bulunan
    eval "$(xdotool getwindowgeometry --shell "$bulunan" | grep -E '^HEIGHT=')"
    if (( sira == 1 )); then
        ilk_yukseklik=$HEIGHT
        bas Return
    elif (( sira == 2 )); then
        (( HEIGHT == ilk_yukseklik )) || hata "the second alert offers to stop the page ($HEIGHT px against $ilk_yukseklik)"
        bas Return
    else
        (( HEIGHT > ilk_yukseklik )) || hata "the third alert offers nothing to stop the page ($HEIGHT px)"
        ekran durdurma
        # Tab from OK to the check box, tick it, and answer.
        bas Tab space Return
    fi
done
ad_bekle "Dongu bitti: 8 - Korva"
[[ -z "$(xdotool search --onlyvisible --name "^$KORVA_TEST_SUNUCU\$" 2>/dev/null)" ]] || hata "a dialog is still shown"

# The page's next document may show dialogs again.
git_adres /sorular Sorular

# 4. confirm() answered Cancel (Esc): the page sees false. The dialog names the
# page's origin.
alana_tikla 0
pencere_bekle "$KORVA_TEST_SUNUCU"
ekran onay
bas Escape
ad_bekle "Onay: false - Korva"

# 5. prompt(): the typed text replaces the offered one and reaches the page.
alana_tikla 1
pencere_bekle "$KORVA_TEST_SUNUCU"
xdotool type --delay 30 "Korva kullanicisi"
bas Return
ad_bekle "Soru: Korva kullanicisi - Korva"

# 6. Two files chosen in the system's open-file dialog (titled "Dosyalari sec", as
# the input takes several) reach the page, each with its name and size: the dialog
# is taken to their folder, then both names are given.
printf 'on yedi baytlik!\n' >"$build/sayfa_sorulari_dosya.txt"
printf 'iki\n' >"$build/sayfa_sorulari_ikinci.txt"
# Canceled first: the input stays as it was (no change reaches the page).
alana_tikla 3
pencere_bekle "Dosyalari sec"
bas Escape
pencere_gitsin "$bulunan"
sleep 0.5
[[ "$(xdotool getwindowname "$pencere")" == "Soru: Korva kullanicisi - Korva" ]] || hata "canceling changed the input"
alana_tikla 3
pencere_bekle "Dosyalari sec"
ekran dosya_diyalogu
xdotool type --delay 20 "$(winepath -w "$build")"
bas Return
sleep 1
xdotool type --delay 20 '"sayfa_sorulari_dosya.txt" "sayfa_sorulari_ikinci.txt"'
bas Return
ad_bekle "Dosya: sayfa_sorulari_dosya.txt:17,sayfa_sorulari_ikinci.txt:4 - Korva"

# 7. While a dialog waits, the main window still works: a click on it (the status
# bar) makes it the active window again, and Alt+F4 closes Korva. (Alt+F4 while
# the dialog is active answers the dialog, as for any owned window.)
alana_tikla 0
pencere_bekle "$KORVA_TEST_SUNUCU"
ekran kapanirken
tikla 700 $((ISTEMCI_YUKSEKLIK - 10))
korva_kapat
echo "$oturum_adi: $adim steps passed; screenshots in $build"
