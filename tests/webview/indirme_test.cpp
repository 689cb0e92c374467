// Downloads as the runtime reports them, on both engines: the stand-in's own test
// address, or the loopback server's attachments and download links on the real
// engine. Every run points the Downloads folder at a fresh folder of its own
// (KORVA_INDIRME_KLASORU), and checks the files there byte for byte.
#include <gtest/gtest.h>

#include <string>

#include <wrl/client.h>

#include "webview/webgorunum_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "yardimci.h"

namespace {

// Byte i of every test file.
std::string beklenen_icerik(int64_t boyut) {
    std::string icerik(static_cast<size_t>(boyut), '\0');
    for (int64_t i = 0; i < boyut; ++i) icerik[static_cast<size_t>(i)] = static_cast<char>((i * 7 + 3) & 0xFF);
    return icerik;
}

std::string dosya_icerigi(const std::wstring& yol) {
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (dosya == INVALID_HANDLE_VALUE) return "(no such file)";
    std::string icerik(static_cast<size_t>(GetFileSize(dosya, nullptr)), '\0');
    DWORD okunan = 0;
    if (!icerik.empty()) ReadFile(dosya, &icerik[0], static_cast<DWORD>(icerik.size()), &okunan, nullptr);
    CloseHandle(dosya);
    icerik.resize(okunan);
    return icerik;
}

bool var_mi(const std::wstring& yol) { return GetFileAttributesW(yol.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The files in a folder, dotted ones too.
int dosya_sayisi(const std::wstring& klasor) {
    WIN32_FIND_DATAW bulunan;
    HANDLE arama = FindFirstFileW((klasor + L"\\*").c_str(), &bulunan);
    int sayi = 0;
    if (arama == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(bulunan.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++sayi;
    } while (FindNextFileW(arama, &bulunan));
    FindClose(arama);
    return sayi;
}

// The host's say as a download starts, given straight through the interface: a
// path of its own and a deferral, or Cancel.
struct Karar {
    bool iptal = false;
    std::wstring yol;
    Microsoft::WRL::ComPtr<ICoreWebView2DownloadOperation> islem;
    Microsoft::WRL::ComPtr<ICoreWebView2Deferral> erteleme;
};
using KararDinleyicisi = KomIsleyici<ICoreWebView2DownloadStartingEventHandler, Karar*, ICoreWebView2*,
                                     ICoreWebView2DownloadStartingEventArgs*>;

HRESULT karar_ver(Karar*& karar, ICoreWebView2*, ICoreWebView2DownloadStartingEventArgs* arguman) {
    arguman->get_DownloadOperation(&karar->islem);
    if (karar->iptal) return arguman->put_Cancel(TRUE);
    arguman->put_ResultFilePath(karar->yol.c_str());
    return arguman->GetDeferral(&karar->erteleme);
}

class Indirme : public ::testing::Test {
protected:
    void SetUp() override {
        if (korva_test::gercek_motor_mu() && korva_test::sunucu_adresi().empty()) {
            GTEST_SKIP() << "the real engine's run needs the loopback server";
        }
        klasor = gecici_klasor(L"indirilenler-" + std::to_wstring(GetTickCount64()));
        ASSERT_TRUE(SetEnvironmentVariableW(L"KORVA_INDIRME_KLASORU", klasor.c_str()));
        motoru_hazirla();
        gorunum = _tr_webgorunum_olustur();
        ASSERT_GE(gorunum, 0);
    }
    void TearDown() override {
        if (gorunum4) gorunum4->remove_DownloadStarting(karar_jetonu);
        if (gorunum >= 0) _tr_webgorunum_kapat(gorunum);
    }

    // The address of a file of the test's choosing (a navigation to it downloads it).
    static std::string adres(const std::string& ad, int64_t boyut, int64_t hiz = 0) {
        const std::string sorgu = "boyut=" + std::to_string(boyut) + "&hiz=" + std::to_string(hiz);
        if (korva_test::gercek_motor_mu()) return korva_test::sunucu_adresi(("/dosya?ad=" + ad + "&" + sorgu).c_str());
        return "http://indirme.standin/" + ad + "?" + sorgu;
    }

    // Starts a download by loading `adres`; the runtime's id for it, or -1.
    int64_t baslat(const std::string& hedef) {
        if (_tr_webgorunum_yukle(gorunum, hedef.data(), static_cast<int64_t>(hedef.size())) != 0) return -1;
        return baslangici_bekle();
    }
    // The id of the view's next download; the query reports it once, so it is kept.
    int64_t baslangici_bekle() {
        int64_t id = -1;
        pompala_kadar([&] {
            if (id < 0) id = _tr_webgorunum_indirme_basladi_mi(gorunum);
            return id >= 0;
        });
        return id;
    }

    // Waits for the end; 2 completed, 1 interrupted (the reason in `neden`).
    int64_t bitmesini_bekle(int64_t id, int64_t* neden = nullptr) {
        int64_t bitti = 0, basarisiz = 0;
        for (int tur = 0; tur < 6 && bitti == 0 && basarisiz == 0; ++tur) {
            pompala_kadar([&] {
                if (bitti == 0) bitti = _tr_webgorunum_indirme_bitti_mi(id);
                if (basarisiz == 0) basarisiz = _tr_webgorunum_indirme_basarisiz_mi(id);
                return bitti != 0 || basarisiz != 0;
            });
        }
        if (neden != nullptr) *neden = basarisiz;
        return bitti != 0 ? 2 : basarisiz != 0 ? 1 : 0;
    }

    std::wstring klasor;
    int64_t gorunum = -1;
    // A handler of the test's own on the view, let go in TearDown even after a failure.
    Karar karar;
    Microsoft::WRL::ComPtr<ICoreWebView2_4> gorunum4;
    EventRegistrationToken karar_jetonu = {};
};

TEST_F(Indirme, SavesTheExactBytesUnderTheSuggestedNameAndATakenNameGetsANumber) {
    const int64_t boyut = 300000;
    const std::string hedef = adres("rapor.bin", boyut);
    const int64_t ilk = baslat(hedef);
    ASSERT_GE(ilk, 0);
    EXPECT_EQ(_tr_webgorunum_indirme_basladi_mi(gorunum), -1) << "a start is reported once";
    EXPECT_EQ(_tr_webgorunum_indirme_gorunumu(ilk), gorunum);
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_indirme_adresi_al(ilk)), hedef);
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_indirme_adi_al(ilk)), "rapor.bin");
    ASSERT_EQ(bitmesini_bekle(ilk), 2);
    EXPECT_EQ(_tr_webgorunum_indirme_bitti_mi(ilk), 0) << "a completion is reported once";
    EXPECT_EQ(_tr_webgorunum_indirme_durumu(ilk), 2);
    EXPECT_EQ(_tr_webgorunum_indirme_alinan(ilk), boyut);
    EXPECT_EQ(_tr_webgorunum_indirme_toplam(ilk), boyut);
    const std::wstring yol = klasor + L"\\rapor.bin";
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_indirme_yolu_al(ilk)), std::string(yol.begin(), yol.end()));
    EXPECT_TRUE(dosya_icerigi(yol) == beklenen_icerik(boyut)) << "the saved bytes differ";

    const int64_t ikinci = baslat(hedef);
    ASSERT_GE(ikinci, 0);
    ASSERT_EQ(bitmesini_bekle(ikinci), 2);
    const std::wstring numarali = klasor + L"\\rapor (1).bin";
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_indirme_adi_al(ikinci)), "rapor (1).bin");
    EXPECT_TRUE(dosya_icerigi(numarali) == beklenen_icerik(boyut));
    EXPECT_TRUE(dosya_icerigi(yol) == beklenen_icerik(boyut)) << "the first file was written over";
    EXPECT_EQ(dosya_sayisi(klasor), 2);
}

TEST_F(Indirme, ACanceledDownloadLeavesNoFileAndSaysSo) {
    const int64_t id = baslat(adres("yavas.bin", 4000000, 200000));
    ASSERT_GE(id, 0);
    bool ilerledi = false;
    ASSERT_TRUE(pompala_kadar([&] { return ilerledi = ilerledi || _tr_webgorunum_indirme_ilerledi_mi(id) == 1; }));
    EXPECT_EQ(_tr_webgorunum_indirme_durumu(id), 0);
    EXPECT_GT(_tr_webgorunum_indirme_alinan(id), 0);
    EXPECT_LT(_tr_webgorunum_indirme_alinan(id), 4000000);
    ASSERT_EQ(_tr_webgorunum_indirme_iptal(id), 0);
    int64_t neden = 0;
    ASSERT_EQ(bitmesini_bekle(id, &neden), 1);
    EXPECT_EQ(neden, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
    EXPECT_EQ(_tr_webgorunum_indirme_iptal(id), -1) << "an ended download cannot be canceled";
    EXPECT_FALSE(var_mi(klasor + L"\\yavas.bin"));
    EXPECT_EQ(dosya_sayisi(klasor), 0);
}

TEST_F(Indirme, AFailedDownloadGivesItsReasonAndNoFile) {
    int64_t id = -1;
    if (korva_test::gercek_motor_mu()) {
        // A download link to an address the server answers with 404.
        const std::string sayfa = korva_test::sunucu_adresi("/indir.html?ad=x.bin&boyut=10");
        ASSERT_EQ(_tr_webgorunum_yukle(gorunum, sayfa.data(), static_cast<int64_t>(sayfa.size())), 0);
        ASSERT_TRUE(pompala_kadar([&] { return metin_al_birak(_tr_webgorunum_baslik_al(gorunum)) == "Indirme Sayfasi"; }));
        const std::string tikla = "document.getElementById('eksik').click()";
        _tr_webgorunum_js_calistir(gorunum, tikla.data(), static_cast<int64_t>(tikla.size()));
        id = baslangici_bekle();
    } else {
        id = baslat("http://indirme.standin/kirik.bin?boyut=100000&hata=5000");
    }
    ASSERT_GE(id, 0);
    int64_t neden = 0;
    ASSERT_EQ(bitmesini_bekle(id, &neden), 1);
    EXPECT_GT(neden, 0);
    EXPECT_NE(neden, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
    EXPECT_EQ(_tr_webgorunum_indirme_durumu(id), 1);
    EXPECT_EQ(dosya_sayisi(klasor), 0);
}

TEST_F(Indirme, ADownloadLinkSavesTheFileUnderItsNameAndASecondClickNumbersIt) {
    if (!korva_test::gercek_motor_mu()) GTEST_SKIP() << "the stand-in runs no page scripts";
    const std::string sayfa = korva_test::sunucu_adresi("/indir.html?ad=bag.bin&boyut=5000");
    ASSERT_EQ(_tr_webgorunum_yukle(gorunum, sayfa.data(), static_cast<int64_t>(sayfa.size())), 0);
    ASSERT_TRUE(pompala_kadar([&] { return metin_al_birak(_tr_webgorunum_baslik_al(gorunum)) == "Indirme Sayfasi"; }));
    const std::string tikla = "document.getElementById('bag').click()";
    for (const wchar_t* ad : {L"\\bag.bin", L"\\bag (1).bin"}) {
        _tr_webgorunum_js_calistir(gorunum, tikla.data(), static_cast<int64_t>(tikla.size()));
        const int64_t id = baslangici_bekle();
        ASSERT_GE(id, 0);
        ASSERT_EQ(bitmesini_bekle(id), 2);
        EXPECT_TRUE(dosya_icerigi(klasor + ad) == beklenen_icerik(5000));
    }
}

TEST_F(Indirme, TheHostsPathDeferralAndCancelAreHonoured) {
    Microsoft::WRL::ComPtr<ICoreWebView2_4> arayuz;
    ASSERT_EQ(gorunum_bul(gorunum)->webview->QueryInterface(IID_ICoreWebView2_4, reinterpret_cast<void**>(arayuz.GetAddressOf())),
              S_OK);
    karar.yol = klasor + L"\\secilen.dat";
    auto dinleyici = KararDinleyicisi::olustur(karar_ver, &karar);
    ASSERT_EQ(arayuz->add_DownloadStarting(dinleyici.Get(), &karar_jetonu), S_OK);
    gorunum4 = arayuz;

    // A path of the host's, decided later: nothing is there until the deferral completes.
    const int64_t id = baslat(adres("onerilen.bin", 70000));
    ASSERT_GE(id, 0);
    ASSERT_TRUE(karar.erteleme && karar.islem);
    for (int i = 0; i < 20; ++i) bekleyenleri_isle();
    EXPECT_EQ(dosya_sayisi(klasor), 0);
    EXPECT_EQ(_tr_webgorunum_indirme_bitti_mi(id), 0);
    ASSERT_EQ(karar.erteleme->Complete(), S_OK);
    ASSERT_EQ(bitmesini_bekle(id), 2);
    EXPECT_TRUE(dosya_icerigi(karar.yol) == beklenen_icerik(70000));
    EXPECT_EQ(dosya_sayisi(klasor), 1);
    LPWSTR yol = nullptr;
    ASSERT_EQ(karar.islem->get_ResultFilePath(&yol), S_OK);
    EXPECT_TRUE(yol != nullptr && karar.yol == yol);
    CoTaskMemFree(yol);
    // No pause: the operation says so rather than pretending.
    BOOL surdurulebilir = TRUE;
    EXPECT_EQ(karar.islem->Pause(), E_NOTIMPL);
    EXPECT_EQ(karar.islem->get_CanResume(&surdurulebilir), S_OK);
    EXPECT_FALSE(surdurulebilir);

    // Cancel at the start: nothing is written, and the runtime hears why.
    karar = Karar();
    karar.iptal = true;
    const int64_t iptal = baslat(adres("istenmeyen.bin", 70000));
    ASSERT_GE(iptal, 0);
    int64_t neden = 0;
    ASSERT_EQ(bitmesini_bekle(iptal, &neden), 1);
    EXPECT_EQ(neden, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
    COREWEBVIEW2_DOWNLOAD_STATE durum = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
    karar.islem->get_State(&durum);
    EXPECT_EQ(durum, COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED);
    EXPECT_EQ(dosya_sayisi(klasor), 1);
}

TEST(IndirmeKimlikleri, UnknownIdsAnswerTheirFailureValues) {
    EXPECT_EQ(_tr_webgorunum_indirme_basladi_mi(9999), -1);
    for (int64_t id : {int64_t{-1}, int64_t{1000000}}) {
        EXPECT_EQ(_tr_webgorunum_indirme_bitti_mi(id), 0);
        EXPECT_EQ(_tr_webgorunum_indirme_basarisiz_mi(id), 0);
        EXPECT_EQ(_tr_webgorunum_indirme_durumu(id), -1);
        EXPECT_EQ(_tr_webgorunum_indirme_iptal(id), -1);
        TrMetin yol = _tr_webgorunum_indirme_yolu_al(id);
        EXPECT_EQ(yol.ptr, nullptr);
    }
}

}  // namespace
