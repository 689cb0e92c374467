// Korva's kept session: the open tabs written to the profile ("oturum.json") while
// Korva runs, and opened again at the next start, after a normal end and after a
// crash alike. Inside the program only; tests reach it through this header.
//
// - What is kept: each tab's address, title and zoom, their order and which one is
//   selected. Only http, https and file addresses are kept, and view-source: of
//   one of those, each at most kAdresSiniri (8,192) bytes; any other tab (Korva's
//   start page, about:, data:, a longer address) is kept as a start page in its
//   place, so the order and the selection still hold and nothing a data: address
//   carried reaches the disk.
// - When: one second after the last change (a tab opened, closed or selected, a
//   page's address, title or zoom), and when Korva closes; written whole and in
//   one step like every profile file (profil.h).
// - Opening: only the selected tab gets a web view at once. The others are
//   waiting tabs: their caption shows, and their web view is made, with the kept
//   address and zoom, the first time they are selected.
// - One Korva a profile: only the first Korva started on a profile folder opens,
//   writes and marks its session; another one started meanwhile opens the start
//   page, as a new window, and keeps nothing.
// - A start that ends abnormally: start-up writes the marker file "acilis.isaret"
//   holding how many starts in a row have not drawn their first page, and removes
//   it once the selected tab's first page is drawn or Korva closes normally. A
//   start that finds it saying 2 or more (two starts in a row ended abnormally
//   before their first page) opens only the start page and offers the kept
//   session in the History panel, so a page that brings Korva down cannot bring
//   it down at every start.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace korva {

// One kept tab. An empty address is Korva's start page.
struct OturumSekmesi {
    std::string adres;
    std::string baslik;
    int64_t yakinlik = 100;  // percent, 25 to 500
};

struct Oturum {
    std::vector<OturumSekmesi> sekmeler;
    int64_t secili = 0;  // position of the selected tab
};

// The most tabs a session file holds (the tab limit) and the largest file read.
constexpr size_t kOturumSekmeSiniri = 64;
constexpr size_t kOturumDosyaSiniri = 2 * 1024 * 1024;

// Whether an address may be kept: http(s), file, or view-source: of one of those,
// at most kAdresSiniri bytes.
bool saklanabilir_adres(const std::string& adres);

// A session file's bytes, checked in full: false (and an empty session) for
// anything Korva does not write: not JSON or not UTF-8, nested deeper, larger than
// kOturumDosyaSiniri, wrongly typed, another "surum", more than 64 tabs, an
// address that may not be kept, a zoom outside 25 to 500 or a selection outside
// the tabs. Never throws, whatever the bytes.
bool oturumu_coz(const std::string& baytlar, Oturum& oturum);
std::string oturumu_yaz(const Oturum& oturum);

// Start-up: reads the marker and the session, writes the marker, and opens the
// first tabs (the kept session, or the start page). Called once by korva_baslat
// after the settings were read and the window shown.
void ilk_sekmeleri_ac();
// One pass: the marker removed once the first page is drawn, the session written
// a second after its last change.
void oturumu_denetle();
// Something the session keeps changed (a page's address or title, a zoom).
void oturum_degisti();
// Korva closes normally: the session written now, the marker removed.
void oturumu_kapat();

// The last session, offered in the History panel after two abnormal starts;
// opening it adds its tabs after the open ones.
bool sunulan_oturum_var();
size_t sunulan_sekme_sayisi();
void sunulan_oturumu_ac();

// ---- Waiting tabs ---------------------------------------------------------------------
// A waiting tab stands in the reactions' table of tabs under an id of its own,
// below every web view id and every id of a tab whose engine could not start.
bool bekleyen_mi(int64_t kimlik);
// A new waiting tab's id for a kept tab; -1 when no more can wait.
int64_t bekleyen_ekle(const OturumSekmesi& sekme);
// What a waiting tab keeps, or null for any other id.
const OturumSekmesi* bekleyen_sekme(int64_t kimlik);
// The tab closed or got its web view: its id is free again.
void bekleyeni_birak(int64_t kimlik);
// The default zoom changed: waiting tabs take it too, as open ones do.
void bekleyenlere_yakinlik_ver(int64_t yuzde);
// The page window every waiting tab shows until it gets its web view.
int64_t bekleyen_sayfasi();

// ---- What the reactions provide (olaylar.cpp) ---------------------------------------------
// The open tabs as the session keeps them, addresses not yet filtered.
Oturum acik_oturum();
// Adds a waiting tab at the end of the strip; false at the tab limit.
bool bekleyen_sekme_ekle(int64_t kimlik, const std::string& baslik);
// Selects the tab at a position; a waiting one gets its web view then.
void sekmeye_gec(int64_t konum);
// Gives the waiting tab at a position its web view, selected; false when the tab
// is not a waiting one.
bool bekleyen_sekmeyi_ac(int64_t konum);

// Forgets the session state held in memory (tests start a fresh profile with it).
void oturumu_sifirla();

}  // namespace korva
