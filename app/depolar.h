// Korva's kept lists and settings: the history, the bookmarks and the settings, each
// held in memory and kept in a file of the profile (profil.h).
//
// - History ("gecmis.json"): every completed navigation, oldest first in the
//   file, at most kKayitSiniri (100,000) entries; the oldest go first. Recording one
//   only appends to memory; the file is written when nothing was recorded for two
//   seconds, and when Korva closes.
// - Bookmarks ("yer_imleri.json"): written at once on every change.
// - Settings ("ayarlar.json"): the start page, the default zoom, the search engine
//   and what a start opens (a file from before the search engine or the start's
//   choice was kept reads as the default); written like
//   the history, two seconds after the last change.
// Every write re-reads the file under the profile's mutex and merges what this
// process changed into what is there, so two Korva processes lose nothing of each
// other's. A file is written only when something changed.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "profil.h"

namespace korva {

// ---- History -----------------------------------------------------------------------
// Read on first need: the first visit recorded, the History panel, or a second
// after the first page has loaded (the loop asks gecmis_yuklendi_mi).
void gecmisi_yukle();
bool gecmis_yuklendi_mi();
const std::vector<SayfaKaydi>& gecmis();  // oldest first
// Records a visit now; returns its place in gecmis(), which a title that comes
// later updates through gecmis_basligini_guncelle (until the next write).
size_t gecmise_ekle(const std::string& baslik, const std::string& adres);
void gecmis_basligini_guncelle(size_t yer, const std::string& adres, const std::string& baslik);
void gecmisi_temizle();
// A counter that changes whenever gecmis() changes, for views that follow it.
uint64_t gecmis_surumu();

// ---- Bookmarks -----------------------------------------------------------------------
void yer_imlerini_yukle();
const std::vector<SayfaKaydi>& yer_imleri();  // oldest first
bool yer_imi_var_mi(const std::string& adres);
// Each writes the file at once; false when it could not (the change stays in memory
// and is written with the next one). Adding to a full list (kKayitSiniri) does
// nothing and gives false.
bool yer_imi_ekle(const std::string& baslik, const std::string& adres);
bool yer_imi_kaldir(const std::string& adres);
// Reads the file again when another process changed it since.
void yer_imlerini_tazele();
uint64_t yer_imleri_surumu();

// ---- Settings ------------------------------------------------------------------------
struct Ayarlar {
    std::string baslangic_sayfasi;  // empty: Korva's own start page
    int64_t yakinlik = 100;         // percent
    std::string arama_motoru;       // a URL with "%s" for the query; empty: the default engine
    bool oturumu_surdur = true;     // at start: the tabs of the last run (else the start page)
};
void ayarlari_yukle();
const Ayarlar& ayarlar();
void ayarlari_degistir(const Ayarlar& yeni);

// ---- Writing -------------------------------------------------------------------------
// Writes what waits to be written: with `hemen`, all of it; otherwise only what
// has not changed for two seconds. Called on every pass of the loop, and at exit.
void depolari_kaydet(bool hemen);
bool yazilacak_var_mi();

// What the last reads found wrong, for the status bar; each message is given once.
std::string depo_bildirimi_al();

// Forgets everything held in memory (tests start a fresh profile with it).
void depolari_sifirla();

}  // namespace korva
