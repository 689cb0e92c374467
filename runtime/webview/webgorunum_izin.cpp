// Web view runtime, permissions: what the pages ask permission for (notifications,
// the location, the camera and microphone, reading the clipboard), reported
// through read-and-clear queries like the page events and answered by the program.
//
// Every request is held: the runtime takes the engine's deferral at once, so the
// page waits until the program answers (izin_yanitla), the view gets a new
// document (its page that asked is gone: another address, or the same one
// reloaded) or the view closes. A
// program that never asks leaves its pages waiting; one that wants the engine's
// own behaviour answers 0 (the engine's default). Ids are given in the order the
// requests come and never reused. At most kBekleyenSiniri requests wait at once;
// a page that asks beyond that is answered at once with the engine's default, so
// that no page can fill the table.
#include "webview/webgorunum_win_cz.h"

#include <string>
#include <vector>

#include <wrl/client.h>

#include "tr_metin_sinir.h"
#include "webview/webgorunum_ic.h"

namespace {

constexpr size_t kBekleyenSiniri = 256;

struct IzinIstegi {
    int64_t kimlik;
    int64_t gorunum;
    COREWEBVIEW2_PERMISSION_KIND tur;
    BOOL kullanici;
    std::wstring kaynak;
    Microsoft::WRL::ComPtr<ICoreWebView2PermissionRequestedEventArgs> arguman;
    Microsoft::WRL::ComPtr<ICoreWebView2Deferral> erteleme;
    bool bildirildi;
};

// Waiting requests, oldest first; an answered one or one of a closed view leaves.
std::vector<IzinIstegi> bekleyenler;
int64_t sonraki_kimlik = 0;

// Each view's PermissionRequested handler; its state is the view's index, -1 once
// the view was closed.
using IzinIsleyicisi = KomIsleyici<ICoreWebView2PermissionRequestedEventHandler, int64_t, ICoreWebView2*,
                                   ICoreWebView2PermissionRequestedEventArgs*>;
IzinIsleyicisi* izin_isleyicileri[kGorunumSiniri];
// Each view's ContentLoading handler for the same: a new document ends the requests
// of the one before. Not SourceChanged: a reload keeps the address and raises none,
// yet its document is new; ContentLoading comes for every new document and for no
// move within one.
using BelgeIsleyicisi = KomIsleyici<ICoreWebView2ContentLoadingEventHandler, int64_t, ICoreWebView2*,
                                    IUnknown*>;
BelgeIsleyicisi* belge_isleyicileri[kGorunumSiniri];

IzinIstegi* istek_bul(int64_t id) {
    for (IzinIstegi& istek : bekleyenler)
        if (istek.kimlik == id) return &istek;
    return nullptr;
}

HRESULT izin_istendi(int64_t& gorunum, ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* arguman) {
    if (gorunum < 0 || arguman == nullptr || bekleyenler.size() >= kBekleyenSiniri) return S_OK;
    IzinIstegi istek{sonraki_kimlik, gorunum, COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION, FALSE, L"",
                     arguman, nullptr, false};
    LPWSTR kaynak = nullptr;
    if (FAILED(arguman->get_Uri(&kaynak)) || kaynak == nullptr) return S_OK;
    istek.kaynak = kaynak;
    CoTaskMemFree(kaynak);
    arguman->get_PermissionKind(&istek.tur);
    arguman->get_IsUserInitiated(&istek.kullanici);
    if (FAILED(arguman->GetDeferral(istek.erteleme.GetAddressOf())) || !istek.erteleme) return S_OK;
    ++sonraki_kimlik;
    bekleyenler.push_back(std::move(istek));
    return S_OK;
}

// The request gets its answer and leaves the table.
void yanitla(std::vector<IzinIstegi>::iterator it, COREWEBVIEW2_PERMISSION_STATE durum) {
    IzinIstegi istek = std::move(*it);
    bekleyenler.erase(it);
    istek.arguman->put_State(durum);
    istek.erteleme->Complete();
}

// The view's waiting requests are answered with the engine's default (a refusal,
// remembered nowhere) and leave the table. Answering may run the engine's code,
// which may change the table: the search starts over after each.
void gorunumun_isteklerini_bitir(int64_t gorunum) {
    for (auto it = bekleyenler.begin(); it != bekleyenler.end();) {
        if (it->gorunum == gorunum) {
            yanitla(it, COREWEBVIEW2_PERMISSION_STATE_DEFAULT);
            it = bekleyenler.begin();
        } else {
            ++it;
        }
    }
}

// A new document in the view: the page that asked has gone, and its questions with
// it.
HRESULT belge_degisti(int64_t& gorunum, ICoreWebView2*, IUnknown*) {
    if (gorunum >= 0) gorunumun_isteklerini_bitir(gorunum);
    return S_OK;
}

template <class Isleyici>
void isleyiciyi_birak(Isleyici*& isleyici) {
    if (isleyici == nullptr) return;
    isleyici->durum() = -1;
    isleyici->Release();
    isleyici = nullptr;
}

}  // namespace

void izinlere_abone_ol(int index, ICoreWebView2* webview) {
    if (index < 0 || index >= kGorunumSiniri || webview == nullptr) return;
    izin_isleyicileri[index] = IzinIsleyicisi::olustur(&izin_istendi, index).Detach();
    EventRegistrationToken belirtec = {};
    if (izin_isleyicileri[index] != nullptr) webview->add_PermissionRequested(izin_isleyicileri[index], &belirtec);
    belge_isleyicileri[index] = BelgeIsleyicisi::olustur(&belge_degisti, index).Detach();
    if (belge_isleyicileri[index] != nullptr) webview->add_ContentLoading(belge_isleyicileri[index], &belirtec);
}

// The closed view's waiting requests go with it, answered with the engine's default.
void izin_aboneligini_birak(int index) {
    if (index < 0 || index >= kGorunumSiniri) return;
    gorunumun_isteklerini_bitir(index);
    isleyiciyi_birak(izin_isleyicileri[index]);
    isleyiciyi_birak(belge_isleyicileri[index]);
}

// ---- Entry points --------------------------------------------------------------------

int64_t _tr_webgorunum_izin_istendi_mi(int64_t view) noexcept {
    for (IzinIstegi& istek : bekleyenler) {
        if ((view < 0 || istek.gorunum == view) && !istek.bildirildi) {
            istek.bildirildi = true;
            return istek.kimlik;
        }
    }
    return -1;
}

int64_t _tr_webgorunum_izin_turu(int64_t request) noexcept {
    IzinIstegi* istek = istek_bul(request);
    return istek != nullptr ? static_cast<int64_t>(istek->tur) : -1;
}

int64_t _tr_webgorunum_izin_kullanici_mi(int64_t request) noexcept {
    IzinIstegi* istek = istek_bul(request);
    return istek != nullptr && istek->kullanici ? 1 : 0;
}

int64_t _tr_webgorunum_izin_gorunumu(int64_t request) noexcept {
    IzinIstegi* istek = istek_bul(request);
    return istek != nullptr ? istek->gorunum : -1;
}

TrMetin _tr_webgorunum_izin_kaynagi_al(int64_t request) noexcept {
    IzinIstegi* istek = istek_bul(request);
    if (istek == nullptr) return {nullptr, 0};
    return utf8_metin(istek->kaynak.c_str(), -1, true);
}

int64_t _tr_webgorunum_izin_yanitla(int64_t request, int64_t state) noexcept {
    if (state < COREWEBVIEW2_PERMISSION_STATE_DEFAULT || state > COREWEBVIEW2_PERMISSION_STATE_DENY) return -1;
    for (auto it = bekleyenler.begin(); it != bekleyenler.end(); ++it) {
        if (it->kimlik == request) {
            yanitla(it, static_cast<COREWEBVIEW2_PERMISSION_STATE>(state));
            return 0;
        }
    }
    return -1;
}
