// Web view runtime, server certificates the engine cannot verify: the program
// decides, not the engine. Every view listens to the engine's
// ServerCertificateErrorDetected; a request whose host the program let pass
// (_tr_webgorunum_sertifika_izni_ver) goes on, every other one is refused, so the
// engine shows no warning page of its own, and its navigation completes with the
// certificate's status (gezinti_hatasi 1 to 5). The refused address is kept per
// view for the program's own warning page.
//
// Hosts are compared as "host[:port]" in lower case: a server on another port of
// the same machine is another server. The hosts let pass last for the process.
#include "webview/webgorunum_win_cz.h"

#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "sertifika_argumanlari.h"
#include "tr_metin_sinir.h"
#include "webview/webgorunum_ic.h"

namespace {

// The handler's state is the view's index, -1 once the view has closed.
using SertifikaIsleyicisi = KomIsleyici<ICoreWebView2ServerCertificateErrorDetectedEventHandler, int,
                                        ICoreWebView2*, ICoreWebView2ServerCertificateErrorDetectedEventArgs*>;

SertifikaIsleyicisi* isleyiciler[kGorunumSiniri];
// By view: the latest refused address, UTF-8 from malloc (null when none).
char* reddedilen_adresler[kGorunumSiniri];
std::set<std::wstring> izinli_hostlar;

HRESULT sertifika_hatasi_geldi(int& index, ICoreWebView2*, ICoreWebView2ServerCertificateErrorDetectedEventArgs* arguman) {
    if (arguman == nullptr) return S_OK;
    LPWSTR adres = nullptr;
    arguman->get_RequestUri(&adres);
    const std::wstring genis = adres != nullptr ? adres : L"";
    const std::wstring host = sertifika_hostu(genis);
    if (!host.empty() && izinli_hostlar.count(host) != 0) {
        CoTaskMemFree(adres);
        arguman->put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW);
        return S_OK;
    }
    arguman->put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL);
    if (index >= 0 && index < kGorunumSiniri) {
        TrMetin metin = utf8_metin(adres, -1, true);
        std::free(reddedilen_adresler[index]);
        reddedilen_adresler[index] = metin.ptr;
    }
    CoTaskMemFree(adres);
    return S_OK;
}

}  // namespace

void sertifikalara_abone_ol(int index, ICoreWebView2* webview) {
    if (index < 0 || index >= kGorunumSiniri || webview == nullptr) return;
    ICoreWebView2_14* webview14 = nullptr;
    if (FAILED(webview->QueryInterface(IID_ICoreWebView2_14, reinterpret_cast<void**>(&webview14))) ||
        webview14 == nullptr) {
        return;   // an older engine shows its own warning page
    }
    isleyiciler[index] = SertifikaIsleyicisi::olustur(&sertifika_hatasi_geldi, index).Detach();
    EventRegistrationToken belirtec = {};
    if (isleyiciler[index] != nullptr) webview14->add_ServerCertificateErrorDetected(isleyiciler[index], &belirtec);
    webview14->Release();
}

void sertifika_aboneligini_birak(int index) {
    if (index < 0 || index >= kGorunumSiniri) return;
    std::free(reddedilen_adresler[index]);
    reddedilen_adresler[index] = nullptr;
    if (isleyiciler[index] == nullptr) return;
    isleyiciler[index]->durum() = -1;
    isleyiciler[index]->Release();
    isleyiciler[index] = nullptr;
}

// ---- Entry points --------------------------------------------------------------------

int64_t _tr_webgorunum_sertifika_izni_ver(const char* address, int64_t length) noexcept {
    GenisMetin adres(address, length);
    if (!adres.gecerli()) return -1;
    const std::wstring host = sertifika_hostu(adres.c_str());
    if (host.empty()) return -1;
    try {
        izinli_hostlar.insert(host);
    } catch (...) {
        return -1;
    }
    return 0;
}

TrMetin _tr_webgorunum_sertifika_adresi_al(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || reddedilen_adresler[view] == nullptr) return TrMetin{nullptr, 0};
    const char* adres = reddedilen_adresler[view];
    const size_t boy = std::strlen(adres);
    char* kopya = static_cast<char*>(std::malloc(boy + 1));
    if (kopya == nullptr) return TrMetin{nullptr, 0};
    std::memcpy(kopya, adres, boy + 1);
    return TrMetin{kopya, static_cast<int64_t>(boy)};
}
