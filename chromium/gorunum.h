// A controller and its view over one page target of the engine: the object the host
// holds. It is thin: each interface method forwards to the manager of its concern,
// each manager's events become the interface's events here, and every manager
// talks to the engine through this object's outbox (the target's session). The
// engine's events reach the managers through the view's router (yonlendirici.h).
#pragma once

#include "baglam_menusu.h"
#include "betikler.h"
#include "diyaloglar.h"
#include "dosya_secici.h"
#include "ekran.h"
#include "gezinti.h"
#include "girdi.h"
#include "hedef_agi.h"
#include "gorunum_yuzu.h"
#include "imlec.h"
#include "izinler.h"
#include "motor_ic.h"
#include "pano.h"
#include "protokol_cagrilari.h"
#include "secim_listeleri.h"
#include "ses.h"
#include "sertifika.h"
#include "yanit_denetimi.h"
#include "yazdirma.h"
#include "yonlendirici.h"

#include <optional>
#include <vector>

class Gorunum final : public GorunumYuzu<Gorunum>,
                      public Giden,
                      public GezintiDinleyicisi,
                      public BetikDinleyicisi,
                      public GirdiDinleyicisi,
                      public SecimDinleyicisi,
                      public DiyalogDinleyicisi,
                      public DosyaDinleyicisi,
                      public BaglamDinleyicisi,
                      public YazdirmaDinleyicisi,
                      public SesDinleyicisi,
                      public SertifikaDinleyicisi,
                      public YanitDinleyicisi,
                      public SayfaPenceresiSahibi {
public:
    // With an empty `hedef` the view has no target yet (see hedefsiz_).
    Gorunum(HedefAgi& hedefler, std::shared_ptr<Baglanti> baglanti, std::string hedef, std::string oturum);

    const std::string& hedef() const { return hedef_; }
    const std::string& oturum() const { return oturum_; }

    // Sets the page target up; `bitti` hears whether it worked once every answer is
    // in. The view has no window yet.
    // `alan`: the size to lay the page out for meanwhile (empty: none yet).
    void kur(const RECT& alan, std::function<void(HRESULT)> bitti);
    // Places the set-up view in the host's window: its page window is made there.
    HRESULT yerlestir(HWND ebeveyn);
    bool yerlesti_mi() const { return pencere_ != nullptr; }

    // ---- From the engine.
    void olay(const std::string& yontem, const Json& parametreler);
    void kare_geldi(std::shared_ptr<Kare> kare) { ekran_.kare_geldi(std::move(kare)); }
    void surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND tur);
    // The target ended while the view was open: its page closed itself (window.close()
    // where the engine allows it), which the host hears as a request to close.
    void hedef_bitti();
    // The host offers this view as a page's new window: S_OK when it is fresh (never
    // navigated by the host, not offered before, its page alive), and it is spoken
    // for from then on; else HRESULT_FROM_WIN32(ERROR_INVALID_STATE).
    HRESULT yeni_pencereye_ayir();
    // The view takes the popup target (held, not run yet) a page opened for it, with
    // its opener, and lets it run; with no target (none came) it loads `adres`
    // itself. False when the view cannot take it (closed meanwhile).
    bool acilan_pencereye_gec(std::string hedef, std::string oturum, const std::wstring& adres);
    // The view was given to a page's new-window request.
    bool yeni_pencereye_ayrildi_mi() const { return yeni_pencereye_ayrildi_; }
    // Such a view the host did not give to the popup, or used as a view of its own
    // first: it takes a target of its own now.
    void kendi_hedefine_gec();
    // A navigation of the host's began: if it has not committed a few seconds later
    // (counted from its document's response when it waited for the network) while
    // the page does not answer, the page is moved to a fresh target (yanit_denetimi.h).
    void yanit_denetimi_kur() { denetim_.kur(); }
    // Shown pages are the engine's front pages (another target made meanwhile may
    // have taken that place, and a page not in front stops painting).
    void one_getir();
    // When the view was last shown, in the order of all views' showings.
    uint64_t gosterilme_sirasi() const { return gosterilme_sirasi_; }
    // What the shown view asks of the device pixel ratio: its zoom times the screen's
    // scale, 0 when hidden.
    double gereken_olcek() const;
    // The engine is drawing the page of this view, shown (see Ekran::ciziliyor).
    bool ciziliyor(ULONGLONG simdi, ULONGLONG sessizlik_ms) const
    {
        return gereken_olcek() > 0 && ekran_.ciziliyor(simdi, sessizlik_ms);
    }
    // The engine renders at another device pixel ratio now.
    void olcek_degisti() { ekran_.yeniden_baslat(); }

    // ---- What the shared face asks.
    HRESULT giris(const char*, const std::string&) { return kapali_ ? WV2_E_KAPALI : S_OK; }
    bool kapali_mi() const override { return kapali_; }
    void kapat();
    void sessizlik_uygula(bool sessiz) { ses_->sessiz_koy(sessiz); }
    void rasterlestirme_uygula();

    // ---- ICoreWebView2Controller.
    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* deger) override;
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL deger) override;
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* deger) override;
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT deger) override;
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* deger) override;
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double deger) override;
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT sinirlar, double deger) override;
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON neden) override;
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* deger) override;
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND deger) override;
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** gorunum) override;

    // ---- ICoreWebView2.
    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** deger) override;
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* deger) override;
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override;
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR betik, ICoreWebView2ExecuteScriptCompletedHandler* isleyici) override;
    HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(
        LPCWSTR yontem, LPCWSTR parametreler,
        ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* isleyici) override;
    HRESULT STDMETHODCALLTYPE Reload() override;
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* deger) override;
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* deger) override;
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* deger) override;
    HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* deger) override;
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* deger) override;
    HRESULT STDMETHODCALLTYPE PrintToPdf(LPCWSTR yol, ICoreWebView2PrintSettings* ayarlar,
                                         ICoreWebView2PrintToPdfCompletedHandler* isleyici) override;
    HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(
        ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* isleyici) override;

private:
    // ---- The outbox.
    void gonder(const char* yontem, Json parametreler, Yanit yanit) override;
    void motora_gonder(const char* yontem, Json parametreler, Yanit yanit) override;
    void sirayla_gonder(const char* yontem, Json parametreler, const Birlestir& birlestir) override;
    bool sonra(std::function<void()> is) override;
    bool zamanla(unsigned ms, std::function<void()> is) override;
    using Giden::gonder;

    // ---- What the managers hand back.
    bool basliyor(const std::wstring& adres, bool yonlendirme, UINT64 kimlik, bool kullanici) override;
    void kaynak_degisti(bool yeni_belge) override;
    void icerik_yukleniyor() override;
    void gecmis_degisti() override;
    void tamamlandi(bool basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik) override;
    void basligi_oku(std::function<void()> sonra, bool yeni_belge) override;
    void yukleme_basliyor() override;
    void baslik_degisti() override;
    void kapatma_istendi();
    void durum_metni_degisti() override;
    void pencere_istendi(const std::wstring& adres, bool kullanici, bool acilan) override;
    void tam_ekran_degisti(bool tam) override;
    std::wstring sayfa_adresi() const override { return gezintiler_->adres(); }
    bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) override;
    HWND secim_listesi_goster(const RECT& kontrol, std::vector<yerel::SecenekSatiri> satirlar, int secili,
                              std::function<void(int secenek)> secildi) override;
    HWND diyalog_goster(const yerel::DiyalogIstegi& istek,
                        std::function<void(const yerel::DiyalogYaniti&)> yanit) override;
    bool varsayilan_diyaloglar_acik() override;
    void dosya_sor(bool coklu, const std::wstring& desenler,
                   std::function<void(const std::vector<std::wstring>&)> secildi) override;
    void yapistir() override { pano_->yapistir(); }
    bool baglam_menusu_acik_mi() override;
    bool gidebilir_mi(int yon) override { return gezintiler_->gidebilir_mi(yon); }
    void baglam_komutu(BaglamKomutu komut, const std::wstring& adres) override;
    void yazdirma_istendi() override;
    void ses_caliyor(bool caliyor) override { ses_caliyor_koy(caliyor); }
    void sertifika_sor(COREWEBVIEW2_WEB_ERROR_STATUS durum, const std::wstring& adres, Karar karar) override;
    void sertifika_reddedildi(COREWEBVIEW2_WEB_ERROR_STATUS durum) override;
    bool denetlenebilir() const override { return !kapali_ && !coktu_; }
    bool agi_bekliyor() const override { return gezintiler_->agi_bekliyor(); }
    void hedeften_ayril() override;
    void taze_hedef_iste(std::function<void(std::string hedef, std::string oturum)> geldi) override;
    void taze_hedefe_gec(std::string hedef, std::string oturum) override;

    // ---- The events several parts must see, decoded once and handed on in order.
    void olaylari_yonlendir();
    void cerceve_gezindi(const Json& parametreler);
    void belge_yeniden_acildi(const Json& parametreler);
    void diyalog_acildi(const Json& parametreler);
    void diyalog_kapandi(const Json& parametreler);
    void baglam_olustu(const Json& parametreler);
    void baglam_bitti(const Json& parametreler);
    void baglamlar_temizlendi();
    void hedef_coktu();

    // ---- The page window.
    void boya(HDC dc, const RECT& alan) override;
    bool girdi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l) override;

    template <class Isleyici>
    void bos_olay_yay(GorunumOlayi olay);
    // The main window the page's lists and dialogs belong to.
    HWND sahip_pencere() const;
    // After a list or dialog of the page: the keyboard goes back to the page.
    void klavyeyi_geri_ver();
    void yakinligi_koy(double yakinlik);
    void orani_dagit();

    HWND ebeveyn_ = nullptr;
    HWND pencere_ = nullptr;
    RECT verilen_alan_ = {};   // the bounds as the host gave them (see fiziksel_alan)
    bool kapali_ = false;
    bool coktu_ = false;   // the page's process died; only a load brings it back
    bool tam_ekran_ = false;   // an element of the top document is in full screen
    uint64_t gosterilme_sirasi_ = 0;
    uint64_t hedef_nesli_ = 0;   // which target answers and later work belong to
    bool yeni_pencereye_ayrildi_ = false;
    YanitDenetimi denetim_{*this, *this};   // the unresponsive page, across targets
    // A view made while a page's popup waited for its view has no target until it
    // takes the popup's, or one of its own: meanwhile nothing is sent (answered at
    // once with an error), what the view's setup sends again is not missed, and the
    // host's calls on the page wait (hedef_gelince_) and are made, in order, once it
    // has one.
    bool hedefsiz_ = false;
    bool kendi_hedefi_geliyor_ = false;
    std::vector<std::function<void()>> hedef_gelince_;
    // Runs `cagri` now, or once the view has a target (asking for its own when the
    // popup is not coming to it).
    void hedef_varken(std::function<void()> cagri);
    // The view takes target `hedef` and its held session (a popup's when `acilan`),
    // sets it up and lets it run.
    void hedefe_yerles(std::string hedef, std::string oturum, const std::wstring& adres, bool acilan);
    void yoneticileri_kur(std::wstring adres);
    HedefAgi& hedefler_;   // the engine's targets, as far as a view asks them anything
    std::shared_ptr<Baglanti> baglanti_;
    std::string hedef_, oturum_;   // a page that stopped answering gets fresh ones
    Microsoft::WRL::ComPtr<ICoreWebView2Settings> ayarlar_;

    Ekran ekran_;
    // Made again for a fresh target: their state is the old target's. The helpers'
    // world first (the managers are given it) and the router, which they fill.
    std::optional<YardimciBaglam> yardimci_;
    std::optional<Yonlendirici> yonlendirici_;
    std::optional<Girdi> girdi_;
    std::optional<Gezintiler> gezintiler_;
    std::optional<Betikler> betikler_;
    std::optional<SecimListeleri> secimler_;
    std::optional<Diyaloglar> diyaloglar_;
    std::optional<DosyaSecici> dosyalar_;
    std::optional<Imlec> imlec_;
    std::optional<Pano> pano_;
    std::optional<BaglamMenusu> baglam_menusu_;
    std::optional<ProtokolCagrilari> cagrilar_;
    std::optional<Yazdirma> yazdirma_;
    std::optional<Izinler> izinler_;
    std::optional<Ses> ses_;
    std::optional<Sertifikalar> sertifikalar_;
    bool yazdirma_soruluyor_ = false;   // the save dialog of a page's window.print() is open
    // The user's presses in the page (buttons and keys), and their count when the
    // last such dialog closed: a page asks again only after the user did something
    // in it, so that it cannot keep the window behind one dialog after another.
    uint64_t basislar_ = 0;
    std::optional<uint64_t> son_yazdirma_basislari_;
};
