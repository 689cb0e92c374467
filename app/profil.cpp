// Korva's profile folder and its files: where they are, how they are read without
// trusting their contents, and how they are written without ever leaving half a
// file behind. The rules are written once, in profil.h.
#include "profil.h"

#include <windows.h>

#include <stdio.h>

#include <nlohmann/json.hpp>

#include "gec_yuklenen.h"
#include "ozel_erisim.h"

namespace korva {

void (*profil_yazma_kancasi)() = nullptr;

namespace {

using Json = nlohmann::json;

constexpr uint64_t kDosyaSiniri = 64ull * 1024 * 1024;
// Korva's files nest three deep (the file, its list, an entry); a little room above.
constexpr int kDerinlikSiniri = 8;
constexpr int64_t kSurum = 1;
constexpr DWORD kKilitBeklemesiMs = 5000;

std::wstring klasor;
bool klasor_arandi = false;

std::wstring ortam_degiskeni(const wchar_t* ad) {
    wchar_t deger[32768];
    const DWORD uzunluk = GetEnvironmentVariableW(ad, deger, 32768);
    if (uzunluk == 0 || uzunluk >= 32768) return {};
    return std::wstring(deger, uzunluk);
}

std::wstring yerel_uygulama_verisi() {
    PWSTR yol = nullptr;
    std::wstring sonuc;
    if (SUCCEEDED(bilinen_klasor_al(FOLDERID_LocalAppData, KF_FLAG_CREATE, &yol)) && yol != nullptr) {
        sonuc = yol;
    }
    CoTaskMemFree(yol);
    return sonuc;
}

bool klasor_var(const std::wstring& yol) {
    const DWORD nitelik = GetFileAttributesW(yol.c_str());
    return nitelik != INVALID_FILE_ATTRIBUTES && (nitelik & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Reads a list file as the parser goes, without building the document first: one
// SayfaKaydi per entry, every value checked where it stands. Korva's files are an
// object holding "surum" (1) and the list under its key; each entry an object with
// "baslik" (text), "adres" (non-empty text) and "zaman" (integer). Other keys are
// allowed and skipped; nothing may nest deeper than kDerinlikSiniri. Any other
// shape stops the parse, and the file counts as damaged.
class KayitOkuyucu final : public nlohmann::json_sax<Json> {
public:
    KayitOkuyucu(const char* anahtar, std::vector<SayfaKaydi>& kayitlar) : anahtar_(anahtar), kayitlar_(kayitlar) {}
    bool tamam() const { return surum_ && liste_bitti_; }

    bool null() override { return deger(Tur::diger); }
    bool boolean(bool) override { return deger(Tur::diger); }
    bool number_integer(number_integer_t sayi) override {
        tamsayi_ = sayi;
        return deger(Tur::tamsayi);
    }
    bool number_unsigned(number_unsigned_t sayi) override {
        if (sayi > static_cast<number_unsigned_t>(INT64_MAX)) return deger(Tur::diger);
        tamsayi_ = static_cast<int64_t>(sayi);
        return deger(Tur::tamsayi);
    }
    bool number_float(number_float_t, const string_t&) override { return deger(Tur::diger); }
    bool string(string_t& metin) override {
        metin_ = &metin;
        return deger(Tur::metin);
    }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return ac(Tur::nesne); }
    bool start_array(std::size_t) override { return ac(Tur::dizi); }
    bool key(string_t& ad) override {
        if (atlanan_ > 0) return true;
        if (derinlik_ == 1) kok_anahtari_ = ad;
        if (derinlik_ == 3) kayit_anahtari_ = ad;
        return true;
    }
    bool end_object() override { return kapat(); }
    bool end_array() override { return kapat(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    enum class Tur { diger, tamsayi, metin, nesne, dizi };

    // A value that is neither an object nor an array.
    bool deger(Tur tur) {
        if (atlanan_ > 0) return true;
        switch (derinlik_) {
        case 1:
            if (kok_anahtari_ == "surum") {
                if (tur != Tur::tamsayi || tamsayi_ != kSurum || surum_) return false;
                surum_ = true;
                return true;
            }
            return kok_anahtari_ != anahtar_;  // the list must be an array; other keys are skipped
        case 3:
            return alan(tur);
        default:
            return false;  // the file must be an object, and each entry too
        }
    }

    bool alan(Tur tur) {
        if (kayit_anahtari_ == "baslik") {
            if (tur != Tur::metin || metin_->size() > kBaslikSiniri || baslik_var_) return false;
            kayit_.baslik = std::move(*metin_);
            baslik_var_ = true;
        } else if (kayit_anahtari_ == "adres") {
            if (tur != Tur::metin || metin_->empty() || metin_->size() > kAdresSiniri || adres_var_) return false;
            kayit_.adres = std::move(*metin_);
            adres_var_ = true;
        } else if (kayit_anahtari_ == "zaman") {
            if (tur != Tur::tamsayi || zaman_var_) return false;
            kayit_.zaman = tamsayi_;
            zaman_var_ = true;
        }
        return true;
    }

    bool ac(Tur tur) {
        if (derinlik_ + atlanan_ >= kDerinlikSiniri) return false;
        if (atlanan_ > 0) {
            ++atlanan_;
            return true;
        }
        switch (derinlik_) {
        case 0:
            if (tur != Tur::nesne) return false;
            derinlik_ = 1;
            return true;
        case 1:
            if (kok_anahtari_ == "surum") return false;
            if (kok_anahtari_ != anahtar_) {
                ++atlanan_;
                return true;
            }
            if (tur != Tur::dizi || liste_goruldu_) return false;
            liste_goruldu_ = true;
            derinlik_ = 2;
            return true;
        case 2:
            if (tur != Tur::nesne || kayitlar_.size() >= kKayitSiniri) return false;
            derinlik_ = 3;
            kayit_ = SayfaKaydi();
            baslik_var_ = adres_var_ = zaman_var_ = false;
            kayit_anahtari_.clear();
            return true;
        case 3:
            if (kayit_anahtari_ == "baslik" || kayit_anahtari_ == "adres" || kayit_anahtari_ == "zaman") return false;
            ++atlanan_;
            return true;
        default:
            return false;
        }
    }

    bool kapat() {
        if (atlanan_ > 0) {
            --atlanan_;
            return true;
        }
        switch (derinlik_) {
        case 1:
            derinlik_ = 0;
            return true;
        case 2:
            derinlik_ = 1;
            liste_bitti_ = true;
            return true;
        case 3:
            if (!baslik_var_ || !adres_var_ || !zaman_var_) return false;
            kayitlar_.push_back(std::move(kayit_));
            derinlik_ = 2;
            return true;
        default:
            return false;
        }
    }

    const std::string anahtar_;
    std::vector<SayfaKaydi>& kayitlar_;
    int derinlik_ = 0;  // 1 in the file's object, 2 in its list, 3 in an entry
    int atlanan_ = 0;   // depth inside a value that is skipped
    std::string kok_anahtari_, kayit_anahtari_;
    int64_t tamsayi_ = 0;
    string_t* metin_ = nullptr;
    SayfaKaydi kayit_;
    bool baslik_var_ = false, adres_var_ = false, zaman_var_ = false;
    bool surum_ = false, liste_goruldu_ = false, liste_bitti_ = false;
};

// A free name beside `yol` for a damaged file: "gecmis.json" becomes
// "gecmis.bozuk-20261208-0015.json", then "...-2.json" and so on.
std::wstring ayrilacak_ad(const std::wstring& yol) {
    SYSTEMTIME simdi;
    GetLocalTime(&simdi);
    wchar_t damga[32];
    swprintf(damga, 32, L".bozuk-%04u%02u%02u-%02u%02u", simdi.wYear, simdi.wMonth, simdi.wDay, simdi.wHour,
             simdi.wMinute);
    const size_t nokta = yol.rfind(L'.');
    const std::wstring govde = nokta == std::wstring::npos ? yol : yol.substr(0, nokta);
    const std::wstring uzanti = nokta == std::wstring::npos ? L"" : yol.substr(nokta);
    for (int sira = 1; sira < 1000; ++sira) {
        std::wstring aday = govde + damga + (sira == 1 ? L"" : L"-" + std::to_wstring(sira)) + uzanti;
        if (GetFileAttributesW(aday.c_str()) == INVALID_FILE_ATTRIBUTES) return aday;
    }
    return {};
}

}  // namespace

bool dosyayi_kenara_ayir(const std::wstring& yol, std::wstring& ayrilan_ad) {
    std::wstring hedef = ayrilacak_ad(yol);
    if (hedef.empty() || !MoveFileExW(yol.c_str(), hedef.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
    const size_t ayirac = hedef.find_last_of(L"\\/");
    ayrilan_ad = ayirac == std::wstring::npos ? hedef : hedef.substr(ayirac + 1);
    return true;
}

std::wstring profil_nesne_adi(const wchar_t* tur) {
    std::wstring yol = profil_klasoru();
    CharUpperBuffW(yol.data(), static_cast<DWORD>(yol.size()));
    uint64_t ozet = 1469598103934665603ull;  // FNV-1a
    for (wchar_t c : yol) {
        ozet ^= static_cast<uint64_t>(c);
        ozet *= 1099511628211ull;
    }
    wchar_t ad[96];
    swprintf(ad, 96, L"Local\\%ls-%016llx", tur, static_cast<unsigned long long>(ozet));
    return ad;
}

namespace {

// The length of the valid UTF-8 character at `i`, or 0 when the bytes there are none.
size_t utf8_karakter_boyu(const std::string& metin, size_t i) {
    const unsigned char c = static_cast<unsigned char>(metin[i]);
    if (c < 0x80) return 1;
    size_t boy = 0;
    uint32_t en_az = 0, kod = 0;
    if ((c & 0xE0) == 0xC0) {
        boy = 2, en_az = 0x80, kod = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        boy = 3, en_az = 0x800, kod = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        boy = 4, en_az = 0x10000, kod = c & 0x07;
    } else {
        return 0;
    }
    if (i + boy > metin.size()) return 0;
    for (size_t k = 1; k < boy; ++k) {
        const unsigned char d = static_cast<unsigned char>(metin[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        kod = (kod << 6) | (d & 0x3F);
    }
    if (kod < en_az || kod > 0x10FFFF || (kod >= 0xD800 && kod <= 0xDFFF)) return 0;
    return boy;
}

// A text as a JSON string: quotes, backslashes and control characters escaped, and
// bytes that are not UTF-8 written as U+FFFD, so that the file always reads back.
void json_metni_ekle(std::string& hedef, const std::string& metin) {
    hedef += '"';
    for (size_t i = 0; i < metin.size();) {
        const char c = metin[i];
        if (c == '"' || c == '\\') {
            hedef += '\\';
            hedef += c;
            ++i;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char kacis[8];
            snprintf(kacis, sizeof(kacis), "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            hedef += kacis;
            ++i;
        } else if (const size_t boy = utf8_karakter_boyu(metin, i)) {
            hedef.append(metin, i, boy);
            i += boy;
        } else {
            hedef += "\xEF\xBF\xBD";
            ++i;
        }
    }
    hedef += '"';
}

bool hepsini_yaz(HANDLE dosya, const char* baytlar, size_t uzunluk) {
    while (uzunluk > 0) {
        const DWORD parca = uzunluk > (1u << 30) ? (1u << 30) : static_cast<DWORD>(uzunluk);
        DWORD yazilan = 0;
        if (!WriteFile(dosya, baytlar, parca, &yazilan, nullptr) || yazilan == 0) return false;
        baytlar += yazilan;
        uzunluk -= yazilan;
    }
    return true;
}

}  // namespace

bool operator==(const SayfaKaydi& a, const SayfaKaydi& b) {
    return a.zaman == b.zaman && a.adres == b.adres && a.baslik == b.baslik;
}

const std::wstring& profil_klasoru() {
    if (klasor_arandi) return klasor;
    klasor_arandi = true;
    std::wstring yol = ortam_degiskeni(L"KORVA_PROFIL");
    if (yol.empty()) {
        const std::wstring veri = yerel_uygulama_verisi();
        if (!veri.empty()) yol = veri + L"\\Korva";
    }
    while (yol.size() > 3 && (yol.back() == L'\\' || yol.back() == L'/')) yol.pop_back();
    if (!yol.empty() && !klasor_var(yol)) {
        OzelErisim ozel(OzelErisim::KLASOR);
        klasor_yolunu_olustur(yol.c_str(), ozel.nitelikler());
    }
    klasor = klasor_var(yol) ? yol : std::wstring();
    return klasor;
}

void profil_klasorunu_unut() {
    klasor.clear();
    klasor_arandi = false;
}

std::wstring profil_yolu(const wchar_t* dosya_adi) {
    const std::wstring& kok = profil_klasoru();
    if (kok.empty()) return {};
    return kok + L"\\" + dosya_adi;
}

bool kayitlari_coz(const std::string& baytlar, const char* anahtar, std::vector<SayfaKaydi>& kayitlar) {
    kayitlar.clear();
    try {
        if (baytlar.size() > kDosyaSiniri) return false;
        KayitOkuyucu okuyucu(anahtar, kayitlar);
        if (Json::sax_parse(baytlar, &okuyucu, Json::input_format_t::json, true) && okuyucu.tamam()) return true;
    } catch (...) {
    }
    kayitlar.clear();
    return false;
}

std::string kayitlari_yaz(const char* anahtar, const std::vector<SayfaKaydi>& kayitlar) {
    // Written by hand, one entry a line: much faster than building the whole
    // document as JSON values first, and easy to read in an editor.
    std::string metin = "{\"surum\":1,\"";
    metin += anahtar;
    metin += "\":[";
    for (size_t i = 0; i < kayitlar.size(); ++i) {
        const SayfaKaydi& kayit = kayitlar[i];
        metin += i == 0 ? "\n" : ",\n";
        metin += "{\"zaman\":";
        metin += std::to_string(kayit.zaman);
        metin += ",\"adres\":";
        json_metni_ekle(metin, kayit.adres);
        metin += ",\"baslik\":";
        json_metni_ekle(metin, kayit.baslik);
        metin += '}';
    }
    metin += "\n]}\n";
    return metin;
}

OkumaSonucu dosyayi_oku(const std::wstring& yol, std::string& baytlar, std::wstring& ayrilan_ad) {
    baytlar.clear();
    if (yol.empty()) return OkumaSonucu::okunamadi;
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE) {
        const DWORD hata = GetLastError();
        if (hata == ERROR_FILE_NOT_FOUND || hata == ERROR_PATH_NOT_FOUND) return OkumaSonucu::yok;
        return dosyayi_kenara_ayir(yol, ayrilan_ad) ? OkumaSonucu::bozuk_ayrildi : OkumaSonucu::okunamadi;
    }
    LARGE_INTEGER boyut = {};
    bool okundu = GetFileSizeEx(dosya, &boyut) != 0;
    const bool buyuk = okundu && static_cast<uint64_t>(boyut.QuadPart) > kDosyaSiniri;
    if (okundu && !buyuk) {
        try {
            baytlar.resize(static_cast<size_t>(boyut.QuadPart));
        } catch (...) {
            okundu = false;
        }
        size_t alinan = 0;
        while (okundu && alinan < baytlar.size()) {
            DWORD parca = 0;
            const DWORD istenen = static_cast<DWORD>(baytlar.size() - alinan);
            if (!ReadFile(dosya, baytlar.data() + alinan, istenen, &parca, nullptr)) okundu = false;
            if (parca == 0) break;
            alinan += parca;
        }
        baytlar.resize(alinan);
    }
    CloseHandle(dosya);
    if (buyuk) return dosyayi_kenara_ayir(yol, ayrilan_ad) ? OkumaSonucu::bozuk_ayrildi : OkumaSonucu::okunamadi;
    if (!okundu) {
        baytlar.clear();
        return dosyayi_kenara_ayir(yol, ayrilan_ad) ? OkumaSonucu::bozuk_ayrildi : OkumaSonucu::okunamadi;
    }
    return OkumaSonucu::tamam;
}

void yarim_yazilanlari_sil(const std::wstring& yol) {
    WIN32_FIND_DATAW bulunan;
    HANDLE arama = FindFirstFileW((yol + L".yaziliyor-*").c_str(), &bulunan);
    if (arama == INVALID_HANDLE_VALUE) return;
    const size_t ayirac = yol.find_last_of(L"\\/");
    const std::wstring klasor = ayirac == std::wstring::npos ? std::wstring() : yol.substr(0, ayirac + 1);
    do {
        DeleteFileW((klasor + bulunan.cFileName).c_str());
    } while (FindNextFileW(arama, &bulunan));
    FindClose(arama);
}

OkumaSonucu kayit_dosyasini_oku(const std::wstring& yol, const char* anahtar, std::vector<SayfaKaydi>& kayitlar,
                                 std::wstring& ayrilan_ad) {
    kayitlar.clear();
    std::string baytlar;
    const OkumaSonucu sonuc = dosyayi_oku(yol, baytlar, ayrilan_ad);
    if (sonuc != OkumaSonucu::tamam) return sonuc;
    if (kayitlari_coz(baytlar, anahtar, kayitlar)) return OkumaSonucu::tamam;
    return dosyayi_kenara_ayir(yol, ayrilan_ad) ? OkumaSonucu::bozuk_ayrildi : OkumaSonucu::okunamadi;
}

bool dosyayi_degistir(const std::wstring& yol, const std::string& baytlar) {
    if (yol.empty()) return false;
    // One temporary name per process, so that two writers never share one.
    const std::wstring gecici = yol + L".yaziliyor-" + std::to_wstring(GetCurrentProcessId());
    OzelErisim ozel(OzelErisim::DOSYA);
    HANDLE dosya =
        CreateFileW(gecici.c_str(), GENERIC_WRITE, 0, ozel.nitelikler(), CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE) return false;
    const size_t yarisi = baytlar.size() / 2;
    bool yazildi = hepsini_yaz(dosya, baytlar.data(), yarisi);
    if (yazildi && profil_yazma_kancasi != nullptr) profil_yazma_kancasi();
    yazildi = yazildi && hepsini_yaz(dosya, baytlar.data() + yarisi, baytlar.size() - yarisi);
    yazildi = yazildi && FlushFileBuffers(dosya);
    CloseHandle(dosya);
    if (yazildi) {
        yazildi = MoveFileExW(gecici.c_str(), yol.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!yazildi) DeleteFileW(gecici.c_str());
    return yazildi;
}

ProfilKilidi::ProfilKilidi() {
    mutex_ = CreateMutexW(nullptr, FALSE, profil_nesne_adi(L"KorvaProfili").c_str());
    if (mutex_ == nullptr) return;
    const DWORD sonuc = WaitForSingleObject(mutex_, kKilitBeklemesiMs);
    // An owner that ended while holding it left its file whole (see dosyayi_degistir).
    alindi_ = sonuc == WAIT_OBJECT_0 || sonuc == WAIT_ABANDONED;
}

ProfilKilidi::~ProfilKilidi() {
    if (mutex_ == nullptr) return;
    if (alindi_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

int64_t simdiki_zaman() {
    FILETIME simdi;
    GetSystemTimeAsFileTime(&simdi);
    const uint64_t yuz_ns = (static_cast<uint64_t>(simdi.dwHighDateTime) << 32) | simdi.dwLowDateTime;
    return static_cast<int64_t>(yuz_ns / 10000000ull) - 11644473600ll;
}

bool derinlik_uygun(const std::string& baytlar, int sinir) {
    int derinlik = 0;
    bool metinde = false, kacis = false;
    for (const char c : baytlar) {
        if (metinde) {
            if (kacis) kacis = false;
            else if (c == '\\') kacis = true;
            else if (c == '"') metinde = false;
        } else if (c == '"') {
            metinde = true;
        } else if (c == '{' || c == '[') {
            if (++derinlik > sinir) return false;
        } else if (c == '}' || c == ']') {
            --derinlik;
        }
    }
    return true;
}

}  // namespace korva

