// The system clipboard for a page (see pano.h).
#include "pano.h"
#include "motor_ic.h"

#include <cstring>

using namespace protokol;

static const char PANO_BAGI[] = "__korvaPano";

// What a copy or cut puts on the clipboard, once the page's own handlers ran (this
// listener is on the window, the end of the event's way): what the page set
// itself when it took the event over, else the selection (in a field, its
// selected part), as text and as HTML. Nothing for an empty selection, nor for a
// page that took the event over and set nothing (it refuses the copy).
// `__korvaYapistir` pastes the host's text into the focused element: a paste event
// first, which the page may take over, else the text inserted as if typed. When the
// focus is inside a frame (the top document's focused element is the frame's
// element) the top document is not where the paste belongs, and another origin's
// frame is out of this world's reach: nothing is dispatched here, and the answer
// 'cerceve' tells the host to hand the text to the engine's own text input, which
// reaches the focused frame alone.
static const char PANO_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  const bildir = window.__korvaPano;
  const alan = (n) => n && (n.tagName === 'TEXTAREA' || n.tagName === 'INPUT');
  // The focused element, inside open shadow trees too.
  const odakta = () => {
    let n = document.activeElement;
    while (n && n.shadowRoot && n.shadowRoot.activeElement) n = n.shadowRoot.activeElement;
    return n;
  };
  const secilen = () => {
    const a = odakta();
    if (alan(a)) {
      try {
        const m = a.value.substring(a.selectionStart, a.selectionEnd);
        return {metin: a.type === 'password' ? '' : m, html: ''};
      } catch (x) { return {metin: '', html: ''}; }
    }
    const s = getSelection();
    if (!s || s.isCollapsed || !s.rangeCount) return {metin: '', html: ''};
    const kap = document.createElement('div');
    for (let i = 0; i < s.rangeCount; i++) kap.appendChild(s.getRangeAt(i).cloneContents());
    return {metin: s.toString(), html: kap.innerHTML};
  };
  const kopyala = (e) => {
    if (!e.isTrusted) return;
    let v;
    if (e.defaultPrevented) {
      const d = e.clipboardData;
      v = {metin: d ? d.getData('text/plain') : '', html: d ? d.getData('text/html') : ''};
    } else {
      v = secilen();
    }
    if (v.metin || v.html) try { bildir(JSON.stringify(v)); } catch (x) {}
  };
  window.addEventListener('copy', kopyala);
  window.addEventListener('cut', kopyala);
  window.__korvaYapistir = (metin) => {
    const n = odakta() || document.body;
    if (!n) return false;
    if (/^(IFRAME|FRAME|OBJECT|EMBED)$/.test(n.tagName)) return 'cerceve';
    const d = new DataTransfer();
    d.setData('text/plain', metin);
    const e = new ClipboardEvent('paste', {bubbles: true, cancelable: true, composed: true, clipboardData: d});
    if (!n.dispatchEvent(e)) return true;
    return document.execCommand('insertText', false, metin);
  };
})();)JS";

// ---------------------------------------------------------------------------
// The Windows clipboard.

// "HTML Format": a header of byte offsets into the UTF-8 text that follows it.
static std::string html_bicimi(const std::string& parca)
{
    static const char BASLIK[] =
        "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n";
    static const char ONCE[] = "<html><body>\r\n<!--StartFragment-->";
    static const char SONRA[] = "<!--EndFragment-->\r\n</body></html>";
    char baslik[200];
    size_t baslik_boyu = snprintf(baslik, sizeof baslik, BASLIK, size_t(0), size_t(0), size_t(0), size_t(0));
    size_t parca_basi = baslik_boyu + strlen(ONCE), parca_sonu = parca_basi + parca.size();
    size_t son = parca_sonu + strlen(SONRA);
    snprintf(baslik, sizeof baslik, BASLIK, baslik_boyu, son, parca_basi, parca_sonu);
    return baslik + std::string(ONCE) + parca + SONRA;
}

static bool koy(UINT bicim, const void* veri, size_t boy)
{
    HGLOBAL bellek = GlobalAlloc(GMEM_MOVEABLE, boy);
    if (!bellek)
        return false;
    void* yer = GlobalLock(bellek);
    if (!yer) {
        GlobalFree(bellek);
        return false;
    }
    memcpy(yer, veri, boy);
    GlobalUnlock(bellek);
    if (SetClipboardData(bicim, bellek))
        return true;
    GlobalFree(bellek);
    return false;
}

// Another program may hold the clipboard for a moment.
static bool panoyu_ac(HWND sahip)
{
    for (int deneme = 0; deneme < 10; ++deneme) {
        if (OpenClipboard(sahip))
            return true;
        Sleep(10);
    }
    return false;
}

bool panoya_yaz(HWND sahip, const std::wstring& metin, const std::string& html)
{
    if (!panoyu_ac(sahip))
        return false;
    EmptyClipboard();
    bool tamam = koy(CF_UNICODETEXT, metin.c_str(), (metin.size() + 1) * sizeof(wchar_t));
    if (tamam && !html.empty()) {
        static const UINT HTML = RegisterClipboardFormatW(L"HTML Format");
        std::string bicimli = html_bicimi(html);
        koy(HTML, bicimli.c_str(), bicimli.size() + 1);
    }
    CloseClipboard();
    return tamam;
}

std::wstring panodan_oku(HWND sahip)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !panoyu_ac(sahip))
        return std::wstring();
    std::wstring metin;
    if (HANDLE veri = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* yer = static_cast<const wchar_t*>(GlobalLock(veri))) {
            metin.assign(yer, wcsnlen(yer, GlobalSize(veri) / sizeof(wchar_t)));
            GlobalUnlock(veri);
        }
    }
    CloseClipboard();
    return metin;
}

// ---------------------------------------------------------------------------
// The page.

int Pano::kur(const Giden::Yanit& yanit)
{
    return yardimci_betik_kur(giden_, hedef_, PANO_BETIGI, {PANO_BAGI}, yanit);
}

bool Pano::yapistir()
{
    std::wstring metin = panodan_oku(pencere_);
    if (metin.empty() || !baglam_.kimlik())
        return false;
    // Windows ends lines with CR LF; a page's fields count LF alone.
    std::wstring duz;
    duz.reserve(metin.size());
    for (size_t i = 0; i < metin.size(); ++i)
        if (!(metin[i] == L'\r' && i + 1 < metin.size() && metin[i + 1] == L'\n'))
            duz += metin[i];
    std::string metin8 = utf8_e(duz);
    Evaluate calistir{"window.__korvaYapistir(" + Json(metin8).dump() + ")", true, true};
    calistir.contextId = baglam_.kimlik();
    Giden& giden = giden_;
    giden_.gonder(calistir, [&giden, metin8](const Json& sonuc, const Json* hata) {
        // The focus is in a frame: the engine inserts the text there itself.
        auto deger = sonuc.find("result");
        if (hata || deger == sonuc.end() || !deger->is_object())
            return;
        auto cevap = deger->find("value");
        if (cevap != deger->end() && *cevap == "cerceve")
            giden.gonder(InsertText{metin8});
    });
    return true;
}

void Pano::yonlendir(Yonlendirici& yonlendirici)
{
    yonlendirici.bag_sahiplen(PANO_BAGI, [this](const BindingCalled& cagri) { kopyalandi(cagri); });
}

void Pano::kopyalandi(const BindingCalled& olay)
{
    Json deger = Json::parse(olay.payload, nullptr, false);
    if (!deger.is_object())
        return;
    auto alan = [&deger](const char* ad) {
        auto bulunan = deger.find(ad);
        return bulunan != deger.end() && bulunan->is_string() ? bulunan->get<std::string>() : std::string();
    };
    std::string metin = alan("metin"), html = alan("html");
    // The page's line ends (LF) become Windows's (CR LF) on the clipboard.
    std::wstring genis;
    for (wchar_t c : utf8_den(metin)) {
        if (c == L'\n' && (genis.empty() || genis.back() != L'\r'))
            genis += L'\r';
        genis += c;
    }
    panoya_yaz(pencere_, genis, html);
}
