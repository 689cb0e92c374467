// The profile's rules, each checked where it matters: the reader given damaged
// bytes of every kind, a damaged or unreadable file on disk, a writer ended half way
// through a write, two processes adding bookmarks at once, the history's bound,
// and no write at all while nothing changed. Each case has a profile folder of its
// own in the build folder; the cases that need other processes run this program
// again in the role the variable KORVA_PROFIL_ROLU names.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <random>
#include <string>
#include <vector>

#include "depolar.h"
#include "ortak/cocuk_surec.h"
#include "profil.h"

using korva::OkumaSonucu;
using korva::SayfaKaydi;

namespace {

const wchar_t kRolDegiskeni[] = L"KORVA_PROFIL_ROLU";

std::wstring rol() {
    wchar_t deger[64] = {};
    GetEnvironmentVariableW(kRolDegiskeni, deger, 64);
    return deger;
}

void klasoru_sil(const std::wstring& yol) {
    std::wstring iki_sifirli = yol + L'\0';
    SHFILEOPSTRUCTW silme = {};
    silme.wFunc = FO_DELETE;
    silme.pFrom = iki_sifirli.c_str();
    silme.fFlags = FOF_NO_UI;
    SHFileOperationW(&silme);
}

// Makes an empty profile folder for the case and points Korva at it.
std::wstring yeni_profil(const wchar_t* ad) {
    const std::wstring yol = std::wstring(KORVA_BUILD_DIR_W) + L"\\profil_" + ad;
    klasoru_sil(yol);
    CreateDirectoryW(yol.c_str(), nullptr);
    SetEnvironmentVariableW(L"KORVA_PROFIL", yol.c_str());
    korva::depolari_sifirla();
    return yol;
}

std::string oku(const std::wstring& yol) {
    std::string baytlar;
    std::wstring ayrilan;
    korva::dosyayi_oku(yol, baytlar, ayrilan);
    return baytlar;
}

void yaz(const std::wstring& yol, const std::string& baytlar) {
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD yazilan = 0;
    WriteFile(dosya, baytlar.data(), static_cast<DWORD>(baytlar.size()), &yazilan, nullptr);
    CloseHandle(dosya);
}

// The names in a folder, without "." and "..".
std::vector<std::wstring> dosyalar(const std::wstring& klasor) {
    std::vector<std::wstring> adlar;
    WIN32_FIND_DATAW bulunan;
    HANDLE arama = FindFirstFileW((klasor + L"\\*").c_str(), &bulunan);
    if (arama == INVALID_HANDLE_VALUE) return adlar;
    do {
        const std::wstring ad = bulunan.cFileName;
        if (ad != L"." && ad != L"..") adlar.push_back(ad);
    } while (FindNextFileW(arama, &bulunan));
    FindClose(arama);
    return adlar;
}

std::vector<SayfaKaydi> kayitlar(const std::wstring& yol, const char* anahtar) {
    std::vector<SayfaKaydi> sonuc;
    std::wstring ayrilan;
    EXPECT_EQ(OkumaSonucu::tamam, korva::kayit_dosyasini_oku(yol, anahtar, sonuc, ayrilan));
    return sonuc;
}

FILETIME yazma_zamani(const std::wstring& yol) {
    WIN32_FILE_ATTRIBUTE_DATA bilgi = {};
    GetFileAttributesExW(yol.c_str(), GetFileExInfoStandard, &bilgi);
    return bilgi.ftLastWriteTime;
}

// Runs this program in a role with a profile folder; the started child.
korva_test::CocukSurec rolde_baslat(const wchar_t* rol_adi, const std::wstring& profil, const std::wstring& ek = L"") {
    return korva_test::cocuk_baslat(korva_test::kendi_yolu(), L"--gtest_filter=ProfilRolu.*",
                                    {{kRolDegiskeni, std::wstring(rol_adi)},
                                     {L"KORVA_PROFIL", profil},
                                     {L"KORVA_PROFIL_EK", ek}},
                                    {}, nullptr);
}

DWORD bitmesini_bekle(korva_test::CocukSurec& cocuk) {
    DWORD kod = 0xFFFFFFFE;
    cocuk.bekle(120 * 1000, &kod);
    return kod;
}

const std::vector<SayfaKaydi> kOrnekler = {
    {"Haberler \"son\" \xC3\xA7\xC4\xB1kt\xC4\xB1", "https://ornek.test/haber?a=1&b=\\2", 1765000000},
    {"", "file:///Z:/yol/sayfa.html", -5},
};

}  // namespace

// ---- The reader ------------------------------------------------------------------------

TEST(ProfilOkuyucu, yazilani_aynen_okur) {
    std::vector<SayfaKaydi> okunan;
    ASSERT_TRUE(korva::kayitlari_coz(korva::kayitlari_yaz("yer_imleri", kOrnekler), "yer_imleri", okunan));
    EXPECT_EQ(kOrnekler, okunan);
    ASSERT_TRUE(korva::kayitlari_coz(korva::kayitlari_yaz("gecmis", {}), "gecmis", okunan));
    EXPECT_TRUE(okunan.empty());
    // Control characters go and come back; bytes that are not UTF-8 come back as U+FFFD.
    const std::vector<SayfaKaydi> garip = {{"a\x01\tb\xC3" "(c\xED\xA0\x80", "https://g.test/\"x\"", 3}};
    ASSERT_TRUE(korva::kayitlari_coz(korva::kayitlari_yaz("gecmis", garip), "gecmis", okunan));
    ASSERT_EQ(1u, okunan.size());
    EXPECT_EQ("a\x01\tb\xEF\xBF\xBD(c\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", okunan[0].baslik);
    EXPECT_EQ(garip[0].adres, okunan[0].adres);
}

TEST(ProfilOkuyucu, bozuk_her_girdiyi_reddeder_ve_cokmez) {
    const std::string gecerli = korva::kayitlari_yaz("gecmis", kOrnekler);
    std::vector<std::string> bozuklar = {
        "", "null", "[]", "{}", "\xEF\xBB\xBF", "{\"surum\":1}",
        "{\"surum\":\"1\",\"gecmis\":[]}", "{\"surum\":2,\"gecmis\":[]}", "{\"surum\":1,\"gecmis\":{}}",
        "{\"surum\":1,\"gecmis\":[1]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\",\"adres\":7,\"zaman\":1}]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":null,\"adres\":\"a\",\"zaman\":1}]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\",\"adres\":\"a\",\"zaman\":\"1\"}]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\",\"adres\":\"a\",\"zaman\":1.5}]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\",\"adres\":\"\",\"zaman\":1}]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\",\"zaman\":1}]}",
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"\xC3\x28\",\"adres\":\"a\",\"zaman\":1}]}",  // invalid UTF-8
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"\xED\xA0\x80\",\"adres\":\"a\",\"zaman\":1}]}",  // a surrogate
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"" + std::string(2000, 'u') + "\",\"adres\":\"a\",\"zaman\":1}]}",
        std::string(100000, '[') + std::string(100000, ']'),
        "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\",\"adres\":\"a\",\"zaman\":1,\"x\":" + std::string(50, '[') +
            std::string(50, ']') + "}]}",
        std::string(65 * 1024 * 1024, ' ') + "{}",
    };
    // Every cut of a valid file.
    for (size_t boy = 0; boy < gecerli.size() - 2; boy += 3) bozuklar.push_back(gecerli.substr(0, boy));
    // One entry over the bound.
    std::string cok = "{\"surum\":1,\"gecmis\":[";
    for (size_t i = 0; i <= korva::kKayitSiniri; ++i) cok += i == 0 ? "{\"baslik\":\"\",\"adres\":\"a\",\"zaman\":0}" : ",{\"baslik\":\"\",\"adres\":\"a\",\"zaman\":0}";
    bozuklar.push_back(cok + "]}");
    for (size_t i = 0; i < bozuklar.size(); ++i) {
        std::vector<SayfaKaydi> okunan = {SayfaKaydi{}};
        EXPECT_FALSE(korva::kayitlari_coz(bozuklar[i], "gecmis", okunan)) << "input " << i;
        EXPECT_TRUE(okunan.empty()) << "input " << i;
    }

    // Random damage to a valid file: read or refused, never a crash.
    std::mt19937 rastgele(20261208);
    int okunanlar = 0;
    for (int deneme = 0; deneme < 3000; ++deneme) {
        std::string bayt = gecerli;
        for (int k = 0; k < 1 + deneme % 4; ++k) {
            bayt[rastgele() % bayt.size()] = static_cast<char>(rastgele() % 256);
        }
        std::vector<SayfaKaydi> okunan;
        if (korva::kayitlari_coz(bayt, "gecmis", okunan)) ++okunanlar;
    }
    EXPECT_LT(okunanlar, 3000);
}

// ---- Files on disk -----------------------------------------------------------------------

TEST(ProfilDosyalari, bozuk_dosya_kenara_ayrilir_bos_baslanir_ve_bildirilir) {
    const std::wstring klasor = yeni_profil(L"bozuk");
    const std::string bozuk = "{\"surum\":1,\"gecmis\":[{\"baslik\":\"a\"";
    const std::string bozuk_ayar = "{\"surum\":1,\"yakinlik\":\"buyuk\"}";
    yaz(klasor + L"\\gecmis.json", bozuk);
    yaz(klasor + L"\\ayarlar.json", bozuk_ayar);
    korva::gecmisi_yukle();
    korva::ayarlari_yukle();
    EXPECT_TRUE(korva::gecmis().empty());
    EXPECT_EQ(100, korva::ayarlar().yakinlik);
    const std::string bildirim = korva::depo_bildirimi_al();
    EXPECT_EQ(0u, bildirim.find("Gecmis dosyasi bozuktu: gecmis.bozuk-")) << bildirim;
    EXPECT_EQ(0u, korva::depo_bildirimi_al().find("Ayarlar dosyasi bozuktu: ayarlar.bozuk-"));
    EXPECT_EQ("", korva::depo_bildirimi_al());

    // The damaged bytes are kept, whole, under the other name; the name is free.
    std::wstring gecmis_kopyasi, ayar_kopyasi;
    for (const std::wstring& ad : dosyalar(klasor)) {
        if (ad.rfind(L"gecmis.bozuk-", 0) == 0) gecmis_kopyasi = ad;
        if (ad.rfind(L"ayarlar.bozuk-", 0) == 0) ayar_kopyasi = ad;
    }
    ASSERT_FALSE(gecmis_kopyasi.empty());
    ASSERT_FALSE(ayar_kopyasi.empty());
    EXPECT_EQ(bozuk, oku(klasor + L"\\" + gecmis_kopyasi));
    EXPECT_EQ(bozuk_ayar, oku(klasor + L"\\" + ayar_kopyasi));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((klasor + L"\\gecmis.json").c_str()));

    // Korva goes on: the next visit is kept in a new file beside the old copy.
    korva::gecmise_ekle("Yeni", "https://yeni.test/");
    korva::depolari_kaydet(true);
    const std::vector<SayfaKaydi> yeni = kayitlar(klasor + L"\\gecmis.json", "gecmis");
    ASSERT_EQ(1u, yeni.size());
    EXPECT_EQ("https://yeni.test/", yeni[0].adres);
    EXPECT_EQ(bozuk, oku(klasor + L"\\" + gecmis_kopyasi));
}

TEST(ProfilDosyalari, okunamayan_dosyaya_dokunulmaz_ve_uzerine_yazilmaz) {
    const std::wstring klasor = yeni_profil(L"okunamayan");
    const std::wstring yol = klasor + L"\\yer_imleri.json";
    const std::string icerik = korva::kayitlari_yaz("yer_imleri", kOrnekler);
    yaz(yol, icerik);
    // Another program holds it open, sharing nothing: it can be neither read nor moved.
    HANDLE kilit = CreateFileW(yol.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, kilit);
    korva::yer_imlerini_yukle();
    EXPECT_TRUE(korva::yer_imleri().empty());
    EXPECT_EQ("Yer imleri dosyasi okunamadi; bu oturumda degisiklikler kaydedilmeyecek", korva::depo_bildirimi_al());
    EXPECT_FALSE(korva::yer_imi_ekle("Yeni", "https://yeni.test/"));
    korva::depolari_kaydet(true);
    CloseHandle(kilit);
    EXPECT_EQ(icerik, oku(yol));
    EXPECT_EQ(1u, dosyalar(klasor).size());
}

TEST(ProfilDosyalari, hicbir_sey_degismezken_hicbir_sey_yazilmaz) {
    const std::wstring klasor = yeni_profil(L"degismeyen");
    korva::ayarlari_yukle();
    korva::yer_imlerini_yukle();
    korva::gecmisi_yukle();
    korva::gecmisi_temizle();  // nothing to clear
    korva::ayarlari_degistir(korva::ayarlar());
    korva::depolari_kaydet(true);
    EXPECT_TRUE(dosyalar(klasor).empty());
    EXPECT_FALSE(korva::yazilacak_var_mi());

    // Files that exist are read and left alone.
    korva::gecmise_ekle("A", "https://a.test/");
    korva::yer_imi_ekle("A", "https://a.test/");
    korva::Ayarlar ayar;
    ayar.yakinlik = 125;
    korva::ayarlari_degistir(ayar);
    korva::depolari_kaydet(true);
    ASSERT_EQ(3u, dosyalar(klasor).size());
    const FILETIME once[] = {yazma_zamani(klasor + L"\\gecmis.json"), yazma_zamani(klasor + L"\\yer_imleri.json"),
                             yazma_zamani(klasor + L"\\ayarlar.json")};
    Sleep(50);
    korva::depolari_sifirla();
    korva::ayarlari_yukle();
    korva::yer_imlerini_yukle();
    korva::gecmisi_yukle();
    korva::yer_imlerini_tazele();
    EXPECT_EQ(125, korva::ayarlar().yakinlik);
    EXPECT_EQ(1u, korva::gecmis().size());
    EXPECT_EQ(1u, korva::yer_imleri().size());
    korva::depolari_kaydet(true);
    const FILETIME sonra[] = {yazma_zamani(klasor + L"\\gecmis.json"), yazma_zamani(klasor + L"\\yer_imleri.json"),
                              yazma_zamani(klasor + L"\\ayarlar.json")};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, CompareFileTime(&once[i], &sonra[i])) << "file " << i;
}

TEST(ProfilDosyalari, gecmis_siniri_en_yenileri_tutar) {
    const std::wstring klasor = yeni_profil(L"sinir");
    const size_t fazla = 7;
    for (size_t i = 0; i < korva::kKayitSiniri + fazla; ++i) {
        korva::gecmise_ekle("s", "https://s.test/" + std::to_string(i));
    }
    korva::depolari_kaydet(true);
    const std::vector<SayfaKaydi> dosyada = kayitlar(klasor + L"\\gecmis.json", "gecmis");
    ASSERT_EQ(korva::kKayitSiniri, dosyada.size());
    EXPECT_EQ("https://s.test/" + std::to_string(fazla), dosyada.front().adres);
    EXPECT_EQ("https://s.test/" + std::to_string(korva::kKayitSiniri + fazla - 1), dosyada.back().adres);
    EXPECT_EQ(korva::kKayitSiniri, korva::gecmis().size());
}

TEST(ProfilDosyalari, yazarken_olen_surec_eski_dosyayi_butun_birakir) {
    const std::wstring klasor = yeni_profil(L"yarida");
    korva_test::CocukSurec cocuk = rolde_baslat(L"yarida_olen", klasor);
    ASSERT_TRUE(cocuk.basladi());
    EXPECT_EQ(7u, bitmesini_bekle(cocuk)) << "the writer did not end where the hook ends it";
    // The bookmark written before is there, whole; the one being written is not.
    const std::vector<SayfaKaydi> dosyada = kayitlar(klasor + L"\\yer_imleri.json", "yer_imleri");
    ASSERT_EQ(1u, dosyada.size());
    EXPECT_EQ("https://eski.test/", dosyada[0].adres);
    korva::yer_imlerini_yukle();
    EXPECT_EQ("", korva::depo_bildirimi_al());
    EXPECT_EQ(1u, korva::yer_imleri().size());
    // The next write clears away what the ended writer left.
    EXPECT_TRUE(korva::yer_imi_ekle("Sonraki", "https://sonraki.test/"));
    EXPECT_EQ(std::vector<std::wstring>{L"yer_imleri.json"}, dosyalar(klasor));
}

TEST(ProfilDosyalari, iki_surec_ayni_anda_ekleyince_hicbiri_kaybolmaz) {
    const std::wstring klasor = yeni_profil(L"iki_surec");
    korva_test::CocukSurec birinci = rolde_baslat(L"ekleyen", klasor, L"a");
    korva_test::CocukSurec ikinci = rolde_baslat(L"ekleyen", klasor, L"b");
    ASSERT_TRUE(birinci.basladi());
    ASSERT_TRUE(ikinci.basladi());
    EXPECT_EQ(0u, bitmesini_bekle(birinci));
    EXPECT_EQ(0u, bitmesini_bekle(ikinci));
    const std::vector<SayfaKaydi> dosyada = kayitlar(klasor + L"\\yer_imleri.json", "yer_imleri");
    EXPECT_EQ(80u, dosyada.size());
    for (const char* ek : {"a", "b"}) {
        for (int i = 0; i < 40; ++i) {
            const std::string adres = std::string("https://") + ek + ".test/" + std::to_string(i);
            bool var = false;
            for (const SayfaKaydi& kayit : dosyada) var = var || kayit.adres == adres;
            EXPECT_TRUE(var) << adres;
        }
    }
}

// ---- The roles of the child processes ---------------------------------------------------

TEST(ProfilRolu, rolunu_oynar) {
    const std::wstring hangi = rol();
    if (hangi.empty()) GTEST_SKIP() << "only in a child process of the profile's cases";
    korva::depolari_sifirla();
    if (hangi == L"yarida_olen") {
        ASSERT_TRUE(korva::yer_imi_ekle("Eski", "https://eski.test/"));
        korva::profil_yazma_kancasi = [] { TerminateProcess(GetCurrentProcess(), 7); };
        korva::yer_imi_ekle(std::string(1000, 'y'), "https://yeni.test/");
        ADD_FAILURE() << "the hook did not end the process";
    } else if (hangi == L"ekleyen") {
        wchar_t ek[8] = {};
        GetEnvironmentVariableW(L"KORVA_PROFIL_EK", ek, 8);
        const std::string harf(1, static_cast<char>(ek[0]));
        for (int i = 0; i < 40; ++i) {
            EXPECT_TRUE(korva::yer_imi_ekle(harf + std::to_string(i), "https://" + harf + ".test/" + std::to_string(i)));
        }
    }
}
