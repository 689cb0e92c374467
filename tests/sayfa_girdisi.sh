#!/usr/bin/env bash
# The page as a person uses it with the mouse and the keyboard, on the real engine
# (inside tests/ortak/sayfa_sunucusu.py): after an address and Enter the keys go to
# the page's autofocus field; text another program put on the X clipboard is pasted
# into a field with Ctrl+V, and into a password field of another origin's frame
# without the top page seeing it; a double click, a triple click and a drag select a word,
# a paragraph and a part of a line, which Ctrl+C puts on the X clipboard; the
# Menu key and Shift+F10 open a field's context menu, whose Copy and Paste work; the
# wheel scrolls a long page by every notch turned, however fast; a
# right click on a link opens the context menu, whose "Copy link address" and
# "Open link in new tab" work; the protocol log is private and keeps no typed
# text. Screenshots of the steps: sayfa_girdisi_NN_step.png.
#   tests/sayfa_girdisi.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
motor=chromium
oturum_adi=sayfa_girdisi
source "$source/tests/ortak/oturum.sh"
[[ -n "${KORVA_TEST_SUNUCU:-}" ]] || hata "KORVA_TEST_SUNUCU is not set: run inside tests/ortak/sayfa_sunucusu.py"

# The texts of the server's /metin page, and the places of its lines (CSS pixels,
# the page at zoom 1): 30-pixel lines at tops 0, 100 and 200.
readonly ILK="Birinci paragraf burada."
readonly IKINCI="Ikinci paragrafin ilk cumlesi. Ikinci paragrafin ikinci cumlesi."

# What another program puts on the X clipboard (xclip serves it until Korva takes
# the clipboard over).
panoya_koy() {
    printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
}
# The X clipboard's text. A request that meets the owner changing can wait for
# minutes unanswered; it is given up after 2 s (and asked again).
pano_oku() {
    timeout 2 xclip -o -selection clipboard "$@" 2>/dev/null | tr -d '\r'
}
# Waits (at most 5 s) until the X clipboard holds this text (with a second
# argument, after spaces at its end: where a drag ends between two words decides
# whether the space is in).
pano_bekle() {
    local olan=""
    for _ in $(seq 1 50); do
        olan=$(pano_oku)
        [[ -n "${2:-}" ]] && olan="${olan%"${olan##*[! ]}"}"
        [[ "$olan" == "$1" ]] && return 0
        sleep 0.1
    done
    hata "the clipboard holds '$olan', expected '$1' (after step $adim)"
}
adrese_git() {
    tikla $ADRES_X $ADRES_Y
    tus End shift+Home BackSpace
    yaz "$KORVA_TEST_SUNUCU$1"
    tus Return
    ad_bekle "$2 - Korva"
    sleep 0.5
}
# A point of the page, in the window's client area.
sayfa_noktasi() {
    echo $((SAYFA_X + $1 + istemci_x)) $((SAYFA_Y + $2 + istemci_y))
}

# Every protocol message the views send and receive, one line each.
protokol="$build/$oturum_adi.protokol"
rm -f "$protokol"
export KORVA_CHROMIUM_LOG="$(winepath -w "$protokol")"

korva_baslat
kartlar_cizili baslangic

# 1. Enter in the address entry gives the keyboard to the page: typed keys reach
#    its autofocus field, and Enter submits it.
adrese_git /odak "Odak Sayfasi"
yaz "odakta"
tus Return
ad_bekle "Arama: odakta - Korva"
ekran odak

# 2. Another program's text, pasted with Ctrl+V into the main page's field (40
#    pixels high, 260 pixels down) and submitted: the server sees it.
adrese_git / "Ana Sayfa"
tikla $((SAYFA_X + 200)) $((SAYFA_Y + 280))
panoya_koy "yapistirilan metin"
ekran yapistirma_oncesi
tus ctrl+v
tus Return
ad_bekle "Arama: yapistirilan metin - Korva"

# 2b. The focus in a password field of a frame of another origin: Ctrl+V gives the
#     text to that field alone (the frame reports each value to the server), and the
#     top page sees no paste.
adrese_git /cerceve "Cerceve Sayfasi"
tikla $((SAYFA_X + 100)) $((SAYFA_Y + 20))
panoya_koy "cerceveye giden"
tus ctrl+v
izlerde=""
for _ in $(seq 1 50); do
    izlerde=$(curl -s "$KORVA_TEST_SUNUCU/izler")
    [[ "$izlerde" == *"cerceveye giden"* ]] && break
    sleep 0.1
done
[[ "$izlerde" == *"cerceveye giden"* ]] || hata "the frame's field did not get the text: $izlerde"
ekran cerceveye_yapistirma
ust=$(xdotool getwindowname "$pencere")
[[ "$ust" == "Cerceve Sayfasi - Korva" ]] || hata "the top page saw the paste: '$ust'"

# 3. The field's context menu from the keyboard: with the Menu key, after Ctrl+A,
#    its Copy (Cut, Copy, Paste, Select all); with Shift+F10 at the end of the
#    text, its Paste, then Shift+Insert; the server sees the text three times.
adrese_git / "Ana Sayfa"
tikla $((SAYFA_X + 200)) $((SAYFA_Y + 280))
yaz "alan metni"
tus ctrl+a Menu
sleep 1
ekran alan_menusu
tus Down Down Return
pano_bekle "alan metni"
tus End shift+F10
sleep 1
tus Down Down Down Return
tus shift+Insert
sleep 0.5
tus Return
ad_bekle "Arama: alan metnialan metnialan metni - Korva"

# 4. Double click: a word; triple click: the paragraph; a drag: what it went over.
adrese_git /metin "Metin Sayfasi"
panoya_koy "eski"
xdotool mousemove $(sayfa_noktasi 20 115) click --repeat 2 --delay 60 1
tus ctrl+Insert
pano_bekle "Ikinci"
xdotool mousemove $(sayfa_noktasi 20 115) click --repeat 3 --delay 60 1
sleep 0.3
ekran uc_tiklama
tus ctrl+c
pano_bekle "$IKINCI"
# As HTML too, for programs that take it.
html=$(pano_oku -t text/html)
[[ "$html" == *"$IKINCI"* ]] || hata "the clipboard's HTML is '$html'"
xdotool mousemove $(sayfa_noktasi 1 15) mousedown 1 mousemove $(sayfa_noktasi 60 15) \
    mousemove $(sayfa_noktasi 150 15) mousemove $(sayfa_noktasi 162 15) mouseup 1
sleep 0.3
ekran surukleme
tus ctrl+c
pano_bekle "Birinci paragraf" bosluksuz

# A pointer that stands still over the page costs nothing: once it has stopped over
# the text, and over the link, nothing goes to the engine and nothing comes back.
for yer in "20 115" "40 215"; do
    xdotool mousemove $(sayfa_noktasi $yer)
    sleep 1
    once=$(wc -l <"$protokol")
    sleep 3
    sonra=$(wc -l <"$protokol")
    (( sonra == once )) || hata "$((sonra - once)) protocol messages while the pointer stood at $yer: $(tail -n $((sonra - once)) "$protokol" | cut -c1-100 | sort | uniq -c | head -5)"
done

# 5. The context menu on the link: its second item copies the link's address, its
#    first opens the link in a new tab, the page's own tab staying as it was.
xdotool mousemove $(sayfa_noktasi 40 215) click 3
sleep 1
ekran baglam_menusu
tus Down Down Return
pano_bekle "$KORVA_TEST_SUNUCU/ikinci.html"
xdotool mousemove $(sayfa_noktasi 40 215) click 3
sleep 1
tus Down Return
ad_bekle "Ikinci Sayfa - Korva"
tus ctrl+1
ad_bekle "Metin Sayfasi - Korva"
tus ctrl+2
ad_bekle "Ikinci Sayfa - Korva"

# 6. The wheel: one notch scrolls the long page by some amount; nine notches
#     turned quickly (sent while the one before is still with the engine, so they
#     go summed) scroll it by nine times as much, and ten notches up bring it back.
adrese_git /uzun "Kaydirma 0"
xdotool mousemove $(sayfa_noktasi 200 200) click 5
for _ in $(seq 1 50); do
    ust=$(xdotool getwindowname "$pencere")
    [[ "$ust" =~ ^Kaydirma\ ([1-9][0-9]*)\ -\ Korva$ ]] && break
    sleep 0.1
done
[[ "$ust" =~ ^Kaydirma\ ([1-9][0-9]*)\ -\ Korva$ ]] || hata "one notch of the wheel did not scroll: '$ust'"
sleep 1
notch=$(xdotool getwindowname "$pencere" | awk '{ print $2 }')
xdotool click --repeat 9 --delay 5 5
ad_bekle "Kaydirma $((notch * 10)) - Korva"
xdotool click --repeat 10 --delay 5 4
ad_bekle "Kaydirma 0 - Korva"

korva_kapat

# The protocol log is its user's alone and keeps no typed text: the key events are
# in it, what they typed is not.
[[ -z "$(find "$protokol" -perm /077)" ]] || hata "the protocol log is open to others: $(stat -c %A "$protokol")"
grep -q 'Input.dispatchKeyEvent.*"<gizli>"' "$protokol" || hata "no key event in the protocol log"
! grep -E 'Input.dispatchKeyEvent.*"(text|key|unmodifiedText|code)":"[^<]' "$protokol" >/dev/null ||
    hata "typed text in the protocol log: $(grep -m1 -E 'Input.dispatchKeyEvent.*"(text|key)":"[^<]' "$protokol")"
echo "$oturum_adi: passed"
