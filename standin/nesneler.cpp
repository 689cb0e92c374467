// The engine's environment. Every method it receives is logged, so a test can see
// what a host asked. (Event arguments and settings are engine_shared/olay_argumanlari.h.)
#include "motor_ic.h"

const wchar_t MOTOR_SURUMU[] = L"1.0.0.0";

// A string getter that logs itself; the string handed out in CoTaskMemAlloc memory.
#define METIN_ALICI(yontem, alan)                                     \
    HRESULT STDMETHODCALLTYPE yontem(LPWSTR* deger) override          \
    {                                                                 \
        gunluk_yaz(no, #yontem);                                      \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = gorev_kopyasi(alan);                                 \
        return *deger ? S_OK : E_OUTOFMEMORY;                         \
    }

// ---------------------------------------------------------------------------
// The environment.

class Ortam final : public TekArayuz<ICoreWebView2Environment> {
public:
    static constexpr int64_t no = GUNLUK_MOTOR;

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND ebeveyn, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* isleyici) override
    {
        gunluk_yaz(no, "CreateCoreWebView2Controller");
        if (!dogru_is_parcacigi())
            return RPC_E_WRONG_THREAD;
        if (!isleyici)
            return E_POINTER;
        if (!IsWindow(ebeveyn))
            return E_INVALIDARG;
        return olusturmayi_yanitla<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                   ICoreWebView2Controller>(
            g_denetim.denetleyici, isleyici, [ebeveyn](ComPtr<ICoreWebView2Controller>& denetleyici) {
                denetleyici = sahiplen(denetleyici_olustur(ebeveyn));
                return denetleyici ? S_OK : E_OUTOFMEMORY;
            });
    }

    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                                        ICoreWebView2WebResourceResponse** yanit) override
    {
        gunluk_yaz(no, "CreateWebResourceResponse");
        if (yanit)
            *yanit = nullptr;
        return E_NOTIMPL;
    }

    METIN_ALICI(get_BrowserVersionString, std::wstring(MOTOR_SURUMU))

    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler*, EventRegistrationToken* jeton) override
    {
        gunluk_yaz(no, "add_NewBrowserVersionAvailable");
        if (jeton)
            jeton->value = 0;
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken jeton) override
    {
        gunluk_yaz(no, "remove_NewBrowserVersionAvailable", std::to_string(jeton.value));
        return E_NOTIMPL;
    }
};

HRESULT ortam_olustur(ICoreWebView2Environment** ortam)
{
    *ortam = new (std::nothrow) Ortam();
    return *ortam ? S_OK : E_OUTOFMEMORY;
}
