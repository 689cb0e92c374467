#!/usr/bin/env bash
# The side panel's bookmarks and find in page as a person uses them, with xdotool
# on the current (Xvfb) display: a page is kept with Ctrl+D, the Bookmarks panel
# (Ctrl+Shift+O) shows it, Korva is closed and started again, and the bookmark is
# still there and opens the page; then Ctrl+F finds a word in the page; what Korva
# wrote in its profile is its user's alone. A picture of
# every step is saved in the build folder as panel_oturumu[_chromium]_NN_step.png.
#   [KORVA_ENGINE=standin|chromium] tests/panel_oturumu.sh BUILD-DIR SOURCE-DIR
#
# With the real engine (inside tests/ortak/sayfa_sunucusu.py) the page comes from the
# loopback server, and the find bar is checked for what its search, out of the
# page's reach, gives: the "n / m" label drawn and changing with F3.
# The stand-in runs no page scripts, so there the bar is only opened and closed.
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-standin}
oturum_adi=panel_oturumu
[[ "$motor" == chromium ]] && oturum_adi=panel_oturumu_chromium
source "$source/tests/ortak/oturum.sh"

# A profile of this session's own, empty at its start but for a history left open
# to others, as a run before the umask of the scripts made it.
profil="$build/$oturum_adi.profil"
rm -rf "$profil"
mkdir -p "$profil"
printf '{"surum":1,"gecmis":[]}' >"$profil/gecmis.json"
chmod 755 "$profil"
chmod 644 "$profil/gecmis.json"
export KORVA_PROFIL="$(winepath -w "$profil")"

if [[ "$motor" == chromium ]]; then
    [[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"
    adres="$KORVA_TEST_SUNUCU/ikinci.html"
else
    sayfa="$build/panel_deneme.html"
    printf '%s' "<!DOCTYPE html><html><head><title>Ikinci Sayfa</title></head><body><h1>Ikinci Sayfa</h1><a href=\"x\">Ana sayfa</a></body></html>" >"$sayfa"
    adres="file:///$(winepath -w "$sayfa" | tr '\\' '/')"
fi
ad="Ikinci Sayfa - Korva"

# The find bar's "n / m" label: left of its close button, at the top right of the
# page area (the bar is 380 by 34, 8 pixels inside the tab strip's corner).
etiket_alani() {
    alan_ozeti "$1" "86x24+$((istemci_x + ISTEMCI_GENISLIK - 8 - 120))+$((istemci_y + 32 + 8 + 5))"
}

# 1. The page, kept with Ctrl+D: the bookmarks file has it at once.
korva_baslat
tus ctrl+l
sleep 0.3  # Ctrl let go before the address is typed: Ctrl+H is a shortcut of its own
yaz "$adres"
tus Return
ad_bekle "$ad"
sleep 0.5
ekran sayfa
tus ctrl+d
sleep 0.5
ekran ctrl_d
grep -qF "\"adres\":\"$adres\"" "$profil/yer_imleri.json" 2>/dev/null || hata "the bookmark is not in the profile"

# 2. Ctrl+Shift+O: the Bookmarks panel opens with it.
kapali=$(panel_alani "$goruntu")
tus ctrl+shift+o
sleep 0.7
ekran yer_imleri
[[ "$(panel_alani "$goruntu")" != "$kapali" ]] || hata "the Bookmarks panel did not show"

# 3. Closed and started again: the bookmark is there, and Enter on it opens the page.
korva_kapat
korva_baslat
sleep 0.5
tus ctrl+shift+o
sleep 0.7
ekran yeniden_yer_imleri
tus Return
ad_bekle "$ad"
sleep 0.5
ekran yer_imi_acildi

# 4. Ctrl+F and a word of the page: the bar shows, and with the real engine the
# matches are counted, F3 moves on, Esc closes the bar.
tikla $((SAYFA_X + 600)) $((SAYFA_Y + 500))
tus ctrl+f
sleep 0.5
ekran bul_acik
bos_etiket=$(etiket_alani "$goruntu")
yaz "sayfa"
sleep 1.5
ekran bul_sayfa
if [[ "$motor" == chromium ]]; then
    ilk_etiket=$(etiket_alani "$goruntu")
    [[ "$ilk_etiket" != "$bos_etiket" ]] || hata "the find bar shows no count"
    tus F3
    sleep 1
    ekran bul_f3
    [[ "$(etiket_alani "$goruntu")" != "$ilk_etiket" ]] || hata "F3 did not move to the next match"
fi
tus Escape
sleep 0.7
ekran bul_kapali

korva_kapat
# The profile is its user's alone: the folder 0700, every file in it 0600.
acik=$(find "$profil" -perm /077 -printf '%M %p\n')
[[ -z "$acik" ]] || hata "profile entries open to others: $acik"
[[ -f "$profil/yer_imleri.json" && -f "$profil/gecmis.json" ]] || hata "the profile lacks its files: $(ls "$profil")"
echo "$oturum_adi: $adim steps passed; screenshots in $build"
