// The pointer's shape over a page (see imlec.h).
#include "imlec.h"
#include "motor_ic.h"

#include <cctype>

using namespace protokol;

static const char IMLEC_BAGI[] = "__korvaImlec";

// On the user's own pointer moves: the computed cursor of the element under the
// pointer; where that is "auto", the I-beam over an editable field or over the
// glyphs of a text, else the arrow. Reported only when it changes.
static const char IMLEC_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  const bildir = window.__korvaImlec;
  let son = '';
  const yazilabilir = (n) => {
    if (n.isContentEditable) return true;
    if (n.tagName === 'TEXTAREA') return !n.disabled;
    if (n.tagName !== 'INPUT' || n.disabled) return false;
    return /^(text|search|url|tel|email|password|number|date|time|datetime-local|month|week)$/.test(n.type);
  };
  const metin_ustunde = (x, y) => {
    const r = document.caretRangeFromPoint && document.caretRangeFromPoint(x, y);
    if (!r || r.startContainer.nodeType !== Node.TEXT_NODE) return false;
    const t = r.startContainer, o = r.startOffset;
    for (const [a, b] of [[o, o + 1], [o - 1, o]]) {
      if (a < 0 || b > t.length) continue;
      const k = document.createRange();
      k.setStart(t, a);
      k.setEnd(t, b);
      const d = k.getBoundingClientRect();
      if (x >= d.left - 1 && x <= d.right + 1 && y >= d.top && y <= d.bottom) return true;
    }
    return false;
  };
  const bul = (e) => {
    const n = e.composedPath()[0];
    if (!(n instanceof Element)) return 'default';
    let c = getComputedStyle(n).cursor || 'auto';
    if (c !== 'auto') return c;
    if (yazilabilir(n)) return 'text';
    return metin_ustunde(e.clientX, e.clientY) ? 'text' : 'default';
  };
  window.addEventListener('mousemove', (e) => {
    if (!e.isTrusted) return;
    const c = bul(e);
    if (c !== son) { son = c; try { bildir(c); } catch (x) {} }
  }, {capture: true, passive: true});
})();)JS";

HCURSOR css_imleci(const std::string& deger)
{
    static const struct { const char* ad; LPCWSTR imlec; } IMLECLER[] = {
        {"default", IDC_ARROW},     {"auto", IDC_ARROW},          {"pointer", IDC_HAND},
        {"text", IDC_IBEAM},        {"vertical-text", IDC_IBEAM}, {"wait", IDC_WAIT},
        {"progress", IDC_APPSTARTING}, {"help", IDC_HELP},        {"crosshair", IDC_CROSS},
        {"move", IDC_SIZEALL},      {"all-scroll", IDC_SIZEALL},  {"not-allowed", IDC_NO},
        {"no-drop", IDC_NO},        {"ew-resize", IDC_SIZEWE},    {"e-resize", IDC_SIZEWE},
        {"w-resize", IDC_SIZEWE},   {"col-resize", IDC_SIZEWE},   {"ns-resize", IDC_SIZENS},
        {"n-resize", IDC_SIZENS},   {"s-resize", IDC_SIZENS},     {"row-resize", IDC_SIZENS},
        {"nesw-resize", IDC_SIZENESW}, {"ne-resize", IDC_SIZENESW}, {"sw-resize", IDC_SIZENESW},
        {"nwse-resize", IDC_SIZENWSE}, {"nw-resize", IDC_SIZENWSE}, {"se-resize", IDC_SIZENWSE},
    };
    // A list of images with a keyword last: the images are not loaded, the first
    // known keyword counts.
    size_t bas = 0;
    while (bas <= deger.size()) {
        size_t son = deger.find(',', bas);
        if (son == std::string::npos)
            son = deger.size();
        std::string kelime;
        for (size_t i = bas; i < son; ++i)
            if (!isspace(static_cast<unsigned char>(deger[i])))
                kelime += static_cast<char>(tolower(static_cast<unsigned char>(deger[i])));
        if (kelime == "none")
            return nullptr;
        for (const auto& satir : IMLECLER)
            if (kelime == satir.ad)
                return LoadCursorW(nullptr, satir.imlec);
        bas = son + 1;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

int Imlec::kur(const Giden::Yanit& yanit)
{
    return yardimci_betik_kur(giden_, hedef_, IMLEC_BETIGI, {IMLEC_BAGI}, yanit);
}

void Imlec::yonlendir(Yonlendirici& yonlendirici)
{
    yonlendirici.bag_sahiplen(IMLEC_BAGI, [this](const BindingCalled& cagri) { bildirildi(cagri); });
}

void Imlec::bildirildi(const BindingCalled& olay)
{
    imlec_ = css_imleci(olay.payload.substr(0, 256));
    // The pointer is over the page (or the page holds it, dragging): shown now.
    POINT nokta;
    if (pencere_ && GetCursorPos(&nokta) && (WindowFromPoint(nokta) == pencere_ || GetCapture() == pencere_))
        SetCursor(imlec_);
}

bool Imlec::ayarla(LPARAM bilgi)
{
    if (LOWORD(bilgi) != HTCLIENT)
        return false;
    SetCursor(imlec_);
    return true;
}
