// Site permissions: what pages ask for (notifications, the location, the camera,
// the microphone, reading the clipboard), Korva's prompt that asks the user, and
// the answers remembered per site and kind in the profile ("izinler.json").
// Inside the program only; tests reach it through this header.
//
// - A request of a site and kind with a remembered answer is answered with it at
//   once; any other waits for the prompt. The prompt, a bar under the address bar,
//   shows the selected tab's oldest waiting request: "<origin> bildirim gondermek
//   istiyor" with "Izin ver" and "Engelle", each remembered. Its close button and
//   Esc refuse without remembering (the page asks again next time). A request of
//   another tab waits until that tab is selected; a closed tab's requests go with
//   it. Kinds Korva does not know get the engine's default (a refusal).
// - The file: {"surum":1,"izinler":[{"kaynak":"...","tur":"bildirim","karar":"izin",
//   "zaman":S},...]}, at most kIzinSiniri answers (the oldest go); `tur` one of
//   bildirim, konum, kamera, mikrofon, pano; `karar` izin or engel. Written whole
//   (the last writer wins between two processes) two seconds after the last change
//   and when Korva closes; a damaged file is moved aside like the others.
// - Settings lists the remembered answers, newest first; "Secileni unut" (or
//   Delete in the list) and "Tumunu unut" forget them.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace korva {

constexpr size_t kIzinSiniri = 1000;

// One remembered answer. `tur` is the engine's numbering of the kind.
struct IzinKaydi {
    std::string kaynak;
    int64_t tur = 0;
    bool izin = false;
    int64_t zaman = 0;
};

// The kinds Korva asks about, in Turkish: what the site wants to do ("bildirim
// gondermek"), and the file's name of the kind ("bildirim"); null for another kind.
const char* izin_ifadesi(int64_t tur);
const char* izin_adi(int64_t tur);

// A file's bytes as answers, checked in full; false when they are not Korva's
// permissions file (then `kayitlar` is left empty). Never throws, whatever the bytes.
bool izinleri_coz(const std::string& baytlar, std::vector<IzinKaydi>& kayitlar);
std::string izinleri_yaz(const std::vector<IzinKaydi>& kayitlar);

// The remembered answers, oldest first (read from the profile on first need).
const std::vector<IzinKaydi>& izin_kayitlari();
// The remembered answer of a site and kind: 1 allow, 2 refuse, 0 none.
int64_t hatirlanan_izin(const std::string& kaynak, int64_t tur);
void izni_hatirla(const std::string& kaynak, int64_t tur, bool izin);
void izni_unut(const std::string& kaynak, int64_t tur);
void izinleri_unut();

// One pass of the loop: new requests, the prompt's buttons, the Settings list, the
// file when due. Esc while the prompt shows refuses (true: Esc was the prompt's).
void izinleri_denetle();
bool izin_esc_isle();
// At exit: waiting requests refused, the file written if it changed.
void izinleri_kapat();

// The Settings panel's part, built into its box, and its pass.
void izin_ayarlarini_kur(int64_t kutu);
void izin_ayarlarini_denetle();

// The widgets, for tests; -1 until made.
struct IzinWidgetleri {
    int64_t pencere = -1, etiket = -1, izin_ver = -1, engelle = -1, kapat = -1;
    int64_t liste = -1, unut = -1, tumunu_unut = -1;
};
const IzinWidgetleri& izin_widgetleri();
// The prompt shows now, for this request of the runtime; -1 when hidden.
int64_t gosterilen_izin_istegi();

// Forgets everything held in memory (tests start a fresh profile with it).
void izinleri_sifirla();

}  // namespace korva
