// The loader library's exports, the extra count for tests, and the library's entry.
// The exported names are listed in the .def files; the build without the
// environment export uses the second one.
#include "motor_ic.h"

HMODULE g_modul;

static HRESULT ortam_olustur_ortak(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* isleyici)
{
    if (!isleyici)
        return E_POINTER;
    // As the real engine: the creating thread must be a single-threaded apartment.
    APTTYPE tur;
    APTTYPEQUALIFIER nitelik;
    HRESULT daire = CoGetApartmentType(&tur, &nitelik);
    if (FAILED(daire))
        return CO_E_NOTINITIALIZED;
    if (tur != APTTYPE_STA && tur != APTTYPE_MAINSTA)
        return RPC_E_CHANGED_MODE;
    HRESULT hazir = dagitici_hazirla();
    if (FAILED(hazir))
        return hazir;

    ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> tutulan(isleyici);
    switch (g_denetim.ortam) {
    case Davranis::basarisiz:
        return E_FAIL;
    case Davranis::hic:
        return S_OK;
    case Davranis::hata:
        teslim_et(nullptr, [tutulan] { tutulan->Invoke(E_FAIL, nullptr); });
        return S_OK;
    default:
        break;
    }
    ComPtr<ICoreWebView2Environment> ortam;
    HRESULT sonuc = ortam_olustur(&ortam);
    if (g_denetim.ortam == Davranis::eszamanli)
        isleyici->Invoke(sonuc, ortam.Get());
    else
        teslim_et(nullptr, [tutulan, ortam, sonuc] { tutulan->Invoke(sonuc, ortam.Get()); });
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* isleyici)
{
    gunluk_yaz(GUNLUK_MOTOR, "CreateCoreWebView2EnvironmentWithOptions");
    return ortam_olustur_ortak(isleyici);
}

extern "C" HRESULT STDAPICALLTYPE CreateCoreWebView2Environment(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* isleyici)
{
    gunluk_yaz(GUNLUK_MOTOR, "CreateCoreWebView2Environment");
    return ortam_olustur_ortak(isleyici);
}

extern "C" HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR, LPWSTR* surum)
{
    gunluk_yaz(GUNLUK_MOTOR, "GetAvailableCoreWebView2BrowserVersionString");
    if (!surum)
        return E_POINTER;
    *surum = gorev_kopyasi(MOTOR_SURUMU);
    return *surum ? S_OK : E_OUTOFMEMORY;
}

extern "C" int64_t StandinOpenControllers(void)
{
    return acik_denetleyici_sayisi();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE modul, DWORD neden, LPVOID)
{
    if (neden == DLL_PROCESS_ATTACH) {
        g_modul = modul;
        DisableThreadLibraryCalls(modul);
        denetimleri_oku();
    }
    return TRUE;
}
