// The lists of a page's <select> controls (see secim_listeleri.h).
#include "secim_listeleri.h"
#include "motor_ic.h"

#include <cmath>

using namespace protokol;

static const char SECIM_BAGI[] = "__korvaSecimAcildi";

// Runs in the library's world of every new document. Reports an opened control as
// {sira, x, y, w, h, secili, ogeler: [{m: text, s: option index or -1 for a group's
// label, d: disabled, g: in a group}]}; `sira` numbers the openings, so that a
// choice reaches only the control last opened, and only while it is still in the
// document. A choice already made sends no events again.
static const char SECIM_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  const acildi = globalThis.__korvaSecimAcildi;
  let acik = null, sira = 0;
  const liste_mi = (s) => s instanceof HTMLSelectElement && !s.multiple && s.size <= 1 && !s.disabled;
  const etiket = (o) => String(o.label || o.text).slice(0, 500);
  const bildir = (s) => {
    const r = s.getBoundingClientRect(), ogeler = [];
    for (const c of s.children) {
      if (c instanceof HTMLOptGroupElement) {
        ogeler.push({m: String(c.label).slice(0, 500), s: -1, d: c.disabled, g: false});
        for (const o of c.children)
          if (o instanceof HTMLOptionElement) ogeler.push({m: etiket(o), s: o.index, d: o.disabled || c.disabled, g: true});
      } else if (c instanceof HTMLOptionElement) {
        ogeler.push({m: etiket(c), s: c.index, d: c.disabled, g: false});
      }
      if (ogeler.length >= 10000) break;
    }
    acik = s;
    try { acildi(JSON.stringify({sira: ++sira, x: r.left, y: r.top, w: r.width, h: r.height, secili: s.selectedIndex, ogeler})); } catch (e) {}
  };
  document.addEventListener('mousedown', (e) => {
    if (!e.isTrusted || e.button !== 0) return;
    const s = e.target instanceof Element ? e.target.closest('select') : null;
    if (!liste_mi(s)) return;
    e.preventDefault();
    s.focus();
    bildir(s);
  }, true);
  document.addEventListener('keydown', (e) => {
    if (!e.isTrusted || !liste_mi(e.target)) return;
    const k = e.key;
    if ((e.altKey && (k === 'ArrowDown' || k === 'ArrowUp')) || k === 'F4' ||
        (k === ' ' && !e.altKey && !e.ctrlKey && !e.metaKey)) {
      e.preventDefault();
      bildir(e.target);
    }
  }, true);
  globalThis.__korvaSecimYap = (n, i) => {
    const s = acik;
    if (n !== sira || !s) return false;
    acik = null;
    if (!s.isConnected || !liste_mi(s) || i < 0 || i >= s.options.length) return false;
    const o = s.options[i];
    if (o.disabled || (o.parentNode instanceof HTMLOptGroupElement && o.parentNode.disabled)) return false;
    s.focus();
    if (s.selectedIndex === i) return true;
    s.selectedIndex = i;
    s.dispatchEvent(new Event('input', {bubbles: true, composed: true}));
    s.dispatchEvent(new Event('change', {bubbles: true}));
    return true;
  };
})();)JS";

SecimListeleri::SecimListeleri(Giden& giden, SecimDinleyicisi& dinleyici, std::string cerceve)
    : giden_(giden), dinleyici_(dinleyici), cerceve_(std::move(cerceve))
{
}

SecimListeleri::~SecimListeleri() { kapat(); }

int SecimListeleri::kur(const Giden::Yanit& yanit)
{
    giden_.gonder(AddBinding{SECIM_BAGI, YARDIMCI_DUNYA}, yanit);
    giden_.gonder(AddScriptToEvaluateOnNewDocument{SECIM_BETIGI, YARDIMCI_DUNYA}, yanit);
    return 2;
}

void SecimListeleri::kapat()
{
    HWND liste = liste_;
    liste_ = nullptr;
    yerel::pencereyi_kapat(liste);
}

void SecimListeleri::yonlendir(Yonlendirici& yonlendirici)
{
    yonlendirici.bag_sahiplen(SECIM_BAGI,
                              [this](const BindingCalled& cagri) { acildi(cagri.payload, cagri.executionContextId); });
}

void SecimListeleri::belge_acildi(const Cerceve& cerceve)
{
    // The control's document is gone.
    if (cerceve.id == cerceve_)
        kapat();
}

void SecimListeleri::acildi(const std::string& bilgi, int64_t baglam)
{
    Json acilan = Json::parse(bilgi, nullptr, false);
    if (!acilan.is_object() || !acilan.value("sira", Json()).is_number_integer() ||
        !acilan.value("ogeler", Json()).is_array())
        return;
    auto sayi = [&](const char* ad) {
        const Json& deger = acilan.value(ad, Json());
        double d = deger.is_number() ? deger.get<double>() : 0;
        return std::isfinite(d) ? d : 0.0;
    };
    RECT kontrol = {static_cast<LONG>(std::floor(sayi("x"))), static_cast<LONG>(std::floor(sayi("y"))), 0, 0};
    kontrol.right = kontrol.left + static_cast<LONG>(std::ceil(sayi("w")));
    kontrol.bottom = kontrol.top + static_cast<LONG>(std::ceil(sayi("h")));
    std::vector<yerel::SecenekSatiri> satirlar;
    for (const Json& oge : acilan["ogeler"]) {
        if (!oge.is_object())
            continue;
        yerel::SecenekSatiri satir;
        const Json& metin = oge.value("m", Json());
        const Json& secenek = oge.value("s", Json());
        satir.metin = metin.is_string() ? utf8_den(metin.get<std::string>()) : std::wstring();
        satir.secenek = secenek.is_number_integer() ? secenek.get<int>() : -1;
        satir.devre_disi = oge.value("d", Json()).is_boolean() && oge["d"].get<bool>();
        satir.grupta = oge.value("g", Json()).is_boolean() && oge["g"].get<bool>();
        satirlar.push_back(std::move(satir));
    }
    int64_t sira = acilan["sira"].get<int64_t>();
    int secili = static_cast<int>(sayi("secili"));
    kapat();
    liste_ = dinleyici_.secim_listesi_goster(kontrol, std::move(satirlar), secili,
                                             [this, sira, baglam](int secenek) {
                                                 liste_ = nullptr;
                                                 secildi(sira, baglam, secenek);
                                             });
}

void SecimListeleri::secildi(int64_t sira, int64_t baglam, int secenek)
{
    if (secenek < 0)
        return;   // left as it was
    Evaluate komut{"__korvaSecimYap(" + std::to_string(sira) + ", " + std::to_string(secenek) + ")", true, true,
                   baglam};
    giden_.gonder(komut, [](const Json&, const Json*) {});
}
