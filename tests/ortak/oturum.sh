# Sourced by the session scripts (tests/kullanici_oturumu.sh, tests/motor_olumu.sh):
# starting korva.exe under Wine on the current (Xvfb) display with one engine,
# clicking and typing as a person does with xdotool, pictures of the screen, what
# the pictures show, the engine's processes, and closing with Alt+F4.
#
# Before sourcing: $build, $source, $oturum_adi (prefix of the pictures' names) and
# $motor (standin or chromium).
#
# Click positions are in the window's client area (1392 by 873 for a 1400 by 900
# window under Xvfb without a window manager). They follow from the box layout of
# the toolbar (buttons 36 wide, padding 2 or 4 around them, the address entry
# taking the rest), the 48-pixel sidebar and the 32-pixel rows. Depending on how
# Wine decorates the window, its X window is the client area alone or the whole
# window with a frame drawn by Wine; the client's offset is taken from its size.
source "$source/scripts/wine-env"
korva_wine_env "$build"
export WINEPATH="$(winepath -w "$build/$motor" 2>/dev/null)"

readonly GERI_X=20 GERI_Y=16
readonly ILERI_X=60 ILERI_Y=16
readonly ADRES_X=700 ADRES_Y=16
readonly YENI_SEKME_X=1332 YENI_SEKME_Y=16
readonly YER_IMI_X=24 YER_IMI_Y=48
readonly ISTEMCI_GENISLIK=1392 ISTEMCI_YUKSEKLIK=873
# Tabs share the strip's width, each at most 200 pixels wide: up to six tabs are
# 200 wide, from 2 pixels into the tab strip, which begins right of the sidebar.
# A closable tab's close mark is its right end.
readonly SEKME_GENISLIGI=200 SEKME_Y=44
# The side panel's area once open: right of the sidebar, below the toolbar.
readonly PANEL_ALANI=200x200+80+120
# The page area: right of the sidebar, below the row of tabs, above the status bar.
readonly SAYFA_X=52 SAYFA_Y=66 SAYFA_GENISLIK=1336 SAYFA_YUKSEKLIK=780

cikti="$build/$oturum_adi.out"
korva=""
pencere=""
adim=0
rm -f "$build/$oturum_adi"_[0-9]*.png

hata() {
    echo "$oturum_adi: $*" >&2
    [[ -n "$korva" ]] && kill "$korva" 2>/dev/null
    exit 1
}

# Saves the screen as the next step's picture; its path is left in $goruntu.
goruntu=""
ekran() {
    adim=$((adim + 1))
    goruntu="$build/$(printf '%s_%02d_%s.png' "$oturum_adi" "$adim" "$1")"
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
    eval "$(xdotool getwindowgeometry --shell "$pencere" | grep -E '^(WIDTH|HEIGHT)=')"
    istemci_x=$(((WIDTH - ISTEMCI_GENISLIK) / 2))
    istemci_y=$((HEIGHT - ISTEMCI_YUKSEKLIK - istemci_x))
}

tikla() {
    xdotool mousemove --window "$pencere" $(($1 + istemci_x)) $(($2 + istemci_y)) click 1
    sleep 0.5
}

# Keys go through the X server's input path (XTEST) to the focused window, as a
# keyboard's would: events sent to a window directly carry their own modifier
# state, which the receiving side may not honour (a ':' then arrives as ';').
yaz() {
    xdotool windowfocus --sync "$pencere" 2>/dev/null || true
    xdotool type --delay 15 "$1"
}
tus() {
    xdotool windowfocus --sync "$pencere" 2>/dev/null || true
    xdotool key --delay 15 "$@"
}

# Starts Korva and waits for its window with the start page's name; the session
# Korva kept in the profile is removed first, so that it starts as a new Korva.
# With a name: the kept session stays, and the window must come up with that name.
korva_baslat() {
    local beklenen="Hizli Erisim - Korva"
    if [[ $# -gt 0 ]]; then
        beklenen=$1
    elif [[ -n "${KORVA_PROFIL:-}" ]]; then
        rm -f "$(winepath -u "$KORVA_PROFIL" 2>/dev/null)/oturum.json"
    fi
    korva_profil_ozel
    wine "$build/korva.exe" >"$cikti" 2>"$build/$oturum_adi.err" &
    korva=$!
    for _ in $(seq 1 300); do
        pencere=$(xdotool search --name "^$beklenen\$" 2>/dev/null | head -n 1 || true)
        [[ -n "$pencere" ]] && break
        kill -0 "$korva" 2>/dev/null || break
        sleep 0.1
    done
    [[ -n "$pencere" ]] || hata "no window named '$beklenen' appeared"
    istemci_konumunu_bul
}

# Alt+F4: Korva says goodbye and exits with 0.
korva_kapat() {
    xdotool windowfocus --sync "$pencere" 2>/dev/null || true
    xdotool key alt+F4
    wait "$korva"
    local kod=$? son
    korva=""
    son=$(tr -d '\r' <"$cikti" | tail -n 1)
    [[ "$son" == "Korva kapatildi." ]] || hata "last line printed is '$son'"
    [[ $kod -eq 0 ]] || hata "exit code $kod"
}

# The close mark of the tab at a position (of at most six): the right end of its item.
kapatma_isareti_x() {
    echo $((48 + 2 + ($1 + 1) * SEKME_GENISLIGI - 10))
}

# Digests of the pixels where the side panel shows when open, and of the second
# tab's place in the strip.
alan_ozeti() {
    convert "$1" -crop "$2" +repage -format '%#' info: 2>/dev/null
}
panel_alani() { alan_ozeti "$1" "$PANEL_ALANI"; }
ikinci_sekme_alani() {
    alan_ozeti "$1" "$((SEKME_GENISLIGI - 8))x16+$((istemci_x + 48 + 2 + SEKME_GENISLIGI + 4))+$((istemci_y + SEKME_Y - 8))"
}

# Pixels of the page area of the last picture within a few percent of a colour
# (the real engine's frames are JPEG: colours arrive close, not exact).
sayfadaki_renk() {
    local sayi
    sayi=$(convert "$goruntu" -crop "${SAYFA_GENISLIK}x${SAYFA_YUKSEKLIK}+$((istemci_x + SAYFA_X))+$((istemci_y + SAYFA_Y))" \
             +repage -fuzz 4% -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:mean*w*h]' info:)
    printf '%.0f' "$sayi"
}

# Fails unless the page area of the last picture holds drawn text: a page the
# engine drew but something painted over shows as plain white.
sayfa_cizili() {
    local yazi
    yazi=$(convert "$goruntu" -crop "500x300+$((istemci_x + 60))+$((istemci_y + 70))" +repage \
             -fill black +opaque white -fill white -opaque white -negate -format '%[fx:mean*w*h]' info:)
    yazi=$(printf '%.0f' "$yazi")
    (( yazi > 200 )) || hata "the page area shows no page after step $adim ($yazi drawn pixels)"
}

# The start page as the real engine draws it: eight cards of #313244 on the dark
# background. Pictures are taken until they show (at most about 10 s), since the
# page's first frame may follow the window's name.
kartlar_cizili() {
    local kart=0
    for _ in $(seq 1 20); do
        ekran "$1"
        kart=$(sayfadaki_renk '#313244')
        (( kart > 60000 )) && break
        adim=$((adim - 1))
        sleep 0.5
    done
    (( kart > 60000 )) || hata "the start page's cards are not drawn ($kart pixels of their colour)"
    echo "$oturum_adi: $kart pixels of the cards' colour in step $adim"
}

# The engine's processes of this session: those whose command line names Korva's
# user data folder in this build's Wine prefix (the engine, its helpers and the
# shell line that holds it), and all their descendants. One process id a line.
# The folder's name is matched in any case: Windows keeps the case of whichever
# program made Korva's folder of the prefix first (korva or Korva).
motor_surecleri() {
    local kokler
    kokler=$(pgrep -i -f -- "$WINEPREFIX/(drive_c|dosdevices/c:)/users/[^/]*/AppData/Local/korva/WebView2" || true)
    [[ -n "$kokler" ]] || return 0
    ps -eo pid=,ppid= | awk -v kokler="$kokler" '
        BEGIN { n = split(kokler, k, "\n"); for (i = 1; i <= n; i++) secili[k[i]] = 1 }
        { ebeveyn[$1] = $2 }
        END {
            do { degisti = 0
                 for (p in ebeveyn) if (!(p in secili) && (ebeveyn[p] in secili)) { secili[p] = 1; degisti = 1 }
            } while (degisti)
            for (p in secili) print p }'
}

# Those of the given process ids that still run (zombies have ended).
yasayanlar() {
    local pid durum
    for pid in "$@"; do
        durum=$(ps -o stat= -p "$pid" 2>/dev/null || true)
        [[ -n "$durum" && "$durum" != Z* ]] && echo "$pid"
    done
}

# Waits (at most 10 s) until none of the given processes runs.
surecler_bitsin() {
    local kalan=""
    for _ in $(seq 1 100); do
        kalan=$(yasayanlar "$@")
        [[ -z "$kalan" ]] && return 0
        sleep 0.1
    done
    hata "engine processes left running: $(echo $kalan)"
}
