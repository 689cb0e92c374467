// Find in page: a bar of native controls (an entry, Previous and Next buttons, an
// "n / m" label and a close button) in an overlay window that the window runtime
// keeps at the top right corner of the tab strip, owned by the main window; the
// widget tree of the main window stays as it is.
//
// The search runs out of the page's reach (_tr_webgorunum_js_ayri_calistir): one
// script (kBulBetigi) in a world of the runtime's own in the page's top document,
// without a user gesture. It finds the text in the page's shown text nodes, case
// ignored, scrolls the current match into view and answers [current, count]; its
// state stays in that world between calls. The page's scripts share the document
// but not that world's globals or prototypes: they cannot see the query, answer it,
// change the count by patching what the search calls, nor gain user activation
// from it. Nothing is painted: the engine's highlight registry and the document's
// style sheets and selection are shared with the page, so marking the matches
// there would hand it the query. An engine that runs no page scripts leaves the
// label empty. The bar keeps the view it searched, to reset its search on close.
#include <string.h>

#include <string>

#include <nlohmann/json.hpp>

#include "korva.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace korva {

namespace {

using Json = nlohmann::json;

constexpr int64_t kCubukGenisligi = 380;
constexpr int64_t kCubukYuksekligi = 34;
constexpr int64_t kKenarPayi = 8;

// Called as (text, direction): 1 next, -1 previous, 0 clear. The first call with a
// new text starts at its first match.
constexpr char kBulBetigi[] = R"JS((function (q, yon) {
  var d = window.__korvaBul;
  if (!d) d = window.__korvaBul = {q: null, r: [], i: -1};
  if (yon === 0 || !q) {
    d.q = null; d.r = []; d.i = -1;
    return [0, 0];
  }
  if (q !== d.q) {
    d.q = q; d.r = []; d.i = -1;
    var ql = q.toLowerCase();
    // Text the page does not show (a closed menu, a hidden copy) is no match.
    var gorunur = function (n) {
      var p = n.parentElement;
      if (!p) return false;
      if (p.checkVisibility) return p.checkVisibility({visibilityProperty: true});
      var r = document.createRange(); r.selectNodeContents(n); return r.getClientRects().length > 0;
    };
    var kok = document.body || document.documentElement;
    if (!kok) return [0, 0];
    var gezgin = document.createTreeWalker(kok, NodeFilter.SHOW_TEXT, {acceptNode: function (n) {
      var p = n.parentElement, t = p ? p.tagName : '';
      return (t === 'SCRIPT' || t === 'STYLE' || t === 'NOSCRIPT' || t === 'TEMPLATE') ? 2 : 1; }});
    for (var n = gezgin.nextNode(); n && d.r.length < 10000; n = gezgin.nextNode()) {
      var s = n.data.toLowerCase();
      if (s.indexOf(ql) < 0 || !gorunur(n)) continue;
      for (var k = s.indexOf(ql); k >= 0 && d.r.length < 10000; k = s.indexOf(ql, k + ql.length)) {
        try { var r = document.createRange(); r.setStart(n, k); r.setEnd(n, Math.min(n.length, k + q.length)); d.r.push(r); }
        catch (e) {}
      }
    }
    if (yon < 0) yon = 1;
  }
  var m = d.r.length;
  if (m) d.i = yon < 0 ? (d.i <= 0 ? m - 1 : d.i - 1) : (d.i + 1) % m;
  if (m) {
    var b = d.r[d.i].getBoundingClientRect();
    if (b.top < 0 || b.bottom > innerHeight || b.left < 0 || b.right > innerWidth) {
      var e = d.r[d.i].startContainer.parentElement;
      if (e) e.scrollIntoView({block: 'center', inline: 'nearest'});
    }
  }
  return [m ? d.i + 1 : 0, m];
}))JS";

BulWidgetleri w;
bool acik = false;
int64_t aranan_gorunum = -1;  // the view the last search ran in

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }

void etiket_yaz(const std::string& metin) {
    _tr_arayuz_etiket_metni_ayarla(w.etiket, metin.data(), static_cast<int64_t>(metin.size()));
}

void cubugu_kur() {
    w.pencere = _tr_pencere_kaplama_olustur(ana_pencere, kCubukGenisligi, kCubukYuksekligi);
    if (w.pencere < 0) return;
    const int64_t satir = _tr_arayuz_kutu_yatay();
    w.giris = _tr_arayuz_giris();
    const char ipucu[] = "Sayfada bul";
    _tr_arayuz_giris_ipucu_ayarla(w.giris, ipucu, uzunluk(ipucu));
    w.onceki = _tr_arayuz_dugme("\xE2\x96\xB2", 3);   // U+25B2
    w.sonraki = _tr_arayuz_dugme("\xE2\x96\xBC", 3);  // U+25BC
    w.etiket = _tr_arayuz_etiket("", 0);
    w.kapat = _tr_arayuz_dugme("x", 1);
    _tr_arayuz_widget_genislik_ayarla(w.etiket, 70);
    _tr_arayuz_widget_genislik_ayarla(w.onceki, 30);
    _tr_arayuz_widget_genislik_ayarla(w.sonraki, 30);
    _tr_arayuz_widget_genislik_ayarla(w.kapat, 30);
    _tr_arayuz_pakle(satir, w.giris, 1, 1, 3);
    _tr_arayuz_pakle(satir, w.onceki, 0, 1, 1);
    _tr_arayuz_pakle(satir, w.sonraki, 0, 1, 1);
    _tr_arayuz_pakle(satir, w.etiket, 0, 0, 6);
    _tr_arayuz_pakle(satir, w.kapat, 0, 1, 2);
    _tr_pencere_icerik_ayarla(w.pencere, satir);
    _tr_pencere_kaplama_hizala(w.pencere, _tr_arayuz_widget_al_hwnd(sekme_defteri), kKenarPayi);
}

void betigi_calistir(int64_t view, const std::string& metin, int64_t yon) {
    if (view < 0) return;
    const std::string betik = std::string(kBulBetigi) + "(" +
                              Json(metin).dump(-1, ' ', true, Json::error_handler_t::replace) + "," +
                              std::to_string(yon) + ")";
    _tr_webgorunum_js_ayri_calistir(view, betik.data(), static_cast<int64_t>(betik.size()));
}

void ara(int64_t yon) {
    const std::string metin = al_ve_birak(_tr_arayuz_giris_metni_al(w.giris));
    const int64_t view = secili_webgorunum();
    if (aranan_gorunum >= 0 && aranan_gorunum != view) betigi_calistir(aranan_gorunum, std::string(), 0);
    aranan_gorunum = view;
    if (metin.empty()) {
        betigi_calistir(view, metin, 0);
        etiket_yaz("");
        return;
    }
    betigi_calistir(view, metin, yon);
}

// The search's answer: [current, count]; anything else (an engine that runs no
// script, a document that went away meanwhile) leaves the label empty.
void cevabi_goster() {
    if (aranan_gorunum < 0 || _tr_webgorunum_js_sonucu_geldi_mi(aranan_gorunum) != 1) return;
    const std::string cevap = al_ve_birak(_tr_webgorunum_js_sonucu_al(aranan_gorunum));
    const Json deger = Json::parse(cevap, nullptr, false);
    if (!deger.is_array() || deger.size() != 2 || !deger[0].is_number_integer() || !deger[1].is_number_integer()) {
        etiket_yaz("");
        return;
    }
    const int64_t simdiki = deger[0].get<int64_t>(), toplam = deger[1].get<int64_t>();
    const std::string metin = al_ve_birak(_tr_arayuz_giris_metni_al(w.giris));
    if (metin.empty()) {
        etiket_yaz("");
    } else if (toplam == 0) {
        etiket_yaz("Bulunamadi");
    } else {
        etiket_yaz(std::to_string(simdiki) + " / " + std::to_string(toplam));
    }
}

}  // namespace

void bul_ac() {
    if (w.pencere < 0) cubugu_kur();
    if (w.pencere < 0) return;
    _tr_pencere_kaplama_hizala(w.pencere, _tr_arayuz_widget_al_hwnd(sekme_defteri), kKenarPayi);
    _tr_pencere_goster(w.pencere);
    _tr_arayuz_odakla(w.giris);
    acik = true;
    // Text left from the last time searches the page shown now.
    if (_tr_arayuz_giris_degisti_mi(w.giris) == 1 || aranan_gorunum != secili_webgorunum()) ara(1);
}

void bul_kapat() {
    if (!acik) return;
    acik = false;
    _tr_pencere_gizle(w.pencere);
    if (aranan_gorunum >= 0) betigi_calistir(aranan_gorunum, std::string(), 0);
    aranan_gorunum = -1;
    etiket_yaz("");
    // The keyboard goes back to the page.
    const int64_t view = secili_webgorunum();
    if (view >= 0) _tr_arayuz_odakla(_tr_webgorunum_widget_id(view));
}

void bul_ilerle(int64_t yon) {
    if (!acik) {
        bul_ac();
        return;
    }
    ara(yon);
}

void bul_denetle() {
    if (!acik) return;
    // Another tab selected: the search goes on in its page.
    if (_tr_arayuz_giris_degisti_mi(w.giris) == 1 || aranan_gorunum != secili_webgorunum()) ara(1);
    if (_tr_arayuz_giris_enter_mi(w.giris) == 1) ara(1);
    if (_tr_arayuz_dugme_basildi_mi(w.sonraki) == 1) ara(1);
    if (_tr_arayuz_dugme_basildi_mi(w.onceki) == 1) ara(-1);
    if (_tr_arayuz_dugme_basildi_mi(w.kapat) == 1) {
        bul_kapat();
        return;
    }
    cevabi_goster();
}

bool bul_acik_mi() { return acik; }

const BulWidgetleri& bul_widgetleri() { return w; }

}  // namespace korva
