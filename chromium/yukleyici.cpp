// The loader library's exports and the environment.
//
// One engine process serves the whole host process: the first environment starts
// it, every later one shares it. When it has ended (it crashed or was killed), the
// next environment or controller that is asked for starts a new one.
#include "indirmeler.h"
#include "motor_ic.h"

#include <cwchar>
#include <new>

static const wchar_t MOTOR_SURUMU[] = L"headless-chromium";

static HMODULE g_modul;
static std::shared_ptr<Baglanti> g_baglanti;
static bool g_basliyor;
static std::vector<std::function<void(HRESULT)>> g_bekleyenler;
static std::wstring g_kullanici_klasoru;

// A failed start is remembered for a few seconds: the engine takes up to its start
// bound (20 s) to fail, and a host that asks again at once (a second tab, a reload)
// gets the same answer at once instead of waiting that long again. After that, the
// next request starts the engine anew. KORVA_MOTOR_HATA_SURESI_MS (read once, up to
// a minute) sets how long; tests shorten it.
static HRESULT g_son_basarisizlik = S_OK;
static ULONGLONG g_basarisizlik_ani;

static ULONGLONG basarisizlik_hafizasi_ms()
{
    static const ULONGLONG sure = [] {
        constexpr ULONGLONG VARSAYILAN_MS = 5000;
        wchar_t deger[16] = {};
        const DWORD n = GetEnvironmentVariableW(L"KORVA_MOTOR_HATA_SURESI_MS", deger, 16);
        if (n == 0 || n >= 16)
            return VARSAYILAN_MS;
        wchar_t* son = nullptr;
        const unsigned long ms = std::wcstoul(deger, &son, 10);
        if (son == deger || *son != L'\0' || ms > 60000)
            return VARSAYILAN_MS;
        return static_cast<ULONGLONG>(ms);
    }();
    return sure;
}

// The failure of the last start while it is still fresh, else S_OK.
static HRESULT taze_basarisizlik()
{
    if (SUCCEEDED(g_son_basarisizlik) || GetTickCount64() - g_basarisizlik_ani >= basarisizlik_hafizasi_ms())
        return S_OK;
    return g_son_basarisizlik;
}

std::shared_ptr<Baglanti> motor_baglantisi()
{
    return g_baglanti && g_baglanti->acik_mi() ? g_baglanti : nullptr;
}

HRESULT motoru_baslat(const std::wstring& kullanici_klasoru, std::function<void(HRESULT)> bitti)
{
    if (motor_baglantisi()) {
        return Baglanti::ui_da_calistir([bitti] { bitti(S_OK); }) ? S_OK : E_FAIL;
    }
    if (!kullanici_klasoru.empty())
        g_kullanici_klasoru = kullanici_klasoru;
    const HRESULT taze = taze_basarisizlik();
    if (FAILED(taze) && !g_basliyor)
        return Baglanti::ui_da_calistir([bitti, taze] { bitti(taze); }) ? S_OK : E_FAIL;
    g_bekleyenler.push_back(std::move(bitti));
    if (g_basliyor)
        return S_OK;

    MotorAyari ayar;
    ayar.kullanici_klasoru = g_kullanici_klasoru;
    g_basliyor = true;
    HRESULT sonuc = Baglanti::baslat(ayar, [](HRESULT hr, std::shared_ptr<Baglanti> baglanti) {
        g_basliyor = false;
        g_son_basarisizlik = SUCCEEDED(hr) && baglanti ? S_OK : (FAILED(hr) ? hr : E_FAIL);
        g_basarisizlik_ani = GetTickCount64();
        if (SUCCEEDED(hr) && baglanti) {
            g_baglanti = baglanti;
            sayfalari_bagla(*baglanti);
            indirmeleri_bagla(*baglanti, motor_profil_klasoru(g_kullanici_klasoru));
        }
        auto bekleyenler = std::move(g_bekleyenler);
        g_bekleyenler.clear();
        for (auto& bekleyen : bekleyenler)
            bekleyen(SUCCEEDED(hr) && baglanti ? S_OK : (FAILED(hr) ? hr : E_FAIL));
    });
    if (FAILED(sonuc)) {
        g_basliyor = false;
        g_bekleyenler.clear();
    }
    return sonuc;
}

// ---------------------------------------------------------------------------
// The environment.

class Ortam final : public TekArayuz<ICoreWebView2Environment> {
public:
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND ebeveyn, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* isleyici) override
    {
        if (!isleyici)
            return E_POINTER;
        if (!IsWindow(ebeveyn))
            return E_INVALIDARG;
        ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> tutulan(isleyici);
        auto yanitla = [tutulan](HRESULT hr, ICoreWebView2Controller* denetleyici) {
            tutulan->Invoke(hr, denetleyici);
        };
        // An engine that has gone is started again for the new view.
        return motoru_baslat(std::wstring(), [ebeveyn, yanitla](HRESULT hr) {
            if (FAILED(hr) || !IsWindow(ebeveyn)) {
                yanitla(FAILED(hr) ? hr : E_INVALIDARG, nullptr);
                return;
            }
            denetleyici_olustur(ebeveyn, yanitla);
        });
    }

    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                                        ICoreWebView2WebResourceResponse** yanit) override
    {
        if (yanit)
            *yanit = nullptr;
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* surum) override
    {
        if (!surum)
            return E_POINTER;
        *surum = gorev_kopyasi(MOTOR_SURUMU);
        return *surum ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler*,
                                                             EventRegistrationToken* jeton) override
    {
        if (jeton)
            jeton->value = 0;
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken) override
    {
        return E_NOTIMPL;
    }
};

// The folder the host named, or "<program path>.WebView2" beside the program.
static std::wstring kullanici_klasoru(PCWSTR verilen)
{
    if (verilen && *verilen)
        return verilen;
    wchar_t yol[MAX_PATH];
    DWORD boy = GetModuleFileNameW(nullptr, yol, MAX_PATH);
    if (boy == 0 || boy >= MAX_PATH)
        return std::wstring();
    return std::wstring(yol) + L".WebView2";
}

static HRESULT ortam_olustur(PCWSTR klasor, ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* isleyici)
{
    if (!isleyici)
        return E_POINTER;
    // As the platform's engine: the creating thread must be a single-threaded apartment.
    APTTYPE tur;
    APTTYPEQUALIFIER nitelik;
    if (FAILED(CoGetApartmentType(&tur, &nitelik)))
        return CO_E_NOTINITIALIZED;
    if (tur != APTTYPE_STA && tur != APTTYPE_MAINSTA)
        return RPC_E_CHANGED_MODE;
    std::wstring veri = kullanici_klasoru(klasor);
    if (veri.empty())
        return E_INVALIDARG;

    ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> tutulan(isleyici);
    return motoru_baslat(veri, [tutulan](HRESULT hr) {
        if (FAILED(hr)) {
            tutulan->Invoke(hr, nullptr);
            return;
        }
        auto ortam = sahiplen<ICoreWebView2Environment>(new (std::nothrow) Ortam());
        tutulan->Invoke(ortam ? S_OK : E_OUTOFMEMORY, ortam.Get());
    });
}

extern "C" HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR, PCWSTR kullanici_veri_klasoru, ICoreWebView2EnvironmentOptions*,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* isleyici)
{
    return ortam_olustur(kullanici_veri_klasoru, isleyici);
}

extern "C" HRESULT STDAPICALLTYPE CreateCoreWebView2Environment(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* isleyici)
{
    return ortam_olustur(nullptr, isleyici);
}

extern "C" HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR, LPWSTR* surum)
{
    if (!surum)
        return E_POINTER;
    *surum = gorev_kopyasi(MOTOR_SURUMU);
    return *surum ? S_OK : E_OUTOFMEMORY;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE modul, DWORD neden, LPVOID)
{
    if (neden == DLL_PROCESS_ATTACH) {
        g_modul = modul;
        DisableThreadLibraryCalls(modul);
    }
    return TRUE;
}
