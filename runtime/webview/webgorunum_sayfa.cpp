// Web view runtime, page operations: loading an address (after the fixed address
// normalisation), HTML text and scripts, history, the title and address as text,
// the loading state, the read-and-clear page-event queries, and zoom.
//
// Each operation is one call into the engine on the record's view (or, for zoom,
// its controller), framed by the id check and the text conversions. None of them
// waits: what a navigation does reaches the program only through the flags that
// the page-event handlers raise (webgorunum_olustur.cpp). Result codes of the
// engine are not examined; an operation reports 0 once the call has been made.
//
// A missing view (invalid id, failed creation, closed web view) gives -1 for an
// action, 0 for a yes/no query or the percentage, and {nullptr, 0} for a text.
#include "webview/webgorunum_win_cz.h"

#include <cstdlib>
#include <cstring>

#include "tr_metin_sinir.h"
#include "webview/webgorunum_ic.h"

namespace {

// Addresses that start with one of these are loaded unchanged (case matters);
// anything else is loaded with kVarsayilanOnek in front. A source view carries its
// page's address after its prefix.
constexpr const char* kKorunanOnekler[] = {"http://", "https://", "file://", "about:", "view-source:", "data:"};
constexpr char kVarsayilanOnek[] = "https://";
constexpr char kBasliksizSayfa[] = "Yeni Sekme";
constexpr double kYakinlikAdimi = 0.1;
constexpr double kEnKucukYakinlik = 0.2;  // zooming out needs a factor above this
constexpr double kNormalYakinlik = 1.0;

ICoreWebView2* sayfa(int64_t id) {
    Gorunum* kayit = gorunum_bul(id);
    return kayit != nullptr ? kayit->webview : nullptr;
}

// The view of a program's navigation: one asked whether it may close is no longer
// being asked, since the program took it elsewhere.
ICoreWebView2* gezilecek_sayfa(int64_t id) {
    Gorunum* kayit = gorunum_bul(id);
    if (kayit == nullptr) return nullptr;
    if (kayit->webview != nullptr && kayit->kapanis_soruluyor != 0) kapanis_sorusunu_birak(*kayit);
    return kayit->webview;
}

// A copy of a text kept by the runtime, as the text queries give theirs.
TrMetin kopya_metin(const char* metin) {
    const size_t uzunluk = std::strlen(metin);
    char* blok = static_cast<char*>(std::malloc(uzunluk + 1));
    if (blok == nullptr) return {nullptr, 0};
    std::memcpy(blok, metin, uzunluk + 1);
    return {blok, static_cast<int64_t>(uzunluk)};
}

// A page being asked whether it may close shows no events until it has answered.
bool soruluyor(const Gorunum* kayit) { return kayit != nullptr && kayit->kapanis_soruluyor != 0; }

ICoreWebView2Controller* denetleyici(int64_t id) {
    Gorunum* kayit = gorunum_bul(id);
    return kayit != nullptr ? kayit->controller : nullptr;
}

// Bytes of a text argument before its first zero byte.
size_t kullanilan_uzunluk(const char* bytes, int64_t length) {
    if (bytes == nullptr || length <= 0) return 0;
    const void* sifir = std::memchr(bytes, 0, static_cast<size_t>(length));
    return sifir != nullptr ? static_cast<size_t>(static_cast<const char*>(sifir) - bytes)
                            : static_cast<size_t>(length);
}

bool onekle_basliyor(const char* bytes, size_t uzunluk, const char* onek) {
    const size_t onek_uzunlugu = std::strlen(onek);
    return uzunluk >= onek_uzunlugu && std::memcmp(bytes, onek, onek_uzunlugu) == 0;
}

bool korunan_adres(const char* bytes, size_t uzunluk) {
    for (const char* onek : kKorunanOnekler) {
        if (onekle_basliyor(bytes, uzunluk, onek)) return true;
    }
    return false;
}

// Loads what the user typed: no trimming, no change of case, no guess between an
// address and a search.
int64_t adres_yukle(ICoreWebView2* webview, const char* bytes, int64_t length) {
    const size_t uzunluk = kullanilan_uzunluk(bytes, length);
    if (korunan_adres(bytes, uzunluk)) {
        GenisMetin adres(bytes, static_cast<int64_t>(uzunluk));
        if (!adres.gecerli()) return -1;
        webview->Navigate(adres.c_str());
        return 0;
    }
    const size_t onek_uzunlugu = sizeof(kVarsayilanOnek) - 1;
    if (uzunluk > static_cast<size_t>(INT32_MAX)) return -1;
    char* tam = static_cast<char*>(std::malloc(onek_uzunlugu + uzunluk + 1));
    if (tam == nullptr) return -1;
    std::memcpy(tam, kVarsayilanOnek, onek_uzunlugu);
    if (uzunluk > 0) std::memcpy(tam + onek_uzunlugu, bytes, uzunluk);
    tam[onek_uzunlugu + uzunluk] = '\0';
    GenisMetin adres(tam, static_cast<int64_t>(onek_uzunlugu + uzunluk));
    std::free(tam);
    if (!adres.gecerli()) return -1;
    webview->Navigate(adres.c_str());
    return 0;
}

// Hands a text to one of the view's methods that take a single string.
int64_t metin_ver(ICoreWebView2* webview, HRESULT (STDMETHODCALLTYPE ICoreWebView2::*islem)(LPCWSTR),
                  const char* bytes, int64_t length) {
    GenisMetin metin(bytes, length);
    if (!metin.gecerli()) return -1;
    (webview->*islem)(metin.c_str());
    return 0;
}

// Asks the view for a string. A view that gives none gets `yedek` (with storage,
// possibly empty) instead.
TrMetin metin_al(ICoreWebView2* webview, HRESULT (STDMETHODCALLTYPE ICoreWebView2::*soru)(LPWSTR*),
                 const char* yedek) {
    LPWSTR metin = nullptr;
    (webview->*soru)(&metin);
    if (metin != nullptr) {
        TrMetin sonuc = utf8_metin(metin, -1, true);
        CoTaskMemFree(metin);
        if (sonuc.ptr != nullptr) return sonuc;
    }
    return kopya_metin(yedek);
}

bool gecmiste_gidebilir(ICoreWebView2* webview, HRESULT (STDMETHODCALLTYPE ICoreWebView2::*soru)(BOOL*)) {
    BOOL gidebilir = FALSE;
    (webview->*soru)(&gidebilir);
    return gidebilir != FALSE;
}

int64_t eylem(int64_t id, HRESULT (STDMETHODCALLTYPE ICoreWebView2::*islem)()) {
    ICoreWebView2* webview = gezilecek_sayfa(id);
    if (webview == nullptr) return -1;
    (webview->*islem)();
    return 0;
}

// Reports a flag once and lowers it.
int64_t bayragi_oku_temizle(int32_t& bayrak) {
    if (bayrak == 0) return 0;
    bayrak = 0;
    return 1;
}

double yakinlik_oku(ICoreWebView2Controller* controller) {
    double yakinlik = kNormalYakinlik;
    controller->get_ZoomFactor(&yakinlik);
    return yakinlik;
}

}  // namespace

// ---- Navigation and scripts -----------------------------------------------------

int64_t _tr_webgorunum_yukle(int64_t view, const char* address, int64_t length) noexcept {
    ICoreWebView2* webview = gezilecek_sayfa(view);
    if (webview == nullptr) return -1;
    return adres_yukle(webview, address, length);
}

int64_t _tr_webgorunum_html_yukle(int64_t view, const char* html, int64_t length) noexcept {
    ICoreWebView2* webview = gezilecek_sayfa(view);
    if (webview == nullptr) return -1;
    return metin_ver(webview, &ICoreWebView2::NavigateToString, html, length);
}

int64_t _tr_webgorunum_js_calistir(int64_t view, const char* script, int64_t length) noexcept {
    ICoreWebView2* webview = sayfa(view);
    if (webview == nullptr) return -1;
    GenisMetin betik(script, length);
    if (!betik.gecerli()) return -1;
    // No completion handler: the script's result is never delivered.
    webview->ExecuteScript(betik.c_str(), nullptr);
    return 0;
}

namespace {

int64_t sonraki_betik_istegi = 1;

}  // namespace

BetikIstegi betik_istegi_baslat(Gorunum& kayit, int64_t view) {
    const BetikIstegi istek = {view, sonraki_betik_istegi++};
    kayit.betik_istegi = istek.istek;
    kayit.betik_sonucu_geldi = 0;
    return istek;
}

bool son_betik_istegi_mi(const BetikIstegi& istek) {
    const Gorunum* kayit = gorunum_bul(istek.gorunum);
    return kayit != nullptr && kayit->webview != nullptr && kayit->betik_istegi == istek.istek;
}

HRESULT betik_sonucunu_kaydet(BetikIstegi& istek, HRESULT kod, LPCWSTR json) {
    Gorunum* kayit = gorunum_bul(istek.gorunum);
    if (kayit == nullptr || kayit->betik_istegi != istek.istek) return S_OK;
    const TrMetin sonuc = utf8_metin(SUCCEEDED(kod) && json != nullptr ? json : L"null", -1, true);
    if (sonuc.ptr == nullptr) return S_OK;
    std::free(kayit->betik_sonucu);
    kayit->betik_sonucu = sonuc.ptr;
    kayit->betik_sonucu_geldi = 1;
    return S_OK;
}

int64_t _tr_webgorunum_js_sonuclu_calistir(int64_t view, const char* script, int64_t length) noexcept {
    ICoreWebView2* webview = sayfa(view);
    if (webview == nullptr) return -1;
    GenisMetin betik(script, length);
    if (!betik.gecerli()) return -1;
    const BetikIstegi istek = betik_istegi_baslat(*gorunum_bul(view), view);
    Microsoft::WRL::ComPtr<BetikSonucuIsleyicisi> isleyici =
        BetikSonucuIsleyicisi::olustur(&betik_sonucunu_kaydet, istek);
    if (!isleyici) return -1;
    if (FAILED(webview->ExecuteScript(betik.c_str(), isleyici.Get()))) return -1;
    return 0;
}

int64_t _tr_webgorunum_js_sonucu_geldi_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr ? bayragi_oku_temizle(kayit->betik_sonucu_geldi) : 0;
}

TrMetin _tr_webgorunum_js_sonucu_al(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->betik_sonucu == nullptr) return {nullptr, 0};
    const size_t uzunluk = std::strlen(kayit->betik_sonucu);
    char* kopya = static_cast<char*>(std::malloc(uzunluk + 1));
    if (kopya == nullptr) return {nullptr, 0};
    std::memcpy(kopya, kayit->betik_sonucu, uzunluk + 1);
    return {kopya, static_cast<int64_t>(uzunluk)};
}

int64_t _tr_webgorunum_geri(int64_t view) noexcept {
    ICoreWebView2* webview = gezilecek_sayfa(view);
    if (webview == nullptr || !gecmiste_gidebilir(webview, &ICoreWebView2::get_CanGoBack)) return -1;
    webview->GoBack();
    return 0;
}

int64_t _tr_webgorunum_ileri(int64_t view) noexcept {
    ICoreWebView2* webview = gezilecek_sayfa(view);
    if (webview == nullptr || !gecmiste_gidebilir(webview, &ICoreWebView2::get_CanGoForward)) {
        return -1;
    }
    webview->GoForward();
    return 0;
}

int64_t _tr_webgorunum_yenile(int64_t view) noexcept { return eylem(view, &ICoreWebView2::Reload); }

int64_t _tr_webgorunum_durdur(int64_t view) noexcept { return eylem(view, &ICoreWebView2::Stop); }

// ---- Page state ---------------------------------------------------------------------

int64_t _tr_webgorunum_geri_gidebilir_mi(int64_t view) noexcept {
    ICoreWebView2* webview = sayfa(view);
    return webview != nullptr && gecmiste_gidebilir(webview, &ICoreWebView2::get_CanGoBack) ? 1 : 0;
}

int64_t _tr_webgorunum_ileri_gidebilir_mi(int64_t view) noexcept {
    ICoreWebView2* webview = sayfa(view);
    return webview != nullptr && gecmiste_gidebilir(webview, &ICoreWebView2::get_CanGoForward) ? 1 : 0;
}

TrMetin _tr_webgorunum_baslik_al(int64_t view) noexcept {
    ICoreWebView2* webview = sayfa(view);
    if (webview == nullptr) return {nullptr, 0};
    if (soruluyor(gorunum_bul(view))) return kopya_metin(gorunum_bul(view)->kapanis_basligi);
    return metin_al(webview, &ICoreWebView2::get_DocumentTitle, kBasliksizSayfa);
}

TrMetin _tr_webgorunum_adres_al(int64_t view) noexcept {
    ICoreWebView2* webview = sayfa(view);
    if (webview == nullptr) return {nullptr, 0};
    if (soruluyor(gorunum_bul(view))) return kopya_metin(gorunum_bul(view)->kapanis_adresi);
    return metin_al(webview, &ICoreWebView2::get_Source, "");
}

// Loading means: no navigation has completed since the web view was made or since
// _tr_webgorunum_yuklenme_bitti_mi last reported one. There is no finer progress.
int64_t _tr_webgorunum_yukleniyor_mu(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && kayit->webview != nullptr && kayit->yuklenme_bitti == 0 && !soruluyor(kayit) ? 1 : 0;
}

int64_t _tr_webgorunum_yuklenme_yuzdesi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return 0;
    return kayit->yuklenme_bitti != 0 || soruluyor(kayit) ? 100 : 50;
}

// ---- Page events ----------------------------------------------------------------------

int64_t _tr_webgorunum_baslik_degisti_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && !soruluyor(kayit) ? bayragi_oku_temizle(kayit->baslik_degisti) : 0;
}

int64_t _tr_webgorunum_adres_degisti_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && !soruluyor(kayit) ? bayragi_oku_temizle(kayit->adres_degisti) : 0;
}

int64_t _tr_webgorunum_yuklenme_bitti_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && !soruluyor(kayit) ? bayragi_oku_temizle(kayit->yuklenme_bitti) : 0;
}

int64_t _tr_webgorunum_gezinti_tamamlandi_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && !soruluyor(kayit) ? bayragi_oku_temizle(kayit->gezinti_tamamlandi) : 0;
}

int64_t _tr_webgorunum_gezinti_hatasi(int64_t view) noexcept {
    const Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && kayit->gezinti_hatasi > 0 ? kayit->gezinti_hatasi - 1 : -1;
}

// ---- What the page asks of its browser ------------------------------------------------

int64_t _tr_webgorunum_kapatma_istendi_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    // A page whose process failed while it was being asked cannot answer: it goes.
    if (soruluyor(kayit) && kayit->cokme != 0) {
        kayit->cokme = 0;
        return 1;
    }
    return kayit != nullptr ? bayragi_oku_temizle(kayit->kapatma_istendi) : 0;
}

int64_t _tr_webgorunum_yeni_pencere_istendi_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr ? bayragi_oku_temizle(kayit->yeni_pencere_istendi) : 0;
}

TrMetin _tr_webgorunum_yeni_pencere_adresi_al(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->yeni_pencere_adresi == nullptr) return {nullptr, 0};
    const size_t uzunluk = std::strlen(kayit->yeni_pencere_adresi);
    char* kopya = static_cast<char*>(std::malloc(uzunluk + 1));
    if (kopya == nullptr) return {nullptr, 0};
    std::memcpy(kopya, kayit->yeni_pencere_adresi, uzunluk + 1);
    return {kopya, static_cast<int64_t>(uzunluk)};
}

int64_t _tr_webgorunum_yeni_pencere_arkada_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr && kayit->yeni_pencere_arkada != 0 ? 1 : 0;
}

int64_t _tr_webgorunum_coktu_mu(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || soruluyor(kayit)) return 0;
    const int64_t cokme = kayit->cokme;
    kayit->cokme = 0;
    return cokme;
}

int64_t _tr_webgorunum_durum_metni_degisti_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr ? bayragi_oku_temizle(kayit->durum_metni_degisti) : 0;
}

// The engine's status-bar text, empty (with storage) when it has none; the empty
// text value without storage when the view or the interface is missing.
TrMetin _tr_webgorunum_durum_metni_al(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview12 == nullptr) return {nullptr, 0};
    LPWSTR metin = nullptr;
    kayit->webview12->get_StatusBarText(&metin);
    TrMetin sonuc = utf8_metin(metin != nullptr ? metin : L"", -1, true);
    CoTaskMemFree(metin);
    return sonuc;
}

int64_t _tr_webgorunum_tam_ekran_degisti_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr ? bayragi_oku_temizle(kayit->tam_ekran_degisti) : 0;
}

int64_t _tr_webgorunum_tam_ekranda_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview == nullptr) return 0;
    BOOL tam = FALSE;
    return SUCCEEDED(kayit->webview->get_ContainsFullScreenElement(&tam)) && tam ? 1 : 0;
}

// ---- Sound ---------------------------------------------------------------------------------

int64_t _tr_webgorunum_ses_degisti_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    return kayit != nullptr ? bayragi_oku_temizle(kayit->ses_degisti) : 0;
}

int64_t _tr_webgorunum_ses_caliyor_mu(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview8 == nullptr) return 0;
    BOOL caliyor = FALSE;
    return SUCCEEDED(kayit->webview8->get_IsDocumentPlayingAudio(&caliyor)) && caliyor ? 1 : 0;
}

int64_t _tr_webgorunum_sessiz_mi(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview8 == nullptr) return 0;
    BOOL sessiz = FALSE;
    return SUCCEEDED(kayit->webview8->get_IsMuted(&sessiz)) && sessiz ? 1 : 0;
}

int64_t _tr_webgorunum_sessiz_yap(int64_t view, int64_t sessiz) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->webview8 == nullptr) return 0;
    return SUCCEEDED(kayit->webview8->put_IsMuted(sessiz != 0 ? TRUE : FALSE)) ? 1 : 0;
}

// ---- Zoom ---------------------------------------------------------------------------------

// No upper limit of the runtime's own; the engine may apply one.
int64_t _tr_webgorunum_yakinlastir(int64_t view) noexcept {
    ICoreWebView2Controller* controller = denetleyici(view);
    if (controller == nullptr) return -1;
    controller->put_ZoomFactor(yakinlik_oku(controller) + kYakinlikAdimi);
    return 0;
}

int64_t _tr_webgorunum_uzaklastir(int64_t view) noexcept {
    ICoreWebView2Controller* controller = denetleyici(view);
    if (controller == nullptr) return -1;
    const double yakinlik = yakinlik_oku(controller);
    if (yakinlik > kEnKucukYakinlik) controller->put_ZoomFactor(yakinlik - kYakinlikAdimi);
    return 0;
}

int64_t _tr_webgorunum_yakinlik_sifirla(int64_t view) noexcept {
    ICoreWebView2Controller* controller = denetleyici(view);
    if (controller == nullptr) return -1;
    controller->put_ZoomFactor(kNormalYakinlik);
    return 0;
}

int64_t _tr_webgorunum_yakinlik_ayarla(int64_t view, int64_t percent) noexcept {
    ICoreWebView2Controller* controller = denetleyici(view);
    if (controller == nullptr || percent < 25 || percent > 500) return -1;
    controller->put_ZoomFactor(static_cast<double>(percent) / 100.0);
    return 0;
}

int64_t _tr_webgorunum_yakinlik_al(int64_t view) noexcept {
    ICoreWebView2Controller* controller = denetleyici(view);
    if (controller == nullptr) return -1;
    return static_cast<int64_t>(yakinlik_oku(controller) * 100.0 + 0.5);
}
