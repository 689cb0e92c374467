#!/usr/bin/env bash
# The real engine killed under a running Korva: first its render processes, then
# the whole engine, each with SIGKILL. Korva must keep running and answering (the
# Bookmarks panel opens and closes, a new tab opens on a fresh engine) and close
# with Alt+F4 as always, its engine with it. Screenshots: motor_olumu_NN_step.png.
#   tests/motor_olumu.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=chromium
oturum_adi=motor_olumu
source "$source/tests/ortak/oturum.sh"

# This session's processes of the engine's binary (not the shell line that holds
# the engine), with their command lines: "PID ARGUMENTS..." a line.
ikili="${KORVA_CHROMIUM:-/usr/lib/chromium/chromium}"
motor_ikilileri() {
    local pid satir
    for pid in $(motor_surecleri); do
        satir=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)
        [[ "$satir" == "$ikili "* ]] && echo "$pid $satir"
    done
}
# The engine itself has no --type; its render processes have --type=renderer.
tarayici_sureci() { motor_ikilileri | grep -v -- ' --type=' | cut -d' ' -f1; }
isleyiciler() { motor_ikilileri | grep -- ' --type=renderer' | cut -d' ' -f1; }

# The Bookmarks panel opens and closes: Korva still answers a person.
panel_acilip_kapanir() {
    local once acik sonra
    ekran "$1_once"
    once=$(panel_alani "$goruntu")
    tikla $YER_IMI_X $YER_IMI_Y
    ekran "$1_panel_acik"
    acik=$(panel_alani "$goruntu")
    tikla $YER_IMI_X $YER_IMI_Y
    ekran "$1_panel_kapali"
    sonra=$(panel_alani "$goruntu")
    [[ "$once" != "$acik" && "$once" == "$sonra" ]] || hata "the Bookmarks panel did not open and close after $1"
}

korva_baslat
kartlar_cizili baslangic

# 1. The render processes.
olenler=$(isleyiciler)
[[ -n "$olenler" ]] || hata "no render process of this session found"
kill -9 $olenler
surecler_bitsin $olenler
sleep 1
kill -0 "$korva" 2>/dev/null || hata "Korva ended with its render process"
panel_acilip_kapanir isleyici_olunce

# 2. The whole engine: its helpers go with it.
tarayici=$(tarayici_sureci)
[[ -n "$tarayici" ]] || hata "no engine process of this session found"
eski=$(motor_ikilileri | cut -d' ' -f1)
kill -9 $tarayici
surecler_bitsin $eski
sleep 1
kill -0 "$korva" 2>/dev/null || hata "Korva ended with its engine"
panel_acilip_kapanir motor_olunce

# 3. A new tab asks for a page of a fresh engine, which has to start first.
sekme_alani=$(ikinci_sekme_alani "$goruntu")
tikla $YENI_SEKME_X $YENI_SEKME_Y
for _ in $(seq 1 40); do
    ekran yeni_sekme
    [[ "$(ikinci_sekme_alani "$goruntu")" != "$sekme_alani" ]] && break
    adim=$((adim - 1))
    sleep 0.5
done
[[ "$(ikinci_sekme_alani "$goruntu")" != "$sekme_alani" ]] || hata "no new tab opened"
ad_bekle "Hizli Erisim - Korva"
kartlar_cizili yeni_motorla
[[ -n "$(tarayici_sureci)" ]] || hata "no engine runs for the new tab"

# 4. Alt+F4: Korva says goodbye and exits with 0, and the engine goes with it.
surecler=$(motor_surecleri)
korva_kapat
[[ -n "$surecler" ]] && surecler_bitsin $surecler
echo "$oturum_adi: $adim steps passed; screenshots in $build"
