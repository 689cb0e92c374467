// The suggestion index kept up to date with the history and the bookmarks, without
// holding the window up.
//
// A history that only grew (a page visited while the list is used) gets its new
// visits added in place, with the titles that came since for the last visits
// indexed: a few microseconds a visit. Anything else (the first index, a bookmark
// added or removed, the history cleared or cut at its bound, another process's
// visits merged in) needs the whole index built again, which takes up to a second
// with 100,000 visits; that is done on a thread of its own from a copy of the
// stores, while the window goes on with the index it has. When the new index is
// ready it takes the old one's place on the next call, and the visits recorded
// meanwhile are added to it as above. Only a search made before any index exists
// waits for the first one.
#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "depolar.h"
#include "oneriler.h"

namespace korva {

namespace {

// Typed addresses remembered in this session; beyond this, new ones are not counted.
constexpr size_t kYazilanSiniri = 10000;
// Titles usually come a little after their visit: this many of the last visits
// indexed get their title looked at again when visits are added.
constexpr size_t kBasligiBeklenenler = 64;

// One build on the worker: the stores as they were when it started, and its result.
struct KurmaIsi {
    KayitOzeti gecmis;
    KayitOzeti yer_imleri;
    YazilanSayilari yazilanlar;
    int64_t simdi = 0;
    uint64_t gecmis_surumu = 0;
    uint64_t yer_imi_surumu = 0;
    OneriDizini dizin;
    std::vector<std::string> sonradan_yazilanlar;  // typed while it was built (UI thread only)
    std::atomic<bool> bitti{false};
    HANDLE bitis = nullptr;  // set when dizin is ready
};

struct Durum {
    OneriDizini dizin;
    bool kuruldu = false;
    uint64_t gecmis_surumu = 0;
    uint64_t yer_imi_surumu = 0;
    // The history as indexed: its count, its first and its last entry.
    size_t kayit = 0;
    SayfaKaydi ilk, son;
    YazilanSayilari yazilanlar;
    std::shared_ptr<KurmaIsi> is;  // the build under way, if any
    bool yenilendi = false;
};

Durum& durum() {
    static Durum d;
    return d;
}

// Whether the history is the one indexed with visits added after it: its first
// entry and the last one indexed are where they were.
bool yalniz_eklendi(const Durum& d, const std::vector<SayfaKaydi>& kayitlar) {
    if (d.kayit == 0 || kayitlar.size() < d.kayit) return false;
    const SayfaKaydi& ilk = kayitlar.front();
    const SayfaKaydi& son = kayitlar[d.kayit - 1];
    return ilk.adres == d.ilk.adres && ilk.zaman == d.ilk.zaman && son.adres == d.son.adres &&
           son.zaman == d.son.zaman;
}

void isaretle(Durum& d, size_t kayit, SayfaKaydi ilk, SayfaKaydi son, uint64_t gecmis_surumu,
              uint64_t yer_imi_surumu) {
    d.kuruldu = true;
    d.gecmis_surumu = gecmis_surumu;
    d.yer_imi_surumu = yer_imi_surumu;
    d.kayit = kayit;
    d.ilk = std::move(ilk);
    d.son = std::move(son);
}

void arkada_kur(std::shared_ptr<KurmaIsi> is) {
    is->dizin.kur(is->gecmis, is->yer_imleri, is->yazilanlar, is->simdi);
    is->bitti.store(true, std::memory_order_release);
    SetEvent(is->bitis);
}

void kurmaya_basla(Durum& d) {
    auto is = std::make_shared<KurmaIsi>();
    is->gecmis = KayitOzeti(gecmis());
    is->yer_imleri = KayitOzeti(yer_imleri());
    is->yazilanlar = d.yazilanlar;
    is->simdi = simdiki_zaman();
    is->gecmis_surumu = gecmis_surumu();
    is->yer_imi_surumu = yer_imleri_surumu();
    is->bitis = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    try {
        std::thread(arkada_kur, is).detach();
    } catch (const std::exception&) {
        arkada_kur(is);  // no thread to be had: built here, as before
    }
    d.is = std::move(is);
}

// The finished build takes the old index's place, with what was typed meanwhile.
void kurulani_al(Durum& d) {
    std::shared_ptr<KurmaIsi> is = std::move(d.is);
    std::swap(d.dizin, is->dizin);
    for (const std::string& anahtar : is->sonradan_yazilanlar) d.dizin.yazildi(anahtar);
    const KayitOzeti& kayitlar = is->gecmis;
    const size_t kayit = kayitlar.boyut();
    isaretle(d, kayit, kayit > 0 ? kayitlar.kayit(0) : SayfaKaydi{}, kayit > 0 ? kayitlar.kayit(kayit - 1) : SayfaKaydi{},
             is->gecmis_surumu, is->yer_imi_surumu);
    d.yenilendi = true;
    CloseHandle(is->bitis);
    is->bitis = nullptr;
    // Freeing the old index's 100,000 rows takes tens of milliseconds: not here.
    try {
        std::thread([eski = std::move(is)]() mutable { eski.reset(); }).detach();
    } catch (const std::exception&) {
    }
}

void ekleyerek_tazele(Durum& d, const std::vector<SayfaKaydi>& kayitlar) {
    const int64_t simdi = simdiki_zaman();
    for (size_t i = d.kayit > kBasligiBeklenenler ? d.kayit - kBasligiBeklenenler : 0; i < d.kayit; ++i) {
        d.dizin.baslik_tazele(kayitlar[i]);
    }
    for (size_t i = d.kayit; i < kayitlar.size(); ++i) d.dizin.ekle(kayitlar[i], d.yazilanlar, simdi);
    isaretle(d, kayitlar.size(), kayitlar.empty() ? SayfaKaydi{} : kayitlar.front(),
             kayitlar.empty() ? SayfaKaydi{} : kayitlar.back(), gecmis_surumu(), yer_imleri_surumu());
}

}  // namespace

OneriDizini& oneri_dizini(bool bekle) {
    Durum& d = durum();
    if (d.is && !d.kuruldu && bekle) WaitForSingleObject(d.is->bitis, INFINITE);
    if (d.is && d.is->bitti.load(std::memory_order_acquire)) kurulani_al(d);
    const bool guncel =
        d.kuruldu && d.gecmis_surumu == gecmis_surumu() && d.yer_imi_surumu == yer_imleri_surumu();
    if (guncel) return d.dizin;
    const std::vector<SayfaKaydi>& kayitlar = gecmis();
    if (d.kuruldu && d.yer_imi_surumu == yer_imleri_surumu() && yalniz_eklendi(d, kayitlar)) {
        ekleyerek_tazele(d, kayitlar);
    } else if (!d.is) {
        kurmaya_basla(d);
        if (bekle && !d.kuruldu) return oneri_dizini(true);
    }
    return d.dizin;
}

bool oneri_dizini_yenilendi() {
    Durum& d = durum();
    const bool yenilendi = d.yenilendi;
    d.yenilendi = false;
    return yenilendi;
}

bool oneri_dizini_kuruluyor() { return static_cast<bool>(durum().is); }

void oneri_dizinine_yazildi(const std::string& anahtar) {
    Durum& d = durum();
    if (anahtar.empty()) return;
    if (d.yazilanlar.find(anahtar) == d.yazilanlar.end() && d.yazilanlar.size() >= kYazilanSiniri) return;
    d.yazilanlar[anahtar] += 1;
    d.dizin.yazildi(anahtar);
    if (d.is) d.is->sonradan_yazilanlar.push_back(anahtar);
}

}  // namespace korva
