// Web view runtime, writing a page to a file the program chose: as a PDF through
// the engine's PrintToPdf (ICoreWebView2_7), and as one MHTML file through the
// engine's protocol method Page.captureSnapshot (ICoreWebView2::CallDevToolsProtocolMethod),
// whose text the runtime writes under a temporary name beside the file and moves
// into place only when whole (engine_shared/yerine_yazma.h). The engine does the same for
// a PDF, so a failure never leaves a partial file under the chosen name.
//
// Each view has one request that counts, its latest: kayit_bitti_mi reports its end
// once and kayit_hatasi why it failed. A request the engine refuses at once (the
// stand-in has no protocol, an engine without PrintToPdf) ends at once, failed with
// TR_WEBGORUNUM_KAYIT_DESTEKSIZ. The state is kept here, by view id, with the view
// object it was made for, so that a later view in the same record never sees it.
#include "webview/webgorunum_win_cz.h"

#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "tr_metin_sinir.h"
#include "webview/webgorunum_ic.h"
#include "yerine_yazma.h"

namespace {

struct KayitDurumu {
    ICoreWebView2* webview;  // the view the request was made on (never dereferenced)
    int64_t istek;           // the latest request's number; 0 when none
    int32_t bitti;           // 0 running or none; 1 written; 2 failed, not yet reported
    int64_t hata;            // TR_WEBGORUNUM_KAYIT_... of the latest failure
};

KayitDurumu kayit_durumlari[kGorunumSiniri];
int64_t son_istek = 0;

// One request: which view, and which of its requests; for MHTML also the path.
struct KayitIstegi {
    int64_t gorunum;
    int64_t istek;
    std::wstring yol;
};

using PdfIsleyicisi = KomIsleyici<ICoreWebView2PrintToPdfCompletedHandler, KayitIstegi, HRESULT, BOOL>;
using MhtmlIsleyicisi =
    KomIsleyici<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, KayitIstegi, HRESULT, LPCWSTR>;

// Why a write failed, from the error an engine or the file system gave.
int64_t hata_turu(HRESULT kod) {
    if (HRESULT_FACILITY(kod) != FACILITY_WIN32) return TR_WEBGORUNUM_KAYIT_MOTOR;
    switch (HRESULT_CODE(kod)) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return TR_WEBGORUNUM_KAYIT_YER_YOK;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_ACCESS_DENIED:
        case ERROR_INVALID_NAME:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_DIRECTORY:
            return TR_WEBGORUNUM_KAYIT_YAZILAMIYOR;
        default:
            return TR_WEBGORUNUM_KAYIT_DOSYA;
    }
}

// The end of a request, kept only while it is still the view's latest.
void bitir(const KayitIstegi& istek, bool basarili, int64_t hata) {
    if (istek.gorunum < 0 || istek.gorunum >= kGorunumSiniri) return;
    KayitDurumu& durum = kayit_durumlari[istek.gorunum];
    if (durum.istek != istek.istek) return;
    durum.bitti = basarili ? 1 : 2;
    durum.hata = basarili ? TR_WEBGORUNUM_KAYIT_HATA_YOK : hata;
}

HRESULT pdf_bitti(KayitIstegi& istek, HRESULT kod, BOOL basarili) {
    const bool yazildi = SUCCEEDED(kod) && basarili != FALSE;
    bitir(istek, yazildi, FAILED(kod) ? hata_turu(kod) : TR_WEBGORUNUM_KAYIT_MOTOR);
    return S_OK;
}

// The snapshot's text (the answer's "data"), written whole; the system's error or 0.
DWORD mhtml_yaz(const std::wstring& yol, const std::string& metin) {
    YerineYazma dosya;
    DWORD hata = dosya.ac(yol);
    if (hata == 0) hata = dosya.yaz(metin.data(), metin.size());
    return hata == 0 ? dosya.bitir() : hata;
}

HRESULT mhtml_geldi(KayitIstegi& istek, HRESULT kod, LPCWSTR json) {
    if (kayit_durumlari[istek.gorunum].istek != istek.istek) return S_OK;
    try {
        if (FAILED(kod) || json == nullptr) {
            bitir(istek, false, TR_WEBGORUNUM_KAYIT_MOTOR);
            return S_OK;
        }
        const TrMetin metin = utf8_metin(json, -1, false);
        if (metin.ptr == nullptr) {
            bitir(istek, false, TR_WEBGORUNUM_KAYIT_MOTOR);
            return S_OK;
        }
        const nlohmann::json cevap = nlohmann::json::parse(metin.ptr, metin.ptr + metin.len, nullptr, false);
        std::free(metin.ptr);
        const auto veri = cevap.is_object() ? cevap.find("data") : cevap.end();
        if (!cevap.is_object() || veri == cevap.end() || !veri->is_string() || veri->get_ref<const std::string&>().empty()) {
            bitir(istek, false, TR_WEBGORUNUM_KAYIT_MOTOR);
            return S_OK;
        }
        const DWORD hata = mhtml_yaz(istek.yol, veri->get_ref<const std::string&>());
        bitir(istek, hata == 0, hata_turu(HRESULT_FROM_WIN32(hata)));
    } catch (...) {
        bitir(istek, false, TR_WEBGORUNUM_KAYIT_MOTOR);
    }
    return S_OK;
}

// A new request of the view: the earlier one is no longer reported.
KayitIstegi istek_baslat(int64_t view, ICoreWebView2* webview, std::wstring yol) {
    KayitDurumu& durum = kayit_durumlari[view];
    durum = {webview, ++son_istek, 0, TR_WEBGORUNUM_KAYIT_HATA_YOK};
    return {view, durum.istek, std::move(yol)};
}

// The record's state when it belongs to the view now in the record.
KayitDurumu* durum_bul(int64_t view) {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return nullptr;
    KayitDurumu& durum = kayit_durumlari[view];
    return durum.istek != 0 && durum.webview == kayit->webview ? &durum : nullptr;
}

// The path argument as UTF-16: empty for an empty, relative or invalid one.
std::wstring yol_al(const char* path, int64_t length) {
    if (path == nullptr || length <= 0) return std::wstring();
    GenisMetin genis(path, length);
    if (!genis.gecerli() || !tam_yol_mu(genis.c_str())) return std::wstring();
    return genis.c_str();
}

}  // namespace

int64_t _tr_webgorunum_pdf_yazdir(int64_t view, const char* path, int64_t length) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return -1;
    try {
        std::wstring yol = yol_al(path, length);
        if (yol.empty()) return -1;
        const KayitIstegi istek = istek_baslat(view, kayit->webview, yol);
        Microsoft::WRL::ComPtr<ICoreWebView2_7> webview7;
        Microsoft::WRL::ComPtr<PdfIsleyicisi> isleyici = PdfIsleyicisi::olustur(&pdf_bitti, istek);
        if (!isleyici || FAILED(kayit->webview->QueryInterface(IID_ICoreWebView2_7,
                                                                reinterpret_cast<void**>(webview7.GetAddressOf()))) ||
            FAILED(webview7->PrintToPdf(yol.c_str(), nullptr, isleyici.Get())))
            bitir(istek, false, TR_WEBGORUNUM_KAYIT_DESTEKSIZ);
        return 0;
    } catch (...) {
        return -1;
    }
}

int64_t _tr_webgorunum_mhtml_kaydet(int64_t view, const char* path, int64_t length) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return -1;
    try {
        std::wstring yol = yol_al(path, length);
        if (yol.empty()) return -1;
        const KayitIstegi istek = istek_baslat(view, kayit->webview, yol);
        Microsoft::WRL::ComPtr<MhtmlIsleyicisi> isleyici = MhtmlIsleyicisi::olustur(&mhtml_geldi, istek);
        if (!isleyici || FAILED(kayit->webview->CallDevToolsProtocolMethod(L"Page.captureSnapshot",
                                                                           L"{\"format\":\"mhtml\"}", isleyici.Get())))
            bitir(istek, false, TR_WEBGORUNUM_KAYIT_DESTEKSIZ);
        return 0;
    } catch (...) {
        return -1;
    }
}

int64_t _tr_webgorunum_kayit_bitti_mi(int64_t view) noexcept {
    KayitDurumu* durum = durum_bul(view);
    if (durum == nullptr || durum->bitti == 0) return 0;
    const int64_t sonuc = durum->bitti;
    durum->bitti = 0;
    return sonuc;
}

int64_t _tr_webgorunum_kayit_hatasi(int64_t view) noexcept {
    KayitDurumu* durum = durum_bul(view);
    return durum != nullptr ? durum->hata : TR_WEBGORUNUM_KAYIT_HATA_YOK;
}
