#!/usr/bin/env bash
# The tabs kept between runs, as a person meets them, with xdotool on the current
# (Xvfb) display: three pages opened in three tabs, the middle one selected and
# the last one zoomed, Korva closed with Alt+F4 and started again: the same tabs
# come back with the middle one selected, and only it is loaded (the history gains
# no visit of the others until they are selected). Then another tab selected and
# Korva killed (SIGKILL of its Wine process): the next start has that tab
# selected. Last, a start after two starts that ended before their first page:
# the start page only, the session offered in the History panel, where a click
# opens it. A picture of every step is saved in the build folder as
# surdurme_oturumu[_chromium]_NN_step.png.
#   [KORVA_ENGINE=standin|chromium] tests/surdurme_oturumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=${KORVA_ENGINE:-standin}
oturum_adi=surdurme_oturumu
[[ "$motor" == chromium ]] && oturum_adi=surdurme_oturumu_chromium
source "$source/tests/ortak/oturum.sh"

profil="$build/$oturum_adi.profil"
rm -rf "$profil"
mkdir -p "$profil"
export KORVA_PROFIL="$(winepath -w "$profil")"
oturum="$profil/oturum.json"

# Three pages, each with its own title: "Arama: Bir" and so on.
adlar=(Bir Iki Uc)
adresler=()
for ad in "${adlar[@]}"; do
    if [[ "$motor" == chromium ]]; then
        [[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"
        adresler+=("$KORVA_TEST_SUNUCU/ara?q=$ad")
    else
        sayfa="$build/surdurme_oturumu_$ad.html"
        printf '%s' "<!DOCTYPE html><html><head><title>Arama: $ad</title></head><body><h1>Arama: $ad</h1></body></html>" >"$sayfa"
        adresler+=("file:///$(winepath -w "$sayfa" | tr '\\' '/')")
    fi
done

# Waits (at most 10 s) until the kept session says this: its selected position and
# the count of its tabs.
oturum_bekle() {
    local ozet=""
    for _ in $(seq 1 100); do
        ozet=$(python3 -c 'import json,sys; o=json.load(open(sys.argv[1])); print(o["secili"], len(o["sekmeler"]))' \
                 "$oturum" 2>/dev/null || true)
        [[ "$ozet" == "$1 $2" ]] && return 0
        sleep 0.1
    done
    hata "the kept session is '$ozet' (selected, tabs), expected '$1 $2': $(cat "$oturum" 2>/dev/null)"
}

# Visits of an address in the history, as written.
ziyaretler() { grep -cF "\"adres\":\"$1\"" "$profil/gecmis.json" 2>/dev/null; }

# The process Windows programs see as korva.exe: the Wine process started for it.
korva_sureci() {
    local pid
    for pid in $(pgrep -f 'korva\.exe' || true); do
        tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "$build/korva.exe" && echo "$pid"
    done | head -n 1
}

# 1. Three tabs, the middle one selected, the last zoomed to 110%.
korva_baslat
for i in 0 1 2; do
    [[ $i -gt 0 ]] && { tus ctrl+t; sleep 0.5; }
    tus ctrl+l
    sleep 0.3
    yaz "${adresler[$i]}"
    tus Return
    ad_bekle "Arama: ${adlar[$i]} - Korva"
done
tus ctrl+plus
tus ctrl+2
ad_bekle "Arama: Iki - Korva"
oturum_bekle 1 3
sleep 0.5
ekran uc_sekme

# 2. Alt+F4, started again: the same three tabs, the middle one selected and alone
# loaded; the others load when selected, the last at its zoom.
korva_kapat
grep -qF '"yakinlik": 110' "$oturum" || hata "the zoom of the last tab is not kept: $(cat "$oturum")"
korva_baslat "Arama: Iki - Korva"
sleep 3.5  # the history is written 2 s after the last visit
ekran geri_geldi
sayfa_cizili
[[ "$(ziyaretler "${adresler[0]}")" == 1 && "$(ziyaretler "${adresler[2]}")" == 1 ]] ||
    hata "a tab not selected was loaded: $(cat "$profil/gecmis.json")"
[[ "$(ziyaretler "${adresler[1]}")" == 2 ]] || hata "the selected tab was not loaded again: $(cat "$profil/gecmis.json")"
tus ctrl+3
ad_bekle "Arama: Uc - Korva"
tus ctrl+1
ad_bekle "Arama: Bir - Korva"
sleep 0.5
ekran ilk_sekme
sayfa_cizili
oturum_bekle 0 3

# 3. Killed: the next start has the first tab selected.
pid=$(korva_sureci)
[[ -n "$pid" ]] || hata "no process of korva.exe found"
kill -9 "$pid"
wait "$korva" 2>/dev/null
korva=""
korva_baslat "Arama: Bir - Korva"
sleep 0.5
ekran oldurulduktan_sonra
sayfa_cizili
[[ ! -e "$profil/acilis.isaret" ]] || hata "the start-up marker stayed after the first page was drawn"

# 4. Two starts in a row ended before their first page (as the marker tells):
# the start page alone, and the session in the History panel.
korva_kapat
printf '2' >"$profil/acilis.isaret"
korva_baslat "Hizli Erisim - Korva"
sleep 1
ekran guvenli_acilis
[[ ! -e "$profil/acilis.isaret" ]] || hata "the start-up marker stayed after the start page was drawn"
tus ctrl+h
sleep 0.7
ekran gecmis_paneli
# The offer is the panel's first row, above the search entry.
tikla 180 80
ad_bekle "Arama: Bir - Korva"
sleep 0.5
ekran oturum_acildi
korva_kapat
oturum_bekle_sayisi=$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["sekmeler"]))' "$oturum")
[[ "$oturum_bekle_sayisi" == 4 ]] || hata "after the offer: $oturum_bekle_sayisi tabs kept, expected 4: $(cat "$oturum")"
echo "$oturum_adi: $adim steps passed; screenshots in $build"
