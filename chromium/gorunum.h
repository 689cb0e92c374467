// A controller and its view over one page target of the engine: the object the host
// holds. It is thin: each interface method forwards to the manager of its concern,
// each manager's events become the interface's events here, and every manager
// talks to the engine through this object's outbox (the target's session).
#pragma once

#include "baglam_menusu.h"
#include "betikler.h"
#include "ekran.h"
#include "gezinti.h"
#include "girdi.h"
#include "gorunum_yuzu.h"
#include "imlec.h"
#include "motor_ic.h"
#include "pano.h"

class Gorunum;

// The view has closed: its session no longer receives events (hedefler.cpp).
void hedef_kapandi(Gorunum* gorunum);

class Gorunum final : public GorunumYuzu<Gorunum>,
                      public Giden,
                      public GezintiDinleyicisi,
                      public BetikDinleyicisi,
                      public GirdiDinleyicisi,
                      public BaglamDinleyicisi,
                      public SayfaPenceresiSahibi {
public:
    Gorunum(std::shared_ptr<Baglanti> baglanti, std::string hedef, std::string oturum);

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
    // Shown pages are the engine's front pages (another target made meanwhile may
    // have taken that place, and a page not in front stops painting).
    void one_getir();
    // When the view was last shown, in the order of all views' showings.
    uint64_t gosterilme_sirasi() const { return gosterilme_sirasi_; }
    // What the shown view asks of the device pixel ratio: its zoom, 0 when hidden.
    double gereken_olcek() const;
    // The engine renders at another device pixel ratio now.
    void olcek_degisti() { ekran_.yeniden_baslat(); }

    // ---- What the shared face asks.
    HRESULT giris(const char*, const std::string&) { return kapali_ ? WV2_E_KAPALI : S_OK; }
    bool kapali_mi() const override { return kapali_; }
    void kapat();

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
    HRESULT STDMETHODCALLTYPE Reload() override;
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* deger) override;
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* deger) override;
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* deger) override;
    HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* deger) override;

private:
    // ---- The outbox.
    void gonder(const char* yontem, Json parametreler, Yanit yanit) override;
    void motora_gonder(const char* yontem, Json parametreler, Yanit yanit) override;
    bool sonra(std::function<void()> is) override;
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
    void kapatma_istendi() override;
    void durum_metni_degisti() override;
    void pencere_istendi(const std::wstring& adres, bool kullanici) override;
    std::wstring sayfa_adresi() const override { return gezintiler_.adres(); }
    bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) override;
    void yapistir() override { pano_.yapistir(); }
    bool baglam_menusu_acik_mi() override;
    bool gidebilir_mi(int yon) override { return gezintiler_.gidebilir_mi(yon); }
    void baglam_komutu(BaglamKomutu komut, const std::wstring& adres) override;

    // ---- The page window.
    void boya(HDC dc, const RECT& alan) override { ekran_.boya(dc, alan); }
    bool girdi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l) override;

    template <class Isleyici>
    void bos_olay_yay(GorunumOlayi olay);
    void yakinligi_koy(double yakinlik);

    HWND ebeveyn_ = nullptr;
    HWND pencere_ = nullptr;
    bool kapali_ = false;
    bool coktu_ = false;   // the page's process died; only a load brings it back
    uint64_t gosterilme_sirasi_ = 0;
    std::shared_ptr<Baglanti> baglanti_;
    const std::string hedef_, oturum_;
    Microsoft::WRL::ComPtr<ICoreWebView2Settings> ayarlar_;

    Ekran ekran_;
    Girdi girdi_;
    Gezintiler gezintiler_;
    Betikler betikler_;
    Imlec imlec_;
    Pano pano_;
    BaglamMenusu baglam_menusu_;
};
