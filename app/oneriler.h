// The suggestions under the address entry, without their window: an index of the
// addresses of the history and the bookmarks, searched on every key press, and the
// rule of inline completion. The popup list that shows them is oneri_penceresi.cpp.
//
// - Matching: the typed text anywhere in a page's title or address, case ignored
//   for ASCII and Turkish letters (katla).
// - Ranking (once_gelir): addresses the user typed into the entry come before
//   those only visited; then frecency, visits weighted by how recent the last one
//   was (frekans_puani); among equals bookmarks first, then the newest visit.
// - Inline completion (tamamla): the typed text compared with the addresses
//   without their scheme and "www." (adres_cekirdegi); while the text is still in
//   the host, only the host is completed; past the host, the whole address, except
//   after a "/" just typed or when the text is itself an address opened before.
#pragma once

#include <stdint.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "profil.h"

namespace korva {

// Lower case for ASCII letters and the Turkish ones (C, G, O, S, U with their
// marks); I, dotted I and dotless i all become "i", so that however a Turkish
// word is written, it is found.
std::string katla(const std::string& metin);
// An address without its scheme ("https://"), its "www." and a lone trailing "/":
// "https://www.ornek.org/" gives "ornek.org". Case is kept.
std::string adres_cekirdegi(const std::string& adres);
// The frecency of an address: its visits times a weight for how long ago the last
// one was (100 within 4 days, then 70, 50, 30 and 10 beyond 90 days).
int64_t frekans_puani(int64_t ziyaret, int64_t son_zaman, int64_t simdi);

// The typed-address counts, by the address's core in ASCII lower case.
using YazilanSayilari = std::unordered_map<std::string, int64_t>;
std::string yazilan_anahtari(const std::string& adres);

// What a text holds, in a few bits: one per byte value (by its low six bits) and one
// per pair of neighbouring bytes (hashed into 512). A row whose mask lacks a bit of
// the searched text's mask cannot hold that text, and is passed over without
// searching it; most rows are, when the text is found in few.
struct IzMaskesi {
    uint64_t harfler = 0;
    uint64_t ikililer[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};
IzMaskesi iz_maskesi(const std::string& metin);
bool icerebilir(const IzMaskesi& satir, const IzMaskesi& aranan);

// One address of the history or the bookmarks, its visits added up.
struct OneriSatiri {
    std::string adres;
    std::string baslik;   // the newest visit's (or the bookmark's) title
    std::string anahtar;  // katla(baslik) + '\n' + katla(adres), searched
    std::string cekirdek; // adres_cekirdegi(adres)
    IzMaskesi iz;         // what the key holds (iz_maskesi), to pass over a row at once
    int64_t ziyaret = 0;
    int64_t son_zaman = 0;
    int64_t yazilma = 0;
    bool yer_imi = false;
    int64_t puan = 0;
};


// A list of visits or bookmarks packed into one buffer: a copy of a 100,000-entry
// history is a few big allocations instead of 200,000 small ones, so it can be
// taken on the window's thread and the index built from it on another.
class KayitOzeti {
public:
    KayitOzeti() = default;
    explicit KayitOzeti(const std::vector<SayfaKaydi>& kayitlar);
    size_t boyut() const { return parcalar_.size(); }
    std::string baslik(size_t yer) const;
    std::string adres(size_t yer) const;
    int64_t zaman(size_t yer) const { return parcalar_[yer].zaman; }
    // The first and the last entry whole, or an empty one for an empty list.
    SayfaKaydi kayit(size_t yer) const { return {baslik(yer), adres(yer), zaman(yer)}; }

private:
    struct Parca {
        size_t bas;           // the title's first byte in metin_, the address right after it
        uint32_t baslik_boy;  // titles and addresses are bounded well below 4 GB
        uint32_t adres_boy;
        int64_t zaman;
    };
    std::string metin_;
    std::vector<Parca> parcalar_;
};

// Whether row a comes before row b in the list.
bool once_gelir(const OneriSatiri& a, const OneriSatiri& b);

class OneriDizini {
public:
    // Builds the index from the history (oldest first, one entry per visit), the
    // bookmarks and the typed counts; frecency is taken at `simdi` (seconds).
    void kur(const KayitOzeti& gecmis, const KayitOzeti& yer_imleri, const YazilanSayilari& yazilanlar,
             int64_t simdi);
    void kur(const std::vector<SayfaKaydi>& gecmis, const std::vector<SayfaKaydi>& yer_imleri,
             const YazilanSayilari& yazilanlar, int64_t simdi) {
        kur(KayitOzeti(gecmis), KayitOzeti(yer_imleri), yazilanlar, simdi);
    }
    // A visit recorded after the index was built, and a later title for a visit
    // already in it (taken when it is its address's newest).
    void ekle(const SayfaKaydi& ziyaret, const YazilanSayilari& yazilanlar, int64_t simdi);
    void baslik_tazele(const SayfaKaydi& ziyaret);
    // The rows matching the text, best first, at most `en_cok`. A text that only
    // grew since the last search is looked for among that search's matches, when
    // that search saw them all.
    std::vector<size_t> ara(const std::string& metin, size_t en_cok);
    // The text with its inline completion ("orn" gives "ornek.org"), or the empty
    // text when no visited or typed address starts with it.
    std::string tamamla(const std::string& metin) const;
    // The user opened this address from the entry: its rows count one more typing.
    void yazildi(const std::string& anahtar);

    const OneriSatiri& satir(size_t yer) const { return satirlar_[yer]; }
    size_t boyut() const { return satirlar_.size(); }

private:
    void anahtari_kur(OneriSatiri& satir, const YazilanSayilari& yazilanlar, int64_t simdi);
    void yeniden_yerlestir(uint32_t yer);
    // Whether a visited or typed address has this core (ASCII case ignored).
    bool bilinen_adres_mi(const std::string& cekirdek) const;

    std::vector<OneriSatiri> satirlar_;
    std::unordered_map<std::string, uint32_t> yerler_;  // by address
    // Every row, best first: a search walks it and stops once it has enough, and the
    // inline completion takes the first row that fits.
    std::vector<uint32_t> sirali_;
    std::vector<IzMaskesi> sirali_izler_;  // the masks of sirali_'s rows, side by side
    std::string son_aranan_;
    std::vector<uint32_t> son_eslesenler_;  // best first; all of them when son_tam_
    bool son_tam_ = false;
};

// The index of the program's own history and bookmarks, kept up to date with them
// (oneri_bakimi.cpp). Visits added since it was built are added in place; a new
// index is built on a thread of its own while this one goes on being used. With
// `bekle` a caller that finds no index at all waits for the first one.
OneriDizini& oneri_dizini(bool bekle);
// Whether a new index took the old one's place since the last call (once).
bool oneri_dizini_yenilendi();
bool oneri_dizini_kuruluyor();
// The user opened this address (yazilan_anahtari) from the entry.
void oneri_dizinine_yazildi(const std::string& anahtar);

}  // namespace korva
