// The suggestions' index, ranking and inline completion; what each does is in
// oneriler.h. Everything here is plain data: no window, no engine, so that the
// ranking can be checked on a recorded history.
//
// Speed. The index holds one row per address (the history holds one entry per
// visit), each with its title and address already folded, and keeps the rows in
// their order, best first. So a key press walks that order with one substring
// search per row and stops once it has the rows it shows and a few thousand more
// (kept for the next, longer text); only a text that matches few rows is looked
// for in all of them. A visit recorded later moves its row to its new place
// instead of building the whole index again.
#include "oneriler.h"

#include <algorithm>

namespace korva {

namespace {

constexpr int64_t kGunSaniye = 86400;

// Days since the last visit and the weight a visit of that age has.
struct YasAgirligi {
    int64_t en_cok_gun;
    int64_t agirlik;
};
constexpr YasAgirligi kYasAgirliklari[] = {{4, 100}, {14, 70}, {31, 50}, {90, 30}};
constexpr int64_t kEskiAgirlik = 10;

char ascii_kucuk(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ascii_kucult(const std::string& metin) {
    std::string sonuc = metin;
    for (char& c : sonuc) c = ascii_kucuk(c);
    return sonuc;
}

// Whether `metin` starts with `onek`, ASCII case ignored (other bytes as they are).
bool ascii_onek_mi(const std::string& metin, const std::string& onek, size_t bas = 0) {
    if (bas > metin.size() || metin.size() - bas < onek.size()) return false;
    for (size_t i = 0; i < onek.size(); ++i) {
        if (ascii_kucuk(metin[bas + i]) != ascii_kucuk(onek[i])) return false;
    }
    return true;
}

// The length of a leading "scheme://", or 0. A scheme is letters, digits, "+",
// "-" and "." after a letter.
size_t sema_uzunlugu(const std::string& metin) {
    const size_t ayirici = metin.find("://");
    if (ayirici == std::string::npos || ayirici == 0) return 0;
    for (size_t i = 0; i < ayirici; ++i) {
        const char c = ascii_kucuk(metin[i]);
        const bool harf = c >= 'a' && c <= 'z';
        const bool diger = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!harf && !(i > 0 && diger)) return 0;
    }
    return ayirici + 3;
}

// The length of the scheme and "www." at the start of a text.
size_t on_ek_uzunlugu(const std::string& metin) {
    size_t bas = sema_uzunlugu(metin);
    if (ascii_onek_mi(metin, "www.", bas)) bas += 4;
    return bas;
}

}  // namespace

std::string katla(const std::string& metin) {
    std::string sonuc;
    sonuc.reserve(metin.size());
    for (size_t i = 0; i < metin.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(metin[i]);
        const unsigned char sonraki = i + 1 < metin.size() ? static_cast<unsigned char>(metin[i + 1]) : 0;
        if (c == 0xC3 && sonraki >= 0x80 && sonraki <= 0x9E && sonraki != 0x97) {
            // Latin-1 capitals (C, O, U with their marks among them).
            sonuc += static_cast<char>(c);
            sonuc += static_cast<char>(sonraki + 0x20);
            ++i;
        } else if (c == 0xC4 && (sonraki == 0xB0 || sonraki == 0xB1)) {
            sonuc += 'i';  // dotted capital I and dotless i
            ++i;
        } else if ((c == 0xC4 && sonraki == 0x9E) || (c == 0xC5 && sonraki == 0x9E)) {
            sonuc += static_cast<char>(c);  // G and S with their marks
            sonuc += static_cast<char>(sonraki + 1);
            ++i;
        } else {
            sonuc += ascii_kucuk(static_cast<char>(c));
        }
    }
    return sonuc;
}

std::string adres_cekirdegi(const std::string& adres) {
    std::string cekirdek = adres.substr(on_ek_uzunlugu(adres));
    if (!cekirdek.empty() && cekirdek.back() == '/' && cekirdek.find('/') == cekirdek.size() - 1) cekirdek.pop_back();
    return cekirdek;
}

std::string yazilan_anahtari(const std::string& adres) { return ascii_kucult(adres_cekirdegi(adres)); }

IzMaskesi iz_maskesi(const std::string& metin) {
    IzMaskesi iz;
    for (size_t i = 0; i < metin.size(); ++i) {
        const unsigned a = static_cast<unsigned char>(metin[i]);
        iz.harfler |= uint64_t{1} << (a & 63);
        if (i + 1 == metin.size()) break;
        const unsigned ikili = (a * 251u + static_cast<unsigned char>(metin[i + 1])) & 511u;
        iz.ikililer[ikili >> 6] |= uint64_t{1} << (ikili & 63);
    }
    return iz;
}

bool icerebilir(const IzMaskesi& satir, const IzMaskesi& aranan) {
    if ((satir.harfler & aranan.harfler) != aranan.harfler) return false;
    for (int i = 0; i < 8; ++i) {
        if ((satir.ikililer[i] & aranan.ikililer[i]) != aranan.ikililer[i]) return false;
    }
    return true;
}

int64_t frekans_puani(int64_t ziyaret, int64_t son_zaman, int64_t simdi) {
    const int64_t gun = simdi > son_zaman ? (simdi - son_zaman) / kGunSaniye : 0;
    int64_t agirlik = kEskiAgirlik;
    for (const YasAgirligi& yas : kYasAgirliklari) {
        if (gun <= yas.en_cok_gun) {
            agirlik = yas.agirlik;
            break;
        }
    }
    return ziyaret * agirlik;
}

bool once_gelir(const OneriSatiri& a, const OneriSatiri& b) {
    const bool a_yazildi = a.yazilma > 0, b_yazildi = b.yazilma > 0;
    if (a_yazildi != b_yazildi) return a_yazildi;
    if (a.puan != b.puan) return a.puan > b.puan;
    if (a.yer_imi != b.yer_imi) return a.yer_imi;
    if (a.son_zaman != b.son_zaman) return a.son_zaman > b.son_zaman;
    return a.adres < b.adres;
}

void OneriDizini::anahtari_kur(OneriSatiri& satir, const YazilanSayilari& yazilanlar, int64_t simdi) {
    satir.anahtar = katla(satir.baslik);
    satir.anahtar += '\n';
    satir.anahtar += katla(satir.adres);
    satir.cekirdek = adres_cekirdegi(satir.adres);
    satir.iz = iz_maskesi(satir.anahtar);
    satir.yazilma = 0;
    if (!yazilanlar.empty()) {
        const auto yazilan = yazilanlar.find(ascii_kucult(satir.cekirdek));
        if (yazilan != yazilanlar.end()) satir.yazilma = yazilan->second;
    }
    satir.puan = frekans_puani(satir.ziyaret, satir.son_zaman, simdi);
}

KayitOzeti::KayitOzeti(const std::vector<SayfaKaydi>& kayitlar) {
    // A guess, not a walk over every record (that walk alone costs as much as the copy).
    metin_.reserve(kayitlar.size() * 96);
    parcalar_.reserve(kayitlar.size());
    for (const SayfaKaydi& kayit : kayitlar) {
        parcalar_.push_back({metin_.size(), static_cast<uint32_t>(kayit.baslik.size()),
                             static_cast<uint32_t>(kayit.adres.size()), kayit.zaman});
        metin_ += kayit.baslik;
        metin_ += kayit.adres;
    }
}

std::string KayitOzeti::baslik(size_t yer) const {
    const Parca& p = parcalar_[yer];
    return metin_.substr(p.bas, p.baslik_boy);
}

std::string KayitOzeti::adres(size_t yer) const {
    const Parca& p = parcalar_[yer];
    return metin_.substr(p.bas + p.baslik_boy, p.adres_boy);
}

void OneriDizini::kur(const KayitOzeti& gecmis, const KayitOzeti& yer_imleri, const YazilanSayilari& yazilanlar,
                      int64_t simdi) {
    satirlar_.clear();
    yerler_.clear();
    son_aranan_.clear();
    son_eslesenler_.clear();
    yerler_.reserve(gecmis.boyut() + yer_imleri.boyut());
    auto satir_al = [&](const std::string& adres) -> OneriSatiri& {
        const auto [yer, yeni] = yerler_.emplace(adres, static_cast<uint32_t>(satirlar_.size()));
        if (yeni) {
            satirlar_.emplace_back();
            satirlar_.back().adres = adres;
        }
        return satirlar_[yer->second];
    };
    for (size_t i = 0; i < gecmis.boyut(); ++i) {
        OneriSatiri& satir = satir_al(gecmis.adres(i));
        satir.ziyaret += 1;
        if (gecmis.zaman(i) >= satir.son_zaman) {
            satir.son_zaman = gecmis.zaman(i);
            satir.baslik = gecmis.baslik(i);
        }
    }
    for (size_t i = 0; i < yer_imleri.boyut(); ++i) {
        OneriSatiri& satir = satir_al(yer_imleri.adres(i));
        satir.yer_imi = true;
        if (satir.ziyaret == 0) satir.baslik = yer_imleri.baslik(i);
    }
    for (OneriSatiri& satir : satirlar_) anahtari_kur(satir, yazilanlar, simdi);
    sirali_.resize(satirlar_.size());
    for (uint32_t yer = 0; yer < sirali_.size(); ++yer) sirali_[yer] = yer;
    std::sort(sirali_.begin(), sirali_.end(),
              [this](uint32_t a, uint32_t b) { return once_gelir(satirlar_[a], satirlar_[b]); });
    sirali_izler_.resize(sirali_.size());
    for (size_t sira = 0; sira < sirali_.size(); ++sira) sirali_izler_[sira] = satirlar_[sirali_[sira]].iz;
}

// A row whose rank changed moves to its new place among the others.
void OneriDizini::yeniden_yerlestir(uint32_t yer) {
    const auto eski = std::find(sirali_.begin(), sirali_.end(), yer);
    if (eski != sirali_.end()) {
        sirali_izler_.erase(sirali_izler_.begin() + (eski - sirali_.begin()));
        sirali_.erase(eski);
    }
    const auto yeni = std::lower_bound(sirali_.begin(), sirali_.end(), yer, [this](uint32_t a, uint32_t b) {
        return once_gelir(satirlar_[a], satirlar_[b]);
    });
    sirali_izler_.insert(sirali_izler_.begin() + (yeni - sirali_.begin()), satirlar_[yer].iz);
    sirali_.insert(yeni, yer);
    son_aranan_.clear();
}

void OneriDizini::ekle(const SayfaKaydi& ziyaret, const YazilanSayilari& yazilanlar, int64_t simdi) {
    const auto [yer, yeni] = yerler_.emplace(ziyaret.adres, static_cast<uint32_t>(satirlar_.size()));
    if (yeni) {
        satirlar_.emplace_back();
        satirlar_.back().adres = ziyaret.adres;
    }
    OneriSatiri& satir = satirlar_[yer->second];
    satir.ziyaret += 1;
    if (ziyaret.zaman >= satir.son_zaman) {
        satir.son_zaman = ziyaret.zaman;
        satir.baslik = ziyaret.baslik;
    }
    anahtari_kur(satir, yazilanlar, simdi);
    yeniden_yerlestir(yer->second);
}

void OneriDizini::baslik_tazele(const SayfaKaydi& ziyaret) {
    const auto yer = yerler_.find(ziyaret.adres);
    if (yer == yerler_.end()) return;
    OneriSatiri& satir = satirlar_[yer->second];
    if (satir.son_zaman != ziyaret.zaman || satir.baslik == ziyaret.baslik) return;
    satir.baslik = ziyaret.baslik;
    satir.anahtar = katla(satir.baslik) + '\n' + katla(satir.adres);
    satir.iz = iz_maskesi(satir.anahtar);
    const auto sira = std::find(sirali_.begin(), sirali_.end(), yer->second);
    if (sira != sirali_.end()) sirali_izler_[static_cast<size_t>(sira - sirali_.begin())] = satir.iz;
    son_aranan_.clear();
}

std::vector<size_t> OneriDizini::ara(const std::string& metin, size_t en_cok) {
    // Matches kept for the next, longer text; a search that finds more stops there.
    constexpr size_t kSaklananSiniri = 4096;
    const std::string aranan = katla(metin);
    if (aranan.empty() || en_cok == 0) {
        son_aranan_.clear();
        return {};
    }
    const bool daraltilabilir = son_tam_ && !son_aranan_.empty() &&
                                aranan.compare(0, son_aranan_.size(), son_aranan_) == 0;
    const std::vector<uint32_t>& adaylar = daraltilabilir ? son_eslesenler_ : sirali_;
    const IzMaskesi iz = iz_maskesi(aranan);
    std::vector<uint32_t> eslesenler;
    bool tam = true;
    for (size_t sira = 0; sira < adaylar.size(); ++sira) {
        const uint32_t yer = adaylar[sira];
        const OneriSatiri& satir = satirlar_[yer];
        // The masks of the rows in order sit side by side: most rows cost one look there.
        const IzMaskesi& satir_izi = daraltilabilir ? satir.iz : sirali_izler_[sira];
        if (!icerebilir(satir_izi, iz) || satir.anahtar.find(aranan) == std::string::npos) continue;
        if (eslesenler.size() == kSaklananSiniri) {
            tam = false;
            break;
        }
        eslesenler.push_back(yer);
    }
    std::vector<size_t> sonuc(eslesenler.begin(),
                              eslesenler.begin() + static_cast<long>(std::min(en_cok, eslesenler.size())));
    son_aranan_ = aranan;
    son_eslesenler_ = std::move(eslesenler);
    son_tam_ = tam;
    return sonuc;
}

std::string OneriDizini::tamamla(const std::string& metin) const {
    for (char c : metin) {
        if (static_cast<unsigned char>(c) <= ' ') return {};  // words to search, not an address
    }
    const size_t sema = sema_uzunlugu(metin);
    const std::string yazilan = metin.substr(on_ek_uzunlugu(metin));
    if (yazilan.empty()) return {};
    const OneriSatiri* en_iyi = nullptr;
    for (uint32_t yer : sirali_) {  // best first: the first that fits is the one
        const OneriSatiri& satir = satirlar_[yer];
        if (satir.ziyaret == 0 && satir.yazilma == 0) continue;
        if (satir.cekirdek.size() <= yazilan.size() || !ascii_onek_mi(satir.cekirdek, yazilan)) continue;
        // A scheme typed must be the address's own.
        if (sema > 0 && !ascii_onek_mi(satir.adres, metin.substr(0, sema))) continue;
        en_iyi = &satir;
        break;
    }
    if (en_iyi == nullptr) return {};
    const std::string& cekirdek = en_iyi->cekirdek;
    const size_t host_sonu = std::min(cekirdek.find_first_of("/?#"), cekirdek.size());
    if (yazilan.size() < host_sonu) return metin + cekirdek.substr(yazilan.size(), host_sonu - yazilan.size());
    // A host typed whole, a path up to a "/", or an address opened before as it is
    // typed: the user has said where to go, and nothing is added to it.
    if (yazilan.size() == host_sonu || yazilan.back() == '/' || bilinen_adres_mi(yazilan)) return {};
    return metin + cekirdek.substr(yazilan.size());
}

bool OneriDizini::bilinen_adres_mi(const std::string& cekirdek) const {
    for (const OneriSatiri& satir : satirlar_) {
        if (satir.ziyaret == 0 && satir.yazilma == 0) continue;
        if (satir.cekirdek.size() == cekirdek.size() && ascii_onek_mi(satir.cekirdek, cekirdek)) return true;
    }
    return false;
}

void OneriDizini::yazildi(const std::string& anahtar) {
    for (uint32_t yer = 0; yer < satirlar_.size(); ++yer) {
        OneriSatiri& satir = satirlar_[yer];
        if (satir.cekirdek.size() != anahtar.size() || ascii_kucult(satir.cekirdek) != anahtar) continue;
        satir.yazilma += 1;
        yeniden_yerlestir(yer);
    }
}

}  // namespace korva
