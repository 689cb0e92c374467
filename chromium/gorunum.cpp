// A controller and its view over one page target (see gorunum.h).
#include "gorunum.h"
#include "kayit_diyalogu.h"
#include "metinler.h"
#include "zamanlayicilar.h"
#include "yerine_yazma.h"
#include "sertifika_argumanlari.h"

#include <cmath>
#include <cstring>

using namespace protokol;

// True for an absolute address: a scheme, a colon, and for the network schemes a host.
static bool mutlak_adres_mi(const std::wstring& adres)
{
    size_t iki_nokta = adres.find(L':');
    if (iki_nokta == 0 || iki_nokta == std::wstring::npos || !iswalpha(adres[0]))
        return false;
    for (size_t i = 0; i < iki_nokta; ++i)
        if (!iswalnum(adres[i]) && adres[i] != L'+' && adres[i] != L'-' && adres[i] != L'.')
            return false;
    std::wstring sema = adres.substr(0, iki_nokta);
    for (auto& c : sema)
        c = towlower(c);
    if (sema == L"http" || sema == L"https" || sema == L"ws" || sema == L"wss" || sema == L"ftp") {
        if (adres.compare(iki_nokta, 3, L"://") != 0)
            return false;
        size_t ev = iki_nokta + 3;
        return ev < adres.size() && adres[ev] != L'/' && adres[ev] != L'?' && adres[ev] != L'#';
    }
    return iki_nokta + 1 < adres.size();
}

static HRESULT metin_ver(LPWSTR* deger, const std::wstring& metin)
{
    if (!deger)
        return E_POINTER;
    *deger = gorev_kopyasi(metin);
    return *deger ? S_OK : E_OUTOFMEMORY;
}

// Views are numbered as they are shown: the last one shown is the engine's front page.
static uint64_t g_son_gosterilme;

#define GIRIS()                \
    if (kapali_)               \
        return WV2_E_KAPALI;

// A view with no target yet makes the host's call on its page again once it has one
// (see hedef_varken): `cagri` with the arguments captured as named after it.
#define HEDEF_GELINCE(cagri, ...)                                           \
    if (hedefsiz_) {                                                        \
        Microsoft::WRL::ComPtr<Gorunum> koru(this);                         \
        hedef_varken([koru, ##__VA_ARGS__] { koru->cagri; });               \
        return S_OK;                                                        \
    }

Gorunum::Gorunum(HedefAgi& hedefler, std::shared_ptr<Baglanti> baglanti, std::string hedef, std::string oturum)
    : hedefler_(hedefler),
      baglanti_(std::move(baglanti)),
      hedef_(std::move(hedef)),
      oturum_(std::move(oturum)),
      ekran_(*this)
{
    hedefsiz_ = hedef_.empty();
    yoneticileri_kur(L"about:blank");
}

void Gorunum::yoneticileri_kur(std::wstring adres)
{
    // What the old target's page had open (a list, a dialog) goes with it.
    if (secimler_)
        secimler_->kapat();
    if (diyaloglar_)
        diyaloglar_->kapat();
    yardimci_.emplace(hedef_);
    yonlendirici_.emplace(*yardimci_, kapali_);
    girdi_.emplace(*this, *this);
    girdi_->oran_koy(ekran_.oran());
    gezintiler_.emplace(*this, *this, hedef_, std::move(adres));
    betikler_.emplace(*this, *this, hedef_, *yardimci_);
    secimler_.emplace(*this, *this, hedef_);
    diyaloglar_.emplace(*this, *this, hedef_);
    dosyalar_.emplace(*this, *this);
    imlec_.emplace(*this, hedef_);
    pano_.emplace(*this, hedef_, *yardimci_);
    baglam_menusu_.emplace(*this, *this, hedef_);
    cagrilar_.emplace(*this, hedef_);
    yazdirma_.emplace(*this, *this, hedef_);
    izinler_.emplace(*this, [this](ICoreWebView2PermissionRequestedEventArgs* arguman) { izin_istegini_yay(arguman); });
    // A fresh target starts silent, and muted when the view is.
    ses_.emplace(*this, *this, hedef_, *yardimci_);
    ses_caliyor_koy(false);
    ses_->sessiz_koy(sessiz_mi());
    sertifikalar_.emplace(*this, *this);
    baglam_menusu_->oran_koy(ekran_.oran());
    if (pencere_) {
        imlec_->pencere_koy(pencere_);
        pano_->pencere_koy(pencere_);
        baglam_menusu_->pencere_koy(pencere_);
    }
    olaylari_yonlendir();
}

// ---------------------------------------------------------------------------
// Setting up and placing.

void Gorunum::kur(const RECT& alan, std::function<void(HRESULT)> bitti)
{
    // The engine answers Page.enable, and the commands after it, only once the page
    // has its renderer. The view is ready when every answer is in; a navigation
    // started before could commit unseen.
    struct Kurulum {
        bool basarisiz = false;
        int bekleyen = 0;
        std::function<void(HRESULT)> bitti;
    };
    auto kurulum = std::make_shared<Kurulum>();
    kurulum->bitti = std::move(bitti);
    // Answers come only while the view is open and on this target (see gonder).
    Yanit yanit = [this, kurulum](const Json&, const Json* hata) {
        if (hata)
            kurulum->basarisiz = true;
        if (--kurulum->bekleyen != 0)
            return;
        ekran_.kuruldu();
        kurulum->bitti(kurulum->basarisiz ? E_FAIL : S_OK);
    };
    // Counted before anything is sent: no answer comes inside a call.
    for (const char* yontem : {PageEnable::YONTEM, NetworkEnable::YONTEM, RuntimeEnable::YONTEM,
                               InspectorEnable::YONTEM}) {
        ++kurulum->bekleyen;
        gonder(yontem, Json::object(), yanit);
    }
    kurulum->bekleyen += betikler_->kur(yanit);
    kurulum->bekleyen += secimler_->kur(yanit);
    kurulum->bekleyen += dosyalar_->kur(yanit);
    kurulum->bekleyen += imlec_->kur(yanit);
    kurulum->bekleyen += pano_->kur(yanit);
    kurulum->bekleyen += baglam_menusu_->kur(yanit);
    kurulum->bekleyen += yazdirma_->kur(yanit);
    kurulum->bekleyen += izinler_->kur(yanit);
    kurulum->bekleyen += ses_->kur(yanit);
    kurulum->bekleyen += sertifikalar_->kur(yanit);
    // Documents are held before they load, so that a navigation can be canceled.
    ++kurulum->bekleyen;
    gonder(FetchEnable{{{"*", "Document", "Request"}}}, yanit);
    kurulum->bekleyen += ekran_.kur(alan, yanit);
    kurulum->bekleyen += gezintiler_->kur(yanit);
}

HRESULT Gorunum::yerlestir(HWND ebeveyn)
{
    if (kapali_ || !IsWindow(ebeveyn))
        return E_INVALIDARG;
    ebeveyn_ = ebeveyn;
    RECT alan;
    GetClientRect(ebeveyn_, &alan);
    verilen_alan_ = alan;
    olcegi_baslat(ebeveyn_);
    ekran_.olcek_koy(rasterlestirme_olcegi());
    girdi_->oran_koy(ekran_.oran());
    baglam_menusu_->oran_koy(ekran_.oran());
    ekran_.alan_koy(alan);
    pencere_ = sayfa_penceresi_olustur(ebeveyn_, alan, this);
    if (!pencere_)
        return E_FAIL;
    ekran_.pencere_hazir(pencere_);
    imlec_->pencere_koy(pencere_);
    pano_->pencere_koy(pencere_);
    baglam_menusu_->pencere_koy(pencere_);
    gosterilme_sirasi_ = ++g_son_gosterilme;
    // A view placed in a host that is not on screen yet (a new tab, shown once it
    // is in its window) leaves a page that is shown in front until it is shown
    // itself: taking the front now and giving it back when the host hides it would
    // make both pages change their visibility, and wait for it, twice.
    if (ekran_.ekranda() || !hedefler_.gosterilen_on_sayfa_var())
        one_getir();
    hedefler_.ekran_olcegini_ayarla();
    return S_OK;
}

void Gorunum::one_getir()
{
    if (!kapali_ && pencere_ && ekran_.gorunur() && !coktu_) {
        gonder(BringToFront{}, [](const Json&, const Json*) {});
        hedefler_.one_getirildi(this);
    }
}

// A page window that comes on screen with its host is painted: a view placed while
// its host was hidden starts its frames and takes the engine's front page then.
void Gorunum::boya(HDC dc, const RECT& alan)
{
    if (!kapali_ && ekran_.pencere_boyaniyor())
        one_getir();
    ekran_.boya(dc, alan);
}


double Gorunum::gereken_olcek() const
{
    return !kapali_ && pencere_ && ekran_.gorunur() ? ekran_.oran() : 0;
}

void Gorunum::kapat()
{
    kapali_ = true;
    gezintiler_->surec_oldu();
    secimler_->kapat();
    diyaloglar_->kapat();
    if (baglanti_->acik_mi() && !hedefsiz_)
        baglanti_->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef_}));
    hedef_gelince_.clear();
    aboneleri_birak();
    if (pencere_) {
        DestroyWindow(pencere_);
        pencere_ = nullptr;
    }
    ayarlar_.Reset();
    hedefler_.hedef_kapandi(this);
    hedefler_.ekran_olcegini_ayarla();
}

// ---------------------------------------------------------------------------
// The outbox: the target's session. Answers come only while the view is open; to a
// page whose process died nothing goes but a load, and anything else is answered at
// once with an error, since the engine would not answer until a load.

// Commands that do not depend on the page's size; every other one is preceded by a
// size the engine has not been given yet (see ekran.h), so that a script, an input
// event or a load meets the page at the size the host gave last.
static bool olcuden_bagimsiz(const char* yontem)
{
    return !strcmp(yontem, SetDeviceMetricsOverride::YONTEM) || !strcmp(yontem, StartScreencast::YONTEM) ||
           !strcmp(yontem, StopScreencast::YONTEM) || !strcmp(yontem, BringToFront::YONTEM);
}

void Gorunum::gonder(const char* yontem, Json parametreler, Yanit yanit)
{
    if (!olcuden_bagimsiz(yontem))
        ekran_.bekleyen_olcuyu_gonder();
    if (denetim_.beklet(yontem, parametreler, yanit))
        return;
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    const uint64_t nesil = hedef_nesli_;
    bool yukleme = !strcmp(yontem, Reload::YONTEM) || !strcmp(yontem, Navigate::YONTEM);
    if (hedefsiz_ || (coktu_ && !yukleme)) {
        if (yanit)
            Baglanti::ui_da_calistir([koru, yanit, nesil] {
                Json hata = {{"code", -1},
                             {"message", koru->hedefsiz_ ? "the view has no page yet" : "the page's process has exited"}};
                if (!koru->kapali_ && koru->hedef_nesli_ == nesil)
                    yanit(Json::object(), &hata);
            });
        return;
    }
    Baglanti::Yanit sarili;
    if (yanit)
        sarili = [koru, yanit, yontem, nesil](const Json& sonuc, const Json* hata) {
            gunluge_yaz(koru->oturum_, std::string("<- ") + yontem, hata ? *hata : sonuc);
            // An answer from a target the view has left goes to managers made since.
            if (!koru->kapali_ && koru->hedef_nesli_ == nesil)
                yanit(sonuc, hata);
        };
    gunluge_yaz(oturum_, std::string("-> ") + yontem, parametreler);
    baglanti_->gonder(yontem, std::move(parametreler), oturum_, std::move(sarili));
}

// The stream is the page's: a fresh target starts one of its own. While the view has
// no page to send to, or moves to a fresh one, the command goes the usual way (which
// fails it, or keeps it for the fresh target).
void Gorunum::sirayla_gonder(const char* yontem, Json parametreler, const Birlestir& birlestir)
{
    if (hedefsiz_ || coktu_ || denetim_.tasiniyor_mu()) {
        gonder(yontem, std::move(parametreler), nullptr);
        return;
    }
    ekran_.bekleyen_olcuyu_gonder();
    gunluge_yaz(oturum_, std::string("-> ") + yontem, parametreler);
    baglanti_->sirayla_gonder(std::string(yontem) + " " + oturum_, yontem, std::move(parametreler), oturum_, birlestir);
}

void Gorunum::motora_gonder(const char* yontem, Json parametreler, Yanit yanit)
{
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    Baglanti::Yanit sarili;
    if (yanit)
        sarili = [koru, yanit](const Json& sonuc, const Json* hata) {
            if (!koru->kapali_)
                yanit(sonuc, hata);
        };
    baglanti_->gonder(yontem, std::move(parametreler), std::string(), std::move(sarili));
}

bool Gorunum::sonra(std::function<void()> is)
{
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    const uint64_t nesil = hedef_nesli_;
    return Baglanti::ui_da_calistir([koru, is, nesil] {
        if (!koru->kapali_ && koru->hedef_nesli_ == nesil)
            is();
    });
}

bool Gorunum::zamanla(unsigned ms, std::function<void()> is)
{
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    const uint64_t nesil = hedef_nesli_;
    return sonra_calistir(ms, [koru, is, nesil] {
        if (!koru->kapali_ && koru->hedef_nesli_ == nesil)
            is();
    }) != 0;
}

// ---------------------------------------------------------------------------
// A page that stops answering: the watch (yanit_denetimi.h) decides, the view
// changes targets.

void Gorunum::hedeften_ayril()
{
    ++hedef_nesli_;
    ekran_.surec_oldu();
    hedefler_.hedef_kapandi(this);
    baglanti_->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef_}));
}

void Gorunum::taze_hedef_iste(std::function<void(std::string hedef, std::string oturum)> geldi)
{
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    hedefler_.sayfa_hedefi_olustur(baglanti_, [koru, geldi](std::string hedef, std::string oturum) {
        if (koru->kapali_) {
            if (!hedef.empty())
                koru->baglanti_->gonder(CloseTarget::YONTEM, Json(CloseTarget{hedef}));
            return;
        }
        geldi(std::move(hedef), std::move(oturum));
    });
}

void Gorunum::taze_hedefe_gec(std::string hedef, std::string oturum)
{
    if (!oturum.empty()) {
        hedef_ = std::move(hedef);
        oturum_ = std::move(oturum);
        hedefler_.hedef_acildi(this);
        yoneticileri_kur(gezintiler_->adres());
        coktu_ = false;
        kur(ekran_.alan(), [](HRESULT) {});
        baglanti_->gonder(RunIfWaitingForDebugger::YONTEM, Json::object(), oturum_);
        // Made in the background, as every target: a shown view's page must be the
        // engine's front page to paint.
        one_getir();
    }
    // With no fresh target, the view stays as a page whose process died: loads go
    // nowhere, everything else fails at once.
    surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE);
}

// ---------------------------------------------------------------------------
// From the engine: every event goes to its one owner (yonlendirici.h).

void Gorunum::olay(const std::string& yontem, const Json& p)
{
    if (kapali_)
        return;
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    yonlendirici_->ilet(yontem, p);
}

void Gorunum::olaylari_yonlendir()
{
    Yonlendirici& yonlendirici = *yonlendirici_;
    gezintiler_->yonlendir(yonlendirici);
    betikler_->yonlendir(yonlendirici);
    secimler_->yonlendir(yonlendirici);
    dosyalar_->yonlendir(yonlendirici);
    imlec_->yonlendir(yonlendirici);
    pano_->yonlendir(yonlendirici);
    baglam_menusu_->yonlendir(yonlendirici);
    yazdirma_->yonlendir(yonlendirici);
    izinler_->yonlendir(yonlendirici);
    ses_->yonlendir(yonlendirici);
    sertifikalar_->yonlendir(yonlendirici);
    // The events several parts must see are the view's, handed on below.
    yonlendirici.sahiplen(FrameNavigated::YONTEM, [this](const Json& p) { cerceve_gezindi(p); });
    yonlendirici.sahiplen(DocumentOpened::YONTEM, [this](const Json& p) { belge_yeniden_acildi(p); });
    yonlendirici.sahiplen(JavascriptDialogOpening::YONTEM, [this](const Json& p) { diyalog_acildi(p); });
    yonlendirici.sahiplen(JavascriptDialogClosed::YONTEM, [this](const Json& p) { diyalog_kapandi(p); });
    yonlendirici.sahiplen(ExecutionContextCreated::YONTEM, [this](const Json& p) { baglam_olustu(p); });
    yonlendirici.sahiplen(ExecutionContextDestroyed::YONTEM, [this](const Json& p) { baglam_bitti(p); });
    yonlendirici.sahiplen(ExecutionContextsCleared::YONTEM, [this](const Json&) { baglamlar_temizlendi(); });
    yonlendirici.sahiplen(TargetCrashed::YONTEM, [this](const Json&) { hedef_coktu(); });
    yonlendirici.sahiplen(TargetReloadedAfterCrash::YONTEM, [this](const Json&) { yukleme_basliyor(); });
}

// ---------------------------------------------------------------------------
// Events several parts must see: each is decoded once here and handed to them in
// turn. What one of them raises to the host may close the view; the rest then
// hear nothing.

void Gorunum::cerceve_gezindi(const Json& p)
{
    FrameNavigated olay;
    if (!oku(p, &olay))
        return;
    const bool ust_belge = olay.frame.id == hedef_ && olay.frame.parentId.empty();
    if (ust_belge) {
        denetim_.taahhut_edildi();
        // A document's full screen ends with it; its script cannot say so.
        tam_ekran_degisti(false);
        if (kapali_)
            return;
    }
    gezintiler_->cerceve_gezindi(olay);
    if (kapali_)
        return;
    betikler_->belge_acildi(olay.frame);
    secimler_->belge_acildi(olay.frame);
    if (kapali_)
        return;
    diyaloglar_->belge_acildi(olay.frame);
    if (ust_belge)
        ses_->belge_bitti();
}

void Gorunum::belge_yeniden_acildi(const Json& p)
{
    DocumentOpened olay;
    if (!oku(p, &olay))
        return;
    betikler_->belge_acildi(olay.frame);
    ses_->belge_yeniden_acildi(olay.frame);
}

// The navigations hear of a dialog first: one that asks whether the page may be
// left decides the navigation under way.
void Gorunum::diyalog_acildi(const Json& p)
{
    JavascriptDialogOpening olay;
    if (!oku(p, &olay)) {
        diyaloglar_->okunamayan_acildi();
        return;
    }
    gezintiler_->diyalog_acildi(olay);
    if (!kapali_)
        diyaloglar_->acildi(olay);
}

void Gorunum::diyalog_kapandi(const Json& p)
{
    JavascriptDialogClosed olay;
    if (oku(p, &olay))
        gezintiler_->diyalog_kapandi(olay);
    // Closed by the engine (or after our answer: nothing is open then).
    if (!kapali_)
        diyaloglar_->kapat();
}

// The helpers' world hears of a context before the sound does, which asks it
// whether the context is the helpers' newest.
void Gorunum::baglam_olustu(const Json& p)
{
    ExecutionContextCreated olay;
    if (!oku(p, &olay))
        return;
    izinler_->baglam_olustu(olay.context);
    yardimci_->olustu(olay.context);
    ses_->baglam_olustu(olay.context);
}

void Gorunum::baglam_bitti(const Json& p)
{
    ExecutionContextDestroyed olay;
    if (!oku(p, &olay))
        return;
    izinler_->baglam_bitti(olay.executionContextId);
    yardimci_->bitti(olay.executionContextId);
    ses_->calisma_baglami_bitti(olay.executionContextId);
    cagrilar_->baglam_bitti(olay.executionContextId);
}

void Gorunum::baglamlar_temizlendi()
{
    izinler_->baglamlar_temizlendi();
    yardimci_->temizlendi();
    ses_->calisma_baglamlari_temizlendi();
    cagrilar_->baglamlar_temizlendi();
}

void Gorunum::hedef_coktu()
{
    ses_->belge_bitti();
    if (!kapali_)
        surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
}

void Gorunum::hedef_bitti()
{
    if (kapali_ || coktu_)
        return;
    kapatma_istendi();
}

void Gorunum::surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND tur)
{
    if (kapali_)
        return;
    coktu_ = true;
    hedef_gelince_.clear();
    ekran_.surec_oldu();
    tam_ekran_degisti(false);
    if (kapali_)
        return;
    secimler_->kapat();
    diyaloglar_->kapat();
    gezintiler_->surec_oldu();
    auto arguman = sahiplen(Argumanlar::surec(tur));
    olay_yay<ICoreWebView2ProcessFailedEventHandler>(OLAY_PROCESS_FAILED, static_cast<ICoreWebView2*>(this),
                                                     arguman.Get());
}

// ---------------------------------------------------------------------------
// What the managers hand back: the interface's events.

template <class Isleyici>
void Gorunum::bos_olay_yay(GorunumOlayi olay)
{
    auto arguman = sahiplen(Argumanlar::bos());
    olay_yay<Isleyici>(olay, static_cast<ICoreWebView2*>(this), arguman.Get());
}

bool Gorunum::basliyor(const std::wstring& adres, bool yonlendirme, UINT64 kimlik, bool kullanici)
{
    gunluge_yaz(oturum_, "** NavigationStarting", {{"id", kimlik}, {"uri", utf8_e(adres)}});
    auto arguman = sahiplen(Argumanlar::baslama(adres, kullanici, yonlendirme, kimlik));
    olay_yay<ICoreWebView2NavigationStartingEventHandler>(OLAY_NAVIGATION_STARTING,
                                                          static_cast<ICoreWebView2*>(this), arguman.Get());
    return !arguman || !Argumanlar::iptal_mi(arguman.Get());
}

void Gorunum::kaynak_degisti(bool yeni_belge)
{
    auto arguman = sahiplen(Argumanlar::kaynak(yeni_belge ? TRUE : FALSE));
    olay_yay<ICoreWebView2SourceChangedEventHandler>(OLAY_SOURCE_CHANGED, static_cast<ICoreWebView2*>(this),
                                                     arguman.Get());
}

void Gorunum::icerik_yukleniyor()
{
    bos_olay_yay<ICoreWebView2ContentLoadingEventHandler>(OLAY_CONTENT_LOADING);
}

void Gorunum::gecmis_degisti()
{
    bos_olay_yay<ICoreWebView2HistoryChangedEventHandler>(OLAY_HISTORY_CHANGED);
}

void Gorunum::tamamlandi(bool basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik)
{
    gunluge_yaz(oturum_, "** NavigationCompleted",
                {{"id", kimlik}, {"success", basarili}, {"status", static_cast<int>(durum)}});
    denetim_.taahhut_edildi();   // a text document commits nothing the engine reports, but completes
    auto arguman = sahiplen(Argumanlar::tamamlanma(basarili ? TRUE : FALSE, durum, kimlik));
    ekran_.resim_bekleniyor();
    olay_yay<ICoreWebView2NavigationCompletedEventHandler>(OLAY_NAVIGATION_COMPLETED,
                                                           static_cast<ICoreWebView2*>(this), arguman.Get());
    hedefler_.gezinti_tamamlandi();
}

void Gorunum::basligi_oku(std::function<void()> sonra, bool yeni_belge)
{
    betikler_->basligi_oku(std::move(sonra), yeni_belge);
}

void Gorunum::yukleme_basliyor()
{
    hedefler_.yukleme_gidiyor();
    if (!coktu_)
        return;
    coktu_ = false;
    ekran_.surec_dondu();
}

void Gorunum::baslik_degisti()
{
    bos_olay_yay<ICoreWebView2DocumentTitleChangedEventHandler>(OLAY_DOCUMENT_TITLE_CHANGED);
}

void Gorunum::kapatma_istendi()
{
    bos_olay_yay<ICoreWebView2WindowCloseRequestedEventHandler>(OLAY_WINDOW_CLOSE_REQUESTED);
}

static const UINT TAM_EKRAN_YERLESME_MS = 500;

// In headless Chromium an element's full screen makes the engine's own window take
// the engine's screen size (800x600), and leaving it gives the window its old size
// less an 87-pixel frame: either way the page's frames come at that size while the
// page keeps the size it was given. Its size and stream are given again at the
// change, so its frames stay the view's own size; the host decides what the view
// covers meanwhile.
void Gorunum::tam_ekran_degisti(bool tam)
{
    if (tam == tam_ekran_)
        return;
    tam_ekran_ = tam;
    if (!coktu_) {
        ekran_.yeniden_baslat();
        // The engine's window may change only after the page has said so: the size
        // and the stream are given once more when it has settled.
        Microsoft::WRL::ComPtr<Gorunum> koru(this);
        const uint64_t nesil = hedef_nesli_;
        sonra_calistir(TAM_EKRAN_YERLESME_MS, [koru, nesil] {
            if (!koru->kapali_ && !koru->coktu_ && koru->hedef_nesli_ == nesil)
                koru->ekran_.yeniden_baslat();
        });
    }
    bos_olay_yay<ICoreWebView2ContainsFullScreenElementChangedEventHandler>(OLAY_CONTAINS_FULL_SCREEN_ELEMENT_CHANGED);
}

void Gorunum::durum_metni_degisti()
{
    bos_olay_yay<ICoreWebView2StatusBarTextChangedEventHandler>(OLAY_STATUS_BAR_TEXT_CHANGED);
}

// The host may give a view for the new window, handle it itself, or leave it, and
// the page then follows the link itself, having no window of its own to open. A
// popup the engine made for the request (`acilan`) goes to the view given, keeping
// its opener; without one it is closed unfetched, as the engine's own window would
// never show. A request with no popup behind it has the view given load the address.
void Gorunum::pencere_istendi(const std::wstring& adres, bool kullanici, bool acilan)
{
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    const std::string acan = hedef_;
    // Held until the decision has run (or the request is dropped undecided).
    std::shared_ptr<void> bekleyis = acilan ? hedefler_.yeni_pencere_bekleniyor() : nullptr;
    auto arguman = sahiplen(Argumanlar::yeni_pencere(
        adres, kullanici ? TRUE : FALSE, [koru, adres, acilan, acan, bekleyis](ICoreWebView2* yeni, BOOL islendi) {
            // Only a view of this library gets here (yeni_pencere_icin_al checked it).
            Microsoft::WRL::ComPtr<Gorunum> alan(yeni ? static_cast<Gorunum*>(yeni) : nullptr);
            if (acilan)
                koru->hedefler_.acilan_pencere(acan, alan, adres);
            else if (alan)
                alan->acilan_pencereye_gec(std::string(), std::string(), adres);
            if (!alan && !islendi && !koru->kapali_)
                koru->gezintiler_->git(adres, true);
        }));
    if (!arguman)
        return;
    olay_yay<ICoreWebView2NewWindowRequestedEventHandler>(OLAY_NEW_WINDOW_REQUESTED,
                                                          static_cast<ICoreWebView2*>(this), arguman.Get());
    Argumanlar::yeni_pencere_isleyicileri_bitti(arguman.Get());
}

bool Gorunum::tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi)
{
    bool sistem = mesaj == WM_SYSKEYDOWN || mesaj == WM_SYSKEYUP;
    bool basildi = mesaj == WM_KEYDOWN || mesaj == WM_SYSKEYDOWN;
    bool hizlandirici = sistem || GetKeyState(VK_CONTROL) < 0 || (tus >= VK_F1 && tus <= VK_F24) ||
                        tus == VK_ESCAPE;
    if (kapali_ || !hizlandirici)
        return false;
    bool islendi = false;
    if (abonesi_var(OLAY_ACCELERATOR_KEY_PRESSED)) {
        static const COREWEBVIEW2_KEY_EVENT_KIND TURLER[2][2] = {
            {COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP, COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN},
            {COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP, COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN},
        };
        auto arguman = sahiplen(Argumanlar::tus(TURLER[sistem][basildi], static_cast<UINT>(tus), bilgi));
        if (!arguman)
            return false;
        // Raised at once: the host decides here whether the page sees the key.
        olay_yay<ICoreWebView2AcceleratorKeyPressedEventHandler>(
            OLAY_ACCELERATOR_KEY_PRESSED, static_cast<ICoreWebView2Controller*>(this), arguman.Get());
        islendi = Argumanlar::tus_islendi_mi(arguman.Get());
    }
    // Esc the page sees ends its full screen, as a browser's own key does.
    if (!islendi && !kapali_ && basildi && !sistem && tus == VK_ESCAPE && tam_ekran_)
        betikler_->tam_ekrandan_cik();
    return islendi;
}

// ---------------------------------------------------------------------------
// What the page asks the user: lists, dialogs, files.

HWND Gorunum::sahip_pencere() const
{
    return pencere_ ? GetAncestor(pencere_, GA_ROOT) : nullptr;
}

void Gorunum::klavyeyi_geri_ver()
{
    if (!kapali_ && pencere_ && ekran_.gorunur() && GetActiveWindow() == sahip_pencere())
        SetFocus(pencere_);
}

HWND Gorunum::secim_listesi_goster(const RECT& kontrol, std::vector<yerel::SecenekSatiri> satirlar, int secili,
                                   std::function<void(int secenek)> secildi)
{
    if (!pencere_ || !ekran_.gorunur())
        return nullptr;
    RECT ekranda = yerel::kontrolun_ekrandaki_yeri(pencere_, kontrol, ekran_.oran());
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    return yerel::secim_listesi_ac(sahip_pencere(), ekranda, std::move(satirlar), secili,
                                   [koru, secildi](int secenek) {
                                       if (koru->kapali_)
                                           return;
                                       koru->klavyeyi_geri_ver();
                                       secildi(secenek);
                                   });
}

HWND Gorunum::diyalog_goster(const yerel::DiyalogIstegi& istek,
                             std::function<void(const yerel::DiyalogYaniti&)> yanit)
{
    if (!pencere_)
        return nullptr;
    RECT alan;
    GetWindowRect(pencere_, &alan);
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    // A page not shown gets its dialog when it is shown.
    return yerel::diyalog_ac(sahip_pencere(), alan, istek, !ekran_.gorunur(),
                             [koru, yanit](const yerel::DiyalogYaniti& cevap) {
                                 if (koru->kapali_)
                                     return;
                                 koru->klavyeyi_geri_ver();
                                 yanit(cevap);
                             });
}

bool Gorunum::varsayilan_diyaloglar_acik()
{
    BOOL acik = TRUE;
    if (ayarlar_)
        ayarlar_->get_AreDefaultScriptDialogsEnabled(&acik);
    return acik != FALSE;
}

// The system's open-file dialog is modal and runs a loop of its own: it is shown
// from the message loop, not from inside the engine's event, and its answer counts
// only if the view is still open when it returns.
void Gorunum::dosya_sor(bool coklu, const std::wstring& desenler,
                        std::function<void(const std::vector<std::wstring>&)> secildi)
{
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    sonra([koru, coklu, desenler, secildi] {
        std::vector<std::wstring> dosyalar;
        if (!yerel::dosya_sec(koru->sahip_pencere(), coklu, desenler, &dosyalar))
            dosyalar.clear();
        if (koru->kapali_)
            return;
        koru->klavyeyi_geri_ver();
        secildi(dosyalar);
    });
}

// The page's window.print(): as the platform engine shows its own print UI, the
// view asks where to write (the system's save dialog, from the message loop, like
// the file chooser) and prints there; what became of it is the status-bar text.
void Gorunum::yazdirma_istendi()
{
    if (yazdirma_soruluyor_ || son_yazdirma_basislari_ == basislar_)
        return;
    yazdirma_soruluyor_ = true;
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    if (!sonra([koru] {
            std::wstring yol;
            const bool secildi = kayit_yolu_sor(koru->sahip_pencere(), koru->betikler_->baslik(), L".pdf",
                                                metin(Metin::pdf_belgesi), &yol, metin(Metin::pdf_kaydet));
            koru->yazdirma_soruluyor_ = false;
            koru->son_yazdirma_basislari_ = koru->basislar_;
            if (koru->kapali_ || !secildi)
                return;
            koru->klavyeyi_geri_ver();
            const std::wstring ad = yol.substr(yol.find_last_of(L"\\/") + 1);
            koru->yazdirma_->pdf_yaz(yol, [koru, ad](HRESULT sonuc) {
                if (koru->kapali_)
                    return;
                koru->betikler_->durum_metni_koy(
                    metin(SUCCEEDED(sonuc) ? Metin::pdf_kaydedildi : Metin::pdf_kaydedilemedi) + ad);
            });
        }))
        yazdirma_soruluyor_ = false;
}

// A server's certificate the engine cannot verify: the host decides, and nobody
// listening is a decision for the default.
void Gorunum::sertifika_sor(COREWEBVIEW2_WEB_ERROR_STATUS durum, const std::wstring& adres, Karar karar)
{
    if (!abonesi_var(OLAY_SERVER_CERTIFICATE_ERROR_DETECTED)) {
        karar(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT);
        return;
    }
    using Sertifika = SertifikaArgumanlari<ChromiumKaydi>;
    Microsoft::WRL::ComPtr<ICoreWebView2ServerCertificateErrorDetectedEventArgs> arguman;
    arguman = sahiplen(Sertifika::olustur(durum, adres, SertifikaBilgisi{}, karar));
    if (!arguman) {
        karar(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT);
        return;
    }
    sertifika_hatasini_yay(arguman.Get());
    Sertifika::isleyiciler_bitti(arguman.Get());
}

void Gorunum::sertifika_reddedildi(COREWEBVIEW2_WEB_ERROR_STATUS durum) { gezintiler_->sertifika_reddedildi(durum); }

bool Gorunum::girdi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    if (kapali_)
        return false;
    Microsoft::WRL::ComPtr<Gorunum> koru(this);
    // A page with a dialog open waits for its answer: the user's input goes to the
    // dialog, which a click on the page brings forward.
    if (diyaloglar_->acik_mi() && ((mesaj >= WM_MOUSEFIRST && mesaj <= WM_MOUSELAST) ||
                                  (mesaj >= WM_KEYFIRST && mesaj <= WM_KEYLAST))) {
        if (mesaj == WM_LBUTTONDOWN || mesaj == WM_RBUTTONDOWN || mesaj == WM_MBUTTONDOWN)
            diyaloglar_->one_getir();
        return true;
    }
    if (mesaj == WM_SETCURSOR)
        return reinterpret_cast<HWND>(w) == pencere && imlec_->ayarla(l);
    if (mesaj == WM_LBUTTONDOWN || mesaj == WM_RBUTTONDOWN || mesaj == WM_MBUTTONDOWN || mesaj == WM_KEYDOWN ||
        mesaj == WM_SYSKEYDOWN)
        ++basislar_;
    bool alindi = girdi_->mesaj(pencere, mesaj, w, l);
    if (mesaj == WM_RBUTTONDOWN || mesaj == WM_RBUTTONDBLCLK || mesaj == WM_RBUTTONUP)
        baglam_menusu_->sag_dugme(mesaj != WM_RBUTTONUP);
    return alindi;
}

// The host turns the menu off through the settings; a view whose settings were
// never asked for keeps every default on.
bool Gorunum::baglam_menusu_acik_mi()
{
    BOOL acik = TRUE;
    if (ayarlar_)
        ayarlar_->get_AreDefaultContextMenusEnabled(&acik);
    return acik != FALSE;
}

void Gorunum::baglam_komutu(BaglamKomutu komut, const std::wstring& adres)
{
    switch (komut) {
    case BaglamKomutu::yeni_sekmede_ac:
        pencere_istendi(adres, true, false);
        break;
    case BaglamKomutu::kes:
        girdi_->ctrl_ile('X');
        break;
    case BaglamKomutu::kopyala:
        girdi_->ctrl_ile('C');
        break;
    case BaglamKomutu::yapistir:
        pano_->yapistir();
        break;
    case BaglamKomutu::tumunu_sec:
        girdi_->ctrl_ile('A');
        break;
    case BaglamKomutu::geri:
        gezintiler_->gecmise_git(-1);
        break;
    case BaglamKomutu::ileri:
        gezintiler_->gecmise_git(+1);
        break;
    case BaglamKomutu::yenile:
        gezintiler_->yenile();
        break;
    }
}

void Gorunum::yakinligi_koy(double yakinlik)
{
    if (!ekran_.yakinlik_koy(yakinlik))
        return;
    orani_dagit();
}

// Input and the page's own menu count the page's CSS pixels at the new ratio; the
// engine's screen follows the largest ratio shown.
void Gorunum::orani_dagit()
{
    girdi_->oran_koy(ekran_.oran());
    baglam_menusu_->oran_koy(ekran_.oran());
    hedefler_.ekran_olcegini_ayarla();
}

void Gorunum::rasterlestirme_uygula()
{
    if (kapali_)
        return;
    const RECT alan = fiziksel_alan(verilen_alan_);
    const bool yeni_alan = !EqualRect(&alan, &ekran_.alan());
    if (yeni_alan)
        ekran_.alan_koy(alan);
    if (ekran_.olcek_koy(rasterlestirme_olcegi()))
        orani_dagit();
    if (yeni_alan && pencere_ && IsWindowVisible(pencere_))
        hedefler_.gosterilen_alan(alan);
}

// ---------------------------------------------------------------------------
// ICoreWebView2Controller.

HRESULT Gorunum::get_IsVisible(BOOL* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = ekran_.gorunur() ? TRUE : FALSE;
    return S_OK;
}

HRESULT Gorunum::put_IsVisible(BOOL deger)
{
    GIRIS();
    bool gorunur = deger != FALSE;
    if (gorunur == ekran_.gorunur())
        return S_OK;
    ekran_.gorunurluk_koy(gorunur);
    if (!gorunur)
        secimler_->kapat();
    diyaloglar_->gorunurluk_koy(gorunur);
    if (gorunur) {
        gosterilme_sirasi_ = ++g_son_gosterilme;
        one_getir();
    }
    else if (hedefler_.on_sayfa_mi(this))
        // Only the front page leaves a place to fill: a view hidden that never came
        // to the front (one placed in a host not shown yet) would otherwise bring
        // the page shown before to the front, and the next view shown take it back,
        // each time making both pages change their visibility.
        hedefler_.gosterilenleri_one_getir();
    hedefler_.ekran_olcegini_ayarla();
    return S_OK;
}

HRESULT Gorunum::get_Bounds(RECT* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = verilen_alan_;
    return S_OK;
}

HRESULT Gorunum::put_Bounds(RECT deger)
{
    GIRIS();
    verilen_alan_ = deger;
    // A new size may come with the host's window on another monitor.
    monitor_olcegini_denetle(ebeveyn_);
    const RECT alan = fiziksel_alan(deger);
    ekran_.alan_koy(alan);
    if (pencere_ && IsWindowVisible(pencere_))
        hedefler_.gosterilen_alan(alan);
    return S_OK;
}

HRESULT Gorunum::get_ZoomFactor(double* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = ekran_.yakinlik();
    return S_OK;
}

HRESULT Gorunum::put_ZoomFactor(double deger)
{
    GIRIS();
    if (!std::isfinite(deger) || deger <= 0)
        return E_INVALIDARG;
    yakinligi_koy(deger);
    return S_OK;
}

HRESULT Gorunum::SetBoundsAndZoomFactor(RECT sinirlar, double deger)
{
    GIRIS();
    if (!std::isfinite(deger) || deger <= 0)
        return E_INVALIDARG;
    yakinligi_koy(deger);
    verilen_alan_ = sinirlar;
    monitor_olcegini_denetle(ebeveyn_);
    ekran_.alan_koy(fiziksel_alan(sinirlar));
    return S_OK;
}

HRESULT Gorunum::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON)
{
    GIRIS();
    SetFocus(pencere_);
    return S_OK;
}

HRESULT Gorunum::get_ParentWindow(HWND* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = ebeveyn_;
    return S_OK;
}

HRESULT Gorunum::put_ParentWindow(HWND deger)
{
    GIRIS();
    if (!IsWindow(deger))
        return E_INVALIDARG;
    ebeveyn_ = deger;
    SetParent(pencere_, ebeveyn_);
    return S_OK;
}

HRESULT Gorunum::NotifyParentWindowPositionChanged()
{
    GIRIS();
    // Nothing of ours is placed in screen coordinates; a move may have taken the
    // window to a monitor of another DPI.
    monitor_olcegini_denetle(ebeveyn_);
    return S_OK;
}

HRESULT Gorunum::Close()
{
    GIRIS();
    kapat();
    return S_OK;
}

HRESULT Gorunum::get_CoreWebView2(ICoreWebView2** gorunum)
{
    GIRIS();
    if (!gorunum)
        return E_POINTER;
    *gorunum = static_cast<ICoreWebView2*>(this);
    AddRef();
    return S_OK;
}

// ---------------------------------------------------------------------------
// ICoreWebView2.

HRESULT Gorunum::get_Settings(ICoreWebView2Settings** deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    if (!ayarlar_)
        ayarlar_ = sahiplen(Argumanlar::ayarlar());
    *deger = ayarlar_.Get();
    if (!*deger)
        return E_OUTOFMEMORY;
    (*deger)->AddRef();
    return S_OK;
}

HRESULT Gorunum::get_Source(LPWSTR* deger)
{
    GIRIS();
    return metin_ver(deger, gezintiler_->adres());
}

HRESULT Gorunum::Navigate(LPCWSTR uri)
{
    GIRIS();
    if (!uri || !mutlak_adres_mi(uri))
        return E_INVALIDARG;
    HEDEF_GELINCE(Navigate(adres.c_str()), adres = std::wstring(uri));
    yanit_denetimi_kur();
    gezintiler_->git(uri);
    return S_OK;
}

HRESULT Gorunum::NavigateToString(LPCWSTR html)
{
    GIRIS();
    if (!html)
        return E_INVALIDARG;
    HEDEF_GELINCE(NavigateToString(metin.c_str()), metin = std::wstring(html));
    yanit_denetimi_kur();
    return gezintiler_->metin_yukle(utf8_e(html));
}

HRESULT Gorunum::ExecuteScript(LPCWSTR betik, ICoreWebView2ExecuteScriptCompletedHandler* isleyici)
{
    GIRIS();
    if (!betik)
        return E_INVALIDARG;
    HEDEF_GELINCE(ExecuteScript(metin.c_str(), tamamlayici.Get()), metin = std::wstring(betik),
                  tamamlayici = Microsoft::WRL::ComPtr<ICoreWebView2ExecuteScriptCompletedHandler>(isleyici));
    return betikler_->calistir(betik, isleyici);
}

HRESULT Gorunum::CallDevToolsProtocolMethod(LPCWSTR yontem, LPCWSTR parametreler,
                                            ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* isleyici)
{
    GIRIS();
    if (!yontem || !parametreler)
        return E_INVALIDARG;
    HEDEF_GELINCE(CallDevToolsProtocolMethod(ad.c_str(), degerler.c_str(), tamamlayici.Get()),
                  ad = std::wstring(yontem), degerler = std::wstring(parametreler),
                  tamamlayici =
                      Microsoft::WRL::ComPtr<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler>(isleyici));
    return cagrilar_->cagir(utf8_e(yontem), utf8_e(parametreler), isleyici);
}

HRESULT Gorunum::Reload()
{
    GIRIS();
    HEDEF_GELINCE(Reload());
    yanit_denetimi_kur();
    gezintiler_->yenile();
    return S_OK;
}

HRESULT Gorunum::get_CanGoBack(BOOL* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = gezintiler_->gidebilir_mi(-1) ? TRUE : FALSE;
    return S_OK;
}

HRESULT Gorunum::get_CanGoForward(BOOL* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = gezintiler_->gidebilir_mi(+1) ? TRUE : FALSE;
    return S_OK;
}

HRESULT Gorunum::GoBack()
{
    GIRIS();
    yanit_denetimi_kur();
    gezintiler_->gecmise_git(-1);
    return S_OK;
}

HRESULT Gorunum::GoForward()
{
    GIRIS();
    yanit_denetimi_kur();
    gezintiler_->gecmise_git(+1);
    return S_OK;
}

HRESULT Gorunum::Stop()
{
    GIRIS();
    HEDEF_GELINCE(Stop());
    gezintiler_->durdur();
    return S_OK;
}

HRESULT Gorunum::get_DocumentTitle(LPWSTR* deger)
{
    GIRIS();
    return metin_ver(deger, betikler_->baslik());
}

HRESULT Gorunum::get_ContainsFullScreenElement(BOOL* deger)
{
    GIRIS();
    if (!deger)
        return E_POINTER;
    *deger = tam_ekran_ ? TRUE : FALSE;
    return S_OK;
}

HRESULT Gorunum::get_StatusBarText(LPWSTR* deger)
{
    GIRIS();
    return metin_ver(deger, betikler_->durum_metni());
}

// Print settings are not read: the engine's defaults (A4/Letter as the engine
// chooses, no backgrounds) serve every call.
HRESULT Gorunum::PrintToPdf(LPCWSTR yol, ICoreWebView2PrintSettings*, ICoreWebView2PrintToPdfCompletedHandler* isleyici)
{
    GIRIS();
    if (!tam_yol_mu(yol))
        return E_INVALIDARG;
    HEDEF_GELINCE(PrintToPdf(dosya.c_str(), nullptr, tamamlayici.Get()), dosya = std::wstring(yol),
                  tamamlayici = Microsoft::WRL::ComPtr<ICoreWebView2PrintToPdfCompletedHandler>(isleyici));
    Microsoft::WRL::ComPtr<ICoreWebView2PrintToPdfCompletedHandler> tamamlayici(isleyici);
    yazdirma_->pdf_yaz(yol, [tamamlayici](HRESULT sonuc) {
        if (tamamlayici)
            tamamlayici->Invoke(sonuc, SUCCEEDED(sonuc) ? TRUE : FALSE);
    });
    return S_OK;
}

// The hosts let pass are those of the whole engine run: every view forgets them.
HRESULT Gorunum::ClearServerCertificateErrorActions(
    ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* isleyici)
{
    GIRIS();
    izinli_sertifika_hostlari().clear();
    Microsoft::WRL::ComPtr<ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler> tamamlayici(isleyici);
    if (tamamlayici && !sonra([tamamlayici] { tamamlayici->Invoke(S_OK); }))
        return E_FAIL;
    return S_OK;
}
