// The test controls in KORVA_STANDIN. The engine reads them once, when it is loaded,
// so each set of words runs in a child process: this program again, with the words
// in its environment and --gtest_filter naming one Cocuk test. A child test passes
// only if it ran to the end, which it proves by creating the file named in
// KORVA_STANDIN_COCUK; in the parent's own run the Cocuk tests are skipped.
#include "motor_yardim.h"

#include <algorithm>

#include "ortak/cocuk_surec.h"

namespace {

const HRESULT KAPALI_DEGIL = S_OK;

bool cocuk_mu()
{
    return GetEnvironmentVariableW(L"KORVA_STANDIN_COCUK", nullptr, 0) > 0;
}

void bitti_isaretle()
{
    if (::testing::Test::HasFailure())
        return;
    wchar_t yol[MAX_PATH] = {};
    GetEnvironmentVariableW(L"KORVA_STANDIN_COCUK", yol, MAX_PATH);
    HANDLE dosya = CreateFileW(yol, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(dosya);
}

// Runs one Cocuk test in a child process with the given words; true if it passed.
bool cocukta_calistir(const wchar_t* sozcukler, const wchar_t* test_adi, std::string* neden)
{
    wchar_t klasor[MAX_PATH];
    GetTempPathW(MAX_PATH, klasor);
    std::wstring isaret = std::wstring(klasor) + L"korva_standin_cocuk_" + std::to_wstring(GetCurrentProcessId());
    std::wstring gunluk = isaret + L".log";
    DeleteFileW(isaret.c_str());
    DeleteFileW(gunluk.c_str());

    korva_test::CocukSurec cocuk = korva_test::cocuk_baslat(
        korva_test::kendi_yolu(), std::wstring(L"--gtest_filter=Cocuk.") + test_adi,
        {{L"KORVA_STANDIN", sozcukler}, {L"KORVA_STANDIN_COCUK", isaret}, {L"KORVA_STANDIN_LOG", gunluk}});
    if (!cocuk.basladi()) {
        *neden = "CreateProcessW failed";
        return false;
    }
    DWORD cikis = 1;
    if (!cocuk.bekle(120000, &cikis))
        *neden = "the child did not finish";
    bool isaretli = GetFileAttributesW(isaret.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileW(isaret.c_str());
    DeleteFileW(gunluk.c_str());
    if (cikis != 0)
        *neden += " exit code " + std::to_string(cikis);
    if (!isaretli)
        *neden += " the child test did not run to its end";
    return cikis == 0 && isaretli;
}

struct OrtamSonucu {
    HRESULT donen = E_UNEXPECTED;
    bool cagri_icinde_geldi = false;
    int gelen = 0;
    HRESULT hata = E_UNEXPECTED;
    ComPtr<ICoreWebView2Environment> ortam;
};

OrtamSonucu ortam_dene()
{
    OrtamSonucu sonuc;
    auto tamam = isleyici<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [&](intptr_t hata, intptr_t ortam) {
            ++sonuc.gelen;
            sonuc.hata = static_cast<HRESULT>(hata);
            sonuc.ortam = reinterpret_cast<ICoreWebView2Environment*>(ortam);
        });
    sonuc.donen = motor().ortam_olustur(nullptr, nullptr, nullptr, tamam.Get());
    sonuc.cagri_icinde_geldi = sonuc.gelen > 0;
    return sonuc;
}

struct DenetleyiciSonucu {
    HRESULT donen = E_UNEXPECTED;
    bool cagri_icinde_geldi = false;
    int gelen = 0;
    HRESULT hata = E_UNEXPECTED;
    ComPtr<ICoreWebView2Controller> denetleyici;
};

DenetleyiciSonucu denetleyici_dene(ICoreWebView2Environment* ortam, HWND ebeveyn)
{
    DenetleyiciSonucu sonuc;
    auto tamam = isleyici<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
        [&](intptr_t hata, intptr_t denetleyici) {
            ++sonuc.gelen;
            sonuc.hata = static_cast<HRESULT>(hata);
            sonuc.denetleyici = reinterpret_cast<ICoreWebView2Controller*>(denetleyici);
        });
    sonuc.donen = ortam->CreateCoreWebView2Controller(ebeveyn, tamam.Get());
    sonuc.cagri_icinde_geldi = sonuc.gelen > 0;
    return sonuc;
}

#define COCUK_GEREKLI()                                          \
    if (!cocuk_mu())                                             \
        GTEST_SKIP() << "runs in a child process";               \
    ASSERT_TRUE(motor().dll)

}  // namespace

TEST(Denetimler, EachControlWordChangesWhatItSaysInAFreshProcess)
{
    static const struct { const wchar_t* sozcukler; const wchar_t* test; } DURUMLAR[] = {
        {L"env=fail", L"OrtamBasarisiz"},
        {L"env=error", L"OrtamHata"},
        {L"env=never", L"OrtamHic"},
        {L"env=sync,controller=sync,title=none,source=none", L"EszamanliVeBosMetinler"},
        {L"controller=fail", L"DenetleyiciBasarisiz"},
        {L"controller=error", L"DenetleyiciHata"},
        {L"controller=never", L"DenetleyiciHic"},
        {L"controller=noview", L"Gorunumsuz"},
        {L" delay=300 , title=empty,unknown=word", L"GecikmeVeBosBaslik"},
    };
    for (const auto& durum : DURUMLAR) {
        std::string neden;
        EXPECT_TRUE(cocukta_calistir(durum.sozcukler, durum.test, &neden))
            << utf8(durum.sozcukler) << ":" << neden;
    }
}

TEST(Cocuk, OrtamBasarisiz)
{
    COCUK_GEREKLI();
    OrtamSonucu sonuc = ortam_dene();
    EXPECT_EQ(E_FAIL, sonuc.donen);
    kuyrugu_bosalt();
    EXPECT_EQ(0, sonuc.gelen);
    EXPECT_EQ(0, g_canli_isleyici) << "the engine kept the handler of a refused call";
    bitti_isaretle();
}

TEST(Cocuk, OrtamHata)
{
    COCUK_GEREKLI();
    OrtamSonucu sonuc = ortam_dene();
    EXPECT_EQ(S_OK, sonuc.donen);
    EXPECT_FALSE(sonuc.cagri_icinde_geldi);
    ASSERT_TRUE(pompala([&] { return sonuc.gelen > 0; }));
    EXPECT_EQ(E_FAIL, sonuc.hata);
    EXPECT_FALSE(sonuc.ortam);
    bitti_isaretle();
}

TEST(Cocuk, OrtamHic)
{
    COCUK_GEREKLI();
    OrtamSonucu sonuc = ortam_dene();
    EXPECT_EQ(S_OK, sonuc.donen);
    kuyrugu_bosalt();
    EXPECT_EQ(0, sonuc.gelen);
    bitti_isaretle();
}

TEST(Cocuk, EszamanliVeBosMetinler)
{
    COCUK_GEREKLI();
    OrtamSonucu ortam = ortam_dene();
    EXPECT_EQ(S_OK, ortam.donen);
    EXPECT_TRUE(ortam.cagri_icinde_geldi) << "env=sync: the completion came after the call";
    ASSERT_TRUE(ortam.ortam);
    HWND ebeveyn = ebeveyn_penceresi();
    DenetleyiciSonucu denetleyici = denetleyici_dene(ortam.ortam.Get(), ebeveyn);
    EXPECT_EQ(S_OK, denetleyici.donen);
    EXPECT_TRUE(denetleyici.cagri_icinde_geldi) << "controller=sync: the completion came after the call";
    ASSERT_TRUE(denetleyici.denetleyici);
    denetleyici.denetleyici->Close();

    // title=none and source=none: the getters give null, the events go on.
    IzlenenGorunum v;
    v.kur(ortam.ortam.Get());
    ASSERT_EQ(S_OK, v.html(L"<title>T</title>"));
    EXPECT_EQ((std::vector<std::string>{"NavigationStarting", "SourceChanged", "ContentLoading", "HistoryChanged",
                                        "DocumentTitleChanged", "NavigationCompleted"}),
              v.olaylar);
    LPWSTR metin = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(S_OK, v.gorunum->get_DocumentTitle(&metin));
    EXPECT_EQ(nullptr, metin);
    metin = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(S_OK, v.gorunum->get_Source(&metin));
    EXPECT_EQ(nullptr, metin);
    v.denetleyici->Close();
    bitti_isaretle();
}

TEST(Cocuk, DenetleyiciBasarisiz)
{
    COCUK_GEREKLI();
    auto ortam = ortam_al();
    ASSERT_TRUE(ortam);
    DenetleyiciSonucu sonuc = denetleyici_dene(ortam.Get(), ebeveyn_penceresi());
    EXPECT_EQ(E_FAIL, sonuc.donen);
    kuyrugu_bosalt();
    EXPECT_EQ(0, sonuc.gelen);
    EXPECT_EQ(0, motor().acik_denetleyiciler());
    bitti_isaretle();
}

TEST(Cocuk, DenetleyiciHata)
{
    COCUK_GEREKLI();
    auto ortam = ortam_al();
    ASSERT_TRUE(ortam);
    DenetleyiciSonucu sonuc = denetleyici_dene(ortam.Get(), ebeveyn_penceresi());
    EXPECT_EQ(S_OK, sonuc.donen);
    EXPECT_FALSE(sonuc.cagri_icinde_geldi);
    ASSERT_TRUE(pompala([&] { return sonuc.gelen > 0; }));
    EXPECT_EQ(E_FAIL, sonuc.hata);
    EXPECT_FALSE(sonuc.denetleyici);
    bitti_isaretle();
}

TEST(Cocuk, DenetleyiciHic)
{
    COCUK_GEREKLI();
    auto ortam = ortam_al();
    ASSERT_TRUE(ortam);
    DenetleyiciSonucu sonuc = denetleyici_dene(ortam.Get(), ebeveyn_penceresi());
    EXPECT_EQ(S_OK, sonuc.donen);
    kuyrugu_bosalt();
    EXPECT_EQ(0, sonuc.gelen);
    EXPECT_EQ(0, motor().acik_denetleyiciler());
    bitti_isaretle();
}

TEST(Cocuk, Gorunumsuz)
{
    COCUK_GEREKLI();
    auto ortam = ortam_al();
    ASSERT_TRUE(ortam);
    auto denetleyici = denetleyici_al(ortam.Get(), ebeveyn_penceresi(), nullptr);
    ASSERT_TRUE(denetleyici);
    ComPtr<ICoreWebView2> gorunum;
    EXPECT_EQ(S_OK, denetleyici->get_CoreWebView2(&gorunum));
    EXPECT_FALSE(gorunum);
    EXPECT_EQ(S_OK, denetleyici->put_ZoomFactor(1.5));   // the controller itself still works
    EXPECT_EQ(1, motor().acik_denetleyiciler());
    EXPECT_EQ(KAPALI_DEGIL, denetleyici->Close());
    EXPECT_EQ(0, motor().acik_denetleyiciler());
    bitti_isaretle();
}

TEST(Cocuk, GecikmeVeBosBaslik)
{
    COCUK_GEREKLI();
    DWORD bas = GetTickCount();
    OrtamSonucu ortam = ortam_dene();
    ASSERT_EQ(S_OK, ortam.donen);
    ASSERT_TRUE(pompala([&] { return ortam.gelen > 0; }));
    EXPECT_GE(GetTickCount() - bas, 300u) << "delay=300: the completion came early";
    ASSERT_TRUE(ortam.ortam);

    IzlenenGorunum v;
    v.kur(ortam.ortam.Get());
    bas = GetTickCount();
    ASSERT_EQ(S_OK, v.html(L"<title>Dolu</title>"));
    // Two deliveries (the start, then the commit), each 300 ms late.
    EXPECT_GE(GetTickCount() - bas, 600u) << "delay=300: the navigation's events came early";
    EXPECT_EQ(std::count(v.olaylar.begin(), v.olaylar.end(), "DocumentTitleChanged"), 1);
    LPWSTR metin = nullptr;
    EXPECT_EQ(S_OK, v.gorunum->get_DocumentTitle(&metin));
    EXPECT_EQ("", al_ve_birak(metin));
    v.denetleyici->Close();
    bitti_isaretle();
}
