// Web view runtime, downloads: what every web view's page downloads, recorded in a
// table of its own and reported through read-and-clear queries like the page
// events. The runtime only listens: it never sets Cancel, Handled or the path, so
// the engine's own behaviour holds (the file goes to the user's Downloads folder),
// whether the program asks or not.
//
// Ids are indexes into the table, given in the order downloads start and never
// reused. The table holds kIndirmeSiniri downloads; later ones still go on, and
// are not reported. Each record holds its own reference to the engine's download
// operation for the life of the process (the numbers and paths are read from it
// afresh on every query), and the flags its handlers raise.
#include "webview/webgorunum_win_cz.h"

#include <cwchar>

#include "tr_metin_sinir.h"
#include "webview/webgorunum_ic.h"

namespace {

constexpr int kIndirmeSiniri = 4096;

struct Indirme {
    ICoreWebView2DownloadOperation* islem;
    int64_t gorunum;          // the web view whose page started it
    int32_t bildirildi;       // its start was reported by indirme_basladi_mi
    int32_t ilerledi;         // bytes came since the last query
    int32_t bitti;            // completed, not yet reported
    int32_t basarisiz;        // its interruption reason, not yet reported (0: none)
};

Indirme indirmeler[kIndirmeSiniri];
int32_t indirme_sayisi = 0;
int32_t ilk_bildirilmemis = 0;

// Each view's DownloadStarting handler; its state is the view's index, -1 once the
// view was closed.
using BaslamaIsleyicisi = KomIsleyici<ICoreWebView2DownloadStartingEventHandler, int64_t, ICoreWebView2*,
                                      ICoreWebView2DownloadStartingEventArgs*>;
using BaytIsleyicisi = KomIsleyici<ICoreWebView2BytesReceivedChangedEventHandler, int64_t,
                                   ICoreWebView2DownloadOperation*, IUnknown*>;
using DurumIsleyicisi =
    KomIsleyici<ICoreWebView2StateChangedEventHandler, int64_t, ICoreWebView2DownloadOperation*, IUnknown*>;
BaslamaIsleyicisi* baslama_isleyicileri[kGorunumSiniri];

Indirme* indirme_bul(int64_t id) {
    return id >= 0 && id < indirme_sayisi && indirmeler[id].islem != nullptr ? &indirmeler[id] : nullptr;
}

HRESULT bayt_geldi(int64_t& id, ICoreWebView2DownloadOperation*, IUnknown*) {
    if (Indirme* indirme = indirme_bul(id)) indirme->ilerledi = 1;
    return S_OK;
}

HRESULT durum_degisti(int64_t& id, ICoreWebView2DownloadOperation* islem, IUnknown*) {
    Indirme* indirme = indirme_bul(id);
    if (indirme == nullptr || islem == nullptr) return S_OK;
    COREWEBVIEW2_DOWNLOAD_STATE durum = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
    islem->get_State(&durum);
    if (durum == COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED) indirme->bitti = 1;
    if (durum == COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED) {
        COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden = COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE;
        islem->get_InterruptReason(&neden);
        // An interruption always reports a reason, even one the engine left out.
        indirme->basarisiz = neden != COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE
                                 ? static_cast<int32_t>(neden)
                                 : static_cast<int32_t>(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED);
    }
    return S_OK;
}

HRESULT indirme_basladi(int64_t& gorunum, ICoreWebView2*, ICoreWebView2DownloadStartingEventArgs* arguman) {
    if (gorunum < 0 || arguman == nullptr || indirme_sayisi >= kIndirmeSiniri) return S_OK;
    ICoreWebView2DownloadOperation* islem = nullptr;
    if (FAILED(arguman->get_DownloadOperation(&islem)) || islem == nullptr) return S_OK;
    const int64_t id = indirme_sayisi++;
    indirmeler[id] = Indirme{islem, gorunum, 0, 0, 0, 0};
    EventRegistrationToken belirtec = {};
    if (auto isleyici = BaytIsleyicisi::olustur(&bayt_geldi, id)) islem->add_BytesReceivedChanged(isleyici.Get(), &belirtec);
    if (auto isleyici = DurumIsleyicisi::olustur(&durum_degisti, id)) islem->add_StateChanged(isleyici.Get(), &belirtec);
    return S_OK;
}

int64_t bayragi_oku_temizle(int32_t& bayrak) {
    const int32_t deger = bayrak;
    bayrak = 0;
    return deger;
}

// A text of the operation's, or the empty text value when the download is unknown.
template <class Okuyucu>
TrMetin islem_metni(int64_t id, Okuyucu oku) {
    Indirme* indirme = indirme_bul(id);
    if (indirme == nullptr) return {nullptr, 0};
    LPWSTR metin = nullptr;
    oku(indirme->islem, &metin);
    TrMetin sonuc = utf8_metin(metin != nullptr ? metin : L"", -1, true);
    CoTaskMemFree(metin);
    return sonuc;
}

}  // namespace

void indirmelere_abone_ol(int index, ICoreWebView2* webview) {
    if (index < 0 || index >= kGorunumSiniri || webview == nullptr) return;
    ICoreWebView2_4* webview4 = nullptr;
    if (FAILED(webview->QueryInterface(IID_ICoreWebView2_4, reinterpret_cast<void**>(&webview4))) ||
        webview4 == nullptr) {
        return;   // an engine without downloads: nothing to report
    }
    baslama_isleyicileri[index] = BaslamaIsleyicisi::olustur(&indirme_basladi, index).Detach();
    EventRegistrationToken belirtec = {};
    if (baslama_isleyicileri[index] != nullptr) webview4->add_DownloadStarting(baslama_isleyicileri[index], &belirtec);
    webview4->Release();
}

void indirme_aboneligini_birak(int index) {
    if (index < 0 || index >= kGorunumSiniri || baslama_isleyicileri[index] == nullptr) return;
    baslama_isleyicileri[index]->durum() = -1;
    baslama_isleyicileri[index]->Release();
    baslama_isleyicileri[index] = nullptr;
}

// ---- Entry points --------------------------------------------------------------------

int64_t _tr_webgorunum_indirme_basladi_mi(int64_t view) noexcept {
    // Every download before the first unreported one was reported: the search starts there.
    while (ilk_bildirilmemis < indirme_sayisi && indirmeler[ilk_bildirilmemis].bildirildi != 0) ++ilk_bildirilmemis;
    for (int64_t id = ilk_bildirilmemis; id < indirme_sayisi; ++id) {
        Indirme& indirme = indirmeler[id];
        if ((view < 0 || indirme.gorunum == view) && indirme.bildirildi == 0) {
            indirme.bildirildi = 1;
            return id;
        }
    }
    return -1;
}

int64_t _tr_webgorunum_indirme_ilerledi_mi(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    return indirme != nullptr ? bayragi_oku_temizle(indirme->ilerledi) : 0;
}

int64_t _tr_webgorunum_indirme_bitti_mi(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    return indirme != nullptr ? bayragi_oku_temizle(indirme->bitti) : 0;
}

int64_t _tr_webgorunum_indirme_basarisiz_mi(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    return indirme != nullptr ? bayragi_oku_temizle(indirme->basarisiz) : 0;
}

int64_t _tr_webgorunum_indirme_gorunumu(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    return indirme != nullptr ? indirme->gorunum : -1;
}

int64_t _tr_webgorunum_indirme_alinan(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    if (indirme == nullptr) return -1;
    INT64 alinan = 0;
    indirme->islem->get_BytesReceived(&alinan);
    return alinan;
}

int64_t _tr_webgorunum_indirme_toplam(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    if (indirme == nullptr) return -1;
    INT64 toplam = -1;
    indirme->islem->get_TotalBytesToReceive(&toplam);
    return toplam;
}

int64_t _tr_webgorunum_indirme_durumu(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    if (indirme == nullptr) return -1;
    COREWEBVIEW2_DOWNLOAD_STATE durum = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
    indirme->islem->get_State(&durum);
    return static_cast<int64_t>(durum);
}

TrMetin _tr_webgorunum_indirme_adresi_al(int64_t download) noexcept {
    return islem_metni(download, [](ICoreWebView2DownloadOperation* islem, LPWSTR* metin) { islem->get_Uri(metin); });
}

TrMetin _tr_webgorunum_indirme_yolu_al(int64_t download) noexcept {
    return islem_metni(download,
                       [](ICoreWebView2DownloadOperation* islem, LPWSTR* metin) { islem->get_ResultFilePath(metin); });
}

// The last part of the path: the file's name.
TrMetin _tr_webgorunum_indirme_adi_al(int64_t download) noexcept {
    return islem_metni(download, [](ICoreWebView2DownloadOperation* islem, LPWSTR* metin) {
        islem->get_ResultFilePath(metin);
        if (*metin == nullptr) return;
        const wchar_t* ayrac = wcsrchr(*metin, L'\\');
        if (ayrac != nullptr) memmove(*metin, ayrac + 1, (wcslen(ayrac + 1) + 1) * sizeof(wchar_t));
    });
}

int64_t _tr_webgorunum_indirme_iptal(int64_t download) noexcept {
    Indirme* indirme = indirme_bul(download);
    if (indirme == nullptr || _tr_webgorunum_indirme_durumu(download) != 0) return -1;
    indirme->islem->Cancel();
    return 0;
}
