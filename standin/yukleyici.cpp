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

    return olusturmayi_yanitla<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                               ICoreWebView2Environment>(
        g_denetim.ortam, isleyici,
        [](ComPtr<ICoreWebView2Environment>& ortam) { return ortam_olustur(&ortam); });
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
