// A page's scripts, bindings, title and the windows it opens (see betikler.h).
#include "betikler.h"
#include "motor_ic.h"

using namespace protokol;

static const char BASLIK_BAGI[] = "__korvaBaslik";
static const char DURUM_BAGI[] = "__korvaDurum";
static const char YENI_PENCERE_BAGI[] = "__korvaYeniPencere";
static const char TAM_EKRAN_BAGI[] = "__korvaTamEkran";

// Runs in the helpers' isolated world of every new document, before the page's own
// scripts: it shares the document with them but none of their globals, so the page
// can neither call its bindings nor change what it sees of the DOM's own functions.
// It reports the top document's title whenever it changes, and the address of the
// link under the pointer (the status-bar text) as the user moves over it. A middle
// or Ctrl click on a link, which this engine would otherwise drop (it has no tab to
// open behind), becomes a request for a new window. Only the user's own input
// counts (events the engine delivered, not ones a script made). Whether an element
// of the document is in full screen is reported as it changes ("1" or empty): the
// engine's own window never shows it, so the host has to.
static const char BELGE_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  const baslik = __korvaBaslik, durum = __korvaDurum, yeni = __korvaYeniPencere, tam = __korvaTamEkran;
  let bag = '';
  const bagla = (h) => { if (h !== bag) { bag = h; try { durum(h); } catch (e) {} } };
  const baglanti = (n) => {
    for (; n; n = n.parentNode) if (n.tagName === 'A' && typeof n.href === 'string' && n.href) return n.href;
    return '';
  };
  document.addEventListener('mouseover', (e) => { if (e.isTrusted) bagla(baglanti(e.target)); }, true);
  document.addEventListener('mouseout', (e) => { if (e.isTrusted && !e.relatedTarget) bagla(''); }, true);
  const arkada = (e) => {
    const h = baglanti(e.target);
    if (!h || !e.isTrusted) return;
    e.preventDefault();
    try { yeni(h); } catch (x) {}
  };
  document.addEventListener('auxclick', (e) => { if (e.button === 1) arkada(e); }, true);
  document.addEventListener('click', (e) => { if (e.button === 0 && (e.ctrlKey || e.metaKey)) arkada(e); }, true);
  let son = null;
  const bildir = () => {
    const t = String(document.title).slice(0, 4096);
    if (t !== son) { son = t; try { baslik(t); } catch (e) {} }
  };
  new MutationObserver(bildir).observe(document, {subtree: true, childList: true, characterData: true});
  document.addEventListener('DOMContentLoaded', bildir);
  document.addEventListener('fullscreenchange', () => {
    try { tam(document.fullscreenElement ? '1' : ''); } catch (e) {}
  });
})();)JS";

Betikler::Betikler(Giden& giden, BetikDinleyicisi& dinleyici, std::string hedef, YardimciBaglam& yardimci)
    : giden_(giden), dinleyici_(dinleyici), hedef_(std::move(hedef)), yardimci_(yardimci)
{
}

int Betikler::kur(const Giden::Yanit& yanit)
{
    // The target's first document gets the script now too, since a view may put its
    // first text straight into it.
    return yardimci_betik_kur(giden_, hedef_, BELGE_BETIGI, {BASLIK_BAGI, DURUM_BAGI, YENI_PENCERE_BAGI, TAM_EKRAN_BAGI}, yanit,
                              &yardimci_);
}

// ---------------------------------------------------------------------------
// The title.

// A page may set a title of any length; a browser keeps the first 4,096 characters
// (a pair of surrogates is not cut in two), so no caption downstream is given more.
static const size_t EN_COK_BASLIK = 4096;

void Betikler::basligi_koy(std::wstring yeni)
{
    if (yeni.size() > EN_COK_BASLIK) {
        size_t boy = EN_COK_BASLIK;
        if (yeni[boy - 1] >= 0xD800 && yeni[boy - 1] <= 0xDBFF)
            --boy;
        yeni.resize(boy);
    }
    if (yeni == baslik_)
        return;
    baslik_ = std::move(yeni);
    dinleyici_.baslik_degisti();
}

void Betikler::basligi_oku(std::function<void()> sonra, bool yeni_belge)
{
    if (yeni_belge && baslik_taze_) {
        if (sonra)
            sonra();
        return;
    }
    giden_.gonder(Evaluate{"String(document.title).slice(0, 4096)", true, false, yardimci_.kimlik()}, [this, sonra](const Json& sonuc, const Json* hata) {
        const Json& deger = sonuc.value("result", Json::object()).value("value", Json());
        std::string metin = deger.is_string() ? deger.get<std::string>() : std::string();
        // A page without a title shows the engine's default; a page that could not
        // be asked (its document was just replaced) keeps what it had.
        if (!hata && metin.empty()) {
            hedef_basligini_oku(sonra);
            return;
        }
        if (!hata)
            basligi_koy(utf8_den(metin));
        if (sonra && !dinleyici_.kapali_mi())
            sonra();
    });
}

void Betikler::hedef_basligini_oku(std::function<void()> sonra)
{
    giden_.motora_gonder(GetTargetInfo{hedef_}, [this, sonra](const Json& sonuc, const Json* hata) {
        GetTargetInfoYaniti yanit;
        if (!hata && oku(sonuc, &yanit)) {
            const std::string& metin = yanit.targetInfo.title;
            basligi_koy(metin.empty() ? dinleyici_.sayfa_adresi() : utf8_den(metin));
        }
        if (sonra && !dinleyici_.kapali_mi())
            sonra();
    });
}

// ---------------------------------------------------------------------------
// The host's scripts.

HRESULT Betikler::calistir(const std::wstring& betik, ICoreWebView2ExecuteScriptCompletedHandler* isleyici)
{
    Microsoft::WRL::ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> tamamlayici(isleyici);
    giden_.gonder(Evaluate{utf8_e(betik), true, true}, [tamamlayici](const Json& sonuc, const Json* hata) {
        if (!tamamlayici)
            return;
        if (hata) {
            tamamlayici->Invoke(E_FAIL, L"null");
            return;
        }
        // A value JSON cannot carry (undefined, NaN, a throw) reads as null.
        std::string json = "null";
        const Json& deger = sonuc.value("result", Json::object());
        if (!sonuc.contains("exceptionDetails") && deger.contains("value"))
            json = deger["value"].dump();
        tamamlayici->Invoke(S_OK, utf8_den(json).c_str());
    });
    return S_OK;
}

// The document leaves its full screen (Esc, as a browser's own key): from the
// helpers' world, which shares the document, so the page's scripts see only the
// change itself, as from any browser.
void Betikler::tam_ekrandan_cik()
{
    giden_.gonder(Evaluate{"document.fullscreenElement ? document.exitFullscreen().then(() => 1, () => 0) : 0", true,
                           false, yardimci_.kimlik()},
                  [](const Json&, const Json*) {});
}

// ---------------------------------------------------------------------------
// From the engine.

void Betikler::yonlendir(Yonlendirici& yonlendirici)
{
    for (const char* ad : {BASLIK_BAGI, DURUM_BAGI, YENI_PENCERE_BAGI, TAM_EKRAN_BAGI})
        yonlendirici.bag_sahiplen(ad, [this](const BindingCalled& cagri) { bag_cagrildi(cagri); });
    yonlendirici.sahiplen(this, &Betikler::pencere_acildi);
}

// A new document, or a text put into the one there: its title is not known until
// its script says it, which it does after this event.
void Betikler::belge_acildi(const Cerceve& cerceve)
{
    if (cerceve.id == hedef_ && cerceve.parentId.empty())
        baslik_taze_ = false;
}

void Betikler::pencere_acildi(const WindowOpen& olay)
{
    if (!olay.url.empty())
        dinleyici_.pencere_istendi(utf8_den(olay.url), olay.userGesture, olay.userGesture);
}

void Betikler::durum_metni_koy(std::wstring metin)
{
    if (metin.size() > EN_COK_BASLIK)
        metin.resize(EN_COK_BASLIK);
    if (metin == durum_metni_)
        return;
    durum_metni_ = std::move(metin);
    dinleyici_.durum_metni_degisti();
}

void Betikler::bag_cagrildi(const BindingCalled& p)
{
    if (p.name == BASLIK_BAGI) {
        if (p.payload.empty()) {
            hedef_basligini_oku(nullptr);
        } else {
            basligi_koy(utf8_den(p.payload));
            baslik_taze_ = true;
        }
    } else if (p.name == TAM_EKRAN_BAGI) {
        dinleyici_.tam_ekran_degisti(!p.payload.empty());
    } else if (p.name == YENI_PENCERE_BAGI) {
        if (!p.payload.empty())
            dinleyici_.pencere_istendi(utf8_den(p.payload), true, false);
    } else if (p.name == DURUM_BAGI) {
        std::wstring yeni = utf8_den(p.payload.substr(0, EN_COK_BASLIK * 4));
        if (yeni.size() > EN_COK_BASLIK)
            yeni.resize(EN_COK_BASLIK);
        if (yeni != durum_metni_) {
            durum_metni_ = yeni;
            dinleyici_.durum_metni_degisti();
        }
    }
}
