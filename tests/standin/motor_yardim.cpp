// Helpers for the stand-in engine's tests: loading, pumping, the log, views.
#include "motor_yardim.h"

#include <fstream>
#include <sstream>

LONG g_canli_isleyici;

static HRESULT STDMETHODCALLTYPE ham_qi(HamIsleyici* nesne, REFIID, void** sonuc)
{
    *sonuc = nesne;
    InterlockedIncrement(&nesne->sayac);
    return S_OK;
}
static ULONG STDMETHODCALLTYPE ham_addref(HamIsleyici* nesne)
{
    return static_cast<ULONG>(InterlockedIncrement(&nesne->sayac));
}
static ULONG STDMETHODCALLTYPE ham_release(HamIsleyici* nesne)
{
    LONG kalan = InterlockedDecrement(&nesne->sayac);
    if (kalan == 0) {
        delete nesne;
        InterlockedDecrement(&g_canli_isleyici);
    }
    return static_cast<ULONG>(kalan);
}
static HRESULT STDMETHODCALLTYPE ham_invoke(HamIsleyici* nesne, intptr_t birinci, intptr_t ikinci)
{
    if (nesne->cagri)
        nesne->cagri(birinci, ikinci);
    return S_OK;
}

extern const void* const HAM_ISLEYICI_TABLOSU[] = {
    reinterpret_cast<const void*>(&ham_qi), reinterpret_cast<const void*>(&ham_addref),
    reinterpret_cast<const void*>(&ham_release), reinterpret_cast<const void*>(&ham_invoke)};

Motor& motor()
{
    static Motor m;
    if (m.dll)
        return m;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t tampon[MAX_PATH * 2] = {};
    if (GetEnvironmentVariableW(L"KORVA_STANDIN_COCUK", tampon, MAX_PATH) == 0)
        SetEnvironmentVariableW(L"KORVA_STANDIN", nullptr);
    if (GetEnvironmentVariableW(L"KORVA_STANDIN_LOG", tampon, MAX_PATH) == 0) {
        wchar_t klasor[MAX_PATH];
        GetTempPathW(MAX_PATH, klasor);
        m.gunluk = std::wstring(klasor) + L"korva_standin_" + std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(m.gunluk.c_str());
        SetEnvironmentVariableW(L"KORVA_STANDIN_LOG", m.gunluk.c_str());
    } else {
        m.gunluk = tampon;
    }
    m.dll = LoadLibraryW(KORVA_BUILD_DIR_W L"\\standin\\WebView2Loader.dll");
    if (m.dll) {
        m.ortam_olustur = reinterpret_cast<wv2_ortam_olustur_secenekli_islev>(
            reinterpret_cast<void*>(GetProcAddress(m.dll, WV2_ORTAM_OLUSTUR_SECENEKLI_ADI)));
        m.acik_denetleyiciler = reinterpret_cast<wv2_acik_denetleyici_sayisi_islev>(
            reinterpret_cast<void*>(GetProcAddress(m.dll, WV2_ACIK_DENETLEYICI_SAYISI_ADI)));
    }
    return m;
}

bool pompala(const std::function<bool()>& kosul)
{
    DWORD bas = GetTickCount();
    for (;;) {
        MSG mesaj;
        while (PeekMessageW(&mesaj, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&mesaj);
            DispatchMessageW(&mesaj);
            if (kosul())
                return true;
        }
        if (kosul())
            return true;
        if (GetTickCount() - bas > 15000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

static LRESULT CALLBACK test_wndproc(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    if (mesaj == WM_APP + 7) {
        *reinterpret_cast<bool*>(l) = true;
        return 0;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

static void sinif_kaydet()
{
    static bool kayitli = false;
    if (kayitli)
        return;
    WNDCLASSW sinif = {};
    sinif.lpfnWndProc = test_wndproc;
    sinif.hInstance = GetModuleHandleW(nullptr);
    sinif.lpszClassName = L"KorvaStandinTest";
    RegisterClassW(&sinif);
    kayitli = true;
}

void kuyrugu_bosalt()
{
    sinif_kaydet();
    static HWND isaretci = CreateWindowExW(0, L"KorvaStandinTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
    // Twice: a delivery may queue the next step of a navigation behind our marker.
    for (int tur = 0; tur < 2; ++tur) {
        bool geldi = false;
        PostMessageW(isaretci, WM_APP + 7, 0, reinterpret_cast<LPARAM>(&geldi));
        pompala([&] { return geldi; });
    }
}

std::vector<std::string> gunluk_satirlari()
{
    std::vector<std::string> satirlar;
    HANDLE dosya = CreateFileW(motor().gunluk.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE)
        return satirlar;
    std::string icerik;
    char tampon[65536];
    DWORD okunan = 0;
    while (ReadFile(dosya, tampon, sizeof tampon, &okunan, nullptr) && okunan > 0)
        icerik.append(tampon, okunan);
    CloseHandle(dosya);
    std::istringstream akis(icerik);
    std::string satir;
    while (std::getline(akis, satir))
        satirlar.push_back(satir);
    return satirlar;
}

HWND ebeveyn_penceresi()
{
    sinif_kaydet();
    HWND pencere = CreateWindowExW(0, L"KorvaStandinTest", L"standin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   900, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return pencere;
}

HWND sayfa_penceresi(HWND ebeveyn)
{
    return FindWindowExW(ebeveyn, nullptr, L"KorvaStandinSayfasi", nullptr);
}

ComPtr<ICoreWebView2Environment> ortam_al()
{
    ComPtr<ICoreWebView2Environment> ortam;
    bool geldi = false;
    auto tamam = isleyici<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [&](intptr_t hata, intptr_t sonuc) {
            geldi = true;
            if (static_cast<HRESULT>(hata) >= 0)
                ortam = reinterpret_cast<ICoreWebView2Environment*>(sonuc);
        });
    if (!motor().ortam_olustur)
        return ortam;
    HRESULT hr = motor().ortam_olustur(nullptr, nullptr, nullptr, tamam.Get());
    if (SUCCEEDED(hr))
        pompala([&] { return geldi; });
    return ortam;
}

ComPtr<ICoreWebView2Controller> denetleyici_al(ICoreWebView2Environment* ortam, HWND ebeveyn, int64_t* no)
{
    ComPtr<ICoreWebView2Controller> denetleyici;
    if (!ortam)
        return denetleyici;
    bool geldi = false;
    auto tamam = isleyici<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
        [&](intptr_t, intptr_t sonuc) {
            geldi = true;
            denetleyici = reinterpret_cast<ICoreWebView2Controller*>(sonuc);
        });
    size_t onceki = gunluk_satirlari().size();
    if (SUCCEEDED(ortam->CreateCoreWebView2Controller(ebeveyn, tamam.Get())))
        pompala([&] { return geldi; });
    if (no) {
        auto satirlar = gunluk_satirlari();
        for (size_t i = onceki; i < satirlar.size(); ++i)
            if (satirlar[i].size() > 8 && satirlar[i].compare(satirlar[i].size() - 8, 8, " created") == 0)
                *no = std::stoll(satirlar[i]);
    }
    return denetleyici;
}

std::string utf8(const wchar_t* metin)
{
    if (!metin)
        return "<null>";
    int boy = WideCharToMultiByte(CP_UTF8, 0, metin, -1, nullptr, 0, nullptr, nullptr);
    std::string sonuc(boy > 0 ? boy - 1 : 0, '\0');
    if (boy > 1)
        WideCharToMultiByte(CP_UTF8, 0, metin, -1, &sonuc[0], boy, nullptr, nullptr);
    return sonuc;
}

std::string al_ve_birak(LPWSTR metin)
{
    std::string sonuc = utf8(metin);
    CoTaskMemFree(metin);
    return sonuc;
}

void IzlenenGorunum::kur(ICoreWebView2Environment* ortam)
{
    ebeveyn = ebeveyn_penceresi();
    denetleyici = denetleyici_al(ortam, ebeveyn, &no);
    ASSERT_TRUE(denetleyici);
    ASSERT_EQ(S_OK, denetleyici->get_CoreWebView2(&gorunum));
    ASSERT_TRUE(gorunum);
    RECT alan;
    GetClientRect(ebeveyn, &alan);
    denetleyici->put_Bounds(alan);
    EventRegistrationToken jeton;
    auto kaydet = [this](const char* ad) {
        return [this, ad](intptr_t, intptr_t) { olaylar.push_back(ad); };
    };
    gorunum->add_NavigationStarting(
        isleyici<ICoreWebView2NavigationStartingEventHandler>([this](intptr_t, intptr_t a) {
            auto* arguman = reinterpret_cast<ICoreWebView2NavigationStartingEventArgs*>(a);
            UINT64 kimlik = 0;
            BOOL kullanici = FALSE;
            arguman->get_NavigationId(&kimlik);
            arguman->get_IsUserInitiated(&kullanici);
            baslama_kimlikleri.push_back(kimlik);
            kullanici_baslatti.push_back(kullanici);
            olaylar.push_back("NavigationStarting");
        }).Get(), &jeton);
    gorunum->add_SourceChanged(isleyici<ICoreWebView2SourceChangedEventHandler>(kaydet("SourceChanged")).Get(), &jeton);
    gorunum->add_ContentLoading(isleyici<ICoreWebView2ContentLoadingEventHandler>(kaydet("ContentLoading")).Get(), &jeton);
    gorunum->add_HistoryChanged(isleyici<ICoreWebView2HistoryChangedEventHandler>(kaydet("HistoryChanged")).Get(), &jeton);
    gorunum->add_DocumentTitleChanged(
        isleyici<ICoreWebView2DocumentTitleChangedEventHandler>(kaydet("DocumentTitleChanged")).Get(), &jeton);
    gorunum->add_NavigationCompleted(
        isleyici<ICoreWebView2NavigationCompletedEventHandler>([this](intptr_t, intptr_t a) {
            auto* arguman = reinterpret_cast<ICoreWebView2NavigationCompletedEventArgs*>(a);
            arguman->get_IsSuccess(&son_basari);
            arguman->get_WebErrorStatus(&son_durum);
            arguman->get_NavigationId(&son_kimlik);
            ++tamamlanan;
            olaylar.push_back("NavigationCompleted");
        }).Get(), &jeton);
}

void IzlenenGorunum::tamamlanmayi_bekle(int onceki)
{
    EXPECT_TRUE(pompala([&] { return tamamlanan > onceki; }));
}

HRESULT IzlenenGorunum::git(const wchar_t* adres)
{
    int onceki = tamamlanan;
    HRESULT hr = gorunum->Navigate(adres);
    if (SUCCEEDED(hr))
        tamamlanmayi_bekle(onceki);
    return hr;
}

HRESULT IzlenenGorunum::html(const wchar_t* belge)
{
    int onceki = tamamlanan;
    HRESULT hr = gorunum->NavigateToString(belge);
    if (SUCCEEDED(hr))
        tamamlanmayi_bekle(onceki);
    return hr;
}

std::string IzlenenGorunum::baslik()
{
    LPWSTR metin = nullptr;
    gorunum->get_DocumentTitle(&metin);
    return al_ve_birak(metin);
}

std::string IzlenenGorunum::adres()
{
    LPWSTR metin = nullptr;
    gorunum->get_Source(&metin);
    return al_ve_birak(metin);
}

std::string IzlenenGorunum::ekran()
{
    HWND sayfa = sayfa_penceresi(ebeveyn);
    int boy = GetWindowTextLengthW(sayfa);
    std::wstring metin(static_cast<size_t>(boy) + 1, L'\0');
    GetWindowTextW(sayfa, &metin[0], boy + 1);
    return utf8(metin.c_str());
}
