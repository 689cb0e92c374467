// Korva's profile: the folder of the files Korva keeps between runs (history,
// bookmarks, settings), and the rules every one of those files follows. Inside the
// program only; tests reach it through this header.
//
// - Where: the folder named by KORVA_PROFIL when it is set, else "Korva" in the
//   user's local application data folder. Made on first need.
// - Who may read it: the folder and every file written in it are made for the
//   user alone (see engine_shared/ozel_erisim.h; under Wine: no access for other users).
// - Writing: the whole file goes to a temporary file beside it, is flushed, and
//   replaces the old file in one step (MoveFileExW with REPLACE_EXISTING and
//   WRITE_THROUGH), so a writer stopped at any point leaves the old file or the new
//   one, never half of one.
// - Reading: a file that is not what Korva writes (not JSON, not UTF-8, nested
//   deeper than Korva writes, larger than 64 MiB, wrongly typed or with more
//   entries than the bound) is moved aside under a name of its own and read as
//   empty; the caller says so in the status bar. A file that exists but cannot be
//   read, and cannot be moved aside either, is left alone and never written over.
// - Two processes: every read-merge-write of a file happens while holding a named
//   mutex of that profile folder, so two Korva processes never write over what the
//   other has just written.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace korva {

// One page kept in the history or the bookmarks. `zaman` is seconds since
// 1970-01-01 UTC.
struct SayfaKaydi {
    std::string baslik;
    std::string adres;
    int64_t zaman = 0;
};

bool operator==(const SayfaKaydi& a, const SayfaKaydi& b);

// The most entries a list file holds: the history keeps the newest this many.
constexpr size_t kKayitSiniri = 100000;
// The longest title and address kept; longer ones are cut when recorded.
constexpr size_t kBaslikSiniri = 1024;
constexpr size_t kAdresSiniri = 8192;

// The profile folder, made when missing; empty when it cannot be made.
const std::wstring& profil_klasoru();
// Forgets the folder found, so that the next call reads KORVA_PROFIL again (tests).
void profil_klasorunu_unut();
std::wstring profil_yolu(const wchar_t* dosya_adi);

// What reading a file found.
enum class OkumaSonucu {
    yok,            // no such file: an empty list, nothing to say
    tamam,          // read
    bozuk_ayrildi,  // damaged: moved aside (ayrilan_ad), read as empty
    okunamadi,      // there but unreadable, and left where it is: never write it
};

// The list under `anahtar` of a file's bytes, checked in full; false when the bytes
// are not a list file of Korva's. Never throws, whatever the bytes.
bool kayitlari_coz(const std::string& baytlar, const char* anahtar, std::vector<SayfaKaydi>& kayitlar);
std::string kayitlari_yaz(const char* anahtar, const std::vector<SayfaKaydi>& kayitlar);

// The bytes of a file in the profile, with the damaged-file rule applied.
// Whether a JSON text nests no deeper than `sinir` arrays and objects, counted
// outside strings without parsing: a profile file nested deeper than Korva writes
// is refused before the parser builds anything of it.
bool derinlik_uygun(const std::string& baytlar, int sinir);
OkumaSonucu dosyayi_oku(const std::wstring& yol, std::string& baytlar, std::wstring& ayrilan_ad);
// Moves a damaged file aside under a free name beside it ("gecmis.json" becomes
// "gecmis.bozuk-20261208-0015.json"); false when it stays where it is.
bool dosyayi_kenara_ayir(const std::wstring& yol, std::wstring& ayrilan_ad);
// Reads a list file: dosyayi_oku, then kayitlari_coz; damaged contents are moved aside.
OkumaSonucu kayit_dosyasini_oku(const std::wstring& yol, const char* anahtar, std::vector<SayfaKaydi>& kayitlar,
                                 std::wstring& ayrilan_ad);
// Removes the temporary files a writer that ended half way left beside `yol`. Only
// while holding the profile's mutex: then no writer is at work.
void yarim_yazilanlari_sil(const std::wstring& yol);
// Replaces the file with these bytes as one step; false when it could not.
bool dosyayi_degistir(const std::wstring& yol, const std::string& baytlar);

// The name of a named kernel object of the profile folder ("Local\\<tur>-<hash>"):
// one per folder, whatever its spelling's case.
std::wstring profil_nesne_adi(const wchar_t* tur);

// Called once half of a temporary file is written, before the rest; null normally.
// A test sets it to end the process there, as a crash or a power cut would.
extern void (*profil_yazma_kancasi)();

// Holds the profile's named mutex for as long as it lives; `alindi` is false when it
// could not be had within a few seconds (the caller then writes later).
class ProfilKilidi {
public:
    ProfilKilidi();
    ~ProfilKilidi();
    ProfilKilidi(const ProfilKilidi&) = delete;
    ProfilKilidi& operator=(const ProfilKilidi&) = delete;
    bool alindi() const { return alindi_; }

private:
    void* mutex_ = nullptr;
    bool alindi_ = false;
};

// The time now, seconds since 1970-01-01 UTC.
int64_t simdiki_zaman();

}  // namespace korva
